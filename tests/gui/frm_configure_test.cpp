// The configuration dialog driven as a user drives it from the main window:
// "Configure", the orb lists and "Set all", the colour lines, "Use settings",
// "Cancel", "Hide", "Reset to default", the close box, the keys, the
// captions in both languages, the placement beside the main window, and the
// settings kept through the store and a state file. Every question goes to
// scripted dialogs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <fstream>
#include <map>
#include <set>

#include "../program_texts.h"
#include "app/state_file.h"
#include "config/program_text.h"
#include "gui/dialogs.h"
#include "gui/frm_configure.h"
#include "gui/frm_main.h"
#include "gui/table_grid.h"
#include "gui/twips.h"
#include "platform/settings_store.h"
#include "qt_app.h"

namespace vek::gui {
namespace {

using test::App;
using Kind = ScriptedDialogs::Kind;

// What a compute put on the screen: the table's cells, the title and the
// summary.
struct Shown {
    std::array<TableCell, kMaxNumCells> cells;
    std::string title;
    std::string summary;
    bool operator==(const Shown&) const = default;
};

Shown ShownBy(const FrmMain& w) {
    return {w.Results().table.txbCell, w.Results().title, w.Results().summary};
}

class ConfigureTest : public test::MainWindowTest<> {
  protected:
    // "Configure" clicked; the dialog it shows.
    FrmConfigure& Open() {
        window->findChild<QPushButton*>("cmdConfigure")->click();
        FrmConfigure* d = window->Configuration();
        EXPECT_NE(d, nullptr);
        return *d;
    }

    QComboBox* DialogCombo(const QString& name) const {
        return test::FindIn<QComboBox>(window->Configuration(), name);
    }
    QCheckBox* Check(const QString& name) const {
        return test::FindIn<QCheckBox>(window->Configuration(), name);
    }
    QRadioButton* DialogOption(const QString& name) const {
        return test::FindIn<QRadioButton>(window->Configuration(), name);
    }
    QPushButton* DialogButton(const QString& name) const {
        return test::FindIn<QPushButton>(window->Configuration(), name);
    }
    QLabel* DialogLabel(const QString& name) const {
        return test::FindIn<QLabel>(window->Configuration(), name);
    }
    QComboBox* Orb(int list) const { return DialogCombo("cboOrb_" + QString::number(list)); }
    QLabel* Line(int line) const { return DialogLabel("lblAspectColor_" + QString::number(line)); }

    void ClickMain(const char* name) const {
        auto* b = window->findChild<QAbstractButton*>(name);
        ASSERT_NE(b, nullptr) << name;
        b->click();
    }

    std::array<int, kAspectCount> ShownOrbs() const {
        std::array<int, kAspectCount> orbs{};
        for (int i = 0; i < kAspectCount; ++i) orbs[i] = Orb(i)->currentIndex();
        return orbs;
    }

    std::string StoreValue(const char* name) const {
        platform::SettingsStore store(env.configFolder);
        std::string value;
        EXPECT_TRUE(
            platform::StoreStatusOk(store.GetStoreValue(platform::kStoreKeyPath, name, value)))
            << name;
        return value;
    }

