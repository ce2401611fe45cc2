// "Help": the help file of the interface language in the text viewer.
#include "display/file_view.h"
#include "gui/frm_main.h"
#include "gui/frm_view.h"
#include "gui/twips.h"

#include <QPushButton>

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

}  // namespace vek::gui
