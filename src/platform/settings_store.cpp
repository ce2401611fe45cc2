#include "platform/settings_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/calendar.h"

namespace vek::platform {

namespace {

constexpr const char* kStoreFileName = "VEK.conf";

std::string SystemMessage(int err) {
    return std::strerror(err);
}

// ---------------------------------------------------------------------------
// The store file: sections "[key path]" holding "name=value" lines. Bytes
// that would break that layout ('%', '=', '[', ']', '#' that would start a
// comment line, control characters) are written as %XX.

struct StoreValue {
    std::string name;
    std::string value;
};

struct StoreKey {
    std::string path;
    std::vector<StoreValue> values;
};

using StoreContents = std::vector<StoreKey>;

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

// Lines that do not parse are skipped; a value before any key is ignored.
StoreContents Parse(std::string_view text) {
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

std::string Serialize(const StoreContents& keys) {
    std::string out = "# Settings of VEK. Written by the program; edit with care.\n";
    for (const StoreKey& k : keys) {
        out += '[' + Escape(k.path) + "]\n";
        for (const StoreValue& v : k.values) out += Escape(v.name) + '=' + Escape(v.value) + '\n';
    }
    return out;
}

// The parsed file; a missing, unreadable or oversized file reads as empty.
StoreContents ReadContents(const std::string& file) {
    if (file.empty()) return {};
    std::string text;
    bool truncated = false;
    if (!ReadFileHead(file, kMaxStoreFileSize, text, truncated).empty() || truncated) return {};
    return Parse(text);
}

std::string ParentFolder(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

mode_t CurrentUmask() {
    const mode_t m = ::umask(022);
    ::umask(m);
    return m;
}

bool WriteAll(int fd, std::string_view content) {
    const char* p = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// WriteFileAtomically with the error number of the failure (0 on success).
int WriteAtomic(const std::string& path, std::string_view content, std::string& error) {
    error.clear();
    if (path.empty()) {
        error = "No file name given.";
        return ENOENT;
    }
    const std::string folder = ParentFolder(path);
    std::string tmp = folder + "/.vek-tmp-XXXXXX";
    std::vector<char> name(tmp.begin(), tmp.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        error = "Cannot write " + path + ": " + SystemMessage(err);
        return err;
    }
    tmp.assign(name.data());

    struct stat old {};
    const mode_t mode = (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode))
                            ? (old.st_mode & 07777)
                            : (0666 & ~CurrentUmask());
    int err = 0;
    if (::fchmod(fd, mode) != 0) err = errno;
    if (!err && !WriteAll(fd, content)) err = errno;
    if (!err && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && !err) err = errno;
    if (!err && ::rename(tmp.c_str(), path.c_str()) != 0) err = errno;
    if (err) {
        ::unlink(tmp.c_str());
        error = "Cannot write " + path + ": " + SystemMessage(err);
        return err;
    }
    // Make the rename itself durable; failing here loses nothing already written.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return 0;
}

// MakeFolders with the error number of the failure (0 on success).
int MakeFoldersErr(const std::string& folder, std::string& error) {
    error.clear();
    if (folder.empty()) {
        error = "No folder given.";
        return ENOENT;
    }
    std::size_t pos = 0;
    while (pos <= folder.size()) {
        std::size_t slash = folder.find('/', pos);
        if (slash == std::string::npos) slash = folder.size();
        const std::string partial = folder.substr(0, slash);
        pos = slash + 1;
        if (partial.empty()) continue;  // the root
        if (::mkdir(partial.c_str(), 0777) != 0 && errno != EEXIST) {
            const int err = errno;
            error = "Cannot create folder " + partial + ": " + SystemMessage(err);
            return err;
        }
    }
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        error = "Cannot create folder " + folder + ": " + SystemMessage(ENOTDIR);
        return ENOTDIR;
    }
    return 0;
}

const char* const kLanguageCodes[3] = {"EN", "DE", "ES"};

}  // namespace

// ---------------------------------------------------------------------------

SettingsStore::SettingsStore() : folder_(DefaultFolder()) {}

SettingsStore::SettingsStore(std::string folder) : folder_(std::move(folder)) {}

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

StoreStatus SettingsStore::SetStoreValue(std::string_view keyPath, std::string_view name,
                                         std::string_view value) {
    auto failure = [](int err, const char* what) {
        return std::to_string(err) + " " + what + "  " + SystemMessage(err);
    };
    if (folder_.empty()) return failure(ENOENT, "Unable to create (or find) key.");
    if (keyPath.empty()) return failure(EINVAL, "Unable to create (or find) key.");
    std::string error;
    if (const int err = MakeFoldersErr(folder_, error))
        return failure(err, "Unable to create (or find) key.");
    if (name.empty()) return failure(EINVAL, "Unable to write value.");

    StoreContents keys = ReadContents(FilePath());
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

    const int err = WriteAtomic(FilePath(), Serialize(keys), error);
    if (err) return failure(err, "Unable to write value.");
    return std::string(created ? "0 New key created." : "0 Key already exists.") + "  " +
           SystemMessage(0);
}

StoreStatus SettingsStore::GetStoreValue(std::string_view keyPath, std::string_view name,
                                         std::string& value) const {
    if (keyPath.empty()) return "1 Key not found or is empty.";
    const StoreContents keys = ReadContents(FilePath());
    const StoreKey* key = nullptr;
    for (const StoreKey& k : keys)
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

// ---------------------------------------------------------------------------

std::string MakeFolders(const std::string& folder) {
    std::string error;
    MakeFoldersErr(folder, error);
    return error;
}

std::string WriteFileAtomically(const std::string& path, std::string_view content) {
    std::string error;
    WriteAtomic(path, content, error);
    return error;
}

std::string ReadFileHead(const std::string& path, std::size_t maxBytes, std::string& out,
                         bool& truncated) {
    out.clear();
    truncated = false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return "Cannot open " + path + ": " + SystemMessage(errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return "Cannot open " + path + ": " + SystemMessage(err);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return "Cannot open " + path + ": " +
               (S_ISDIR(st.st_mode) ? SystemMessage(EISDIR) : std::string("Not a regular file"));
    }
    // One byte more than asked tells whether the file holds more.
    const std::size_t want = maxBytes + 1;
    out.resize(want < 65536 ? want : 65536);
    std::size_t got = 0;
    while (got < want) {
        if (got == out.size()) out.resize(std::min(want, out.size() * 2));
        const ssize_t n = ::read(fd, out.data() + got, out.size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            out.clear();
            return "Cannot read " + path + ": " + SystemMessage(err);
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (got > maxBytes) {
        truncated = true;
        got = maxBytes;
    }
    out.resize(got);
    return "";
}

}  // namespace vek::platform
