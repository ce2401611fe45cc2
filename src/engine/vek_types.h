// Index orders, angle constants and the orb table of the settings.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "util/angle.h"

namespace vek {

// An array indexed by the values of one enumeration E: N slots, index
// static_cast<int>(e). Tables whose index 0 is unused (bodies, aspects) keep
// that slot so that the numbers stay those of the program's texts and files.
template <class E, class T, std::size_t N>
struct EnumArray {
    std::array<T, N> values{};

    constexpr T& operator[](E e) { return values[static_cast<std::size_t>(e)]; }
    constexpr const T& operator[](E e) const { return values[static_cast<std::size_t>(e)]; }
    bool operator==(const EnumArray&) const = default;
};

// A run of consecutive values of an enumeration, first..last, for range-for.
template <class E>
class EnumRange {
  public:
    class iterator {
      public:
        constexpr iterator(int n, int step) : n_(n), step_(step) {}
        constexpr E operator*() const { return static_cast<E>(n_); }
        constexpr iterator& operator++() {
            n_ += step_;
            return *this;
        }
        constexpr bool operator==(const iterator& o) const { return n_ == o.n_; }

      private:
        int n_;
        int step_;
    };
    // The values numbered first..last; empty when last < first.
    constexpr EnumRange(int first, int last) : first_(first), end_(last < first ? first : last + 1) {}
    constexpr iterator begin() const { return iterator(first_, step_); }
    constexpr iterator end() const { return iterator(end_, step_); }
    constexpr bool empty() const { return first_ == end_; }
    // The same values from last to first.
    constexpr EnumRange Reversed() const { return EnumRange(end_ - step_, first_ - step_, -step_); }

