#include "engine/extra_points.h"

#include <cctype>
#include <cmath>
#include <string>

#include "engine/aspects.h"
#include "platform/ephemeris.h"

namespace vek {

const char* ExtraPointKey(ExtraPoint point) {
    switch (point) {
        case ExtraPoint::MeanNode:
            return "mean-node";
        case ExtraPoint::TrueNode:
            return "true-node";
        case ExtraPoint::Chiron:
            return "chiron";
    }
    return "";
}

Result<std::vector<ExtraPoint>> ParseExtraPoints(std::string_view list) {
    bool wanted[4] = {false, false, false, false};
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(',', start);
        if (end == std::string_view::npos) end = list.size();
        std::string key(list.substr(start, end - start));
        while (!key.empty() && key.front() == ' ') key.erase(key.begin());
        while (!key.empty() && key.back() == ' ') key.pop_back();
        for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (key == "nodes") {
            wanted[1] = wanted[2] = true;
        } else {
            bool known = false;
            for (ExtraPoint p : kAllExtraPoints) {
                if (key == ExtraPointKey(p)) {
                    wanted[static_cast<int>(p)] = true;
                    known = true;
                }
            }
            if (!known)
                return Fail("\"" + key + "\" is not a point: the points are nodes, mean-node, "
                                         "true-node and chiron");
        }
        start = end + 1;
    }
    std::vector<ExtraPoint> points;
    for (ExtraPoint p : kAllExtraPoints)
        if (wanted[static_cast<int>(p)]) points.push_back(p);
    return points;
}

PointPosition ComputeExtraPoint(const Engine& engine, ExtraPoint point, double jd,
                                bool withMotion) {
    PointPosition p;
    p.point = point;
    double speed = 0;
    const double l = platform::point_longitude_speed(static_cast<int>(point), jd,
                                                     withMotion ? &speed : nullptr);
    p.longitude = l;
    if (!(l >= 0)) return p;
    p.longitude = NormalizeAngle(l - engine.ZodiacOffset(JulianDate(jd)));
    if (withMotion) {
        p.motionKnown = true;
        p.speed = speed;
        p.retrograde = speed < 0;
    }
    return p;
}

int PointNumber(ExtraPoint point) {
    return 10 + static_cast<int>(point);
}

namespace {
// Largest daily motion and change of it, in degrees, from the longitudes
// every quarter day from 1600 to 2100 with the files of swe-basic-data and
// swe-standard-data: mean node 0.0530 (always backwards) and 0.00002; true
// node 0.259 (mostly backwards, up to 0.12 forwards) and 0.054; Chiron 0.148
// and 0.0021 (away from the seam of its files late in 1798, a step of about
// 9" that the search treats as the planets' seams). The true node's path, from the osculating orbit of the Moon,
// also has kinks of about 0.3" that no bound on the change of motion
// covers: near a station of the pair a pass may come out some seconds off.
constexpr double kPointDegreesPerDay[4] = {0, 0.06, 0.35, 0.17};
constexpr double kPointDegreesPerDay2[4] = {0, 0.0001, 0.08, 0.004};
constexpr double kDegree = kTwoPi / 360.0;
}  // namespace

double PointMaxDailyMotion(ExtraPoint point) {
    return kPointDegreesPerDay[static_cast<int>(point)] * kDegree;
}

double PointMaxDailyChange(ExtraPoint point) {
    return kPointDegreesPerDay2[static_cast<int>(point)] * kDegree;
}

}  // namespace vek
