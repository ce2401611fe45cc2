#include "qt_app.h"

#include <QApplication>

#include "gui/fonts.h"
#include "gui/twips.h"

namespace vek::gui::test {

namespace {

// The offscreen platform says for every window that it cannot raise it or
// pass size hints on; nothing else is dropped.
QtMessageHandler previousHandler = nullptr;

void FilterMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith("This plugin does not support")) return;
    if (previousHandler) previousHandler(type, context, message);
}

}  // namespace

QApplication& App() {
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        previousHandler = qInstallMessageHandler(FilterMessages);
        static int argc = 1;
        static char name[] = "test_app_gui";
        static char* argv[] = {name, nullptr};
        auto* a = new QApplication(argc, argv);
        QApplication::setStyle("Fusion");
        // The GlyphFont tests check the result.
        static_cast<void>(InstallProgramFonts());
        Twips::SetLogicalDpi(96);
        return a;
    }();
    return *app;
}

}  // namespace vek::gui::test

// Fontconfig keeps its caches until the process ends and LeakSanitizer counts
// them as leaks; nothing of ours is hidden by this.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
