#include "gui/date_row.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <optional>
#include <initializer_list>
#include <string>
#include <vector>

#include "config/text_ids.h"
#include "gui/dialogs.h"
#include "gui/form_helpers.h"
#include "gui/twips.h"
#include "engine/geo_point.h"
#include "time/atlas.h"
#include "time/zones.h"

namespace vek::gui {

namespace {

// The columns of a date row in the window, in twips. The row's own widget
// starts at the label's left edge.
constexpr int kRowLeft = 120;
constexpr int kLabelLeft = 120, kLabelWidth = 1380;
constexpr int kMonthLeft = 1560, kMonthWidth = 1500;
constexpr int kDayLeft = 3120, kDayWidth = 660;
constexpr int kYearLeft = 3840, kYearWidth = 720;
constexpr int kHourLeft = 4620, kHourWidth = 900;
constexpr int kZoneLeft = 5580, kZoneWidth = 1560;
constexpr int kClearLeft = 7200, kClearWidth = 900;
constexpr int kControlHeight = 330;
constexpr int kLabelHeight = 270;
constexpr int kLabelDrop = 30;  // the label's text stands level with the lists'

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

std::string TwoDigits(int n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}

std::string MinuteText(int minute) {
    return TwoDigits(minute / 60) + ":" + TwoDigits(minute % 60);
}

// The entry that shows a zone beyond the list: its name, or its offset.
std::string ZoneEntryText(const TimeZone& zone) {
    return zone.IsNamed() ? zone.name : OffsetText(zone.offsetMinutes * 60);
}

// A zone as the chooser's box shows it: a name, or an offset as typed.
std::string ZoneBoxText(const TimeZone& zone) {
    if (zone.IsNamed()) return zone.name;
    const int m = zone.offsetMinutes < 0 ? -zone.offsetMinutes : zone.offsetMinutes;
    return (zone.offsetMinutes < 0 ? "-" : "+") + MinuteText(m);
}

// What the user typed, safe for a message on one line.
std::string Shown(const QString& typed) {
    std::string out;
    for (const QChar c : typed.left(40))
        out += c.unicode() >= 0x20 && c.unicode() < 0x7f ? static_cast<char>(c.unicode()) : '?';
    return typed.size() > 40 ? out + "..." : out;
}

// Replaces a list's entries, keeping its index.
void Refill(QComboBox* c, const std::vector<std::string>& entries) {
    const int keep = c->currentIndex();
    c->clear();
    for (const std::string& e : entries) c->addItem(Q(e));
    c->setCurrentIndex(keep);
}

}  // namespace

DateRowWidget::DateRowWidget(DateRows& rows, DateSlot slot, QWidget* parent)
    : QWidget(parent), rows_(rows), slot_(slot) {
    const QString n = QString::number(Index(slot));
    setObjectName("dateRow_" + n);
    Label1_ = new QLabel(this);
    Label1_->setObjectName("Label1_" + n);
    Label1_->installEventFilter(this);
    cboMonthCE_ = NewList("cboMonthCE");
    cboDayCE_ = NewList("cboDayCE");
    txbYearCE_ = new QLineEdit(this);
    txbYearCE_->setObjectName("txbYearCE_" + n);
    cboHour_ = NewList("cboHour");
    cboTimezone_ = NewList("cboTimezone");
    cmdClear_ = new QPushButton(this);
    cmdClear_->setObjectName("cmdClear_" + n);
    cmdClear_->setAutoDefault(false);
    ClickOnReturn(cmdClear_);
    ConnectControls();
}

QComboBox* DateRowWidget::NewList(const char* name) {
    auto* c = new QComboBox(this);
    c->setObjectName(QString(name) + "_" + QString::number(Index(slot_)));
    c->setMaxVisibleItems(16);
    return c;
}

void DateRowWidget::ConnectControls() {
    for (QComboBox* c : {cboMonthCE_, cboDayCE_, cboHour_, cboTimezone_}) {
        // The model follows every change the user makes, by mouse, keys or
        // wheel.
        connect(c, &QComboBox::currentIndexChanged, this, [this] {
            if (!updatingControls_) ReadLists();
        });
    }
    for (QComboBox* c : {cboMonthCE_, cboHour_, cboTimezone_}) {
        connect(c, &QComboBox::activated, this, [this] { OnListChosen(false); });
    }
    connect(cboDayCE_, &QComboBox::activated, this, [this] { OnListChosen(true); });
    connect(txbYearCE_, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (!updatingControls_) rows_.Row(slot_).yearText = t.toStdString();
    });
    connect(txbYearCE_, &QLineEdit::editingFinished, this, &DateRowWidget::YearLeft);
    connect(txbYearCE_, &QLineEdit::returnPressed, this, &DateRowWidget::YearEntered);
    connect(cmdClear_, &QPushButton::clicked, this, &DateRowWidget::ClearClicked);
}

