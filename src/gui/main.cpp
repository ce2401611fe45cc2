// vek: the window program.
//
//   vek [--screenshot OUT.png] [--configure] [--measure] [--click NAME]...
//       [--resize WIDTHxHEIGHT]
//   vek --help | --version
//
// With --screenshot the program grabs its main window into a PNG file once
// the first result is on the screen, and ends. --configure opens the
// configuration dialog after start-up; with --screenshot the picture is then
// the dialog's. With --measure it prints how long the start-up took until
// the first result was painted, and the time of a step forward (compute and
// repaint of the window) over 50 steps, first with the table shown and then
// with the chart wheel, and ends. --click presses the button (or option
// button) of that name after start-up, in the order given, as a user would
// (cmdToggleGraphic shows the chart, optSynastry selects synastry);
// --resize then gives the main window that size in pixels, as dragging its
// edge would.
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSize>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "display/version.h"
#include "gui/dialogs.h"
#include "gui/fonts.h"
#include "gui/frm_configure.h"
#include "gui/frm_main.h"
#include "gui/twips.h"
#include "util/paths.h"

namespace {

constexpr const char* kUsage =
    "usage: vek [--screenshot OUT.png] [--configure] [--measure] [--click NAME]...\n"
    "           [--resize WIDTHxHEIGHT]\n"
    "       vek --help | --version\n";

constexpr const char* kHelp =
    "\n"
    "VEK shows the aspects between the Sun, the Moon and the planets at a date,\n"
    "the patterns they form and the chart wheel, in world transits, natal\n"
    "aspects, personal transits and synastry. Without options it opens its\n"
    "window with the state it was left in.\n"
    "\n"
    "Options:\n"
    "  --screenshot OUT.png  grab the window into a PNG file once the first\n"
    "                        result is shown, and end\n"
    "  --configure           open the configuration dialog after start-up (with\n"
    "                        --screenshot the picture is the dialog's)\n"
    "  --measure             print how long the start-up and a step forward\n"
    "                        take, and end\n"
    "  --click NAME          press the button or option button NAME after\n"
    "                        start-up (cmdToggleGraphic, optSynastry); may repeat\n"
    "  --resize WxH          then give the main window that size in pixels\n"
    "  --help, -h            print this help and end\n"
    "  --version             print the version and the ephemeris in use, and end\n"
    "\n"
    "The options of Qt (such as -platform or -style) are taken as well.\n"
    "\n"
    "Environment:\n"
    "  VEK_DATA_DIR          folder of the data files (vek.dat, pluto.slx, the\n"
    "                        manual); default: next to the program, else\n"
    "                        ../share/vek beside it\n"
    "  VEK_CONFIG_DIR        folder of the settings file VEK.conf; default:\n"
    "                        $XDG_CONFIG_HOME/Vantrel or ~/.config/Vantrel\n"
    "  XDG_DATA_HOME         the state kept between runs, vek.usr, is in its\n"
    "                        folder Vantrel (default: ~/.local/share/Vantrel)\n"
    "  SE_EPHE_PATH          further folders with Swiss Ephemeris files\n"
    "\n"
    "See also: vek-cli(1), man vek.\n";

// --help and --version are answered before Qt starts, so they work without
// a display. Returns the exit status, or -1 when neither was asked for.
int AnswerHelpOrVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (arg == "--version") {
            std::fputs(vek::VersionReport("vek", vek::ProgramFolder()).c_str(), stdout);
            return 0;
        }
    }
    return -1;
}

// Steps the World date forward one day at a time and reports the median and
// the slowest step, each measured from the click to the end of the repaint.
void MeasureSteps(vek::gui::FrmMain& window, const char* view) {
    auto* forward = window.findChild<QPushButton*>("cmdForwardBack_0");
    if (!forward || !forward->isEnabled()) {
        std::printf("stepping: not available\n");
        return;
    }
    std::vector<double> ms;
    for (int i = 0; i < 50; ++i) {
        QElapsedTimer t;
        t.start();
        forward->click();
        window.repaint();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf(
        "step forward with the %s (compute + repaint): median %.2f ms, slowest %.2f ms "
        "(%zu steps)\n",
        view, ms[ms.size() / 2], ms.back(), ms.size());
}

// The command line's options; false when it holds anything else.
struct Options {
    QString screenshot;
    bool measure = false;
    bool configure = false;
    QString problem;  // what is wrong when ParseOptions fails
    QStringList clicks;
    QSize resizeTo;
};

bool ParseOptions(const QStringList& args, Options& o) {
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--screenshot" && i + 1 < args.size()) {
            o.screenshot = args[++i];
        } else if (args[i] == "--click" && i + 1 < args.size()) {
            o.clicks << args[++i];
        } else if (args[i] == "--resize" && i + 1 < args.size()) {
            const QStringList wh = args[++i].split('x');
            o.resizeTo = wh.size() == 2 ? QSize(wh[0].toInt(), wh[1].toInt()) : QSize();
            if (o.resizeTo.isEmpty()) {
                o.problem = "--resize needs WIDTHxHEIGHT in pixels, not " + args[i];
                return false;
            }
        } else if (args[i] == "--measure") {
            o.measure = true;
        } else if (args[i] == "--configure") {
            o.configure = true;
        } else if (args[i] == "--screenshot" || args[i] == "--click" || args[i] == "--resize") {
            o.problem = args[i] + " needs a value";
            return false;
        } else {
            o.problem = "unknown option " + args[i];
            return false;
        }
    }
    return true;
}

