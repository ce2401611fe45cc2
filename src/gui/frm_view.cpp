#include "gui/frm_view.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QTextDocumentFragment>
#include <algorithm>

#include "display/file_view.h"
#include "gui/dialogs.h"
#include "gui/form_helpers.h"
#include "gui/twips.h"

namespace vek::gui {
namespace {

// Sizes in twips.
constexpr int kMinWidth = 8000;
constexpr int kMinHeight = 2000;
constexpr int kTextMargin = 120;
constexpr int kButtonHeight = 400;
constexpr int kCopyWidth = 3270;
constexpr int kCopySelectedWidth = 4425;

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

FrmView::FrmView(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs) {
    setObjectName("frmView");
    setWindowTitle("Viewing");
    txbText1_ = new QPlainTextEdit(this);
    txbText1_->setObjectName("txbText1");
    txbText1_->setReadOnly(true);
    txbText1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Text files line up their columns in a fixed-pitch font.
    txbText1_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    cmdCopyToClipboard_ = new QPushButton(this);
    cmdCopyToClipboard_->setObjectName("cmdCopyToClipboard");
    cmdClose_ = new QPushButton("Close", this);
    cmdClose_->setObjectName("cmdClose");
    SetCopyCaption(false);
    connect(cmdCopyToClipboard_, &QPushButton::clicked, this, &FrmView::CopyToClipboard);
    connect(cmdClose_, &QPushButton::clicked, this, &FrmView::hide);
    connect(txbText1_, &QPlainTextEdit::selectionChanged, this, &FrmView::OnSelectionChanged);
    Twips::Resize(this, kMinWidth, kMinHeight);
    ApplyLayout();
}

void FrmView::SetTexts(const ProgramTexts& texts) {
    texts_ = texts;
    textsSet_ = true;
    cmdClose_->setText(Q(texts_.ProgramText(kTextClose)));
    SetCopyCaption(txbText1_->textCursor().hasSelection() && cmdCopyToClipboard_->isVisible());
    ApplyLayout();
}

void FrmView::SetFilename(const std::string& path) {
    if (path != strFilename_) blnFileDisplayed_ = false;
    strFilename_ = path;
}

void FrmView::Display() {
    show();
    raise();
    activateWindow();
    LoadFile();
}

void FrmView::Refresh() {
    if (isVisible()) LoadFile();
}

void FrmView::LoadFile() {
    if (blnFileDisplayed_) return;
    SetCopyCaption(false);
    cmdCopyToClipboard_->setVisible(!blnCopyToClipboardInvisible_);
    cmdCopyToClipboard_->setEnabled(true);
    txbText1_->clear();
    shown_.clear();
    ApplyLayout();

    auto read = ReadViewerFile(strFilename_, texts_);
    if (!read) {
        dialogs_.Message(Q(read.message()), Q(ViewerErrorTitle(read.error(), texts_)),
                         MessageIcon::Exclamation);
        hide();
        return;
    }
    shown_ = ViewerText(read.value());
    txbText1_->setPlainText(TextBoxText(shown_));
    txbText1_->moveCursor(QTextCursor::Start);
    blnFileDisplayed_ = true;
}

void FrmView::SetCopyCaption(bool selection) {
    if (textsSet_) {
        cmdCopyToClipboard_->setText(
            Q(texts_.ProgramText(selection ? kTextCopySelectedToClipboard : kTextCopyToClipboard)));
    } else {
        cmdCopyToClipboard_->setText(selection ? "Copy selected text to clipboard"
                                               : "Copy to clipboard");
    }
    // The English captions fit these widths; a longer caption widens the
    // button to its text.
    const int width = std::max(selection ? kCopySelectedWidth : kCopyWidth,
                               Twips::FromPixels(cmdCopyToClipboard_->sizeHint().width()));
    Twips::Resize(cmdCopyToClipboard_, width, kButtonHeight);
}

void FrmView::OnSelectionChanged() {
    if (!cmdCopyToClipboard_->isVisible() || !cmdCopyToClipboard_->isEnabled()) return;
    SetCopyCaption(txbText1_->textCursor().hasSelection());
}

void FrmView::CopyToClipboard() {
    if (!txbText1_->document()->isEmpty()) {
        const QTextCursor cursor = txbText1_->textCursor();
        QString text =
            cursor.hasSelection() ? cursor.selection().toPlainText() : txbText1_->toPlainText();
        PutOnClipboard(text);
        SetCopyCaption(false);
    }
    cmdClose_->setFocus();
}

void FrmView::ApplyLayout() {
    if (layingOut_) return;
    layingOut_ = true;
    const QSize size = KeepAtLeast(this, kMinWidth, kMinHeight);
    const int width = size.width();
    const int height = size.height();
    const int boxWidth = width - 450;
    const int boxHeight = height - 1200;
    Twips::Place(txbText1_, kTextMargin, kTextMargin, boxWidth, boxHeight);
    const int buttonTop = kTextMargin + boxHeight + 100;
    Twips::Move(cmdCopyToClipboard_, kTextMargin, buttonTop);
    const int closeWidth = std::max(1400, Twips::FromPixels(cmdClose_->sizeHint().width()));
    Twips::Place(cmdClose_, kTextMargin + boxWidth - closeWidth, buttonTop, closeWidth,
                 kButtonHeight);
    layingOut_ = false;
}

void FrmView::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (!isMinimized()) ApplyLayout();
}

void FrmView::hideEvent(QHideEvent* e) {
    // A hidden viewer ends its display; the next one reads the file again.
    // Minimising (a hide the system sends) keeps it.
    if (!e->spontaneous()) blnFileDisplayed_ = false;
    QWidget::hideEvent(e);
}

void FrmView::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        hide();
        return;
    }
    QWidget::keyPressEvent(e);
}

void FrmView::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && !strFilename_.empty()) {
        LoadFile();
    }
}

}  // namespace vek::gui
