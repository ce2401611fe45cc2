#include "engine/angle_text.h"

#include <cmath>

#include "util/rounding.h"

namespace vek {

namespace {

struct DegreesMinutes {
    int whole = 0;
    int minutes = 0;
};

// Whole degrees and rounded minutes of a value in [0, 2π]. The tiny bias
// before rounding down keeps values like 11.9999999° from reading as 11°60'.
// Without plain carry the text never reaches 360°: a value that would round
// up to it stays at 359°59'.
DegreesMinutes SplitDegrees(double radians, bool plainCarry) {
    const double degrees = radians / kTwoPi * 360.0;
    DegreesMinutes d;
    d.whole = static_cast<int>(std::floor(degrees + 0.00001));
    // degrees − whole is at least −0.00001, so the rounded minutes are never
    // below 0.
    d.minutes = static_cast<int>(RoundHalfToEven((degrees - d.whole) * 60.0));
    if (d.minutes == 60) {
        if (!plainCarry && d.whole == 359) {
            d.minutes = 59;
        } else {
            d.minutes = 0;
            d.whole += 1;
        }
    }
    if (!plainCarry && d.whole >= 360) {
        d.whole = 359;
        d.minutes = 59;
    }
    return d;
}

bool InSignRange(double longitude) {
    return std::isfinite(longitude) && longitude >= 0 && longitude <= kTwoPi;
}

}  // namespace

std::string AngleText(Radians angle, const AngleTextOptions& options) {
    double radians = angle.value;
    if (!std::isfinite(radians)) return "";
    std::string sign;
    if (radians < 0) {
        if (!options.acceptNegatives) return "";
        radians = -radians;
        sign = "-";
    }
    if (radians > kTwoPi) return "";
    DegreesMinutes d = SplitDegrees(radians, options.plainCarry);
    std::string text = sign + std::to_string(d.whole) + "°";
    if (options.omitZeroMinutes && d.minutes == 0) return text;
    if (options.keepUntrimmed) text += ' ';
    return text + std::to_string(d.minutes) + "'";
}

std::string PositionTextShort(Radians position, const NameTables& names) {
    const double longitude = position.value;
    if (!InSignRange(longitude)) return "";
    DegreesMinutes d = SplitDegrees(longitude, false);
    return std::to_string(d.whole % 30) + names.SignAbbreviation[d.whole / 30] +
           std::to_string(d.minutes);
}

std::string PositionTextLong(Radians position, const NameTables& names) {
    const double longitude = position.value;
    if (!InSignRange(longitude)) return "";
    DegreesMinutes d = SplitDegrees(longitude, false);
    int inSign = d.whole % 30;
    if (d.minutes > 30 && inSign != 29) ++inSign;
    return std::to_string(inSign) + "° in " + names.SignName[d.whole / 30];
}

}  // namespace vek
