#include "engine/crossings.h"

#include <algorithm>
#include <cmath>

namespace vek {

namespace {

// The longest step, as an angle the function may travel in it: well below
// the distance from a level to the function's wrap, so that no interval
// holds both a crossing and a wrap.
constexpr double kLongestTravel = 2.5;
// Steps are never longer than this many days, so that the bounds of an
// interval stay tight enough to decide it at once.
constexpr double kLongestStep = 30;
// The shortest step the scan takes (days).
constexpr double kShortestStep = 1.0 / 48;
// How far the function may bend from the chord of a step chosen by its
// bend alone (radians).
constexpr double kBend = 0.002;
constexpr double kFullCircle = 6.28318530717959;
// The value just before a jump is asked this long before it.
constexpr double kBeforeJump = 1e-7;
// Far above the rounding of the bounds computed from the values (radians):
// a bound this far from the level decides as the exact one would.
constexpr double kRoundingMargin = 1e-12;

struct Sample {
    double t;
    double y;
};

bool Above(double y) {
    return y >= 0;
}

class Search {
  public:
    Search(const TimeFunction& f, const ChangeBounds& b, const std::vector<double>& levels,
           std::vector<Crossing>& out)
        : f_(f), b_(b), levels_(levels), out_(out) {}

    bool failed() const { return failed_; }

    // The function's value relative to level i.
    double Rel(double y, size_t i) const {
        const double d = y - levels_[i];
        return b_.angle ? std::remainder(d, kFullCircle) : d;
    }

    double Value(double t) {
        const double y = f_(t);
        if (!std::isfinite(y)) failed_ = true;
        return y;
    }

    // Scans [from, to], on which the function has no jump; `last` receives
    // the value at `to`.
    void Scan(double from, double to, double& last) {
        const double hmax = std::min(kLongestStep, kLongestTravel / b_.rate);
        // A step over which the function bends from its chord by at most
        // kBend: the levels it does not reach are settled by the chord.
        const double bend = b_.accel > 0 ? std::sqrt(8 * kBend / b_.accel) : 0;
        Sample cur{from, Value(from)};
        Sample prev = cur;
        bool havePrev = false;
        while (!failed_ && cur.t < to) {
            // No level can be reached sooner than its distance at the
            // fastest rate; where the last two values approach a level, aim
            // a little beyond where the line through them meets it, so that
            // the interval brackets the crossing closely.
            double nearest = INFINITY;
            double aim = 0;
            double slope = 0;
            if (havePrev) {
                double dy = cur.y - prev.y;
                if (b_.angle) dy = std::remainder(dy, kFullCircle);
                slope = dy / (cur.t - prev.t);
            }
            for (size_t i = 0; i < levels_.size(); ++i) {
                const double d = Rel(cur.y, i);
                nearest = std::min(nearest, std::fabs(d));
                if (slope != 0 && d * slope < 0) {
                    const double reach = -d / slope;
                    if (aim == 0 || reach < aim) aim = reach;
                }
            }
            double h = std::max(nearest / b_.rate, bend);
            if (aim > 0) h = std::max(h, std::min(aim * 1.02 + kShortestStep / 8, hmax));
            h = std::clamp(h, kShortestStep, hmax);
            const double t = std::min(cur.t + h, to);
            const Sample next{t, Value(t)};
            if (failed_) break;
            for (size_t i = 0; i < levels_.size(); ++i) Examine(cur, next, static_cast<int>(i), 0);
            prev = cur;
            cur = next;
            havePrev = true;
        }
        last = cur.y;
    }

    // A jump at t from `before` to `after`.
    void Jump(double t, double before, double after) {
        for (size_t i = 0; i < levels_.size(); ++i) {
            const double a = Rel(before, i), b = Rel(after, i);
            if (Above(a) != Above(b) && std::fabs(a) + std::fabs(b) < kLongestTravel)
                out_.push_back({t, Above(b) ? 1 : -1, static_cast<int>(i)});
        }
    }

