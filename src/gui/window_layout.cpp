#include "gui/window_layout.h"

#include <QLabel>
#include <QResizeEvent>
#include <QScreen>
#include <QTextEdit>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "gui/chart_view.h"
#include "gui/main_controls.h"
#include "gui/table_grid.h"
#include "gui/twips.h"
#include "gui/view_state.h"

namespace vek::gui {

using namespace main_layout;

MainWindowLayout::MainWindowLayout(QWidget* window, QWidget* content, const MainControls& ui,
                                   const ViewState& view, std::function<bool()> chartShown)
    : window_(window), content_(content), ui_(ui), view_(view), chartShown_(std::move(chartShown)) {}

ManualLinkPlace MainWindowLayout::ArrangeReportArea(bool twoCharts) {
    const int tableLeft = Twips::Left(ui_.picTable);
    const int tableTop = Twips::Top(ui_.picTable);
    const int tableWidth = Twips::Width(ui_.picTable);
    const int tableHeight = Twips::Height(ui_.picTable);
    if (!twoCharts) {
        ui_.txbReport->show();
        ui_.txbReport1->hide();
        Twips::Place(ui_.txbReport, tableLeft + tableWidth + 120, tableTop, kReportWidth,
                     tableHeight);
        const int statusTop = tableTop + tableHeight + 150;
        Twips::Place(ui_.lblStatus, tableLeft, statusTop, tableWidth + 200 + kReportWidth,
                     kLabelHeight);
        ui_.lblStatus->setVisible(ui_.picTable->isVisible());
        heightLimit_ = statusTop + kLabelHeight + 700;
        widthLimit_ = Twips::Left(ui_.txbReport) + kReportWidth + 350;
        return {ui_.picTable->isVisible(), tableLeft, statusTop + kLabelHeight + 80};
    }
    ui_.txbReport1->show();
    ui_.txbReport->hide();
    // Below the table, or below the chart with its legend when that is
    // taller.
    const int chartBottom =
        chartShown_() ? Twips::Top(ui_.picGraphic) + Twips::Height(ui_.picGraphic) : 0;
    Twips::Place(ui_.txbReport1, tableLeft, std::max(tableTop + tableHeight, chartBottom) + 120,
                 tableWidth, 360);
    heightLimit_ = Twips::Top(ui_.txbReport1) + Twips::Height(ui_.txbReport1) + 700;
    widthLimit_ = Twips::Left(ui_.txbReport) + kReportWidth + 200;
    ui_.lblStatus->hide();
    return {};
}

void MainWindowLayout::ApplySizeLimits(bool growToFit) {
    const QSize limit(Twips::ToPixels(widthLimit_), Twips::ToPixels(heightLimit_));
    const QSize lower(Twips::ToPixels(kMinWidth), Twips::ToPixels(kMinHeight));
    // A limit below the lower bound wins; a window may be made as large as
    // the user likes (the chart grows with it), and the layout scrolls in a
    // window smaller than it.
    window_->setMinimumSize(lower.boundedTo(limit).boundedTo(FitOnScreen(lower)));
    window_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    content_->setMinimumSize(limit);
    // When the table's layout changes the window follows it, as far as the
    // screen allows, so that nothing it shows is cut off, until the user
    // gives it a size of their own: that size is kept through every change
    // of mode and view (what does not fit scrolls).
    const bool layoutChanged = widthLimit_ != lastWidthLimit_ || heightLimit_ != lastHeightLimit_;
    if (growToFit || (layoutChanged && !userSized_)) {
        layoutSize_ = FitOnScreen(limit);
        userSized_ = false;
        RequestSize(layoutSize_);
    }
    lastWidthLimit_ = widthLimit_;
    lastHeightLimit_ = heightLimit_;
}

void MainWindowLayout::ApplyResizeRule() {
    if (window_->isMinimized() || !view_.blnStartupCompleted) return;
    int w = Twips::FromPixels(window_->width());
    int h = Twips::FromPixels(window_->height());
    // The smallest size holds (unless the layout itself is smaller, or the
    // screen); larger is the user's choice.
    w = std::max(w, std::min(kMinWidth, widthLimit_));
    h = std::max(h, std::min(kMinHeight, heightLimit_));
    const QSize screenFit = FitOnScreen(QSize(Twips::ToPixels(w), Twips::ToPixels(h)));
    w = std::min(w, Twips::FromPixels(screenFit.width()));
    h = std::min(h, Twips::FromPixels(screenFit.height()));
    const QSize target(Twips::ToPixels(w), Twips::ToPixels(h));
    if (target != window_->size()) RequestSize(target);
}

void MainWindowLayout::RequestSize(QSize size) {
    requestedSize_ = size;
    requestedAt_.start();
    reRequests_ = 0;
    window_->resize(size);
}

void MainWindowLayout::PlaceAtTopLeft() {
    // move() places a window by its frame; once the window is shown, the
    // frame is known and its position is set for the frame as well, so that
    // a window manager keeps the title bar on the screen.
    const QScreen* s = window_->screen();
    const QPoint corner = s ? s->availableGeometry().topLeft() : QPoint(0, 0);
    window_->move(corner);
    if (window_->windowHandle()) window_->windowHandle()->setFramePosition(corner);
}

void MainWindowLayout::RestorePlace(const QRect& place) {
    if (place.isEmpty()) return;
    window_->move(place.topLeft());
    if (window_->windowHandle()) window_->windowHandle()->setFramePosition(place.topLeft());
    // Within the window's own limits.
    RequestSize(place.size().expandedTo(window_->minimumSize()).boundedTo(window_->maximumSize()));
}

void MainWindowLayout::Resized(const QResizeEvent& e) {
    // For a moment after the program asked for a size, a window manager
    // may still report sizes the window had on the way (the one it was
    // mapped with, the least size), even after the one asked for: they are
    // history, not the user's choice, and the size asked for is asked again.
    bool stale = false;
    if (e.spontaneous() && requestedSize_.isValid()) {
        if (requestedAt_.elapsed() >= kRequestedSizeMs) {
            requestedSize_ = QSize();
        } else if (e.size() != requestedSize_) {
            stale = true;
            if (++reRequests_ <= kReRequests) window_->resize(requestedSize_);
        }
    }
    if (!stale) {
        // A size other than the layout's once the window is up is the
        // user's (dragged, or set by the window manager).
        if (view_.blnStartupCompleted && !window_->isMinimized() && !window_->isMaximized() &&
            !window_->isFullScreen())
            userSized_ = e.size() != layoutSize_;
        ApplyResizeRule();
    }
    ApplyEnlargement();
}

QSize MainWindowLayout::FitOnScreen(QSize wanted) const {
    const QScreen* s = window_->screen();
    if (!s) return wanted;
    // The frame around the window: known once the window manager has framed
    // it, else a usual title bar and border.
    QSize frame = window_->frameGeometry().size() - window_->geometry().size();
    if (frame.width() <= 0 && frame.height() <= 0) frame = QSize(10, 40);
    return wanted.boundedTo(s->availableGeometry().size() - frame);
}

void MainWindowLayout::ApplyEnlargement() {
    if (!view_.blnStartupCompleted || widthLimit_ <= 0 || heightLimit_ <= 0) return;
    if (!chartShown_()) return;
    // The room beyond the layout, in whole pixels: none leaves every box at
    // its design size.
    const int dwPixels = std::max(0, window_->width() - Twips::ToPixels(widthLimit_));
    const int dhPixels = std::max(0, window_->height() - Twips::ToPixels(heightLimit_));
    const int dw = dwPixels > 0 ? Twips::FromPixels(dwPixels) : 0;
    const int dh = dhPixels > 0 ? Twips::FromPixels(dhPixels) : 0;
    const WheelGeometry& g = ui_.picGraphic->Wheel().geometry;
    Twips::Resize(ui_.picGraphic, g.width + dw, g.height + ui_.picGraphic->Band() + dh);
    const int tableTop = Twips::Top(ui_.picTable);
    const int tableLeft = Twips::Left(ui_.picTable);
    const int tableWidth = Twips::Width(ui_.picTable);
    const int tableHeight = Twips::Height(ui_.picTable);
    // What stands right of the chart and below it moves aside by the room
    // it takes.
    if (ui_.txbReport->isVisible()) {
        Twips::Place(ui_.txbReport, tableLeft + tableWidth + 120 + dw, tableTop, kReportWidth,
                     tableHeight + dh);
    }
    if (ui_.txbReport1->isVisible()) {
        const int chartBottom = Twips::Top(ui_.picGraphic) + Twips::Height(ui_.picGraphic);
        Twips::Place(ui_.txbReport1, tableLeft, std::max(tableTop + tableHeight, chartBottom) + 120,
                     tableWidth + dw, 360);
    }
    ui_.picGraphic->update();
}

}  // namespace vek::gui
