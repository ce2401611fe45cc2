#include "time/aspect_search.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

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

SkyLongitude LongitudeCache::Longitude(Body body, JulianDate jd) {
    const Key key{body, std::bit_cast<uint64_t>(jd.days)};
    auto it = values_.find(key);
    if (it != values_.end()) {
        ++reused_;
        return it->second;
    }
    ++computed_;
    const SkyLongitude value = source_ ? source_(body, jd) : SkyLongitude();
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

// A moving body near and beyond the last midnights at which its position was
// computed, in the tropical zodiac, where the bodies move smoothly. Off its
// path each position stands by at most `noise`; the path bends by at most
// `accel` a day², and that bend changes by at most `jerk` a day³ (0: no such
// bound). So the line through the last two positions misses the body at an
// instant by at most accel / 2 × the product of the distances to them, and
// the parabola through the last three by jerk / 6 × the product of the
// distances to those, each plus the noise as the polynomial carries it.
class BodyLine {
  public:
    BodyLine(double rate, double accel, double jerk, double noise)
        : rate_(rate), accel_(accel), jerk_(jerk), noise_(noise) {}

    void Add(double jd, double longitude) {
        // The steps between the positions are taken the short way round,
        // which they are while the body cannot move a quarter circle.
        if (count_ > 0 && rate_ * std::fabs(jd - jd_[2]) < kTwoPi / 4) {
            longitude = lon_[2] + std::remainder(longitude - lon_[2], kTwoPi);
        } else {
            count_ = 0;
        }
        for (int i = 0; i < 2; ++i) {
            jd_[i] = jd_[i + 1];
            lon_[i] = lon_[i + 1];
        }
        jd_[2] = jd;
        lon_[2] = longitude;
        ++count_;
    }

    // The longitude at `jd` and how far it may be off; false without two
    // positions close enough to carry the line that far.
    bool At(double jd, double& longitude, double& radius) const {
        if (count_ < 2 || accel_ <= 0 || rate_ * std::fabs(jd - jd_[2]) >= kTwoPi / 4) return false;
        const double t1 = jd_[1], t2 = jd_[2];
        const double l1 = (jd - t2) / (t1 - t2), l2 = (jd - t1) / (t2 - t1);
        longitude = l1 * lon_[1] + l2 * lon_[2];
        radius = accel_ / 2 * std::fabs((jd - t1) * (jd - t2)) +
                 noise_ * (1 + std::fabs(l1) + std::fabs(l2));
        if (count_ >= 3 && jerk_ > 0 && rate_ * std::fabs(jd - jd_[0]) < kTwoPi / 4) {
            const double t0 = jd_[0];
            const double k0 = (jd - t1) * (jd - t2) / ((t0 - t1) * (t0 - t2));
            const double k1 = (jd - t0) * (jd - t2) / ((t1 - t0) * (t1 - t2));
            const double k2 = (jd - t0) * (jd - t1) / ((t2 - t0) * (t2 - t1));
            const double r = jerk_ / 6 * std::fabs((jd - t0) * (jd - t1) * (jd - t2)) +
                             noise_ * (1 + std::fabs(k0) + std::fabs(k1) + std::fabs(k2));
            if (r < radius) {
                longitude = k0 * lon_[0] + k1 * lon_[1] + k2 * lon_[2];
                radius = r;
            }
        }
        return true;
    }

  private:
    double rate_, accel_, jerk_, noise_;
    double jd_[3] = {};
    double lon_[3] = {};
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

// The positions of one midnight of a walk of two moving bodies: those
// computed, and for the others the lines and parabolas through their last
// positions.
class WalkTracks {
  public:
    WalkTracks(const LongitudeFn& longitude, const MotionBounds& bounds,
                  const std::function<double(JulianDate)>& zodiacOffset, Body p1, Body p2)
        : longitude_(longitude), bounds_(bounds), zodiacOffset_(zodiacOffset), body_{p1, p2} {
        // The planets follow their paths without the bending of light, off
        // which each position stands by a seam and the deflection; Pluto
        // follows its table, off its path by the table's rounding.
        const ChangeBounds pluto = PairBounds(bounds, {kSun, kPluto, kConjunction, 0.0});
        for (const Body b : body_) {
            const bool table = b == kPluto;
            line_.emplace_back(bounds.perDay[b], table ? pluto.accel : bounds.smoothPerDay2[b],
                               table ? 0.0 : bounds.smoothPerDay3[b],
                               table ? pluto.nodeNoise : bounds.seam + bounds.deflection);
        }
    }

    // Moves to the midnight at `jd`; nothing computed there yet.
    void MoveTo(double jd) {
        jd_ = jd;
        offset_ = zodiacOffset_ ? zodiacOffset_(JulianDate(jd)) : 0;
        have_[0] = have_[1] = false;
    }

    // The position of body i (0 the first, 1 the second) at the midnight,
    // computed once.
    SkyLongitude Longitude(int i) {
        if (!have_[i]) {
            lon_[i] = longitude_(body_[i], JulianDate(jd_));
            have_[i] = true;
            if (lon_[i]) line_[static_cast<size_t>(i)].Add(jd_, *lon_[i] + offset_);
        }
        return lon_[i];
    }

    // The step that `decide` gives for a deviation within a radius of the
    // deviation of the midnight, computing positions (the most uncertain
    // first) until it gives one; 0 when it gives none on the positions
    // themselves, or when a body may have no position.
    template <class Decide>
    int DecidedStep(double angle, Decide decide) {
        for (const Body b : body_)
            if (!(jd_ >= bounds_.firstJD[b] && jd_ < bounds_.endJD[b])) return 0;
        // The table's positions cost next to nothing.
        for (int i = 0; i < 2; ++i)
            if (body_[i] == kPluto) Longitude(i);
        for (;;) {
            double est[2] = {}, radius = 0, widest = -1;
            int open = -1;
            for (int i = 0; i < 2; ++i) {
                if (have_[i]) {
                    if (!lon_[i]) return 0;
                    est[i] = *lon_[i] + offset_;
                    continue;
                }
                double r = 0;
                if (!line_[static_cast<size_t>(i)].At(jd_, est[i], r)) r = kTwoPi;
                radius += r;
                if (r > widest) {
                    widest = r;
                    open = i;
                }
            }
            if (open < 0) return 0;
            const double deviation =
                std::fabs(std::fabs(std::remainder(est[1] - est[0], kTwoPi)) - angle);
            if (const int step = decide(deviation, radius + kRounding); step > 0) return step;
            Longitude(open);
        }
    }

  private:
    const LongitudeFn& longitude_;
    const MotionBounds& bounds_;
    const std::function<double(JulianDate)>& zodiacOffset_;
    Body body_[2];
    std::vector<BodyLine> line_;
    double jd_ = 0, offset_ = 0;
    SkyLongitude lon_[2] = {};
    bool have_[2] = {};
};

double MaxDailyMotion(Body body) {
    return kMaxDailyMotionDegrees[body] * kDegree;
}

AspectSearch::AspectSearch(LongitudeFn longitude, const OrbTable& orbs,
                           std::optional<double> worldLocalDayValue, int zoneMinutes)
    : longitude_(std::move(longitude)), orbs_(orbs) {
    valid_ = worldLocalDayValue && std::isfinite(*worldLocalDayValue) &&
             *worldLocalDayValue >= 0 && static_cast<bool>(longitude_);
    if (valid_) day_ = std::floor(*worldLocalDayValue);
    zone_ = zoneMinutes / 1440.0;
}

void AspectSearch::FixFirstBodyAt(std::optional<JulianDate> natalJulianDate) {
    firstFixed_ = true;
    if (natalJulianDate)
        natalJulianDate_ = natalJulianDate->days;
    else
        valid_ = false;
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
                                 int direction, int64_t& offset, WalkTracks* tracks) const {
    const bool skip = !slowPair && stepping_ == SearchStepping::Standard;
    const double orb = orbs_.orb[aspect][column];
    // With skipping, a margin m = orb − deviation holds the aspect at the next
    // j midnights for every j < x; the walk moves on to the first one it
    // cannot rule out.
    auto skipped = [&](double margin) {
        const double x = (margin - kMotionAllowance) / motion;
        return x > 1 && x < kMaxSearchDays ? static_cast<int>(std::ceil(x)) : 1;
    };
    // A slow pair needs the step the exactness gives; the others step a day,
    // or skip on the least margin, wherever the aspect surely holds.
    auto decide = [&](double deviation, double radius) {
        if (slowPair) return SlowStepOfRange(deviation, radius, orb);
        if (!(deviation + radius < orb - kRounding)) return 0;
        return skip ? skipped(orb - (deviation + radius)) : 1;
    };
    const double angle = AspectAngleOf(aspect);
    offset = firstOffset;
    for (int64_t walked = 0; walked <= kMaxSearchDays;) {
        double r = 0;
        if (!MidnightJulianDate(offset, r)) return false;
        SkyLongitude lon1, lon2;
        if (tracks) {
            tracks->MoveTo(r);
            if (const int step = tracks->DecidedStep(angle, decide); step > 0) {
                offset += direction * step;
                walked += step;
                continue;
            }
            lon1 = tracks->Longitude(0);
            lon2 = tracks->Longitude(1);
        } else {
            lon1 = lon1At(r);
            lon2 = lon2At(r);
        }
        if (!lon1 || !lon2) return false;
        double exactness = -1;
        if (!AspectTestByLongitudes(orbs_, *lon1, *lon2, aspect, column, exactness)) return true;
        int step = 1;
        if (slowPair) {
            step += static_cast<int>(std::floor(10 * exactness));
        } else if (skip) {
            step = skipped(exactness * orb);
        }
        offset += direction * step;
        walked += step;
    }
    return false;
}

bool AspectSearch::Walk(Body p1, Body p2, Aspect aspect, OrbColumn column, int firstOffset,
                        int direction, int64_t& offset) const {
    if (!valid_) return false;
    SkyLongitude fixed;
    if (firstFixed_) {
        fixed = longitude_(p1, JulianDate(natalJulianDate_));
        if (!fixed) return false;
    }
    bool slowPair = p1 > kSaturn && p2 > kSaturn && stepping_ != SearchStepping::DayByDay;
    const double motion = (firstFixed_ ? 0 : MaxDailyMotion(p1)) + MaxDailyMotion(p2);
    // The large steps find the date that testing every midnight finds when no
    // step from a midnight at which the aspect holds can reach the edge of the
    // orb: from exactness e ≥ 0.1 a step of 1 + floor(10 e) days moves the
    // deviation by at most motion × (1 + 10 e) and the allowance, less than
    // the e × orb left to the edge for every such e when it is for e = 0.1.
    // So every midnight a large step leaves out holds, and the one-day walk,
    // which leaves out far more positions, finds the same date. Only where the
    // motion bounds say the source is the real sky, which keeps to `motion`.
    if (slowPair && bounds_ && stepping_ == SearchStepping::Standard &&
        2 * motion + kMotionAllowance < 0.1 * orbs_.orb[aspect][column] - kRounding)
        slowPair = false;
    // Walks of two moving bodies leave out the positions the motion bounds
    // decide.
    std::optional<WalkTracks> tracks;
    if (!firstFixed_ && bounds_ && stepping_ == SearchStepping::Standard)
        tracks.emplace(longitude_, *bounds_, zodiacOffset_, p1, p2);
    return WalkPositions([&](double r) { return firstFixed_ ? fixed : longitude_(p1, JulianDate(r)); },
                         [&](double r) { return longitude_(p2, JulianDate(r)); }, slowPair, motion, aspect,
                         column, firstOffset, direction, offset, tracks ? &*tracks : nullptr);
}

bool AspectSearch::WalkPoint(ExtraPoint point, Body body, Aspect aspect, OrbColumn column,
                             int firstOffset, int direction, int64_t& offset) const {
    if (!valid_ || !pointLongitude_) return false;
    SkyLongitude fixed;
    if (firstFixed_) {
        fixed = SkyLongitude(pointLongitude_(point, JulianDate(natalJulianDate_)));
        if (!fixed) return false;
    }
    const double motion = (firstFixed_ ? 0 : PointMaxDailyMotion(point)) + MaxDailyMotion(body);
    return WalkPositions(
        [&](double r) { return firstFixed_ ? fixed : SkyLongitude(pointLongitude_(point, JulianDate(r))); },
                         [&](double r) { return longitude_(body, JulianDate(r)); }, false, motion, aspect,
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