void DateRowWidget::PlaceAt(int top) {
    // The row's widget is as high as its lists; the children are placed so
    // that they stand on the window's pixels exactly where the window's own
    // twips would put them.
    const int height = kControlHeight;
    const int width = kClearLeft + kClearWidth - kRowLeft;
    Twips::Place(this, kRowLeft, top, width, height);
    const int x0 = Twips::ToPixels(kRowLeft);
    const int y0 = Twips::ToPixels(top);
    auto place = [&](QWidget* w, int left, int dy, int wide, int high) {
        const int x = Twips::ToPixels(left) - x0;
        const int y = Twips::ToPixels(top + dy) - y0;
        w->setGeometry(x, y, Twips::ToPixels(left + wide) - Twips::ToPixels(left),
                       Twips::ToPixels(top + dy + high) - Twips::ToPixels(top + dy));
    };
    place(Label1_, kLabelLeft, kLabelDrop, kLabelWidth, kLabelHeight);
    place(cboMonthCE_, kMonthLeft, 0, kMonthWidth, kControlHeight);
    place(cboDayCE_, kDayLeft, 0, kDayWidth, kControlHeight);
    place(txbYearCE_, kYearLeft, 0, kYearWidth, kControlHeight);
    place(cboHour_, kHourLeft, 0, kHourWidth, kControlHeight);
    place(cboTimezone_, kZoneLeft, 0, kZoneWidth, kControlHeight);
    place(cmdClear_, kClearLeft, 0, kClearWidth, kControlHeight);
}

void DateRowWidget::FillLists() {
    updatingControls_ = true;
    Refill(cboMonthCE_, rows_.MonthList());
    Refill(cboDayCE_, rows_.DayList());
    Refill(cboHour_, rows_.TimeList());
    cboTimezone_->clear();
    for (const ZoneEntry& z : rows_.ZoneList()) cboTimezone_->addItem(Q(z.text), z.minutesEast);
    timeExtraShown_ = false;
    zoneExtraShown_ = false;
    if (texts_) {
        cboHour_->addItem(ChooserText(kTextOtherTime));
        cboTimezone_->addItem(ChooserText(kTextOtherZone));
    }
    updatingControls_ = false;
    ShowValues();
}

void DateRowWidget::SetChooser(Dialogs* dialogs, std::function<ProgramTexts()> texts,
                               std::function<std::string()> atlasFolder) {
    dialogs_ = dialogs;
    texts_ = std::move(texts);
    atlasFolder_ = std::move(atlasFolder);
}

QString DateRowWidget::ChooserText(TextId id) const {
    return texts_ ? Q(texts_().ProgramText(id)) : QString();
}

int DateRowWidget::ChooserTimeEntry() const {
    return texts_ ? kTimeEntries + (timeExtraShown_ ? 1 : 0) : -1;
}

int DateRowWidget::ChooserZoneEntry() const {
    return texts_ ? kZoneEntries + (zoneExtraShown_ ? 1 : 0) : -1;
}

void DateRowWidget::ShowExtraEntries() {
    const DateRowFields& r = rows_.Row(slot_);
    const bool wantTime = r.exactMinute >= 0;
    if (wantTime && !timeExtraShown_) cboHour_->insertItem(kTimeEntries, QString());
    if (!wantTime && timeExtraShown_) cboHour_->removeItem(kTimeEntries);
    timeExtraShown_ = wantTime;
    if (wantTime) cboHour_->setItemText(kTimeEntries, Q(MinuteText(r.exactMinute)));

    const bool wantZone = r.zone.has_value();
    if (wantZone && !zoneExtraShown_) cboTimezone_->insertItem(kZoneEntries, QString());
    if (!wantZone && zoneExtraShown_) cboTimezone_->removeItem(kZoneEntries);
    zoneExtraShown_ = wantZone;
    if (wantZone) cboTimezone_->setItemText(kZoneEntries, Q(ZoneEntryText(*r.zone)));
}

