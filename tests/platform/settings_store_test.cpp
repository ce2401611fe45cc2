#include "platform/settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <vector>

#include "../temp_folder.h"
#include "util/files.h"

namespace vek::platform {
namespace {

namespace fs = std::filesystem;
using vek::testing::ReadAll;
using vek::testing::TempFolder;
using vek::testing::WriteRaw;

// Temporary files of saves left in the folder.
int TempFileCount(const std::string& folder) {
    int n = 0;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().filename().string().rfind(".vek-tmp-", 0) == 0) ++n;
    return n;
}

int CountOf(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t pos = text.find(part); pos != std::string::npos;
         pos = text.find(part, pos + 1))
        ++n;
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

    // The file reads, but a folder has taken its name: the write cannot land.
    StoreOptions readable;
    readable.readFile = [](const std::string&) -> Result<std::string> {
        return std::string("[Software\\Vantrel\\VEK]\nMoon=1\n");
    };
    SettingsStore store(tmp / "ok", readable);
    fs::create_directories(store.FilePath());
    st = store.SetStoreValue(kStoreKeyPath, "Moon", "0");
    EXPECT_FALSE(StoreStatusOk(st)) << st;
    EXPECT_NE(st.find("Unable to write value."), std::string::npos);
    EXPECT_EQ(TempFileCount(tmp / "ok"), 0);  // no temporary file left behind

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
    EXPECT_EQ(store.GetStoreValue(kStoreKeyPath, "Moon", value),
              "1 Key not found or is empty.  Cannot read " + store.FilePath() +
                  ": larger than " + std::to_string(kMaxStoreFileSize) + " bytes");
}

TEST(SettingsStore, AWriteThatCannotReadTheFileFailsAndKeepsIt) {
    TempFolder tmp("vek-store-test");
    SettingsStore store(tmp.path());
    ASSERT_TRUE(StoreStatusOk(store.SetStoreValue(kStoreKeyPath, "Moon", "0")));
    ASSERT_TRUE(StoreStatusOk(store.SetStoreValue(kStoreKeyPath, "Language", "DE")));

    // Grown past the size limit by a long comment line: reads find nothing,
    // and a write (as every start writes the on/off values back) fails
    // instead of replacing the file by one holding only the new value.
    const std::string big = ReadAll(store.FilePath()) + "#" + std::string(1100000, 'x') + "\n";
    std::string value;
    ASSERT_TRUE(store.Readable());
    WriteRaw(store.FilePath(), big);
    // Reads say why they find nothing, and the store says it cannot be read.
    StoreStatus got = store.GetStoreValue(kStoreKeyPath, "Moon", value);
    EXPECT_EQ(got.rfind("1 Key not found or is empty.  Cannot read ", 0), 0u) << got;
    EXPECT_NE(got.find("larger than"), std::string::npos) << got;
    const Status readable = store.Readable();
    ASSERT_FALSE(readable);
    EXPECT_EQ(readable.error().code, EFBIG);
    StoreStatus st = store.SetStoreValue(kStoreKeyPath, "IPAD", "1");
    EXPECT_FALSE(StoreStatusOk(st)) << st;
    EXPECT_EQ(st.rfind(std::to_string(EFBIG) + " Unable to create (or find) key.  ", 0), 0u) << st;
    EXPECT_TRUE(LoadStoredSwitch(store, StoredSwitch::Moon));  // the default, not written
    EXPECT_EQ(ReadAll(store.FilePath()), big);

    // A file the reader is refused (an unreadable file, to a user other than
    // root).
    WriteRaw(store.FilePath(), "[Software\\Vantrel\\VEK]\nMoon=0\n");
    StoreOptions refused;
    refused.readFile = [](const std::string& path) -> Result<std::string> {
        return Fail("Cannot open " + path + ": Permission denied", EACCES);
    };
    SettingsStore locked(tmp.path(), refused);
    EXPECT_EQ(locked.Readable().error().code, EACCES);
    st = locked.SetStoreValue(kStoreKeyPath, "Moon", "1");
    EXPECT_EQ(
        st.rfind(std::to_string(EACCES) + " Unable to create (or find) key.  Cannot open ", 0), 0u)
        << st;
    EXPECT_EQ(WriteLanguageSetting(locked, 2)[0], std::to_string(EACCES)[0]);
    EXPECT_EQ(ReadAll(store.FilePath()), "[Software\\Vantrel\\VEK]\nMoon=0\n");
    // A reader that finds no file is a first write, not a failure.
    StoreOptions fresh;
    fresh.readFile = [](const std::string& path) -> Result<std::string> {
        return Fail("Cannot open " + path + ": No such file or directory", ENOENT);
    };
    EXPECT_TRUE(SettingsStore(tmp / "other", fresh).Readable());
    EXPECT_TRUE(StoreStatusOk(
        SettingsStore(tmp / "other", fresh).SetStoreValue(kStoreKeyPath, "Moon", "1")));

    // A folder where the file should be cannot be read either.
    fs::remove(store.FilePath());
    fs::create_directory(store.FilePath());
    WriteRaw(store.FilePath() + "/inside", "kept");
    st = store.SetStoreValue(kStoreKeyPath, "Moon", "1");
    EXPECT_EQ(st.rfind(std::to_string(EISDIR) + " ", 0), 0u) << st;
    EXPECT_EQ(ReadAll(store.FilePath() + "/inside"), "kept");
    EXPECT_EQ(TempFileCount(tmp.path()), 0);
}

