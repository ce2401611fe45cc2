#include "gui/frm_zone.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vek::gui {

namespace {

// The zone's name rides on the entry; the text adds its offset.
constexpr int kZoneNameRole = Qt::UserRole;
// More entries than anyone reads: the search narrows them first.
constexpr int kMostEntries = 400;

// The look of the window the chooser is opened from: its font (the lists'
// and boxes' own), its background and its icon.
void TakeLookOf(QDialog& chooser, QWidget* parent) {
    QWidget* main = parent ? parent->window() : nullptr;
    if (!main) return;
    chooser.setFont(main->font());
    chooser.setPalette(main->palette());
    chooser.setWindowIcon(main->windowIcon());
}

}  // namespace

FrmZone::FrmZone(const TimeAndZoneRequest& request, QWidget* parent)
    : QDialog(parent), request_(request) {
    setObjectName("frmZone");
    setWindowTitle(request.title);
    TakeLookOf(*this, parent);
    auto* layout = new QVBoxLayout(this);
    auto* timeRow = new QHBoxLayout;
    auto* lblTime = new QLabel(request.timeLabel, this);
    lblTime->setObjectName("lblTime");
    txbTime_ = new QLineEdit(request.time, this);
    txbTime_->setObjectName("txbTime");
    txbTime_->setMaxLength(16);
    lblTime->setBuddy(txbTime_);
    timeRow->addWidget(lblTime);
    timeRow->addWidget(txbTime_, 1);
    layout->addLayout(timeRow);

    auto* lblZone = new QLabel(request.zoneLabel, this);
    lblZone->setObjectName("lblZoneSearch");
    layout->addWidget(lblZone);
    txbZoneSearch_ = new QLineEdit(request.zone, this);
    txbZoneSearch_->setObjectName("txbZoneSearch");
    txbZoneSearch_->setMaxLength(64);
    lblZone->setBuddy(txbZoneSearch_);
    layout->addWidget(txbZoneSearch_);
    lstZones_ = new QListWidget(this);
    lstZones_->setObjectName("lstZones");
    lstZones_->setMinimumHeight(lstZones_->fontMetrics().height() * 10);
    lstZones_->setMinimumWidth(lstZones_->fontMetrics().averageCharWidth() * 44);
    layout->addWidget(lstZones_, 1);
    AddPlaceControls(layout);
    lblZoneError_ = new QLabel(this);
    lblZoneError_->setObjectName("lblZoneError");
    lblZoneError_->setStyleSheet("color: #b00000");
    lblZoneError_->setWordWrap(true);
    layout->addWidget(lblZoneError_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    cmdOK_ = new QPushButton(request.okText, this);
    cmdOK_->setObjectName("cmdOK");
    cmdOK_->setDefault(true);
    cmdCancel_ = new QPushButton(request.cancelText, this);
    cmdCancel_->setObjectName("cmdCancel");
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel_);
    layout->addLayout(buttons);

    ConnectControls();
    FillList(request.zone);
    txbZoneSearch_->setFocus();
}

void FrmZone::AddPlaceControls(QVBoxLayout* layout) {
    auto* lblPlace = new QLabel(request_.placeLabel, this);
    lblPlace->setObjectName("lblPlace");
    layout->addWidget(lblPlace);
    txbPlace_ = new QLineEdit(request_.place, this);
    txbPlace_->setObjectName("txbPlace");
    txbPlace_->setMaxLength(80);
    lblPlace->setBuddy(txbPlace_);
    layout->addWidget(txbPlace_);
    lstPlaces_ = new QListWidget(this);
    lstPlaces_->setObjectName("lstPlaces");
    lstPlaces_->setMinimumHeight(lstPlaces_->fontMetrics().height() * 6);
    // Wide enough for a city, its state and country, coordinates and zone.
    lstPlaces_->setMinimumWidth(lstPlaces_->fontMetrics().averageCharWidth() * 80);
    layout->addWidget(lstPlaces_);
}

void FrmZone::FillPlaces(const QString& search) {
    lstPlaces_->clear();
    places_.clear();
    const QString text = search.trimmed();
    if (text.isEmpty() || !request_.placesMatching) return;
    places_ = request_.placesMatching(text);
    for (const PlaceEntry& p : places_) {
        auto* item = new QListWidgetItem(
            p.zone.isEmpty() ? p.title : p.title + "    " + p.coordinates + "    " + p.zone,
            lstPlaces_);
        // An entry without a zone is a message (the atlas cannot be read).
        if (p.zone.isEmpty()) item->setFlags(Qt::NoItemFlags);
    }
    if (places_.empty()) {
        // Coordinates find no city and need no word about it.
        if (text.front().isLetter()) {
            auto* item = new QListWidgetItem(request_.placeNoMatchText, lstPlaces_);
            item->setFlags(Qt::NoItemFlags);
        }
        return;
    }
    if (places_.front().zone.isEmpty()) return;
    lstPlaces_->setCurrentRow(0);
    TakeZoneOfPlace();
}

