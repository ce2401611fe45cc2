#include "gui/date_row.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "gui/form_helpers.h"
#include "gui/twips.h"

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
    auto place = [&](QWidget* w, int left, int dy, int w_, int h) {
        const int x = Twips::ToPixels(left) - x0;
        const int y = Twips::ToPixels(top + dy) - y0;
        w->setGeometry(x, y, Twips::ToPixels(left + w_) - Twips::ToPixels(left),
                       Twips::ToPixels(top + dy + h) - Twips::ToPixels(top + dy));
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
    updatingControls_ = false;
    ShowValues();
}

void DateRowWidget::ShowValues() {
    updatingControls_ = true;
    const DateRowFields& r = rows_.Row(slot_);
    cboMonthCE_->setCurrentIndex(r.monthIndex);
    cboDayCE_->setCurrentIndex(r.dayIndex);
    if (txbYearCE_->text().toStdString() != r.yearText) txbYearCE_->setText(Q(r.yearText));
    cboHour_->setCurrentIndex(r.timeIndex);
    cboTimezone_->setCurrentIndex(r.zoneIndex);
    updatingControls_ = false;
}

void DateRowWidget::ShowMonthNames() {
    updatingControls_ = true;
    const std::vector<std::string>& months = rows_.MonthList();
    for (int m = 1; m < cboMonthCE_->count() && m < static_cast<int>(months.size()); ++m) {
        cboMonthCE_->setItemText(m, Q(months[static_cast<size_t>(m)]));
    }
    updatingControls_ = false;
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
    r.timeIndex = std::max(0, cboHour_->currentIndex());
    r.zoneIndex = std::max(0, cboTimezone_->currentIndex());
}

void DateRowWidget::OnListChosen(bool daySelected) {
    if (updatingControls_) return;
    ReadLists();
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
