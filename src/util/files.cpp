#include "util/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>
#include <utility>
#include <vector>

namespace vek {

namespace {

// Symbolic links followed in a row before the path counts as a loop; the
// kernel's own limit.
constexpr int kMaxLinkHops = 40;

std::string SystemMessage(int err) {
    return std::strerror(err);
}

Error SystemError(const std::string& what, const std::string& path, int err) {
    return Fail(what + " " + path + ": " + SystemMessage(err), err);
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

}  // namespace

Result<FileHead> ReadFileHead(const std::string& path, std::size_t maxBytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return SystemError("Cannot open", path, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return SystemError("Cannot open", path, err);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        if (S_ISDIR(st.st_mode)) return SystemError("Cannot open", path, EISDIR);
        return Fail("Cannot open " + path + ": Not a regular file", EINVAL);
    }
    // One byte more than asked tells whether the file holds more.
    const std::size_t want = maxBytes + 1;
    FileHead head;
    std::string& out = head.bytes;
    out.resize(want < 65536 ? want : 65536);
    std::size_t got = 0;
    while (got < want) {
        if (got == out.size()) out.resize(std::min(want, out.size() * 2));
        const ssize_t n = ::read(fd, out.data() + got, out.size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            return SystemError("Cannot read", path, err);
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (got > maxBytes) {
        head.truncated = true;
        got = maxBytes;
    }
    out.resize(got);
    return head;
}

Result<std::string> ReadRegularFile(const std::string& path, std::size_t maxBytes) {
    Result<FileHead> head = ReadFileHead(path, maxBytes);
    if (!head) return head.error();
    if (head->truncated)
        return Fail("Cannot read " + path + ": larger than " + std::to_string(maxBytes) + " bytes",
                    EFBIG);
    return std::move(head.value().bytes);
}

Status MakeFolders(const std::string& folder) {
    if (folder.empty()) return Fail("No folder given.", ENOENT);
    std::size_t pos = 0;
    while (pos <= folder.size()) {
        std::size_t slash = folder.find('/', pos);
        if (slash == std::string::npos) slash = folder.size();
        const std::string partial = folder.substr(0, slash);
        pos = slash + 1;
        if (partial.empty()) continue;  // the root
        if (::mkdir(partial.c_str(), 0777) != 0 && errno != EEXIST)
            return SystemError("Cannot create folder", partial, errno);
    }
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return SystemError("Cannot create folder", folder, ENOTDIR);
    return Ok();
}

namespace {

std::string FileKind(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISFIFO(mode)) return "a pipe";
    if (S_ISSOCK(mode)) return "a socket";
    return "no regular file";
}

// Whether a link in `folder` may be followed: outside a world-writable
// sticky folder always; inside one only when the link is the user's own or
// the folder owner's, so that another user's link there cannot send a save
// to a file of the user's choosing.
bool MayFollowLinkIn(const std::string& folder, uid_t linkOwner) {
    struct stat dir {};
    if (::stat(folder.c_str(), &dir) != 0) return true;  // the open reports it
    const bool shared = (dir.st_mode & S_ISVTX) && (dir.st_mode & S_IWOTH);
    return !shared || linkOwner == ::geteuid() || linkOwner == dir.st_uid;
}

// Takes a flock within `wait`; false when another holder keeps it.
bool LockWithin(int fd, int operation, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(fd, operation | LOCK_NB) == 0) return true;
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// A save holds its folder's lock shared from the creation of its temporary
// file until that file is locked; the clean-up holds it exclusively, so it
// never finds a temporary file that is made but not yet locked.
constexpr std::chrono::milliseconds kFolderLockWait(2000);
constexpr std::chrono::milliseconds kCleanUpLockWait(200);

}  // namespace

Result<std::string> SaveTarget(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat st {};
        // Whatever stops us from looking (a missing file, a folder we may not
        // search) is for the caller's open or rename to report.
        if (::lstat(current.c_str(), &st) != 0) return current;
        if (S_ISREG(st.st_mode)) return current;
        if (!S_ISLNK(st.st_mode)) {
            const std::string which = current == path ? "it" : current;
            return Fail("Cannot write " + path + ": " + which + " is " + FileKind(st.st_mode) +
                            ", not a regular file",
                        S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
        }
        const std::string folder = ParentFolder(current);
        if (!MayFollowLinkIn(folder, st.st_uid))
            return Fail("Cannot write " + path + ": the link " + current +
                            " belongs to another user in the shared folder " + folder,
                        EACCES);
        std::vector<char> target(static_cast<std::size_t>(std::max<off_t>(st.st_size, 255)) + 2);
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n < 0) return SystemError("Cannot follow the link", current, errno);
        if (static_cast<std::size_t>(n) >= target.size())  // grew since lstat
            return SystemError("Cannot follow the link", current, ENAMETOOLONG);
        std::string next(target.data(), static_cast<std::size_t>(n));
        if (next.empty()) return SystemError("Cannot follow the link", current, ENOENT);
        if (next[0] != '/') next = folder + "/" + next;
        current = std::move(next);
    }
    return SystemError("Cannot follow the link", path, ELOOP);
}

Status WriteFileAtomically(const std::string& path, std::string_view content) {
    if (path.empty()) return Fail("No file name given.", ENOENT);
    Result<std::string> resolved = SaveTarget(path);
    if (!resolved) return resolved.error();
    const std::string& target = resolved.value();
    const std::string folder = ParentFolder(target);

    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // Without the folder's lock (another program keeps it) the save goes on:
    // only the clean-up's view of this temporary file is then less sure.
    const bool folderLocked = dir >= 0 && LockWithin(dir, LOCK_SH, kFolderLockWait);
    std::string tmp = folder + "/" + std::string(kTempFilePrefix) + "XXXXXX";
    const int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
    const int made = errno;
    if (fd >= 0) ::flock(fd, LOCK_EX | LOCK_NB);  // new: nobody else holds it
    if (folderLocked) ::flock(dir, LOCK_UN);
    if (fd < 0) {
        if (dir >= 0) ::close(dir);
        return SystemError("Cannot write", path, made);
    }

    struct stat old {};
    const mode_t mode = (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode))
                            ? (old.st_mode & 07777)
                            : (0666 & ~CurrentUmask());
    int err = 0;
    if (::fchmod(fd, mode) != 0) err = errno;
    if (!err && !WriteAll(fd, content)) err = errno;
    if (!err && ::fsync(fd) != 0) err = errno;
    if (!err && ::rename(tmp.c_str(), target.c_str()) != 0) err = errno;
    if (err) ::unlink(tmp.c_str());
    // Closing releases the lock, after the rename or the removal.
    if (::close(fd) != 0 && !err) err = errno;
    if (err) {
        if (dir >= 0) ::close(dir);
        return SystemError("Cannot write", path, err);
    }
    // Make the rename itself durable; failing here loses nothing already written.
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    RemoveStaleTempFiles(folder);
    return Ok();
}

int RemoveStaleTempFiles(const std::string& folder) {
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) return 0;
    DIR* dir = ::fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        return 0;
    }
    int removed = 0;
    // Under the folder's exclusive lock no save is between creating and
    // locking its temporary file.
    if (LockWithin(dirFd, LOCK_EX, kCleanUpLockWait)) {
        const uid_t me = ::geteuid();
        while (const dirent* e = ::readdir(dir)) {
            const std::string_view name = e->d_name;
            if (name.size() != kTempFilePrefix.size() + 6 ||
                name.substr(0, kTempFilePrefix.size()) != kTempFilePrefix)
                continue;
            int fd = ::openat(dirFd, e->d_name,
                              O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
            if (fd < 0 && errno == EACCES)
                fd = ::openat(dirFd, e->d_name,
                              O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
            if (fd < 0) continue;
            struct stat st {};
            struct stat named {};
            // The name must still be the file opened, a regular file of ours
            // that no save holds.
            const bool stale = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == me &&
                               ::fstatat(dirFd, e->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
                               named.st_ino == st.st_ino && named.st_dev == st.st_dev &&
                               ::flock(fd, LOCK_EX | LOCK_NB) == 0;
            if (stale && ::unlinkat(dirFd, e->d_name, 0) == 0) ++removed;
            ::close(fd);
        }
        ::flock(dirFd, LOCK_UN);
    }
    ::closedir(dir);  // closes dirFd too
    return removed;
}

Result<FileLock> FileLock::Acquire(const std::string& lockPath, std::chrono::milliseconds wait) {
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) return SystemError("Cannot lock", lockPath, errno);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        if (err == EINTR) continue;
        if (err != EWOULDBLOCK) {
            ::close(fd);
            return SystemError("Cannot lock", lockPath, err);
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(wait).count();
            const std::string waited =
                ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
            return Fail("Cannot lock " + lockPath + ": another program has held it for " + waited,
                        EWOULDBLOCK);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return FileLock(fd);
}

FileLock::FileLock(FileLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

FileLock::~FileLock() {
    if (fd_ >= 0) ::close(fd_);  // closing the last descriptor releases the lock
}

}  // namespace vek
