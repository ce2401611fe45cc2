#include "util/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <optional>
#include <set>

#include "../temp_folder.h"

namespace vek {
namespace {

namespace fs = std::filesystem;
using testing::ReadAll;
using testing::TempFolder;
using testing::WriteRaw;

std::set<std::string> Names(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename());
    return names;
}

// Sets a file's change time `seconds` into the past (without following links).
void Age(const std::string& path, int seconds) {
    timeval times[2];
    ::gettimeofday(&times[0], nullptr);
    times[0].tv_sec -= seconds;
    times[1] = times[0];
    ASSERT_EQ(::lutimes(path.c_str(), times), 0) << path;
}

TEST(ReadFiles, OnlyRegularFilesAndNeverMoreThanTheLimit) {
    TempFolder tmp("vek-files-test");
    WriteRaw(tmp / "f", "0123456789");
    Result<FileHead> head = ReadFileHead(tmp / "f", 10);
    ASSERT_TRUE(head) << head.message();
    EXPECT_EQ(head->bytes, "0123456789");
    EXPECT_FALSE(head->truncated);
    head = ReadFileHead(tmp / "f", 4);
    ASSERT_TRUE(head);
    EXPECT_EQ(head->bytes, "0123");
    EXPECT_TRUE(head->truncated);

    // A whole-file read refuses a file over the limit instead of cutting it.
    Result<std::string> whole = ReadRegularFile(tmp / "f", 10);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole.value(), "0123456789");
    whole = ReadRegularFile(tmp / "f", 9);
    EXPECT_FALSE(whole);
    EXPECT_EQ(whole.error().code, EFBIG);

    EXPECT_EQ(ReadFileHead(tmp / "nothing", 4).error().code, ENOENT);
    EXPECT_EQ(ReadFileHead(tmp.path(), 4).error().code, EISDIR);
    // A pipe without a writer would block a plain open; it is refused.
    ASSERT_EQ(::mkfifo((tmp / "fifo").c_str(), 0600), 0);
    EXPECT_FALSE(ReadFileHead(tmp / "fifo", 4));
    EXPECT_FALSE(ReadRegularFile("/dev/zero", 4));
    EXPECT_NE(ReadFileHead("/dev/zero", 4).message().find("Not a regular file"), std::string::npos);
}

TEST(MakeFolders, CreatesParentsAndRefusesFiles) {
    TempFolder tmp("vek-files-test");
    EXPECT_TRUE(MakeFolders(tmp / "a/b/c"));
    EXPECT_TRUE(fs::is_directory(tmp / "a/b/c"));
    EXPECT_TRUE(MakeFolders(tmp / "a/b/c"));
    WriteRaw(tmp / "file", "");
    EXPECT_FALSE(MakeFolders(tmp / "file/sub"));
    EXPECT_EQ(MakeFolders(tmp / "file").error().code, ENOTDIR);
    EXPECT_FALSE(MakeFolders(""));
}

TEST(AtomicWrite, ReplacesTheFileOrKeepsTheOldOne) {
    TempFolder tmp("vek-files-test");
    const std::string target = tmp / "state.txt";
    EXPECT_TRUE(WriteFileAtomically(target, "first"));
    EXPECT_TRUE(WriteFileAtomically(target, "second"));
    EXPECT_EQ(ReadAll(target), "second");
    EXPECT_EQ(Names(tmp.path()), std::set<std::string>{"state.txt"});

    // The file's permissions survive the replacement.
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    EXPECT_TRUE(WriteFileAtomically(target, "third"));
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));

    EXPECT_EQ(WriteFileAtomically(tmp / "missing/state.txt", "x").error().code, ENOENT);
    fs::create_directory(tmp / "dir");
    Status st = WriteFileAtomically(tmp / "dir", "x");
    EXPECT_FALSE(st);
    EXPECT_NE(st.message().find(tmp / "dir"), std::string::npos) << st.message();
    EXPECT_TRUE(fs::is_directory(tmp / "dir"));
    EXPECT_FALSE(WriteFileAtomically("", "x"));
    EXPECT_EQ(Names(tmp.path()), (std::set<std::string>{"state.txt", "dir"}));  // no leftovers
    EXPECT_EQ(ReadAll(target), "third");
}