  private:
    constexpr EnumRange(int first, int end, int step) : first_(first), end_(end), step_(step) {}
    int first_;
    int end_;
    int step_ = 1;
};

// A Julian date (UT, in days). Only an explicit JulianDate(d) makes one, so
// a longitude or another plain double cannot be passed where the date goes.
// The default is 0, the date of a slot a mode does not use.
struct JulianDate {
    constexpr JulianDate() = default;
    constexpr explicit JulianDate(double d) : days(d) {}
    double days = 0;
};

// Bodies 1..10. Without the Moon only 1..9 are computed.
enum class Body : int {
    kSun = 1,
    kMercury,
    kVenus,
    kMars,
    kJupiter,
    kSaturn,
    kUranus,
    kNeptune,
    kPluto,
    kMoon
};
inline constexpr Body kSun = Body::kSun;
inline constexpr Body kMercury = Body::kMercury;
inline constexpr Body kVenus = Body::kVenus;
inline constexpr Body kMars = Body::kMars;
inline constexpr Body kJupiter = Body::kJupiter;
inline constexpr Body kSaturn = Body::kSaturn;
inline constexpr Body kUranus = Body::kUranus;
inline constexpr Body kNeptune = Body::kNeptune;
inline constexpr Body kPluto = Body::kPluto;
inline constexpr Body kMoon = Body::kMoon;
inline constexpr int kMaxBodies = 10;

// The number of a body (1..10), as texts, files and tables count them.
constexpr int Index(Body b) {
    return static_cast<int>(b);
}
// The body numbered n, none for a number outside 1..10.
constexpr std::optional<Body> BodyFromIndex(int n) {
    if (n < 1 || n > kMaxBodies) return std::nullopt;
    return static_cast<Body>(n);
}

// Per-body values; slot 0 is unused.
template <class T>
using BodyArray = EnumArray<Body, T, kMaxBodies + 1>;

using BodyRange = EnumRange<Body>;
// Bodies 1..count of a chart (count 9 without the Moon, 10 with it).
constexpr BodyRange Bodies(int count) {
    return BodyRange(1, count);
}
// The bodies after b up to count: the second bodies of the pairs b starts.
constexpr BodyRange BodiesAfter(Body b, int count) {
    return BodyRange(Index(b) + 1, count);
}
// Every body, the Moon included.
constexpr BodyRange AllBodies() {
    return Bodies(kMaxBodies);
}

// Aspects 1..7, in the order in which a pair's aspect is chosen.
enum class Aspect : int {
    kConjunction = 1,
    kOpposition,
    kSquare,
    kTrine,
    kSextile,
    kSemisextile,
    kQuincunx
};
inline constexpr Aspect kConjunction = Aspect::kConjunction;
inline constexpr Aspect kOpposition = Aspect::kOpposition;
inline constexpr Aspect kSquare = Aspect::kSquare;
inline constexpr Aspect kTrine = Aspect::kTrine;
inline constexpr Aspect kSextile = Aspect::kSextile;
inline constexpr Aspect kSemisextile = Aspect::kSemisextile;
inline constexpr Aspect kQuincunx = Aspect::kQuincunx;
inline constexpr int kAspectCount = 7;

constexpr int Index(Aspect a) {
    return static_cast<int>(a);
}
// The aspect numbered n, none for a number outside 1..7.
constexpr std::optional<Aspect> AspectFromIndex(int n) {
    if (n < 1 || n > kAspectCount) return std::nullopt;
    return static_cast<Aspect>(n);
}

// Per-aspect values; slot 0 is unused.
template <class T>
using AspectArray = EnumArray<Aspect, T, kAspectCount + 1>;

// The seven aspects in order.
constexpr EnumRange<Aspect> AllAspects() {
    return EnumRange<Aspect>(1, kAspectCount);
}

inline constexpr int kSignCount = 12;

// Patterns 0..13: the slot of each pattern's count after a compute.
enum class Pattern : int {
    kGrandTrine = 0,
    kKite,
    kRectangle,
    kTSquare,
    kGrandCross,
    kYod,
    kYodKite,
    kTrapezium,
    kStellium6,
    kStellium5,
    kStellium4,
    kStellium3,
    kGrandSextile,
    kMidpoint
};
inline constexpr Pattern kGrandTrine = Pattern::kGrandTrine;
inline constexpr Pattern kKite = Pattern::kKite;
inline constexpr Pattern kRectangle = Pattern::kRectangle;
inline constexpr Pattern kTSquare = Pattern::kTSquare;
inline constexpr Pattern kGrandCross = Pattern::kGrandCross;
inline constexpr Pattern kYod = Pattern::kYod;
inline constexpr Pattern kYodKite = Pattern::kYodKite;
inline constexpr Pattern kTrapezium = Pattern::kTrapezium;
inline constexpr Pattern kStellium6 = Pattern::kStellium6;
inline constexpr Pattern kStellium5 = Pattern::kStellium5;
inline constexpr Pattern kStellium4 = Pattern::kStellium4;
inline constexpr Pattern kStellium3 = Pattern::kStellium3;
inline constexpr Pattern kGrandSextile = Pattern::kGrandSextile;
inline constexpr Pattern kMidpoint = Pattern::kMidpoint;
inline constexpr int kPatternCount = 14;

constexpr int Index(Pattern p) {
    return static_cast<int>(p);
}
// The pattern of slot n, none for a number outside 0..13.
constexpr std::optional<Pattern> PatternFromIndex(int n) {
    if (n < 0 || n >= kPatternCount) return std::nullopt;
    return static_cast<Pattern>(n);
}

template <class T>
using PatternArray = EnumArray<Pattern, T, kPatternCount>;

// Every pattern slot 0..13 in order.
constexpr EnumRange<Pattern> AllPatterns() {
    return EnumRange<Pattern>(0, kPatternCount - 1);
}

// Date slots.
enum class DateSlot : int { kWorldDate = 0, kBirth1 = 1, kBirth2 = 2 };
inline constexpr DateSlot kWorldDate = DateSlot::kWorldDate;
inline constexpr DateSlot kBirth1 = DateSlot::kBirth1;
inline constexpr DateSlot kBirth2 = DateSlot::kBirth2;
inline constexpr int kDateSlotCount = 3;

constexpr int Index(DateSlot s) {
    return static_cast<int>(s);
}
// The slot numbered n, none for a number outside 0..2.
constexpr std::optional<DateSlot> DateSlotFromIndex(int n) {
    if (n < 0 || n >= kDateSlotCount) return std::nullopt;
    return static_cast<DateSlot>(n);
}

template <class T>
using SlotArray = EnumArray<DateSlot, T, kDateSlotCount>;
// The Julian dates of the three date slots.
using SlotDates = SlotArray<JulianDate>;

// The three date slots in order.
constexpr EnumRange<DateSlot> AllDateSlots() {
    return EnumRange<DateSlot>(0, kDateSlotCount - 1);
}

// Languages of the interface.
enum class Language : int { kEnglish = 0, kGerman = 1 };
inline constexpr Language kEnglish = Language::kEnglish;
inline constexpr Language kGerman = Language::kGerman;

constexpr int Index(Language l) {
    return static_cast<int>(l);
}
// The other of the two languages.
constexpr Language OtherLanguage(Language l) {
    return l == kGerman ? kEnglish : kGerman;
}
// The language of a stored code: 1 German, any other code English.
constexpr Language LanguageFromCode(int code) {
    return code == 1 ? kGerman : kEnglish;
}

// Why a body has no position at an instant: the instant lies before or after
// the data of its ephemeris or table, or the computation failed.
enum class NoPosition : int8_t { BeforeData, AfterData, Failed };

// A body's longitude at an instant, radians in [0, 2π), or the reason why
// there is none. It is as small and as cheap to copy and test as a double,
// since the searches keep and compare positions in their innermost loops.
class SkyLongitude {
  public:
    // No position: the computation failed.
    constexpr SkyLongitude() = default;
    // A position in radians; a negative or non-finite number is a failed one.
    constexpr explicit SkyLongitude(double radians) : value_(radians >= 0 ? radians : kFailed) {}
    static constexpr SkyLongitude Missing(NoPosition why) {
        SkyLongitude l;
        l.value_ = why == NoPosition::BeforeData  ? kBefore
                   : why == NoPosition::AfterData ? kAfter
                                                  : kFailed;
        return l;
    }
    // The number the libraries and the JSON output use: the radians, or −99
    // before the data, −100 after it and −1 for a failure.
    static constexpr SkyLongitude FromCode(double code) {
        if (code == kBefore) return Missing(NoPosition::BeforeData);
        if (code == kAfter) return Missing(NoPosition::AfterData);
        return SkyLongitude(code);
    }
    constexpr double Code() const { return value_; }

