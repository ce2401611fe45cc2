#include "engine/pattern_gate.h"

#include <algorithm>
#include <limits>
#include <set>

#include "engine/aspects.h"
#include "engine/patterns.h"

namespace vek {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// One side of a figure: the aspect between two of its three corners.
struct Side {
    int a, b;
    Aspect aspect;
};
using Figure = std::array<Side, 3>;

// The figure every instance of the pattern contains (the midpoint has none).
Figure FigureOf(Pattern pattern) {
    switch (pattern) {
        case kTSquare:
        case kGrandCross:
            return {{{0, 1, kOpposition}, {0, 2, kSquare}, {1, 2, kSquare}}};
        case kRectangle:
        case kTrapezium:
            return {{{0, 1, kOpposition}, {0, 2, kTrine}, {1, 2, kSextile}}};
        case kYod:
        case kYodKite:
            return {{{0, 1, kSextile}, {0, 2, kQuincunx}, {1, 2, kQuincunx}}};
        case kStellium6:
        case kStellium5:
        case kStellium4:
        case kStellium3:
            return {{{0, 1, kConjunction}, {0, 2, kConjunction}, {1, 2, kConjunction}}};
        default:  // grand trine, kite, grand sextile
            return {{{0, 1, kTrine}, {0, 2, kTrine}, {1, 2, kTrine}}};
    }
}

// Whether a body can stand in one of the figure's aspects with itself.
bool SelfAspectPossible(const Figure& figure, const OrbTable& orbs) {
    for (const Side& s : figure)
        if (s.aspect != kConjunction && TestAspect(0, 0, s.aspect, orbs.orb[s.aspect][kOrbBase]).holds)
            return true;
    return false;
}

}  // namespace

PatternGate::PatternGate(Pattern pattern, const OrbTable& orbs, int bodyCount,
                         const MotionBounds& bounds) {
    auto rate = [&bounds](const Test& t) {
        return bounds.perDay[t.x] + bounds.perDay[t.y] + (t.midpoint ? bounds.perDay[t.z] : 0);
    };
    auto add = [&](std::vector<Test> tests) {
        if (tests.size() > 1)
            std::stable_sort(tests.begin(), tests.end(), [&](const Test& p, const Test& q) {
                return p.fast != q.fast ? q.fast : rate(p) < rate(q);
            });
        triples_.push_back({std::move(tests), false});
    };
    masks_ = pattern != kTrapezium;
    // Each finder of these loops over the figure's corners once per set of
    // its three tests, and tests nothing else.
    countsInstances_ = pattern == kGrandTrine || pattern == kTSquare || pattern == kYod;
    if (pattern == kMidpoint) {
        const int last = std::min(bodyCount, Index(kPluto));
        for (const Body y : Bodies(last))
            for (const Body z : BodiesAfter(y, last))
                for (const Body c : Bodies(last))
                    if (c != y && c != z) add({{c, y, z, kConjunction, true, false}});
    } else {
        const Figure figure = FigureOf(pattern);
        if (SelfAspectPossible(figure, orbs)) {
            alwaysOpen_ = true;
            masks_ = false;
            countsInstances_ = false;
            return;
        }
        for (const Side& side : figure) figureAspect_[side.aspect] = true;
        // Every assignment of three distinct bodies to the corners, each set
        // of tests once.
        std::set<std::array<int, 9>> seen;
        for (const Body b0 : Bodies(bodyCount))
            for (const Body b1 : Bodies(bodyCount))
                for (const Body b2 : Bodies(bodyCount)) {
                    if (b0 == b1 || b0 == b2 || b1 == b2) continue;
                    const Body corner[3] = {b0, b1, b2};
                    std::vector<Test> tests;
                    std::array<std::array<int, 3>, 3> key{};
                    for (int s = 0; s < 3; ++s) {
                        const Side& side = figure[static_cast<size_t>(s)];
                        const Body x = std::min(corner[side.a], corner[side.b]);
                        const Body y = std::max(corner[side.a], corner[side.b]);
                        tests.push_back({x, y, kSun, side.aspect, false, y == kMoon});
                        key[static_cast<size_t>(s)] = {Index(x), Index(y), Index(side.aspect)};
                    }
                    std::sort(key.begin(), key.end());
                    std::array<int, 9> flat{};
                    for (size_t k = 0; k < 9; ++k) flat[k] = key[k / 3][k % 3];
                    if (seen.insert(flat).second) add(std::move(tests));
                }
    }
    StartScan();
}

