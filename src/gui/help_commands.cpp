#include "gui/help_commands.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

#include "config/weblink.h"
#include "display/file_view.h"
#include "gui/dialogs.h"
#include "gui/form_helpers.h"
#include "gui/frm_view.h"
#include "gui/main_controls.h"
#include "gui/twips.h"

namespace vek::gui {

HelpCommands::HelpCommands(QWidget* form, const MainControls& controls, const ProgramState& state,
                           Dialogs& dialogs, std::string dataFolder,
                           std::function<bool(const QUrl&)> openUrl)
    : form_(form),
      c_(controls),
      state_(state),
      dialogs_(dialogs),
      dataFolder_(std::move(dataFolder)),
      openUrl_(std::move(openUrl)) {}

void HelpCommands::OnHelp() {
    if (!frmView_) {
        frmView_ = new FrmView(dialogs_, form_);
        KeepFramesOnScreen(frmView_);
    }
    if (frmView_->isMinimized()) frmView_->showNormal();
    // A viewer in its normal state is laid over the main window; a maximised
    // one stays maximised.
    if (!frmView_->isMaximized() && !frmView_->isFullScreen()) {
        Twips::Place(frmView_, Twips::Left(form_) + 100, Twips::Top(form_) + 380,
                     Twips::Width(form_) - 200, Twips::Height(form_) - 480);
    }
    frmView_->SetFilename(HelpFilePath(dataFolder_, state_.language));
    frmView_->setWindowTitle(c_.cmdHelp->text());
    frmView_->SetCopyToClipboardInvisible(true);
    frmView_->SetTexts(state_.Texts());
    frmView_->Display();
}

void HelpCommands::Retranslate() {
    if (!frmView_ || !frmView_->isVisible()) return;
    frmView_->SetTexts(state_.Texts());
    // The help viewer shows the help of the new language.
    const std::string help = HelpFilePath(dataFolder_, state_.language);
    if (frmView_->Filename() == HelpFilePath(dataFolder_, OtherLanguage(state_.language)) ||
        frmView_->Filename() == help) {
        frmView_->setWindowTitle(c_.cmdHelp->text());
        frmView_->SetFilename(help);
        frmView_->Refresh();
    }
}

// The label and the link stand under the table, the label first; the texts
// are those of the interface language, and the label's width follows its
// text, so the link never overlaps it.
void HelpCommands::ArrangeManualLink(bool shown, int left, int top) {
    constexpr int kHeight = 270;
    constexpr int kGap = 100;
    const QString page = QString::fromStdString(ManualPagePath(dataFolder_, state_.language));
    c_.lblUserManual->setText(QString::fromStdString(state_.Texts().ProgramText(kTextUserManual)));
    // The link reads what a click does; its tool tip names the page.
    const QString linkText =
        QString::fromStdString(state_.Texts().ProgramText(kTextManualLinkText));
    c_.lblURL->setText("<a href=\"" + page.toHtmlEscaped() + "\">" + linkText.toHtmlEscaped() +
                       "</a>");
    c_.lblURL->setToolTip(page);
    const int labelWidth = Twips::FromPixels(c_.lblUserManual->sizeHint().width());
    const int linkWidth = Twips::FromPixels(c_.lblURL->sizeHint().width());
    Twips::Place(c_.lblUserManual, left, top, labelWidth, kHeight);
    Twips::Place(c_.lblURL, left + labelWidth + kGap, top, linkWidth, kHeight);
    // World transits and natal aspects only, and only with the table shown.
    c_.lblUserManual->setVisible(shown);
    c_.lblURL->setVisible(shown);
}

void HelpCommands::OnManualLink() {
    const std::string page = ManualPagePath(dataFolder_, state_.language);
    const QUrl url = QUrl::fromLocalFile(QString::fromStdString(page));
    const bool opened = openUrl_ ? openUrl_(url) : QDesktopServices::openUrl(url);
    if (!opened) {
        // Qt does not say why; the usual reason is that no program is
        // associated with web pages.
        dialogs_.Message(QString::fromStdString(ManualNotOpenedText(state_.Texts(), page)),
                         QString::fromStdString(ManualNotOpenedTitle(state_.Texts())),
                         MessageIcon::Exclamation);
    }
}

}  // namespace vek::gui
