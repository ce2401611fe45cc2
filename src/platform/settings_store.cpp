#include "platform/settings_store.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/calendar.h"
#include "util/files.h"

namespace vek::platform {

namespace {

constexpr const char* kStoreFileName = "VEK.conf";

std::string SystemMessage(int err) {
    return std::strerror(err);
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

std::string Escape(std::string_view s) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(s.size());
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || c == '%' || c == '=' || c == '[' || c == ']' || c == '#') {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        } else {
            out += ch;
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// False for a malformed escape.
bool Unescape(std::string_view s, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '%') {
            out += s[i];
            continue;
        }
        if (i + 2 >= s.size()) return false;
        const int hi = HexDigit(s[i + 1]);
        const int lo = HexDigit(s[i + 2]);
        if (hi < 0 || lo < 0) return false;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return true;
}

}  // namespace

StoreContents ParseStoreText(std::string_view text) {
    StoreContents keys;
    StoreKey* current = nullptr;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line[0] == '#') continue;

        std::string a, b;
        if (line[0] == '[') {
            current = nullptr;
            if (line.size() < 2 || line.back() != ']') continue;
            if (!Unescape(line.substr(1, line.size() - 2), a) || a.empty()) continue;
            for (StoreKey& k : keys)
                if (SameName(k.path, a)) current = &k;
            if (!current) {
                keys.push_back({a, {}});
                current = &keys.back();
            }
            continue;
        }
        if (!current) continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        if (!Unescape(line.substr(0, eq), a) || a.empty()) continue;
        if (!Unescape(line.substr(eq + 1), b)) continue;
        bool replaced = false;
        for (StoreValue& v : current->values) {
            if (SameName(v.name, a)) {
                v.value = b;
                replaced = true;
            }
        }
        if (!replaced) current->values.push_back({a, b});
    }
    return keys;
}

std::string StoreText(const StoreContents& keys) {
    std::string out = "# Settings of VEK. Written by the program; edit with care.\n";
    for (const StoreKey& k : keys) {
        out += '[' + Escape(k.path) + "]\n";
        for (const StoreValue& v : k.values) out += Escape(v.name) + '=' + Escape(v.value) + '\n';
    }
    return out;
}

namespace {

const char* const kLanguageCodes[3] = {"EN", "DE", "ES"};

}  // namespace

// ---------------------------------------------------------------------------

SettingsStore::SettingsStore() : folder_(DefaultFolder()) {}

SettingsStore::SettingsStore(std::string folder, StoreOptions options)
    : folder_(std::move(folder)), options_(std::move(options)) {}

std::string SettingsStore::DefaultFolder() {
    if (const char* dir = std::getenv("VEK_CONFIG_DIR"); dir && *dir) return dir;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        return std::string(xdg) + "/Vantrel";
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* pw = ::getpwuid(::getuid());
        home = pw ? pw->pw_dir : nullptr;
    }
    if (!home || !*home) return "";
    return std::string(home) + "/.config/Vantrel";
}

std::string SettingsStore::FilePath() const {
    if (folder_.empty()) return "";
    return folder_.back() == '/' ? folder_ + kStoreFileName : folder_ + "/" + kStoreFileName;
}

Result<StoreContents> SettingsStore::ReadContents() const {
    const std::string file = FilePath();
    if (file.empty()) return StoreContents{};
    Result<std::string> text =
        options_.readFile ? options_.readFile(file) : ReadRegularFile(file, kMaxStoreFileSize);
    if (!text) {
        if (text.error().code == ENOENT) return StoreContents{};  // nothing stored yet
        return text.error();
    }
    return ParseStoreText(text.value());
}

Status SettingsStore::Readable() const {
    const Result<StoreContents> contents = ReadContents();
    if (!contents) return contents.error();
    return Ok();
}

