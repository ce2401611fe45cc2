// vek: the window program.
//
//   vek [--screenshot OUT.png] [--configure] [--measure] [--click NAME]...
//       [--resize WIDTHxHEIGHT]
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
#include <algorithm>
#include <cstdio>
#include <vector>

#include "gui/dialogs.h"
#include "gui/fonts.h"
#include "gui/frm_configure.h"
#include "gui/frm_main.h"
#include "gui/twips.h"
#include "util/paths.h"

namespace {

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
            if (wh.size() != 2) return false;
            o.resizeTo = QSize(wh[0].toInt(), wh[1].toInt());
            if (o.resizeTo.isEmpty()) return false;
        } else if (args[i] == "--measure") {
            o.measure = true;
        } else if (args[i] == "--configure") {
            o.configure = true;
        } else {
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
    QApplication app(argc, argv);
    QApplication::setApplicationName("VEK");
    QApplication::setOrganizationName("Vantrel");
    QApplication::setStyle("Fusion");

    Options options;
    if (!ParseOptions(QApplication::arguments(), options)) {
        std::fprintf(stderr,
                     "usage: vek [--screenshot OUT.png] [--configure] [--measure] "
                     "[--click NAME]... [--resize WIDTHxHEIGHT]\n");
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
