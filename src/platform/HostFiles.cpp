#include "platform/HostFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "platform/FileIo.h"

namespace pictaria::host {

namespace {

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

std::string temporaryNameIn(const std::string& folder) {
    static std::atomic<unsigned> counter{0};
    const std::string name = ".pictaria-" + std::to_string(::getpid()) + "-" +
                             std::to_string(counter.fetch_add(1)) + ".part";
    return folder == "." ? name : (folder == "/" ? "/" + name : folder + "/" + name);
}

// Opens a fresh temporary file next to `to`; never reuses an existing name.
UniqueFd createTemporaryNextTo(const std::string& to, std::string& tempPath) {
    const std::string folder = hostFolderOf(to);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = temporaryNameIn(folder);
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
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

// Writes the whole copy under a temporary name and renames it into place; the temporary file
// is gone again whatever happens.
FsResult writeCopy(const std::string& from, const std::string& to, const FileIdentity& source,
                   Durability durability) {
    UniqueFd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in.valid()) {
        return FsResult::fromErrno();
    }
    std::string tempPath;
    UniqueFd out = createTemporaryNextTo(to, tempPath);
    if (!out.valid()) {
        return FsResult::fromErrno();
    }
    FsResult result = copyContents(in.get(), out.get(), source.size);
    if (result) {
        const timespec times[2] = {
            {0, UTIME_OMIT},
            {static_cast<time_t>(source.modifiedSeconds), source.modifiedNanoseconds}};
        ::futimens(out.get(), times);  // a copy without its date is still a whole copy
        if (durability == Durability::Flushed && fileIo().syncFile(out.get()) != 0) {
            result = FsResult::fromErrno();
        }
    }
    if (out.close() != 0 && result) {
        result = FsResult::fromErrno();
    }
    if (result) {
        result = renameNoReplace(tempPath, to);
    }
    if (!result) {
        fileIo().removeFile(tempPath.c_str());
        return result;
    }
    return durability == Durability::Flushed ? flushToDisk(hostFolderOf(to)) : result;
}

}  // namespace

std::optional<FileIdentity> identify(const std::string& path, LinkMode mode) {
    struct stat st {};
    const int status =
        mode == LinkMode::Follow ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st);
    if (status != 0) {
        return std::nullopt;
    }
    return FileIdentity{st.st_dev,
                        st.st_ino,
                        static_cast<std::int64_t>(st.st_size),
                        static_cast<std::int64_t>(st.st_mtim.tv_sec),
                        st.st_mtim.tv_nsec,
                        S_ISDIR(st.st_mode),
                        S_ISREG(st.st_mode)};
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
    const auto source = identify(from, LinkMode::Follow);
    if (!source) {
        return FsResult::fromErrno();
    }
    if (!source->isRegular) {
        return FsResult::failure(source->isDirectory ? EISDIR : EINVAL);
    }
    if (identify(to)) {
        return FsResult::failure(EEXIST);
    }
    return writeCopy(from, to, *source, Durability::Cached);
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
    if (FsResult copied = startMoveByCopy(from, to, source, Durability::Flushed); !copied) {
        return copied;
    }
    return finishMoveByCopy(from, to, source);
}

FsResult startMoveByCopy(const std::string& from, const std::string& to, FileIdentity& source,
                         Durability durability) {
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
    return writeCopy(from, to, source, durability);
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

void flushFileSystemOf(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid()) {
        ::syncfs(fd.get());
    }
}

}  // namespace pictaria::host
