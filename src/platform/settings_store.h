// The per-user settings store: string values under key paths, kept in a
// small file of our own in the user's configuration folder, and the six
// values the program keeps there.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vek::platform {

// The key under which the program keeps its values.
inline constexpr const char* kStoreKeyPath = "Software\\Vantrel\\VEK";

// A status text; its first character is the status code, '0' for success.
using StoreStatus = std::string;

inline bool StoreStatusOk(const StoreStatus& s) {
    return !s.empty() && s[0] == '0';
}

// A key-value store of strings. Key paths and value names compare without
// regard to ASCII case. Every write replaces the whole file atomically, so an
// interrupted write leaves the previous file; a file that cannot be parsed,
// or one larger than kMaxStoreFileSize, reads as empty.
class SettingsStore {
  public:
    // The store in the default folder (DefaultFolder()).
    SettingsStore();
    // The store in the given folder (tests and portable installations).
    explicit SettingsStore(std::string folder);

    // $VEK_CONFIG_DIR when set, else $XDG_CONFIG_HOME/Vantrel, else
    // ~/.config/Vantrel. Empty when no home folder can be found.
    static std::string DefaultFolder();

    const std::string& Folder() const { return folder_; }
    // Folder()/VEK.conf, or "" when there is no folder.
    std::string FilePath() const;

    // Creates the key when missing and writes the value. Status:
    // "0 New key created." or "0 Key already exists." followed by two blanks
    // and the system's message for the write; on failure the error number, a
    // blank, "Unable to create (or find) key." or "Unable to write value.",
    // two blanks and the system's message.
    StoreStatus SetStoreValue(std::string_view keyPath, std::string_view name,
                              std::string_view value);

    // Reads a value, removing every trailing character below code 32. Status:
    // "1 Key not found or is empty." (empty or unknown key path),
    // "2 Name not specified.", "3 Name not found." (value left unchanged),
    // "0 Empty value" (value set to ""), "0 OK".
    StoreStatus GetStoreValue(std::string_view keyPath, std::string_view name,
                              std::string& value) const;

  private:
    std::string folder_;
};

inline constexpr std::size_t kMaxStoreFileSize = 1 << 20;

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

// ---------------------------------------------------------------------------
// File helpers, shared with the state files

// Creates a folder and its missing parents. Returns "" or an error text.
std::string MakeFolders(const std::string& folder);

// Replaces the file at path by content: writes a temporary file in the same
// folder, flushes it to disk and renames it over path. On any failure the
// temporary file is removed, the previous file is left as it was and an
// error text is returned; "" on success.
std::string WriteFileAtomically(const std::string& path, std::string_view content);

// Reads at most maxBytes of a regular file into out. Sets truncated when the
// file holds more. Never blocks on a pipe or device: only regular files are
// read. Returns "" or an error text.
std::string ReadFileHead(const std::string& path, std::size_t maxBytes, std::string& out,
                         bool& truncated);

}  // namespace vek::platform
