#include "gui/state_commands.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <optional>

#include "config/program_text.h"
#include "gui/dialogs.h"
#include "gui/form_helpers.h"
#include "gui/main_controls.h"
#include "gui/places.h"
#include "gui/popup.h"
#include "gui/table_grid.h"
#include "gui/twips.h"
#include "gui/view_state.h"

namespace vek::gui {

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

StateCommands::StateCommands(QWidget* form, const MainControls& controls, ProgramState& state,
                             platform::SettingsStore& store, Dialogs& dialogs, ViewState& view,
                             Window window)
    : QObject(form),
      form_(form),
      c_(controls),
      state_(state),
      store_(store),
      dialogs_(dialogs),
      view_(view),
      window_(std::move(window)) {
    connect(c_.cmdSave, &QPushButton::clicked, this, &StateCommands::OnSave);
    connect(c_.cmdRestore, &QPushButton::clicked, this, &StateCommands::OnRestore);
    connect(c_.cmdLoadState, &QPushButton::clicked, this, &StateCommands::OnLoadState);
}

QString StateCommands::PT(TextId n) const {
    return Q(state_.Texts().ProgramText(n));
}

AppState StateCommands::CurrentState() const {
    AppState s;
    for (DateSlot slot : AllDateSlots()) s.dateRows[slot] = state_.rows.Row(slot);
    const Mode selected = window_.selectedMode();
    s.mode = selected == Mode::None ? Mode::World : selected;
    s.steppingIntervalIndex = c_.cboForwardBack->currentIndex();
    s.settings = state_.settings;
    return s;
}

void StateCommands::ApplyState(const AppState& state) {
    // The mode buttons ignore their clicks while a state is applied.
    view_.loadingState = true;
    auto within = [](int index, size_t count) {
        return index >= 0 && index < static_cast<int>(count) ? index : 0;
    };
    for (DateSlot slot : AllDateSlots()) {
        DateRowFields r = state.dateRows[slot];
        r.monthIndex = within(r.monthIndex, state_.rows.MonthList().size());
        r.dayIndex = within(r.dayIndex, state_.rows.DayList().size());
        r.timeIndex = within(r.timeIndex, state_.rows.TimeList().size());
        r.zoneIndex = within(r.zoneIndex, state_.rows.ZoneList().size());
        state_.rows.Row(slot) = r;
        window_.showRow(slot);
    }
    window_.selectMode(state.mode == Mode::None ? Mode::World : state.mode);
    c_.cboForwardBack->setCurrentIndex(
        within(state.steppingIntervalIndex, static_cast<size_t>(c_.cboForwardBack->count())));
    state_.settings = state.settings;
    view_.loadingState = false;
}

Status StateCommands::SaveState(const std::string& path) {
    AppState state = CurrentState();
    Status saved = SaveStateFile(path, state, &store_);
    if (saved) {
        state_.settings = state.settings;
        view_.stateJustSaved = true;
        view_.stateTicks = 0;
    }
    return saved;
}

StateLoadOptions StateCommands::LoadOptions() {
    StateLoadOptions options;
    options.startupComplete = view_.blnStartupCompleted;
    return options;
}

Status StateCommands::LoadState(const std::string& path) {
    AppState state = CurrentState();
    Status loaded = LoadStateFile(path, state, LoadOptions());
    // What was read before an error stays, as it does in the controls.
    ApplyState(state);
    return loaded;
}

void StateCommands::RestoreAtStartup() {
    if (!autoStatePath_.empty() && QFile::exists(Q(autoStatePath_)) && LoadState(autoStatePath_)) {
        ShowLoadedState();
        return;
    }
    window_.showWorldTransitsNow();
}

// After a state is loaded: natal aspects stay in their mode, every other mode
// becomes world transits; the row the mode reads is computed when it holds a
// valid date, otherwise world transits for now are shown.
void StateCommands::ShowLoadedState() {
    DateSlot row = kWorldDate;
    if (window_.selectedMode() == Mode::Natal1) {
        row = kBirth1;
    } else if (window_.selectedMode() == Mode::Natal2) {
        row = kBirth2;
    } else {
        window_.selectMode(Mode::World);
    }
    const Result<JulianDate> jd = state_.rows.InputDateToAJDate(row);
    window_.showRow(row);
    if (jd && jd->days > 0) {
        window_.compute();
        c_.picTable->show();
        return;
    }
    window_.showWorldTransitsNow();
}

void StateCommands::ShowConfirmation(QPushButton* button, TextId text) {
    c_.popUp->ShowInForm(form_, PT(text), 2400, 300, 2000, Twips::Top(button) + 475,
                         Twips::Left(button) - 2450);
}

void StateCommands::OnSave() {
    const Status saved = SaveState(autoStatePath_);
    if (!saved) {
        dialogs_.Message(Q(saved.message()), c_.cmdSave->text(), MessageIcon::Exclamation);
    } else {
        ShowConfirmation(c_.cmdSave, kTextStateSaved);
    }
    FocusIfPossible(c_.cmdCompute);
}

void StateCommands::OnRestore() {
    if (!QFile::exists(Q(autoStatePath_))) return;
    const Status loaded = LoadState(autoStatePath_);
    if (!loaded) {
        dialogs_.Message(Q(loaded.message()), c_.cmdRestore->text(), MessageIcon::Exclamation);
    } else {
        ShowConfirmation(c_.cmdRestore, kTextStateRestored);
    }
}

QString StateCommands::StateFileFilter() const {
    return PT(kTextStateFiles) + " (*.vek) | *.vek";
}

void StateCommands::ShowStatus(TextId prefix, const QString& path) {
    view_.statusPrefix = prefix;
    view_.statusPath = path.toStdString();
    c_.lblStatus->setText(PT(prefix) + " " + path);
}

// The whole state into a file of the user's choice. A name typed without an
// extension gets ".vek", so that "Load from ..." lists it; any other name is
// taken as the dialog gives it.
void StateCommands::SaveStateAs() {
    Dialogs::FileRequest request{PT(kTextSaveStateTitle), StateFileFilter(),
                                 folders_ ? folders_->StartFolder(FileKind::State) : QString(),
                                 "vek"};
    std::optional<QString> chosen = dialogs_.SaveFile(request);
    if (!chosen || chosen->isEmpty()) return;
    chosen = WithDefaultSuffix(*chosen, request.defaultSuffix);
    if (folders_) folders_->Remember(FileKind::State, *chosen);
    const Status saved = SaveState(chosen->toStdString());
    if (!saved) {
        dialogs_.Message(Q(saved.message()), c_.cmdSaveAs->text(), MessageIcon::Exclamation);
        return;
    }
    c_.popUp->ShowInForm(form_, PT(kTextStateSaved), 2400, 300, 2000,
                         Twips::Top(c_.cmdSaveAs) + 350, Twips::Left(c_.cmdSaveAs) + 100);
    ShowStatus(kTextSavedPrefix, *chosen);
}

// "Load from ...": a state file of the user's choice. The file is read into a
// copy first, so a file that cannot be loaded leaves the window's state and
// settings as they were.
void StateCommands::OnLoadState() {
    // "All files" too: a state saved under another name can be found.
    const Dialogs::FileRequest request{
        PT(kTextLoadStateTitle), StateFileFilter() + " | " + PT(kTextAllFiles) + " (*) | *",
        folders_ ? folders_->StartFolder(FileKind::State) : QString(), QString()};
    const std::optional<QString> chosen = dialogs_.OpenFile(request);
    if (!chosen || chosen->isEmpty()) return;
    if (folders_) folders_->Remember(FileKind::State, *chosen);
    AppState state = CurrentState();
    const Status loaded = LoadStateFile(chosen->toStdString(), state, LoadOptions());
    if (!loaded) {
        dialogs_.Message(Q(loaded.message()), PT(kTextLoadingFailed), MessageIcon::Exclamation);
        return;
    }
    if (window_.chartShown()) window_.toggleGraphic();
    ApplyState(state);
    ShowLoadedState();
    ShowStatus(kTextLoadedPrefix, *chosen);
    view_.stateJustSaved = true;
    view_.stateTicks = 0;
}

}  // namespace vek::gui
