// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "samples/SampleBitmap.h"
#include "samples/SampleJpeg.h"
#include "samples/SamplePixels.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"
#include "viewer/PictureDisplay.h"
#include "viewer/PictureLoadError.h"
#include "viewer/ScreenDepth.h"
#include "widgets/ImageControl.h"

namespace pictaria {
namespace {

using samples::encodeJpeg;

class ShowPicture : public testing::Test {
  protected:
    ShowPicture() { drives_.map('C', folder_.path()); }

    // Writes a file into the drive and gives its path text.
    std::string put(const std::string& name, const std::string& bytes) {
        folder_.writeFile(name, bytes);
        return "C:\\" + name;
    }
    std::string putJpeg(const std::string& name, int width, int height) {
        return put(name, encodeJpeg(samples::gradientPicture(width, height)));
    }
    std::string show(const std::string& path, bool shrinkToFit = true) {
        return showPicture(498, 343, image_, path, shrinkToFit);
    }

    // Everything showPicture may change on the control.
    struct ControlState {
        QRect bounds;
        qint64 pictureKey;
        bool autoSize, stretch;
        bool operator==(const ControlState&) const = default;
    };
    ControlState state() const {
        return {image_.geometry(), image_.picture().cacheKey(), image_.autoSize(),
                image_.stretch()};
    }

    test::TempDir folder_;
    test::TestDrives drives_;
    test::RecordingMessages messages_;
    ImageControl image_;
};

// On a screen of two device pixels to one, the scale is chosen to cover the bounds in device
// pixels: twice as many pixels are decoded each way.
TEST_F(ShowPicture, AHighDensityScreenDecodesForItsDevicePixels) {
    PictureRequest request = pictureRequest(putJpeg("big.jpg", 1600, 1200), 498, 343, true, 1);
    EXPECT_EQ(preparePicture(request).picture.image.size(), QSize(800, 600));
    request.devicePixelRatio = 2;
    EXPECT_EQ(preparePicture(request).picture.image.size(), QSize(1600, 1200));
}

TEST_F(ShowPicture, FitsALargeJpegDecodedAtAReducedScale) {
    EXPECT_EQ(show(putJpeg("big.jpg", 1600, 1200)), "1600X1200");
    EXPECT_EQ(image_.geometry(), QRect(20, 0, 457, 343));
    EXPECT_FALSE(image_.autoSize());
    EXPECT_TRUE(image_.stretch());
    EXPECT_EQ(image_.picture().size(), QSize(800, 600));
}

TEST_F(ShowPicture, ActualSizeKeepsTheFittedCornerAndTheFullPicture) {
    EXPECT_EQ(show(putJpeg("big.JPEG", 1600, 1200), false), "1600X1200");
    EXPECT_EQ(image_.geometry(), QRect(20, 0, 1600, 1200));
    EXPECT_TRUE(image_.autoSize());
    EXPECT_FALSE(image_.stretch());
    EXPECT_EQ(image_.picture().size(), QSize(1600, 1200));
}

TEST_F(ShowPicture, CentresASmallBitmapWithoutEnlarging) {
    const QImage picture = samples::gradientPicture(200, 100);
    EXPECT_EQ(show(put("small.BIMP", samples::saveBitmap(picture))), "200X100");
    EXPECT_EQ(image_.geometry(), QRect(149, 121, 200, 100));
    EXPECT_EQ(image_.picture().pixel(199, 99), picture.pixel(199, 99));
}

TEST_F(ShowPicture, MissingFileLeavesTheControlUntouched) {
    show(putJpeg("shown.jpg", 640, 480));
    const ControlState before = state();
    EXPECT_EQ(show("C:\\gone.jpg", false), "");
    EXPECT_EQ(show("C:\\", false), "");
    EXPECT_EQ(show("Q:\\no drive.jpg", false), "");
    EXPECT_EQ(state(), before);
}

TEST_F(ShowPicture, KindsWithoutADecoderEmptyTheControl) {
    const std::string jpeg = encodeJpeg(samples::gradientPicture(64, 64));
    for (const char* name : {"raw0001.CRW", "photo.Jpg", "notes"}) {
        show(putJpeg("shown.jpg", 640, 480));
        const QRect bounds = image_.geometry();
        EXPECT_EQ(show(put(name, jpeg)), "") << name;
        EXPECT_TRUE(image_.picture().isNull()) << name;
        EXPECT_EQ(image_.geometry(), bounds) << name;
    }
}

TEST_F(ShowPicture, UndecodableJpegEmptiesTheControlSilently) {
    const std::string huge =
        samples::withFrameSize(encodeJpeg(samples::gradientPicture(8, 8)), 60000, 60000);
    for (const std::string& bytes : {std::string("not a picture"), std::string(), huge}) {
        show(putJpeg("shown.jpg", 640, 480));
        EXPECT_EQ(show(put("broken.jpg", bytes)), "");
        EXPECT_TRUE(image_.picture().isNull());
    }
    EXPECT_TRUE(messages_.shown.empty());
    // At actual size an emptied control has no extent, so no scroll bars stay behind.
    show(putJpeg("shown.jpg", 640, 480), false);
    show(put("broken.jpg", "not a picture"), false);
    EXPECT_EQ(image_.size(), QSize(0, 0));
}

TEST_F(ShowPicture, TruncatedJpegShowsThePartThatArrived) {
    const std::string whole = encodeJpeg(samples::grainyPicture(640, 480, 1));
    EXPECT_EQ(show(put("cut.jpg", whole.substr(0, whole.size() / 3)), false), "640X480");
    EXPECT_EQ(image_.picture().size(), QSize(640, 480));
}

TEST_F(ShowPicture, PipeWithAPictureNameIsNotWaitedFor) {
    ASSERT_EQ(::mkfifo(folder_.host("pipe.jpg").c_str(), 0600), 0);
    show(putJpeg("shown.jpg", 640, 480));
    EXPECT_EQ(show("C:\\pipe.jpg"), "");
    EXPECT_TRUE(image_.picture().isNull());
    ASSERT_EQ(::mkfifo(folder_.host("pipe.bmp").c_str(), 0600), 0);
    EXPECT_THROW(show("C:\\pipe.bmp"), PictureLoadError);
}

TEST_F(ShowPicture, BrokenBitmapThrowsAndKeepsThePreviousPicture) {
    show(putJpeg("shown.jpg", 640, 480), false);
    const ControlState before = state();
    const std::string path = put("broken.bmp", "BM this is not a bitmap");
    try {
        show(path);
        FAIL() << "no error raised";
    } catch (const PictureLoadError& error) {
        EXPECT_STREQ(error.what(), "Bitmap image is not valid");
    }
    EXPECT_EQ(state(), before);
}

TEST_F(ShowPicture, PaneWithoutWidthKeepsTheBoundsButTakesPictureAndMode) {
    show(putJpeg("shown.jpg", 640, 480));
    const QRect bounds = image_.geometry();
    EXPECT_EQ(showPicture(0, 343, image_, putJpeg("next.jpg", 300, 200), false), "300X200");
    EXPECT_EQ(image_.pos(), bounds.topLeft());
    EXPECT_EQ(image_.picture().size(), QSize(300, 200));
    EXPECT_TRUE(image_.autoSize());
}

TEST_F(ShowPicture, ColourJpegsComeAsAPaletteOnAnEightBitScreen) {
    const int depth = screenDepth();
    setScreenDepth(8);
    show(putJpeg("shown.jpg", 640, 480));
    setScreenDepth(depth);
    EXPECT_EQ(image_.picture().format(), QImage::Format_Indexed8);
}

}  // namespace
}  // namespace pictaria
