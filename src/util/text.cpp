#include "util/text.h"

namespace vek {

namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

size_t TextLength(std::string_view s) {
    size_t n = 0;
    for (char c : s) n += IsContinuationByte(c) ? 0 : 1;
    return n;
}

std::string PadRight(std::string_view s, int width) {
    std::string r(s);
    const size_t len = TextLength(s);
    if (width > 0 && len < static_cast<size_t>(width))
        r.append(static_cast<size_t>(width) - len, ' ');
    return r;
}

std::string PadLeft(std::string_view s, int width) {
    const size_t len = TextLength(s);
    if (width <= 0 || len >= static_cast<size_t>(width)) return std::string(s);
    return std::string(static_cast<size_t>(width) - len, ' ') + std::string(s);
}

std::string LowerCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

std::string UpperFirst(std::string_view s) {
    std::string r(s);
    if (!r.empty() && r[0] >= 'a' && r[0] <= 'z') r[0] = static_cast<char>(r[0] - 'a' + 'A');
    return r;
}

void ReplaceAll(std::string& s, std::string_view from, std::string_view to) {
    if (from.empty()) return;
    for (size_t at = 0; (at = s.find(from, at)) != std::string::npos; at += to.size())
        s.replace(at, from.size(), to);
}

std::string ReplaceAllCopy(std::string s, std::string_view from, std::string_view to) {
    ReplaceAll(s, from, to);
    return s;
}

std::string TrimBlanks(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && s[b] == ' ') ++b;
    while (e > b && s[e - 1] == ' ') --e;
    return std::string(s.substr(b, e - b));
}

std::string_view TrimSpacesAndTabs(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::string TrimTrailingBlanks(std::string_view s) {
    size_t e = s.size();
    while (e > 0 && s[e - 1] == ' ') --e;
    return std::string(s.substr(0, e));
}

}  // namespace vek