  private:
    // Whether a node of the function lies strictly inside (a, b); its
    // instant in `node`, the one nearest the middle (any node inside lies
    // within 1.5 spacings of the middle when one lies near it at all).
    bool NodeInside(double a, double b, double& node) const {
        if (!(b_.nodeSpacing > 0)) return false;
        const double mid = (a + b) / 2;
        const double k = std::round((mid - b_.nodeStart) / b_.nodeSpacing);
        for (const double c : {k, k - 1, k + 1}) {
            const double n = b_.nodeStart + c * b_.nodeSpacing;
            if (n > a && n < b) {
                node = n;
                return true;
            }
        }
        return false;
    }

    bool RoughAt(double a, double b) const { return RoughAt(b_, a, b); }

    // Whether [a, b] meets a rough span of the bounds.
    static bool RoughAt(const ChangeBounds& bounds, double a, double b) {
        const auto& r = bounds.rough;
        if (r.empty()) return false;
        // The first span that ends at a or later.
        auto it = std::lower_bound(
            r.begin(), r.end(), a,
            [](const std::pair<double, double>& s, double t) { return s.second < t; });
        return it != r.end() && it->first <= b;
    }

    // Whether level i is crossed at most once in [a, b], which meets a rough
    // span, from the function's values relative to it at the ends. The
    // smooth path's chord differs from the function's by the path's distance
    // at either end, and the path's slope from its chord's by at most
    // accel × h: with the function's chord steeper than that the path is
    // monotonic, and a function that keeps its sign from the level 0 changes
    // sign with it. (How fast the bending changes gives no such proof: near
    // the Sun's centre it keeps its size and turns its direction, the faster
    // the closer a planet passes.)
    bool SingleInRough(size_t i, double ya, double yb, double h) const {
        if (!b_.roughKeepsSign || levels_[i] != 0 || !(b_.accel > 0) || b_.nodeSpacing > 0)
            return false;
        return (std::fabs(yb - ya) - 2 * b_.roughNoise) / h > b_.accel * h;
    }

    // Whether the function, |ya| and |yb| from a level on the same side of it
    // at the ends of an interval of h days, may reach it between them: only
    // in the stretch it can reach from both ends at the fastest rate, and
    // there only where the chord less the most bend and the noise comes to
    // it. The chord less the bend is least at s* = h/2 − (|yb| − |ya|)/(accel h).
    bool MayReachBetween(double aa, double ab, double h, double noise) const {
        const double first = aa / b_.rate, last = h - ab / b_.rate;
        if (first > last) return false;
        const double s = std::clamp(h / 2 - (ab - aa) / (b_.accel * h), first, last);
        return aa + (ab - aa) * s / h - b_.accel * s * (h - s) / 2 - noise <= kRoundingMargin;
    }

    void Examine(Sample a, Sample b, int level, int depth) {
        if (failed_) return;
        const size_t levelIndex = static_cast<size_t>(level);
        const double ya = Rel(a.y, levelIndex), yb = Rel(b.y, levelIndex);
        const double h = b.t - a.t;
        double node = 0;
        const bool nodes = NodeInside(a.t, b.t, node);
        const bool rough = RoughAt(a.t, b.t);
        const double noise = nodes ? 2 * b_.nodeNoise : 0;
        const double reach = b_.rate * h + noise;
        // In a rough span the bend bound holds for a path within roughNoise.
        const double bendNoise = noise + (rough ? 2 * b_.roughNoise : 0);
        const double aa = std::fabs(ya), ab = std::fabs(yb);
        if (Above(ya) == Above(yb)) {
            // Going to the level and back takes at least |ya| + |yb|.
            if (aa + ab > reach) return;
            // A curve of bounded bend lies within accel h² / 8 of its chord.
            if (b_.accel > 0 && std::min(aa, ab) > b_.accel * h * h / 8 + bendNoise) return;
            if (h <= kCrossingTolerance) return;  // touches the level, at most
            if (!nodes && b_.accel > 0 && !MayReachBetween(aa, ab, h, bendNoise)) return;
            // Nor does it where it changes sign at most once.
            if (rough && SingleInRough(levelIndex, ya, yb, h)) return;
        } else {
            // Too far apart to be joined at the fastest rate: the angle wrapped.
            if (aa + ab > reach) return;
            // The slope stays within accel × h of the chord's: with a chord
            // steeper than that the function is monotonic, one crossing. In a
            // rough span nothing bounds the slope's turns: halved to the
            // tolerance, so that every crossing there is found.
            if (b_.accel > 0 && !nodes && !rough && std::fabs(yb - ya) / h > b_.accel * h) {
                Refine(a, b, level);
                return;
            }
            if (h <= kCrossingTolerance) {
                Record(a.t + h * aa / (aa + ab), yb, level);
                return;
            }
            if (rough && SingleInRough(levelIndex, ya, yb, h)) {
                HalveSingle(a, b, level, depth);
                return;
            }
        }
        Halve(a, b, level, depth, nodes ? node : a.t + h / 2);
    }

