// Small text helpers shared by the layers above: padding and case of UTF-8
// texts (widths in characters, that is code points), replacing and trimming.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vek {

// Number of characters (code points) of a UTF-8 text.
size_t TextLength(std::string_view s);
// Blanks on the right up to `width`; a longer text, or a negative width,
// leaves the text unchanged.
std::string PadRight(std::string_view s, int width);
// Blanks on the left (right-aligned) likewise.
std::string PadLeft(std::string_view s, int width);
// A..Z to a..z and the first character to upper case; other characters,
// umlauts included, stay as they are.
std::string LowerCase(std::string_view s);
std::string UpperFirst(std::string_view s);

// Every occurrence of `from` (not empty) replaced by `to`, left to right;
// a replacement is never searched again.
void ReplaceAll(std::string& s, std::string_view from, std::string_view to);
std::string ReplaceAllCopy(std::string s, std::string_view from, std::string_view to);

// Without leading and trailing blanks (' ' only).
std::string TrimBlanks(std::string_view s);
// Without leading and trailing spaces and tabs, as a view into `s`.
std::string_view TrimSpacesAndTabs(std::string_view s);
// Without trailing blanks (' ' only).
std::string TrimTrailingBlanks(std::string_view s);

}  // namespace vek
