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

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    QApplication::setApplicationName("VEK");
    QApplication::setOrganizationName("Vantrel");
    QApplication::setStyle("Fusion");

    QString screenshot;
    bool measure = false;
    bool configure = false;
    QStringList clicks;
    QSize resizeTo;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--screenshot" && i + 1 < args.size()) {
            screenshot = args[++i];
        } else if (args[i] == "--click" && i + 1 < args.size()) {
            clicks << args[++i];
        } else if (args[i] == "--resize" && i + 1 < args.size()) {
            const QStringList wh = args[++i].split('x');
            if (wh.size() == 2) resizeTo = QSize(wh[0].toInt(), wh[1].toInt());
            if (!resizeTo.isValid() || resizeTo.isEmpty()) {
                std::fprintf(stderr, "vek: --resize takes WIDTHxHEIGHT\n");
                return 2;
            }
        } else if (args[i] == "--measure") {
            measure = true;
        } else if (args[i] == "--configure") {
            configure = true;
        } else {
            std::fprintf(stderr,
                         "usage: vek [--screenshot OUT.png] [--configure] [--measure] "
                         "[--click NAME]... [--resize WIDTHxHEIGHT]\n");
            return 2;
        }
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

    if (measure) {
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
        return 0;
    }

    for (const QString& name : clicks) {
        QAbstractButton* button = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            button = top->findChild<QAbstractButton*>(name);
            if (button) break;
        }
        if (!button) {
            std::fprintf(stderr, "vek: no button %s\n", qPrintable(name));
            return 2;
        }
        button->click();
    }
    if (resizeTo.isValid()) window.resize(resizeTo);

    QWidget* shown = &window;
    if (configure) {
        if (auto* button = window.findChild<QPushButton*>("cmdConfigure")) button->click();
        if (window.Configuration()) shown = window.Configuration();
    }
    if (!screenshot.isEmpty()) {
        // Let the window settle (layout, first paint) before grabbing it.
        QTimer::singleShot(300, &window, [&] {
            const bool ok = shown->grab().save(screenshot, "PNG");
            if (!ok) std::fprintf(stderr, "vek: cannot write %s\n", qPrintable(screenshot));
            QApplication::exit(ok ? 0 : 1);
        });
    }
    QObject::connect(&window, &vek::gui::FrmMain::Ended, &app, [] { QApplication::exit(0); });
    return app.exec();
}