    void Halve(Sample a, Sample b, int level, int depth, double mid) {
        if (depth > 60) return;
        const Sample m{mid, Value(mid)};
        Examine(a, m, level, depth + 1);
        Examine(m, b, level, depth + 1);
    }

    // The value at t: one of `known` when asked there already.
    double ValueAt(double t, std::vector<Sample>& known) {
        for (const Sample& k : known)
            if (k.t == t) return k.y;
        known.push_back({t, Value(t)});
        return known.back().y;
    }

    // Follows Examine's halving of [x, y] from `depth` while it stays in a
    // rough span and longer than the tolerance, each midpoint taken on a's
    // side when it lies at or before lo, on b's at or after hi, and else as
    // `guess` puts it. False where Examine gives up on the depth first.
    static bool FollowHalving(const ChangeBounds& b, Sample& x, Sample& y, int& depth, double lo,
                              double hi, double guess) {
        for (;;) {
            if (depth > 60) return false;
            const double mid = x.t + (y.t - x.t) / 2;
            const bool onA = mid <= lo || (mid < hi && mid < guess);
            (onA ? x : y) = Sample{mid, 0};
            ++depth;
            if (!(RoughAt(b, x.t, y.t) && y.t - x.t > kCrossingTolerance)) return true;
        }
    }

    // Examine's halving of a sign change in a rough span that holds a single
    // crossing (SingleInRough): the halves without it hold none, and the
    // halves with it are followed to the interval that Examine decides
    // otherwise than by halving. Every midpoint on the
    // way lies outside that interval, on the side its ends show: the way is
    // followed as an estimate of the crossing has it, and the function asked
    // only at the ends of the interval reached. Where an end lies on the
    // other side, it narrows the known sides [lo, hi], the estimate is made
    // anew from them (regula falsi, Illinois), and the way followed again.
    void HalveSingle(Sample a, Sample b, int level, int depth) {
        const size_t levelIndex = static_cast<size_t>(level);
        const bool aboveA = Above(Rel(a.y, levelIndex));
        std::vector<Sample> known{a, b};
        double lo = a.t, hi = b.t, yLo = Rel(a.y, levelIndex), yHi = Rel(b.y, levelIndex);
        int lastSide = 0;
        for (int round = 0; round < 64; ++round) {
            const double guess = (lo * yHi - hi * yLo) / (yHi - yLo);
            Sample x = a, y = b;
            int d = depth;
            if (!FollowHalving(b_, x, y, d, lo, hi,
                               guess > lo && guess < hi ? guess : (lo + hi) / 2))
                return;
            bool agree = true;
            for (Sample* end : {&x, &y}) {
                end->y = ValueAt(end->t, known);
                if (failed_) return;
                const double r = Rel(end->y, levelIndex);
                const bool onA = Above(r) == aboveA;
                if (onA == (end == &x)) continue;
                // The estimate put this end on the wrong side.
                const int side = onA ? -1 : 1;
                if (onA) {
                    lo = end->t;
                    yLo = r;
                    if (lastSide == side) yHi /= 2;
                } else {
                    hi = end->t;
                    yHi = r;
                    if (lastSide == side) yLo /= 2;
                }
                lastSide = side;
                agree = false;
                break;
            }
            if (agree) {
                Examine(x, y, level, d);
                return;
            }
        }
        Halve(a, b, level, depth, a.t + (b.t - a.t) / 2);
    }