    // With VEK_SCREENSHOT_DIR set, the dialog is saved there as NAME.png.
    void Snapshot(const QString& name) const { test::Snapshot(*window->Configuration(), name); }
};

TEST(ConfigurePlacement, BesideTheMainWindowOrAtTheRightEdgeOfANarrowScreen) {
    const QRect wide(0, 0, 1600, 1200);
    // Room enough: the dialog stands at the main window's right edge.
    BesidePlacement p = PlaceBesideMainWindow(QRect(100, 30, 1000, 700), 420, wide);
    EXPECT_EQ(p.dialogLeft, 1100);
    EXPECT_EQ(p.dialogTop, 30);
    EXPECT_EQ(p.mainLeft, 100);
    // Too far right: the dialog at the screen's edge, the main window left of it.
    p = PlaceBesideMainWindow(QRect(400, 0, 1000, 700), 420, wide);
    EXPECT_EQ(p.dialogLeft, 1180);
    EXPECT_EQ(p.mainLeft, 180);
    // Too narrow for both: the main window stops at the screen's left edge.
    p = PlaceBesideMainWindow(QRect(0, 0, 1000, 700), 420, QRect(0, 0, 1280, 1024));
    EXPECT_EQ(p.dialogLeft, 860);
    EXPECT_EQ(p.mainLeft, 0);
    // A screen that does not start at 0.
    p = PlaceBesideMainWindow(QRect(1700, 0, 1000, 700), 420, QRect(1600, 0, 1280, 1024));
    EXPECT_EQ(p.dialogLeft, 2460);
    EXPECT_EQ(p.mainLeft, 1600);
}

TEST_F(ConfigureTest, ConfigureShowsTheDialogBesideTheMainWindowWithoutBlockingIt) {
    FrmMain& w = Start();
    EXPECT_EQ(w.Configuration(), nullptr);
    QPushButton* configure = window->findChild<QPushButton*>("cmdConfigure");
    ASSERT_NE(configure, nullptr);
    EXPECT_EQ(configure->text(), PT(kTextConfigure));
    EXPECT_TRUE(w.rect().contains(configure->geometry()));
    // Tab reaches it after "Quit".
    EXPECT_EQ(window->findChild<QWidget*>("cmdQuit")->nextInFocusChain(), configure);
    for (const char* other : {"cmdQuit", "cmdSaveAs", "cmdLoadState", "cmdHelp", "cmdRestore"}) {
        EXPECT_FALSE(
            configure->geometry().intersects(window->findChild<QWidget*>(other)->geometry()))
            << other;
    }

    FrmConfigure& d = Open();
    EXPECT_TRUE(d.isVisible());
    EXPECT_FALSE(d.isModal());
    EXPECT_EQ(d.windowTitle(), configure->text());
    EXPECT_TRUE(dialogs.asked().empty());
    // The screen holds both side by side: the dialog stands at the main
    // window's right edge, level with it (a narrower screen is the
    // placement's own test above).
    const QRect screen = w.screen()->availableGeometry();
    ASSERT_GE(screen.width(), w.frameGeometry().width() + d.frameGeometry().width());
    EXPECT_EQ(d.frameGeometry().left(), w.frameGeometry().right() + 1);
    EXPECT_EQ(d.frameGeometry().top(), w.frameGeometry().top());
    EXPECT_TRUE(screen.contains(d.frameGeometry()));
    // The focus is on "Cancel"; the main window keeps working.
    EXPECT_EQ(d.focusWidget(), DialogButton("cmdCancel"));
    window->findChild<QPushButton*>("cmdCompute")->click();
    EXPECT_TRUE(d.isVisible());

    // Its width is fixed, its height may shrink to 4700 twips.
    EXPECT_EQ(d.minimumWidth(), d.maximumWidth());
    EXPECT_EQ(d.minimumHeight(), Twips::ToPixels(4700));
    EXPECT_EQ(d.maximumHeight(), Twips::ToPixels(FrmConfigure::DesignHeight()));

    // The orb lists from top to bottom: conjunction, opposition, trine,
    // square, sextile, semisextile, quincunx; each with 0°..15°.
    std::vector<std::pair<int, int>> byTop;
    for (int i = 0; i < kAspectCount; ++i) byTop.push_back({Orb(i)->y(), i});
    std::sort(byTop.begin(), byTop.end());
    std::vector<int> order;
    for (const auto& [top, i] : byTop) order.push_back(i);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 3, 2, 4, 5, 6}));
    EXPECT_EQ(Orb(7)->count(), 16);
    EXPECT_EQ(Orb(7)->itemText(15), "15°");
    EXPECT_EQ(Orb(2)->itemData(6).toInt(), 360);
    EXPECT_EQ(DialogCombo("cboOrbForMidpoints")->itemText(2), "0° 30'");
    EXPECT_EQ(DialogCombo("cboBoldfaceFactor")->itemText(8), "1/20");
    EXPECT_EQ(DialogCombo("cboPersonalOrbsProportion_1")->currentText(), "1/3");

    // "Hide" hides; "Configure" shows the same dialog again.
    DialogButton("cmdHide")->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(&Open(), &d);
    EXPECT_TRUE(d.isVisible());

    // The timer hides the dialog while the main window is minimised.
    w.showMinimized();
    w.TimerTick();
    EXPECT_FALSE(d.isVisible());
}

