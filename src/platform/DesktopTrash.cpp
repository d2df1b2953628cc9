// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DesktopTrash.h"

#include <dlfcn.h>
#include <gio/gio.h>

#include <cerrno>

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

}  // namespace

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
