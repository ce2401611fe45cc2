// frmView, the text viewer: a file shown read-only, with "Copy to clipboard"
// and "Close". The text it shows, its limit and its messages come from the
// core (display/file_view.h); the window binds them to its controls.
#pragma once

#include <QWidget>
#include <string>

#include "config/program_text.h"

class QPlainTextEdit;
class QPushButton;

namespace vek::gui {

class Dialogs;

class FrmView : public QWidget {
    Q_OBJECT
  public:
    explicit FrmView(Dialogs& dialogs, QWidget* parent = nullptr);

    // What the caller sets before Display: the file, whether the copy button
    // is hidden, and the texts of the messages in the interface language.
    void SetFilename(const std::string& path);
    void SetCopyToClipboardInvisible(bool invisible) { blnCopyToClipboardInvisible_ = invisible; }
    // Setting the texts also puts the buttons' captions in their language;
    // an open viewer follows at once.
    void SetTexts(const ProgramTexts& texts);

    // Shows the viewer and loads its file, once per display: coming back to
    // the window does not read the file again; hiding it ends the display.
    // A file that is empty or cannot be read is reported and the viewer hides.
    void Display();
    // An open viewer reads its file again (a new file set meanwhile) without
    // coming to the front.
    void Refresh();

    const std::string& Filename() const { return strFilename_; }
    bool FileDisplayed() const { return blnFileDisplayed_; }
    // The text as shown, line breaks as in the file (the notes' are CR LF).
    const std::string& ShownText() const { return shown_; }

    // The copy button's command.
    void CopyToClipboard();

  protected:
    void resizeEvent(QResizeEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void changeEvent(QEvent* e) override;
    // Escape closes the viewer, as "Close" does.
    void keyPressEvent(QKeyEvent* e) override;

  private:
    void LoadFile();
    void ApplyLayout();
    void SetCopyCaption(bool selection);
    void OnSelectionChanged();

    Dialogs& dialogs_;
    ProgramTexts texts_;
    std::string strFilename_;
    std::string shown_;
    bool blnFileDisplayed_ = false;
    bool blnCopyToClipboardInvisible_ = false;
    bool layingOut_ = false;
    bool textsSet_ = false;  // before SetTexts the captions are English

    QPlainTextEdit* txbText1_ = nullptr;
    QPushButton* cmdCopyToClipboard_ = nullptr;
    QPushButton* cmdClose_ = nullptr;
};

}  // namespace vek::gui
