// SPDX-License-Identifier: GPL-3.0-or-later
// How long the window's thread stops answering while a slow card is used, over several rounds:
//   window_stall_ms_listing_slow_card  the longest gap between two turns of the window's event
//                                      loop while the card's folder of 40 pictures is clicked
//                                      as the destination (drive check, listing, preview) and
//                                      its first entry is then picked, in milliseconds;
//                                      printed with the same on a folder of the plain disk
//   hung_card_window_stall_ms          the longest gap while the destination's card hangs
//                                      (every call on it blocks until the end of the run):
//                                      Next ten times, preview clicks, a resize, the slide show
//                                      over the card, undo of a Move onto it, the same-picture
//                                      search, and pictures of the disk picked by the mouse
//   disk_pick_with_hung_destination_vs_without
//                                      the median time from a mouse pick of a picture of the
//                                      disk (not read ahead) to its picture shown, with the
//                                      destination's card hung, against the same with the
//                                      card answering (slowly)
//   threads_blocked_on_hung_card       the threads waiting on the hung card at the end of that
//                                      run
//   folder_move_window_stall_ms        the longest gap while a folder of 200 photographs is
//                                      moved (フォルダ移動) from a RAM file system onto the card,
//                                      its calls slowed by 5 ms each, from the folder dialog's
//                                      end (the dialog lists what the user opens in it)
// The slow card is a folder of the disk whose file system calls (stat, lstat, access, open,
// opendir, readdir, fstatat, read and fread) each take 50 ms more. The delay is put in by this
// program's own definitions of those functions, which the dynamic linker prefers to the C
// library's for every caller in the process (the program, its libraries and the JPEG library)
// and which then call the C library's. Unlike a FUSE mount this needs no privileges and no
// kernel module, and unlike an LD_PRELOAD library it needs nothing outside this program.

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "BenchTiming.h"
#include "aids/Slid_Unit3.h"
#include "app/MainFormUnit1.h"
#include "dialogs/SelectDirFormUnit4.h"
#include "platform/DriveTable.h"
#include "widgets/CheckListBox.h"
#include "widgets/ElidedLabel.h"
#include "widgets/ImageControl.h"
#include "widgets/ModalDialog.h"
#include "widgets/StringGrid.h"

namespace fs = std::filesystem;
using namespace pictaria;
using namespace pictaria::bench;

