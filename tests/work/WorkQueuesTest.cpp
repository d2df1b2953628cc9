// SPDX-License-Identifier: GPL-3.0-or-later
#include "work/WorkQueues.h"

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

// Random jobs, cancels and answers in any order, on two volumes and on none: a result is
// applied only while it is the newest one asked for its key, and every newest one is applied
// in the end. Jobs of one volume run one at a time; a job taken off its queue never runs.
TEST(WorkQueuesTest, AppliesOnlyTheNewestWantedResultOfEachKey) {
    const auto seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    WorkQueues work(1h);
    const std::vector<std::pair<std::string, std::string>> keys{
        {"destination", "C:"}, {"page:C:\\a", "C:"}, {"preview", "D:"}, {"memory", ""}};
    std::map<std::string, std::optional<int>> wanted;  // the model: the newest value asked
    std::vector<std::shared_ptr<Door>> doors;
    auto running = std::make_shared<std::map<std::string, int>>();  // jobs inside, by volume
    auto inside = std::make_shared<std::mutex>();
    auto jobsOut = std::make_shared<std::atomic<int>>(0);
    int applied = 0;
    const auto ask = [&](const std::string& key, const std::string& volume, int value) {
        auto door = std::make_shared<Door>();
        doors.push_back(door);
        work.run<int>(
            key, volume,
            [door, value, volume, running, inside, jobsOut](const JobContext&) {
                ++*jobsOut;
                {
                    const std::lock_guard lock(*inside);
                    EXPECT_TRUE(volume.empty() || ++(*running)[volume] == 1) << volume;
                }
                door->pass();
                {
                    const std::lock_guard lock(*inside);
                    --(*running)[volume];
                }
                --*jobsOut;
                return value;
            },
            [&, key](int& got) {
                ASSERT_EQ(wanted[key], got) << key;
                wanted[key].reset();
                ++applied;
            },
            [] { FAIL() << "told silent"; });
        wanted[key] = value;
    };
    for (int op = 0; op < 200; ++op) {
        const auto& [key, volume] = keys[random() % keys.size()];
        switch (random() % 4) {
            case 0:
            case 1:
                ask(key, volume, op);
                break;
            case 2:
                work.cancel(key);
                wanted[key].reset();
                break;
            default:
                if (!doors.empty()) {
                    doors[random() % doors.size()]->letThrough();
                }
                QCoreApplication::processEvents();
        }
        for (const auto& k : keys) {
            ASSERT_EQ(work.pending(k.first), wanted[k.first].has_value()) << k.first;
        }
    }
    for (const auto& [key, volume] : keys) {
        ask(key, volume, -1);  // each key ends wanted, so results are applied whatever the timing
    }
    for (const auto& door : doors) {
        door->letThrough();
    }
    ASSERT_TRUE(processEventsUntil([&] { return *jobsOut == 0 && !work.pending(); }));
    QCoreApplication::processEvents();
    for (const auto& k : keys) {
        EXPECT_FALSE(wanted[k.first].has_value()) << k.first << " never applied";
    }
    EXPECT_GE(applied, static_cast<int>(keys.size()));
}

