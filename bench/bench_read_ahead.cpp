// SPDX-License-Identifier: GPL-3.0-or-later
// How fast the large view follows the keyboard through a folder of 24-megapixel photographs,
// with the real main window on the offscreen platform. Generates 30 photo-like 6000 x 4000
// JPEGs (quality 92, each of its own content), then prints, from one run:
//   step_shown_vs_cold_decode          median time from a Down key to the picture drawn,
//                                      stepping with 300 ms to look at each picture, against
//                                      the median cold 1/8-scale decode of the same files
//   step_cpu_vs_floor                  processor time of the whole process per step of that sweep
//                                      (the step and the look at the picture) against one
//                                      1/8-scale decode of the same file from memory: the
//                                      median step, with the 10th and 90th percentile steps
//   burst_last_vs_single_step_fitted   ten Down keys 40 ms apart: time from the last key to its
//                                      picture drawn, against one cold step (nothing read
//                                      ahead), fitted; the 90th percentile of ten bursts, with
//                                      their median and range
//   burst_last_vs_single_step_actual   the same at actual size
//   read_ahead_peak_mb                 the process's peak memory growth over the fitted sweep
//   click_with_vs_without_read_ahead_local  median time from a click on a random entry to its
//                                      picture drawn, clicks 50 to 300 ms apart, with the
//                                      read-ahead against with it switched off, in blocks
//                                      taken in turn; each block's ratio for the spread
//   click_with_vs_without_read_ahead_slow   the same with every JPEG read at about 22 MB/s
//                                      and 0.4 ms a call, one read at a time, as from a memory
//                                      card, a camera or a FUSE mount
//   card_paced_step_ms                 on that card, stepping down one key every 0.6 s: the
//                                      median time from a key to its picture drawn
//   card_pick_vs_large_reads           on that card, a click on a random entry (read-ahead
//                                      off) to its picture drawn, against the same file read in
//                                      64 KiB pieces and then decoded from memory
//   decoded_peak_mb                    the process's peak memory growth, in MB, stepping at
//                                      actual size through JPEGs whose headers claim huge frames
//                                      and through very large ones (15000 x 15000,
//                                      16384 x 16384, and the same stored on its side)
//   large_turned_shown_under_1900mb_as  whether the 16384 x 16384 picture stored on its side is
//                                      shown at actual size by a window whose process may map
//                                      no more than 1900 MB (a child of this program), with the
//                                      same for the picture stored upright
// Key events are posted from a thread of their own at their times, as a keyboard delivers them
// while the window's thread may be busy. Run it from a folder on the disk (the build folder).

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>
#include <optional>
#include <random>
#include <thread>
#include <vector>

#include "BenchTiming.h"
#include "app/MainFormUnit1.h"
#include "platform/DriveTable.h"
#include "platform/PathText.h"
#include "samples/SampleJpeg.h"
#include "samples/SamplePixels.h"
#include "viewer/JpegDecoder.h"
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

