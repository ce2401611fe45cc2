// The program's own vek.dat, loaded once for the tests that check real
// wording.
#pragma once

#include <string>
#include <utility>

#include "config/program_text.h"

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

inline ProgramTexts RealTexts(Language language) {
    return ProgramTexts(RealTextTable(), language);
}

// A table in which every number from 1 to 400 reads "text N" in English and
// "Text N" in German: a test sees which text went where, and in which
// language.
inline const ProgramTextTable& NumberedTextTable() {
    static const ProgramTextTable table = [] {
        std::string file;
        for (int n = 1; n <= 400; ++n) {
            const std::string number = std::to_string(n);
            file += number + " en: text " + number + "\n" + number + " de: Text " + number + "\n";
        }
        Result<ProgramTextTable> parsed = ProgramTextTable::Parse(file);
        return parsed ? std::move(parsed).value() : ProgramTextTable();
    }();
    return table;
}

inline ProgramTexts NumberedTexts(Language language) {
    return ProgramTexts(NumberedTextTable(), language);
}

}  // namespace vek::testing
