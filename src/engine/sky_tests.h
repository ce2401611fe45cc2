// The tests the pattern finders and the midpoint search are made of, asked of
// the chart A positions of one instant. The finders see nothing else of a
// chart, so whatever answers these tests as the chart's positions would
// finds exactly what the chart finds.
#pragma once

#include "engine/aspects.h"
#include "engine/vek_types.h"

namespace vek {

struct Chart;

class SkyTests {
  public:
    virtual ~SkyTests() = default;

    // Bodies 1..BodyCount() take part in the patterns.
    virtual int BodyCount() const = 0;

    // The aspect test by bodies: chart A longitudes of x and y, orb column 0.
    virtual AspectTest Aspect(Body x, Body y, vek::Aspect aspect) const = 0;

    // Whether x and y both have a position and the two are not exactly equal.
    virtual bool Distinct(Body x, Body y) const = 0;

    // Whether `centre` stands within the midpoint orb of the plain mean of y's
    // and z's longitudes or of the point opposite it. Both orders of y and z
    // give the same answer.
    virtual bool AtMidpoint(Body centre, Body y, Body z) const = 0;
};

// The midpoint test on three longitudes: the centre within `orb` of the plain
// mean m of y and z, or of the point opposite m.
bool AtMidpointOf(double centre, double y, double z, double orb);

// The tests on the stored positions of a chart.
class ChartTests final : public SkyTests {
  public:
    // `midpointOrb` in radians (MidpointOrbOfIndex).
    ChartTests(const Chart& chart, const OrbTable& orbs, double midpointOrb = 0)
        : chart_(chart), orbs_(orbs), midpointOrb_(midpointOrb) {}

    int BodyCount() const override;
    AspectTest Aspect(Body x, Body y, vek::Aspect aspect) const override;
    bool Distinct(Body x, Body y) const override;
    bool AtMidpoint(Body centre, Body y, Body z) const override;

  private:
    const Chart& chart_;
    const OrbTable& orbs_;
    double midpointOrb_;
};

}  // namespace vek
