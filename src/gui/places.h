// What the windows remember between starts besides the settings: the folder
// each kind of file dialog used last, and where a window stood and how large
// it was. Both live in the settings store, each under a key of its own
// beside the program's values, so those keep their meaning.
#pragma once

#include <QRect>
#include <QString>

#include "platform/settings_store.h"

class QWidget;

namespace vek::gui {

// The kinds of files the dialogs open and save; each kind remembers its own
// folder.
enum class FileKind { State, Image };

// The key of the remembered folders, and of the remembered windows.
inline constexpr const char* kFoldersKeyPath = "Software\\Vantrel\\VEK\\Folders";
inline constexpr const char* kWindowsKeyPath = "Software\\Vantrel\\VEK\\Windows";

class FileFolders {
  public:
    // documents: where a kind's first dialog starts; empty: the user's
    // documents folder (the home folder when there is none).
    FileFolders(platform::SettingsStore& store, QString documents = QString());

    // The folder a dialog of that kind starts in: the one of the last file
    // chosen for it while that folder still exists, else the documents
    // folder.
    QString StartFolder(FileKind kind) const;
    // Remembers the folder of a chosen file for the kind's next dialog,
    // also after the next start.
    void Remember(FileKind kind, const QString& chosenPath);

  private:
    platform::SettingsStore& store_;
    QString documents_;
};

// A name without an extension gets `suffix` ("vek" makes "state1" into
// "state1.vek"); a name with one, or an empty suffix, stays as it is.
QString WithDefaultSuffix(const QString& path, const QString& suffix);

// Where a window stood and how large it was (the frame's top left and the
// inner size, in pixels), under its objectName.
void RememberWindowPlace(platform::SettingsStore& store, const QWidget* window);
// The place remembered for a window; an empty rectangle when none is, or
// when its top left corner (the title bar) is on none of the screens there
// are now (a screen that has gone). A size larger than the rest of its
// screen is cut to it.
QRect RememberedWindowPlace(const platform::SettingsStore& store, const QString& name);
// Parses the stored text "x y width height"; an empty rectangle for any
// other text.
QRect ParseWindowPlace(const std::string& text);

}  // namespace vek::gui
