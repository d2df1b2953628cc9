// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/mount.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <map>

#include "fileops/AttachText.h"
#include "fileops/DeleteBatch.h"
#include "fileops/TransferBatch.h"
#include "support/FaultyFileIo.h"
#include "support/FileIoScope.h"
#include "support/SmallTmpfs.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"
#include "support/Trash.h"

namespace pictaria {
namespace {

namespace fs = std::filesystem;

std::vector<BatchItem> photos(int count) {
    std::vector<BatchItem> items;
    for (int i = 0; i < count; ++i) {
        items.push_back({i, "p" + std::to_string(1000 + i) + ".jpg"});
    }
    return items;
}

// A stop between two files: what was handled is whole in its one place, what was not stays in
// the source and is reported skipped, and a move across file systems still flushes its copies
// before any source goes.
TEST(TransferBatch, StopsBetweenFilesAndReportsEveryFileOnce) {
    for (const bool acrossFileSystems : {false, true}) {
        SCOPED_TRACE(acrossFileSystems ? "across file systems" : "one file system");
        test::TempDir c;
        test::TempDir d{acrossFileSystems ? "/dev/shm" : ""};
        test::TestDrives drives;
        drives.map('C', c.path()).map('D', d.path());
        const std::vector<BatchItem> items = photos(20);
        for (const BatchItem& item : items) {
            c.writeFile("card/" + item.name, std::string(5000, 'x') + item.name);
        }
        d.makeFolder("sorted");

        TransferBatch batch(TransferMode::Move, "C:\\card", "D:\\sorted", items, 2);
        std::atomic<bool> stop{false};
        std::map<int, FileResult> results;
        int progressCalls = 0;
        batch.run(
            stop,
            [&](int entry, const FileOutcome& outcome) {
                EXPECT_TRUE(results.emplace(entry, outcome.result).second) << entry;
            },
            [&](const BatchProgress& progress) {
                EXPECT_EQ(progress.filesTotal, 20);
                if (++progressCalls == 8) {
                    stop = true;  // during the eighth file
                }
            });

        ASSERT_EQ(results.size(), 20u);
        for (const BatchItem& item : items) {
            const std::string contents = std::string(5000, 'x') + item.name;
            if (item.entry < 8) {
                EXPECT_EQ(results[item.entry], FileResult::Done);
                EXPECT_EQ(d.readFile("sorted/" + item.name), contents);
                EXPECT_FALSE(c.exists("card/" + item.name));
            } else {
                EXPECT_EQ(results[item.entry], FileResult::Skipped);
                EXPECT_EQ(c.readFile("card/" + item.name), contents);
                EXPECT_FALSE(d.exists("sorted/" + item.name));
            }
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(d.host("sorted")), {}), 8);
    }
}

// A card taken out during a command (lazily detached, as when it is busy) leaves its mount point
// behind as an empty folder of the disk below. Nothing goes there: the batch stops, every file
// not yet on the card keeps its source, and each says why. The card is reached by its own
// letter and as a folder of the system drive, where a move is a rename once the card is gone.
TEST(TransferBatch, StopsWhenTheDestinationsVolumeIsTakenOut) {
    for (const auto& [mode, target] :
         {std::pair{TransferMode::Copy, "E:\\"}, std::pair{TransferMode::Move, "E:\\"},
          std::pair{TransferMode::Move, "C:\\card"}}) {
        SCOPED_TRACE(target);
        test::TempDir c;
        test::SmallTmpfs card(1 << 20);
        if (!card.mounted()) {
            GTEST_SKIP() << "no privilege to mount a tmpfs here";
        }
        test::TestDrives drives;
        drives.map('C', c.path()).map('E', card.path());
        fs::create_directory_symlink(card.path(), c.host("card"));
        const std::vector<BatchItem> items = photos(6);
        for (const BatchItem& item : items) {
            c.writeFile("pics/" + item.name, item.name);
        }

        TransferBatch batch(mode, "C:\\pics", target, items, 2);
        batch.setGroupLimits({100, 1 << 30, std::chrono::hours(1)});  // one group, however slow
        std::map<int, FileOutcome> outcomes;
        batch.run(
            std::atomic<bool>{false},
            [&](int entry, const FileOutcome& outcome) { outcomes[entry] = outcome; },
            [&](const BatchProgress& progress) {
                if (progress.filesDone == 3) {
                    ::umount2(card.path().c_str(), MNT_DETACH);
                }
            });

        EXPECT_TRUE(fs::is_empty(card.path()));
        ASSERT_EQ(outcomes.size(), items.size());
        for (const BatchItem& item : items) {
            const FileOutcome& outcome = outcomes[item.entry];
            // A copy made before the card went is done; a move's source goes only after that.
            if (mode == TransferMode::Copy && item.entry < 3) {
                EXPECT_TRUE(outcome.done());
                continue;
            }
            EXPECT_EQ(outcome.reason.error(), ENODEV) << item.name;
            EXPECT_EQ(outcome.message, volumeGoneMessage(mode, target));
            EXPECT_EQ(c.readFile("pics/" + item.name), item.name);
        }
    }
}

// Flushes that fail on the `failing`th folder flush (from 1; 0 for none), writing down the calls.
class FolderFlushFails : public test::CallLog {
  public:
    explicit FolderFlushFails(int failing) : failing_(failing) {}
    int syncFile(int fd) override {
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode) && ++folders_ == failing_) {
            errno = EIO;
            return -1;
        }
        return CallLog::syncFile(fd);
    }

  private:
    int failing_;
    int folders_ = 0;
};