TEST_F(ConfigureTest, ConfigureCaptionsFollowTheLanguageAndFitTheirControls) {
    Start();
    FrmConfigure& d = Open();
    EXPECT_EQ(DialogLabel("lblSynastry")->text(), PT(kTextSynastry).toLower());
    EXPECT_EQ(DialogButton("cmdAccept")->text(), PT(kTextUseSettings));
    EXPECT_EQ(DialogLabel("lblZodiac")->text(), PT(kTextZodiac) + ":");
    EXPECT_EQ(DialogLabel("Label3")->text(),
              PT(kTextProportionOf) + "\n" + PT(kTextAboveOrbs) + "\n" + PT(kTextForUseWith));
    EXPECT_EQ(DialogLabel("lblAspectName_6")->text().toStdString(),
              window->CoreEngine().names.AspectName[kQuincunx]);
    Snapshot("configure-en");

    ClickMain("optGerman");
    EXPECT_EQ(window->State().language, kGerman);
    EXPECT_EQ(d.windowTitle(), PT(kTextConfigure));
    EXPECT_EQ(DialogLabel("lblSynastry")->text(), PT(kTextSynastry));
    EXPECT_EQ(DialogButton("cmdAccept")->text(), PT(kTextUseSettings));
    EXPECT_EQ(DialogButton("cmdCancel")->text(), PT(kTextCancel));
    EXPECT_EQ(Check("chkIncludeMoon")->text(), PT(kTextIncludeMoon));
    EXPECT_EQ(DialogLabel("lblAspectName_0")->text().toStdString(),
              window->CoreEngine().names.AspectName[kConjunction]);
    EXPECT_NE(DialogLabel("lblAspectName_0")->text(), "Conjunction");
    Snapshot("configure-de");

    // In both languages every caption fits its control, so no control of the
    // design needs the tool tip a cut caption gets.
    for (Language language : {kGerman, kEnglish}) {
        ClickMain(language == kGerman ? "optGerman" : "optEnglish");
        for (QWidget* c : d.findChildren<QWidget*>()) {
            QString text;
            if (auto* b = qobject_cast<QAbstractButton*>(c)) text = b->text();
            if (auto* l = qobject_cast<QLabel*>(c)) text = l->text();
            if (text.isEmpty()) continue;
            EXPECT_LE(c->sizeHint().width(), c->width())
                << c->objectName().toStdString() << " in language " << Index(language);
            EXPECT_TRUE(d.rect().contains(c->geometry())) << c->objectName().toStdString();
            EXPECT_TRUE(c->toolTip().isEmpty()) << c->objectName().toStdString();
        }
    }
    // A caption cut short by a narrower control gets its whole text as tool tip.
    QPushButton* reset = DialogButton("cmdReset");
    reset->resize(20, reset->height());
    d.SetLanguageDependentText(window->State().Texts(), window->CoreEngine().names, "x");
    EXPECT_EQ(reset->toolTip(), PT(kTextResetToDefault));
}