    // One crossing between a and b, the function monotonic between them:
    // secant steps kept inside the bracket. The bend bound limits how far a
    // secant's zero lies from the crossing, (accel / 2)·|t − x0|·|t − x1|
    // over the least slope; once that is below the tolerance the estimate
    // is taken without asking the function again.
    void Refine(Sample a, Sample b, int level) {
        const size_t levelIndex = static_cast<size_t>(level);
        double ta = a.t, ya = Rel(a.y, levelIndex), tb = b.t, yb = Rel(b.y, levelIndex);
        const bool rising = Above(yb);
        double slope = std::fabs(yb - ya) / (tb - ta) - b_.accel * (tb - ta);
        double x0 = ta, y0 = ya, x1 = tb, y1 = yb;
        double t = ta;
        for (int i = 0; i < 64; ++i) {
            t = y1 != y0 ? x1 - y1 * (x1 - x0) / (y1 - y0) : (ta + tb) / 2;
            if (!(t > ta && t < tb)) t = (ta * yb - tb * ya) / (yb - ya);
            if (!(t > ta && t < tb)) t = (ta + tb) / 2;
            const double off = b_.accel / 2 * std::fabs(t - x0) * std::fabs(t - x1) / slope;
            if (off <= kCrossingTolerance / 2 || tb - ta <= kCrossingTolerance) break;
            const double y = Rel(Value(t), levelIndex);
            if (failed_) return;
            if (y == 0) break;
            if (Above(y) == Above(yb)) {
                tb = t;
                yb = y;
            } else {
                ta = t;
                ya = y;
            }
            slope = std::max(slope, std::fabs(yb - ya) / (tb - ta) - b_.accel * (tb - ta));
            x0 = x1;
            y0 = y1;
            x1 = t;
            y1 = y;
        }
        out_.push_back({t, rising ? 1 : -1, level});
    }

    void Record(double t, double after, int level) {
        out_.push_back({t, Above(after) ? 1 : -1, level});
    }

    const TimeFunction& f_;
    const ChangeBounds& b_;
    const std::vector<double>& levels_;
    std::vector<Crossing>& out_;
    bool failed_ = false;
};

}  // namespace

Result<std::vector<Crossing>> FindCrossings(const TimeFunction& f, const ChangeBounds& bounds,
                                            const CrossingSpan& span,
                                            const std::vector<double>& levels) {
    if (!(bounds.rate > 0) || !std::isfinite(bounds.rate) || !(bounds.accel >= 0) ||
        !(bounds.nodeNoise >= 0) || !(bounds.nodeSpacing >= 0) || !(bounds.roughNoise >= 0) ||
        !std::is_sorted(bounds.rough.begin(), bounds.rough.end()))
        return Error{"the bounds of the crossing search are not usable"};
    if (!std::isfinite(span.from) || !std::isfinite(span.to) || span.to < span.from)
        return Error{"the span of the crossing search is not usable"};
    if (!f) return Error{"the crossing search has no function"};
    std::vector<Crossing> out;
    Search search(f, bounds, levels, out);
    double from = span.from;
    for (const double jump : span.jumps) {
        if (!(jump > from) || jump > span.to) continue;
        double before = 0;
        search.Scan(from, std::max(from, jump - kBeforeJump), before);
        if (search.failed()) break;
        const double after = search.Value(jump);
        if (search.failed()) break;
        search.Jump(jump, before, after);
        from = jump;
    }
    double last = 0;
    if (!search.failed()) search.Scan(from, span.to, last);
    if (search.failed()) return Error{"a position the crossing search needs is not available"};
    std::stable_sort(out.begin(), out.end(),
                     [](const Crossing& x, const Crossing& y) { return x.jd < y.jd; });
    return out;
}

}  // namespace vek
