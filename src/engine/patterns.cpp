#include "engine/patterns.h"

#include <array>
#include <initializer_list>

#include "engine/angle_text.h"
#include "engine/aspects.h"
#include "engine/chart.h"
#include "engine/sky_tests.h"
#include "engine/vocabulary.h"

namespace vek {

namespace {

// Aspect test by bodies that also hands back the deviation.
bool Holds(const SkyTests& sky, Body x, Body y, Aspect aspect, double& deviation) {
    AspectTest t = sky.Aspect(x, y, aspect);
    deviation = t.deviation;
    return t.holds;
}

bool Holds(const SkyTests& sky, Body x, Body y, Aspect aspect) {
    return sky.Aspect(x, y, aspect).holds;
}

PatternInstance MakeInstance(std::initializer_list<Body> bodies,
                             std::initializer_list<double> deviations) {
    PatternInstance p;
    for (const Body b : bodies) p.bodies[p.size++] = b;
    double sum = 0;
    for (double d : deviations) sum += d;
    p.meanDeviation = deviations.size() ? sum / static_cast<double>(deviations.size()) : 0;
    return p;
}

void Add(PatternResult& r, const PatternInstance& p) {
    r.instances.push_back(p);
    ++r.count;
}

// Grand trines i < j < k with the deviations of (i,j), (i,k), (j,k).
struct Trine {
    Body i, j, k;
    double dij, dik, djk;
};

std::vector<Trine> GrandTrines(const SkyTests& sky) {
    std::vector<Trine> out;
    const int n = sky.BodyCount();
    double dij, dik, djk;
    for (const Body i : Bodies(n))
        for (const Body j : BodiesAfter(i, n)) {
            if (!Holds(sky, i, j, kTrine, dij)) continue;
            for (const Body k : BodiesAfter(j, n))
                if (Holds(sky, i, k, kTrine, dik) && Holds(sky, j, k, kTrine, djk))
                    out.push_back({i, j, k, dij, dik, djk});
        }
    return out;
}

// Yods (i, k, j): the sextile i < j and the apex k quincunx to both.
struct Yod {
    Body i, k, j;
    double dij, dik, djk;
};

std::vector<Yod> Yods(const SkyTests& sky) {
    std::vector<Yod> out;
    const int n = sky.BodyCount();
    double dij, dik, djk;
    for (const Body i : Bodies(n))
        for (const Body j : BodiesAfter(i, n)) {
            if (!Holds(sky, i, j, kSextile, dij)) continue;
            for (const Body k : Bodies(n))
                if (Holds(sky, i, k, kQuincunx, dik) && Holds(sky, j, k, kQuincunx, djk))
                    out.push_back({i, k, j, dij, dik, djk});
        }
    return out;
}

// Adds every set of `size` mutually conjunct bodies that extends `chosen`.
void CollectStellia(const SkyTests& sky, int size, int n, std::array<Body, 6>& chosen, int have,
                    double sum, int pairs, PatternResult& r) {
    if (have == size) {
        PatternInstance p;
        p.size = size;
        for (int m = 0; m < size; ++m) p.bodies[m] = chosen[m];
        p.meanDeviation = sum / pairs;
        Add(r, p);
        return;
    }
    const int first = have == 0 ? 1 : Index(chosen[have - 1]) + 1;
    for (const Body b : BodyRange(first, n)) {
        double added = 0;
        bool all = true;
        for (int m = 0; m < have && all; ++m) {
            double d;
            all = Holds(sky, chosen[m], b, kConjunction, d);
            added += d;
        }
        if (!all) continue;
        chosen[have] = b;
        CollectStellia(sky, size, n, chosen, have + 1, sum + added, pairs + have, r);
    }
}

}  // namespace

PatternResult FindGrandTrines(const SkyTests& sky) {
    PatternResult r;
    for (const Trine& t : GrandTrines(sky))
        Add(r, MakeInstance({t.i, t.j, t.k}, {t.dij, t.dik, t.djk}));
    return r;
}

PatternResult FindKites(const SkyTests& sky) {
    PatternResult r;
    const int n = sky.BodyCount();
    for (const Trine& t : GrandTrines(sky)) {
        for (const Body a : Bodies(n)) {
            if (a == t.i || a == t.j || a == t.k) continue;
            // The apex is tried opposite each trine body in turn; the other two
            // trine bodies follow in the order of that attempt.
            const Body order[3][3] = {{t.i, t.j, t.k}, {t.j, t.k, t.i}, {t.k, t.i, t.j}};
            for (const auto& o : order) {
                double dOpp, dS1, dS2;
                if (Holds(sky, a, o[0], kOpposition, dOpp) && Holds(sky, a, o[1], kSextile, dS1) &&
                    Holds(sky, a, o[2], kSextile, dS2))
                    Add(r,
                        MakeInstance({o[0], o[1], o[2], a}, {t.dij, t.dik, t.djk, dOpp, dS1, dS2}));
            }
        }
    }
    return r;
}

PatternResult FindRectangles(const SkyTests& sky) {
    PatternResult r;
    const int n = sky.BodyCount();
    // Each rectangle is met from both of its oppositions; the second meeting is
    // recognised only when it directly follows the first.
    // First two bodies of the last rectangle kept.
    std::optional<Body> lastFirst, lastSecond;
    double dOij, dSjk, dOkb, dSbi, dTik, dTjb;
    for (const Body i : Bodies(n))
        for (const Body j : BodiesAfter(i, n)) {
            if (!Holds(sky, i, j, kOpposition, dOij)) continue;
            for (const Body k : Bodies(n)) {
                if (!Holds(sky, j, k, kSextile, dSjk)) continue;
                for (const Body b : BodiesAfter(i, n)) {
                    if (!Holds(sky, k, b, kOpposition, dOkb) || !Holds(sky, b, i, kSextile, dSbi))
                        continue;
                    if (!Holds(sky, i, k, kTrine, dTik) || !Holds(sky, j, b, kTrine, dTjb))
                        continue;
                    if (k == lastFirst && b == lastSecond) continue;
                    Add(r, MakeInstance({i, j, k, b}, {dOij, dOkb, dSjk, dSbi, dTik, dTjb}));
                    lastFirst = i;
                    lastSecond = j;
                }
            }
        }
    return r;
}

PatternResult FindTSquares(const SkyTests& sky) {
    PatternResult r;
    const int n = sky.BodyCount();
    double dO, dS1, dS2;
    for (const Body i : Bodies(n))
        for (const Body j : BodiesAfter(i, n)) {
            if (!Holds(sky, i, j, kOpposition, dO)) continue;
            for (const Body k : Bodies(n))
                if (Holds(sky, i, k, kSquare, dS1) && Holds(sky, j, k, kSquare, dS2))
                    Add(r, MakeInstance({i, k, j}, {dO, dS1, dS2}));
        }
    return r;
}

PatternResult FindGrandCrosses(const SkyTests& sky) {
    PatternResult r;
    const int n = sky.BodyCount();
    double dSia, dSib, dOij, dOab, dSaj, dSjb;
    for (const Body i : Bodies(n))
        for (const Body a : BodiesAfter(i, n)) {
            if (!Holds(sky, i, a, kSquare, dSia)) continue;
            for (const Body b : BodiesAfter(a, n)) {
                if (!Holds(sky, i, b, kSquare, dSib)) continue;
                for (const Body j : BodiesAfter(i, n))
                    if (Holds(sky, i, j, kOpposition, dOij) &&
                        Holds(sky, a, b, kOpposition, dOab) && Holds(sky, a, j, kSquare, dSaj) &&
                        Holds(sky, j, b, kSquare, dSjb))
                        Add(r, MakeInstance({i, a, j, b}, {dSia, dSib, dSaj, dSjb, dOij, dOab}));
            }
        }
    return r;
}

PatternResult FindYods(const SkyTests& sky) {
    PatternResult r;
    for (const Yod& y : Yods(sky)) Add(r, MakeInstance({y.i, y.k, y.j}, {y.dij, y.dik, y.djk}));
    return r;
}

PatternResult FindYodKites(const SkyTests& sky) {
    PatternResult r;
    const int n = sky.BodyCount();
    double dO, dSj, dSi;
    for (const Yod& y : Yods(sky))
        for (const Body l : Bodies(n)) {
            if (l == y.i || l == y.j || l == y.k) continue;
            if (Holds(sky, l, y.k, kOpposition, dO) && Holds(sky, l, y.j, kSemisextile, dSj) &&
                Holds(sky, l, y.i, kSemisextile, dSi))
                Add(r, MakeInstance({y.i, y.k, y.j, l}, {y.dij, y.dik, y.djk, dO, dSj, dSi}));
        }
    return r;
}

PatternResult FindTrapezia(const SkyTests& sky) {
    PatternResult r;
    const int n = sky.BodyCount();
    double dOij, dTik, dSil, dSkl, dSkj, dTjl;
    for (const Body i : Bodies(n))
        for (const Body j : BodiesAfter(i, n)) {
            if (!Holds(sky, i, j, kOpposition, dOij)) continue;
            for (const Body k : Bodies(n)) {
                if (k == i || k == j || !Holds(sky, i, k, kTrine, dTik)) continue;
                for (const Body l : Bodies(n)) {
                    if (l == i || l == j || l == k) continue;
                    if (Holds(sky, i, l, kSextile, dSil) && Holds(sky, k, l, kSextile, dSkl) &&
                        Holds(sky, k, j, kSextile, dSkj) && Holds(sky, j, l, kTrine, dTjl))
                        Add(r, MakeInstance({i, j, k, l}, {dOij, dSil, dSkl, dSkj, dTik, dTjl}));
                }
            }
        }
    return r;
}

PatternResult FindStellia(const SkyTests& sky, int size) {
    PatternResult r;
    if (size < 3 || size > 6) return r;
    std::array<Body, 6> chosen{};
    CollectStellia(sky, size, sky.BodyCount(), chosen, 0, 0, 0, r);
    return r;
}

PatternResult FindGrandSextiles(const SkyTests& sky) {
    PatternResult r;
    const std::vector<Trine> trines = GrandTrines(sky);
    for (const Trine& a : trines) {
        // Trines come in loop order, so those with p ≥ i are the ones the
        // second set of loops would meet.
        for (const Trine& b : trines) {
            if (b.i < a.i) continue;
            const Body second[3] = {b.i, b.j, b.k};
            bool clash = false;
            for (const Body x : second) clash = clash || x == a.j || x == a.k;
            if (clash) continue;
            int sextiles = 0;
            for (const Body x : {a.i, a.j, a.k})
                for (const Body y : second) sextiles += Holds(sky, x, y, kSextile) ? 1 : 0;
            if (sextiles != 6) continue;
            PatternInstance p = MakeInstance({a.i, a.j, a.k, b.i, b.j, b.k}, {});
            p.hasMean = false;
            r.instances.push_back(p);
        }
    }
    r.count = r.instances.empty() ? 0 : 1;
    return r;
}

namespace {

template <int Size>
PatternResult FindStelliaOf(const SkyTests& sky) {
    return FindStellia(sky, Size);
}

// In slot order; the stellia from six bodies down to three, as the summary
// lists them.
constexpr std::array<PatternFinder, kPatternCount> kPatternFinders = {{
    {kGrandTrine, "grand_trine", FindGrandTrines, 0},
    {kKite, "kite", FindKites, 0},
    {kRectangle, "rectangle", FindRectangles, 0},
    {kTSquare, "t_square", FindTSquares, 0},
    {kGrandCross, "grand_cross", FindGrandCrosses, 0},
    {kYod, "yod", FindYods, 0},
    {kYodKite, "yod_kite", FindYodKites, 0},
    {kTrapezium, "trapezium", FindTrapezia, 0},
    {kStellium6, "stellium6", FindStelliaOf<6>, 6},
    {kStellium5, "stellium5", FindStelliaOf<5>, 5},
    {kStellium4, "stellium4", FindStelliaOf<4>, 4},
    {kStellium3, "stellium3", FindStelliaOf<3>, 3},
    {kGrandSextile, "grand_sextile", FindGrandSextiles, 0},
    {kMidpoint, "midpoint", nullptr, 0},
}};

constexpr bool RowsInSlotOrder() {
    for (const Pattern p : AllPatterns())
        if (kPatternFinders[static_cast<std::size_t>(Index(p))].pattern != p) return false;
    return true;
}
static_assert(RowsInSlotOrder(), "the pattern table lists the patterns in slot order");

}  // namespace

const PatternFinder& PatternFinderOf(Pattern pattern) {
    return kPatternFinders[static_cast<std::size_t>(Index(pattern))];
}

int StelliumSizeOfSlot(Pattern pattern) {
    return PatternFinderOf(pattern).stelliumSize;
}

PatternResult FindPattern(const SkyTests& sky, Pattern pattern) {
    const PatternFinder& row = PatternFinderOf(pattern);
    return row.find ? row.find(sky) : PatternResult{};
}

PatternResult FindGrandTrines(const Chart& chart, const OrbTable& orbs) {
    return FindGrandTrines(ChartTests(chart, orbs));
}
PatternResult FindKites(const Chart& chart, const OrbTable& orbs) {
    return FindKites(ChartTests(chart, orbs));
}
PatternResult FindRectangles(const Chart& chart, const OrbTable& orbs) {
    return FindRectangles(ChartTests(chart, orbs));
}
PatternResult FindTSquares(const Chart& chart, const OrbTable& orbs) {
    return FindTSquares(ChartTests(chart, orbs));
}
PatternResult FindGrandCrosses(const Chart& chart, const OrbTable& orbs) {
    return FindGrandCrosses(ChartTests(chart, orbs));
}
PatternResult FindYods(const Chart& chart, const OrbTable& orbs) {
    return FindYods(ChartTests(chart, orbs));
}
PatternResult FindYodKites(const Chart& chart, const OrbTable& orbs) {
    return FindYodKites(ChartTests(chart, orbs));
}
PatternResult FindTrapezia(const Chart& chart, const OrbTable& orbs) {
    return FindTrapezia(ChartTests(chart, orbs));
}
PatternResult FindStellia(const Chart& chart, const OrbTable& orbs, int size) {
    return FindStellia(ChartTests(chart, orbs), size);
}
PatternResult FindGrandSextiles(const Chart& chart, const OrbTable& orbs) {
    return FindGrandSextiles(ChartTests(chart, orbs));
}
PatternResult FindPattern(const Chart& chart, const OrbTable& orbs, Pattern pattern) {
    return FindPattern(ChartTests(chart, orbs), pattern);
}

std::string PatternLine(const PatternInstance& p, Pattern pattern, PatternForm form,
                        const PatternTexts& texts) {
    const bool summary = form == PatternForm::Summary;
    std::string line;
    if (summary) {
        line += texts.names.PatternName[pattern];
        line += ": ";
    }
    for (int m = 0; m < p.size; ++m) {
        const Body b = p.bodies[m];
        if (m > 0) line += '-';
        line += summary ? texts.names.BodyAbbreviation[b] : texts.names.BodyName[b];
    }
    if (summary && p.hasMean) {
        line += " (";
        line += texts.deviationWord;
        line += ' ';
        line += AngleText(Radians(p.meanDeviation));
        line += ')';
    }
    line += kPatternLineBreak;
    return line;
}

PatternBlock FormatPattern(const PatternResult& r, Pattern pattern, PatternForm form,
                           const PatternTexts& texts) {
    PatternBlock block;
    for (const PatternInstance& p : r.instances) block.text += PatternLine(p, pattern, form, texts);
    block.count = static_cast<int16_t>(r.count);
    return block;
}

PatternBlock RunPatternFinder(const Chart& chart, const OrbTable& orbs, Pattern pattern,
                              PatternForm form, const PatternTexts& texts) {
    return FormatPattern(FindPattern(chart, orbs, pattern), pattern, form, texts);
}

}  // namespace vek
