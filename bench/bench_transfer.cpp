// SPDX-License-Identifier: GPL-3.0-or-later
// Batch Copy and Move of the program against cp and mv on the same files, from one run:
//   copy_vs_cp                   300 files of 3 MB, same file system,
//                                against cp --preserve=timestamps
//   move_same_fs_vs_mv           2,000 small files, same file system, against one mv
//   move_cross_fs_vs_mv_sync     300 files of 3 MB from /dev/shm to disk, against mv then sync
//   move_cross_fs_job_vs_direct  the same Move as a job on a worker thread, against the same
//                                Move run directly
//   window_stall_ms_during_move  the longest gap between ticks of a 10 ms timer on the window's
//                                thread while a 2 GB Move runs as a job
// Run it from a folder on the disk (the build folder): its work folders are made there, and in
// /dev/shm, each with a name of this run's own.

#include <unistd.h>

#include <filesystem>
#include <string>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include "BenchTiming.h"

#include "fileops/BatchCommands.h"
#include "fileops/FileJob.h"
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
void compareWork(const char* name, int rounds, const fs::path& originals, const fs::path& source,
                 const fs::path& target, const std::function<void()>& ours,
                 const std::function<void()>& reference) {
    const auto prepare = [&] {
        recreate(target);
        fs::remove_all(source);
        fs::create_directories(source.parent_path());
        run("cp -a " + quoted(originals) + " " + quoted(source));
        run("sync");
    };
    const Timings best = interleavedBest(rounds, prepare, ours, reference);
    printRatio(name, best.ours, best.reference);
}

void compare(const char* name, int rounds, const fs::path& originals, const fs::path& source,
             const fs::path& target, const std::function<void()>& ours,
             const std::string& reference) {
    compareWork(name, rounds, originals, source, target, ours, [&] { run(reference); });
}

// The Move as the window runs it: a job on a worker thread, its outcomes and progress handled
// on this thread's event loop. `onTick` runs every 10 ms on this thread meanwhile.
void moveAsJob(const std::vector<std::string>& names, const std::string& source,
               const std::string& target, int& counter, const std::function<void()>& onTick = {}) {
    std::vector<BatchItem> items;
    for (std::size_t i = 0; i < names.size(); ++i) {
        items.push_back({static_cast<int>(i), names[i]});
    }
    FileJob job(std::make_unique<TransferBatch>(TransferMode::Move, source, target,
                                                std::move(items), counter));
    QEventLoop loop;
    int reports = 0;
    QObject::connect(&job, &FileJob::fileHandled, [&] { ++reports; });
    QObject::connect(&job, &FileJob::progressed, [&] { ++reports; });
    QObject::connect(&job, &FileJob::finished, &loop, &QEventLoop::quit);
    QTimer clock;
    if (onTick) {
        QObject::connect(&clock, &QTimer::timeout, onTick);
        clock.start(10);
    }
    job.start();
    loop.exec();
    if (reports < static_cast<int>(names.size())) {
        std::fprintf(stderr, "the job reported too little\n");
    }
}

// The longest gap between two ticks of a 10 ms timer on the window's thread while a Move of
// about 2 GB across file systems runs as a job.
double windowStallMs(const fs::path& originals, const fs::path& source, const fs::path& target,
                     const std::vector<std::string>& names, int& counter) {
    fs::remove_all(target);
    fs::create_directories(target);
    fs::remove_all(source);
    run("cp -a " + quoted(originals) + " " + quoted(source));
    QElapsedTimer sinceTick;
    sinceTick.start();
    qint64 longest = 0;
    moveAsJob(names, "D:\\" + source.filename().string(), "C:\\" + target.filename().string(),
              counter, [&] { longest = std::max(longest, sinceTick.restart()); });
    return static_cast<double>(longest);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const fs::path disk = uniqueFolder(fs::current_path(), "bench-transfer-work");
    const fs::path shm = uniqueFolder("/dev/shm", "pictaria-bench-transfer");
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

    compareWork(
        "move_cross_fs_job_vs_direct", 5, disk / "originals-big", shm / "src", disk / "dst",
        [&] { moveAsJob(big, "D:\\src", "C:\\dst", counter); },
        [&] {
            auto list = allTicked(big);
            moveTicked(list, "D:\\src", "C:\\dst", counter);
        });

    const auto huge = writeFiles(shm / "originals-huge", 100, 20 << 20);
    std::printf("window_stall_ms_during_move %.0f\n",
                windowStallMs(shm / "originals-huge", shm / "src", disk / "dst", huge, counter));

    fs::remove_all(disk);
    fs::remove_all(shm);
    return 0;
}
