#include "qt_app.h"

#include <QApplication>

#include "app/gui/fonts.h"
#include "app/gui/twips.h"

namespace vek::gui::test {

QApplication& App() {
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_app_gui";
        static char* argv[] = {name, nullptr};
        auto* a = new QApplication(argc, argv);
        QApplication::setStyle("Fusion");
        InstallProgramFonts();
        Twips::SetLogicalDpi(96);
        return a;
    }();
    return *app;
}

}  // namespace vek::gui::test