    constexpr bool HasValue() const { return value_ >= 0; }
    constexpr explicit operator bool() const { return HasValue(); }
    // The radians; only for a position that has a value.
    constexpr double operator*() const { return value_; }
    constexpr double ValueOr(double fallback) const { return HasValue() ? value_ : fallback; }
    constexpr std::optional<double> AsOptional() const {
        return HasValue() ? std::optional<double>(value_) : std::nullopt;
    }
    // Why there is no position; only for one that has none.
    constexpr NoPosition Reason() const {
        return value_ == kBefore  ? NoPosition::BeforeData
               : value_ == kAfter ? NoPosition::AfterData
                                  : NoPosition::Failed;
    }
    constexpr bool operator==(const SkyLongitude&) const = default;

  private:
    // The reasons are kept as the negative codes of the libraries, so that a
    // position stays one double.
    static constexpr double kBefore = -99.0;
    static constexpr double kAfter = -100.0;
    static constexpr double kFailed = -1.0;
    double value_ = kFailed;
};

// Modes as recorded in ComputedMode (0 = nothing computed).
enum class Mode : int {
    None = 0,
    World = 1,
    Natal1 = 2,
    Natal2 = 3,
    Personal1 = 4,
    Personal2 = 5,
    Synastry = 6
};

// Orb columns: base orb, personal transits, synastry.
enum class OrbColumn : int { kOrbBase = 0, kOrbPersonal = 1, kOrbSynastry = 2 };
inline constexpr OrbColumn kOrbBase = OrbColumn::kOrbBase;
inline constexpr OrbColumn kOrbPersonal = OrbColumn::kOrbPersonal;
inline constexpr OrbColumn kOrbSynastry = OrbColumn::kOrbSynastry;
inline constexpr int kOrbColumnCount = 3;

constexpr int Index(OrbColumn c) {
    return static_cast<int>(c);
}
// The orb column numbered n, none for a number outside 0..2.
constexpr std::optional<OrbColumn> OrbColumnFromIndex(int n) {
    if (n < 0 || n >= kOrbColumnCount) return std::nullopt;
    return static_cast<OrbColumn>(n);
}

template <class T>
using OrbColumnArray = EnumArray<OrbColumn, T, kOrbColumnCount>;

// Largest and smallest orb above 0 of each orb column, and whether all base
// orbs above 0 are the same.
struct OrbSummary {
    OrbColumnArray<double> OrbMaximum{};
    OrbColumnArray<double> OrbMinimum{};
    bool UniformBaseOrbs = false;
};

// The orbs a compute applies, built from the settings (SetOrbs): the orb of
// every aspect 1..7 in each orb column, in radians, and their summary. The
// results of a compute live in its Chart.
struct OrbTable {
    AspectArray<OrbColumnArray<double>> orb{};
    OrbSummary summary;
};

}  // namespace vek
