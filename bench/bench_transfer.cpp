// Batch Copy and Move of the program against cp and mv on the same files, from one run:
//   copy_vs_cp                 300 files of 3 MB, same file system, against cp
//   --preserve=timestamps move_same_fs_vs_mv         2,000 small files, same file system, against
//   one mv move_cross_fs_vs_mv_sync   300 files of 3 MB from /dev/shm to disk, against mv then sync
// Run it from a folder on the disk (the build folder): its work folders are made there.

#include <unistd.h>

#include <filesystem>
#include <string>

#include "BenchTiming.h"
#include "fileops/BatchCommands.h"
#include "fileops/VectorTickList.h"
#include "platform/DriveTable.h"

namespace fs = std::filesystem;
using namespace pictaria;
using namespace pictaria::bench;

namespace {

VectorTickList allTicked(const std::vector<std::string>& names) {
    return VectorTickList(names, std::vector<bool>(names.size(), true));
}

std::string quoted(const fs::path& path) {
    std::string text = path.string();
    text.insert(text.begin(), '\'');
    text.push_back('\'');
    return text;
}

void recreate(const fs::path& folder) {
    fs::remove_all(folder);
    fs::create_directories(folder);
}

// Runs ours and the reference in turn, `rounds` times each, on fresh copies of `originals`; the
// best time of each counts, so that the disk's writeback of one run does not decide.
void compare(const char* name, int rounds, const fs::path& originals, const fs::path& source,
             const fs::path& target, const std::function<void()>& ours,
             const std::string& reference) {
    const auto prepare = [&] {
        recreate(target);
        fs::remove_all(source);
        fs::create_directories(source.parent_path());
        run("cp -a " + quoted(originals) + " " + quoted(source));
        run("sync");
    };
    double oursTime = 1e300;
    double referenceTime = 1e300;
    for (int i = 0; i < rounds; ++i) {
        oursTime = std::min(oursTime, bestOf(1, prepare, ours));
        referenceTime = std::min(referenceTime, bestOf(1, prepare, [&] { run(reference); }));
    }
    printRatio(name, oursTime, referenceTime);
}

}  // namespace

int main() {
    const fs::path disk = fs::current_path() / "bench-transfer-work";
    const fs::path shm = "/dev/shm/pictaria-bench-transfer";
    fs::remove_all(disk);
    fs::remove_all(shm);
    DriveTable table;
    table.add('C', disk.string(), DriveType::Fixed);
    table.add('D', shm.string(), DriveType::Removable);
    setActiveDriveTable(table);
    int counter = 2;

    const auto big = writeFiles(disk / "originals-big", 300, 3 << 20);
    const auto small = writeFiles(disk / "originals-small", 2000, 4096);

    compare(
        "copy_vs_cp", 5, disk / "originals-big", disk / "src", disk / "dst",
        [&] {
            auto list = allTicked(big);
            copyTicked(list, "C:\\src", "C:\\dst", counter);
        },
        "cp --preserve=timestamps " + quoted(disk / "src") + "/* " + quoted(disk / "dst"));

    compare(
        "move_same_fs_vs_mv", 5, disk / "originals-small", disk / "src", disk / "dst",
        [&] {
            auto list = allTicked(small);
            moveTicked(list, "C:\\src", "C:\\dst", counter);
        },
        "mv " + quoted(disk / "src") + "/* " + quoted(disk / "dst"));

    compare(
        "move_cross_fs_vs_mv_sync", 5, disk / "originals-big", shm / "src", disk / "dst",
        [&] {
            auto list = allTicked(big);
            moveTicked(list, "D:\\src", "C:\\dst", counter);
        },
        "mv " + quoted(shm / "src") + "/* " + quoted(disk / "dst") + " && sync -f " +
            quoted(disk / "dst"));

    fs::remove_all(disk);
    fs::remove_all(shm);
    return 0;
}