TEST(AtomicWrite, SavesThroughSymbolicLinksToTheirTargets) {
    TempFolder tmp("vek-files-test");
    fs::create_directory(tmp / "real");
    fs::create_directory(tmp / "links");
    WriteRaw(tmp / "real/a.vek", "old");
    fs::create_symlink(tmp / "real/a.vek", tmp / "links/absolute.vek");
    fs::create_symlink("../real/a.vek", tmp / "links/relative.vek");
    fs::create_symlink("relative.vek", tmp / "links/chain.vek");

    EXPECT_TRUE(WriteFileAtomically(tmp / "links/absolute.vek", "one"));
    EXPECT_TRUE(fs::is_symlink(tmp / "links/absolute.vek"));
    EXPECT_EQ(ReadAll(tmp / "real/a.vek"), "one");
    EXPECT_TRUE(WriteFileAtomically(tmp / "links/relative.vek", "two"));
    EXPECT_TRUE(fs::is_symlink(tmp / "links/relative.vek"));
    EXPECT_EQ(ReadAll(tmp / "real/a.vek"), "two");
    EXPECT_TRUE(WriteFileAtomically(tmp / "links/chain.vek", "three"));
    EXPECT_TRUE(fs::is_symlink(tmp / "links/chain.vek"));
    EXPECT_TRUE(fs::is_symlink(tmp / "links/relative.vek"));
    EXPECT_EQ(ReadAll(tmp / "real/a.vek"), "three");
    // The temporary file was made beside the target, not beside the link.
    EXPECT_EQ(Names(tmp / "real"), std::set<std::string>{"a.vek"});
    EXPECT_EQ(Names(tmp / "links").size(), 3u);

    // A dangling link: the file it names is created.
    fs::create_symlink("../real/new.vek", tmp / "links/dangling.vek");
    EXPECT_TRUE(WriteFileAtomically(tmp / "links/dangling.vek", "new"));
    EXPECT_TRUE(fs::is_symlink(tmp / "links/dangling.vek"));
    EXPECT_EQ(ReadAll(tmp / "real/new.vek"), "new");

    // A loop of links is an error; nothing is written.
    fs::create_symlink("loop2", tmp / "links/loop1");
    fs::create_symlink("loop1", tmp / "links/loop2");
    EXPECT_EQ(WriteFileAtomically(tmp / "links/loop1", "x").error().code, ELOOP);
    EXPECT_TRUE(fs::is_symlink(tmp / "links/loop1"));
    EXPECT_EQ(Names(tmp / "links").size(), 6u);
}

TEST(AtomicWrite, ASuccessfulSaveRemovesOnlyOurOwnStaleTemporaryFiles) {
    TempFolder tmp("vek-files-test");
    const std::string stale = ".vek-tmp-aB3xYz";
    const std::string fresh = ".vek-tmp-Q1w2E3";
    const std::string longer = ".vek-tmp-aB3xYz7";  // not a name of ours
    const std::string other = "notes-tmp-aB3xYz";
    const std::string link = ".vek-tmp-L1nk00";
    const std::string folder = ".vek-tmp-D1r000";
    for (const std::string& n : {stale, fresh, longer, other}) WriteRaw(tmp / n, "x");
    fs::create_symlink(tmp / "state.vek", tmp / link);
    fs::create_directory(tmp / folder);
    for (const std::string& n : {stale, longer, other, link, folder}) Age(tmp / n, 120);
    Age(tmp / fresh, 10);  // perhaps a save under way
    std::set<std::string> expected = {fresh, longer, other, link, folder, "state.vek"};

    // Another user's file stays; only root can make one here.
    const std::string foreign = ".vek-tmp-F0re1g";
    if (::geteuid() == 0) {
        WriteRaw(tmp / foreign, "x");
        ASSERT_EQ(::chown((tmp / foreign).c_str(), 4242, 4242), 0);
        Age(tmp / foreign, 120);
        expected.insert(foreign);
    }

    // A failed save cleans nothing.
    fs::create_directory(tmp / "taken.vek");
    EXPECT_FALSE(WriteFileAtomically(tmp / "taken.vek", "x"));
    EXPECT_TRUE(fs::exists(tmp / stale));
    fs::remove(tmp / "taken.vek");

    ASSERT_TRUE(WriteFileAtomically(tmp / "state.vek", "saved"));
    EXPECT_EQ(Names(tmp.path()), expected);
    EXPECT_EQ(RemoveStaleTempFiles(tmp.path()), 0);
    EXPECT_EQ(RemoveStaleTempFiles(tmp.path(), std::chrono::seconds(0)), 1);  // the fresh one
    EXPECT_EQ(RemoveStaleTempFiles(tmp / "no-such-folder"), 0);
}

TEST(FileLock, ASecondHolderWaitsABoundedTimeAndGetsItOnRelease) {
    TempFolder tmp("vek-files-test");
    const std::string lockPath = tmp / "store.lock";
    std::optional<Result<FileLock>> first(FileLock::Acquire(lockPath));
    ASSERT_TRUE(first->ok()) << first->message();

    const auto start = std::chrono::steady_clock::now();
    Result<FileLock> second = FileLock::Acquire(lockPath, std::chrono::milliseconds(200));
    const auto waited = std::chrono::steady_clock::now() - start;
    ASSERT_FALSE(second);
    EXPECT_EQ(second.error().code, EWOULDBLOCK);
    EXPECT_NE(second.message().find("200 ms"), std::string::npos) << second.message();
    EXPECT_GE(waited, std::chrono::milliseconds(200));
    EXPECT_LT(waited, std::chrono::seconds(2));

    // Moving the lock keeps it held; destroying the holder releases it.
    Result<FileLock> moved = std::move(first->value());
    first.reset();
    EXPECT_FALSE(FileLock::Acquire(lockPath, std::chrono::milliseconds(0)));
    moved = Fail("released");
    EXPECT_TRUE(FileLock::Acquire(lockPath, std::chrono::milliseconds(0)));

    EXPECT_EQ(FileLock::Acquire(tmp / "no/such/folder.lock").error().code, ENOENT);
}

}  // namespace
}  // namespace vek