StoreStatus SettingsStore::SetStoreValue(std::string_view keyPath, std::string_view name,
                                         std::string_view value) {
    static constexpr const char* kKeyFailure = "Unable to create (or find) key.";
    static constexpr const char* kValueFailure = "Unable to write value.";
    auto failure = [](const Error& e, const char* what) {
        const int code = e.code != 0 ? e.code : EIO;
        return std::to_string(code) + " " + what + "  " + e.message;
    };
    auto systemFailure = [&failure](int err, const char* what) {
        return failure(Fail(SystemMessage(err), err), what);
    };
    if (folder_.empty()) return systemFailure(ENOENT, kKeyFailure);
    if (keyPath.empty()) return systemFailure(EINVAL, kKeyFailure);
    if (Status made = MakeFolders(folder_); !made) return failure(made.error(), kKeyFailure);
    if (name.empty()) return systemFailure(EINVAL, kValueFailure);

    // Reading, changing and writing back is one step under the lock: a write
    // of another program in between would otherwise be lost.
    Result<FileLock> lock = FileLock::Acquire(FilePath() + ".lock", options_.lockWait);
    if (!lock) return failure(lock.error(), kKeyFailure);
    // A file we cannot read is not replaced: that would lose every other value.
    Result<StoreContents> contents = ReadContents();
    if (!contents) return failure(contents.error(), kKeyFailure);
    StoreContents& keys = contents.value();

    StoreKey* key = nullptr;
    for (StoreKey& k : keys)
        if (SameName(k.path, keyPath)) key = &k;
    const bool created = key == nullptr;
    if (created) {
        keys.push_back({std::string(keyPath), {}});
        key = &keys.back();
    }
    bool replaced = false;
    for (StoreValue& v : key->values) {
        if (SameName(v.name, name)) {
            v.value = std::string(value);
            replaced = true;
        }
    }
    if (!replaced) key->values.push_back({std::string(name), std::string(value)});

    if (Status written = WriteFileAtomically(FilePath(), StoreText(keys)); !written)
        return failure(written.error(), kValueFailure);
    return std::string(created ? "0 New key created." : "0 Key already exists.") + "  " +
           SystemMessage(0);
}

StoreStatus SettingsStore::GetStoreValue(std::string_view keyPath, std::string_view name,
                                         std::string& value) const {
    if (keyPath.empty()) return "1 Key not found or is empty.";
    const Result<StoreContents> contents = ReadContents();
    if (!contents) return "1 Key not found or is empty.  " + contents.error().message;
    const StoreKey* key = nullptr;
    for (const StoreKey& k : contents.value())
        if (SameName(k.path, keyPath)) key = &k;
    if (!key) return "1 Key not found or is empty.";
    if (name.empty()) return "2 Name not specified.";
    for (const StoreValue& v : key->values) {
        if (!SameName(v.name, name)) continue;
        std::string text = v.value;
        while (!text.empty() && static_cast<unsigned char>(text.back()) < 32) text.pop_back();
        value = text;
        return text.empty() ? "0 Empty value" : "0 OK";
    }
    return "3 Name not found.";
}

// ---------------------------------------------------------------------------

const char* StoredSwitchName(StoredSwitch which) {
    switch (which) {
        case StoredSwitch::TZDisp:
            return "TZDisp";
        case StoredSwitch::ZodiacSectors:
            return "Zodiac sectors";
        case StoredSwitch::Moon:
            return "Moon";
        case StoredSwitch::IPAD:
            return "IPAD";
        case StoredSwitch::SGWWB:
            return "SGWWB";
    }
    return "";
}

bool DefaultTZDisp(int zoneOffsetMinutes) {
    return zoneOffsetMinutes >= -600 && zoneOffsetMinutes <= -150;
}

int ComputerZoneOffsetMinutes() {
    const int minutes = static_cast<int>(std::lround(-local_timezone() / 60.0));
    return zone_as_listed(minutes);
}

bool LoadStoredSwitch(SettingsStore& store, StoredSwitch which, int zoneOffsetMinutes) {
    std::string text;
    bool on;
    if (StoreStatusOk(store.GetStoreValue(kStoreKeyPath, StoredSwitchName(which), text))) {
        if (text == "1")
            on = true;
        else if (text == "0")
            on = false;
        else
            on = which != StoredSwitch::SGWWB;
    } else if (which == StoredSwitch::TZDisp) {
        on = DefaultTZDisp(zoneOffsetMinutes);
    } else {
        on = which != StoredSwitch::SGWWB;
    }
    WriteStoredSwitch(store, which, on);
    return on;
}

bool LoadStoredSwitch(SettingsStore& store, StoredSwitch which) {
    const int zone = which == StoredSwitch::TZDisp ? ComputerZoneOffsetMinutes() : 0;
    return LoadStoredSwitch(store, which, zone);
}

StoreStatus WriteStoredSwitch(SettingsStore& store, StoredSwitch which, bool on) {
    return store.SetStoreValue(kStoreKeyPath, StoredSwitchName(which), on ? "1" : "0");
}

int ReadLanguageSetting(const SettingsStore& store) {
    std::string text;
    if (!StoreStatusOk(store.GetStoreValue(kStoreKeyPath, "Language", text))) return 0;
    for (int i = 0; i < 3; ++i)
        if (text == kLanguageCodes[i]) return i;
    return 0;
}

StoreStatus WriteLanguageSetting(SettingsStore& store, int language) {
    const char* code = language >= 0 && language < 3 ? kLanguageCodes[language] : "EN";
    return store.SetStoreValue(kStoreKeyPath, "Language", code);
}

}  // namespace vek::platform
