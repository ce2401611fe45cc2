#include "engine/engine.h"

#include <cmath>

#include "engine/aspects.h"
#include "platform/calendar.h"
#include "platform/ephemeris.h"
#include "util/paths.h"

namespace vek {

namespace {
// Day numbers of the first and last day with a Moon position, the same range
// as the Pluto table.
constexpr double kFirstMoonDay = PlutoTable::kFirstDay;
constexpr double kLastMoonDay = PlutoTable::kLastDay;
constexpr SkyLongitude kFailure = SkyLongitude::Missing(NoPosition::Failed);
}  // namespace

PositionSource PlatformPositionSource() {
    return {platform::planet_longitude_speed, platform::moon_position, true};
}

double Ayanamsa(int year) {
    return (year - 2000) * 243.8 / 1000000.0 + 0.416314;
}

bool RetrogradeFrom(Body body, SkyLongitude longitude, SkyLongitude longitudeLater) {
    if (body == kSun || body == kMoon) return false;
    if (!longitude || !longitudeLater) return false;
    double step = *longitudeLater - *longitude;
    // A step of half a circle or more went across 0° Aries; the true step is
    // the other way round.
    if (step >= kPi) step -= kTwoPi;
    if (step <= -kPi) step += kTwoPi;
    return step < 0;
}

int TrendFrom(double deviation, SkyLongitude laterA, SkyLongitude laterB, Aspect aspect) {
    if (!laterA || !laterB) return 0;
    const double later = std::fabs(SeparationOf(*laterA, *laterB).s - AspectAngleOf(aspect));
    if (later < deviation) return -1;
    if (later > deviation) return 1;
    return 0;
}

Engine::Engine() : source(PlatformPositionSource()) {
    FillGlyphTables(glyphs);
    AspectColor = kDefaultAspectColor;
    BuildNameTables(names, language_);
}

void Engine::Initialize(const std::string& dataFolder) {
    dataFolder_ = dataFolder;
    if (!dataFolder_.empty() && dataFolder_.back() != '/') dataFolder_ += '/';
    platform::set_data_folder(dataFolder_);
    IncludeMoon = true;
    FillGlyphTables(glyphs);
    AspectColor = kDefaultAspectColor;
    BuildNameTables(names, language_);
}

void Engine::SetLanguage(vek::Language language) {
    language_ = language;
    BuildNameTables(names, language_);
}

Status Engine::LoadPlutoTable() {
    return pluto.Load(JoinPath(dataFolder_, "pluto.slx"));
}

SkyLongitude Engine::Longitude(Body body, JulianDate jd) const {
    return LongitudeWithAyanamsa(body, jd, jd);
}

SkyLongitude Engine::LaterLongitude(Body body, JulianDate jd) const {
    return LongitudeWithAyanamsa(body, JulianDate(jd.days + kHalfHour), jd);
}

SkyLongitude Engine::LongitudeWithAyanamsa(Body body, JulianDate at, JulianDate ayanamsaAt) const {
    const double jd = at.days;
    if (!std::isfinite(jd) || !std::isfinite(ayanamsaAt.days)) return kFailure;
    // The calendar year is looked up only where it is needed (the planets'
    // library and the sidereal correction), and only once when both want
    // the year of the same instant.
    int year = 0;
    bool haveYear = false;
    auto yearOf = [&](double at) {
        if (at != jd) return platform::calendar_year_of(at);
        if (!haveYear) {
            year = platform::calendar_year_of(jd);
            haveYear = true;
        }
        return year;
    };
    SkyLongitude result;
    if (body == kPluto) {
        result = pluto.LongitudeAt(jd);
    } else if (body == kMoon) {
        const double day = std::floor(jd + 0.5);
        if (day < kFirstMoonDay) return SkyLongitude::Missing(NoPosition::BeforeData);
        if (day > kLastMoonDay) return SkyLongitude::Missing(NoPosition::AfterData);
        result = SkyLongitude::FromCode(source.moonPosition(jd - 2451545.0));
    } else {
        result = SkyLongitude::FromCode(
            source.planetLongitude(kBodies[body].libraryCode, jd, yearOf(jd), nullptr));
    }
    if (result && SiderealZodiac)
        result = SkyLongitude(NormalizeAngle(*result - Ayanamsa(yearOf(ayanamsaAt.days))));
    return result;
}

double Engine::ZodiacOffset(JulianDate jd) const {
    return SiderealZodiac ? Ayanamsa(platform::calendar_year_of(jd.days)) : 0;
}

bool Engine::Retrograde(Body body, SkyLongitude longitude, JulianDate jd) const {
    if (body == kSun || body == kMoon || !longitude) return false;
    return RetrogradeFrom(body, longitude, LaterLongitude(body, jd));
}

int Engine::DeviationTrend(JulianDate jd, Body i, Body j, Aspect aspect, double deviation) const {
    return TrendFrom(deviation, LaterLongitude(i, jd), LaterLongitude(j, jd), aspect);
}

int Engine::TrendAgainstFixedLongitude(JulianDate jd, double longitude, Body i, Aspect aspect,
                                       double deviation) const {
    return TrendFrom(deviation, SkyLongitude(longitude), LaterLongitude(i, jd), aspect);
}

}  // namespace vek
