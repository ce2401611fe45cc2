#include "util/files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
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

TEST(AtomicWrite, ARelativeLinkInAChainIsTakenFromItsOwnFolder) {
    TempFolder tmp("vek-files-test");
    fs::create_directory(tmp / "links");
    fs::create_directory(tmp / "hop");
    fs::create_symlink("../hop/second", tmp / "links/first");
    fs::create_symlink("third", tmp / "hop/second");  // hop/third
    WriteRaw(tmp / "links/third", "not this one");
    ASSERT_TRUE(WriteFileAtomically(tmp / "links/first", "saved"));
    EXPECT_EQ(ReadAll(tmp / "hop/third"), "saved");
    EXPECT_EQ(ReadAll(tmp / "links/third"), "not this one");
    EXPECT_TRUE(fs::is_symlink(tmp / "hop/second"));
}

// A save that is refused says so in one line naming the path and leaves the
// folder as it was: no file replaced, no temporary file.
void ExpectRefused(const std::string& path, const std::string& folder, const std::string& why) {
    const std::set<std::string> before = Names(folder);
    const Status st = WriteFileAtomically(path, "image");
    ASSERT_FALSE(st) << path;
    EXPECT_EQ(st.message().find('\n'), std::string::npos) << st.message();
    EXPECT_NE(st.message().find(path), std::string::npos) << st.message();
    EXPECT_NE(st.message().find(why), std::string::npos) << st.message();
    EXPECT_EQ(Names(folder), before);
}

TEST(AtomicWrite, ReplacesOnlyARegularFileAndNeverADevice) {
    TempFolder tmp("vek-files-test");
    // A device node of our own where we may make one (root), else the
    // system's /dev/full. Root never gets the system's: a save that did
    // follow the link would replace it.
    std::string device = tmp / "myfull";
    if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0) device = "/dev/full";
    fs::create_symlink(device, tmp / "x.png");
    fs::create_symlink("x.png", tmp / "chain.vek");
    ExpectRefused(tmp / "x.png", tmp.path(), device + " is a character device");
    ExpectRefused(tmp / "chain.vek", tmp.path(), device + " is a character device");
    ExpectRefused(device, tmp.path(), "it is a character device");
    EXPECT_TRUE(fs::is_character_file(device));
    ASSERT_EQ(::mkfifo((tmp / "fifo").c_str(), 0600), 0);
    fs::create_symlink("fifo", tmp / "fifo.vek");
    ExpectRefused(tmp / "fifo.vek", tmp.path(), "is a pipe");
    EXPECT_TRUE(fs::is_fifo(tmp / "fifo"));
    fs::create_directory(tmp / "dir");
    fs::create_symlink("dir", tmp / "dir.vek");
    ExpectRefused(tmp / "dir.vek", tmp.path(), "is a folder");
    EXPECT_TRUE(fs::is_directory(tmp / "dir"));
}

TEST(AtomicWrite, InAStickySharedFolderOnlyLinksOfTheUserOrTheFolderOwnerAreFollowed) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to own files of another user";
    constexpr uid_t kOther = 4242;
    constexpr uid_t kThird = 4343;
    TempFolder tmp("vek-files-test");
    const std::string shared = tmp / "shared";
    fs::create_directory(shared);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    WriteRaw(tmp / "notes.txt", "the user's notes");
    auto plant = [&](const std::string& name, uid_t owner) {
        const std::string link = shared + "/" + name;
        fs::create_symlink(tmp / "notes.txt", link);
        EXPECT_EQ(::lchown(link.c_str(), owner, owner), 0) << link;
        return link;
    };

    // Another user's link: refused, the target and the link stay.
    const std::string planted = plant("state.vek", kOther);
    ExpectRefused(planted, shared, "belongs to another user");
    EXPECT_EQ(ReadAll(tmp / "notes.txt"), "the user's notes");
    EXPECT_TRUE(fs::is_symlink(planted));
    // So is a chain that passes through such a link.
    fs::create_symlink(planted, tmp / "mine.vek");
    ExpectRefused(tmp / "mine.vek", tmp.path(), "belongs to another user");

    // The user's own link is followed.
    const std::string own = plant("own.vek", ::geteuid());
    ASSERT_TRUE(WriteFileAtomically(own, "one"));
    EXPECT_EQ(ReadAll(tmp / "notes.txt"), "one");

    // In a shared folder of another owner, that owner's link is followed,
    // a third user's is not.
    ASSERT_EQ(::chown(shared.c_str(), kOther, kOther), 0);
    ASSERT_TRUE(WriteFileAtomically(planted, "two"));
    EXPECT_EQ(ReadAll(tmp / "notes.txt"), "two");
    const std::string third = plant("third.vek", kThird);
    ExpectRefused(third, shared, "belongs to another user");

    // Without the sticky bit the folder is no shared one of that kind.
    ASSERT_EQ(::chmod(shared.c_str(), 0777), 0);
    ASSERT_TRUE(WriteFileAtomically(third, "three"));
    EXPECT_EQ(ReadAll(tmp / "notes.txt"), "three");
}