TEST(SettingsStore, WritesOfTwoProgramsAtOnceAllLand) {
    TempFolder tmp("vek-store-test");
    constexpr int kValuesEach = 150;
    std::vector<pid_t> children;
    for (int p = 0; p < 2; ++p) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            // This test is about lost values, not about how long a writer waits.
            StoreOptions patient;
            patient.lockWait = std::chrono::seconds(60);
            SettingsStore store(tmp.path(), patient);
            int failures = 0;
            for (int i = 0; i < kValuesEach; ++i) {
                const std::string n = std::to_string(i);
                if (!StoreStatusOk(
                        store.SetStoreValue(kStoreKeyPath, "p" + std::to_string(p) + "-" + n, n)))
                    ++failures;
            }
            ::_exit(failures == 0 ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a write failed";
    }
    SettingsStore store(tmp.path());
    int found = 0;
    for (int p = 0; p < 2; ++p) {
        for (int i = 0; i < kValuesEach; ++i) {
            std::string value;
            if (StoreStatusOk(store.GetStoreValue(
                    kStoreKeyPath, "p" + std::to_string(p) + "-" + std::to_string(i), value)) &&
                value == std::to_string(i))
                ++found;
        }
    }
    EXPECT_EQ(found, 2 * kValuesEach);
}

TEST(SettingsStore, AWriterWaitsForTheLockABoundedTime) {
    TempFolder tmp("vek-store-test");
    StoreOptions options;
    options.lockWait = std::chrono::milliseconds(300);
    SettingsStore store(tmp.path(), options);
    ASSERT_TRUE(StoreStatusOk(store.SetStoreValue(kStoreKeyPath, "Moon", "0")));
    const std::string before = ReadAll(store.FilePath());
    {
        Result<FileLock> other = FileLock::Acquire(store.FilePath() + ".lock");
        ASSERT_TRUE(other.ok()) << other.message();
        const auto start = std::chrono::steady_clock::now();
        const StoreStatus st = store.SetStoreValue(kStoreKeyPath, "Moon", "1");
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
        EXPECT_EQ(st.rfind(std::to_string(EWOULDBLOCK) + " Unable to create (or find) key.  ", 0),
                  0u)
            << st;
        EXPECT_NE(st.find("another program"), std::string::npos) << st;
        EXPECT_EQ(ReadAll(store.FilePath()), before);
    }
    EXPECT_TRUE(StoreStatusOk(store.SetStoreValue(kStoreKeyPath, "Moon", "1")));
}

TEST(SettingsStore, AStoreFileThatIsALinkStaysALink) {
    TempFolder tmp("vek-store-test");
    fs::create_directory(tmp / "dotfiles");
    fs::create_directory(tmp / "cfg");
    WriteRaw(tmp / "dotfiles/VEK.conf", "[Software\\Vantrel\\VEK]\nLanguage=DE\n");
    fs::create_symlink("../dotfiles/VEK.conf", tmp / "cfg/VEK.conf");
    SettingsStore store(tmp / "cfg");
    ASSERT_TRUE(StoreStatusOk(store.SetStoreValue(kStoreKeyPath, "Moon", "0")));
    EXPECT_TRUE(fs::is_symlink(tmp / "cfg/VEK.conf"));
    EXPECT_EQ(ReadLanguageSetting(store), 1);
    EXPECT_EQ(CountOf(ReadAll(tmp / "dotfiles/VEK.conf"), "Moon=0\n"), 1);
}

TEST(SettingsStore, SectionsAndNamesDifferingOnlyInCaseAreOne) {
    TempFolder tmp("vek-store-test");
    SettingsStore store(tmp.path());
    WriteRaw(store.FilePath(),
             "[Software\\Vantrel\\VEK]\nMoon=0\nIPAD=0\n"
             "[SOFTWARE\\vantrel\\vek]\nmoon=1\nTZDisp=1\n"
             "[Software\\Other]\nMOON=x\n");
    const StoreContents parsed = ParseStoreText(ReadAll(store.FilePath()));
    ASSERT_EQ(parsed.size(), 2u);
    EXPECT_EQ(parsed[0].path, "Software\\Vantrel\\VEK");  // the first spelling is kept
    ASSERT_EQ(parsed[0].values.size(), 3u);
    EXPECT_EQ(parsed[0].values[0].name, "Moon");
    EXPECT_EQ(parsed[0].values[0].value, "1");  // the later value wins

    std::string value;
    EXPECT_EQ(store.GetStoreValue("software\\VANTREL\\Vek", "MOON", value), "0 OK");
    EXPECT_EQ(value, "1");
    EXPECT_EQ(store.GetStoreValue(kStoreKeyPath, "tzdisp", value), "0 OK");
    EXPECT_EQ(value, "1");

    // A write keeps one section and one line per name, in their first spelling.
    EXPECT_EQ(store.SetStoreValue(kStoreKeyPath, "ipad", "1").rfind("0 Key already exists.", 0),
              0u);
    EXPECT_EQ(ReadAll(store.FilePath()),
              "# Settings of VEK. Written by the program; edit with care.\n"
              "[Software\\Vantrel\\VEK]\nMoon=1\nIPAD=1\nTZDisp=1\n"
              "[Software\\Other]\nMOON=x\n");
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

}  // namespace
}  // namespace vek::platform
