// A save must reach the disk before it replaces the old file: the new
// content is flushed, then renamed over the target, then the folder is
// flushed. The test program links fsync and rename through the wrappers
// below (see tests/CMakeLists.txt), which record the calls and can make
// fsync fail as a full or failing disk would.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "../temp_folder.h"
#include "util/files.h"

extern "C" int __real_fsync(int fd);
extern "C" int __real_rename(const char* from, const char* to);

namespace {

struct Seam {
    bool recording = false;
    int failFsyncWith = 0;         // errno for the next fsync of a file; 0: none
    std::vector<std::string> calls;  // "fsync <what>" and "rename <to>"
};
Seam seam;

std::string WhatIsOpen(int fd) {
    char target[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
    if (n < 0) return "?";
    const std::string path(target, static_cast<size_t>(n));
    return std::filesystem::is_directory(path) ? "folder" : "file";
}

}  // namespace

extern "C" int __wrap_fsync(int fd) {
    if (!seam.recording) return __real_fsync(fd);
    const std::string what = WhatIsOpen(fd);
    seam.calls.push_back("fsync " + what);
    if (what == "file" && seam.failFsyncWith != 0) {
        errno = seam.failFsyncWith;
        seam.failFsyncWith = 0;
        return -1;
    }
    return __real_fsync(fd);
}

extern "C" int __wrap_rename(const char* from, const char* to) {
    if (seam.recording) seam.calls.push_back("rename " + std::filesystem::path(to).filename().string());
    return __real_rename(from, to);
}

namespace vek {
namespace {

using testing::ReadAll;
using testing::TempFolder;

struct Recording {
    Recording() {
        seam = {};
        seam.recording = true;
    }
    ~Recording() { seam = {}; }
};

TEST(DurableWrite, TheContentIsFlushedBeforeTheRenameAndTheFolderAfterIt) {
    TempFolder tmp("vek-durable-test");
    const std::string target = tmp / "chart.vek";
    ASSERT_TRUE(WriteFileAtomically(target, "old"));
    Recording r;
    ASSERT_TRUE(WriteFileAtomically(target, "new"));
    EXPECT_EQ(seam.calls,
              (std::vector<std::string>{"fsync file", "rename chart.vek", "fsync folder"}));
    EXPECT_EQ(ReadAll(target), "new");
}

TEST(DurableWrite, AFlushThatFailsKeepsTheOldFileAndSaysWhy) {
    TempFolder tmp("vek-durable-test");
    const std::string target = tmp / "chart.vek";
    ASSERT_TRUE(WriteFileAtomically(target, "old"));
    Recording r;
    seam.failFsyncWith = EIO;
    const Status st = WriteFileAtomically(target, "new");
    ASSERT_FALSE(st);
    EXPECT_NE(st.message().find(target), std::string::npos) << st.message();
    EXPECT_NE(st.message().find(std::strerror(EIO)), std::string::npos) << st.message();
    EXPECT_EQ(ReadAll(target), "old");
    // Nothing renamed, and no temporary file left beside the target.
    for (const std::string& c : seam.calls) EXPECT_EQ(c.rfind("rename", 0), std::string::npos) << c;
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(tmp.path()))
        names.push_back(e.path().filename());
    EXPECT_EQ(names, std::vector<std::string>{"chart.vek"});
}

}  // namespace
}  // namespace vek
