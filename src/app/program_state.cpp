#include "app/program_state.h"

#include <utility>

namespace vek {

Status ProgramState::LoadTexts(const std::string& folder) {
    Result<ProgramTextTable> loaded = LoadProgramText(folder);
    if (!loaded) return loaded.error();
    textTable = std::move(loaded).value();
    return Ok();
}

void ProgramState::SetLanguage(Language code) {
    language = code;
    settings.accepted.CurrentLanguage = language;
    engine.SetLanguage(language);
    rows.FillMonthLists(language);
}

Status ProgramState::Compute(const ComputeRequest& request, DateRowFailure* failedRow) {
    return ComputeCommand(engine, rows, settings, Texts(), request, results, failedRow);
}

}  // namespace vek
