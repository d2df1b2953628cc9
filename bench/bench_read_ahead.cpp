// SPDX-License-Identifier: GPL-3.0-or-later
// How fast the large view follows the keyboard through a folder of 24-megapixel photographs,
// with the real main window on the offscreen platform. Generates 30 photo-like 6000 x 4000
// JPEGs (quality 92, each of its own content), then prints, from one run:
//   step_shown_vs_cold_decode          median time from a Down key to the picture drawn,
//                                      stepping with 300 ms to look at each picture, against
//                                      the median cold 1/8-scale decode of the same files
//   burst_last_vs_single_step_fitted   ten Down keys 40 ms apart: time from the last key to its
//                                      picture drawn, against one cold step (nothing read
//                                      ahead), fitted
//   burst_last_vs_single_step_actual   the same at actual size
//   read_ahead_peak_mb                 the process's peak memory growth over the fitted sweep
// Key events are posted from a thread of their own at their times, as a keyboard delivers them
// while the window's thread may be busy. Run it from a folder on the disk (the build folder).

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <thread>
#include <vector>

#include "BenchTiming.h"
#include "app/MainFormUnit1.h"
#include "platform/DriveTable.h"
#include "platform/PathText.h"
#include "samples/SampleJpeg.h"
#include "samples/SamplePixels.h"
#include "viewer/JpegFile.h"
#include "widgets/CheckListBox.h"
#include "widgets/ElidedLabel.h"
#include "widgets/ImageControl.h"

namespace fs = std::filesystem;
using namespace pictaria;
using namespace pictaria::bench;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kPhotos = 30;
constexpr int kBurst = 10;

// Handles the window's events until `condition` holds or `timeoutMs` have passed.
bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

void pause(int ms) {
    waitFor([] { return false; }, ms);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

long long kilobytesOf(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::atoll(line.c_str() + std::strlen(field));
        }
    }
    return 0;
}

// Records when the large view is painted showing a given entry.
class PaintWatch : public QObject {
  public:
    explicit PaintWatch(TForm1& window) : window_(window) {
        window.Image2->installEventFilter(this);
    }

    // Waits until the view is painted with entry `name`'s picture; the time of that paint.
    Clock::time_point paintedWith(const std::string& name) {
        wanted_ = QString::fromStdString(name);
        painted_.reset();
        waitFor([&] { return painted_.has_value(); }, 20000);
        return painted_.value_or(Clock::now());
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted_ && window_.Label1->text() == wanted_) {
            painted_ = Clock::now();
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    TForm1& window_;
    QString wanted_;
    std::optional<Clock::time_point> painted_;
};

// Posts `keys` Down keys to the window's list, `gapMs` apart, from a thread of its own, and
// returns the seconds from the last key to the large view painted with entry `to`.
double stepSeconds(TForm1& window, PaintWatch& watch, const std::string& to, int keys, int gapMs) {
    Clock::time_point last;
    std::thread keyboard([&] {
        for (int i = 0; i < keys; ++i) {
            if (i > 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(gapMs));
            }
            last = Clock::now();
            QCoreApplication::postEvent(
                window.CListBox1, new QKeyEvent(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier));
        }
    });
    const Clock::time_point painted = watch.paintedWith(to);
    keyboard.join();
    return std::chrono::duration<double>(painted - last).count();
}

struct Folder {
    std::vector<std::string> names;
};

Folder writePhotos(const fs::path& folder) {
    Folder written;
    samples::JpegSettings settings;
    settings.quality = 92;
    for (int i = 0; i < kPhotos; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "DSC_%04d.JPG", 1000 + i);
        std::ofstream(folder / name, std::ios::binary)
            << samples::encodeJpeg(samples::grainyPicture(6000, 4000, 7 + i), settings);
        written.names.emplace_back(name);
    }
    return written;
}

std::unique_ptr<TForm1> openWindow(const Folder& photos, bool fitted) {
    auto window = std::make_unique<TForm1>();
    window->openSourceFolder("C:\\", photos.names);
    if (fitted) {
        window->N7Click();
    } else {
        window->N8Click();
    }
    window->show();
    pause(200);
    return window;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Key events name the keyboard they come from, made with the first event; made here, on the
    // application's thread, rather than by the thread that posts the keys.
    const QKeyEvent firstKey(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    const fs::path folder = uniqueFolder(fs::current_path(), "bench-read-ahead-work");
    DriveTable table;
    table.add('C', folder.string(), DriveType::Fixed);
    setActiveDriveTable(table);
    const Folder photos = writePhotos(folder);

    std::vector<double> cold;
    for (const std::string& name : photos.names) {
        const std::string path = joinPath("C:\\", name);
        cold.push_back(secondsOf([&] {
            loadJpegFile(
                path, [](int, int) { return 8; }, false);
        }));
    }

    // The fitted sweep: a step, then 300 ms looking at the picture.
    double fittedStep = 0;
    double peakMb = 0;
    {
        auto window = openWindow(photos, true);
        PaintWatch watch(*window);
        window->CListBox1->setItemIndex(0);
        window->CListBox1Click();
        pause(300);
        std::ofstream("/proc/self/clear_refs") << "5";  // restarts the peak of the resident set
        const long long before = kilobytesOf("VmRSS:");
        std::vector<double> steps;
        for (int i = 1; i < kPhotos; ++i) {
            steps.push_back(stepSeconds(*window, watch, photos.names[i], 1, 0));
            pause(300);
        }
        peakMb = (kilobytesOf("VmHWM:") - before) / 1024.0;
        fittedStep = median(steps);
    }
    printRatio("step_shown_vs_cold_decode", fittedStep, median(cold));

    for (const bool fitted : {true, false}) {
        // One cold step: a window that has read nothing ahead, stepping from entries not shown.
        std::vector<double> single;
        for (const int from : {3, 11, 19}) {
            auto window = openWindow(photos, fitted);
            PaintWatch watch(*window);
            window->CListBox1->setItemIndex(from);
            single.push_back(stepSeconds(*window, watch, photos.names[from + 1], 1, 0));
        }
        std::vector<double> bursts;
        for (const int from : {0, 15}) {
            auto window = openWindow(photos, fitted);
            PaintWatch watch(*window);
            window->CListBox1->setItemIndex(from);
            window->CListBox1Click();
            pause(300);
            bursts.push_back(stepSeconds(*window, watch, photos.names[from + kBurst], kBurst, 40));
        }
        printRatio(fitted ? "burst_last_vs_single_step_fitted" : "burst_last_vs_single_step_actual",
                   median(bursts), median(single));
    }
    std::printf("read_ahead_peak_mb %.1f\n", peakMb);

    fs::remove_all(folder);
    return 0;
}
