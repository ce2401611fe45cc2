// What the window tests share: the one QApplication, on the offscreen
// platform unless the environment names another, and a main window's
// surroundings at a fixed moment.
#pragma once

#include <QString>

#include "gui/frm_main.h"

class QApplication;

namespace vek::gui::test {

QApplication& App();

// 4 July 2010, 14:16 at Greenwich: "Now" gives 14:30.
ClockReading FixedClock();

// A main window that keeps its state and settings in folder, reads the
// program's data from the build and lives at FixedClock() in zone GMT.
FrmMain::Environment WindowEnvironment(const QString& folder);

}  // namespace vek::gui::test
