// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QTest>

#include <filesystem>
#include <future>
#include <map>
#include <memory>
#include <thread>

#include "fileops/FileJob.h"
#include "fileops/TransferBatch.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"

namespace pictaria {
namespace {

namespace fs = std::filesystem;

// Holds the worker after `at` files until the test thread opens the gate, so that a stop
// arrives at a known file.
class GatedBatch : public FileBatch {
  public:
    GatedBatch(std::unique_ptr<FileBatch> inner, int at) : inner_(std::move(inner)), at_(at) {}
    void run(const std::atomic<bool>& stop, const OutcomeReport& outcome,
             const ProgressReport& progress) override {
        inner_->run(stop, outcome, [&](const BatchProgress& state) {
            progress(state);
            if (state.filesDone == at_) {
                opened_.get_future().wait();
            }
        });
    }
    void open() { opened_.set_value(); }

  private:
    std::unique_ptr<FileBatch> inner_;
    int at_;
    std::promise<void> opened_;
};

// A Move across file systems as a job: the card on the disk, the destination in /dev/shm.
class FileJobTest : public ::testing::Test {
  protected:
    FileJobTest() {
        drives.map('C', card.path()).map('D', sorted.path());
        for (int i = 0; i < kFiles; ++i) {
            items.push_back({i, "IMG_" + std::to_string(1000 + i) + ".JPG"});
            card.writeFile(items.back().name, std::string(40000, static_cast<char>('a' + i % 26)));
        }
    }

    std::unique_ptr<FileBatch> moveBatch() const {
        return std::make_unique<TransferBatch>(TransferMode::Move, "C:\\", "D:\\", items, 2);
    }

    // Each file whole in exactly one of the two places, and no leftover of an unfinished copy.
    int filesMovedWhole() const {
        int moved = 0;
        for (const BatchItem& item : items) {
            const std::string bytes(40000, static_cast<char>('a' + item.entry % 26));
            const bool there = sorted.exists(item.name);
            EXPECT_NE(there, card.exists(item.name)) << item.name;
            EXPECT_EQ(there ? sorted.readFile(item.name) : card.readFile(item.name), bytes);
            moved += there;
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(sorted.path()), {}), moved);
        return moved;
    }

    static constexpr int kFiles = 60;
    test::TempDir card;
    test::TempDir sorted{"/dev/shm"};
    test::TestDrives drives;
    std::vector<BatchItem> items;
    WorkQueues work;
};

// Stopped from this thread while the worker moves: every file is reported once, here, and what
// was reported done is what was moved.
TEST_F(FileJobTest, ReportsEachFileOnceOnItsOwnThreadAndStops) {
    auto gated = std::make_unique<GatedBatch>(moveBatch(), 5);
    GatedBatch* gate = gated.get();
    auto job = std::make_unique<FileJob>(std::move(gated), work, "D:");
    std::map<int, FileResult> results;
    const auto owner = std::this_thread::get_id();
    QObject::connect(job.get(), &FileJob::fileHandled, [&](int entry, const FileOutcome& outcome) {
        EXPECT_EQ(std::this_thread::get_id(), owner);
        EXPECT_TRUE(results.emplace(entry, outcome.result).second);
    });
    QObject::connect(job.get(), &FileJob::progressed, [&](const BatchProgress& progress) {
        if (progress.filesDone == 5) {
            job->stop();
            gate->open();
        }
    });
    bool finished = false;
    QObject::connect(job.get(), &FileJob::finished, [&] { finished = true; });
    job->start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 60000));
    EXPECT_FALSE(job->running());
    ASSERT_EQ(results.size(), static_cast<std::size_t>(kFiles));
    const auto done = std::count_if(results.begin(), results.end(), [](const auto& each) {
        return each.second == FileResult::Done;
    });
    EXPECT_EQ(done, 6);  // the file in hand at the stop is finished
    EXPECT_EQ(filesMovedWhole(), done);
}

// A job destroyed while it runs (the window closed) stops between two files and waits for its
// worker: nothing is left half done.
TEST_F(FileJobTest, DestroyedWhileRunningLeavesEveryFileWhole) {
    auto job = std::make_unique<FileJob>(moveBatch(), work, "D:");
    bool progressed = false;
    QObject::connect(job.get(), &FileJob::progressed, [&] { progressed = true; });
    job->start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return progressed; }, 60000));
    job.reset();
    filesMovedWhole();
}

}  // namespace
}  // namespace pictaria
