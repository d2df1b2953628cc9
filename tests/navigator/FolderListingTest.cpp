// SPDX-License-Identifier: GPL-3.0-or-later
#include "navigator/FolderListing.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <random>
#include <thread>

namespace pictaria {
namespace {

using namespace std::chrono_literals;

// A door a listing thread waits at until the test opens it; shared, so that a thread left
// hanging at the end of a test never touches the test's stack.
struct Door {
    std::mutex mutex;
    std::condition_variable opened;
    bool open = false;
    void pass() {
        std::unique_lock lock(mutex);
        opened.wait(lock, [this] { return open; });
    }
    void letThrough() {
        const std::lock_guard lock(mutex);
        open = true;
        opened.notify_all();
    }
};

template <typename Done>
bool processEventsUntil(Done done, std::chrono::milliseconds within = 5s) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < within.count()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return done();
}

// Random requests, cancels and answers in any order: an answer is applied only while it is
// the newest one asked for its purpose, and every newest one is applied in the end.
TEST(FolderListingTest, AppliesOnlyTheNewestWantedAnswerOfEachPurpose) {
    const auto seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    FolderListing listing(1h);
    const std::vector<std::string> purposes{"destination", "page:C:\\a", "page:C:\\b"};
    std::map<std::string, std::optional<int>> wanted;  // the model: the newest value asked
    std::vector<std::shared_ptr<Door>> doors;
    auto threadsOut = std::make_shared<std::atomic<int>>(0);
    int applied = 0;
    const auto ask = [&](const std::string& purpose, int value) {
        auto door = std::make_shared<Door>();
        doors.push_back(door);
        ++*threadsOut;
        listing.request<int>(
            purpose, "C:",
            [door, value, threadsOut](const FolderListing::Answered&) {
                door->pass();
                --*threadsOut;
                return value;
            },
            [&, purpose](int& got) {
                ASSERT_EQ(wanted[purpose], got) << purpose;
                wanted[purpose].reset();
                ++applied;
            },
            [] { FAIL() << "told silent"; });
        wanted[purpose] = value;
    };
    for (int op = 0; op < 200; ++op) {
        const std::string& purpose = purposes[random() % purposes.size()];
        switch (random() % 4) {
            case 0:
            case 1:
                ask(purpose, op);
                break;
            case 2:
                listing.cancel(purpose);
                wanted[purpose].reset();
                break;
            default:
                if (!doors.empty()) {
                    doors[random() % doors.size()]->letThrough();
                }
                QCoreApplication::processEvents();
        }
        for (const auto& p : purposes) {
            ASSERT_EQ(listing.pending(p), wanted[p].has_value()) << p;
        }
    }
    for (const auto& purpose : purposes) {
        ask(purpose, -1);  // each purpose ends wanted, so answers are applied whatever the timing
    }
    for (const auto& door : doors) {
        door->letThrough();
    }
    ASSERT_TRUE(processEventsUntil([&] { return *threadsOut == 0 && !listing.pending(); }));
    QCoreApplication::processEvents();
    for (const auto& p : purposes) {
        EXPECT_FALSE(wanted[p].has_value()) << p << " never applied";
    }
    EXPECT_GE(applied, static_cast<int>(purposes.size()));
}

// A volume that hangs is told once after the limit, never waited for, and asked nothing more
// until it answers; its late answer is not applied, and it may outlive the listing object.
TEST(FolderListingTest, HungVolumeIsToldOnceAndNeverWaitedFor) {
    auto listing = std::make_unique<FolderListing>(100ms);
    auto door = std::make_shared<Door>();
    auto listed = std::make_shared<std::atomic<int>>(0);
    const auto hanging = [door, listed](const FolderListing::Answered&) {
        ++*listed;
        door->pass();
        return 1;
    };
    int silent = 0;
    int applied = 0;
    QElapsedTimer asked;
    asked.start();
    listing->request<int>(
        "destination", "E:", hanging, [&](int&) { ++applied; }, [&] { ++silent; });
    EXPECT_LT(asked.elapsed(), 50);  // the request itself never waits
    ASSERT_TRUE(processEventsUntil([&] { return silent == 1; }));
    EXPECT_FALSE(listing->pending("destination"));

    // Asked again while it hangs: told at once, and no second thread waits on it.
    listing->request<int>(
        "destination", "E:", hanging, [&](int&) { ++applied; }, [&] { ++silent; });
    EXPECT_EQ(silent, 2);
    // Another volume is listed meanwhile.
    listing->request<int>(
        "destination", "F:", [](const FolderListing::Answered&) { return 2; },
        [&](int& v) { applied = v; }, [&] { ++silent; });
    ASSERT_TRUE(processEventsUntil([&] { return applied == 2; }));

    // It answers at last: the late answer is dropped, and the volume is listed again.
    door->letThrough();
    QCoreApplication::processEvents();
    ASSERT_TRUE(processEventsUntil([&] {
        listing->request<int>(
            "page", "E:", [](const FolderListing::Answered&) { return 3; },
            [&](int& v) { applied = v; }, [&] {});
        return processEventsUntil([&] { return applied == 3; }, 50ms);
    }));
    EXPECT_EQ(silent, 2);
    EXPECT_EQ(*listed, 1);

    // A slow volume answers every call, only late: it is waited for as long as it answers.
    listing->request<int>(
        "destination", "S:",
        [](const FolderListing::Answered& answered) {
            for (int call = 0; call < 8; ++call) {
                std::this_thread::sleep_for(40ms);
                answered();
            }
            return 5;
        },
        [&](int& v) { applied = v; }, [&] { ++silent; });
    ASSERT_TRUE(processEventsUntil([&] { return applied == 5; }));
    EXPECT_EQ(silent, 2);

    // A listing still hanging when its owner goes ends later without reaching it.
    auto late = std::make_shared<Door>();
    listing->request<int>(
        "destination", "G:",
        [late](const FolderListing::Answered&) {
            late->pass();
            return 4;
        },
        [&](int&) { ADD_FAILURE() << "applied after its owner went"; }, [] {});
    listing.reset();
    late->letThrough();
    QCoreApplication::processEvents();
}

}  // namespace
}  // namespace pictaria
