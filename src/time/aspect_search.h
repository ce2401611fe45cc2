// When does an aspect that holds at the World date begin, and when does it
// end? The searches walk in whole days from the World date, testing at local
// midnights of the World date's zone, and answer with the day number of the
// local date on which the aspect begins or ends.
//
// They serve the two modes in which a chart moves in time: world transits
// (both bodies move) and personal transits (the first body is a natal body,
// fixed at the birth instant; the second moves).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>

#include "engine/bounded_sky.h"
#include "engine/extra_points.h"
#include "engine/vek_types.h"
#include "time/zones.h"

namespace vek {

// A source of positions: body 1..10 at a Julian date (UT) in radians in
// [0, 2π), or none when the body has no position then. In the program this
// is the engine's longitude wrapper.
using LongitudeFn = std::function<SkyLongitude(Body body, JulianDate jd)>;
// The same for the extra points (in the program ComputeExtraPoint), negative
// when the point has no position.
using PointLongitudeFn = std::function<double(ExtraPoint point, JulianDate jd)>;

// Remembers every answer of a longitude source, so that a body asked for at
// the same instant twice is computed once. The searches of one report test
// the same local midnights for many pairs; a cache in front of the wrapper
// lets them share the positions. Keep one cache per report: it never forgets
// and knows nothing of later changes to the zodiac setting.
class LongitudeCache {
  public:
    explicit LongitudeCache(LongitudeFn source) : source_(std::move(source)) {}

    SkyLongitude Longitude(Body body, JulianDate jd);

    // A source that answers through this cache. The cache must outlive it.
    LongitudeFn AsSource() {
        return [this](Body body, JulianDate jd) { return Longitude(body, jd); };
    }

    // How many answers came from the source and how many from the cache.
    size_t Computed() const { return computed_; }
    size_t Reused() const { return reused_; }

  private:
    struct Key {
        Body body;
        uint64_t jdBits;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& k) const noexcept;
    };

    LongitudeFn source_;
    std::unordered_map<Key, SkyLongitude, KeyHash> values_;
    size_t computed_ = 0;
    size_t reused_ = 0;
};

// How the walk steps while the aspect holds.
enum class SearchStepping {
    // One day, except when both bodies are above Saturn (Uranus, Neptune,
    // Pluto, the Moon): then 1 + floor(10 × exactness) days, 1 at the edge of
    // the orb and 11 at exactness 1. A date found this way may lie a few days
    // beyond the true crossing; where the orb is so wide against the pair's
    // motion that no such step can leave it, it cannot, and with the motion
    // bounds of the real sky (UseMotionBounds) the walk takes the one-day
    // steps below, which find the same date.
    //
    // The one-day walks do not test the midnights at which the aspect must
    // still hold: with a margin m = orb − deviation and the two bodies
    // together moving at most v a day, the deviation stays below the orb for
    // fewer than m / v days, so the walk moves on to the first midnight it
    // cannot rule out. This finds exactly the date that testing every
    // midnight finds, as long as the source moves no faster than the real
    // bodies do (kMaxDailyMotion).
    Standard,
    // The same steps, but the one-day walks test every midnight. For sources
    // faster than the real sky (tests), and to measure what skipping saves.
    EveryMidnight,
    // One day always, also for two slow bodies (for comparison).
    DayByDay,
};

// Fastest apparent geocentric motion of body 1..10 in radians a day, a
// little above the largest daily motion of each body in the years 1600 to
// 2100 (Sun 1.02°, Mercury 2.20°, Venus 1.26°, Mars 0.79°, Jupiter 0.24°,
// Saturn 0.13°, Uranus 0.063°, Neptune 0.039°, Pluto 0.042°, Moon 15.4°),
// and over all the accepted years 1 to 2799 (the same to the figures given).
double MaxDailyMotion(Body body);

// Day number returned when a date cannot be found: a tested instant lies
// outside a body's data, or the parameters make no sense.
inline constexpr double kUnknownDate = -1;

// Walks are cut off after this many days (more than the whole span of the
// ephemeris), so a source that never leaves an aspect cannot hang the
// program; the result is then kUnknownDate.
inline constexpr int kMaxSearchDays = 2500000;

// The positions of the two bodies of a walk at its midnights (aspect_search.cpp).
class WalkTracks;

class AspectSearch {
  public:
    // `orbs` supplies the orbs (columns 0..2) and must outlive the search.
    // worldLocalDayValue is the World date's LocalDayValue (its integer part
    // is the day searched from; none, or a negative value, makes every search
    // unknown); zoneMinutes the offset of the World date's zone in minutes
    // east of Greenwich, which decides where the local midnights lie.
    AspectSearch(LongitudeFn longitude, const OrbTable& orbs,
                 std::optional<double> worldLocalDayValue, int zoneMinutes);