void DateRowWidget::ShowValues() {
    updatingControls_ = true;
    ShowExtraEntries();
    const DateRowFields& r = rows_.Row(slot_);
    cboMonthCE_->setCurrentIndex(r.monthIndex);
    cboDayCE_->setCurrentIndex(r.dayIndex);
    if (txbYearCE_->text().toStdString() != r.yearText) txbYearCE_->setText(Q(r.yearText));
    cboHour_->setCurrentIndex(r.exactMinute >= 0 ? kTimeEntries : r.timeIndex);
    cboTimezone_->setCurrentIndex(r.zone ? kZoneEntries : r.zoneIndex);
    // A zone of its own names its offset at the row's date in the tool tip.
    QString tip = r.zone ? Q(rows_.ZoneText(slot_)) : QString();
    if (r.place && texts_) {
        const std::string place = r.place->name.empty() ? GeoPointText(r.place->point)
                                                        : r.place->name + ", " +
                                                              GeoPointText(r.place->point);
        const QString line =
            Q(texts_().ProgramTextWithValues(kTextPlaceToolTip, {place, "", "", "", ""}));
        tip = tip.isEmpty() ? line : tip + "\n" + line;
    }
    if (cboTimezone_->toolTip() != tip) cboTimezone_->setToolTip(tip);
    updatingControls_ = false;
}

void DateRowWidget::ShowMonthNames() {
    updatingControls_ = true;
    const std::vector<std::string>& months = rows_.MonthList();
    for (int m = 1; m < cboMonthCE_->count() && m < static_cast<int>(months.size()); ++m) {
        cboMonthCE_->setItemText(m, Q(months[static_cast<size_t>(m)]));
    }
    if (texts_ && ChooserTimeEntry() < cboHour_->count() &&
        ChooserZoneEntry() < cboTimezone_->count()) {
        cboHour_->setItemText(ChooserTimeEntry(), ChooserText(kTextOtherTime));
        cboTimezone_->setItemText(ChooserZoneEntry(), ChooserText(kTextOtherZone));
    }
    updatingControls_ = false;
}