TEST_F(ConfigureTest, ConfigureSetAllNonzeroOrbsAsksAndRefusesZero) {
    FrmMain& w = Start();
    FrmConfigure& d = Open();
    const std::array<int, kAspectCount> before = {10, 9, 0, 7, 4, 3, 3};
    for (int i = 0; i < kAspectCount; ++i) Choose(Orb(i), before[i]);
    Choose(Orb(7), 5);
    QSignalSpy computed(&w, &FrmMain::Computed);

    // No: nothing changes.
    dialogs.QueueAnswer(Answer::No);
    DialogButton("cmdSetAllNonzeroOrbsToConjunctionOrb")->click();
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].kind, Kind::Question);
    EXPECT_EQ(dialogs.asked()[0].title, PT(kTextSetAllOrbsTitle));
    EXPECT_TRUE(dialogs.asked()[0].text.contains("5°"));
    EXPECT_FALSE(dialogs.asked()[0].text.contains("NEW_ORB"));
    EXPECT_EQ(ShownOrbs(), before);

    dialogs.QueueAnswer(Answer::Yes);
    DialogButton("cmdSetAllNonzeroOrbsToConjunctionOrb")->click();
    EXPECT_EQ(ShownOrbs(), (std::array<int, kAspectCount>{5, 5, 0, 5, 5, 5, 5}));
    EXPECT_EQ(d.focusWidget(), DialogCombo("cboPersonalOrbsProportion_0"));
    // Nothing is computed until "Use settings".
    EXPECT_EQ(computed.count(), 0);
    DialogButton("cmdAccept")->click();
    EXPECT_EQ(computed.count(), 1);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(w.CoreSettings().accepted.OrbIndex,
              (std::array<int, kOrbListCount>{5, 5, 0, 5, 5, 5, 5, 5}));
    EXPECT_NE(QString::fromStdString(w.Results().title).indexOf("5°"), -1);

    // 0° in the set-all list is refused: a message, and the list goes to 1°.
    dialogs.Clear();
    Choose(Orb(7), 0);
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].kind, Kind::Message);
    EXPECT_EQ(dialogs.asked()[0].text, "Cannot set all non-zero orbs to zero.");
    EXPECT_EQ(dialogs.asked()[0].title, "Set all");
    EXPECT_EQ(Orb(7)->currentIndex(), 1);
    EXPECT_EQ(w.CoreSettings().controls.orbIndex[7], 1);
    // With the keys too.
    dialogs.Clear();
    Orb(7)->setFocus();
    QTest::keyClick(Orb(7), Qt::Key_Up);
    EXPECT_EQ(dialogs.Count(Kind::Message), 1);
    EXPECT_EQ(Orb(7)->currentIndex(), 1);
}

TEST_F(ConfigureTest, CancelDropsASetAllThatWasNotUsed) {
    FrmMain& w = Start();
    w.Compute();
    const Shown before = ShownBy(w);
    const auto accepted = w.CoreSettings().accepted.OrbIndex;
    FrmConfigure& d = Open();
    Choose(Orb(7), 5);
    dialogs.QueueAnswer(Answer::Yes);
    DialogButton("cmdSetAllNonzeroOrbsToConjunctionOrb")->click();
    EXPECT_EQ(ShownOrbs(), (std::array<int, kAspectCount>{5, 5, 5, 5, 5, 5, 5}));
    DialogButton("cmdCancel")->click();
    EXPECT_FALSE(d.isVisible());
    // The next compute uses the orbs that were in force, and the dialog
    // shows them when it opens again.
    EXPECT_EQ(w.CoreSettings().accepted.OrbIndex, accepted);
    w.Compute();
    EXPECT_EQ(ShownBy(w), before);
    Open();
    EXPECT_EQ(ShownOrbs(), (std::array<int, kAspectCount>{10, 9, 6, 7, 4, 3, 3}));
}

