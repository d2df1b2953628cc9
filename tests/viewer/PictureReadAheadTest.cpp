// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <future>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "samples/SampleJpeg.h"
#include "samples/SamplePixels.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"
#include "viewer/PictureLoadError.h"
#include "viewer/PictureMemory.h"
#include "viewer/PictureReadAhead.h"
#include "widgets/ImageControl.h"

namespace pictaria {
namespace {

using namespace std::chrono_literals;

class PictureReadAheadTest : public testing::Test {
  protected:
    PictureReadAheadTest() { drives_.map('C', folder_.path()); }

    PictureRequest put(const std::string& name, const std::string& bytes) {
        folder_.writeFile(name, bytes);
        return {"C:\\" + name, 498, 343, true, false};
    }
    PictureRequest putJpeg(const std::string& name, int width, int height) {
        return put(name, samples::encodeJpeg(samples::gradientPicture(width, height)));
    }
    // Waits until the worker has loaded `count` pictures.
    static bool loaded(const PictureReadAhead& ahead, int count) {
        for (int i = 0; i < 500 && ahead.loads() < count; ++i) {
            std::this_thread::sleep_for(10ms);
        }
        return ahead.loads() == count;
    }

    long long changeTime(const std::string& name) const {
        struct stat st {};
        return ::stat(folder_.host(name).c_str(), &st) == 0
                   ? st.st_ctim.tv_sec * 1'000'000'000LL + st.st_ctim.tv_nsec
                   : -1;
    }
    // Waits until the file system's clock has passed the file's change time, so that a change
    // made now shows in it even where that clock moves in coarse ticks.
    bool clockPassed(const std::string& name) const {
        const long long changed = changeTime(name);
        for (int i = 0; i < 500; ++i) {
            folder_.writeFile(".clock", std::to_string(i));
            if (changeTime(".clock") > changed) {
                return true;
            }
            std::this_thread::sleep_for(1ms);
        }
        return false;
    }

    // The ready reports, told on the worker's thread, counted by path for the test's thread.
    PictureReadAhead::ReadyReport reportTo() {
        return [this](const PictureRequest& request) {
            const std::lock_guard lock(reportMutex_);
            ++reports_[request.path];
            reported_.notify_all();
        };
    }
    bool reported(const PictureRequest& request, int count) {
        std::unique_lock lock(reportMutex_);
        return reported_.wait_for(lock, 5s, [&] { return reports_[request.path] >= count; }) &&
               reports_[request.path] == count;
    }