namespace {

// Why the chooser's time and zone cannot be taken for row `slot`, in the
// language of `texts`; empty when they can.
QString TimeAndZoneProblem(const DateRows& rows, DateSlot slot, const ProgramTexts& texts,
                           const QString& time, const QString& zone) {
    DateRows probe = rows;
    const Status s = probe.SetTimeAndZone(slot, time.toStdString(), zone.toStdString());
    if (s) return QString();
    const bool badTime = s.error().code == kErrorBadTime;
    return Q(texts.ProgramTextWithValues(badTime ? kTextBadMinuteTime : kTextBadZone,
                                         {Shown(badTime ? time : zone), "", "", "", ""}));
}

// A row's place as the chooser's box shows it: the city's title, or the
// coordinates typed.
QString PlaceBoxText(const DateRowFields& r) {
    if (!r.place) return QString();
    return Q(r.place->name.empty() ? GeoPointText(r.place->point) : r.place->name);
}

// The cities of the atlas that the chooser lists for a text; none for
// coordinates, and none (with the reason in `failure`) when the atlas
// cannot be read.
constexpr size_t kMostPlaces = 30;
std::vector<PlaceEntry> PlacesMatching(const std::string& folder, const QString& text,
                                       bool german, std::string& failure) {
    std::vector<PlaceEntry> out;
    const std::string typed = text.trimmed().toStdString();
    if (typed.empty() || ParseGeoPoint(typed)) return out;
    const Result<const Atlas*> atlas = ProgramAtlas(folder);
    if (!atlas) {
        failure = atlas.message();
        return out;
    }
    for (const AtlasPlace* p : (*atlas)->Find(typed, kMostPlaces)) {
        PlaceEntry e;
        e.title = Q(AtlasPlaceTitle(*p, german));
        e.coordinates = Q(GeoPointText(p->point));
        e.zone = Q(p->zone);
        e.latitude = p->point.latitude;
        e.longitude = p->point.longitude;
        out.push_back(std::move(e));
    }
    return out;
}

// Why the place box's text cannot be taken; empty when it can: no text
// (no place), the row's place as it was shown, or coordinates.
QString PlaceProblem(const QString& shownAtFirst, const QString& place,
                     const ProgramTexts& texts) {
    const QString t = place.trimmed();
    if (t.isEmpty() || t == shownAtFirst || ParseGeoPoint(t.toStdString())) return QString();
    return Q(texts.ProgramTextWithValues(kTextBadPlace, {Shown(t), "", "", "", ""}));
}

// The chooser's texts, the row's time and zone to start from, the zones
// matching a search with their offsets, and the check of an answer.
Dialogs::TimeAndZoneRequest TimeAndZoneRequestOf(DateRows& rows, DateSlot slot,
                                                 const ProgramTexts& texts,
                                                 const std::string& atlasFolder) {
    auto pt = [&](TextId id) { return Q(texts.ProgramText(id)); };
    const std::string slotName = texts.ProgramText(TextIdAt(kTextWorldDate, Index(slot)));
    const DateRowFields& r = rows.Row(slot);

    Dialogs::TimeAndZoneRequest request;
    request.title =
        Q(texts.ProgramTextWithValues(kTextTimeAndZoneTitle, {slotName, "", "", "", ""}));
    request.timeLabel = pt(kTextTimeLabel);
    request.zoneLabel = pt(kTextZoneSearchLabel);
    request.okText = pt(kTextOK);
    request.cancelText = pt(kTextCancel);
    request.noMatchText = pt(kTextZoneChooserEmpty);
    const int minute = MinuteOfDay(r);
    if (minute >= 0) request.time = Q(MinuteText(minute));
    if (r.zone) {
        request.zone = Q(ZoneBoxText(*r.zone));
    } else if (r.zoneIndex > 0 && r.zoneIndex < kZoneEntries) {
        const std::string& listed = rows.ZoneList()[static_cast<size_t>(r.zoneIndex)].text;
        if (listed.rfind("GMT", 0) == 0) request.zone = Q(listed);
    }
    // The offsets the list shows are those in force on the row's date (at
    // noon Universal Time); without a date, today's.
    const Result<double> day = rows.LocalDayValue(slot);
    const double instant = day ? std::floor(*day) : std::floor(CurrentJulianDate() + 0.5);
    request.zonesMatching = [instant](const QString& text) {
        std::vector<std::pair<QString, QString>> out;
        for (const std::string& name : MatchingZoneNames(text.toStdString())) {
            const Result<int32_t> offset = OffsetAtInstant(instant, TimeZone::Named(name));
            out.emplace_back(Q(name), offset ? Q(OffsetText(*offset)) : QString());
        }
        return out;
    };
    request.check = [&rows, slot, texts](const QString& time, const QString& zone) {
        return TimeAndZoneProblem(rows, slot, texts, time, zone);
    };
    request.placeLabel = pt(kTextPlaceLabel);
    request.placeNoMatchText = pt(kTextPlaceNoMatch);
    request.place = PlaceBoxText(r);
    if (!atlasFolder.empty()) {
        const bool german = rows.Language() == kGerman;
        request.placesMatching = [atlasFolder, german, texts](const QString& text) {
            std::string failure;
            std::vector<PlaceEntry> found = PlacesMatching(atlasFolder, text, german, failure);
            if (!failure.empty()) {
                PlaceEntry why;
                why.title = Q(texts.ProgramTextWithValues(kTextAtlasUnreadable,
                                                          {failure, "", "", "", ""}));
                found.push_back(why);
            }
            return found;
        };
    }
    request.checkPlace = [shown = request.place, texts](const QString& place) {
        return PlaceProblem(shown, place, texts);
    };
    return request;
}

// The place of a checked answer into the row: the city picked, the
// coordinates typed, none for an empty box; the place shown at first stays.
void TakePlace(DateRowFields& row, const QString& shownAtFirst, const Dialogs::TimeAndZone& a) {
    if (a.city && !a.city->zone.isEmpty()) {
        row.place = RowPlace{a.city->title.toStdString(), {a.city->latitude, a.city->longitude}};
        return;
    }
    const QString t = a.place.trimmed();
    if (t.isEmpty()) {
        row.place.reset();
    } else if (t != shownAtFirst) {
        if (const Result<GeoPoint> p = ParseGeoPoint(t.toStdString())) row.place = RowPlace{"", *p};
    }
}

}  // namespace

void DateRowWidget::ChooseTimeAndZone() {
    if (!dialogs_ || !texts_) return;
    const ProgramTexts texts = texts_();
    const std::string folder = atlasFolder_ ? atlasFolder_() : std::string();
    const Dialogs::TimeAndZoneRequest request = TimeAndZoneRequestOf(rows_, slot_, texts, folder);
    const std::optional<Dialogs::TimeAndZone> answer = dialogs_->AskTimeAndZone(request);
    bool changed = false;
    if (answer) {
        QString why = TimeAndZoneProblem(rows_, slot_, texts, answer->time, answer->zone);
        const bool city = answer->city && !answer->city->zone.isEmpty();
        if (why.isEmpty() && !city) why = PlaceProblem(request.place, answer->place, texts);
        if (why.isEmpty()) {
            const std::optional<RowPlace> before = rows_.Row(slot_).place;
            changed = static_cast<bool>(rows_.SetTimeAndZone(slot_, answer->time.toStdString(),
                                                             answer->zone.toStdString()));
            TakePlace(rows_.Row(slot_), request.place, *answer);
            changed = changed || rows_.Row(slot_).place != before;
        } else {
            dialogs_->Message(why, Q(texts.ProgramText(kTextInputErrorTitle)),
                              MessageIcon::Information);
        }
    }
    ShowValues();
    RefreshWeekdayToolTip();
    if (changed) emit Edited();
}

