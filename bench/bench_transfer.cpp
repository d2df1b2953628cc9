// SPDX-License-Identifier: GPL-3.0-or-later
// Batch Copy and Move of the program against cp and mv on the same files, from one run:
//   copy_vs_cp                   300 files of 3 MB, same file system,
//                                against cp --preserve=timestamps
//   move_same_fs_vs_mv           2,000 small files, same file system, against one mv
//   move_cross_fs_vs_mv_sync     300 files of 3 MB from /dev/shm to disk, against mv then a
//                                flush of each moved file and of their folder (sync FILE...)
//   move_cross_fs_grouped_vs_one_flush  the same Move with its sources removed a group at a
//                                time, against one flush and removal for the whole batch
//   move_cross_fs_job_vs_direct  the same Move as a job on a worker thread, against the same
//                                Move run directly
//   window_stall_ms_during_move  the longest gap between ticks of a 10 ms timer on the window's
//                                thread while a 2 GB Move runs as a job
//   copy_vs_cp_writeback         the same Copy against cp followed by starting the writing to
//                                disk of each copy, the promise ours keeps before naming a copy
// Each line gives the ratio of the best times, then the spread of the ratio over the rounds.
// Names given as arguments run only those lines.
// Run it from a folder on the disk (the build folder): its work folders are made there, and in
// /dev/shm, each with a name of this run's own.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <limits>
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
#include "platform/PathText.h"

namespace fs = std::filesystem;
using namespace pictaria;
using namespace pictaria::bench;

namespace {

VectorTickList allTicked(const std::vector<std::string>& names) {
    return VectorTickList(names, std::vector<bool>(names.size(), true));
}

std::vector<BatchItem> itemsOf(const std::vector<std::string>& names) {
    std::vector<BatchItem> items;
    for (std::size_t i = 0; i < names.size(); ++i) {
        items.push_back({static_cast<int>(i), names[i]});
    }
    return items;
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
// best time of each counts, so that the disk's writeback of one run does not decide. The ratio
// of each round's pair shows how far one round can be from another.
std::vector<std::string> chosenLines;  // empty for all

bool chosen(const char* name) {
    return chosenLines.empty() ||
           std::find(chosenLines.begin(), chosenLines.end(), name) != chosenLines.end();
}

void compareWork(const char* name, int rounds, const fs::path& originals, const fs::path& source,
                 const fs::path& target, const std::function<void()>& ours,
                 const std::function<void()>& reference) {
    if (!chosen(name)) {
        return;
    }
    const auto prepare = [&] {
        recreate(target);
        fs::remove_all(source);
        fs::create_directories(source.parent_path());
        run("cp -a " + quoted(originals) + " " + quoted(source));
        run("sync");
    };
    Timings best;
    std::vector<double> ratios;
    for (int i = 0; i < rounds; ++i) {
        const Timings round = interleavedBest(1, prepare, ours, reference);
        best.ours = std::min(best.ours, round.ours);
        best.reference = std::min(best.reference, round.reference);
        ratios.push_back(round.ours / round.reference);
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("%s %.3f   (ours %.3f s, reference %.3f s; rounds %.3f .. %.3f, median %.3f)\n",
                name, best.ours / best.reference, best.ours, best.reference, ratios.front(),
                ratios.back(), ratios[ratios.size() / 2]);
    std::fflush(stdout);
}

void compare(const char* name, int rounds, const fs::path& originals, const fs::path& source,
             const fs::path& target, const std::function<void()>& ours,
             const std::string& reference) {
    compareWork(name, rounds, originals, source, target, ours, [&] { run(reference); });
}

// The Move as the window runs it: a command of the work layer, its outcomes and progress handled
// on this thread's event loop. `onTick` runs every 10 ms on this thread meanwhile.
void moveAsJob(const std::vector<std::string>& names, const std::string& source,
               const std::string& target, int& counter, const std::function<void()>& onTick = {}) {
    WorkQueues work;
    FileJob job(std::make_unique<TransferBatch>(TransferMode::Move, source, target, itemsOf(names),
                                                counter),
                work, volumeOf(target));
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
    chosenLines.assign(argv + 1, argv + argc);

    const auto big = writeFiles(disk / "originals-big", 300, 3 << 20);
    const auto small = writeFiles(disk / "originals-small", 2000, 4096);

    const auto copyAll = [&] {
        auto list = allTicked(big);
        copyTicked(list, "C:\\src", "C:\\dst", counter);
    };
    compare("copy_vs_cp", 5, disk / "originals-big", disk / "src", disk / "dst", copyAll,
            "cp --preserve=timestamps " + quoted(disk / "src") + "/* " + quoted(disk / "dst"));

    compareWork(
        "copy_vs_cp_writeback", 5, disk / "originals-big", disk / "src", disk / "dst", copyAll,
        [&] {
            run("cp --preserve=timestamps " + quoted(disk / "src") + "/* " + quoted(disk / "dst"));
            for (const auto& entry : fs::directory_iterator(disk / "dst")) {
                const int fd = ::open(entry.path().c_str(), O_RDONLY | O_CLOEXEC);
                ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
                ::close(fd);
            }
        });

    compare(
        "move_same_fs_vs_mv", 5, disk / "originals-small", disk / "src", disk / "dst",
        [&] {
            auto list = allTicked(small);
            moveTicked(list, "C:\\src", "C:\\dst", counter);
        },
        "mv " + quoted(disk / "src") + "/* " + quoted(disk / "dst"));

    // The reference makes durable what it moved and nothing else: each file's data and the
    // folder's names, as ours does, not the whole file system that other work shares.
    const auto moveAllAcross = [&] {
        auto list = allTicked(big);
        moveTicked(list, "D:\\src", "C:\\dst", counter);
    };
    compare("move_cross_fs_vs_mv_sync", 5, disk / "originals-big", shm / "src", disk / "dst",
            moveAllAcross,
            "mv " + quoted(shm / "src") + "/* " + quoted(disk / "dst") + " && sync " +
                quoted(disk / "dst") + "/* " + quoted(disk / "dst"));

    compareWork("move_cross_fs_grouped_vs_one_flush", 5, disk / "originals-big", shm / "src",
                disk / "dst", moveAllAcross, [&] {
                    TransferBatch batch(TransferMode::Move, "D:\\src", "C:\\dst", itemsOf(big),
                                        counter);
                    batch.setGroupLimits({std::numeric_limits<std::size_t>::max(),
                                          std::numeric_limits<std::int64_t>::max(),
                                          std::chrono::hours(24)});
                    runHere(batch);
                });

    compareWork(
        "move_cross_fs_job_vs_direct", 5, disk / "originals-big", shm / "src", disk / "dst",
        [&] { moveAsJob(big, "D:\\src", "C:\\dst", counter); },
        [&] {
            auto list = allTicked(big);
            moveTicked(list, "D:\\src", "C:\\dst", counter);
        });

    if (chosen("window_stall_ms_during_move")) {
        const auto huge = writeFiles(shm / "originals-huge", 100, 20 << 20);
        std::printf(
            "window_stall_ms_during_move %.0f\n",
            windowStallMs(shm / "originals-huge", shm / "src", disk / "dst", huge, counter));
    }

    fs::remove_all(disk);
    fs::remove_all(shm);
    return 0;
}