    test::TempDir folder_;
    test::TestDrives drives_;
    std::mutex reportMutex_;
    std::condition_variable reported_;
    std::map<std::string, int> reports_;
};

// A picture read ahead shows exactly what a direct load shows, errors included, and is used
// only for its own request and its own file.
TEST_F(PictureReadAheadTest, ServesOnlyAnUnchangedFileForTheSameRequest) {
    PictureReadAhead ahead;
    const PictureRequest big = putJpeg("big.jpg", 1600, 1200);
    const PictureRequest broken = put("broken.bmp", "BM not a bitmap");
    PictureRequest missing = big;
    missing.path = "C:\\gone.jpg";
    ahead.want({big, broken, missing});
    ASSERT_TRUE(loaded(ahead, 3));

    const auto served = ahead.take(big);
    ASSERT_TRUE(served);
    const PreparedPicture cold = preparePicture(big);
    EXPECT_EQ(served->picture.image, cold.picture.image);
    ImageControl fromCache, direct;
    EXPECT_EQ(presentPicture(*served, big, fromCache), presentPicture(cold, big, direct));
    EXPECT_EQ(fromCache.geometry(), direct.geometry());

    const auto error = ahead.take(broken);
    ASSERT_TRUE(error);
    ImageControl untouched;
    EXPECT_THROW(presentPicture(*error, broken, untouched), PictureLoadError);
    const auto gone = ahead.take(missing);
    ASSERT_TRUE(gone);
    EXPECT_FALSE(gone->fileFound);

    PictureRequest otherPane = big;
    otherPane.paneWidth = 300;
    PictureRequest actualSize = big;
    actualSize.shrinkToFit = false;
    EXPECT_FALSE(ahead.take(otherPane));
    EXPECT_FALSE(ahead.take(actualSize));
    EXPECT_EQ(ahead.loads(), 3);
    putJpeg("big.jpg", 800, 600);  // replaced on disk
    EXPECT_FALSE(ahead.take(big));
}

// A file replaced after it was read ahead is read again once a pick has found the picture
// stale, and reported ready again, so that a pick waiting for that report shows the new one.
TEST_F(PictureReadAheadTest, AFileReplacedAfterItWasReadIsReadAgainAndReported) {
    std::mutex readMutex;
    std::vector<std::string> read;
    PictureReadAhead ahead(reportTo(),
                           [&](const PictureRequest& request, const std::atomic<bool>& cancel) {
                               const std::lock_guard lock(readMutex);
                               read.push_back(folder_.readFile("p03.jpg"));
                               return preparePicture(request, &cancel);
                           });
    const PictureRequest p03 = putJpeg("p03.jpg", 64, 48);
    const std::string first = folder_.readFile("p03.jpg");
    ahead.want({p03});
    ASSERT_TRUE(reported(p03, 1));

    putJpeg("p03.new", 48, 64);
    std::filesystem::rename(folder_.host("p03.new"), folder_.host("p03.jpg"));
    EXPECT_FALSE(ahead.takeIfReady(p03));
    ASSERT_TRUE(reported(p03, 2));
    const auto served = ahead.takeIfReady(p03);
    ASSERT_TRUE(served);
    EXPECT_EQ(served->picture.naturalSize, QSize(48, 64));
    const std::lock_guard lock(readMutex);
    EXPECT_TRUE(read == (std::vector<std::string>{first, folder_.readFile("p03.jpg")}));
}

// A file rewritten in place to the same size, its modification time put back, is another
// picture: its change time, which cannot be put back, tells it.
TEST_F(PictureReadAheadTest, AFileRewrittenUnderItsOldTimeIsNotServed) {
    PictureReadAhead ahead;
    const PictureRequest rewritten = put("rewritten.bmp", "BM first");
    ahead.want({rewritten});
    ASSERT_TRUE(loaded(ahead, 1));
    struct stat before {};
    ASSERT_EQ(::stat(folder_.host("rewritten.bmp").c_str(), &before), 0);
    ASSERT_TRUE(clockPassed("rewritten.bmp"));

    folder_.writeFile("rewritten.bmp", "BM other");
    const std::array<timespec, 2> times{before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, folder_.host("rewritten.bmp").c_str(), times.data(), 0), 0);
    EXPECT_FALSE(ahead.takeIfReady(rewritten));
}

// A file that changes each time it is read (a copy still arriving) is reported ready all the
// same, so that a pick waiting for it goes on and loads it itself; it is read again once per
// pick that found it unusable, never over and over.
TEST_F(PictureReadAheadTest, AFileChangingWhileReadIsReadAgainOncePerPick) {
    const PictureRequest arriving = put("arriving.bmp", "BM");
    const PictureRequest other = putJpeg("other.jpg", 8, 8);
    const PictureRequest third = putJpeg("third.jpg", 8, 8);
    std::atomic<int> reads{0};
    PictureReadAhead ahead(
        reportTo(), [&](const PictureRequest& request, const std::atomic<bool>&) {
            if (request == arriving) {
                folder_.writeFile("arriving.bmp",
                                  "BM" + std::string(static_cast<std::size_t>(++reads), 'x'));
            }
            return preparePicture(request);
        });
    ahead.want({arriving, other});
    ASSERT_TRUE(reported(other, 1));  // the worker reads them in order
    EXPECT_EQ(reads, 1);
    EXPECT_TRUE(reported(arriving, 1));

    EXPECT_FALSE(ahead.take(arriving));
    ahead.want({arriving, other, third});
    ASSERT_TRUE(reported(third, 1));
    EXPECT_EQ(reads, 2);
    EXPECT_TRUE(reported(arriving, 2));
}

// A pick of the picture being read waits for that read instead of loading it again; a picture
// no longer wanted is dropped.
TEST_F(PictureReadAheadTest, APickWaitsForTheReadInProgressAndUnwantedPicturesGo) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<int> started{0};
    PictureReadAhead ahead({}, [&](const PictureRequest& request, const std::atomic<bool>&) {
        ++started;
        released.wait();
        return preparePicture(request);
    });
    const PictureRequest next = putJpeg("next.jpg", 64, 48);
    const PictureRequest previous = putJpeg("previous.jpg", 48, 64);
    ahead.want({next, previous});
    while (started == 0) {
        std::this_thread::sleep_for(1ms);
    }
    auto pick = std::async(std::launch::async, [&] { return ahead.take(next); });
    EXPECT_EQ(pick.wait_for(50ms), std::future_status::timeout);
    release.set_value();
    const auto picked = pick.get();
    ASSERT_TRUE(picked);
    EXPECT_EQ(picked->picture.naturalSize, QSize(64, 48));
    ASSERT_TRUE(loaded(ahead, 2));

