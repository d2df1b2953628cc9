// SPDX-License-Identifier: GPL-3.0-or-later
// How fast a 24-megapixel photograph appears fitted in the upper-right view, and how much
// decoded pixel memory that takes. Generates a 6000 x 4000 photo-like JPEG (soft colour fields
// under fine grain, quality 92), then prints, from one run:
//   fitted_show_vs_full_decode          showPicture into a 498 x 343 pane / plain full libjpeg
//   decode fitted_show_vs_qimagereader_scaled  the same / QImageReader scaled to the fitted box
//   fitted_peak_pixels_vs_full          peak heap bytes of a fitted show / the full 24-bit picture
//   fitted_show_oriented_vs_plain       fitted show of the same photograph tagged Orientation 6
//                                       (stored on its side) / untagged
//   actual_size_peak_vs_one_buffer      peak heap growth of showing and drawing it at actual size
//                                       / one 32-bit buffer of it
//   forged_header_peak_mb               the largest peak heap growth, in MB, over small JPEGs whose
//                                       headers claim huge frames (baseline and progressive, under
//                                       and over the limit), shown fitted and at actual size
//   colour_managed_show_vs_plain        fitted show of the same photograph carrying an Adobe RGB
//                                       profile (converted to sRGB) / without a profile: the
//                                       median of 9 interleaved rounds, with the lowest and
//                                       highest round
#include <benchmark/benchmark.h>
#include <jpeglib.h>
#include <time.h>

#include <QApplication>
#include <QImageReader>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <vector>

#include "../tests/viewer/TestProfiles.h"
#include "platform/DriveTable.h"
#include "samples/SampleJpeg.h"
#include "samples/SamplePixels.h"
#include "support/HeapCounter.h"
#include "viewer/FitGeometry.h"
#include "viewer/PictureDisplay.h"
#include "widgets/ImageControl.h"

namespace {

using namespace pictaria;
using namespace pictaria::bench;

constexpr int kPictureWidth = 6000;
constexpr int kPictureHeight = 4000;
constexpr int kPaneWidth = 498;
constexpr int kPaneHeight = 343;
constexpr const char* kPathText = "C:\\bench.jpg";
constexpr const char* kOrientedPathText = "C:\\bench-oriented.jpg";
constexpr const char* kProfiledPathText = "C:\\bench-adobe-rgb.jpg";

std::string gHostPath;

QSize fittedBox() {
    const auto bounds = fitToPane(kPaneWidth, kPaneHeight, kPictureWidth, kPictureHeight);
    return QSize(bounds->width, bounds->height);
}

// libjpeg with its defaults, the whole picture into one 24-bit buffer.
std::vector<unsigned char> plainFullDecode(const std::string& hostPath) {
    std::FILE* file = std::fopen(hostPath.c_str(), "rb");
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);  // the benchmark's own file: an error ends the run
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, file);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    const std::size_t stride = std::size_t{cinfo.output_width} * 3;
    std::vector<unsigned char> pixels(stride * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = pixels.data() + stride * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(file);
    return pixels;
}

void BM_FittedShow(benchmark::State& state) {
    ImageControl image;
    if (showPicture(kPaneWidth, kPaneHeight, image, kPathText, true) != "6000X4000") {
        state.SkipWithError("the picture was not shown");
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(showPicture(kPaneWidth, kPaneHeight, image, kPathText, true));
    }
}

// The same, with the control's one-time scaling to its bounds that the next paint does.
void BM_FittedShowAndPaint(benchmark::State& state) {
    ImageControl image;
    QImage screen(kPaneWidth, kPaneHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        showPicture(kPaneWidth, kPaneHeight, image, kPathText, true);
        image.render(&screen);
    }
}

void BM_FittedShowOriented(benchmark::State& state) {
    ImageControl image;
    if (showPicture(kPaneWidth, kPaneHeight, image, kOrientedPathText, true) != "4000X6000") {
        state.SkipWithError("the picture was not shown upright");
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            showPicture(kPaneWidth, kPaneHeight, image, kOrientedPathText, true));
    }
}

void BM_PlainFullDecode(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(plainFullDecode(gHostPath).data());
    }
}

void BM_QImageReaderScaled(benchmark::State& state) {
    const QSize box = fittedBox();
    for (auto _ : state) {
        QImageReader reader(QString::fromStdString(gHostPath));
        reader.setScaledSize(box);
        benchmark::DoNotOptimize(reader.read().constBits());
    }
}

// Prints the usual table and keeps each benchmark's median processor time per iteration. All
// the work is on one thread, so processor time measures it without the noise of other
// programs sharing the machine.
class MedianKeeper : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.aggregate_name == "median") {
                medians[run.run_name.function_name] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians;
};

std::size_t fittedShowPeakBytes() {
    ImageControl image;
    resetHeapPeak();
    showPicture(kPaneWidth, kPaneHeight, image, kPathText, true);
    return heapPeakSinceReset();
}

// Showing the photograph at actual size, and drawing the part of it a pane shows.
std::size_t actualSizePeakBytes() {
    ImageControl image;
    QImage screen(kPaneWidth, kPaneHeight, QImage::Format_RGB32);
    resetHeapPeak();
    showPicture(kPaneWidth, kPaneHeight, image, kPathText, false);
    image.render(&screen);
    return heapPeakSinceReset();
}