namespace {

constexpr auto kSlowCall = std::chrono::milliseconds(50);
constexpr int kPictures = 40;
constexpr int kRounds = 5;

// The slow card: the host folder whose calls are delayed, and its open descriptors.
class SlowCard {
  public:
    void setFolder(std::string folder) {
        const std::lock_guard lock(mutex_);
        folder_ = std::move(folder);
    }
    bool holds(const char* path) {
        const std::lock_guard lock(mutex_);
        return path && !folder_.empty() && std::string_view(path).starts_with(folder_);
    }
    bool holds(int fd) {
        const std::lock_guard lock(mutex_);
        return fds_.contains(fd);
    }
    void opened(int fd) {
        const std::lock_guard lock(mutex_);
        fds_.insert(fd);
    }
    void closed(int fd) {
        const std::lock_guard lock(mutex_);
        fds_.erase(fd);
    }
    // Every call on the card waits while it hangs.
    void wait() {
        std::this_thread::sleep_for(delay_.load());
        std::unique_lock lock(mutex_);
        ++blocked_;
        released_.wait(lock, [this] { return !hung_; });
        --blocked_;
    }
    void setDelay(std::chrono::milliseconds delay) { delay_ = delay; }
    void hang(bool hung) {
        const std::lock_guard lock(mutex_);
        hung_ = hung;
        released_.notify_all();
    }
    int blocked() {
        const std::lock_guard lock(mutex_);
        return blocked_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable released_;
    std::atomic<std::chrono::milliseconds> delay_{kSlowCall};
    bool hung_ = false;
    int blocked_ = 0;
    std::string folder_;
    std::set<int> fds_;
};

SlowCard& card() {
    static SlowCard* slow = new SlowCard;  // never destroyed: threads may use it at exit
    return *slow;
}

template <typename Function>
Function real(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

// The delayed calls. Each is looked up in the C library once and forwards to it.
extern "C" {

int stat(const char* path, struct stat* info) noexcept {
    static const auto next = real<int (*)(const char*, struct stat*)>("stat");
    if (card().holds(path)) {
        card().wait();
    }
    return next(path, info);
}

int lstat(const char* path, struct stat* info) noexcept {
    static const auto next = real<int (*)(const char*, struct stat*)>("lstat");
    if (card().holds(path)) {
        card().wait();
    }
    return next(path, info);
}

int access(const char* path, int mode) noexcept {
    static const auto next = real<int (*)(const char*, int)>("access");
    if (card().holds(path)) {
        card().wait();
    }
    return next(path, mode);
}

int open(const char* path, int flags, ...) {
    static const auto next = real<int (*)(const char*, int, ...)>("open");
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list rest;
        va_start(rest, flags);
        mode = va_arg(rest, mode_t);
        va_end(rest);
    }
    const bool slow = card().holds(path);
    if (slow) {
        card().wait();
    }
    const int fd = next(path, flags, mode);
    if (slow && fd >= 0) {
        card().opened(fd);
    }
    return fd;
}

int close(int fd) {
    static const auto next = real<int (*)(int)>("close");
    card().closed(fd);
    return next(fd);
}

ssize_t read(int fd, void* buffer, size_t bytes) {
    static const auto next = real<ssize_t (*)(int, void*, size_t)>("read");
    if (card().holds(fd)) {
        card().wait();
    }
    return next(fd, buffer, bytes);
}

size_t fread(void* buffer, size_t size, size_t count, FILE* file) {
    static const auto next = real<size_t (*)(void*, size_t, size_t, FILE*)>("fread");
    if (card().holds(::fileno(file))) {
        card().wait();
    }
    return next(buffer, size, count, file);
}

int fclose(FILE* file) {
    static const auto next = real<int (*)(FILE*)>("fclose");
    card().closed(::fileno(file));
    return next(file);
}

DIR* opendir(const char* path) {
    static const auto next = real<DIR* (*)(const char*)>("opendir");
    const bool slow = card().holds(path);
    if (slow) {
        card().wait();
    }
    DIR* dir = next(path);
    if (slow && dir) {
        card().opened(::dirfd(dir));
    }
    return dir;
}

int closedir(DIR* dir) {
    static const auto next = real<int (*)(DIR*)>("closedir");
    card().closed(::dirfd(dir));
    return next(dir);
}

struct dirent* readdir(DIR* dir) {
    static const auto next = real<struct dirent* (*)(DIR*)>("readdir");
    if (card().holds(::dirfd(dir))) {
        card().wait();
    }
    return next(dir);
}

int fstatat(int dirFd, const char* path, struct stat* info, int flags) noexcept {
    static const auto next = real<int (*)(int, const char*, struct stat*, int)>("fstatat");
    if (card().holds(dirFd) || card().holds(path)) {
        card().wait();
    }
    return next(dirFd, path, info, flags);
}

}  // extern "C"

namespace {

void makeFolderOfPictures(const fs::path& folder, QSize size = {320, 240}, int count = kPictures) {
    fs::create_directories(folder);
    QImage picture(size, QImage::Format_RGB32);
    for (int i = 0; i < count; ++i) {
        picture.fill(QColor::fromHsv(i * 9, 160, 200));
        QPainter(&picture).drawText(20, 40, QString::number(i));
        char name[32];
        std::snprintf(name, sizeof name, "IMG_%04d.JPG", i + 1);
        picture.save(QString::fromStdString((folder / name).string()), "JPEG", 90);
    }
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Round {
    double stallMs = 0;   // the longest the event loop did not turn
    double listedMs = 0;  // from the click to the listing shown
    double pickedMs = 0;  // from the click to the first entry's picture shown
};

// True once the control shows a picture rather than the white of a blank preview.
bool shows(const ImageControl& image) {
    const QImage& picture = image.picture();
    return !picture.isNull() &&
           picture.pixelColor(picture.width() / 2, picture.height() / 2) != QColor(Qt::white);
}

int driveRow(TForm1& window, const std::string& root) {
    for (int row = 0; row < window.StringGrid1->rowCount(); ++row) {
        if (window.StringGrid1->cells(0, row) == root) {
            return row;
        }
    }
    std::fprintf(stderr, "no drive %s\n", root.c_str());
    std::exit(1);
}

// Clicks the drive's cell, as the destination, once the loop runs; once its entries are
// listed, picks the first; ends when its picture is in the preview. The loop is watched from
// the first turn to the last.
Round clickAndPick(TForm1& window, const std::string& root) {
    window.showDestination("C:\\Empty");  // a destination of the plain disk, to leave
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 300) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    const int row = driveRow(window, root);
    Round round;
    QEventLoop loop;
    QElapsedTimer clock;
    qint64 lastTurn = 0;
    qint64 clicked = -1;
    bool picked = false;
    QTimer heartbeat;
    heartbeat.setInterval(0);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        round.stallMs = std::max(round.stallMs, static_cast<double>(now - lastTurn));
        lastTurn = now;
        if (clicked < 0 && now >= 20) {
            clicked = now;
            window.StringGrid1SelectCell(0, row);
            window.StringGrid1Click();
        } else if (!picked && window.CListBox2->count() >= kPictures) {
            round.listedMs = static_cast<double>(now - clicked);
            picked = true;
            window.CListBox2->setItemIndex(0);
            window.CListBox2Click();
        } else if (picked && shows(*window.Image1)) {
            round.pickedMs = static_cast<double>(now - clicked);
            loop.quit();
        } else if (now > 60'000) {
            std::fprintf(stderr, "the pick never showed\n");
            loop.quit();
        }
    });
    clock.start();
    heartbeat.start();
    loop.exec();
    heartbeat.stop();
    return round;
}

// Runs `steps` one after another on turns of the window's event loop, each once the one before
// says it is done; gives the longest gap between two turns. A gap counts from `resumed` where
// that is later than the turn before (a modal dialog's time is the user's, not a stall).
using SteadyClock = std::chrono::steady_clock;
double longestStall(const std::vector<std::function<bool()>>& steps,
                    const SteadyClock::time_point* resumed = nullptr) {
    QEventLoop loop;
    const SteadyClock::time_point start = SteadyClock::now();
    SteadyClock::time_point lastTurn = start;
    double stall = 0;
    std::size_t step = 0;
    QTimer heartbeat;
    heartbeat.setInterval(0);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const SteadyClock::time_point now = SteadyClock::now();
        const SteadyClock::time_point from = resumed ? std::max(lastTurn, *resumed) : lastTurn;
        stall = std::max(stall, std::chrono::duration<double, std::milli>(now - from).count());
        lastTurn = now;
        if (step == steps.size()) {
            loop.quit();
        } else if (steps[step]()) {
            ++step;
        } else if (now - start > std::chrono::seconds(120)) {
            std::fprintf(stderr, "step %zu never ended\n", step);
            std::exit(1);
        }
    });
    heartbeat.start();
    loop.exec();
    return stall;
}

