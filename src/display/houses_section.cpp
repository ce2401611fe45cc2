#include "display/houses_section.h"

#include "display/chart_points_text.h"
#include "engine/angle_text.h"

namespace vek {

std::string HousesSectionText(const ProgramTexts& texts, const NameTables& names,
                              const Chart& chart, int chartIndex, const HouseCusps& houses,
                              double latitude, const std::vector<PointPosition>& points) {
    std::string out =
        texts.ProgramTextWithValues(kTextHousesHeading,
                                    {HouseSystemName(texts, houses.used), "", "", "", ""}) +
        "\n";
    if (houses.FellBack()) out += HousesFallbackNote(texts, houses, latitude) + "\n";
    out +=
        texts.ProgramText(kTextAscendant) + ": " + PositionTextLong(Radians(houses.ascendant), names) + "\n";
    out +=
        texts.ProgramText(kTextMidheaven) + ": " + PositionTextLong(Radians(houses.midheaven), names) + "\n";
    auto inHouse = [&](const std::string& name, SkyLongitude longitude) {
        if (!longitude) return;
        out += texts.ProgramTextWithValues(
                   kTextInHouse, {name, std::to_string(HouseOf(houses, *longitude)), "", "", ""}) +
               "\n";
    };
    const size_t slot = chartIndex == 1 ? 1 : 0;
    for (Body b : chart.ComputedBodies()) inHouse(names.BodyName[b], chart.longitude[b][slot]);
    for (const PointPosition& p : points)
        inHouse(ExtraPointName(texts, p.point), SkyLongitude(p.longitude));
    return out;
}

}  // namespace vek