void writeFile(const std::string& hostPath, const std::string& bytes) {
    std::ofstream(hostPath, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The largest peak over forged frame sizes around the pixel limit (16384 x 16384 at 4 bytes a
// pixel), baseline and progressive, in both display modes.
double forgedHeaderPeakMegabytes(const std::string& folder) {
    std::size_t largest = 0;
    for (const bool progressive : {false, true}) {
        const std::string small = samples::encodeJpeg(samples::gradientPicture(64, 64),
                                                      {samples::JpegColour::Rgb, 90, progressive});
        for (const int side : {12000, 15000, 16000, 16384, 18000}) {
            writeFile(folder + "/forged.jpg", samples::withFrameSize(small, side, side));
            for (const bool fitted : {true, false}) {
                ImageControl image;
                resetHeapPeak();
                showPicture(kPaneWidth, kPaneHeight, image, "C:\\forged.jpg", fitted);
                largest = std::max(largest, heapPeakSinceReset());
            }
        }
    }
    return static_cast<double>(largest) / 1e6;
}

double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double showSeconds(ImageControl& image, const char* pathText, int shows) {
    const double start = threadSeconds();
    for (int i = 0; i < shows; ++i) {
        showPicture(kPaneWidth, kPaneHeight, image, pathText, true);
    }
    return threadSeconds() - start;
}

// The profiled and the plain file shown in turn, round by round, so that a drift of the
// machine's load falls on both alike; processor time of this thread, as the table's.
void printColourManagedRatio() {
    ImageControl image;
    showPicture(kPaneWidth, kPaneHeight, image, kPathText, true);
    const QRgb plain = image.picture().pixel(100, 100);
    showPicture(kPaneWidth, kPaneHeight, image, kProfiledPathText, true);
    if (image.picture().pixel(100, 100) == plain) {
        std::printf("colour_managed_show_vs_plain failed: the profile was not applied\n");
        return;
    }
    std::vector<double> ratios;
    for (int round = 0; round < 9; ++round) {
        const double reference = showSeconds(image, kPathText, 8);
        ratios.push_back(showSeconds(image, kProfiledPathText, 8) / reference);
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("colour_managed_show_vs_plain %.3f   (rounds %.3f to %.3f)\n", ratios[4],
                ratios.front(), ratios.back());
}

void writePictures(const std::string& hostPath, const std::string& orientedHostPath,
                   const std::string& profiledHostPath) {
    const std::string jpeg =
        samples::encodeJpeg(samples::grainyPicture(kPictureWidth, kPictureHeight, 2024),
                            {samples::JpegColour::Rgb, 92});
    writeFile(hostPath, jpeg);
    writeFile(orientedHostPath, samples::withExif(jpeg, samples::orientationTiff(6)));
    writeFile(profiledHostPath,
              test::withIccProfile(jpeg, test::rgbProfile(test::kAdobeRgbLike, 563.0 / 256)));
    std::printf("picture: %dx%d, %zu bytes of JPEG\n", kPictureWidth, kPictureHeight, jpeg.size());
}

void registerBenchmarks() {
    for (auto* registered :
         {benchmark::RegisterBenchmark("fitted_show", BM_FittedShow),
          benchmark::RegisterBenchmark("fitted_show_and_paint", BM_FittedShowAndPaint),
          benchmark::RegisterBenchmark("fitted_show_oriented", BM_FittedShowOriented),
          benchmark::RegisterBenchmark("plain_full_decode", BM_PlainFullDecode),
          benchmark::RegisterBenchmark("qimagereader_scaled", BM_QImageReaderScaled)}) {
        registered
            ->Unit(benchmark::kMillisecond)

            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir folder;
    DriveTable drives;
    drives.add('C', folder.path().toStdString(), DriveType::Fixed);
    setActiveDriveTable(drives);
    gHostPath = folder.filePath("bench.jpg").toStdString();
    writePictures(gHostPath, folder.filePath("bench-oriented.jpg").toStdString(),
                  folder.filePath("bench-adobe-rgb.jpg").toStdString());

    registerBenchmarks();
    MedianKeeper reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto& median = reporter.medians;
    std::printf("fitted_show_vs_full_decode %.3f\n",
                median["fitted_show"] / median["plain_full_decode"]);
    std::printf("fitted_show_vs_qimagereader_scaled %.3f\n",
                median["fitted_show"] / median["qimagereader_scaled"]);
    std::printf("fitted_show_and_paint_vs_qimagereader_scaled %.3f\n",
                median["fitted_show_and_paint"] / median["qimagereader_scaled"]);
    std::printf("fitted_show_oriented_vs_plain %.3f\n",
                median["fitted_show_oriented"] / median["fitted_show"]);
    printColourManagedRatio();
    if (heapCountingAvailable()) {
        const double full = 3.0 * kPictureWidth * kPictureHeight;
        std::printf("fitted_peak_pixels_vs_full %.4f\n",
                    static_cast<double>(fittedShowPeakBytes()) / full);
        const double oneBuffer = 4.0 * kPictureWidth * kPictureHeight;
        std::printf("actual_size_peak_vs_one_buffer %.3f\n",
                    static_cast<double>(actualSizePeakBytes()) / oneBuffer);
        std::printf("forged_header_peak_mb %.0f\n",
                    forgedHeaderPeakMegabytes(folder.path().toStdString()));
    } else {
        std::printf("fitted_peak_pixels_vs_full n/a (built with a sanitizer)\n");
    }
    return 0;
}