// --measure: the start-up time, then the steps with the table and the chart.
void Measure(vek::gui::FrmMain& window, const QElapsedTimer& sinceStart) {
    window.repaint();
    std::printf("start-up to first result painted: %.1f ms\n", sinceStart.nsecsElapsed() / 1e6);
    MeasureSteps(window, "table");
    auto* toggle = window.findChild<QPushButton*>("cmdToggleGraphic");
    if (toggle && toggle->isVisible() && toggle->isEnabled()) {
        toggle->click();
        MeasureSteps(window, "chart");
    } else {
        std::printf("chart: not available\n");
    }
}

// Lets what a click opened reach the screen before the next click, as it
// would between a user's clicks: a window shown, hidden and shown again
// within one turn of the event loop may be lost by a busy window manager.
// Waits until every shown window is exposed, at most 5 s.
void LetWindowsSettle() {
    QElapsedTimer waited;
    waited.start();
    const auto exposed = [] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible() && top->windowHandle() && !top->windowHandle()->isExposed())
                return false;
        return true;
    };
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    } while (!exposed() && waited.elapsed() < 5000);
}

// --click and --resize: the buttons pressed in their order, in any of the
// program's windows; false when one is not there.
bool ClickAndResize(vek::gui::FrmMain& window, const Options& o) {
    for (const QString& name : o.clicks) {
        QAbstractButton* button = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            button = top->findChild<QAbstractButton*>(name);
            if (button) break;
        }
        if (!button) {
            std::fprintf(stderr, "vek: no button %s\n", qPrintable(name));
            return false;
        }
        button->click();
        LetWindowsSettle();
    }
    if (o.resizeTo.isValid()) window.resize(o.resizeTo);
    return true;
}

// --screenshot: the window (or, with --configure, the dialog) into a PNG
// file once it has settled (layout, first paint), then the end.
void GrabLater(vek::gui::FrmMain& window, const Options& o) {
    QWidget* shown = &window;
    if (o.configure) {
        if (auto* button = window.findChild<QPushButton*>("cmdConfigure")) button->click();
        if (window.Configuration()) shown = window.Configuration();
    }
    if (o.screenshot.isEmpty()) return;
    const QString file = o.screenshot;
    QTimer::singleShot(300, &window, [shown, file] {
        const bool ok = shown->grab().save(file, "PNG");
        if (!ok) std::fprintf(stderr, "vek: cannot write %s\n", qPrintable(file));
        QApplication::exit(ok ? 0 : 1);
    });
}

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    if (const int answered = AnswerHelpOrVersion(argc, argv); answered >= 0) return answered;
    QApplication app(argc, argv);
    QApplication::setApplicationName("VEK");
    QApplication::setOrganizationName("Vantrel");
    QApplication::setApplicationVersion(QString::fromStdString(vek::ProgramVersionText()));
    // The desktop entry's name, so the desktop shows the entry's icon.
    QGuiApplication::setDesktopFileName("io.github.vantrel.vek");
    QApplication::setStyle("Fusion");

    Options options;
    if (!ParseOptions(QApplication::arguments(), options)) {
        std::fprintf(stderr, "vek: %s (try 'vek --help')\n", qPrintable(options.problem));
        return 2;
    }

    vek::gui::Twips::UseScreenDpi();
    const vek::Status fonts = vek::gui::InstallProgramFonts();
    if (!fonts) std::fprintf(stderr, "vek: %s\n", fonts.message().c_str());

    vek::gui::QtDialogs dialogs(nullptr);
    vek::gui::FrmMain::Environment env;
    env.dataFolder = vek::ProgramFolder();
    vek::gui::FrmMain window(dialogs, env);
    dialogs.SetParent(&window);
    if (!window.Load()) return 1;

    if (options.measure) {
        Measure(window, sinceStart);
        return 0;
    }
    if (!ClickAndResize(window, options)) return 2;
    GrabLater(window, options);
    QObject::connect(&window, &vek::gui::FrmMain::Ended, &app, [] { QApplication::exit(0); });
    return app.exec();
}
