// The fonts the window asks for by name: the glyph font "Starfont Sans",
// shipped inside the program, and the Windows names "Arial", "Courier New" and
// "MS Sans Serif", which map to the metric-compatible Liberation fonts.
#pragma once

#include <QString>

namespace vek::gui {

inline constexpr const char* kGlyphFontFamily = "Starfont Sans";
inline constexpr const char* kControlFontFamily = "Arial";

// Registers the glyph font from the program's resources and the font name
// substitutions. Returns an error description, empty on success. Safe to call
// more than once.
QString InstallProgramFonts();

}  // namespace vek::gui
