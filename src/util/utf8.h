// UTF-8 checks shared by the readers of program texts and the JSON writer.
#pragma once

#include <cstddef>
#include <string_view>

namespace vek {

// Length in bytes of the well-formed UTF-8 sequence that starts at s[i]
// (1 to 4), or 0 when there is none: a stray continuation byte, a cut-off
// sequence, an overlong form, a UTF-16 surrogate or a value past U+10FFFF.
// i must be less than s.size().
std::size_t Utf8SequenceLength(std::string_view s, std::size_t i);

}  // namespace vek
