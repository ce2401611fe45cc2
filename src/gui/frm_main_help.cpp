// "Help": the help file of the interface language in the text viewer; and the
// link under the table that opens the user manual in the web browser.
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

#include "config/weblink.h"
#include "display/file_view.h"
#include "gui/dialogs.h"
#include "gui/frm_main.h"
#include "gui/frm_view.h"
#include "gui/twips.h"

namespace vek::gui {

void FrmMain::OnHelp() {
    if (!frmView_) frmView_ = new FrmView(dialogs_, this);
    if (frmView_->isMinimized()) frmView_->showNormal();
    // A viewer in its normal state is laid over the main window; a maximised
    // one stays maximised.
    if (!frmView_->isMaximized() && !frmView_->isFullScreen()) {
        Twips::Place(frmView_, Twips::Left(this) + 100, Twips::Top(this) + 380,
                     Twips::Width(this) - 200, Twips::Height(this) - 480);
    }
    frmView_->SetFilename(HelpFilePath(env_.dataFolder, state_.language));
    frmView_->setWindowTitle(cmdHelp_->text());
    frmView_->SetCopyToClipboardInvisible(true);
    frmView_->SetTexts(state_.Texts());
    frmView_->Display();
}

void FrmMain::CreateManualLink() {
    lblUserManual_ = new QLabel(this);
    lblUserManual_->setObjectName("lblUserManual");
    lblURL_ = new QLabel(this);
    lblURL_->setObjectName("lblURL");
    lblURL_->setTextFormat(Qt::RichText);
    lblURL_->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    lblURL_->setOpenExternalLinks(false);
    connect(lblURL_, &QLabel::linkActivated, this, [this] { OnManualLink(); });
    lblUserManual_->hide();
    lblURL_->hide();
}

// The label and the link stand under the table, the label first; the texts
// are those of the interface language, and the label's width follows its
// text, so the link never overlaps it.
void FrmMain::ArrangeManualLink(bool shown, int left, int top) {
    constexpr int kHeight = 270;
    constexpr int kGap = 100;
    const QString page = QString::fromStdString(ManualPagePath(env_.dataFolder, state_.language));
    lblUserManual_->setText(PT(kTextUserManual));
    lblURL_->setText("<a href=\"" + page.toHtmlEscaped() + "\">" + page.toHtmlEscaped() + "</a>");
    lblURL_->setToolTip(page);
    const int labelWidth = Twips::FromPixels(lblUserManual_->sizeHint().width());
    const int linkWidth = Twips::FromPixels(lblURL_->sizeHint().width());
    Twips::Place(lblUserManual_, left, top, labelWidth, kHeight);
    Twips::Place(lblURL_, left + labelWidth + kGap, top, linkWidth, kHeight);
    // World transits and natal aspects only, and only with the table shown.
    lblUserManual_->setVisible(shown);
    lblURL_->setVisible(shown);
}

void FrmMain::OnManualLink() {
    const std::string page = ManualPagePath(env_.dataFolder, state_.language);
    const QUrl url = QUrl::fromLocalFile(QString::fromStdString(page));
    const bool opened = env_.openUrl ? env_.openUrl(url) : QDesktopServices::openUrl(url);
    if (!opened) {
        // Qt does not say why; the usual reason is that no program is
        // associated with web pages.
        dialogs_.Message(QString::fromStdString(BrowserLaunchErrorText(kLaunchNoAssociation, page)),
                         kBrowserLaunchErrorTitle, MessageIcon::Exclamation);
    }
}

}  // namespace vek::gui
