// A stand-in for the durations report of the main window, so that the
// explanations can offer it before the report window is part of this
// branch. The report (frm_main_report.cpp) replaces this file.
#include "gui/frm_main.h"

namespace vek::gui {

void FrmMain::ShowDurationsReport() {
    emit DurationsReportRequested();
}

}  // namespace vek::gui
