// Where a pattern may hold at all, followed through time from the aspects'
// horizons instead of instant by instant.
//
// Every instance of a pattern contains three bodies in a fixed figure: a
// grand trine (also in every kite and grand sextile), an opposition with two
// squares (every T-square and grand cross), an opposition with a trine and a
// sextile from a third body (every rectangle and trapezium), a sextile with
// two quincunxes (every yod and yod-kite), three mutual conjunctions (every
// stellium), or a body at the midpoint of two others. So where no three
// bodies stand in the pattern's figure, the pattern's finder finds nothing
// and its count is 0. The gate keeps, for every triple in the figure, the
// instant before which its answer cannot change: a triple with a failing
// test fails until that test's horizon, a triple whose tests all hold holds
// until the first of their horizons. Only where a triple holds need the
// finder run.
//
// The figure needs three distinct bodies; a body stands in an aspect with
// itself only when the orb reaches the aspect's angle, and for such orbs the
// gate stays open at every instant.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/bounded_sky.h"
#include "engine/vek_types.h"

namespace vek {

class PatternGate {
  public:
    // The gate of `pattern` over bodies 1..bodyCount with the orbs of the
    // sky's engine; the Moon takes part in no midpoint.
    PatternGate(Pattern pattern, const OrbTable& orbs, int bodyCount, const MotionBounds& bounds);

    // Whether some triple stands in the pattern's figure at the sky's
    // current instant. The instants asked must not decrease.
    bool Open(const BoundedSky& sky);

    // The triples followed; 0 for a gate that is always open.
    int TripleCount() const { return static_cast<int>(triples_.size()); }

    // Changes whenever a triple begins or ends to hold.
    int64_t Version() const { return version_; }

    // Whether the pattern's instances are its figure's triples one for one
    // (grand trine, T-square, yod): its finder then counts as many instances
    // as HoldingCount() at the sky's instant of the last Open.
    bool CountsInstances() const { return countsInstances_; }
    int HoldingCount() const { return holding_; }

    // Whether the finder sees the figure's aspects only through the triples:
    // every aspect of one of the figure's kinds that an instance needs is a
    // side of a triple of the instance's bodies that holds. So is every
    // midpoint of the midpoint search. Not so for the trapezium, whose
    // sextile between the trine and the sextile body stands in no figure.
    bool Masks() const { return masks_; }
    // With Masks(): whether an aspect or midpoint test can hold where it is
    // no side of a triple that holds, as far as the finder is concerned.
    bool Covers(Body x, Body y, Aspect aspect) const;
    bool CoversMidpoint(Body centre, Body y, Body z) const;

  private:
    // One test of a triple: an aspect between x and y, or x at the midpoint
    // of y and z.
    struct Test {
        Body x = kSun, y = kSun, z = kSun;
        Aspect aspect = kConjunction;
        bool midpoint = false;
        bool fast = false;  // involves the Moon
    };
    struct Triple {
        std::vector<Test> tests;  // slow ones first
        bool holds = false;
    };

    // Looks at one triple at the sky's instant: whether it holds, and until
    // when the answer stays.
    // Returns the instant of the next look.
    double Look(const BoundedSky& sky, Triple& t) const;

    // Orders the triples for the scan of their next looks, all due now.
    void StartScan();

    // Looks at triple i again and counts the change of its answer.
    void LookAgain(const BoundedSky& sky, size_t i);

    // Counts of the triples that hold and have a test as a side.
    void Count(const Triple& t, int by);

    std::vector<Triple> triples_;
    bool alwaysOpen_ = false;
    bool masks_ = false;
    AspectArray<bool> figureAspect_{};
    int holding_ = 0;
    int64_t version_ = 0;
    AspectArray<BodyArray<BodyArray<int>>> sides_{};
    BodyArray<BodyArray<BodyArray<int>>> midpoints_{};
    bool countsInstances_ = false;
    // The instant of each triple's next look, and the earliest of them: a
    // scan of this array is cheaper than keeping a queue in order, as many
    // triples come due at once. The scan passes over blocks of kBlock
    // triples of which none is due, by the earliest look of each block.
    static constexpr size_t kBlock = 16;
    std::vector<double> next_;
    std::vector<double> blockNext_;
    double earliest_ = 0;
};

// The sky's tests as the pattern's finder needs them where the gate masks:
// an aspect of the figure's kinds, or a midpoint, that is no side of a
// triple that holds fails without a look at the sky. The finder finds the
// same there as on the sky itself, as long as the gate's triples stay.
class GatedSky final : public SkyTests {
  public:
    GatedSky(const BoundedSky& sky, const PatternGate& gate) : sky_(sky), gate_(gate) {}
    int BodyCount() const override { return sky_.BodyCount(); }
    AspectTest Aspect(Body x, Body y, vek::Aspect aspect) const override {
        return gate_.Covers(x, y, aspect) ? sky_.Aspect(x, y, aspect) : AspectTest{};
    }
    bool Distinct(Body x, Body y) const override { return sky_.Distinct(x, y); }
    bool AtMidpoint(Body centre, Body y, Body z) const override {
        return gate_.CoversMidpoint(centre, y, z) && sky_.AtMidpoint(centre, y, z);
    }

  private:
    const BoundedSky& sky_;
    const PatternGate& gate_;
};

}  // namespace vek