    // Personal transits: the first body of every search stays at its position
    // at this Julian date (the birthdate of the personal option); none, a
    // birthdate without a valid date, makes every search unknown.
    void FixFirstBodyAt(std::optional<JulianDate> natalJulianDate);

    void SetStepping(SearchStepping s) { stepping_ = s; }

    // The motion bounds of the source, when it is the engine's ephemeris
    // (SkyMotionBounds). With them and the Standard stepping, a walk of two
    // moving bodies leaves out the positions of a midnight whose step the
    // positions computed before already decide: each body lies near the line
    // through its last two positions and the parabola through its last three,
    // within what the bounds allow, and the whole range of their deviation
    // holds the aspect (and, for two slow bodies, gives one step). The walk
    // takes the same steps and finds the same date. `zodiacOffset` gives what
    // the source's longitudes lie behind the tropical ones at an instant
    // (Engine::ZodiacOffset); empty for 0.
    void UseMotionBounds(const MotionBounds& bounds,
                         std::function<double(JulianDate jd)> zodiacOffset = nullptr) {
        bounds_ = bounds;
        zodiacOffset_ = std::move(zodiacOffset);
    }

    // Local days of a named zone: each day is tested at its own midnight in
    // the offset in force that day (StartOfLocalDay), so the days on either
    // side of a change to or from daylight saving are the zone's local days,
    // not those of the World date's offset. A fixed zone keeps the offset
    // given to the constructor.
    void UseNamedZone(const TimeZone& zone);

    // Day number of the local date on which the aspect began: the date
    // whose starting midnight is the first one, going back from the World
    // date, at which the aspect does not hold (the World date itself when it
    // does not hold at the World date's own starting midnight). `column` is
    // the orb column of the aspect test (0 world transits, 1 personal
    // transits). kUnknownDate when the walk reaches a date without a position.
    double BeginningOfAspect(Body p1, Body p2, Aspect aspect, OrbColumn column) const;

    // Day number of the local date on which the aspect ends: the date before
    // the first midnight, going forward from the end of the World date, at
    // which the aspect does not hold.
    double EndOfAspect(Body p1, Body p2, Aspect aspect, OrbColumn column) const;

    // The same for an aspect of a moving body to an extra point, which takes
    // the place of the first body: in personal transits the natal point at
    // the birth instant, else the point as it moves. The walk steps as for a
    // body of the point's largest daily motion (PointMaxDailyMotion), never
    // in the large steps of two slow bodies. Without a point source every
    // such search is unknown.
    void SetPointSource(PointLongitudeFn source) { pointLongitude_ = std::move(source); }
    double BeginningOfPointAspect(ExtraPoint point, Body body, Aspect aspect,
                                  OrbColumn column) const;
    double EndOfPointAspect(ExtraPoint point, Body body, Aspect aspect, OrbColumn column) const;

  private:
    // The walk on two sources of positions at an instant (the first fixed
    // in personal transits); `motion` bounds their joint daily motion. With
    // `tracks`, the positions come from them instead, and those they decide
    // are left out.
    template <class First, class Second>
    bool WalkPositions(const First& lon1At, const Second& lon2At, bool slowPair, double motion,
                       Aspect aspect, OrbColumn column, int firstOffset, int direction,
                       int64_t& offset, WalkTracks* tracks = nullptr) const;
    bool WalkPoint(ExtraPoint point, Body body, Aspect aspect, OrbColumn column, int firstOffset,
                   int direction, int64_t& offset) const;
    // Walks from the midnight `firstOffset` days after the World date's
    // starting midnight in `direction` (−1 or +1) and returns the offset of
    // the first midnight at which the aspect does not hold, or false.
    bool Walk(Body p1, Body p2, Aspect aspect, OrbColumn column, int firstOffset, int direction,
              int64_t& offset) const;
    // The Universal Time of the local midnight that starts the date `offset`
    // days after the World date; false when the zone has none for it.
    bool MidnightJulianDate(int64_t offset, double& jd) const;

    LongitudeFn longitude_;
    PointLongitudeFn pointLongitude_;
    const OrbTable& orbs_;
    double day_ = 0;   // floor of the World date's local day value
    double zone_ = 0;  // zone offset in days
    TimeZone namedZone_;  // when named, the midnights are this zone's
    bool valid_ = false;
    bool firstFixed_ = false;
    double natalJulianDate_ = 0;
    SearchStepping stepping_ = SearchStepping::Standard;
    std::optional<MotionBounds> bounds_;
    std::function<double(JulianDate)> zodiacOffset_;
};

}  // namespace vek
