// The per-user settings store: string values under key paths, kept in a
// small file of our own in the user's configuration folder, and the six
// values the program keeps there.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "util/result.h"

namespace vek::platform {

// The key under which the program keeps its values.
inline constexpr const char* kStoreKeyPath = "Software\\Vantrel\\VEK";

// A status text; its first character is the status code, '0' for success.
// The program's callers test these texts; inside, the store works with Status.
using StoreStatus = std::string;

inline bool StoreStatusOk(const StoreStatus& s) {
    return !s.empty() && s[0] == '0';
}

inline constexpr std::size_t kMaxStoreFileSize = 1 << 20;

// The store file: sections "[key path]" holding "name=value" lines. Bytes
// that would break that layout are written as %XX.
struct StoreValue {
    std::string name;
    std::string value;
};

struct StoreKey {
    std::string path;
    std::vector<StoreValue> values;
};

using StoreContents = std::vector<StoreKey>;

struct StoreOptions {
    // Reads the store file. Empty: a regular file of at most
    // kMaxStoreFileSize bytes (ReadRegularFile). Tests put a failing reader
    // here.
    std::function<Result<std::string>(const std::string& path)> readFile;
    // How long a write waits for another program's write to finish.
    std::chrono::milliseconds lockWait = std::chrono::seconds(5);
};

// A key-value store of strings. Key paths and value names compare without
// regard to ASCII case. Every write replaces the whole file atomically, so an
// interrupted write leaves the previous file. A write is one locked step of
// reading the file, changing the value and writing the file back (the lock
// file VEK.conf.lock beside it), so writes of two programs at once both land.
// A write that cannot read the existing file (unreadable, larger than
// kMaxStoreFileSize) fails and leaves the file as it is; reads then find
// nothing. Lines that cannot be parsed are skipped, and dropped by the next
// write.
class SettingsStore {
  public:
    // The store in the default folder (DefaultFolder()).
    SettingsStore();
    // The store in the given folder (tests and portable installations).
    explicit SettingsStore(std::string folder, StoreOptions options = {});

    // $VEK_CONFIG_DIR when set, else $XDG_CONFIG_HOME/Vantrel, else
    // ~/.config/Vantrel. Empty when no home folder can be found.
    static std::string DefaultFolder();

    const std::string& Folder() const { return folder_; }
    // Folder()/VEK.conf, or "" when there is no folder.
    std::string FilePath() const;

    // Creates the key when missing and writes the value. Status:
    // "0 New key created." or "0 Key already exists." followed by two blanks
    // and the system's message for the write; on failure the error number, a
    // blank, "Unable to create (or find) key." (no folder, the file cannot
    // be locked or read) or "Unable to write value.", two blanks and the
    // failure's message.
    StoreStatus SetStoreValue(std::string_view keyPath, std::string_view name,
                              std::string_view value);

    // Whether the store's file can be read: success when it can or when it
    // does not exist yet, else why not (EFBIG: larger than
    // kMaxStoreFileSize). A store that cannot be read is left as it is:
    // writes fail and reads find nothing.
    Status Readable() const;

    // Reads a value, removing every trailing character below code 32. Status:
    // "1 Key not found or is empty." (empty or unknown key path; for a file
    // that cannot be read followed by two blanks and why not),
    // "2 Name not specified.", "3 Name not found."
    // (value left unchanged), "0 Empty value" (value set to ""), "0 OK".
    StoreStatus GetStoreValue(std::string_view keyPath, std::string_view name,
                              std::string& value) const;

  private:
    // The parsed file; a missing file holds nothing.
    Result<StoreContents> ReadContents() const;

    std::string folder_;
    StoreOptions options_;
};

// Parses the file's text. Lines that do not parse are skipped; a value
// before any key is ignored. Sections and names that differ only in ASCII
// case are one: a repeated section continues the first, a repeated name
// takes the later value.
StoreContents ParseStoreText(std::string_view text);
// The file's text of the contents.
std::string StoreText(const StoreContents& keys);

// ---------------------------------------------------------------------------
// The program's values

// The five on/off values, each stored as "0" or "1".
enum class StoredSwitch {
    TZDisp,         // "TZDisp": North American zone names
    ZodiacSectors,  // "Zodiac sectors": charts draw the zodiac sectors
    Moon,           // "Moon": the Moon is included
    IPAD,           // "IPAD": aspects of inner bodies are drawn in charts
    SGWWB,          // "SGWWB": saved chart images get a white background
};

const char* StoredSwitchName(StoredSwitch which);

// True when the computer's zone (minutes east of Greenwich) lies in
// UTC−10:00 .. UTC−2:30: the default of "TZDisp".
bool DefaultTZDisp(int zoneOffsetMinutes);

// The computer's zone in minutes east of Greenwich (+5:45 counts as +5:30).
int ComputerZoneOffsetMinutes();

// Reads an on/off value: a stored "0" or "1" as it is; another stored text
// gives the value's invalid-text default ("1" for all but "SGWWB", which
// gives "0"); a missing value its default ("TZDisp" by the zone offset,
// "SGWWB" "0", the others "1"). The result is written back at once, so the
// store then holds what is shown.
bool LoadStoredSwitch(SettingsStore& store, StoredSwitch which, int zoneOffsetMinutes);
bool LoadStoredSwitch(SettingsStore& store, StoredSwitch which);

// Writes "1" for on and "0" for off. Returns the store's status.
StoreStatus WriteStoredSwitch(SettingsStore& store, StoredSwitch which, bool on);

// The language: "EN", "DE", "ES" are codes 0, 1, 2; missing or any other
// text reads as 0.
int ReadLanguageSetting(const SettingsStore& store);
// Writes the text of the code (a code outside 0..2 is written as "EN").
StoreStatus WriteLanguageSetting(SettingsStore& store, int language);

}  // namespace vek::platform