void PatternGate::StartScan() {
    // The triples with the Moon come due far more often than the others:
    // kept together at the end, they leave the blocks before them due seldom.
    std::stable_partition(triples_.begin(), triples_.end(), [](const Triple& t) {
        return std::none_of(t.tests.begin(), t.tests.end(), [](const Test& x) { return x.fast; });
    });
    next_.assign(triples_.size(), -kInfinity);
    blockNext_.assign((triples_.size() + kBlock - 1) / kBlock, -kInfinity);
    earliest_ = -kInfinity;
}

double PatternGate::Look(const BoundedSky& sky, Triple& t) const {
    // A failing answer that still stands settles the triple without a look
    // at its other tests; of several, the one that stands longest.
    double failUntil = -kInfinity;
    for (const Test& test : t.tests) {
        const BoundedSky::TimedAnswer known = test.midpoint
                                                  ? sky.KnownAtMidpoint(test.x, test.y, test.z)
                                                  : sky.KnownAspect(test.x, test.y, test.aspect);
        if (known.until > sky.JD() && !known.holds) failUntil = std::max(failUntil, known.until);
    }
    if (failUntil > -kInfinity) {
        t.holds = false;
        return failUntil;
    }
    // Otherwise the tests are decided slowest first, up to the first that
    // fails; the Moon's come last and are all decided once the Moon's
    // position is known, for the one that fails longest.
    double holdUntil = kInfinity;
    for (const Test& test : t.tests) {
        const BoundedSky::TimedAnswer a = test.midpoint ? sky.AtMidpointUntil(test.x, test.y, test.z)
                                                        : sky.AspectUntil(test.x, test.y, test.aspect);
        if (!a.holds) {
            failUntil = std::max(failUntil, a.until);
            if (!test.fast) break;
        } else {
            holdUntil = std::min(holdUntil, a.until);
        }
    }
    t.holds = failUntil == -kInfinity;
    return t.holds ? holdUntil : failUntil;
}

bool PatternGate::Open(const BoundedSky& sky) {
    if (alwaysOpen_) return true;
    const double jd = sky.JD();
    if (jd < earliest_) return holding_ > 0;
    double earliest = kInfinity;
    for (size_t block = 0; block < blockNext_.size(); ++block) {
        if (blockNext_[block] <= jd) {
            const size_t end = std::min(triples_.size(), (block + 1) * kBlock);
            double blockEarliest = kInfinity;
            for (size_t i = block * kBlock; i < end; ++i) {
                if (next_[i] <= jd) LookAgain(sky, i);
                blockEarliest = std::min(blockEarliest, next_[i]);
            }
            blockNext_[block] = blockEarliest;
        }
        earliest = std::min(earliest, blockNext_[block]);
    }
    earliest_ = earliest;
    return holding_ > 0;
}

void PatternGate::LookAgain(const BoundedSky& sky, size_t i) {
    Triple& t = triples_[i];
    const bool held = t.holds;
    next_[i] = Look(sky, t);
    if (t.holds != held) {
        holding_ += t.holds ? 1 : -1;
        Count(t, t.holds ? 1 : -1);
        ++version_;
    }
}

void PatternGate::Count(const Triple& t, int by) {
    for (const Test& test : t.tests) {
        if (test.midpoint)
            midpoints_[test.x][test.y][test.z] += by;
        else
            sides_[test.aspect][test.x][test.y] += by;
    }
}

bool PatternGate::Covers(Body x, Body y, Aspect aspect) const {
    if (!masks_ || !figureAspect_[aspect] || x == y) return true;
    return sides_[aspect][std::min(x, y)][std::max(x, y)] > 0;
}

bool PatternGate::CoversMidpoint(Body centre, Body y, Body z) const {
    if (!masks_) return true;
    return midpoints_[centre][std::min(y, z)][std::max(y, z)] > 0;
}

}  // namespace vek
