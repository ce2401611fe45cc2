// vek: the window program.
//
//   vek [--screenshot OUT.png]
//
// With --screenshot the program grabs its main window into a PNG file once
// the first result is on the screen, and ends.
#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "app/gui/dialogs.h"
#include "app/gui/fonts.h"
#include "app/gui/frm_main.h"
#include "app/gui/twips.h"
#include "util/paths.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("VEK");
    QApplication::setOrganizationName("Vantrel");
    QApplication::setStyle("Fusion");

    QString screenshot;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--screenshot" && i + 1 < args.size()) {
            screenshot = args[++i];
        } else {
            std::fprintf(stderr, "usage: vek [--screenshot OUT.png]\n");
            return 2;
        }
    }

    vek::gui::Twips::UseScreenDpi();
    const QString fontError = vek::gui::InstallProgramFonts();
    if (!fontError.isEmpty()) std::fprintf(stderr, "vek: %s\n", qPrintable(fontError));

    vek::gui::QtDialogs dialogs(nullptr);
    vek::gui::FrmMain::Environment env;
    env.dataFolder = vek::ProgramFolder();
    vek::gui::FrmMain window(dialogs, env);
    dialogs.SetParent(&window);
    if (!window.Load()) return 1;

    if (!screenshot.isEmpty()) {
        // Let the window settle (layout, first paint) before grabbing it.
        QTimer::singleShot(300, &window, [&] {
            const bool ok = window.grab().save(screenshot, "PNG");
            if (!ok) std::fprintf(stderr, "vek: cannot write %s\n", qPrintable(screenshot));
            QApplication::exit(ok ? 0 : 1);
        });
    }
    QObject::connect(&window, &vek::gui::FrmMain::Ended, &app, [] { QApplication::exit(0); });
    return app.exec();
}