    ahead.want({previous});
    EXPECT_FALSE(ahead.take(next));
    EXPECT_TRUE(ahead.take(previous));
    EXPECT_EQ(ahead.loads(), 2);
}

// A read no longer wanted is given up, down in the JPEG decoder, and its picture not kept.
TEST_F(PictureReadAheadTest, AReadNoLongerWantedIsGivenUp) {
    const PictureRequest first = putJpeg("first.jpg", 64, 48);
    const PictureRequest second = putJpeg("second.jpg", 48, 64);
    std::atomic<bool> reading{false};
    PictureReadAhead ahead({}, [&](const PictureRequest& request, const std::atomic<bool>& cancel) {
        if (request == first) {
            reading = true;
            while (!cancel) {
                std::this_thread::sleep_for(1ms);
            }
        }
        return preparePicture(request, &cancel);
    });
    ahead.want({first});
    while (!reading) {
        std::this_thread::sleep_for(1ms);
    }
    ahead.want({second});
    ASSERT_TRUE(loaded(ahead, 2));
    EXPECT_FALSE(ahead.takeIfReady(first));
    EXPECT_TRUE(ahead.takeIfReady(second));

    const std::atomic<bool> cancelled{true};
    EXPECT_FALSE(preparePicture(first, &cancelled).picture.loaded());
    EXPECT_TRUE(preparePicture(first).picture.loaded());
}

// A pick loaded by the caller comes before every read ahead: a read in progress gives way at once,
// none starts while the pick loads, and the pick's picture is kept, not read again. A read less
// wanted than a picture still to read gives way too, and is done again after that one.
TEST_F(PictureReadAheadTest, APickComesBeforeEveryReadAhead) {
    const PictureRequest ahead1 = putJpeg("ahead1.jpg", 64, 48);
    const PictureRequest ahead2 = putJpeg("ahead2.jpg", 64, 48);
    const PictureRequest next = putJpeg("next.jpg", 64, 48);
    const PictureRequest picked = putJpeg("picked.jpg", 48, 64);
    std::mutex logMutex;
    std::vector<std::string> log;
    std::vector<PictureRequest> heldOnce{ahead1, ahead2};  // read until given up, the first time
    PictureReadAhead ahead({}, [&](const PictureRequest& request, const std::atomic<bool>& cancel) {
        std::unique_lock lock(logMutex);
        log.push_back("start " + request.path.substr(3));
        if (std::erase(heldOnce, request) > 0) {
            lock.unlock();
            while (!cancel) {
                std::this_thread::sleep_for(1ms);
            }
            lock.lock();
            log.push_back("given up " + request.path.substr(3));
            return preparePicture(request, &cancel);
        }
        lock.unlock();
        PreparedPicture picture = preparePicture(request, &cancel);
        lock.lock();
        log.push_back("end " + request.path.substr(3));
        return picture;
    });
    const auto waitForLog = [&](std::size_t lines) {
        for (int i = 0; i < 5000; ++i) {
            {
                const std::lock_guard lock(logMutex);
                if (log.size() >= lines) {
                    return;
                }
            }
            std::this_thread::sleep_for(1ms);
        }
    };

    ahead.want({ahead1, picked});
    waitForLog(1);
    EXPECT_EQ(ahead.load(picked).picture.naturalSize, QSize(48, 64));
    ASSERT_TRUE(loaded(ahead, 2));
    ahead.want({picked, ahead1});
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(ahead.loads(), 2);  // the pick's picture was kept

    ahead.want({ahead2, picked});
    waitForLog(7);
    ahead.want({next, ahead2, picked});  // ahead2, being read, is no longer the most wanted
    ASSERT_TRUE(loaded(ahead, 5));
    EXPECT_TRUE(ahead.takeIfReady(next));
    EXPECT_TRUE(ahead.takeIfReady(ahead2));
    const std::lock_guard lock(logMutex);
    ASSERT_EQ(log.size(), 12u);
    // The read given up ends on the worker's thread while the pick loads on the caller's.
    EXPECT_EQ(std::multiset<std::string>(log.begin(), log.begin() + 4),
              (std::multiset<std::string>{"start ahead1.jpg", "given up ahead1.jpg",
                                          "start picked.jpg", "end picked.jpg"}));
    EXPECT_EQ(std::vector<std::string>(log.begin() + 4, log.end()),
              (std::vector<std::string>{"start ahead1.jpg", "end ahead1.jpg", "start ahead2.jpg",
                                        "given up ahead2.jpg", "start next.jpg", "end next.jpg",
                                        "start ahead2.jpg", "end ahead2.jpg"}));
}