TEST_F(ConfigureTest, ConfigureColorLinesCycleThePaletteAndSwitchOff) {
    FrmMain& w = Start();
    FrmConfigure& d = Open();
    const Color first = d.LineColor(0);
    ASSERT_EQ(first, DefaultAspectColor(kConjunction));
    std::set<int32_t> seen;
    for (int k = 0; k < 12; ++k) {
        seen.insert(d.LineColor(0).value());
        QTest::mouseClick(Line(0), Qt::LeftButton);
    }
    EXPECT_EQ(d.LineColor(0), first);
    EXPECT_EQ(seen.size(), 12u);
    // The line is drawn in its colour on black.
    QTest::mouseClick(Line(0), Qt::LeftButton);
    const Color second = d.LineColor(0);
    EXPECT_NE(second, first);
    const QColor ink = Line(0)->palette().color(QPalette::WindowText);
    EXPECT_EQ(Rgb(ink.red(), ink.green(), ink.blue()), second);
    EXPECT_EQ(Line(0)->palette().color(QPalette::Window), QColor(Qt::black));
    // The engine keeps its colour until "Use settings".
    EXPECT_EQ(w.CoreSettings().accepted.AspectColor[kConjunction], first);

    // Two right clicks switch the trine's colour off and back on.
    const Color trine = d.LineColor(3);
    QTest::mouseClick(Line(3), Qt::RightButton);
    EXPECT_EQ(d.LineColor(3), Color());
    QTest::mouseClick(Line(3), Qt::RightButton);
    EXPECT_EQ(d.LineColor(3), trine);
    // The keys do the same on a focused line: Space steps, Delete switches.
    Line(3)->setFocus();
    QTest::keyClick(Line(3), Qt::Key_Delete);
    EXPECT_EQ(d.LineColor(3), Color());
    QTest::keyClick(Line(3), Qt::Key_Delete);
    QTest::keyClick(Line(3), Qt::Key_Space);
    EXPECT_NE(d.LineColor(3), trine);

    DialogButton("cmdAccept")->click();
    EXPECT_EQ(w.CoreSettings().accepted.AspectColor[kConjunction], second);
    for (const TableCell& c : w.Results().table.txbCell) {
        if (c.kind == CellKind::Aspect && c.aspect == kConjunction) {
            EXPECT_EQ(c.foreground, second);
        }
    }

    // A colour that is not in the palette (from a state file) never changes
    // on left clicks.
    AppState odd;
    odd.dateRows[kWorldDate] = w.Rows().Row(kWorldDate);
    odd.settings.accepted.AspectColor[kOpposition] = Color(0x123456);
    const Result<std::string> text = StateFileText(odd);
    ASSERT_TRUE(text) << text.message();
    std::ofstream(Path("odd.vek"), std::ios::binary) << *text;
    dialogs.QueueFileName(QString::fromStdString(Path("odd.vek")));
    DialogButton("cmdHide")->click();
    ClickMain("cmdLoadState");
    ASSERT_EQ(w.CoreSettings().accepted.AspectColor[kOpposition], Color(0x123456));
    Open();
    EXPECT_EQ(d.LineColor(1), Color(0x123456));
    for (int k = 0; k < 3; ++k) QTest::mouseClick(Line(1), Qt::LeftButton);
    EXPECT_EQ(d.LineColor(1), Color(0x123456));
}

TEST_F(ConfigureTest, ConfigureCancelPutsBackTheSnapshotButKeepsTheMidpointOrb) {
    FrmMain& w = Start();
    FrmConfigure& d = Open();
    const Settings start = w.CoreSettings();
    Choose(DialogCombo("cboOrbForMidpoints"), 6);
    Choose(DialogCombo("cboPersonalOrbsProportion_0"), 4);
    Check("chkIncludeMoon")->click();
    Check("chkUseBoldface")->click();
    EXPECT_FALSE(DialogOption("opt1DegOfOrb")->isEnabled());
    DialogOption("optVedicAstrology")->click();
    Choose(Orb(0), 2);
    // A choice made with the mouse moves the focus to "Use settings".
    EXPECT_EQ(d.focusWidget(), DialogButton("cmdAccept"));
    QTest::mouseClick(Line(4), Qt::LeftButton);

    DialogButton("cmdCancel")->click();
    EXPECT_FALSE(d.isVisible());
    const ConfigControls& c = w.CoreSettings().controls;
    EXPECT_EQ(c.midpointOrbIndex, 6);
    EXPECT_EQ(c.proportionIndex, start.controls.proportionIndex);
    EXPECT_EQ(c.includeMoon, start.controls.includeMoon);
    EXPECT_EQ(c.useBoldface, start.controls.useBoldface);
    // The next compute uses the new midpoint orb.
    ClickMain("cmdCompute");
    EXPECT_EQ(w.CoreSettings().controls.midpointOrbIndex, 6);
    // Orbs, zodiac and colours are shown from the engine when the dialog is
    // shown again.
    Open();
    EXPECT_EQ(Orb(0)->currentIndex(), 10);
    EXPECT_TRUE(DialogOption("optWesternAstrology")->isChecked());
    EXPECT_EQ(d.LineColor(4), DefaultAspectColor(kSextile));
    EXPECT_EQ(DialogCombo("cboOrbForMidpoints")->currentIndex(), 6);
    EXPECT_TRUE(DialogOption("opt1DegOfOrb")->isEnabled());

    // Escape cancels too; Enter uses the settings and the dialog stays.
    QSignalSpy computed(&w, &FrmMain::Computed);
    Check("chkIncludeMoon")->click();
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(w.CoreSettings().controls.includeMoon);
    EXPECT_EQ(computed.count(), 0);
    Open();
    Orb(1)->setFocus();
    QTest::keyClick(Orb(1), Qt::Key_Down);  // 9° -> 10°, the focus stays
    EXPECT_EQ(d.focusWidget(), Orb(1));
    QTest::keyClick(Orb(1), Qt::Key_Return);
    EXPECT_EQ(computed.count(), 1);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(w.CoreSettings().accepted.OrbIndex[1], 10);
}

