// vek-cli chart: the chart wheel of a compute written as an image, exactly as
// the window saves it (legend removed, annotation added, optionally on a
// white background), without a window: PNG or SVG by the file name.
#include <QByteArray>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/compute.h"
#include "cli/command.h"
#include "cli/compute_args.h"
#include "cli/place_args.h"
#include "config/program_text.h"
#include "display/chart_image.h"
#include "display/version.h"
#include "display/chart_wheel.h"
#include "engine/chart_extras.h"
#include "paint/chart_painter.h"
#include "util/text.h"

namespace vek::cli {

namespace {

constexpr const char* kName = "chart";

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && LowerCase(s.substr(s.size() - tail.size())) == tail;
}

bool HasControlCharacter(const std::string& s) {
    for (unsigned char c : s)
        if (c < 0x20 || c == 0x7F) return true;
    return false;
}

// A plain decimal number: digits with at most one decimal point among or
// before them ("2", "0.25", ".5"); no sign, blank, exponent or hex form.
std::optional<double> PlainDecimal(const std::string& text) {
    int digits = 0;
    int points = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            ++digits;
        else if (c == '.')
            ++points;
        else
            return std::nullopt;
    }
    if (digits == 0 || points > 1 || text.back() == '.') return std::nullopt;
    return std::strtod(text.c_str(), nullptr);
}

// Qt's own notes about the platform (no runtime folder and the like) are no
// concern of the command; its failures are reported as the command's.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "vek-cli chart: %s\n", qPrintable(message));
}