// A Move across file systems is finished a group at a time: a group's sources are gone (or its
// copies, when its folder's flush failed) before the next file is copied, so a process killed
// part way leaves at most one group's photographs in two places. A failed flush costs only its
// own group: those sources stay, without copies, and the groups around it move.
TEST(TransferBatch, MovesAcrossFileSystemsAreFinishedAGroupAtATime) {
    const std::size_t group = 3;
    for (int failing = 0; failing <= 3; ++failing) {
        SCOPED_TRACE(failing);
        test::TempDir c;
        test::TempDir d{"/dev/shm"};
        test::TestDrives drives;
        drives.map('C', c.path()).map('D', d.path());
        const std::vector<BatchItem> items = photos(8);
        for (const BatchItem& item : items) {
            d.writeFile("card/" + item.name, item.name);
        }
        c.makeFolder("sorted");
        FolderFlushFails log(failing);
        std::map<int, FileOutcome> outcomes;
        {
            test::FileIoScope scope(log);
            TransferBatch batch(TransferMode::Move, "D:\\card", "C:\\sorted", items, 2);
            batch.setGroupLimits({group, 1 << 30, std::chrono::hours(1)});
            outcomes = runHere(batch);
        }
        const auto real = [](const std::string& path) {
            return fs::weakly_canonical(path).string();
        };
        // Where the temporary copy of each file was written back, and where the last removal
        // of the file's source or copy was made.
        std::vector<std::size_t> writtenBack(items.size(), log.calls.size());
        std::vector<std::size_t> lastRemoval(items.size(), 0);
        for (std::size_t i = 0; i < items.size(); ++i) {
            const std::string to = real(c.host("sorted/" + items[i].name));
            for (std::size_t at = 0; at < log.calls.size(); ++at) {
                const std::string& call = log.calls[at];
                if (call.starts_with("rename ") && call.ends_with(" " + to)) {
                    const std::string temporary = call.substr(7, call.size() - to.size() - 8);
                    writtenBack[i] = log.at("writeback " + temporary);
                }
                if (call == "remove " + to ||
                    call == "remove " + real(d.host("card/" + items[i].name))) {
                    lastRemoval[i] = at;
                }
            }
        }
        for (std::size_t i = 0; i < items.size(); ++i) {
            const std::size_t own = i / group;
            const bool kept = static_cast<int>(own) + 1 == failing;
            EXPECT_EQ(outcomes.at(items[i].entry).done(), !kept) << i;
            if (kept) {  // told with its reason
                EXPECT_NE(outcomes.at(items[i].entry).message.find(std::strerror(EIO)),
                          std::string::npos)
                    << outcomes.at(items[i].entry).message;
            }
            EXPECT_EQ(d.exists("card/" + items[i].name), kept) << i;
            EXPECT_EQ(c.exists("sorted/" + items[i].name), !kept) << i;
            ASSERT_LT(writtenBack[i], log.calls.size()) << i;
            for (std::size_t later = (own + 1) * group; later < items.size(); ++later) {
                EXPECT_LT(lastRemoval[i], writtenBack[later]) << i << " before " << later;
            }
        }
    }
}

// The batches without data to copy stop the same way: a delete stopped during its third file
// has trashed three, and the rest stay where they were, reported skipped; a rename likewise.
TEST(DeleteAndRenameBatches, StopBetweenFiles) {
    test::TempDir c;
    test::TestDrives drives;
    drives.map('C', c.path());
    const std::vector<BatchItem> items = photos(7);
    for (const BatchItem& item : items) {
        c.writeFile("card/" + item.name, item.name);
    }
    const auto runStoppingAtThird = [](FileBatch& batch) {
        std::atomic<bool> stop{false};
        std::map<int, FileOutcome> outcomes;
        int files = 0;
        batch.run(
            stop, [&](int entry, const FileOutcome& outcome) { outcomes[entry] = outcome; },
            [&](const BatchProgress& progress) {
                EXPECT_EQ(progress.bytesTotal, 0);
                if (++files == 3) {
                    stop = true;
                }
            });
        return outcomes;
    };

    DeleteBatch toTrash(DeleteWay::ToTrash, "C:\\card", {items.begin(), items.begin() + 4});
    const std::map<int, FileOutcome> deleted = runStoppingAtThird(toTrash);
    ASSERT_EQ(deleted.size(), 4u);
    EXPECT_EQ(test::trashedFiles().size(), 3u);
    EXPECT_EQ(deleted.at(3).result, FileResult::Skipped);
    EXPECT_EQ(c.readFile("card/" + items[3].name), items[3].name);

    AttachTextBatch renames("C:\\card", "x_", {items.begin() + 3, items.end()});
    const std::map<int, FileOutcome> renamed = runStoppingAtThird(renames);
    EXPECT_EQ(renamed.at(3).newName, "x_" + items[3].name);
    EXPECT_EQ(c.readFile("card/x_" + items[5].name), items[5].name);
    EXPECT_EQ(renamed.at(6).result, FileResult::Skipped);
    EXPECT_EQ(c.readFile("card/" + items[6].name), items[6].name);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(deleted.at(i).result, FileResult::Done);
        EXPECT_EQ(renamed.at(3 + i).result, FileResult::Done);
    }
}

}  // namespace
}  // namespace pictaria
