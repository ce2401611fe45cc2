// Points beside the ten bodies: the mean and the true lunar node and
// Chiron, with their positions in the zodiac of the bodies.
#pragma once

#include <string_view>
#include <vector>

#include "engine/engine.h"
#include "util/result.h"

namespace vek {

// The numbers are those of the ephemeris layer's point codes.
enum class ExtraPoint { MeanNode = 1, TrueNode = 2, Chiron = 3 };
inline constexpr ExtraPoint kAllExtraPoints[] = {ExtraPoint::MeanNode, ExtraPoint::TrueNode,
                                                 ExtraPoint::Chiron};

// "mean-node", "true-node", "chiron".
const char* ExtraPointKey(ExtraPoint point);

// A comma-separated list of keys as the command line takes it: "nodes"
// stands for both nodes, "chiron", "mean-node" and "true-node" for one
// point. The points come back in the order above, each once.
Result<std::vector<ExtraPoint>> ParseExtraPoints(std::string_view list);

// Where a point lies at one instant.
struct PointPosition {
    ExtraPoint point = ExtraPoint::MeanNode;
    // Radians in [0, 2π) in the zodiac of the bodies, or negative: −99 /
    // −100 outside the ephemeris's years, kNotCovered (−98) when no
    // installed file covers the date (Chiron), −1 another failure.
    double longitude = -1;
    // Its motion, when asked for: radians per day, and whether it moves
    // backwards (the mean node always does).
    bool motionKnown = false;
    double speed = 0;
    bool retrograde = false;
};

// The point's position at jd (UT), with the sidereal correction of the
// bodies, and with its motion when `withMotion` (which costs the ephemeris
// about as much again as the position).
PointPosition ComputeExtraPoint(const Engine& engine, ExtraPoint point, double jd,
                                bool withMotion = true);

// The number a point takes after the ten bodies where points and bodies
// share a list or an order: 11 mean node, 12 true node, 13 Chiron.
int PointNumber(ExtraPoint point);

// What the crossing search may assume of a point's motion from 1600 to 2100:
// its largest daily motion either way (radians per day) and the largest
// change of that per day (radians per day²), with a margin over what the
// ephemeris gives (extra_points.cpp lists the measured values).
double PointMaxDailyMotion(ExtraPoint point);
double PointMaxDailyChange(ExtraPoint point);

}  // namespace vek
