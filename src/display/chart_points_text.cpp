#include "display/chart_points_text.h"

#include <cmath>
#include <cstdio>

#include "time/dates.h"

namespace vek {

std::string ExtraPointName(const ProgramTexts& texts, ExtraPoint point) {
    switch (point) {
        case ExtraPoint::MeanNode:
            return texts.ProgramText(kTextMeanNode);
        case ExtraPoint::TrueNode:
            return texts.ProgramText(kTextTrueNode);
        case ExtraPoint::Chiron:
            return texts.ProgramText(kTextChiron);
    }
    return "";
}

std::string HouseSystemName(const ProgramTexts& texts, HouseSystem system) {
    return texts.ProgramText(TextIdAt(kTextHouseSystemFirst, static_cast<int>(system)));
}

std::string HousesFallbackNote(const ProgramTexts& texts, const HouseCusps& houses,
                               double latitude) {
    if (!houses.FellBack()) return "";
    const long minutes = std::lround(std::fabs(latitude) * 60.0);
    char lat[32];
    std::snprintf(lat, sizeof lat, "%ld°%02ld'%c", minutes / 60, minutes % 60,
                  latitude < 0 ? 'S' : 'N');
    return texts.ProgramTextWithValues(kTextHousesUndefined,
                                       {HouseSystemName(texts, houses.asked), lat, "", "", ""});
}

std::string PointMissingNote(const ProgramTexts& texts, const PointPosition& position, double jd) {
    if (position.longitude >= 0) return "";
    std::string date;
    if (std::isfinite(jd))
        date = DateText(static_cast<int32_t>(std::floor(jd + 0.5)), false, texts.language());
    return texts.ProgramTextWithValues(kTextPointNotCovered,
                                       {ExtraPointName(texts, position.point), date, "", "", ""});
}

}  // namespace vek
