// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/HostFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>
#include <signal.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/DesktopTrash.h"
#include "platform/FileIo.h"

namespace pictaria::host {

namespace {

constexpr char kTemporaryPrefix[] = ".pictaria-";
constexpr char kTemporarySuffix[] = ".part";

// The process that made a temporary name, when `name` is one.
std::optional<pid_t> temporaryOwner(std::string_view name) {
    if (!name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix)) {
        return std::nullopt;
    }
    name.remove_prefix(std::strlen(kTemporaryPrefix));
    const std::size_t dash = name.find('-');
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + dash, pid);
    if (dash == std::string_view::npos || error != std::errc() || end != name.data() + dash ||
        pid <= 0) {
        return std::nullopt;
    }
    return pid;
}

// Every entry of the folder can be removed, recursively (see checkTreeRemovable).
FsResult checkFolderContentsRemovable(const std::string& folder) {
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0) {
        return FsResult::fromErrno();
    }
    if (!S_ISDIR(st.st_mode)) {
        return FsResult::success();
    }
    if (::access(folder.c_str(), R_OK | W_OK | X_OK) != 0) {
        return FsResult::fromErrno();
    }
    const bool sticky = (st.st_mode & S_ISVTX) != 0 && ::geteuid() != 0 && st.st_uid != ::geteuid();
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) {
        return FsResult::fromErrno();
    }
    std::vector<std::string> children;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            children.push_back(folder + "/" + entry->d_name);
        }
    }
    ::closedir(dir);
    for (const std::string& child : children) {
        struct stat childStat {};
        if (sticky && ::lstat(child.c_str(), &childStat) == 0 && childStat.st_uid != ::geteuid()) {
            return FsResult::failure(EPERM);
        }
        if (const FsResult removable = checkFolderContentsRemovable(child); !removable) {
            return removable;
        }
    }
    return FsResult::success();
}

// Closes a descriptor when it goes out of scope.
class UniqueFd {
  public:
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    ~UniqueFd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now and reports the result: a late write error can surface here.
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

  private:
    int fd_;
};

bool flagRefused(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

bool linkRefused(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK ||
           error == EINVAL;
}

FsResult renameAfterCheckingTarget(const std::string& from, const std::string& to) {
    struct stat st {};
    if (::lstat(to.c_str(), &st) == 0) {
        return FsResult::failure(EEXIST);
    }
    if (errno != ENOENT) {
        return FsResult::fromErrno();
    }
    return ::rename(from.c_str(), to.c_str()) == 0 ? FsResult::success() : FsResult::fromErrno();
}

FsResult renameByLink(const std::string& from, const std::string& to) {
    if (::link(from.c_str(), to.c_str()) != 0) {
        if (linkRefused(errno)) {
            return renameAfterCheckingTarget(from, to);
        }
        return FsResult::fromErrno();
    }
    if (::unlink(from.c_str()) != 0) {
        const FsResult failed = FsResult::fromErrno();
        ::unlink(to.c_str());
        return failed;
    }
    return FsResult::success();
}

// Opens a fresh temporary file next to `to` with the given permission bits (less the umask, so
// never more open than the source); never reuses an existing name.
UniqueFd createTemporaryNextTo(const std::string& to, mode_t permissions, std::string& tempPath) {
    const std::string folder = hostFolderOf(to);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = temporaryNameIn(folder);
        const int fd =
            ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, permissions);
        if (fd >= 0 || errno != EEXIST) {
            return UniqueFd(fd);
        }
    }
    return UniqueFd(-1);
}

FsResult copyContents(int in, int out, std::int64_t expectedSize) {
    std::int64_t copied = 0;
    for (;;) {
        const ssize_t n = fileIo().copyChunk(in, out, 8 << 20);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return FsResult::fromErrno();
        }
        if (n == 0) {
            break;
        }
        copied += n;
    }
    // The source changed under us, or a write was silently short: do not call it a copy.
    return copied == expectedSize ? FsResult::success() : FsResult::failure(EIO);
}

// Both times are given: some card drivers (exFAT) ignore a modification time set with the
// access time left out, and report success all the same.
timespec timesOf(const FileIdentity& source, int which) {
    return which == 0
               ? timespec{static_cast<time_t>(source.accessedSeconds), source.accessedNanoseconds}
               : timespec{static_cast<time_t>(source.modifiedSeconds), source.modifiedNanoseconds};
}

// A file system that cannot keep an attribute (FAT has no permission bits, some FUSE file
// systems no times) refuses it with one of these; the copy is whole all the same.
bool cannotKeep(int error) {
    return error == EPERM || error == ENOTSUP || error == EOPNOTSUPP || error == ENOSYS;
}

FsResult attributeSet(int status) {
    return status == 0 || cannotKeep(errno) ? FsResult::success() : FsResult::fromErrno();
}