struct HungRound {
    double stallMs = 0;
    std::vector<double> picksMs;  // mouse picks of the disk's pictures, to shown
    int blocked = 0;
};

// With the destination on the card (listed while it answers), the card hangs or goes on
// answering slowly: Next ten times, a click in the destination list, a resize, and mouse picks
// of pictures of the disk far enough apart not to be read ahead.
HungRound hungCardRun(TForm1& window, TSlidShowForm& slideShow, bool hung) {
    window.setReadingAhead(false);  // each pick reads its own picture
    std::vector<std::string> names;
    for (int i = 0; i < kPictures; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "IMG_%04d.JPG", i + 1);
        names.push_back(name);
    }
    window.openSourceFolder("C:\\Source", names);
    window.showDestination("E:\\");
    HungRound round;
    QElapsedTimer pick;
    int picks = 0;
    int turns = 0;
    const auto pause = [&turns](int count) {
        return [&turns, count] { return ++turns % count == 0; };
    };
    std::vector<std::function<bool()>> steps{
        [&] { return window.CListBox2->count() >= kPictures; },
        // A Move onto the card while it answers, to be undone while it hangs.
        [&] {
            window.CListBox1->setChecked(kPictures - 1, true);
            window.BitBtn3Click();
            return true;
        },
        [&] { return !window.jobRunning(); },
        [&] {
            card().hang(hung);
            return true;
        },
        [&] {
            window.Undo1Click();
            window.CListBox1->setItemIndex(0);
            window.CListBox1Click();
            window.BitBtn15Click();
            slideShow.present();
            return true;
        },
        pause(5),
        [&] {
            slideShow.hide();
            return true;
        }};
    for (int next = 0; next < 10; ++next) {
        steps.push_back([&] {
            window.BitBtn8Click();
            return true;
        });
        steps.push_back(pause(5));
    }
    steps.push_back([&] {
        window.CListBox2->setItemIndex(3);
        window.CListBox2Click();
        return true;
    });
    steps.push_back([&] {
        window.resize(window.width() - 40, window.height() - 20);
        return true;
    });
    steps.push_back(pause(5));
    for (int i = 0; i < 8; ++i) {
        steps.push_back([&window, &pick, &picks] {
            window.CListBox1->setItemIndex(4 * picks + 1);
            window.CListBox1Click();
            pick.start();
            return true;
        });
        steps.push_back([&] {
            if (!shows(*window.Image2)) {
                return false;
            }
            round.picksMs.push_back(static_cast<double>(pick.nsecsElapsed()) / 1e6);
            ++picks;
            return true;
        });
    }
    QElapsedTimer waited;
    steps.push_back([&] {
        waited.start();
        return true;
    });
    // Long enough for every read asked of the card to be waiting on it, and for it to be told
    // Silent.
    steps.push_back([&] { return waited.elapsed() > 2000; });
    round.stallMs = longestStall(steps);
    round.blocked = card().blocked();
    card().hang(false);
    window.resize(window.width() + 40, window.height() + 20);
    // A listing of the card that hung part way goes on, slowly, once it answers again: the card
    // is Silent until then.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 6000) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    window.setReadingAhead(true);
    return round;
}

