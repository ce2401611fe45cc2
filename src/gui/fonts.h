// The fonts the window asks for by name: the glyph font "Starfont Sans",
// shipped inside the program, and the Windows names "Arial", "Courier New" and
// "MS Sans Serif", which map to the metric-compatible Liberation fonts.
#pragma once

#include <QString>

#include "display/table_model.h"
#include "util/result.h"

namespace vek::gui {

// The names are the table's: its glyph font, and its text font that the
// controls use too.
inline constexpr const char* kGlyphFontFamily = kGlyphFontName;
inline constexpr const char* kControlFontFamily = kTextFontName;

// Registers the glyph font from the program's resources and the font name
// substitutions; a failure says what is wrong with the glyph font. Safe to
// call more than once.
Status InstallProgramFonts();

}  // namespace vek::gui
