// The program's own vek.dat, loaded once for the tests that check real
// wording.
#pragma once

#include <utility>

#include "display/program_text.h"

namespace vek::testing {

// The table of data/vek.dat; empty when it does not load (the tests that
// use it check Count() first).
inline const ProgramTextTable& RealTextTable() {
    static const ProgramTextTable table = [] {
        Result<ProgramTextTable> loaded = LoadProgramText(VEK_SOURCE_DATA_DIR);
        return loaded ? std::move(loaded).value() : ProgramTextTable();
    }();
    return table;
}

inline ProgramTexts RealTexts(int language) {
    return ProgramTexts(RealTextTable(), language);
}

}  // namespace vek::testing
