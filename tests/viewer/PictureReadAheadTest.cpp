// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "samples/SampleJpeg.h"
#include "samples/SamplePixels.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"
#include "viewer/PictureLoadError.h"
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

    test::TempDir folder_;
    test::TestDrives drives_;
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
    putJpeg("big.jpg", 800, 600);  // replaced on disk
    EXPECT_FALSE(ahead.take(big));
    EXPECT_EQ(ahead.loads(), 3);
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