// One budget in bytes holds every picture: a picture read ahead that does not fit with more
// wanted ones is refused and read again only once it is the most wanted, when the less wanted
// ones go first. A picture that does not fit even alone is told by name.
TEST_F(PictureReadAheadTest, APictureThatDoesNotFitDropsTheLessWantedFirst) {
    PictureMemory& memory = PictureMemory::shared();
    const std::size_t limit = memory.limit();
    const std::size_t picture = 64 * 64 * 4;
    memory.setLimit(picture * 5 / 2);
    const PictureRequest a = putJpeg("a.jpg", 64, 64);
    const PictureRequest b = putJpeg("b.jpg", 64, 64);
    const PictureRequest c = putJpeg("c.jpg", 64, 64);
    {
        PictureReadAhead ahead(reportTo());
        ahead.want({a, b, c});
        ASSERT_TRUE(reported(c, 1));
        EXPECT_EQ(memory.used(), 2 * picture);
        EXPECT_TRUE(ahead.takeIfReady(a));
        EXPECT_TRUE(ahead.takeIfReady(b));
        EXPECT_FALSE(ahead.takeIfReady(c));

        ahead.want({c, a, b});
        ASSERT_TRUE(reported(c, 2));
        ASSERT_TRUE(reported(b, 2));
        const auto shown = ahead.takeIfReady(c);
        ASSERT_TRUE(shown);
        EXPECT_TRUE(shown->picture.loaded());
        EXPECT_TRUE(ahead.takeIfReady(a));
        EXPECT_FALSE(ahead.takeIfReady(b));
        EXPECT_LE(memory.used(), memory.limit());

        memory.setLimit(picture / 2);
        const PreparedPicture tooLarge = ahead.load(putJpeg("huge.jpg", 64, 64));
        ImageControl untouched;
        try {
            presentPicture(tooLarge, a, untouched);
            ADD_FAILURE() << "no message";
        } catch (const PictureLoadError& error) {
            EXPECT_EQ(error.what(), pictureTooLargeText("C:\\huge.jpg"));
            EXPECT_NE(std::string(error.what()).find("huge.jpg"), std::string::npos);
        }
    }
    memory.setLimit(limit);
    EXPECT_EQ(memory.used(), 0u);
}

// A picture read ahead from a card that hangs before it is taken: the taker is never held by
// the card (it gets nothing at once), and the picture is reported ready again, and served,
// once the card answers.
TEST_F(PictureReadAheadTest, ACardThatHangsNeverHoldsTheTaker) {
    struct Card {
        std::mutex mutex;
        std::condition_variable answers;
        bool hung = false;
    };
    auto card = std::make_shared<Card>();
    PictureReadAhead ahead(
        reportTo(),
        [](const PictureRequest& request, const std::atomic<bool>& cancel) {
            return preparePicture(request, &cancel);
        },
        [card](const std::string& path) {
            std::unique_lock lock(card->mutex);
            card->answers.wait(lock, [&] { return !card->hung; });
            return contentStamp(path);
        });
    const PictureRequest pick = putJpeg("pick.jpg", 64, 48);
    ahead.want({pick});
    ASSERT_TRUE(reported(pick, 1));
    {
        const std::lock_guard lock(card->mutex);
        card->hung = true;
    }
    std::thread answersLater([card] {
        std::this_thread::sleep_for(1500ms);
        const std::lock_guard lock(card->mutex);
        card->hung = false;
        card->answers.notify_all();
    });
    const auto asked = std::chrono::steady_clock::now();
    EXPECT_FALSE(ahead.takeIfReady(pick));
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 500ms);
    answersLater.join();
    ASSERT_TRUE(reported(pick, 2));
    EXPECT_TRUE(ahead.takeIfReady(pick));
}

// Closing while a picture is being read lets that read end and leaves nothing behind.
TEST_F(PictureReadAheadTest, EndsCleanlyWhileReading) {
    const PictureRequest big = putJpeg("big.jpg", 3000, 2000);
    auto ahead = std::make_unique<PictureReadAhead>();
    ahead->want({big});
    std::this_thread::sleep_for(1ms);
    ahead.reset();
}

}  // namespace
}  // namespace pictaria
