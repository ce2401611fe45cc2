#include "platform/settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>

#include "../temp_folder.h"

namespace vek::platform {
namespace {

namespace fs = std::filesystem;
using vek::testing::ReadAll;
using vek::testing::TempFolder;
using vek::testing::WriteRaw;

int FileCount(const std::string& folder) {
    int n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++n;
    return n;
}

TEST(SettingsStore, StatusTextsOfWritesAndReads) {
    TempFolder tmp("vek-store-test");
    SettingsStore store(tmp / "cfg/Vantrel");  // the folder is created on the first write
    std::string value = "unchanged";

    EXPECT_EQ(store.GetStoreValue(kStoreKeyPath, "Moon", value), "1 Key not found or is empty.");
    StoreStatus st = store.SetStoreValue(kStoreKeyPath, "Moon", "1");
    EXPECT_EQ(st.rfind("0 New key created.  ", 0), 0u) << st;
    st = store.SetStoreValue(kStoreKeyPath, "IPAD", "0");
    EXPECT_EQ(st.rfind("0 Key already exists.  ", 0), 0u) << st;

    EXPECT_EQ(store.GetStoreValue("", "Moon", value), "1 Key not found or is empty.");
    EXPECT_EQ(store.GetStoreValue("Software\\Other", "Moon", value),
              "1 Key not found or is empty.");
    EXPECT_EQ(store.GetStoreValue(kStoreKeyPath, "", value), "2 Name not specified.");
    EXPECT_EQ(store.GetStoreValue(kStoreKeyPath, "Language", value), "3 Name not found.");
    EXPECT_EQ(value, "unchanged");

    EXPECT_EQ(store.GetStoreValue(kStoreKeyPath, "Moon", value), "0 OK");
    EXPECT_EQ(value, "1");
    // Key paths and names are matched without regard to case, as the
    // registry does.
    EXPECT_EQ(store.GetStoreValue("software\\vantrel\\vek", "ipad", value), "0 OK");
    EXPECT_EQ(value, "0");

    // Another store object on the same folder sees the values.
    SettingsStore again(tmp / "cfg/Vantrel");
    EXPECT_EQ(again.GetStoreValue(kStoreKeyPath, "IPAD", value), "0 OK");
}

TEST(SettingsStore, ValuesKeepEveryByteExceptTrailingControlCharacters) {
    TempFolder tmp("vek-store-test");
    SettingsStore store(tmp.path());
    const std::string odd = std::string("a=b [c] %41 \t\x01 ü\nnext") + '\0' + "z";
    store.SetStoreValue(kStoreKeyPath, "odd name = [x]", odd);
    store.SetStoreValue(kStoreKeyPath, "trailing", std::string("EN\r\n") + '\0');
    store.SetStoreValue(kStoreKeyPath, "blank", "\r\n");
    // A name that begins like a comment line is still a name.
    store.SetStoreValue(kStoreKeyPath, "#hash", "#1");

    std::string value;
    EXPECT_EQ(store.GetStoreValue(kStoreKeyPath, "odd name = [x]", value), "0 OK");
    EXPECT_EQ(value, odd);
    EXPECT_EQ(store.GetStoreValue(kStoreKeyPath, "trailing", value), "0 OK");
    EXPECT_EQ(value, "EN");
    value = "x";
    EXPECT_EQ(store.GetStoreValue(kStoreKeyPath, "blank", value), "0 Empty value");
    EXPECT_EQ(value, "");
    EXPECT_EQ(store.GetStoreValue(kStoreKeyPath, "#hash", value), "0 OK");
    EXPECT_EQ(value, "#1");

    // One line per value: a value with line breaks cannot split the file.
    std::string file = ReadAll(store.FilePath());
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 6);
}

TEST(SettingsStore, FailedWritesReportAnErrorAndKeepTheFile) {
    TempFolder tmp("vek-store-test");
    WriteRaw(tmp / "plain", "x");
    SettingsStore blocked(tmp / "plain/Vantrel");  // a file stands where the folder should be
    StoreStatus st = blocked.SetStoreValue(kStoreKeyPath, "Moon", "1");
    EXPECT_FALSE(StoreStatusOk(st)) << st;
    EXPECT_NE(st.find("Unable to create (or find) key."), std::string::npos);

    SettingsStore store(tmp / "ok");
    store.SetStoreValue(kStoreKeyPath, "Moon", "1");
    // The store file's name is taken by a folder: the write cannot land.
    fs::remove(store.FilePath());
    fs::create_directory(store.FilePath());
    st = store.SetStoreValue(kStoreKeyPath, "Moon", "0");
    EXPECT_FALSE(StoreStatusOk(st)) << st;
    EXPECT_NE(st.find("Unable to write value."), std::string::npos);
    EXPECT_EQ(FileCount(tmp / "ok"), 1);  // no temporary file left behind

    EXPECT_FALSE(StoreStatusOk(store.SetStoreValue("", "Moon", "1")));
    EXPECT_FALSE(StoreStatusOk(SettingsStore("").SetStoreValue(kStoreKeyPath, "Moon", "1")));
}

TEST(SettingsStore, CorruptFilesReadAsDefaultsAndCanBeRewritten) {
    TempFolder tmp("vek-store-test");
    SettingsStore store(tmp.path());
    std::string garbage;
    for (int i = 0; i < 5000; ++i) garbage += static_cast<char>((i * 7919) % 256);
    WriteRaw(store.FilePath(), garbage);
    std::string value;
    EXPECT_FALSE(StoreStatusOk(store.GetStoreValue(kStoreKeyPath, "Moon", value)));
    EXPECT_FALSE(LoadStoredSwitch(store, StoredSwitch::SGWWB));
    EXPECT_TRUE(LoadStoredSwitch(store, StoredSwitch::Moon));
    EXPECT_EQ(store.GetStoreValue(kStoreKeyPath, "Moon", value), "0 OK");
    EXPECT_EQ(value, "1");

    // Broken lines are skipped, good ones kept.
    WriteRaw(store.FilePath(),
             "Moon=0\n[Software\\Vantrel\\VEK]\nIPAD=%zz\nno equals sign\n=empty name\n"
             "[unterminated\nTZDisp=0\r\n[Software\\Vantrel\\VEK]\nSGWWB=1");
    EXPECT_EQ(store.GetStoreValue(kStoreKeyPath, "Moon", value), "3 Name not found.");
    EXPECT_EQ(store.GetStoreValue(kStoreKeyPath, "IPAD", value), "3 Name not found.");
    EXPECT_EQ(store.GetStoreValue(kStoreKeyPath, "SGWWB", value), "0 OK");
    EXPECT_EQ(value, "1");

    // A file beyond the size limit is not read at all.
    std::string huge = "[Software\\Vantrel\\VEK]\nMoon=0\n";
    huge.resize(kMaxStoreFileSize + 10, '#');
    WriteRaw(store.FilePath(), huge);
    EXPECT_EQ(store.GetStoreValue(kStoreKeyPath, "Moon", value), "1 Key not found or is empty.");
}

TEST(StoredSwitches, DefaultsWhenMissingOrInvalidAreWrittenBack) {
    TempFolder tmp("vek-store-test");
    SettingsStore store(tmp.path());
    std::string value;

    // Missing: TZDisp from the computer's zone, SGWWB off, the others on.
    EXPECT_TRUE(LoadStoredSwitch(store, StoredSwitch::TZDisp, -600));  // UTC−10:00
    fs::remove(store.FilePath());
    EXPECT_TRUE(LoadStoredSwitch(store, StoredSwitch::TZDisp, -150));  // UTC−2:30
    fs::remove(store.FilePath());
    EXPECT_FALSE(LoadStoredSwitch(store, StoredSwitch::TZDisp, -120));  // UTC−2:00
    EXPECT_EQ(store.GetStoreValue(kStoreKeyPath, "TZDisp", value), "0 OK");
    EXPECT_EQ(value, "0");
    fs::remove(store.FilePath());
    EXPECT_FALSE(LoadStoredSwitch(store, StoredSwitch::TZDisp, -660));  // UTC−11:00
    EXPECT_TRUE(LoadStoredSwitch(store, StoredSwitch::ZodiacSectors));
    EXPECT_TRUE(LoadStoredSwitch(store, StoredSwitch::Moon));
    EXPECT_TRUE(LoadStoredSwitch(store, StoredSwitch::IPAD));
    EXPECT_FALSE(LoadStoredSwitch(store, StoredSwitch::SGWWB));

    // Stored texts other than "0" and "1".
    store.SetStoreValue(kStoreKeyPath, "TZDisp", "yes");
    EXPECT_TRUE(LoadStoredSwitch(store, StoredSwitch::TZDisp, +60));
    store.SetStoreValue(kStoreKeyPath, "SGWWB", "2");
    EXPECT_FALSE(LoadStoredSwitch(store, StoredSwitch::SGWWB));
    EXPECT_EQ(store.GetStoreValue(kStoreKeyPath, "SGWWB", value), "0 OK");
    EXPECT_EQ(value, "0");
    store.SetStoreValue(kStoreKeyPath, "Moon", "");
    EXPECT_TRUE(LoadStoredSwitch(store, StoredSwitch::Moon));

    // Stored values are kept.
    store.SetStoreValue(kStoreKeyPath, "Zodiac sectors", "0\r\n");
    EXPECT_FALSE(LoadStoredSwitch(store, StoredSwitch::ZodiacSectors));
    EXPECT_EQ(store.GetStoreValue(kStoreKeyPath, "Zodiac sectors", value), "0 OK");
    EXPECT_EQ(value, "0");
}

TEST(StoredSwitches, Language) {
    TempFolder tmp("vek-store-test");
    SettingsStore store(tmp.path());
    EXPECT_EQ(ReadLanguageSetting(store), 0);
    WriteLanguageSetting(store, 1);
    EXPECT_EQ(ReadLanguageSetting(store), 1);
    std::string value;
    store.GetStoreValue(kStoreKeyPath, "Language", value);
    EXPECT_EQ(value, "DE");
    store.SetStoreValue(kStoreKeyPath, "Language", "ES");
    EXPECT_EQ(ReadLanguageSetting(store), 2);
    store.SetStoreValue(kStoreKeyPath, "Language", "FR");
    EXPECT_EQ(ReadLanguageSetting(store), 0);
    store.SetStoreValue(kStoreKeyPath, "Language", "de");
    EXPECT_EQ(ReadLanguageSetting(store), 0);
    WriteLanguageSetting(store, 7);
    store.GetStoreValue(kStoreKeyPath, "Language", value);
    EXPECT_EQ(value, "EN");
}

// Sets environment variables for one test and puts them back afterwards.
class EnvGuard {
  public:
    void Set(const char* name, const char* value) {
        if (!saved_.count(name)) {
            const char* old = std::getenv(name);
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~EnvGuard() {
        for (const auto& [name, value] : saved_) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
    }

  private:
    std::map<std::string, std::optional<std::string>> saved_;
};

TEST(StoreFolder, DefaultFolderFollowsTheEnvironment) {
    EnvGuard env;
    env.Set("VEK_CONFIG_DIR", nullptr);
    env.Set("XDG_CONFIG_HOME", "/x/cfg");
    EXPECT_EQ(SettingsStore::DefaultFolder(), "/x/cfg/Vantrel");
    env.Set("XDG_CONFIG_HOME", "relative");  // not absolute: ignored
    env.Set("HOME", "/home/u");
    EXPECT_EQ(SettingsStore::DefaultFolder(), "/home/u/.config/Vantrel");
    env.Set("VEK_CONFIG_DIR", "/elsewhere");
    EXPECT_EQ(SettingsStore().FilePath(), "/elsewhere/VEK.conf");
}

TEST(FileHelpers, AtomicWriteReplacesOrKeepsTheOldFile) {
    TempFolder tmp("vek-store-test");
    const std::string target = tmp / "state.txt";
    EXPECT_EQ(WriteFileAtomically(target, "first"), "");
    EXPECT_EQ(WriteFileAtomically(target, "second"), "");
    EXPECT_EQ(ReadAll(target), "second");
    EXPECT_EQ(FileCount(tmp.path()), 1);

    EXPECT_NE(WriteFileAtomically(tmp / "missing/state.txt", "x"), "");
    fs::create_directory(tmp / "dir");
    EXPECT_NE(WriteFileAtomically(tmp / "dir", "x"), "");
    EXPECT_TRUE(fs::is_directory(tmp / "dir"));
    EXPECT_EQ(FileCount(tmp.path()), 2);  // state.txt and dir, no leftovers
    EXPECT_EQ(ReadAll(target), "second");
}

TEST(FileHelpers, ReadFileHeadReadsOnlyRegularFilesAndStopsAtTheLimit) {
    TempFolder tmp("vek-store-test");
    std::string out;
    bool truncated = true;
    WriteRaw(tmp / "f", "0123456789");
    EXPECT_EQ(ReadFileHead(tmp / "f", 10, out, truncated), "");
    EXPECT_EQ(out, "0123456789");
    EXPECT_FALSE(truncated);
    EXPECT_EQ(ReadFileHead(tmp / "f", 4, out, truncated), "");
    EXPECT_EQ(out, "0123");
    EXPECT_TRUE(truncated);

    EXPECT_NE(ReadFileHead(tmp / "nothing", 4, out, truncated), "");
    EXPECT_NE(ReadFileHead(tmp.path(), 4, out, truncated), "");
    // A pipe without a writer would block a plain open; it is refused.
    ASSERT_EQ(::mkfifo((tmp / "fifo").c_str(), 0600), 0);
    EXPECT_NE(ReadFileHead(tmp / "fifo", 4, out, truncated), "");
    EXPECT_NE(ReadFileHead("/dev/zero", 4, out, truncated), "");
}

TEST(FileHelpers, MakeFoldersCreatesParents) {
    TempFolder tmp("vek-store-test");
    EXPECT_EQ(MakeFolders(tmp / "a/b/c"), "");
    EXPECT_TRUE(fs::is_directory(tmp / "a/b/c"));
    EXPECT_EQ(MakeFolders(tmp / "a/b/c"), "");
    WriteRaw(tmp / "file", "");
    EXPECT_NE(MakeFolders(tmp / "file/sub"), "");
    EXPECT_NE(MakeFolders(tmp / "file"), "");
}

}  // namespace
}  // namespace vek::platform