std::set<std::string> TempNames(const std::string& folder) {
    std::set<std::string> names;
    for (const std::string& n : Names(folder))
        if (n.rfind(".vek-tmp-", 0) == 0) names.insert(n);
    return names;
}

TEST(AtomicWrite, TheNextSaveRemovesWhatACutOffSaveLeftWhateverItsAge) {
    TempFolder tmp("vek-files-test");
    const std::string target = tmp / "state.vek";
    ASSERT_TRUE(WriteFileAtomically(target, "old"));
    // A save cut off by the file-size limit: the kernel ends it with SIGXFSZ
    // in the middle of writing its temporary file.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        [[maybe_unused]] const Status cut = WriteFileAtomically(target, std::string(100000, 'x'));
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
    ASSERT_EQ(TempNames(tmp.path()).size(), 1u);  // just left behind
    EXPECT_EQ(ReadAll(target), "old");

    ASSERT_TRUE(WriteFileAtomically(target, "new"));
    EXPECT_EQ(ReadAll(target), "new");
    EXPECT_EQ(Names(tmp.path()), std::set<std::string>{"state.vek"});
}

TEST(AtomicWrite, ASaveRemovesOnlyOurOwnTemporaryFilesThatNoOneHolds) {
    TempFolder tmp("vek-files-test");
    const std::string stale = ".vek-tmp-aB3xYz";
    const std::string held = ".vek-tmp-Q1w2E3";    // a save under way holds it
    const std::string longer = ".vek-tmp-aB3xYz7";  // not a name of ours
    const std::string other = "notes-tmp-aB3xYz";
    const std::string link = ".vek-tmp-L1nk00";
    const std::string folder = ".vek-tmp-D1r000";
    for (const std::string& n : {stale, held, longer, other}) WriteRaw(tmp / n, "x");
    fs::create_symlink(tmp / "state.vek", tmp / link);
    fs::create_directory(tmp / folder);
    std::set<std::string> expected = {held, longer, other, link, folder, "state.vek"};

    // Another user's file stays; only root can make one here.
    const std::string foreign = ".vek-tmp-F0re1g";
    if (::geteuid() == 0) {
        WriteRaw(tmp / foreign, "x");
        ASSERT_EQ(::chown((tmp / foreign).c_str(), 4242, 4242), 0);
        expected.insert(foreign);
    }
    const int holder = ::open((tmp / held).c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);

    // A failed save cleans nothing.
    fs::create_directory(tmp / "taken.vek");
    EXPECT_FALSE(WriteFileAtomically(tmp / "taken.vek", "x"));
    EXPECT_TRUE(fs::exists(tmp / stale));
    fs::remove(tmp / "taken.vek");

    ASSERT_TRUE(WriteFileAtomically(tmp / "state.vek", "saved"));
    EXPECT_EQ(Names(tmp.path()), expected);
    EXPECT_EQ(RemoveStaleTempFiles(tmp.path()), 0);
    ::close(holder);  // the save is over
    EXPECT_EQ(RemoveStaleTempFiles(tmp.path()), 1);
    EXPECT_FALSE(fs::exists(tmp / held));
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
