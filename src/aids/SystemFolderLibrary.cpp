// SPDX-License-Identifier: GPL-3.0-or-later
#include "aids/SystemFolderLibrary.h"

#include <dlfcn.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>

#include "navigator/FolderGrid.h"
#include "platform/DriveTable.h"
#include "platform/NameSort.h"

namespace pictaria {

namespace {

using TestEntry = int (*)(char*);
using OskeldarEntry = int (*)(unsigned long long, int, char*);

// The path buffer the library writes into, as its callers have always reserved it.
constexpr std::size_t kFolderBufferBytes = 264;

class LoadedLibrary {
  public:
    explicit LoadedLibrary(const std::string& path)
        : handle_(path.starts_with('/') ? ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL) : nullptr) {
    }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;
    ~LoadedLibrary() {
        if (handle_) {
            ::dlclose(handle_);
        }
    }

    template <typename Function>
    Function entry(const char* name) const {
        return handle_ ? reinterpret_cast<Function>(::dlsym(handle_, name)) : nullptr;
    }

  private:
    void* handle_;
};

std::string executableFolder() {
    std::array<char, PATH_MAX> buffer{};
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) {
        return ".";
    }
    std::string path(buffer.data(), static_cast<std::size_t>(n));
    return path.substr(0, path.find_last_of('/'));
}

bool isFolder(const std::string& hostPath) {
    struct stat st {};
    return ::stat(hostPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string programLibraryFolder() {
    return executableFolder() + "/../lib/pictaria";
}

std::optional<std::string> systemFolderFromLibrary(const std::string& libraryPath,
                                                   unsigned long long windowHandle) {
    const LoadedLibrary library(libraryPath);
    std::array<char, kFolderBufferBytes> buffer{};
    const auto test = library.entry<TestEntry>("Test");
    if (!test) {
        return std::nullopt;
    }
    test(buffer.data());
    const auto oskeldar = library.entry<OskeldarEntry>("Oskeldar");
    if (!oskeldar || oskeldar(windowHandle, 0, buffer.data()) == 0) {
        return std::nullopt;
    }
    buffer.back() = '\0';  // a library that forgot the terminator cannot make us read past it
    const std::string folder(buffer.data());
    return isFolder(folder) ? std::optional<std::string>(folder) : std::nullopt;
}

void appendSystemFolderEntries(std::vector<std::string>& folderEntries,
                               const std::string& libraryPath, unsigned long long windowHandle) {
    const auto host = systemFolderFromLibrary(libraryPath, windowHandle);
    if (!host) {
        return;
    }
    const auto folder = activeDriveTable()->fromHost(*host);
    if (!folder) {
        return;
    }
    const std::vector<std::string> names = listPlainSubfolders(*folder);
    if (names.empty()) {
        return;
    }
    folderEntries.insert(folderEntries.end(), names.begin(), names.end());
    sortNamesIgnoringCase(folderEntries);
}

}  // namespace pictaria
