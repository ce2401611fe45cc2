// The status line under the table: the program's name, version and
// publisher, or the path of the last save or load behind its word, in the
// window's language; its tool tip names the ephemeris in use.
#pragma once

#include <QString>

#include "app/program_state.h"

namespace vek::gui {

struct MainControls;
struct ViewState;

class StatusLine {
  public:
    StatusLine(const MainControls& controls, const ProgramState& state, ViewState& view);

    // The standing text, or the last save's or load's path behind its word.
    void Show();
    // The dates have changed since the save or load: the standing text again.
    void ForgetPath();
    // The program, its version and the ephemeris that answered the latest
    // positions of this thread, which are those of the result just shown.
    QString VersionToolTip() const;

  private:
    QString PT(TextId n) const;
    QString NameAndVersion() const;

    const MainControls& c_;
    const ProgramState& state_;
    ViewState& view_;
};

}  // namespace vek::gui
