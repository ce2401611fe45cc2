// The place of a date row: chosen from the atlas or typed in the time and
// zone chooser, shown in the row's zone tool tip, kept in the state file,
// and drawn as houses on the wheel when the configuration turns them on.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>
#include <fstream>
#include <sstream>

#include "gui/chart_view.h"
#include "gui/dialogs.h"
#include "gui/frm_configure.h"
#include "gui/frm_main.h"
#include "gui/frm_zone.h"
#include "../program_texts.h"
#include "qt_app.h"
#include "time/zones.h"

namespace vek::gui {
namespace {

class RowPlacesWindow : public test::MainWindowTest<> {
  protected:
    // The chooser opened from the row's zone list, answered with `answer`.
    void Pick(DateSlot slot, const Dialogs::TimeAndZone& answer) {
        dialogs.QueueTimeAndZone(answer);
        QComboBox* zones = Combo("cboTimezone_" + QString::number(Index(slot)));
        Choose(zones, zones->count() - 1);
    }
    const DateRowFields& Row(DateSlot slot) const { return window->Rows().Row(slot); }
    std::string SavedText() const {
        std::ifstream in(env.autoStatePath, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

TEST_F(RowPlacesWindow, ACityGivesTheRowItsPlaceAndZoneAndCoordinatesOrNothingToo) {
    Start();
    EnterDate(kBirth1, 3, 15, "1985", kNoonTimeIndex, kGreenwichZoneIndex);
    Pick(kBirth1, {"14:47", "", ""});
    ASSERT_TRUE(dialogs.lastPlacesMatching);
    EXPECT_TRUE(dialogs.asked().back().place.isEmpty());
    EXPECT_FALSE(Row(kBirth1).place);

    // The chooser's search reads the program's atlas.
    const std::vector<PlaceEntry> munich = dialogs.lastPlacesMatching("münch");
    ASSERT_FALSE(munich.empty());
    EXPECT_EQ(munich[0].zone, "Europe/Berlin");
    EXPECT_NEAR(munich[0].latitude, 48.137, 0.05);
    EXPECT_NEAR(munich[0].longitude, 11.575, 0.05);
    EXPECT_TRUE(munich[0].title.startsWith("Munich")) << munich[0].title.toStdString();
    EXPECT_TRUE(dialogs.lastPlacesMatching("52.52 13.4").empty());
    EXPECT_TRUE(dialogs.lastPlacesMatching("Qqqxz").empty());

    // The city picked: its coordinates, and its zone through the zone box.
    Dialogs::TimeAndZone city{"14:47", munich[0].zone, "münch", munich[0]};
    Pick(kBirth1, city);
    ASSERT_TRUE(Row(kBirth1).place);
    EXPECT_EQ(Row(kBirth1).place->name, munich[0].title.toStdString());
    EXPECT_EQ(Row(kBirth1).place->point.latitude, munich[0].latitude);
    EXPECT_EQ(Row(kBirth1).zone, TimeZone::Named("Europe/Berlin"));
    EXPECT_EQ(Combo("cboTimezone_1")->currentText(), "Europe/Berlin");
    EXPECT_TRUE(Combo("cboTimezone_1")->toolTip().contains("Place: Munich")) <<
        Combo("cboTimezone_1")->toolTip().toStdString();
    // The chooser shows it the next time, and leaves it when it is left.
    Pick(kBirth1, {"14:47", "Europe/Berlin", munich[0].title});
    EXPECT_EQ(dialogs.asked().back().place, munich[0].title);
    EXPECT_EQ(Row(kBirth1).place->name, munich[0].title.toStdString());

    // Coordinates typed; then bad input, which is named and changes nothing.
    Pick(kBirth1, {"14:47", "Europe/Berlin", "52°31'N 13°24'E"});
    ASSERT_TRUE(Row(kBirth1).place);
    EXPECT_TRUE(Row(kBirth1).place->name.empty());
    EXPECT_NEAR(Row(kBirth1).place->point.latitude, 52 + 31 / 60.0, 1e-9);
    dialogs.Clear();
    Pick(kBirth1, {"09:00", "Asia/Kathmandu", "Atlantis"});
    ASSERT_EQ(dialogs.Count(ScriptedDialogs::Kind::Message), 1);
    EXPECT_TRUE(dialogs.asked().back().text.contains("\"Atlantis\"")) <<
        dialogs.asked().back().text.toStdString();
    EXPECT_EQ(MinuteOfDay(Row(kBirth1)), 14 * 60 + 47);
    EXPECT_NEAR(Row(kBirth1).place->point.longitude, 13.4, 1e-9);

    // The place goes into the state file and comes back; an empty box
    // removes it, and the file is one without places again.
    Button("cmdSave")->click();
    EXPECT_NE(SavedText().find("\r\nPlace Birth1 52.516667 13.400000\r\nHouses off placidus"),
              std::string::npos);
    Pick(kBirth1, {"14:47", "Europe/Berlin", ""});
    EXPECT_FALSE(Row(kBirth1).place);
    Button("cmdRestore")->click();
    ASSERT_TRUE(Row(kBirth1).place);
    EXPECT_NEAR(Row(kBirth1).place->point.latitude, 52 + 31 / 60.0, 1e-6);
    Pick(kBirth1, {"14:47", "Europe/Berlin", ""});
    Button("cmdSave")->click();
    EXPECT_EQ(SavedText().find("Place"), std::string::npos);
}

TEST_F(RowPlacesWindow, HousesTurnedOnAreDrawnForTheBirthChartWithAPlace) {
    FrmMain& w = Start();
    EnterDate(kBirth1, 3, 15, "1985", kNoonTimeIndex, kGreenwichZoneIndex);
    const std::vector<PlaceEntry> berlin = [&] {
        Pick(kBirth1, {"14:47", "Europe/Berlin", ""});
        return dialogs.lastPlacesMatching("Berlin");
    }();
    ASSERT_FALSE(berlin.empty());
    Pick(kBirth1, {"14:47", berlin[0].zone, "Berlin", berlin[0]});
    Option("optNatal_0")->click();
    EXPECT_FALSE(w.Results().extras.houses);  // off by default

    Button("cmdConfigure")->click();
    FrmConfigure* d = w.Configuration();
    ASSERT_NE(d, nullptr);
    auto* houses = test::FindIn<QCheckBox>(d, "chkShowHouses");
    auto* system = test::FindIn<QComboBox>(d, "cboHouseSystem");
    ASSERT_TRUE(houses && system);
    EXPECT_FALSE(system->isEnabled());
    houses->click();
    EXPECT_TRUE(system->isEnabled());
    EXPECT_EQ(system->currentText(), PT(kTextHouseSystemFirst));
    test::Choose(system, 1);  // Koch
    test::FindIn<QCheckBox>(d, "chkLunarNodes")->click();
    test::FindIn<QPushButton>(d, "cmdAccept")->click();

    ASSERT_TRUE(w.Results().extras.houses);
    EXPECT_EQ(w.Results().extras.houses->used, HouseSystem::Koch);
    EXPECT_EQ(w.Results().extras.points[0].size(), 2u);
    Button("cmdToggleGraphic")->click();
    const ChartWheel& wheel = w.Graphic()->Wheel();
    EXPECT_EQ(wheel.Count(ChartRole::HouseCusp), 12u);
    EXPECT_EQ(wheel.Count(ChartRole::AngleLabel), 2u);
    EXPECT_EQ(wheel.Count(ChartRole::PointGlyph), 2u);
    Snapshot("window-houses");

    // The pointer over a house number, an angle's label and a point names
    // it in the tool tip and emphasises it.
    auto hover = [&](ChartRole role, int house) {
        for (size_t i = 0; i < wheel.items.size(); ++i) {
            const ChartPrimitive& p = wheel.items[i];
            if (p.role != role || (house && p.house != house)) continue;
            emit w.Graphic()->PointerMoved(p.x1, p.y1 + 100);
            EXPECT_EQ(wheel.highlight, static_cast<int>(i));
            return w.Graphic()->toolTip().toStdString();
        }
        return std::string("none");
    };
    EXPECT_EQ(hover(ChartRole::HouseNumber, 7).rfind("House 7: ", 0), 0u);
    EXPECT_EQ(hover(ChartRole::AngleLabel, 0).rfind("Ascendant: ", 0), 0u);
    const std::string node = hover(ChartRole::PointGlyph, 0);
    EXPECT_TRUE(node.rfind("Mean Node: ", 0) == 0 || node.rfind("True Node: ", 0) == 0) << node;
    hover(ChartRole::HouseNumber, 10);
    Snapshot("window-houses-hover");

    Button("cmdSave")->click();
    const std::string saved = SavedText();
    EXPECT_NE(saved.find("\r\nHouses on koch\r\nPoints nodes\r\n"), std::string::npos);
    EXPECT_NE(saved.find("Place Birth1 52.52"), std::string::npos);
}

TEST_F(RowPlacesWindow, TheChooserListsTheCitiesAndTakesTheZoneOfTheOnePicked) {
    Start();
    for (const Language language : {kEnglish, kGerman}) {
        if (language == kGerman) Option("optGerman")->click();
        EnterDate(kWorldDate, 7, 4, "2010", kNoonTimeIndex, kGreenwichZoneIndex);
        Pick(kWorldDate, {"", "", ""});
        const ProgramTexts texts(testing::RealTextTable(), language);
        auto pt = [&](TextId id) { return QString::fromStdString(texts.ProgramText(id)); };
        Dialogs::TimeAndZoneRequest request;
        request.timeLabel = pt(kTextTimeLabel);
        request.zoneLabel = pt(kTextZoneSearchLabel);
        request.placeLabel = pt(kTextPlaceLabel);
        request.placeNoMatchText = pt(kTextPlaceNoMatch);
        request.okText = pt(kTextOK);
        request.cancelText = pt(kTextCancel);
        request.time = "14:47";
        request.zonesMatching = [](const QString& text) {
            std::vector<std::pair<QString, QString>> out;
            for (const std::string& name : MatchingZoneNames(text.toStdString()))
                out.emplace_back(QString::fromStdString(name), "");
            return out;
        };
        request.placesMatching = dialogs.lastPlacesMatching;
        request.checkPlace = [](const QString& p) {
            return p == "Qqqxz" ? QString("no such place") : QString();
        };
        FrmZone chooser(request, window.get());
        chooser.PlaceBox()->setText("São P");
        emit chooser.PlaceBox()->textEdited("São P");
        ASSERT_GE(chooser.PlaceList()->count(), 1);
        EXPECT_TRUE(chooser.PlaceList()->item(0)->text().contains("America/Sao_Paulo"));
        // The first city is picked and gives its zone to the zone box.
        EXPECT_EQ(chooser.SearchBox()->text(), "America/Sao_Paulo");
        EXPECT_EQ(chooser.Answer().zone, "America/Sao_Paulo");
        ASSERT_TRUE(chooser.Answer().city);
        EXPECT_NEAR(chooser.Answer().city->latitude, -23.55, 0.05);
        chooser.adjustSize();
        Snapshot(chooser, language == kGerman ? "place-chooser-de" : "place-chooser-en");

        // A word no city begins with says so; the check names what cannot
        // be taken and keeps the chooser open.
        chooser.PlaceBox()->setText("Qqqxz");
        emit chooser.PlaceBox()->textEdited("Qqqxz");
        ASSERT_EQ(chooser.PlaceList()->count(), 1);
        EXPECT_EQ(chooser.PlaceList()->item(0)->text(), pt(kTextPlaceNoMatch));
        EXPECT_FALSE(chooser.Answer().city);
        chooser.TryAccept();
        EXPECT_EQ(chooser.ErrorLabel()->text(), "no such place");
        EXPECT_NE(chooser.result(), QDialog::Accepted);
        chooser.PlaceBox()->setText("-33.87 151.21");
        emit chooser.PlaceBox()->textEdited("-33.87 151.21");
        EXPECT_EQ(chooser.PlaceList()->count(), 0);
        chooser.TryAccept();
        EXPECT_EQ(chooser.result(), QDialog::Accepted);
    }
}

}  // namespace
}  // namespace vek::gui