TEST_F(ConfigureTest, ConfigureCloseBoxIsCancelAndKeepsTheSettingsInForce) {
    FrmMain& w = Start();
    const Shown defaults = ShownBy(w);
    FrmConfigure* d = &Open();
    Choose(Orb(0), 3);
    Choose(DialogCombo("cboPersonalOrbsProportion_1"), 0);
    Check("chkIncludeMoon")->click();
    DialogButton("cmdAccept")->click();
    ASSERT_NE(ShownBy(w), defaults);
    EXPECT_EQ(StoreValue("Moon"), "0");
    // Changes not yet used: a wider orb and the Moon back on.
    Choose(Orb(1), 15);
    Check("chkIncludeMoon")->click();
    Choose(DialogCombo("cboBoldfaceFactor"), 7);

    QSignalSpy computed(&w, &FrmMain::Computed);
    dialogs.Clear();
    d->close();
    // No message, no reset, nothing computed: the dialog hides as with
    // "Cancel", which drops what was not used.
    EXPECT_TRUE(dialogs.asked().empty());
    EXPECT_EQ(computed.count(), 0);
    EXPECT_FALSE(d->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w.Configuration(), d);
    // What "Use settings" put in force stays: no default came back.
    EXPECT_EQ(w.CoreSettings().accepted.OrbIndex[0], 3);
    EXPECT_EQ(w.CoreSettings().accepted.OrbIndex[1], 9);
    EXPECT_FALSE(w.CoreSettings().accepted.IncludeMoon);
    EXPECT_EQ(StoreValue("Moon"), "0");
    w.Compute();
    EXPECT_NE(ShownBy(w), defaults);

    // "Configure" shows the same dialog with the orbs in force.
    FrmConfigure& again = Open();
    EXPECT_EQ(&again, d);
    EXPECT_TRUE(again.isVisible());
    EXPECT_EQ(Orb(0)->currentIndex(), 3);
    EXPECT_EQ(Orb(1)->currentIndex(), 9);
}

TEST_F(ConfigureTest, ConfigureResetAsksUnderTheGermanTitleInGerman) {
    FrmMain& w = Start();
    ClickMain("optGerman");
    FrmConfigure& d = Open();
    Choose(Orb(0), 4);
    DialogButton("cmdAccept")->click();
    QSignalSpy computed(&w, &FrmMain::Computed);

    dialogs.Clear();
    dialogs.QueueAnswer(Answer::No);
    DialogButton("cmdReset")->click();
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].kind, Kind::Question);
    EXPECT_EQ(dialogs.asked()[0].title, QString("Auf Grundeinstellung zurücksetzen"));
    EXPECT_EQ(dialogs.asked()[0].text,
              PT(kTextResetQuestion) + "\n" + PT(kTextDoYouWantToContinue));
    EXPECT_EQ(Orb(0)->currentIndex(), 4);
    EXPECT_EQ(computed.count(), 0);

    // In English the title is the button's caption; Yes resets and applies.
    ClickMain("optEnglish");
    computed.clear();
    dialogs.Clear();
    dialogs.QueueAnswer(Answer::Yes);
    DialogButton("cmdReset")->click();
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].title, PT(kTextResetToDefault));
    EXPECT_EQ(Orb(0)->currentIndex(), 10);
    EXPECT_EQ(w.CoreSettings().accepted.OrbIndex[0], 10);
    EXPECT_EQ(computed.count(), 1);
    EXPECT_TRUE(d.isVisible());
}