void FrmZone::TakeZoneOfPlace() {
    const int row = lstPlaces_->currentRow();
    if (row < 0 || row >= static_cast<int>(places_.size())) return;
    const QString& zone = places_[static_cast<size_t>(row)].zone;
    if (zone.isEmpty()) return;
    txbZoneSearch_->setText(zone);
    FillList(zone);
}

void FrmZone::ConnectControls() {
    connect(txbPlace_, &QLineEdit::textEdited, this, [this](const QString& t) {
        lblZoneError_->clear();
        FillPlaces(t);
    });
    connect(lstPlaces_, &QListWidget::itemClicked, this, [this] { TakeZoneOfPlace(); });
    connect(lstPlaces_, &QListWidget::currentRowChanged, this, [this] {
        if (lstPlaces_->hasFocus()) TakeZoneOfPlace();
    });
    connect(lstPlaces_, &QListWidget::itemDoubleClicked, this, [this] { TryAccept(); });
    connect(txbZoneSearch_, &QLineEdit::textEdited, this, [this](const QString& t) {
        lblZoneError_->clear();
        FillList(t);
    });
    connect(txbTime_, &QLineEdit::textEdited, this, [this] { lblZoneError_->clear(); });
    connect(lstZones_, &QListWidget::itemDoubleClicked, this, [this] { TryAccept(); });
    connect(cmdOK_, &QPushButton::clicked, this, &FrmZone::TryAccept);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void FrmZone::FillList(const QString& search) {
    lstZones_->clear();
    if (!request_.zonesMatching) return;
    const auto zones = request_.zonesMatching(search.trimmed());
    int shown = 0;
    for (const auto& [name, offset] : zones) {
        if (++shown > kMostEntries) break;
        auto* item = new QListWidgetItem(name + "    " + offset, lstZones_);
        item->setData(kZoneNameRole, name);
    }
    if (zones.empty()) {
        auto* item = new QListWidgetItem(request_.noMatchText, lstZones_);
        item->setFlags(Qt::NoItemFlags);
        return;
    }
    // The one that matches the text exactly, else the first, is picked.
    int pick = 0;
    for (int i = 0; i < lstZones_->count(); ++i) {
        if (lstZones_->item(i)->data(kZoneNameRole).toString().compare(search.trimmed(),
                                                                        Qt::CaseInsensitive) == 0)
            pick = i;
    }
    lstZones_->setCurrentRow(pick);
}

TimeAndZone FrmZone::Answer() const {
    TimeAndZone a;
    a.time = txbTime_->text().trimmed();
    const QString typed = txbZoneSearch_->text().trimmed();
    const QListWidgetItem* picked = lstZones_->currentItem();
    // An offset is taken as typed; a name from the list as it is spelled
    // there, so "berl" gives Europe/Berlin.
    const bool offset = typed.startsWith('+') || typed.startsWith('-') ||
                        typed.startsWith("GMT", Qt::CaseInsensitive) || typed == "Z";
    if (!offset && picked && !picked->data(kZoneNameRole).toString().isEmpty())
        a.zone = picked->data(kZoneNameRole).toString();
    else
        a.zone = typed;
    a.place = txbPlace_->text().trimmed();
    const int row = lstPlaces_->currentRow();
    if (row >= 0 && row < static_cast<int>(places_.size()) &&
        !places_[static_cast<size_t>(row)].zone.isEmpty())
        a.city = places_[static_cast<size_t>(row)];
    return a;
}

void FrmZone::TryAccept() {
    const TimeAndZone a = Answer();
    const QString problem = request_.check ? request_.check(a.time, a.zone) : QString();
    if (!problem.isEmpty()) {
        lblZoneError_->setText(problem);
        return;
    }
    if (!a.city && request_.checkPlace) {
        const QString placeProblem = request_.checkPlace(a.place);
        if (!placeProblem.isEmpty()) {
            lblZoneError_->setText(placeProblem);
            return;
        }
    }
    accept();
}

}  // namespace vek::gui
