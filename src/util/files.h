// Reading and writing the user's files safely: reads only of regular files
// and never more than asked, writes that replace a file whole or not at all,
// and a lock for read-change-write cycles shared between programs. Failures
// are Errors whose code is the system's error number (errno).
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "util/result.h"

namespace vek {

// The head of a file: at most the bytes asked for, and whether it holds more.
struct FileHead {
    std::string bytes;
    bool truncated = false;
};

// Reads at most maxBytes of a regular file. Never blocks on a pipe or a
// device: the file is opened without waiting and refused unless it is a
// regular file.
Result<FileHead> ReadFileHead(const std::string& path, std::size_t maxBytes);

// Reads a whole regular file; a file larger than maxBytes is an error (code
// EFBIG), not a shortened text.
Result<std::string> ReadRegularFile(const std::string& path, std::size_t maxBytes);

// Creates a folder and its missing parents.
Status MakeFolders(const std::string& folder);

// The file a save through `path` replaces: the path itself when it is no
// symbolic link, else the link's target, followed again while that is a link
// (a relative target is taken from the folder of the link that holds it). A
// target that does not exist yet is returned as it is, so saving through a
// dangling link creates the file it points to. Refused with a one-line
// message: a target that exists and is no regular file (a device, a pipe, a
// folder), a loop, and a link in a world-writable sticky folder (such as
// /tmp) that belongs neither to the user nor to the folder's owner, which the
// kernel would not follow for a plain open either.
Result<std::string> SaveTarget(const std::string& path);

// Temporary files of our saves start with this, followed by six characters.
inline constexpr std::string_view kTempFilePrefix = ".vek-tmp-";

// Replaces the file at SaveTarget(path) by content; nothing is changed when
// SaveTarget refuses. A link stays a link. The content goes to a temporary
// file in the target's folder, is flushed to disk and renamed over the
// target, so an interrupted save leaves the previous file. The temporary file
// is locked (flock) while it is written, so other saves see it is in use. On
// failure the temporary file is removed and the previous file is left as it
// was. After a successful save, temporary files of cut-off saves in that
// folder are removed (RemoveStaleTempFiles).
Status WriteFileAtomically(const std::string& path, std::string_view content);

// Removes, in folder, regular files named kTempFilePrefix + six characters
// that belong to the current user and that no process holds locked, whatever
// their age: what a save killed or cut off before its rename leaves behind.
// A save under way holds its temporary file locked from its creation on.
// Returns how many were removed.
int RemoveStaleTempFiles(const std::string& folder);

// An exclusive lock (flock) on a lock file, held until the object is
// destroyed. Programs that lock the same file take turns.
class FileLock {
  public:
    // Creates the lock file when missing and waits at most `wait` for the
    // lock; after that the error says the file is held by another program
    // (code EWOULDBLOCK).
    static Result<FileLock> Acquire(const std::string& lockPath,
                                    std::chrono::milliseconds wait = std::chrono::seconds(5));

    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

  private:
    explicit FileLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};

}  // namespace vek