TEST_F(ConfigureTest, ConfigureUseSettingsKeepsTheOnOffValuesInTheStore) {
    FrmMain& w = Start();
    FrmConfigure& d = Open();
    QComboBox* zones = window->findChild<QComboBox*>("cboTimezone_0");
    auto zoneNames = [zones] {
        QStringList names;
        for (int k = 0; k < zones->count(); ++k) names << zones->itemText(k);
        return names.join('|');
    };
    const QString zonesBefore = zoneNames();
    Check("chkIncludeMoon")->click();
    Check("chkDisplayNATZabbr")->click();
    Check("chkSuppressInnerPlanetAspectDisplay")->click();
    Check("chkDisplayZodiacSectors")->click();
    Check("chkSaveGraphicWithWhiteBackground")->click();
    DialogButton("cmdAccept")->click();
    EXPECT_EQ(StoreValue("Moon"), "0");
    EXPECT_EQ(StoreValue("TZDisp"), "1");
    EXPECT_EQ(StoreValue("IPAD"), "0");
    EXPECT_EQ(StoreValue("Zodiac sectors"), "0");
    EXPECT_EQ(StoreValue("SGWWB"), "1");
    const Settings& s = w.CoreSettings();
    EXPECT_FALSE(s.accepted.IncludeMoon);
    EXPECT_FALSE(s.accepted.ShowInnerPlanetAspects);
    EXPECT_FALSE(s.accepted.ShowZodiacSectors);
    EXPECT_TRUE(s.accepted.WhiteImageBackground);
    EXPECT_EQ(w.Results().chart.bodyCount, kMaxBodies - 1);  // without the Moon
    // The zone lists now show the North American names.
    EXPECT_NE(zoneNames(), zonesBefore);

    // Shown again, the dialog reloads three values from the store and finds
    // what was accepted.
    DialogButton("cmdHide")->click();
    Open();
    EXPECT_FALSE(Check("chkIncludeMoon")->isChecked());
    EXPECT_TRUE(Check("chkSuppressInnerPlanetAspectDisplay")->isChecked());
    EXPECT_FALSE(Check("chkDisplayZodiacSectors")->isChecked());
    EXPECT_TRUE(Check("chkSaveGraphicWithWhiteBackground")->isChecked());
    EXPECT_TRUE(d.isVisible());

    // The next start reads them.
    window.reset();
    FrmMain& next = Start();
    EXPECT_FALSE(next.CoreSettings().accepted.IncludeMoon);
    EXPECT_TRUE(next.CoreSettings().controls.northAmericanZones);
    EXPECT_EQ(next.Results().chart.bodyCount, kMaxBodies - 1);
}

TEST_F(ConfigureTest, ConfigureEveryControlIsReachedWithTabInScreenOrder) {
    Start();
    FrmConfigure& d = Open();
    d.activateWindow();
    QApplication::setActiveWindow(&d);
    Orb(0)->setFocus();
    std::vector<QString> seen;
    for (int k = 0; k < 60; ++k) {
        QWidget* f = QApplication::focusWidget();
        ASSERT_NE(f, nullptr);
        if (!seen.empty() && f->objectName() == seen.front()) break;
        seen.push_back(f->objectName());
        QTest::keyClick(f, Qt::Key_Tab);
    }
    const std::vector<QString> expected = {"cboOrb_0",
                                           "lblAspectColor_0",
                                           "cboOrb_1",
                                           "lblAspectColor_1",
                                           "cboOrb_3",
                                           "lblAspectColor_3",
                                           "cboOrb_2",
                                           "lblAspectColor_2",
                                           "cboOrb_4",
                                           "lblAspectColor_4",
                                           "cboOrb_5",
                                           "lblAspectColor_5",
                                           "cboOrb_6",
                                           "lblAspectColor_6",
                                           "cmdSetAllNonzeroOrbsToConjunctionOrb",
                                           "cboOrb_7",
                                           "cboPersonalOrbsProportion_0",
                                           "cboPersonalOrbsProportion_1",
                                           "cboOrbForMidpoints",
                                           "chkUseBoldface",
                                           "opt1DegOfOrb",
                                           "optProportionOfOrb",
                                           "cboBoldfaceFactor",
                                           "optWesternAstrology",
                                           "optVedicAstrology",
                                           "chkKeepZodiac",
                                           "chkIncludeMoon",
                                           "chkDisplayNATZabbr",
                                           "chkSuppressInnerPlanetAspectDisplay",
                                           "chkDisplayZodiacSectors",
                                           "chkSaveGraphicWithWhiteBackground",
                                           "chkShowHouses",  // the system list is off with it
                                           "chkLunarNodes",
                                           "chkChiron",
                                           "cmdAccept",
                                           "cmdCancel",
                                           "cmdReset",
                                           "cmdHide"};
    EXPECT_EQ(seen, expected);
}

