// "Help": the help file of the interface language in the text viewer; and the
// link under the table that opens the user manual in the web browser.
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

#include "config/weblink.h"
#include "display/file_view.h"
#include "gui/dialogs.h"
#include "gui/form_helpers.h"
#include "gui/frm_durations.h"
#include "gui/frm_main.h"
#include "gui/frm_view.h"
#include "gui/twips.h"

namespace vek::gui {

void FrmMain::OnHelp() {
    if (!frmView_) {
        frmView_ = new FrmView(dialogs_, this);
        KeepFramesOnScreen(frmView_);
    }
    if (frmView_->isMinimized()) frmView_->showNormal();
    // A viewer in its normal state is laid over the main window; a maximised
    // one stays maximised.
    if (!frmView_->isMaximized() && !frmView_->isFullScreen()) {
        Twips::Place(frmView_, Twips::Left(this) + 100, Twips::Top(this) + 380,
                     Twips::Width(this) - 200, Twips::Height(this) - 480);
    }
    frmView_->SetFilename(HelpFilePath(env_.dataFolder, state_.language));
    frmView_->setWindowTitle(ui_.cmdHelp->text());
    frmView_->SetCopyToClipboardInvisible(true);
    frmView_->SetTexts(state_.Texts());
    frmView_->Display();
}

void FrmMain::RetranslateOpenWindows() {
    ShowStatusText();
    if (frmView_ && frmView_->isVisible()) {
        frmView_->SetTexts(state_.Texts());
        // The help viewer shows the help of the new language.
        const std::string help = HelpFilePath(env_.dataFolder, state_.language);
        if (frmView_->Filename() == HelpFilePath(env_.dataFolder, OtherLanguage(state_.language)) ||
            frmView_->Filename() == help) {
            frmView_->setWindowTitle(ui_.cmdHelp->text());
            frmView_->SetFilename(help);
            frmView_->Refresh();
        }
    }
    if (frmDurations_ && frmDurations_->isVisible() && view_.computedMode != Mode::None)
        frmDurations_->Retranslate(DurationsRequestOfResult());
}

// The label and the link stand under the table, the label first; the texts
// are those of the interface language, and the label's width follows its
// text, so the link never overlaps it.
void FrmMain::ArrangeManualLink(bool shown, int left, int top) {
    constexpr int kHeight = 270;
    constexpr int kGap = 100;
    const QString page = QString::fromStdString(ManualPagePath(env_.dataFolder, state_.language));
    ui_.lblUserManual->setText(PT(kTextUserManual));
    // The link reads what a click does; its tool tip names the page.
    ui_.lblURL->setText("<a href=\"" + page.toHtmlEscaped() + "\">" +
                        PT(kTextManualLinkText).toHtmlEscaped() + "</a>");
    ui_.lblURL->setToolTip(page);
    const int labelWidth = Twips::FromPixels(ui_.lblUserManual->sizeHint().width());
    const int linkWidth = Twips::FromPixels(ui_.lblURL->sizeHint().width());
    Twips::Place(ui_.lblUserManual, left, top, labelWidth, kHeight);
    Twips::Place(ui_.lblURL, left + labelWidth + kGap, top, linkWidth, kHeight);
    // World transits and natal aspects only, and only with the table shown.
    ui_.lblUserManual->setVisible(shown);
    ui_.lblURL->setVisible(shown);
}

void FrmMain::OnManualLink() {
    const std::string page = ManualPagePath(env_.dataFolder, state_.language);
    const QUrl url = QUrl::fromLocalFile(QString::fromStdString(page));
    const bool opened = env_.openUrl ? env_.openUrl(url) : QDesktopServices::openUrl(url);
    if (!opened) {
        // Qt does not say why; the usual reason is that no program is
        // associated with web pages.
        dialogs_.Message(QString::fromStdString(ManualNotOpenedText(state_.Texts(), page)),
                         QString::fromStdString(ManualNotOpenedTitle(state_.Texts())),
                         MessageIcon::Exclamation);
    }
}

}  // namespace vek::gui
