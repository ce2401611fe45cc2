// Helpers that act on every control of a window at once.
#pragma once

#include <QSize>

#include <QString>
#include <string>

class QWidget;
class QAbstractButton;

namespace vek::gui {

// Enables or disables every button, check box, option button and combo box
// of the window; also frames, text boxes and labels when asked. Windows of
// their own that the window owns keep their controls as they are.
void SetControlsEnabled(QWidget* form, bool value, bool withFrames, bool withTextBoxes,
                        bool withLabels);

// Gives every frame, button, check box, label, option button and combo box
// of the window the font family; also the text boxes when asked. Controls
// set in another family on purpose (the glyph font) keep theirs.
void SetControlsFontName(QWidget* form, const QString& family, bool withTextBoxes,
                         const QString& keepFamily = QString());

// Return and Enter click the button while it has the focus, as Space does.
void ClickOnReturn(QAbstractButton* button);

// Gives the button the focus when it is visible and enabled; returns whether
// it did.
bool FocusIfPossible(QAbstractButton* button);

// A core text (UTF-8, lines ending in CR LF or LF) as a text box shows it.
QString TextBoxText(const std::string& text);

// Clears the clipboard and puts the text on it.
void PutOnClipboard(const QString& text);

// A window resized below its least size (twips) snaps back to it; returns
// the size it keeps, in twips.
QSize KeepAtLeast(QWidget* form, int minWidth, int minHeight);

// Moves a top-level window so that its frame, title bar included, starts on
// the available area of its screen (and ends on it where it fits); a frame
// larger than that area first shrinks to it, down to the window's minimum
// size. Returns whether it moved or resized the window.
bool KeepFrameOnScreen(QWidget* window);

// Keeps the window's frame on its screen while it is being shown: a window
// manager frames a window only after it has been placed, which can push the
// title bar above the screen or the frame past its edge. For a moment after
// each showing, every move and resize is checked; a window the user drags
// later goes where the user puts it.
void KeepFramesOnScreen(QWidget* window);

}  // namespace vek::gui
