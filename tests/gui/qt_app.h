// The one QApplication of the window tests, on the offscreen platform unless
// the environment names another.
#pragma once

class QApplication;

namespace vek::gui::test {

QApplication& App();

}  // namespace vek::gui::test
