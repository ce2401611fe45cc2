#include "cli/place_args.h"

#include <cmath>
#include <cstdio>

#include "display/chart_points_text.h"
#include "engine/angle_text.h"
#include "util/paths.h"
#include "util/text.h"

namespace vek::cli {

namespace {

double InDegrees(double radians) {
    return radians / kTwoPi * 360.0;
}

// "    Ascendant  51.634269  51°38'    21Tau38", in the columns of the bodies'
// lines.
std::string PositionLine(const std::string& name, double longitude, const NameTables& names,
                         size_t width, bool retrograde) {
    std::string line = "    " + PadRight(name, static_cast<int>(width));
    char deg[32];
    std::snprintf(deg, sizeof deg, "%11.6f", InDegrees(longitude));
    line += deg;
    line += "  " + PadRight(AngleText(Radians(longitude)), 8) + "  " +
            PadRight(PositionTextShort(Radians(longitude), names), 8);
    if (retrograde) line += "  r";
    return TrimTrailingBlanks(line) + "\n";
}

std::string PlaceText(const PlaceArgument& place, bool german) {
    std::string out;
    if (place.atlasPlace)
        out = AtlasPlaceTitle(*place.atlasPlace, german) + ", ";
    out += GeoPointText(place.point);
    if (place.atlasPlace) out += " (" + place.atlasPlace->zone + ")";
    return out;
}

}  // namespace

Result<std::optional<PlaceArgument>> ReadPlaceOptions(const Options& o, const std::string& suffix) {
    const std::string placeKey = "place" + suffix, latKey = "lat" + suffix, lonKey = "lon" + suffix;
    const bool place = o.values.count(placeKey) > 0;
    const bool lat = o.values.count(latKey) > 0, lon = o.values.count(lonKey) > 0;
    if (!place && !lat && !lon) return std::optional<PlaceArgument>();
    if (place && (lat || lon))
        return Fail("--" + placeKey + " and --" + (lat ? latKey : lonKey) +
                    " both give the place: give one of them");
    PlaceArgument a;
    if (place) {
        const std::string text = o.Value(placeKey);
        const Result<const Atlas*> atlas = ProgramAtlas(ProgramFolder());
        if (!atlas) return Fail("--" + placeKey + ": " + atlas.message());
        const std::vector<const AtlasPlace*> found = (*atlas)->Find(text, 1);
        if (found.empty())
            return Fail("--" + placeKey + ": no place of the atlas begins with " + Quoted(text) +
                        " (vek-cli places lists them; --" + latKey + " and --" + lonKey +
                        " give any place)");
        a.option = placeKey;
        a.atlasPlace = found.front();
        a.point = found.front()->point;
        return std::optional<PlaceArgument>(a);
    }
    if (!lat || !lon)
        return Fail("--" + (lat ? latKey : lonKey) + " needs --" + (lat ? lonKey : latKey) +
                    " too");
    const Result<double> la = ParseLatitude(o.Value(latKey));
    if (!la) return Fail("--" + latKey + ": " + la.message());
    const Result<double> lo = ParseLongitude(o.Value(lonKey));
    if (!lo) return Fail("--" + lonKey + ": " + lo.message());
    a.option = latKey;
    a.point = {*la, *lo};
    return std::optional<PlaceArgument>(a);
}

Result<ExtrasRequest> ReadExtrasOptions(const Options& o, bool anyPlace, const char* placeOptions) {
    ExtrasRequest r;
    if (o.values.count("houses")) {
        const std::optional<HouseSystem> system = HouseSystemOfKey(o.Value("houses"));
        if (!system)
            return Fail("--houses " + Quoted(o.Value("houses")) +
                        " is not placidus, koch, equal, whole-sign, regiomontanus, campanus or "
                        "porphyry");
        if (!anyPlace)
            return Fail(std::string("--houses needs a place: give ") + placeOptions);
        r.houses = *system;
    } else if (anyPlace) {
        r.houses = HouseSystem::Placidus;
    }
    if (o.values.count("points")) {
        const Result<std::vector<ExtraPoint>> points = ParseExtraPoints(o.Value("points"));
        if (!points) return Fail("--points: " + points.message());
        r.points = *points;
    }
    return r;
}

std::string ExtrasText(const Engine& engine, const ProgramTexts& texts, double jd,
                       const std::optional<PlaceArgument>& place, const ExtrasRequest& request,
                       const std::string& label) {
    std::string out;
    const std::string of = label.empty() ? "" : " (" + label + ")";
    std::vector<std::string> names;
    for (ExtraPoint p : request.points) names.push_back(ExtraPointName(texts, p));
    names.push_back(texts.ProgramText(kTextAscendant));
    names.push_back(texts.ProgramText(kTextMidheaven));
    size_t width = 9;
    for (const std::string& n : names) width = std::max(width, TextLength(n));
    if (!request.points.empty()) {
        out += "Points" + of + ":\n";
        for (ExtraPoint p : request.points) {
            const PointPosition pos = ComputeExtraPoint(engine, p, jd);
            if (pos.longitude >= 0)
                out += PositionLine(ExtraPointName(texts, p), pos.longitude, engine.names, width,
                                    pos.retrograde);
            else
                out += "    " + PadRight(ExtraPointName(texts, p), static_cast<int>(width)) + "  " +
                       PointMissingNote(texts, pos, jd) + "\n";
        }
    }
    if (place && request.houses) {
        const bool german = texts.language() == kGerman;
        out += "Place" + of + ": " + PlaceText(*place, german) + "\n";
        const Result<HouseCusps> h = ComputeHouses(engine, jd, place->point, *request.houses);
        if (!h) {
            out += "Houses: " + h.message() + "\n";
            return out;
        }
        out += "Houses" + of + ": " + HouseSystemName(texts, h->used) + "\n";
        if (h->FellBack()) out += HousesFallbackNote(texts, *h, place->point.latitude) + "\n";
        out += PositionLine(texts.ProgramText(kTextAscendant), h->ascendant, engine.names, width, false);
        out += PositionLine(texts.ProgramText(kTextMidheaven), h->midheaven, engine.names, width, false);
        for (int i = 1; i <= 12; ++i)
            out += PositionLine(std::to_string(i), h->cusp[static_cast<size_t>(i)], engine.names,
                                width, false);
    }
    return out;
}

Status WriteExtrasJson(JsonWriter& w, const Engine& engine, const ProgramTexts& texts, double jd,
                       const std::optional<PlaceArgument>& place, const ExtrasRequest& request) {
    if (!request.points.empty()) {
        w.Key("points").BeginArray();
        for (ExtraPoint p : request.points) {
            const PointPosition pos = ComputeExtraPoint(engine, p, jd);
            w.BeginObject();
            w.Key("key").String(ExtraPointKey(p));
            w.Key("name").String(ExtraPointName(texts, p));
            if (pos.longitude >= 0) {
                w.Key("longitude_deg").Number(InDegrees(pos.longitude), 6);
                w.Key("speed_deg_per_day").Number(InDegrees(pos.speed), 6);
            } else {
                w.Key("code").Int(static_cast<long long>(std::round(pos.longitude)));
                w.Key("message").String(PointMissingNote(texts, pos, jd));
            }
            w.Key("retrograde").Bool(pos.retrograde);
            w.Key("angle_text").String(AngleText(Radians(pos.longitude)));
            w.Key("position_text").String(PositionTextShort(Radians(pos.longitude), engine.names));
            w.EndObject();
        }
        w.EndArray();
    }
    if (place && request.houses) {
        const Result<HouseCusps> h = ComputeHouses(engine, jd, place->point, *request.houses);
        if (!h) return h.error();
        w.Key("place").BeginObject();
        w.Key("latitude_deg").Number(place->point.latitude, 6);
        w.Key("longitude_deg").Number(place->point.longitude, 6);
        w.Key("text").String(GeoPointText(place->point));
        if (place->atlasPlace) {
            const AtlasPlace& a = *place->atlasPlace;
            w.Key("name").String(a.name);
            w.Key("country_code").String(a.countryCode);
            w.Key("zone").String(a.zone);
        }
        w.EndObject();
        w.Key("houses").BeginObject();
        w.Key("system").String(HouseSystemKey(h->asked));
        w.Key("system_used").String(HouseSystemKey(h->used));
        w.Key("name").String(HouseSystemName(texts, h->used));
        if (h->FellBack()) w.Key("note").String(HousesFallbackNote(texts, *h, place->point.latitude));
        w.Key("ascendant_deg").Number(InDegrees(h->ascendant), 6);
        w.Key("midheaven_deg").Number(InDegrees(h->midheaven), 6);
        w.Key("cusps_deg").BeginArray();
        for (int i = 1; i <= 12; ++i) w.Number(InDegrees(h->cusp[static_cast<size_t>(i)]), 6);
        w.EndArray();
        w.EndObject();
    }
    return Ok();
}

}  // namespace vek::cli