FsResult copyAttributes(int fd, const FileIdentity& source) {
    const timespec times[2] = {timesOf(source, 0), timesOf(source, 1)};
    // The file was created with the source's bits; only what the umask took away is restored
    // (changing the mode of a file just written is costly on some file systems).
    struct stat made {};
    if (::fstat(fd, &made) != 0) {
        return FsResult::fromErrno();
    }
    if ((made.st_mode & 0777) != source.permissions) {
        if (FsResult mode = attributeSet(::fchmod(fd, source.permissions)); !mode) {
            return mode;
        }
    }
    return attributeSet(::futimens(fd, times));
}

// Writes the whole copy of `from` under a fresh temporary name next to `to` (`tempPath`) and
// closes it, its data flushed to disk or at least on its way there; on failure the temporary
// file is gone again.
FsResult writeTemporaryCopy(const std::string& from, const std::string& to,
                            const FileIdentity& source, bool flush, std::string& tempPath) {
    UniqueFd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in.valid()) {
        return FsResult::fromErrno();
    }
    UniqueFd out = createTemporaryNextTo(to, source.permissions, tempPath);
    if (!out.valid()) {
        return FsResult::fromErrno();
    }
    FsResult result = copyContents(in.get(), out.get(), source.size);
    if (result) {
        result = copyAttributes(out.get(), source);
    }
    if (result && flush && fileIo().syncFile(out.get()) != 0) {
        result = FsResult::fromErrno();
    }
    if (result && !flush) {
        // The disk starts writing at once, so the data is on its way before the copy gets its
        // name; a file system that cannot start it early writes it all the same.
        fileIo().startWriteBack(out.get());
    }
    if (out.close() != 0 && result) {
        result = FsResult::fromErrno();
    }
    if (!result) {
        fileIo().removeFile(tempPath.c_str());
    }
    return result;
}

// What a copy starts from: `from` a regular file (its identity in `source`), `to` still free.
FsResult checkCopySource(const std::string& from, const std::string& to, FileIdentity& source) {
    const auto found = identify(from, LinkMode::Follow);
    if (!found) {
        return FsResult::fromErrno();
    }
    if (!found->isRegular) {
        return FsResult::failure(found->isDirectory ? EISDIR : EINVAL);
    }
    if (identify(to)) {
        return FsResult::failure(EEXIST);
    }
    source = *found;
    return FsResult::success();
}

// The whole copy of `from` under the new name `to`, its data flushed or on its way to disk
// before it gets the name; `source` receives the identity the source had.
FsResult writeNamedCopy(const std::string& from, const std::string& to, FileIdentity& source,
                        bool flush) {
    std::string tempPath;
    if (FsResult checked = checkCopySource(from, to, source); !checked) {
        return checked;
    }
    if (FsResult written = writeTemporaryCopy(from, to, source, flush, tempPath); !written) {
        return written;
    }
    return nameCopy(tempPath, to);
}

}  // namespace

FsResult copyAttributes(const std::string& path, const FileIdentity& source) {
    const timespec times[2] = {timesOf(source, 0), timesOf(source, 1)};
    if (FsResult mode = attributeSet(::chmod(path.c_str(), source.permissions)); !mode) {
        return mode;
    }
    return attributeSet(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW));
}

std::optional<FileIdentity> identify(const std::string& path, LinkMode mode) {
    struct stat st {};
    const int status =
        mode == LinkMode::Follow ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st);
    if (status != 0) {
        return std::nullopt;
    }
    FileIdentity identity;
    identity.device = st.st_dev;
    identity.inode = st.st_ino;
    identity.size = static_cast<std::int64_t>(st.st_size);
    identity.modifiedSeconds = static_cast<std::int64_t>(st.st_mtim.tv_sec);
    identity.modifiedNanoseconds = st.st_mtim.tv_nsec;
    identity.accessedSeconds = static_cast<std::int64_t>(st.st_atim.tv_sec);
    identity.accessedNanoseconds = st.st_atim.tv_nsec;
    identity.permissions = st.st_mode & 0777;
    identity.isDirectory = S_ISDIR(st.st_mode);
    identity.isRegular = S_ISREG(st.st_mode);
    return identity;
}

