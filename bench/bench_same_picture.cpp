// SPDX-License-Identifier: GPL-3.0-or-later
// Peak memory of the same-picture search over a folder of large files:
//   same_picture_peak_rss_mb   50 files of 20 MB, ten of them of the reference's size (five
//                              copies, five differing in their last byte), the rest a few bytes
//                              longer
// The search runs in a fresh process (this program started again with --search), which reports
// its own peak resident size (VmHWM), so the memory used to write the files does not count.
// Run it from a folder on the disk (the build folder): its work folder is made there.

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "aids/DuplicateSearch.h"
#include "platform/DriveTable.h"

namespace fs = std::filesystem;
using namespace pictaria;
using namespace pictaria::bench;

namespace {

constexpr std::size_t kFileBytes = 20u << 20;
constexpr int kFiles = 50;
constexpr int kSameSize = 10;
constexpr int kCopies = kSameSize / 2;

std::string readBytes(const fs::path& path) {
    std::string bytes(fs::file_size(path), '\0');
    std::ifstream(path, std::ios::binary)
        .read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// ref.jpg and f01.jpg to f49.jpg: f01 to f05 are copies of it, f06 to f10 differ in their last
// byte, the rest are longer.
void writeFolder(const fs::path& folder) {
    const std::vector<std::string> seed = writeFiles(folder, 1, kFileBytes);
    fs::rename(folder / seed.front(), folder / "ref.jpg");
    const std::string reference = readBytes(folder / "ref.jpg");
    for (int i = 1; i < kFiles; ++i) {
        std::string variant = reference;
        if (i > kSameSize) {
            variant.append(static_cast<std::size_t>(i), 'x');
        } else if (i > kCopies) {
            variant.back() = static_cast<char>(variant.back() ^ 1);
        }
        char name[16];
        std::snprintf(name, sizeof name, "f%02d.jpg", i);
        writeBytes(folder / name, variant);
    }
}

// The peak resident size of this process in kilobytes.
long peakKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmHWM:")) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

int search(const fs::path& folder) {
    DriveTable table;
    table.add('C', folder.string(), DriveType::Fixed);
    setActiveDriveTable(table);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    const auto ticked =
        static_cast<int>(identicalFilesAmong(names, "C:\\", "C:\\ref.jpg").size());
    std::printf("same_picture_peak_rss_mb %.1f   (%d of %zu files found alike)\n",
                static_cast<double>(peakKilobytes()) / 1024.0, ticked, names.size());
    return ticked == 1 + kCopies ? 0 : 1;
}

// Runs this program again on the folder and waits for it; true when it found the copies.
bool searchInFreshProcess(const fs::path& folder) {
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child == 0) {
        ::execl("/proc/self/exe", "bench_same_picture", "--search", folder.c_str(), nullptr);
        ::_exit(127);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--search") == 0) {
        return search(argv[2]);
    }
    const fs::path folder = uniqueFolder(fs::current_path(), "bench-same-picture-work");
    writeFolder(folder);
    bool found = false;
    const double seconds = secondsOf([&] { found = searchInFreshProcess(folder); });
    std::printf("same_picture_seconds %.2f\n", seconds);
    fs::remove_all(folder);
    if (!found) {
        std::fprintf(stderr, "the search failed or ticked the wrong files\n");
        return 1;
    }
    return 0;
}
