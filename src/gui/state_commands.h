// The main window's state files: "Save" and "Restore" of the automatic state
// file, "Save as ..." (while the table is shown) and "Load from ..." of a file
// of the user's choice, and the automatic state restored at start-up. What a
// state file holds and how it is read and written is the core's
// (app/state_file.h); the commands apply it to the window.
#pragma once

#include <QObject>
#include <functional>
#include <string>

#include "app/program_state.h"
#include "app/state_file.h"
#include "platform/settings_store.h"

class QPushButton;
class QWidget;

namespace vek::gui {

class Dialogs;
class FileFolders;
struct MainControls;
struct ViewState;

class StateCommands : public QObject {
    Q_OBJECT
  public:
    // What the commands ask of the window.
    struct Window {
        std::function<Mode()> selectedMode;
        std::function<void(Mode)> selectMode;
        std::function<void()> compute;
        std::function<void()> showWorldTransitsNow;
        std::function<void(DateSlot slot)> showRow;
        std::function<bool()> chartShown;
        std::function<void()> toggleGraphic;
    };

    StateCommands(QWidget* form, const MainControls& controls, ProgramState& state,
                  platform::SettingsStore& store, Dialogs& dialogs, ViewState& view,
                  Window window);

    void SetAutoStatePath(std::string path) { autoStatePath_ = std::move(path); }
    const std::string& AutoStatePath() const { return autoStatePath_; }

    // A missing or broken automatic state shows world transits for now; a
    // broken one has already put the settings back to their defaults.
    void RestoreAtStartup();
    // Writes the window's state; a success counts as a save for "Quit".
    Status SaveState(const std::string& path);
    // "Save as ..." while the table is shown.
    void SaveStateAs();
    // Where the file dialogs start and what they remember.
    void SetFolders(FileFolders* folders) { folders_ = folders; }

  private:
    QString PT(TextId n) const;
    AppState CurrentState() const;
    void ApplyState(const AppState& state);
    Status LoadState(const std::string& path);
    void ShowLoadedState();
    void ShowConfirmation(QPushButton* button, TextId text);
    QString StateFileFilter() const;
    void ShowStatus(TextId prefix, const QString& path);
    StateLoadOptions LoadOptions();
    void OnSave();
    void OnRestore();
    void OnLoadState();

    QWidget* form_;
    const MainControls& c_;
    ProgramState& state_;
    platform::SettingsStore& store_;
    Dialogs& dialogs_;
    ViewState& view_;
    Window window_;
    std::string autoStatePath_;
    FileFolders* folders_ = nullptr;
};

}  // namespace vek::gui
