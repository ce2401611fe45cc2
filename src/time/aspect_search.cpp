#include "time/aspect_search.h"

#include <bit>
#include <cmath>

#include "engine/aspects.h"

namespace vek {

size_t LongitudeCache::KeyHash::operator()(const Key& k) const noexcept {
    uint64_t h = k.jdBits ^ (static_cast<uint64_t>(Index(k.body)) * 0x9E3779B97F4A7C15ULL);
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ULL;
    h ^= h >> 32;
    return static_cast<size_t>(h);
}

double LongitudeCache::Longitude(Body body, double jd) {
    const Key key{body, std::bit_cast<uint64_t>(jd)};
    auto it = values_.find(key);
    if (it != values_.end()) {
        ++reused_;
        return it->second;
    }
    ++computed_;
    const double value = source_ ? source_(body, jd) : -1;
    values_.emplace(key, value);
    return value;
}

namespace {
constexpr double kDegree = kTwoPi / 360.0;
constexpr BodyArray<double> kMaxDailyMotionDegrees = {0,    1.1,   2.4,  1.4,  0.9, 0.27,
                                                      0.15, 0.075, 0.05, 0.05, 16};
// Allowance for what the daily motions do not cover: the sidereal correction
// changes once a year, in steps of 0.014°, which moves a transit against a
// fixed natal position.
constexpr double kMotionAllowance = 0.1 * kDegree;
}  // namespace

double MaxDailyMotion(Body body) {
    return kMaxDailyMotionDegrees[body] * kDegree;
}

AspectSearch::AspectSearch(LongitudeFn longitude, const OrbTable& orbs, double worldLocalDayValue,
                           int zoneMinutes)
    : longitude_(std::move(longitude)), orbs_(orbs) {
    valid_ = std::isfinite(worldLocalDayValue) && worldLocalDayValue >= 0 &&
             static_cast<bool>(longitude_);
    if (valid_) day_ = std::floor(worldLocalDayValue);
    zone_ = zoneMinutes / 1440.0;
}

void AspectSearch::FixFirstBodyAt(double natalJulianDate) {
    firstFixed_ = true;
    natalJulianDate_ = natalJulianDate;
}

void AspectSearch::UseNamedZone(const TimeZone& zone) {
    if (zone.IsNamed()) namedZone_ = zone;
}

bool AspectSearch::MidnightJulianDate(int64_t offset, double& jd) const {
    if (namedZone_.IsNamed()) {
        const double day = day_ + static_cast<double>(offset);
        if (!(day > 0 && day < 2147483647.0)) return false;
        const Result<double> start = StartOfLocalDay(static_cast<int32_t>(day), namedZone_);
        if (!start) return false;
        jd = *start;
        return true;
    }
    jd = day_ + static_cast<double>(offset) - zone_ - 0.5;
    return true;
}

template <class First, class Second>
bool AspectSearch::WalkPositions(const First& lon1At, const Second& lon2At, bool slowPair,
                                 double motion, Aspect aspect, OrbColumn column, int firstOffset,
                                 int direction, int64_t& offset) const {
    const bool skip = !slowPair && stepping_ == SearchStepping::Standard;
    const double orb = orbs_.orb[aspect][column];
    offset = firstOffset;
    for (int64_t walked = 0; walked <= kMaxSearchDays;) {
        double r = 0;
        if (!MidnightJulianDate(offset, r)) return false;
        const double lon1 = lon1At(r);
        const double lon2 = lon2At(r);
        if (!(lon1 >= 0) || !(lon2 >= 0)) return false;
        double exactness = -1;
        if (!AspectTestByLongitudes(orbs_, lon1, lon2, aspect, column, exactness)) return true;
        int step = 1;
        if (slowPair) {
            step += static_cast<int>(std::floor(10 * exactness));
        } else if (skip) {
            // The next j midnights hold for every j < x.
            const double x = (exactness * orb - kMotionAllowance) / motion;
            if (x > 1 && x < kMaxSearchDays) step = static_cast<int>(std::ceil(x));
        }
        offset += direction * step;
        walked += step;
    }
    return false;
}

bool AspectSearch::Walk(Body p1, Body p2, Aspect aspect, OrbColumn column, int firstOffset,
                        int direction, int64_t& offset) const {
    if (!valid_) return false;
    double fixed = 0;
    if (firstFixed_) {
        fixed = longitude_(p1, natalJulianDate_);
        if (!(fixed >= 0)) return false;
    }
    const bool slowPair = p1 > kSaturn && p2 > kSaturn && stepping_ != SearchStepping::DayByDay;
    const double motion = (firstFixed_ ? 0 : MaxDailyMotion(p1)) + MaxDailyMotion(p2);
    return WalkPositions([&](double r) { return firstFixed_ ? fixed : longitude_(p1, r); },
                         [&](double r) { return longitude_(p2, r); }, slowPair, motion, aspect,
                         column, firstOffset, direction, offset);
}

bool AspectSearch::WalkPoint(ExtraPoint point, Body body, Aspect aspect, OrbColumn column,
                             int firstOffset, int direction, int64_t& offset) const {
    if (!valid_ || !pointLongitude_) return false;
    double fixed = 0;
    if (firstFixed_) {
        fixed = pointLongitude_(point, natalJulianDate_);
        if (!(fixed >= 0)) return false;
    }
    const double motion = (firstFixed_ ? 0 : PointMaxDailyMotion(point)) + MaxDailyMotion(body);
    return WalkPositions([&](double r) { return firstFixed_ ? fixed : pointLongitude_(point, r); },
                         [&](double r) { return longitude_(body, r); }, false, motion, aspect,
                         column, firstOffset, direction, offset);
}

double AspectSearch::BeginningOfAspect(Body p1, Body p2, Aspect aspect, OrbColumn column) const {
    int64_t offset = 0;
    if (!Walk(p1, p2, aspect, column, 0, -1, offset)) return kUnknownDate;
    // The aspect does not hold at the midnight that starts this date.
    return day_ + static_cast<double>(offset);
}

double AspectSearch::EndOfAspect(Body p1, Body p2, Aspect aspect, OrbColumn column) const {
    int64_t offset = 0;
    if (!Walk(p1, p2, aspect, column, 1, +1, offset)) return kUnknownDate;
    // The aspect no longer holds at the midnight that ends the date before.
    return day_ + static_cast<double>(offset - 1);
}

double AspectSearch::BeginningOfPointAspect(ExtraPoint point, Body body, Aspect aspect,
                                            OrbColumn column) const {
    int64_t offset = 0;
    if (!WalkPoint(point, body, aspect, column, 0, -1, offset)) return kUnknownDate;
    return day_ + static_cast<double>(offset);
}

double AspectSearch::EndOfPointAspect(ExtraPoint point, Body body, Aspect aspect,
                                      OrbColumn column) const {
    int64_t offset = 0;
    if (!WalkPoint(point, body, aspect, column, 1, +1, offset)) return kUnknownDate;
    return day_ + static_cast<double>(offset - 1);
}

}  // namespace vek