// The fonts need a QtGui application; the offscreen platform needs no
// display.
std::unique_ptr<QGuiApplication> StartGui() {
    qInstallMessageHandler(QuietQtMessages);
    static int argc = 1;
    static char name[] = "vek-cli";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

const OptionTable kOptions = {
    kAnyModeOption,
    kWorldOption,
    kBirth1Option,
    kBirth2Option,
    kTzOption,
    kFoldOption,
    kStateOption,
    kLangOption,
    kNoMoonOption,
    kSiderealOption,
    kPlaceOption,
    kLatOption,
    kLonOption,
    kPlace1Option,
    kLat1Option,
    kLon1Option,
    kPlace2Option,
    kLat2Option,
    kLon2Option,
    kHousesOption,
    kPointsOption,
    {"out", "FILE", "the image file to write, PNG or SVG by its ending .png or .svg (required)"},
    {"scale", "N", "size factor from 0.25 to 8 (default: 1)"},
    {"white", nullptr,
     "white background instead of the dark one (also when the state file's settings ask for it)"},
    kHiddenRadiansOption,
    {"json", nullptr, nullptr},
};

const CommandHelp kHelp = {
    "the chart wheel of a mode as a PNG or SVG image",
    "chart --mode MODE [--world T] [--birth1 T] [--birth2 T] [--tz ZONE] "
    "[--fold earlier|later] [--state FILE] [--lang en|de] [--no-moon] [--sidereal]\n"
    "        [--place CITY | --lat LAT --lon LON] [--place1 ...] [--place2 ...] [--houses SYSTEM] "
    "[--points LIST] --out FILE.png|FILE.svg [--scale N] [--white]",
    "Writes the chart wheel of a compute to an image file as \"Save image as ...\" of the window "
    "does: the "
    "bodies at their longitudes, the aspects as lines, the dates, zodiac and orbs written on "
    "it. Personal transits and synastry show both charts. Prints the file name when done.\n"
    "The dates each mode needs are those of vek-cli compute.\n"
    "A place for the date whose houses the mode shows (--place for the World date in world "
    "transits, --place1 or --place2 for the birthdate in natal aspects and personal transits, "
    "--place1 in synastry, or --lat/--lon, --lat1/--lon1, --lat2/--lon2) draws its house cusps "
    "in the system of --houses (Placidus unless given) with the Ascendant and the Midheaven; "
    "--points draws the lunar nodes and Chiron of each chart. Houses and points turned on in "
    "the settings of a --state file are drawn too, as the window draws them.\n" VEK_CLI_DATE_HELP,
    &kOptions,
    {"chart --mode world --world 2026-12-08T12:00Z --out sky.png --scale 2",
     "chart --mode synastry --birth1 1960-07-04T12:00-05:00 --birth2 1965-03-01T08:00Z "
     "--lang de --white --out pair.svg",
     "chart --mode natal1 --birth1 1985-03-15T14:47 --place1 Berlin --houses koch "
     "--points nodes,chiron --out natal.png"},
};

// The houses and points to draw: those the settings of a state file turned
// on for the places of its rows, and those the options ask for.
ChartExtrasRequest ExtrasToDraw(const ComputeSession& s) {
    ChartExtrasRequest r = ChartExtrasRequestOf(s.rows, s.settings);
    if (s.extras.houses) {
        r.houses = true;
        r.system = *s.extras.houses;
    }
    if (!s.extras.points.empty()) r.points = s.extras.points;
    for (const DateSlot slot : AllDateSlots())
        if (s.places[slot]) r.places[slot] = s.places[slot]->point;
    return r;
}

int RunChart(const std::vector<std::string>& args) {
    ComputeSession s;
    const int status = RunComputeFromArguments(kName, args, kOptions, s);
    if (status != 0) return status;
    const Options& o = s.options;
    const std::string out = o.Value("out");
    if (out.empty()) return BadArguments(kName, "--out FILE.png or --out FILE.svg is needed");
    if (HasControlCharacter(out))
        return BadArguments(kName, "--out " + Quoted(out) +
                                       ": the name holds a line break or another control "
                                       "character");
    if (!EndsWith(out, ".png") && !EndsWith(out, ".svg"))
        return BadArguments(kName, "--out " + Quoted(out) + ": the name must end in .png or .svg");
    double scale = 1;
    if (o.values.count("scale")) {
        const std::string text = o.Value("scale");
        const std::optional<double> given = PlainDecimal(text);
        if (!given || !(*given >= 0.25 && *given <= 8))
            return BadArguments(kName,
                                "--scale " + Quoted(text) + " is not a number from 0.25 to 8");
        scale = *given;
    }

    auto app = StartGui();
    const QString fontError = paint::InstallChartFonts();
    if (!fontError.isEmpty()) return Failure(kName, fontError.toStdString());

    const ProgramTexts texts = s.Texts();
    WheelInput in =
        MakeWheelInput(s.results.chart, s.results.table, s.engine.names, s.settings, texts);
    const ChartExtrasRequest extrasRequest = ExtrasToDraw(s);
    ChartExtras extras;
    if (extrasRequest.houses || !extrasRequest.points.empty()) {
        extras = ComputeChartExtras(s.engine, s.results.chart, extrasRequest);
        in.extras = &extras;
    }
    const ChartWheel wheel = DrawChartWheel(in, paint::MeasuredGlyphInks());
    if (!wheel.drawn) return Failure(kName, texts.ProgramText(kTextChartCrowded));

    SavedImageInput image;
    image.texts = texts;
    image.whiteBackground = o.Has("white") || s.settings.accepted.WhiteImageBackground;
    image.suppressInnerAspects = !s.settings.accepted.ShowInnerPlanetAspects;
    image.sidereal = s.settings.accepted.SiderealZodiac;
    image.version = ProgramVersionText();
    image.orbSummary = AnnotationOrbSummary(texts, s.mode, s.engine.orbs.summary);
    image.rows = &s.rows;
    const Status written =
        paint::WriteChartFile(SavedChartImage(wheel, image), QString::fromStdString(out), scale);
    if (!written) return Failure(kName, WithQuotedPath(written.message(), out));
    PrintZonesUsed(s);
    std::printf("%s\n", out.c_str());
    return 0;
}

}  // namespace

VEK_CLI_COMMAND(chart, "chart", kHelp, RunChart);

}  // namespace vek::cli
