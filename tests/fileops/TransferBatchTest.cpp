#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <map>

#include "fileops/TransferBatch.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"

namespace pictaria {
namespace {

namespace fs = std::filesystem;

std::vector<TransferItem> photos(int count) {
    std::vector<TransferItem> items;
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
        const std::vector<TransferItem> items = photos(20);
        for (const TransferItem& item : items) {
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
            [&](const TransferProgress& progress) {
                EXPECT_EQ(progress.filesTotal, 20);
                if (++progressCalls == 8) {
                    stop = true;  // during the eighth file
                }
            });

        ASSERT_EQ(results.size(), 20u);
        for (const TransferItem& item : items) {
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

}  // namespace
}  // namespace pictaria
