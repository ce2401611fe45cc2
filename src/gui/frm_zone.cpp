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

}  // namespace

FrmZone::FrmZone(const TimeAndZoneRequest& request, QWidget* parent)
    : QDialog(parent), request_(request) {
    setObjectName("frmZone");
    setWindowTitle(request.title);
    // The main window's look: its font (the lists' and boxes' own), its
    // background and icon.
    if (QWidget* main = parent ? parent->window() : nullptr) {
        setFont(main->font());
        setPalette(main->palette());
        setWindowIcon(main->windowIcon());
    }
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

    connect(txbZoneSearch_, &QLineEdit::textEdited, this, [this](const QString& t) {
        lblZoneError_->clear();
        FillList(t);
    });
    connect(txbTime_, &QLineEdit::textEdited, this, [this] { lblZoneError_->clear(); });
    connect(lstZones_, &QListWidget::itemDoubleClicked, this, [this] { TryAccept(); });
    connect(cmdOK_, &QPushButton::clicked, this, &FrmZone::TryAccept);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
    FillList(request.zone);
    txbZoneSearch_->setFocus();
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
    return a;
}

void FrmZone::TryAccept() {
    const TimeAndZone a = Answer();
    const QString problem = request_.check ? request_.check(a.time, a.zone) : QString();
    if (!problem.isEmpty()) {
        lblZoneError_->setText(problem);
        return;
    }
    accept();
}

}  // namespace vek::gui