// A volume that hangs is told once after the limit, with the jobs queued behind its hung one,
// never waited for, and asked nothing more until it answers: it holds one worker, however
// often it is asked. Its late answer is not applied, and it may outlive the queues' owner.
TEST(WorkQueuesTest, HungVolumeIsToldOnceAndNeverWaitedFor) {
    auto listing = std::make_unique<WorkQueues>(100ms);
    auto door = std::make_shared<Door>();
    auto listed = std::make_shared<std::atomic<int>>(0);
    const auto hanging = [door, listed](const JobContext&) {
        ++*listed;
        door->pass();
        return 1;
    };
    int silent = 0;
    int applied = 0;
    listing->run<int>(
        "destination", "E:", hanging, [&](int&) { ++applied; }, [&] { ++silent; });
    listing->run<int>(
        "preview", "E:", hanging, [&](int&) { ++applied; }, [&] { ++silent; });
    EXPECT_TRUE(listing->pending("destination"));  // the requests returned while it hangs
    ASSERT_TRUE(processEventsUntil([&] { return silent == 2; }));
    EXPECT_FALSE(listing->pending());
    EXPECT_TRUE(listing->silent("E:"));

    // Asked again while it hangs: told at once, and no second thread waits on it.
    for (int click = 0; click < 10; ++click) {
        listing->run<int>(
            "destination", "E:", hanging, [&](int&) { ++applied; }, [&] { ++silent; });
    }
    EXPECT_EQ(silent, 12);
    EXPECT_EQ(listing->working(), 1);
    // Another volume is listed meanwhile.
    listing->run<int>(
        "destination", "F:", [](const JobContext&) { return 2; }, [&](int& v) { applied = v; },
        [&] { ++silent; });
    ASSERT_TRUE(processEventsUntil([&] { return applied == 2; }));

    // It answers at last: the late answer is dropped, and the volume is listed again.
    door->letThrough();
    QCoreApplication::processEvents();
    ASSERT_TRUE(processEventsUntil([&] {
        listing->run<int>(
            "page", "E:", [](const JobContext&) { return 3; }, [&](int& v) { applied = v; },
            [&] {});
        return processEventsUntil([&] { return applied == 3; }, 50ms);
    }));
    EXPECT_EQ(silent, 12);
    EXPECT_EQ(*listed, 1);

    // A slow volume answers every call, only late: it is waited for as long as it answers, and
    // what it reports on the way arrives in order.
    std::vector<int> reported;
    listing->run<int>(
        "destination", "S:",
        [&reported](const JobContext& job) {
            for (int call = 0; call < 8; ++call) {
                std::this_thread::sleep_for(40ms);
                noteVolumeAnswered();
                job.report([&reported, call] { reported.push_back(call); });
            }
            return 5;
        },
        [&](int& v) { applied = v; }, [&] { ++silent; });
    ASSERT_TRUE(processEventsUntil([&] { return applied == 5; }));
    EXPECT_EQ(silent, 12);
    EXPECT_EQ(reported, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));

    // A listing still hanging when its owner goes ends later without reaching it.
    auto late = std::make_shared<Door>();
    listing->run<int>(
        "destination", "G:",
        [late](const JobContext&) {
            late->pass();
            return 4;
        },
        [&](int&) { ADD_FAILURE() << "applied after its owner went"; }, [] {});
    listing.reset();
    late->letThrough();
    QCoreApplication::processEvents();
}

// A command is never given up: a volume that hangs holds it until it answers, reads of the
// volume do not wait behind it, and its result is applied once it ends. The queues' end asks a
// command to stop and waits for it.
TEST(WorkQueuesTest, ACommandEndsOnlyWhenItsVolumeLetsIt) {
    auto work = std::make_unique<WorkQueues>(50ms);
    auto door = std::make_shared<Door>();
    int applied = 0;
    work->runCommand<int>(
        "move", "E:",
        [door](const JobContext&) {
            door->pass();
            return 1;
        },
        [&](int& v) { applied = v; });
    work->run<int>(
        "listing", "E:", [](const JobContext&) { return 2; }, [&](int& v) { applied = v; });
    ASSERT_TRUE(processEventsUntil([&] { return applied == 2; }));
    processEventsUntil([] { return false; }, 200ms);
    EXPECT_TRUE(work->pending("move"));
    door->letThrough();
    ASSERT_TRUE(processEventsUntil([&] { return applied == 1; }));

    auto items = std::make_shared<std::atomic<int>>(0);
    work->runCommand<int>(
        "move", "E:",
        [items](const JobContext& job) {
            while (!job.cancelled()) {
                ++*items;
                std::this_thread::sleep_for(1ms);
            }
            return 0;
        },
        [](int&) {});
    ASSERT_TRUE(processEventsUntil([&] { return *items > 0; }));
    work.reset();
    const int atEnd = *items;
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(*items, atEnd);
}

}  // namespace
}  // namespace pictaria
