#include "gui/status_line.h"

#include <QLabel>

#include "config/program_text.h"
#include "display/version.h"
#include "gui/main_controls.h"
#include "gui/view_state.h"
#include "platform/ephemeris.h"

namespace vek::gui {

StatusLine::StatusLine(const MainControls& controls, const ProgramState& state, ViewState& view)
    : c_(controls), state_(state), view_(view) {}

QString StatusLine::PT(TextId n) const {
    return QString::fromStdString(state_.Texts().ProgramText(n));
}

QString StatusLine::NameAndVersion() const {
    return PT(kTextProgramName) + " " + QString::fromStdString(ProgramVersionText());
}

void StatusLine::Show() {
    c_.lblStatus->setText(view_.statusPrefix == TextId{}
                              ? NameAndVersion() + "  \u00B7  " + PT(kTextPublisher)
                              : PT(view_.statusPrefix) + " " +
                                    QString::fromStdString(view_.statusPath));
}

void StatusLine::ForgetPath() {
    view_.statusPrefix = TextId{};
    Show();
}

QString StatusLine::VersionToolTip() const {
    return NameAndVersion() + "\n" +
           QString::fromStdString(state_.Texts().ProgramTextWithValues(
               kTextEphemerisInUse, {platform::ephemeris_in_use(), "", "", "", ""}));
}

}  // namespace vek::gui
