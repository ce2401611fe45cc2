#include "qt_app.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "gui/fonts.h"
#include "gui/twips.h"
#include "../program_texts.h"

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
        // The offscreen screen is as large as a desktop's (1600 × 1200 at
        // 96 dpi, as the screenshots are taken), so a window lays out as it
        // does there; the window-manager test covers smaller screens.
        if (qgetenv("QT_QPA_PLATFORM") == "offscreen") {
            static QTemporaryDir dir;
            const QString config = dir.filePath("screens.json");
            QFile f(config);
            if (dir.isValid() && f.open(QIODevice::WriteOnly)) {
                f.write(R"({"screens": [{"name": "desk", "x": 0, "y": 0, "width": 1600,
                    "height": 1200, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
                f.close();
                qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
            }
        }
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

ClockReading FixedClock() {
    ClockReading r;
    r.year = 2010;
    r.month = 7;
    r.day = 4;
    r.hour = 14;
    r.minute = 16;
    r.zoneSecondsWest = 0;
    return r;
}

FrmMain::Environment WindowEnvironment(const QString& folder) {
    const QDir dir(folder);
    FrmMain::Environment env;
    env.dataFolder = VEK_BIN_DIR;
    env.autoStatePath = dir.filePath("vek.usr").toStdString();
    env.configFolder = dir.filePath("config").toStdString();
    env.clock = FixedClock;
    env.localZoneMinutes = 0;
    return env;
}

QString WindowText(const FrmMain& w, TextId n) {
    return QString::fromStdString(
        ProgramTexts(testing::RealTextTable(), w.State().language).ProgramText(n));
}

void Choose(QComboBox* c, int index) {
    ASSERT_NE(c, nullptr);
    c->setCurrentIndex(index);
    emit c->activated(index);
}

void Snapshot(QWidget& w, const QString& name) {
    const QString dir = qEnvironmentVariable("VEK_SCREENSHOT_DIR");
    if (!dir.isEmpty()) w.grab().save(dir + "/" + name + ".png");
}

void TypeYear(FrmMain& w, DateSlot slot, const QString& year) {
    auto* box = FindIn<QLineEdit>(&w, "txbYearCE_" + QString::number(Index(slot)));
    if (!box) return;
    box->clear();
    QTest::keyClicks(box, year);
}

}  // namespace vek::gui::test

// Fontconfig keeps its caches until the process ends and LeakSanitizer counts
// them as leaks; nothing of ours is hidden by this.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
