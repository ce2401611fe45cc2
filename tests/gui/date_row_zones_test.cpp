// The date rows of the main window with a time to the minute and a zone of
// the tz database, chosen through the rows' time and zone chooser: all three
// rows in English and German, bad input, the question for a skipped or
// doubled time, stepping across daylight saving and a state round trip.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "display/results_text.h"
#include "gui/dialogs.h"
#include "gui/fonts.h"
#include "gui/frm_durations.h"
#include "gui/frm_main.h"
#include "gui/frm_zone.h"
#include "../program_texts.h"
#include "config/program_text.h"
#include "qt_app.h"
#include "time/date_rows.h"
#include "time/stepping.h"
#include "time/zones.h"

namespace vek::gui {
namespace {

constexpr double kSecond = 1.0 / 86400;

double Ut(int year, int month, int day, int hour, int minute) {
    CalendarDate d;
    d.year = year;
    d.month = month;
    d.day = day;
    return DateToDayNumber(d) - 0.5 + (hour * 60 + minute) / 1440.0;
}

class RowZonesWindow : public test::MainWindowTest<> {
  protected:
    QString Row(DateSlot slot) const { return "_" + QString::number(Index(slot)); }
    // Picks the chooser entry of the row's time list, answered with these
    // texts (nullopt: cancelled).
    void Pick(DateSlot slot, std::optional<Dialogs::TimeAndZone> answer) {
        dialogs.QueueTimeAndZone(answer);
        QComboBox* hours = Combo("cboHour" + Row(slot));
        Choose(hours, hours->count() - 1);
    }
    // The row's date text, as the report titles write it.
    std::string RowText(DateSlot slot) const {
        DateRows rows = window->Rows();
        return rows.InputDateToString(slot, false);
    }
};

TEST_F(RowZonesWindow, EveryRowTakesAMinuteAndANamedZoneInEnglishAndGerman) {
    FrmMain& w = Start();
    for (const Language language : {kEnglish, kGerman}) {
        SCOPED_TRACE(language == kGerman ? "German" : "English");
        if (language == kGerman) Option("optGerman")->click();
        for (const DateSlot slot : AllDateSlots()) {
            EnterDate(slot, 7, 4, "2010", kNoonTimeIndex, kGreenwichZoneIndex);
            dialogs.Clear();
            Pick(slot, Dialogs::TimeAndZone{"14:47", "Europe/Berlin"});
            ASSERT_EQ(dialogs.asked().size(), 1u);
            const auto& asked = dialogs.asked()[0];
            EXPECT_EQ(asked.kind, ScriptedDialogs::Kind::TimeAndZone);
            // The chooser starts from what the row holds, titled with its name.
            EXPECT_EQ(asked.time, "12:00");
            EXPECT_EQ(asked.zone, "GMT");
            EXPECT_TRUE(asked.title.startsWith(PT(TextIdAt(kTextWorldDate, Index(slot)))));
            EXPECT_EQ(Combo("cboHour" + Row(slot))->currentText(), "14:47");
            EXPECT_EQ(Combo("cboTimezone" + Row(slot))->currentText(), "Europe/Berlin");
            EXPECT_EQ(Combo("cboTimezone" + Row(slot))->toolTip(), "Europe/Berlin, GMT+2:00");
            const std::string date = language == kGerman ? "4.Juli 2010" : "July 4, 2010";
            EXPECT_EQ(RowText(slot), date + ", 14:47 (Europe/Berlin, GMT+2:00)");
            // The list's last entries open the chooser, in the window's language.
            EXPECT_EQ(Combo("cboHour" + Row(slot))->itemText(Combo("cboHour" + Row(slot))->count() - 1),
                      PT(kTextOtherTime));
            EXPECT_EQ(
                Combo("cboTimezone" + Row(slot))->itemText(Combo("cboTimezone" + Row(slot))->count() - 1),
                PT(kTextOtherZone));
        }
        // Each mode computes its rows at their own instants.
        Option("optPlanetary")->click();
        EXPECT_NEAR(w.Results().DateJD[kWorldDate].days, Ut(2010, 7, 4, 12, 47), kSecond);
        Option("optSynastry")->click();
        ASSERT_EQ(w.ComputedMode(), Mode::Synastry);
        EXPECT_NEAR(w.Results().DateJD[kBirth1].days, Ut(2010, 7, 4, 12, 47), kSecond);
        EXPECT_NEAR(w.Results().DateJD[kBirth2].days, Ut(2010, 7, 4, 12, 47), kSecond);
        // The report of a personal transit names what was used in its title
        // and walks the local days of the World date's zone.
        Option("optPersonal_0")->click();
        const auto request = w.DurationsRequestOfResult();
        ASSERT_NE(request, nullptr);
        const std::string shortDate = language == kGerman ? "4.Juli 2010" : "July 4, 2010";
        EXPECT_EQ(request->dates.worldDateText, shortDate + ", 14:47 (Europe/Berlin, GMT+2:00)");
        EXPECT_EQ(request->dates.worldNamedZone, TimeZone::Named("Europe/Berlin"));
        EXPECT_EQ(request->dates.worldZoneMinutes, 120);
        if (language == kEnglish) {
            Option("optPlanetary")->click();
            Snapshot("row-zones-en");
        }
    }
    Option("optPlanetary")->click();
    Snapshot("row-zones-de");
    // Choosing a list entry again leaves the extra behind.
    Choose("cboHour_0", kNoonTimeIndex);
    Choose("cboTimezone_0", kGreenwichZoneIndex);
    EXPECT_FALSE(w.Rows().Row(kWorldDate).HasExtras());
    EXPECT_EQ(RowText(kWorldDate), "4.Juli 2010, 12:00 (GMT)");
    EXPECT_EQ(Combo("cboHour_0")->count(), kTimeEntries + 1);
    EXPECT_EQ(Combo("cboTimezone_0")->count(), kZoneEntries + 1);
}

TEST_F(RowZonesWindow, BadInputGivesOneLineAndChangesNothing) {
    FrmMain& w = Start();
    EnterDate(kBirth1, 3, 15, "1985", kNoonTimeIndex, kGreenwichZoneIndex);
    Pick(kBirth1, Dialogs::TimeAndZone{"14:47", "Asia/Kathmandu"});
    const DateRowFields before = w.Rows().Row(kBirth1);
    struct Case {
        const char* time;
        const char* zone;
        TextId text;
        const char* shown;
    };
    for (const Case& c : {Case{"25:00", "", kTextBadMinuteTime, "25:00"},
                          Case{"10:00", "+14:30", kTextBadZone, "+14:30"},
                          Case{"", "Mars/Olympus", kTextBadZone, "Mars/Olympus"},
                          Case{"", "Europe/Berlin]", kTextBadZone, "Europe/Berlin]"}}) {
        dialogs.Clear();
        Pick(kBirth1, Dialogs::TimeAndZone{c.time, c.zone});
        ASSERT_EQ(dialogs.asked().size(), 2u) << c.zone;
        const auto& message = dialogs.asked()[1];
        EXPECT_EQ(message.kind, ScriptedDialogs::Kind::Message);
        EXPECT_EQ(message.text, PT(c.text).replace("[r1]", c.shown));
        EXPECT_FALSE(message.text.contains('\n'));
        EXPECT_EQ(message.title, PT(kTextInputErrorTitle));
        const DateRowFields& now = w.Rows().Row(kBirth1);
        EXPECT_EQ(now.exactMinute, before.exactMinute);
        EXPECT_EQ(now.zone, before.zone);
        EXPECT_EQ(Combo("cboHour_1")->currentText(), "14:47");
        EXPECT_EQ(Combo("cboTimezone_1")->currentText(), "Asia/Kathmandu");
    }
    // A cancelled chooser changes nothing either and asks nothing more.
    dialogs.Clear();
    Pick(kBirth1, std::nullopt);
    EXPECT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(w.Rows().Row(kBirth1).zone, before.zone);
    Option("optNatal_0")->click();
    // Nepal kept +5:30 until 1986.
    EXPECT_NEAR(w.Results().DateJD[kBirth1].days, Ut(1985, 3, 15, 9, 17), kSecond);
}

TEST_F(RowZonesWindow, ASkippedOrDoubledTimeIsAskedAboutOnce) {
    FrmMain& w = Start();
    EnterDate(kBirth1, 9, 28, "1980", kNoonTimeIndex, kGreenwichZoneIndex);
    Pick(kBirth1, Dialogs::TimeAndZone{"02:30", "Europe/Berlin"});
    dialogs.Clear();
    dialogs.QueueChoice(1);
    Option("optNatal_0")->click();
    ASSERT_EQ(dialogs.asked().size(), 1u);
    const auto& q = dialogs.asked()[0];
    EXPECT_EQ(q.kind, ScriptedDialogs::Kind::Choice);
    EXPECT_EQ(q.title, PT(kTextOffsetQuestionTitle));
    EXPECT_EQ(q.choices, (QStringList{"GMT+2:00 (CEST)", "GMT+1:00 (CET)"}));
    EXPECT_TRUE(q.text.startsWith("September 28, 1980, 02:30")) << q.text.toStdString();
    EXPECT_TRUE(q.text.contains("Europe/Berlin"));
    ASSERT_EQ(w.ComputedMode(), Mode::Natal1);
    EXPECT_NEAR(w.Results().DateJD[kBirth1].days, Ut(1980, 9, 28, 1, 30), kSecond);
    // The answer stays with the row: the next compute asks nothing.
    dialogs.Clear();
    Button("cmdCompute")->click();
    EXPECT_TRUE(dialogs.asked().empty());

    // Cancelled, the compute names the row's problem.
    Pick(kBirth1, Dialogs::TimeAndZone{"02:15", ""});
    dialogs.Clear();
    dialogs.QueueChoice(std::nullopt);
    Button("cmdCompute")->click();
    ASSERT_EQ(dialogs.asked().size(), 2u);
    EXPECT_EQ(dialogs.asked()[1].text.toStdString(),
              DateErrorText(w.State().Texts(), kBirth1, kDateTimeAmbiguous));
}

TEST_F(RowZonesWindow, ADayStepAcrossDaylightSavingKeepsTheClockTime) {
    FrmMain& w = Start();
    EnterDate(kWorldDate, 3, 27, "2010", kNoonTimeIndex, kGreenwichZoneIndex);
    Pick(kWorldDate, Dialogs::TimeAndZone{"14:47", "Europe/Berlin"});
    Button("cmdCompute")->click();
    const double before = w.Results().DateJD[kWorldDate].days;
    Choose("cboForwardBack", kStepDay);
    w.TimerTick();
    ASSERT_TRUE(Button("cmdForwardBack_0")->isEnabled());
    Button("cmdForwardBack_0")->click();
    EXPECT_EQ(Combo("cboDayCE_0")->currentIndex(), 28);
    EXPECT_EQ(Combo("cboHour_0")->currentText(), "14:47");
    EXPECT_EQ(Combo("cboTimezone_0")->currentText(), "Europe/Berlin");
    EXPECT_NEAR(w.Results().DateJD[kWorldDate].days - before, 23.0 / 24, kSecond);
    EXPECT_EQ(Combo("cboTimezone_0")->toolTip(), "Europe/Berlin, GMT+2:00");
}

TEST_F(RowZonesWindow, SaveAndRestoreKeepMinutesAndZones) {
    FrmMain& w = Start();
    EnterDate(kBirth1, 3, 15, "1985", kNoonTimeIndex, kGreenwichZoneIndex);
    Pick(kBirth1, Dialogs::TimeAndZone{"14:47", "Europe/Berlin"});
    EnterDate(kBirth2, 6, 1, "1986", kNoonTimeIndex, kGreenwichZoneIndex);
    Pick(kBirth2, Dialogs::TimeAndZone{"", "+05:45"});
    Button("cmdSave")->click();
    Button("cmdClear_1")->click();
    dialogs.Clear();
    Choose("cboHour_1", 3);
    Choose("cboTimezone_2", 3);
    Button("cmdRestore")->click();
    EXPECT_EQ(Combo("cboHour_1")->currentText(), "14:47");
    EXPECT_EQ(Combo("cboTimezone_1")->currentText(), "Europe/Berlin");
    EXPECT_EQ(Combo("cboHour_2")->currentText(), "12:00");
    EXPECT_EQ(Combo("cboTimezone_2")->currentText(), "GMT+5:45");
    Option("optSynastry")->click();
    EXPECT_NEAR(w.Results().DateJD[kBirth1].days, Ut(1985, 3, 15, 13, 47), kSecond);
    EXPECT_NEAR(w.Results().DateJD[kBirth2].days, Ut(1986, 6, 1, 6, 15), kSecond);
}

TEST(ZoneChooser, TypingNarrowsTheListAndPicksTheZoneWithItsOffset) {
    test::App();
    Dialogs::TimeAndZoneRequest request;
    request.time = "14:47";
    request.noMatchText = "(none)";
    request.zonesMatching = [](const QString& text) {
        std::vector<std::pair<QString, QString>> out;
        for (const std::string& name : MatchingZoneNames(text.toStdString()))
            out.emplace_back(QString::fromStdString(name), "GMT+1:00");
        return out;
    };
    QString checked;
    request.check = [&checked](const QString& time, const QString& zone) {
        checked = time + " " + zone;
        return zone == "+14:30" ? QString("no such offset") : QString();
    };
    FrmZone chooser(request, nullptr);
    EXPECT_GT(chooser.ZoneList()->count(), 300);
    chooser.SearchBox()->setText("berl");
    emit chooser.SearchBox()->textEdited("berl");
    ASSERT_GE(chooser.ZoneList()->count(), 1);
    EXPECT_EQ(chooser.ZoneList()->currentItem()->text(), "Europe/Berlin    GMT+1:00");
    EXPECT_EQ(chooser.Answer().zone, "Europe/Berlin");
    EXPECT_EQ(chooser.Answer().time, "14:47");
    // An offset is taken as typed; one that cannot be taken keeps the
    // chooser open with the reason under the boxes.
    chooser.SearchBox()->setText("+14:30");
    emit chooser.SearchBox()->textEdited("+14:30");
    EXPECT_EQ(chooser.ZoneList()->item(0)->text(), "(none)");
    chooser.TryAccept();
    EXPECT_EQ(checked, "14:47 +14:30");
    EXPECT_EQ(chooser.ErrorLabel()->text(), "no such offset");
    EXPECT_NE(chooser.result(), QDialog::Accepted);
    chooser.SearchBox()->setText("+05:45");
    chooser.TryAccept();
    EXPECT_EQ(chooser.result(), QDialog::Accepted);
}

TEST(ZoneChooser, ItsTextsComeFromTheProgramText) {
    test::App();
    for (const Language language : {kEnglish, kGerman}) {
        const ProgramTexts texts(testing::RealTextTable(), language);
        auto pt = [&](TextId id) { return QString::fromStdString(texts.ProgramText(id)); };
        Dialogs::TimeAndZoneRequest request;
        request.title = QString::fromStdString(texts.ProgramTextWithValues(
            kTextTimeAndZoneTitle, {texts.ProgramText(kTextFirstBirthdate), "", "", "", ""}));
        request.timeLabel = pt(kTextTimeLabel);
        request.zoneLabel = pt(kTextZoneSearchLabel);
        request.okText = pt(kTextOK);
        request.cancelText = pt(kTextCancel);
        request.time = "14:47";
        request.zone = "Berl";
        request.zonesMatching = [](const QString& text) {
            std::vector<std::pair<QString, QString>> out;
            for (const std::string& name : MatchingZoneNames(text.toStdString())) {
                const Result<int32_t> offset =
                    OffsetAtInstant(2455382.0, TimeZone::Named(name));  // 4 July 2010
                out.emplace_back(QString::fromStdString(name),
                                 offset ? QString::fromStdString(OffsetText(*offset)) : QString());
            }
            return out;
        };
        // The chooser takes the look of the window it is opened from.
        QWidget owner;
        owner.setFont(QFont(kControlFontFamily, 8));
        FrmZone chooser(request, &owner);
        chooser.adjustSize();
        EXPECT_EQ(chooser.font(), owner.font());
        EXPECT_EQ(chooser.windowTitle(), request.title);
        EXPECT_EQ(test::FindIn<QLabel>(&chooser, "lblTime")->text(), pt(kTextTimeLabel));
        EXPECT_EQ(test::FindIn<QPushButton>(&chooser, "cmdCancel")->text(), pt(kTextCancel));
        EXPECT_EQ(chooser.ZoneList()->currentItem()->text(), "Europe/Berlin    GMT+2:00");
        test::Snapshot(chooser, language == kGerman ? "zone-chooser-de" : "zone-chooser-en");
    }
}

}  // namespace
}  // namespace vek::gui
