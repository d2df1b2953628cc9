// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DesktopTrash.h"

#include <dlfcn.h>
#include <gio/gio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "platform/HostFiles.h"

namespace pictaria {

namespace {

constexpr char kGioLibrary[] = "libgio-2.0.so.0";

// The few GIO calls the trash needs, resolved once; all null when the library is missing.
struct GioCalls {
    decltype(&g_file_new_for_path) newFileForPath = nullptr;
    decltype(&g_file_trash) trash = nullptr;
    decltype(&g_object_unref) unref = nullptr;
    decltype(&g_io_error_quark) ioErrorQuark = nullptr;

    bool loaded() const { return newFileForPath && trash && unref && ioErrorQuark; }
};

template <typename Function>
void resolve(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(::dlsym(library, name));
}

GioCalls loadGio() {
    GioCalls calls;
    // Kept loaded for the rest of the run: GIO registers types that cannot be unloaded.
    void* library = ::dlopen(kGioLibrary, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        return calls;
    }
    resolve(library, "g_file_new_for_path", calls.newFileForPath);
    resolve(library, "g_file_trash", calls.trash);
    resolve(library, "g_object_unref", calls.unref);
    resolve(library, "g_io_error_quark", calls.ioErrorQuark);
    return calls;
}

// GIO's error codes as the host's error numbers. The file was checked to be free to leave its
// folder, so a refused permission or an unusable trash folder means that no trash can take it
// (ENOTSUP); a full disk or a read-only file system keeps its own reason.
int errnoOf(int gioError) {
    switch (gioError) {
        case G_IO_ERROR_NOT_FOUND:
            return ENOENT;
        case G_IO_ERROR_NOT_SUPPORTED:
        case G_IO_ERROR_PERMISSION_DENIED:
        case G_IO_ERROR_NOT_DIRECTORY:
        case G_IO_ERROR_EXISTS:
            return ENOTSUP;
        case G_IO_ERROR_NO_SPACE:
            return ENOSPC;
        case G_IO_ERROR_READ_ONLY:
            return EROFS;
        case G_IO_ERROR_BUSY:
            return EBUSY;
        case G_IO_ERROR_FILENAME_TOO_LONG:
            return ENAMETOOLONG;
        default:
            return EIO;
    }
}

const GioCalls& gio() {
    static const GioCalls calls = loadGio();
    return calls;
}

namespace fs = std::filesystem;

bool matches(const struct stat& st, const FileStamp& stamp, bool folder) {
    const bool same = static_cast<unsigned long long>(st.st_dev) == stamp.device &&
                      static_cast<unsigned long long>(st.st_ino) == stamp.inode;
    const long long modified =
        static_cast<long long>(st.st_mtim.tv_sec) * 1'000'000'000LL + st.st_mtim.tv_nsec;
    if (!same || S_ISDIR(st.st_mode) != folder) {
        return false;
    }
    return folder || (st.st_size == stamp.size && modified == stamp.modifiedNs);
}

// The top folder of the volume that holds `path`: the highest folder above it on its device.
std::string topFolderOf(const std::string& path) {
    fs::path folder = fs::path(path).parent_path();
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) {
        return {};
    }
    while (folder.has_relative_path()) {
        struct stat parent {};
        if (::stat(folder.parent_path().c_str(), &parent) != 0 || parent.st_dev != st.st_dev) {
            break;
        }
        folder = folder.parent_path();
    }
    return folder.string();
}

struct TrashFolder {
    fs::path folder;
    std::string top;  // the volume's top folder, to which its records' paths are relative
};

// The trash folders the desktop may have put `path` in: the user's own, and those at the top of
// its volume.
std::vector<TrashFolder> trashFoldersFor(const std::string& path) {
    std::vector<TrashFolder> folders{{fs::path(g_get_user_data_dir()) / "Trash", "/"}};
    if (const std::string top = topFolderOf(path); !top.empty()) {
        const std::string user = std::to_string(::getuid());
        folders.push_back({fs::path(top) / ".Trash" / user, top});
        folders.push_back({fs::path(top) / (".Trash-" + user), top});
    }
    return folders;
}

// The path a trash record says its item came from ("Path=" with %-escapes, relative to the
// volume's top in a volume's trash).
std::string recordedPath(const fs::path& info, const std::string& top) {
    std::ifstream record(info);
    std::string line;
    while (std::getline(record, line) && !line.starts_with("Path=")) {
    }
    const QByteArray escaped = QByteArray::fromStdString(line).mid(5);
    const std::string path = QByteArray::fromPercentEncoding(escaped).toStdString();
    if (path.empty() || path.front() == '/') {
        return path;
    }
    return (fs::path(top) / path).string();
}

struct TrashEntry {
    fs::path item;  // files/NAME
    fs::path info;  // info/NAME.trashinfo
};

// The item is the one trashed from `path` with `stamp`: the same file or folder (a rename into
// the trash keeps it) and a record naming `path`. The trash keeps an item under its own name, or
// that name numbered when it is taken ("a.jpg", "a.2.jpg"): those are looked at first, so that a
// large trash costs one listing, not one status query per item.
std::optional<TrashEntry> findTrashed(const std::string& path, const FileStamp& stamp,
                                      bool folder) {
    const std::string name = fs::path(path).filename().string();
    const std::string stem = name.substr(0, name.find('.'));
    for (const bool likelyNamesOnly : {true, false}) {
        for (const auto& [trash, top] : trashFoldersFor(path)) {
            std::error_code error;
            for (fs::directory_iterator it(trash / "files", error), end; !error && it != end;
                 it.increment(error)) {
                const std::string trashedName = it->path().filename().string();
                const fs::path info = trash / "info" / (trashedName + ".trashinfo");
                struct stat st {};
                if (trashedName.starts_with(stem) == likelyNamesOnly &&
                    ::lstat(it->path().c_str(), &st) == 0 && matches(st, stamp, folder) &&
                    recordedPath(info, top) == path) {
                    return TrashEntry{it->path(), info};
                }
            }
        }
    }
    return std::nullopt;
}

}  // namespace

FsResult DesktopTrash::restore(const std::string& originalHostPath, const FileStamp& stamp,
                               bool folder, const std::string& toHostPath) {
    const std::optional<TrashEntry> entry = findTrashed(originalHostPath, stamp, folder);
    if (!entry) {
        return FsResult::failure(ENOENT);
    }
    if (FsResult back = host::renameNoReplace(entry->item.string(), toHostPath); !back) {
        return back;
    }
    ::unlink(entry->info.c_str());  // without its item the record only misleads the desktop
    return FsResult::success();
}

FsResult DesktopTrash::moveToTrash(const std::string& hostPath) {
    // A file that may not leave its folder cannot go to any trash: that is the reason to give,
    // not the trash's absence (which would offer a delete for good).
    if (FsResult leaves = host::checkLeavesItsFolder(hostPath); !leaves) {
        return leaves;
    }
    const GioCalls& calls = gio();
    if (!calls.loaded()) {
        return FsResult::failure(ENOTSUP);
    }
    GFile* file = calls.newFileForPath(hostPath.c_str());
    GError* error = nullptr;
    const gboolean trashed = calls.trash(file, nullptr, &error);
    calls.unref(file);
    if (trashed) {
        return FsResult::success();
    }
    const int reason = error && error->domain == calls.ioErrorQuark() ? errnoOf(error->code) : EIO;
    g_clear_error(&error);
    return FsResult::failure(reason);
}

}  // namespace pictaria