// Every setting the dialog offers, changed and used, saved with "Save as
// ...", gives the same tables after a fresh start that loads the file: the
// state file keeps the orbs, proportions, midpoint orb, boldface rule, zodiac
// and colours, the store keeps the Moon and the zone names.
TEST_F(ConfigureTest, ConfigureEverySettingSurvivesSaveAsAndAFreshStart) {
    FrmMain& a = Start();
    EnterDate(kWorldDate, 3, 14, "2003", 21, 24);
    EnterDate(kBirth1, 8, 2, "1961", 30, 20);
    EnterDate(kBirth2, 11, 23, "1958", 5, 30);
    ClickMain("cmdCompute");
    const Shown defaultWorld = ShownBy(a);

    FrmConfigure& d = Open();
    const std::array<int, kAspectCount> orbs = {8, 7, 5, 6, 3, 2, 4};
    for (int i = 0; i < kAspectCount; ++i) Choose(Orb(i), orbs[i]);
    Choose(Orb(7), 2);
    Choose(DialogCombo("cboPersonalOrbsProportion_0"), 0);
    Choose(DialogCombo("cboPersonalOrbsProportion_1"), 4);
    Choose(DialogCombo("cboOrbForMidpoints"), 6);
    DialogOption("optProportionOfOrb")->click();
    Choose(DialogCombo("cboBoldfaceFactor"), 0);
    DialogOption("optVedicAstrology")->click();
    Check("chkKeepZodiac")->click();
    QTest::mouseClick(Line(0), Qt::LeftButton);
    QTest::mouseClick(Line(0), Qt::LeftButton);
    QTest::mouseClick(Line(3), Qt::LeftButton);
    QTest::mouseClick(Line(6), Qt::LeftButton);
    Check("chkIncludeMoon")->click();
    Check("chkDisplayNATZabbr")->click();
    Check("chkSuppressInnerPlanetAspectDisplay")->click();
    Check("chkDisplayZodiacSectors")->click();
    Check("chkSaveGraphicWithWhiteBackground")->click();
    DialogButton("cmdAccept")->click();
    d.HideDialog();

    std::map<Mode, Shown> before;
    before[Mode::World] = ShownBy(a);
    ASSERT_NE(before[Mode::World], defaultWorld);
    dialogs.QueueFileName(QString::fromStdString(Path("all.vek")));
    ClickMain("cmdSaveAs");
    ASSERT_EQ(dialogs.Count(Kind::Message), 0);
    ClickMain("optPersonal_0");
    before[Mode::Personal1] = ShownBy(a);
    ClickMain("optSynastry");
    before[Mode::Synastry] = ShownBy(a);
    ASSERT_EQ(a.ComputedMode(), Mode::Synastry);

    // A fresh start with the same store and no automatic state.
    window.reset();
    env.autoStatePath = Path("none.usr");
    FrmMain& b = Start();
    dialogs.QueueFileName(QString::fromStdString(Path("all.vek")));
    ClickMain("cmdLoadState");
    ASSERT_EQ(dialogs.Count(Kind::Message), 0);
    ASSERT_EQ(b.ComputedMode(), Mode::World);
    EXPECT_EQ(ShownBy(b), before[Mode::World]);
    ClickMain("optPersonal_0");
    EXPECT_EQ(ShownBy(b), before[Mode::Personal1]);
    ClickMain("optSynastry");
    EXPECT_EQ(ShownBy(b), before[Mode::Synastry]);
}

}  // namespace
}  // namespace vek::gui
