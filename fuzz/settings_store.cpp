// Feeds arbitrary bytes to the settings store's file parser. What it parses
// must be written back as a text that parses to the same keys, names and
// values, and that text must be stable.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/settings_store.h"

namespace {

bool Same(const vek::platform::StoreContents& a, const vek::platform::StoreContents& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].path != b[i].path || a[i].values.size() != b[i].values.size()) return false;
        for (size_t j = 0; j < a[i].values.size(); ++j)
            if (a[i].values[j].name != b[i].values[j].name ||
                a[i].values[j].value != b[i].values[j].value)
                return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vek::platform;
    const StoreContents parsed =
        ParseStoreText(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const StoreKey& k : parsed) {
        if (k.path.empty()) std::abort();
        for (const StoreValue& v : k.values)
            if (v.name.empty()) std::abort();
    }
    const std::string text = StoreText(parsed);
    const StoreContents again = ParseStoreText(text);
    if (!Same(parsed, again)) std::abort();
    if (StoreText(again) != text) std::abort();
    return 0;
}
