// vek-cli chart: the chart wheel of a compute written as an image, exactly as
// the window saves it (legend removed, annotation added, optionally on a
// white background), without a window: PNG or SVG by the file name.
#include <QByteArray>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/compute.h"
#include "cli/cli_util.h"
#include "cli/command.h"
#include "cli/compute_args.h"
#include "display/chart_image.h"
#include "display/chart_wheel.h"
#include "display/program_text.h"
#include "paint/chart_painter.h"
#include "util/text.h"

namespace vek::cli {

namespace {

constexpr const char* kName = "chart";

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && LowerCase(s.substr(s.size() - tail.size())) == tail;
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

int RunChart(const std::vector<std::string>& args) {
    ComputeSession s;
    const int status = RunComputeFromArguments(kName, args, {"out", "scale"}, {"white"}, s);
    if (status != 0) return status;
    const Options& o = s.options;
    const std::string out = o.Value("out");
    if (out.empty()) return BadArguments(kName, "--out FILE.png or --out FILE.svg is needed");
    if (!EndsWith(out, ".png") && !EndsWith(out, ".svg"))
        return BadArguments(kName, "--out " + out + ": the name must end in .png or .svg");
    double scale = 1;
    if (o.values.count("scale")) {
        char* end = nullptr;
        const std::string text = o.Value("scale");
        scale = std::strtod(text.c_str(), &end);
        if (text.empty() || *end != '\0' || !(scale >= 0.25 && scale <= 8))
            return BadArguments(kName, "--scale " + text + " is not a number from 0.25 to 8");
    }

    auto app = StartGui();
    const QString fontError = paint::InstallChartFonts();
    if (!fontError.isEmpty()) return Failure(kName, fontError.toStdString());

    const ProgramTexts texts = s.Texts();
    const WheelInput in =
        MakeWheelInput(s.results.chart, s.results.table, s.engine.names, s.settings, texts);
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
    if (!written) return Failure(kName, written.message());
    std::printf("%s\n", out.c_str());
    return 0;
}

}  // namespace

VEK_CLI_COMMAND(chart, "chart",
                "chart <compute arguments> --out FILE.png|FILE.svg [--scale N] [--white]   "
                "(the chart image as the window saves it)",
                RunChart);

}  // namespace vek::cli