bool DateRowWidget::AskFoldIfNeeded() {
    DateRowFields& r = rows_.Row(slot_);
    if (!r.zone || r.fold != Fold::Ask || !dialogs_ || !texts_) return true;
    const Result<LocalTimeMeaning> meaning = rows_.MeaningOfRowTime(slot_);
    if (!meaning || meaning->kind == LocalTimeMeaning::Unique) return true;
    const ProgramTexts texts = texts_();
    // A time with a meaning in the zone has a valid date.
    const Result<double> day = rows_.LocalDayValue(slot_);
    if (!day) return true;
    const std::string date =
        DateText(static_cast<int32_t>(std::floor(*day)), false, rows_.Language());
    const TextId question =
        meaning->kind == LocalTimeMeaning::Gap ? kTextTimeSkipped : kTextTimeTwice;
    auto choice = [](int32_t offset, const std::string& abbreviation) {
        std::string text = OffsetText(offset);
        if (!abbreviation.empty() && abbreviation[0] != '+' && abbreviation[0] != '-')
            text += " (" + abbreviation + ")";
        return Q(text);
    };
    const std::optional<int> chosen = dialogs_->Choose(
        Q(texts.ProgramTextWithValues(
            question, {date, MinuteText(MinuteOfDay(r)), ZoneEntryText(*r.zone), "", ""})),
        Q(texts.ProgramText(kTextOffsetQuestionTitle)),
        {choice(meaning->earlierOffset, meaning->earlierAbbreviation),
         choice(meaning->laterOffset, meaning->laterAbbreviation)});
    if (!chosen) return false;
    r.fold = *chosen == 0 ? Fold::Earlier : Fold::Later;
    ShowValues();
    return true;
}

void DateRowWidget::SetTexts(const QString& label, const QString& clear) {
    Label1_->setText(label);
    cmdClear_->setText(clear);
}

void DateRowWidget::RefreshWeekdayToolTip() {
    cboDayCE_->setToolTip(Q(rows_.WeekdayToolTip(slot_)));
}

void DateRowWidget::Tick() {
    DateRowFields& r = rows_.Row(slot_);
    const std::string digits = DigitsOnly(r.yearText);
    if (digits != r.yearText) {
        r.yearText = digits;
        ShowValues();
    }
    cmdClear_->setVisible(rows_.HasAnyValue(slot_));
    RefreshWeekdayToolTip();
    ShowValues();
}

void DateRowWidget::Clear() {
    rows_.Row(slot_) = DateRowFields();
    ShowValues();
}

void DateRowWidget::ReadLists() {
    DateRowFields& r = rows_.Row(slot_);
    r.monthIndex = std::max(0, cboMonthCE_->currentIndex());
    r.dayIndex = std::max(0, cboDayCE_->currentIndex());
    // An entry of the list replaces a time or zone beyond it; the entries
    // after the list (the row's own, the chooser) leave the model as it is.
    const int hour = std::max(0, cboHour_->currentIndex());
    if (hour < kTimeEntries) {
        if (r.exactMinute >= 0 || r.timeIndex != hour) r.fold = Fold::Ask;
        r.timeIndex = hour;
        r.exactMinute = -1;
    }
    const int zone = std::max(0, cboTimezone_->currentIndex());
    if (zone < kZoneEntries) {
        if (r.zone) r.fold = Fold::Ask;
        r.zoneIndex = zone;
        r.zone.reset();
    }
}

void DateRowWidget::OnListChosen(bool daySelected) {
    if (updatingControls_) return;
    ReadLists();
    if (texts_ && (cboHour_->currentIndex() == ChooserTimeEntry() ||
                   cboTimezone_->currentIndex() == ChooserZoneEntry())) {
        // The lists show the row again after the chooser, whatever it gives.
        ChooseTimeAndZone();
        return;
    }
    ShowValues();
    if (daySelected) RefreshWeekdayToolTip();
    emit Edited();
}

bool DateRowWidget::eventFilter(QObject* watched, QEvent* e) {
    if (watched == Label1_ && e->type() == QEvent::MouseButtonRelease) {
        emit LabelClicked();
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

}  // namespace vek::gui
