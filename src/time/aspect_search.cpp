#include "time/aspect_search.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "engine/aspect_instants.h"
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
// Rounding of the deviation and of the exactness computed from it: far below
// this, so a range this far from an edge decides as the computed value would.
constexpr double kRounding = 1e-9;

// The difference second − first of two moving bodies near and beyond the
// last two midnights at which it was computed. Off a smooth path each value
// stands by at most `noise` (the seams of the ephemeris, the rounding of
// Pluto's table), and the smooth path bends by at most `accel` a day²; so
// the line through the two values misses the difference at an instant by at
// most accel / 2 × the product of the distances to them, plus the noise as
// the line carries it.
class DifferenceLine {
  public:
    DifferenceLine(double rate, double accel, double noise)
        : rate_(rate), accel_(accel), noise_(noise) {}

    void Add(double jd, double difference) {
        // The steps between the values are taken the short way round, which
        // they are while the bodies cannot move apart by a quarter circle.
        if (count_ > 0 && rate_ * std::fabs(jd - jd_[1]) < kTwoPi / 4) {
            difference = diff_[1] + std::remainder(difference - diff_[1], kTwoPi);
        } else if (count_ > 0) {
            count_ = 0;
        }
        jd_[0] = jd_[1];
        diff_[0] = diff_[1];
        jd_[1] = jd;
        diff_[1] = difference;
        ++count_;
    }

    // The difference at `jd` and how far it may be off; false without two
    // values close enough to carry the line that far.
    bool At(double jd, double& difference, double& radius) const {
        if (count_ < 2 || accel_ <= 0 || rate_ * std::fabs(jd - jd_[1]) >= kTwoPi / 4) return false;
        const double span = jd_[1] - jd_[0];
        const double l0 = (jd - jd_[1]) / -span, l1 = (jd - jd_[0]) / span;
        difference = l0 * diff_[0] + l1 * diff_[1];
        radius = accel_ / 2 * std::fabs((jd - jd_[0]) * (jd - jd_[1])) +
                 noise_ * (1 + std::fabs(l0) + std::fabs(l1)) + kRounding;
        return true;
    }

  private:
    double rate_, accel_, noise_;
    double jd_[2] = {};
    double diff_[2] = {};
    int count_ = 0;
};

// The step of a walk of two slow bodies (1 + floor(10 × exactness)) at a
// deviation that lies within `radius` of `deviation`; 0 when that range may
// leave the orb or holds more than one step.
int SlowStepOfRange(double deviation, double radius, double orb) {
    const double lo = std::max(deviation - radius, 0.0), hi = deviation + radius;
    if (!(hi < orb - kRounding)) return 0;
    const double most = std::floor(10 * ((orb - lo) / orb));
    const double least = std::floor(10 * ((orb - hi) / orb));
    return most == least ? 1 + static_cast<int>(least) : 0;
}

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

bool AspectSearch::Walk(Body p1, Body p2, Aspect aspect, OrbColumn column, int firstOffset,
                        int direction, int64_t& offset) const {
    if (!valid_) return false;
    double fixed = 0;
    if (firstFixed_) {
        fixed = longitude_(p1, natalJulianDate_);
        if (!(fixed >= 0)) return false;
    }
    const bool slowPair = p1 > kSaturn && p2 > kSaturn && stepping_ != SearchStepping::DayByDay;
    const bool skip = !slowPair && stepping_ == SearchStepping::Standard;
    const double motion = (firstFixed_ ? 0 : MaxDailyMotion(p1)) + MaxDailyMotion(p2);
    const double orb = orbs_.orb[aspect][column];
    std::optional<DifferenceLine> line;
    if (!firstFixed_ && bounds_ && stepping_ == SearchStepping::Standard) {
        // The planets follow their paths without the bending of light, off
        // which each position stands by a seam and the deflection; Pluto
        // follows its table, off its path by the table's rounding.
        const ChangeBounds pluto = PairBounds(*bounds_, {kSun, kPluto, aspect, 0.0});
        double accel = 0, noise = 0;
        for (const Body b : {p1, p2}) {
            accel += b == kPluto ? pluto.accel : bounds_->smoothPerDay2[b];
            noise += b == kPluto ? pluto.nodeNoise : bounds_->seam + bounds_->deflection;
        }
        line.emplace(PairBounds(*bounds_, {p1, p2, aspect, std::nullopt}).rate, accel, noise);
    }
    // Whether both bodies surely have positions at `jd`.
    auto covered = [&](double jd) {
        for (const Body b : {p1, p2})
            if (!(jd >= bounds_->firstJD[b] && jd < bounds_->endJD[b])) return false;
        return true;
    };
    const double angle = AspectAngleOf(aspect);
    offset = firstOffset;
    for (int64_t walked = 0; walked <= kMaxSearchDays;) {
        double r = 0;
        if (!MidnightJulianDate(offset, r)) return false;
        if (double d = 0, radius = 0; line && line->At(r, d, radius) && covered(r)) {
            const double deviation = std::fabs(std::fabs(std::remainder(d, kTwoPi)) - angle);
            // A slow pair needs the step the exactness gives; the others
            // step a day wherever the aspect surely holds.
            const int step = slowPair ? SlowStepOfRange(deviation, radius, orb)
                                      : (deviation + radius < orb - kRounding ? 1 : 0);
            if (step > 0) {
                offset += direction * step;
                walked += step;
                continue;
            }
        }
        const double lon1 = firstFixed_ ? fixed : longitude_(p1, r);
        const double lon2 = longitude_(p2, r);
        if (!(lon1 >= 0) || !(lon2 >= 0)) return false;
        if (line) line->Add(r, lon2 - lon1);
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

}  // namespace vek