// Moves G:\\Move200 into E:\\ through the folder command, the folder dialog answered with the
// card's root; the longest gap while the move runs to its end.
double folderMoveStall(TForm1& window, const fs::path& source) {
    fs::remove_all(source / "Move200");
    makeFolderOfPictures(source / "Move200", {320, 240}, 200);
    window.showDestination("G:\\Move200");
    SteadyClock::time_point dialogClosed{};
    const ModalHandler previous = setModalHandler([&dialogClosed](QDialog& dialog) {
        dynamic_cast<TSelectDirForm&>(dialog).openFolder("E:\\");
        dialogClosed = SteadyClock::now();
        return kModalOk;
    });
    bool asked = false;
    const double stall = longestStall({[&] { return !window.jobRunning(); },
                                       [&] {
                                           window.N5Click();
                                           asked = true;
                                           return true;
                                       },
                                       [&] { return asked && !window.jobRunning(); }},
                                      &dialogClosed);
    setModalHandler(previous);
    return stall;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const fs::path root = uniqueFolder(fs::current_path(), "bench-stall-work");
    makeFolderOfPictures(root / "card");
    makeFolderOfPictures(root / "disk");
    makeFolderOfPictures(root / "system" / "Source", {4000, 3000});
    fs::create_directories(root / "system" / "Empty");
    struct stat info {};
    ::stat((root / "card").c_str(), &info);
    const auto cardVolume = static_cast<std::uint64_t>(info.st_dev);
    DriveTable table;
    table.add('C', (root / "system").string(), DriveType::Fixed);
    table.add('E', (root / "card").string(), DriveType::Removable, cardVolume);
    table.add('F', (root / "disk").string(), DriveType::Removable, cardVolume);
    // A second file system for the folder move: the move copies across.
    const fs::path ram = uniqueFolder("/dev/shm", "bench-stall-ram");
    table.add('G', ram.string(), DriveType::Fixed);
    setActiveDriveTable(table);
    card().setFolder((root / "card").string());

    TForm1 window;
    window.resize(1000, 700);
    window.show();

    std::vector<double> slow, plain, listed, shown;
    for (int i = 0; i < kRounds; ++i) {
        const Round onCard = clickAndPick(window, "E:\\");
        const Round onDisk = clickAndPick(window, "F:\\");
        slow.push_back(onCard.stallMs);
        plain.push_back(onDisk.stallMs);
        listed.push_back(onCard.listedMs);
        shown.push_back(onCard.pickedMs);
    }
    std::printf(
        "window_stall_ms_listing_slow_card %.0f   (spread %.0f-%.0f over %d rounds; on the plain "
        "disk %.0f; on the card listed after %.0f ms, first entry shown after %.0f ms)\n",
        median(slow), *std::min_element(slow.begin(), slow.end()),
        *std::max_element(slow.begin(), slow.end()), kRounds, median(plain), median(listed),
        median(shown));

    std::vector<double> hungStalls, hungPicks, answeringPicks;
    int mostBlocked = 0;
    TSlidShowForm slideShow([&window] { return window.previewPathTexts(); },
                            [&window](int width, int height, ImageControl* image,
                                      const std::string& path, std::function<void()> shown) {
                                window.ShowPicture(width, height, image, path, std::move(shown));
                            });
    slideShow.setReadAhead(
        [&window](int width, int height, ImageControl* image, const std::string& path) {
            window.readAheadForSlideShow(width, height, image, path);
        });
    const ModalHandler previous = setModalHandler([](QDialog& dialog) {
        dynamic_cast<TSelectDirForm&>(dialog).openFolder("E:\\");
        return kModalOk;
    });
    for (int i = 0; i < kRounds; ++i) {
        const HungRound answering = hungCardRun(window, slideShow, false);
        const HungRound hung = hungCardRun(window, slideShow, true);
        hungStalls.push_back(hung.stallMs);
        hungPicks.push_back(median(hung.picksMs) / median(answering.picksMs));
        answeringPicks.push_back(median(answering.picksMs));
        mostBlocked = std::max(mostBlocked, hung.blocked);
    }
    setModalHandler(previous);
    std::printf("hung_card_window_stall_ms %.0f   (spread %.0f-%.0f over %d rounds)\n",
                median(hungStalls), *std::min_element(hungStalls.begin(), hungStalls.end()),
                *std::max_element(hungStalls.begin(), hungStalls.end()), kRounds);
    std::printf(
        "disk_pick_with_hung_destination_vs_without %.3f   (spread %.3f-%.3f; a pick shown "
        "after %.1f ms with the card answering)\n",
        median(hungPicks), *std::min_element(hungPicks.begin(), hungPicks.end()),
        *std::max_element(hungPicks.begin(), hungPicks.end()), median(answeringPicks));
    std::printf("threads_blocked_on_hung_card %d   (the most over %d rounds)\n", mostBlocked,
                kRounds);

    card().setDelay(std::chrono::milliseconds(5));
    std::vector<double> moveStalls;
    for (int i = 0; i < 3; ++i) {
        moveStalls.push_back(folderMoveStall(window, ram));
        fs::remove_all(root / "card" / "Move200");
    }
    std::printf("folder_move_window_stall_ms %.0f   (spread %.0f-%.0f over %zu moves)\n",
                median(moveStalls), *std::min_element(moveStalls.begin(), moveStalls.end()),
                *std::max_element(moveStalls.begin(), moveStalls.end()), moveStalls.size());
    fs::remove_all(ram);
    card().setFolder({});
    fs::remove_all(root);
    return 0;
}