// Handles the window's events until `condition` holds or `timeoutMs` have passed. The thread
// sleeps while no event comes (a tick wakes it every 5 ms), so that its processor time is the
// window's work, not a wait spinning.
bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    QTimer tick;
    tick.start(5);
    while (!condition()) {
        if (clock.elapsed() > timeoutMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
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

// The value below which `share` of the values lie (nearest rank).
double percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(share * values.size()));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

double processSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// A memory card: every JPEG read at about 22 MB/s and 0.4 ms a call, one read at a time, while
// switched on. The cost of a call is what makes small reads slow on cards, cameras and FUSE
// mounts.
std::atomic<bool> slowCard{false};
std::mutex cardMutex;

ssize_t cardRead(int fd, void* buffer, std::size_t size) {
    if (!slowCard) {
        return ::read(fd, buffer, size);
    }
    const std::lock_guard lock(cardMutex);
    const ssize_t got = ::read(fd, buffer, size);
    std::this_thread::sleep_for(std::chrono::microseconds(
        400 + std::max<ssize_t>(got, 0) * 1000000LL / 22000000));
    return got;
}

// The seconds to read the file through the card in 64 KiB pieces and decode it from memory
// for the pane, one after the other.
double readInLargePiecesThenDecode(const fs::path& file, const TForm1& window) {
    return secondsOf([&] {
        const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        std::string bytes;
        char piece[64 * 1024];
        for (ssize_t got; (got = cardRead(fd, piece, sizeof piece)) > 0;) {
            bytes.append(piece, static_cast<std::size_t>(got));
        }
        ::close(fd);
        const int paneWidth = window.Image2->parentWidget()->width();
        const int paneHeight = window.Image2->parentWidget()->height();
        JpegDecoder decoder;
        decoder.decodeBytes(
            reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
            [&](int width, int height) {
                int scale = 8;
                while (scale > 1 && (width / scale < paneWidth || height / scale < paneHeight)) {
                    scale /= 2;
                }
                return scale;
            },
            false);
    });
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

    // Waits until the view is painted with entry `name`'s picture, at most `timeoutMs`; the
    // time of that paint.
    Clock::time_point paintedWith(const std::string& name, int timeoutMs = 20000) {
        wanted_ = QString::fromStdString(name);
        painted_.reset();
        waitFor([&] { return painted_.has_value(); }, timeoutMs);
        return painted_.value_or(Clock::now());
    }

    // Whether the view is painted with entry `name`'s picture within `timeoutMs`.
    bool paints(const std::string& name, int timeoutMs) {
        paintedWith(name, timeoutMs);
        return painted_.has_value();
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted_ && window_.Label1->text() == wanted_ &&
            !window_.Image2->picture().isNull()) {
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
double stepSeconds(TForm1& window, PaintWatch& watch, const std::string& to, int keys, int gapMs,
                   int timeoutMs = 20000) {
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
    const Clock::time_point painted = watch.paintedWith(to, timeoutMs);
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

// A picture of `side` x `side` that compresses fast: bands of colour.
std::string veryLargeJpeg(int side) {
    QImage picture(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < side; ++x) {
            row[x] = qRgb(x / 64 % 256, y / 64 % 256, (x + y) / 128 % 256);
        }
    }
    samples::JpegSettings settings;
    settings.quality = 75;
    return samples::encodeJpeg(picture, settings);
}

constexpr char kAddressLimitChild[] = "--show-under-address-limit";
constexpr rlim_t kAddressLimit = 1900ull * 1000 * 1000;

// True when a child of this program, whose address space is limited, shows `name` of `folder`.
bool shownUnderAddressLimit(const fs::path& folder, const std::string& name) {
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    const std::string folderText = folder.string();
    char* const arguments[] = {
        const_cast<char*>(self.c_str()), const_cast<char*>(kAddressLimitChild),
        const_cast<char*>(folderText.c_str()), const_cast<char*>(name.c_str()), nullptr};
    pid_t child = 0;
    if (::posix_spawn(&child, self.c_str(), nullptr, nullptr, arguments, environ) != 0) {
        return false;
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The child: opens `name` of `folder` at actual size under the address-space limit; exits 0
// once it is painted, 1 when it is not within 60 s (what the user was told goes to stderr).
int showUnderAddressLimit(int argc, char** argv) {
    const rlimit limit{kAddressLimit, kAddressLimit};
    ::setrlimit(RLIMIT_AS, &limit);
    QApplication app(argc, argv);
    DriveTable table;
    table.add('C', argv[2], DriveType::Fixed);
    setActiveDriveTable(table);
    auto window = openWindow(Folder{{argv[3]}}, false);
    PaintWatch watch(*window);
    window->CListBox1->setItemIndex(0);
    window->CListBox1Click();
    return watch.paints(argv[3], 60000) ? 0 : 1;
}

// Steps at actual size through small files whose headers claim huge frames and through very
// large pictures, each looked at for 300 ms; the peak growth of the resident set, in MB.
double decodedPeakMegabytes(const fs::path& parent) {
    const fs::path folder = uniqueFolder(parent, "bench-decoded-peak");
    DriveTable table;
    table.add('C', folder.string(), DriveType::Fixed);
    setActiveDriveTable(table);
    Folder files;
    const auto write = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
        files.names.push_back(name);
    };
    const std::string small = samples::encodeJpeg(samples::gradientPicture(64, 64));
    for (const int side : {12000, 15000, 16000, 16384, 18000}) {
        write("forged" + std::to_string(side) + ".jpg", samples::withFrameSize(small, side, side));
    }
    write("large15000.jpg", veryLargeJpeg(15000));
    const std::string largest = veryLargeJpeg(16384);
    write("large16384.jpg", largest);
    write("large16384-turned.jpg", samples::withExif(largest, samples::orientationTiff(6)));
    write("large15000-again.jpg", veryLargeJpeg(15000));

    auto window = openWindow(files, false);
    PaintWatch watch(*window);
    std::ofstream("/proc/self/clear_refs") << "5";
    const long long before = kilobytesOf("VmRSS:");
    window->CListBox1->setItemIndex(0);
    window->CListBox1Click();
    pause(300);
    for (std::size_t i = 1; i < files.names.size(); ++i) {
        stepSeconds(*window, watch, files.names[i], 1, 0, 10000);  // some show nothing
        pause(300);
    }
    const double peak = (kilobytesOf("VmHWM:") - before) / 1024.0;
    window.reset();
    const auto shown = [&](const char* name) {
        return shownUnderAddressLimit(folder, name) ? "yes" : "no";
    };
    std::printf("large_turned_shown_under_1900mb_as %s   (upright %s)\n",
                shown("large16384-turned.jpg"), shown("large16384.jpg"));
    fs::remove_all(folder);
    return peak;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 4 && std::strcmp(argv[1], kAddressLimitChild) == 0) {
        return showUnderAddressLimit(argc, argv);
    }
    QApplication app(argc, argv);
    // Key events name the keyboard they come from, made with the first event; made here, on the
    // application's thread, rather than by the thread that posts the keys.
    const QKeyEvent firstKey(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    const fs::path folder = uniqueFolder(fs::current_path(), "bench-read-ahead-work");
    DriveTable table;
    table.add('C', folder.string(), DriveType::Fixed);
    setActiveDriveTable(table);
    const Folder photos = writePhotos(folder);

    setPictureFileReader(cardRead);
    std::vector<double> cold;
    std::vector<double> floor;
    for (const std::string& name : photos.names) {
        const std::string path = joinPath("C:\\", name);
        cold.push_back(secondsOf([&] {
            loadJpegFile(
                path, [](int, int) { return 8; }, false);
        }));
        std::ifstream file(folder / name, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(file)), {});
        JpegDecoder decoder;
        const double start = threadSeconds();
        decoder.decodeBytes(
            reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
            [](int, int) { return 8; }, false);
        floor.push_back(threadSeconds() - start);
    }

    // The fitted sweep: a step, then 300 ms looking at the picture.
    double fittedStep = 0;
    double peakMb = 0;
    std::vector<double> stepCpu;
    {
        auto window = openWindow(photos, true);
        PaintWatch watch(*window);
        window->CListBox1->setItemIndex(0);
        window->CListBox1Click();
        pause(300);
        std::ofstream("/proc/self/clear_refs") << "5";  // restarts the peak of the resident set
        const long long before = kilobytesOf("VmRSS:");
        std::vector<double> steps;
        double cpu = processSeconds();
        for (int i = 1; i < kPhotos; ++i) {
            steps.push_back(stepSeconds(*window, watch, photos.names[i], 1, 0));
            pause(300);
            const double now = processSeconds();
            stepCpu.push_back((now - cpu) / median(floor));
            cpu = now;
        }
        peakMb = (kilobytesOf("VmHWM:") - before) / 1024.0;
        fittedStep = median(steps);
    }
    printRatio("step_shown_vs_cold_decode", fittedStep, median(cold));
    std::printf("step_cpu_vs_floor %.3f   (steps p10 %.3f to p90 %.3f; floor %.1f ms)\n",
                median(stepCpu), percentile(stepCpu, 0.1), percentile(stepCpu, 0.9),
                median(floor) * 1000);

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
        for (int from = 0; from + kBurst < kPhotos; from += 2) {
            auto window = openWindow(photos, fitted);
            PaintWatch watch(*window);
            window->CListBox1->setItemIndex(from);
            window->CListBox1Click();
            pause(300);
            bursts.push_back(stepSeconds(*window, watch, photos.names[from + kBurst], kBurst, 40) /
                             median(single));
        }
        std::printf(
            "%s %.3f   (p90 of %zu bursts; median %.3f, %.3f to %.3f; single step %.3f s)\n",
            fitted ? "burst_last_vs_single_step_fitted" : "burst_last_vs_single_step_actual",
            percentile(bursts, 0.9), bursts.size(), median(bursts),
            *std::min_element(bursts.begin(), bursts.end()),
            *std::max_element(bursts.begin(), bursts.end()), median(single));
        std::fflush(stdout);
    }
    std::printf("read_ahead_peak_mb %.1f\n", peakMb);

    for (const bool slow : {false, true}) {
        slowCard = slow;
        std::mt19937 random(26);
        auto window = openWindow(photos, true);
        PaintWatch watch(*window);
        std::vector<double> ratios;
        std::vector<double> with;
        std::vector<double> without;
        // Pick times vary by a few per cent from click to click, and the card's by the
        // machine's timer: enough clicks for a median that holds from run to run.
        const int blocks = slow ? 8 : 10;
        const int clicks = slow ? 4 : 6;
        for (int block = 0; block < blocks; ++block) {
            std::vector<std::pair<int, int>> picks;  // entry, pause before it
            for (int i = 0; i < clicks; ++i) {
                picks.emplace_back(std::uniform_int_distribution(0, kPhotos - 1)(random),
                                   std::uniform_int_distribution(50, 300)(random));
            }
            std::vector<double> times[2];
            for (const bool on : {block % 2 == 0, block % 2 != 0}) {
                window->setReadingAhead(on);
                for (const auto& [entry, gap] : picks) {
                    pause(gap);
                    const Clock::time_point start = Clock::now();
                    window->CListBox1->setItemIndex(entry);
                    window->CListBox1Click();
                    const Clock::time_point painted = watch.paintedWith(photos.names[entry]);
                    times[on].push_back(std::chrono::duration<double>(painted - start).count());
                }
                pause(slow ? 1500 : 400);  // what is read ahead is read before the other kind
            }
            ratios.push_back(median(times[1]) / median(times[0]));
            with.insert(with.end(), times[1].begin(), times[1].end());
            without.insert(without.end(), times[0].begin(), times[0].end());
        }
        std::printf("%s %.3f   (blocks %.3f to %.3f; with %.3f s, without %.3f s)\n",
                    slow ? "click_with_vs_without_read_ahead_slow"
                         : "click_with_vs_without_read_ahead_local",
                    median(with) / median(without), *std::min_element(ratios.begin(), ratios.end()),
                    *std::max_element(ratios.begin(), ratios.end()), median(with), median(without));
        std::fflush(stdout);
    }

    // Stepping through the card at a person's pace, and single picks against the file read in
    // large pieces.
    slowCard = true;
    {
        auto window = openWindow(photos, true);
        PaintWatch watch(*window);
        window->CListBox1->setItemIndex(0);
        window->CListBox1Click();
        watch.paints(photos.names[0], 20000);
        std::vector<double> waits;
        for (int i = 1; i < kPhotos; ++i) {
            pause(600);
            waits.push_back(stepSeconds(*window, watch, photos.names[i], 1, 0) * 1000);
        }
        std::printf("card_paced_step_ms %.0f   (p90 %.0f over %zu steps)\n", median(waits),
                    percentile(waits, 0.9), waits.size());
        std::fflush(stdout);
    }
    {
        auto window = openWindow(photos, true);
        window->setReadingAhead(false);
        PaintWatch watch(*window);
        std::mt19937 random(33);
        std::vector<double> ratios;
        for (int pick = 0; pick < 8; ++pick) {
            const int entry = std::uniform_int_distribution(0, kPhotos - 1)(random);
            pause(200);
            const Clock::time_point start = Clock::now();
            window->CListBox1->setItemIndex(entry);
            window->CListBox1Click();
            const double ours =
                std::chrono::duration<double>(watch.paintedWith(photos.names[entry]) - start)
                    .count();
            ratios.push_back(ours / readInLargePiecesThenDecode(folder / photos.names[entry],
                                                                *window));
        }
        std::printf("card_pick_vs_large_reads %.3f   (%.3f to %.3f over %zu picks)\n",
                    median(ratios), *std::min_element(ratios.begin(), ratios.end()),
                    *std::max_element(ratios.begin(), ratios.end()), ratios.size());
        std::fflush(stdout);
    }
    slowCard = false;
    fs::remove_all(folder);

    std::printf("decoded_peak_mb %.0f\n", decodedPeakMegabytes(folder.parent_path()));
    return 0;
}
