// What the running program holds between commands: the loaded program texts
// and the language they are shown in, the engine, the three date rows, the
// settings and the results of the last compute. The window and vek-cli each
// keep one and run their commands on it.
#pragma once

#include <string>

#include "app/compute.h"
#include "config/program_text.h"
#include "config/settings.h"
#include "engine/engine.h"
#include "time/date_rows.h"
#include "util/result.h"

namespace vek {

struct ProgramState {
    ProgramState() = default;
    // The texts handed out refer to textTable: the state stays where it is.
    ProgramState(const ProgramState&) = delete;
    ProgramState& operator=(const ProgramState&) = delete;

    ProgramTextTable textTable;
    // The language of the texts shown. A state file
    // that is loaded brings its own settings, language included, but the
    // texts stay in this language until the language is switched.
    Language language = kEnglish;
    Engine engine;
    DateRows rows;
    Settings settings;
    ComputeResults results;

    // The loaded texts in the current language.
    ProgramTexts Texts() const { return ProgramTexts(textTable, language); }

    // Loads vek.dat from `folder` into textTable. On failure the table is
    // left as it was and the error carries the message to show.
    Status LoadTexts(const std::string& folder);

    // The language switch, in one place: the texts, the settings' language,
    // the engine's names and the month lists of the date rows.
    void SetLanguage(Language language);

    // The compute command (ComputeCommand) on this state's engine, rows,
    // settings and results, with this state's texts; `failedRow`, when given,
    // names the row that stopped it.
    Status Compute(const ComputeRequest& request, DateRowFailure* failedRow = nullptr);
};

}  // namespace vek
