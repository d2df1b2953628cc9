#include "platform/DesktopTrash.h"

#include <dlfcn.h>
#include <gio/gio.h>

#include <cerrno>

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

const GioCalls& gio() {
    static const GioCalls calls = loadGio();
    return calls;
}

}  // namespace

FsResult DesktopTrash::moveToTrash(const std::string& hostPath) {
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
    const bool missing =
        error && error->domain == calls.ioErrorQuark() && error->code == G_IO_ERROR_NOT_FOUND;
    g_clear_error(&error);
    return FsResult::failure(missing ? ENOENT : ENOTSUP);
}

}  // namespace pictaria