int openRegularForReading(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    const int flags = ::fcntl(fd, F_GETFL);
    if (!regular || flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::string hostFolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

FsResult renameNoReplace(const std::string& from, const std::string& to) {
    if (fileIo().renameNoReplace(from.c_str(), to.c_str()) == 0) {
        return FsResult::success();
    }
    if (!flagRefused(errno)) {
        return FsResult::fromErrno();
    }
    const auto source = identify(from);
    if (!source) {
        return FsResult::fromErrno();
    }
    return source->isDirectory ? renameAfterCheckingTarget(from, to) : renameByLink(from, to);
}

FsResult copyFileNoReplace(const std::string& from, const std::string& to) {
    FileIdentity source;
    return writeNamedCopy(from, to, source, false);
}

FsResult moveFileNoReplace(const std::string& from, const std::string& to) {
    const FsResult renamed = renameNoReplace(from, to);
    if (renamed || renamed.error() != EXDEV) {
        return renamed;
    }
    const auto source = identify(from);
    if (!source || !source->isRegular) {
        return FsResult::failure(EXDEV);  // folders and special files are not copied here
    }
    return moveFileByCopy(from, to);
}

FsResult moveFileByCopy(const std::string& from, const std::string& to) {
    FileIdentity source;
    if (FsResult copied = writeNamedCopy(from, to, source, true); !copied) {
        return copied;
    }
    // A copy whose name may not be on the disk is no copy: the move fails, leaving the source
    // as the only one.
    if (FsResult flushed = flushToDisk(hostFolderOf(to)); !flushed) {
        fileIo().removeFile(to.c_str());
        return flushed;
    }
    return finishMoveByCopy(from, to, source);
}

FsResult startMoveByCopy(const std::string& from, const std::string& to, FileIdentity& source,
                         std::string& tempPath) {
    if (FsResult checked = checkCopySource(from, to, source); !checked) {
        return checked;
    }
    return writeTemporaryCopy(from, to, source, false, tempPath);
}

FsResult nameCopy(const std::string& tempPath, const std::string& to) {
    FsResult named = renameNoReplace(tempPath, to);
    if (!named) {
        fileIo().removeFile(tempPath.c_str());
    }
    return named;
}

FsResult finishMoveByCopy(const std::string& from, const std::string& to,
                          const FileIdentity& source) {
    // The source goes only when the copy is whole, the source did not change meanwhile and
    // the copy is not the source itself (two drive letters can reach one folder).
    const auto copy = identify(to);
    const auto sourceNow = identify(from, LinkMode::Follow);
    const bool sameFile = copy && sourceNow && sourceNow->sameFileAs(*copy);
    const bool safeToRemove = copy && sourceNow && !sameFile && sourceNow->unchangedSince(source) &&
                              copy->size == source.size;
    if (safeToRemove && fileIo().removeFile(from.c_str()) == 0) {
        return FsResult::success();
    }
    const FsResult failed = safeToRemove ? FsResult::fromErrno() : FsResult::failure(EBUSY);
    if (copy && !sameFile) {
        fileIo().removeFile(to.c_str());
    }
    return failed;
}

FsResult flushToDisk(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
        return FsResult::fromErrno();
    }
    // Some file systems cannot sync a folder; their files were synced one by one.
    if (fileIo().syncFile(fd.get()) != 0 && errno != EINVAL && errno != EROFS) {
        return FsResult::fromErrno();
    }
    return FsResult::success();
}

FsResult flushFileSystemOf(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid() || fileIo().syncFileSystem(fd.get()) != 0) {
        return FsResult::fromErrno();
    }
    return FsResult::success();
}

std::string temporaryNameIn(const std::string& folder) {
    static std::atomic<unsigned> counter{0};
    const std::string name = std::string(kTemporaryPrefix) + std::to_string(::getpid()) + "-" +
                             std::to_string(counter.fetch_add(1)) + kTemporarySuffix;
    return folder == "." ? name : (folder == "/" ? "/" + name : folder + "/" + name);
}

std::vector<std::string> removeStaleTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) {
        return {};
    }
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(dir)) {
        const auto owner = temporaryOwner(entry->d_name);
        if (owner && *owner != ::getpid() && ::kill(*owner, 0) != 0 && errno == ESRCH) {
            stale.push_back(folder + "/" + entry->d_name);
        }
    }
    ::closedir(dir);
    std::vector<std::string> kept;
    for (const std::string& path : stale) {
        if (!DesktopTrash::moveToTrash(path)) {
            kept.push_back(path);  // it stays, and is tried again next time
        }
    }
    return kept;
}

FsResult checkLeavesItsFolder(const std::string& path) {
    const std::string parent = hostFolderOf(path);
    struct stat parentStat {};
    struct stat own {};
    if (::access(parent.c_str(), W_OK | X_OK) != 0 || ::lstat(parent.c_str(), &parentStat) != 0 ||
        ::lstat(path.c_str(), &own) != 0) {
        return FsResult::fromErrno();
    }
    const uid_t me = ::geteuid();
    if ((parentStat.st_mode & S_ISVTX) && me != 0 && parentStat.st_uid != me && own.st_uid != me) {
        return FsResult::failure(EPERM);
    }
    return FsResult::success();
}

FsResult checkTreeRemovable(const std::string& path) {
    if (FsResult leaves = checkLeavesItsFolder(path); !leaves) {
        return leaves;
    }
    return checkFolderContentsRemovable(path);
}

}  // namespace pictaria::host
