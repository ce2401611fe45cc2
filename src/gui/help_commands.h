// "Help" and the user manual's link of the main window: "Help" shows the help
// file of the interface language in the text viewer, laid over the main
// window; the link under the table opens the manual's web page of the
// interface language in the browser.
#pragma once

#include <functional>
#include <string>

#include "app/program_state.h"

class QUrl;
class QWidget;

namespace vek::gui {

class Dialogs;
class FrmView;
struct MainControls;

class HelpCommands {
  public:
    // `openUrl` opens a page with the program the desktop associates with
    // it (unset: QDesktopServices) and says whether anything opened it.
    HelpCommands(QWidget* form, const MainControls& controls, const ProgramState& state,
                 Dialogs& dialogs, std::string dataFolder,
                 std::function<bool(const QUrl&)> openUrl);

    // The text viewer, once "Help" has created it.
    FrmView* Viewer() const { return frmView_; }

    void OnHelp();
    // An open viewer takes the new language, and shows the help file of it
    // when it showed the other one.
    void Retranslate();
    // The label and the link under the table, at (left, top) in twips.
    void ArrangeManualLink(bool shown, int left, int top);
    void OnManualLink();

  private:
    QWidget* form_;
    const MainControls& c_;
    const ProgramState& state_;
    Dialogs& dialogs_;
    std::string dataFolder_;
    std::function<bool(const QUrl&)> openUrl_;
    FrmView* frmView_ = nullptr;  // created on the first "Help"
};

}  // namespace vek::gui
