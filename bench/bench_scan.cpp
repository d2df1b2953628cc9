// SPDX-License-Identifier: GPL-3.0-or-later
// Listing a camera-card-sized folder, from one run:
//   scan_10k_vs_readdir        the destination scan of a folder of 10,000 entries (both lists
//                              filled) against a bare readdir + lstat listing of it
//   open_10k_vs_readdir        "Open": the folder dialog listing its pictures and the source
//                              list filling with their names, against the same bare listing
// The pictures are RAW files, so that no decoding enters the figures.

#include <dirent.h>
#include <sys/stat.h>

#include <QApplication>

#include <filesystem>
#include <fstream>

#include "BenchTiming.h"
#include "app/MainFormUnit1.h"
#include "dialogs/SelectDirFormUnit4.h"
#include "platform/DriveTable.h"
#include "platform/FileServices.h"
#include "widgets/CheckListBox.h"

namespace fs = std::filesystem;
using namespace pictaria;
using namespace pictaria::bench;

namespace {

void makeCardFolder(const fs::path& folder) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    const char* kinds[] = {".CRW", ".ARW", ".DNG", ".txt", ".raf"};
    for (int i = 0; i < 9900; ++i) {
        std::ofstream(folder / ("IMG_" + std::to_string(i) + kinds[i % 5])) << "x";
    }
    for (int i = 0; i < 100; ++i) {
        fs::create_directory(folder / ("Sub" + std::to_string(i)));
    }
}

std::size_t bareListing(const std::string& folder) {
    std::size_t entries = 0;
    DIR* dir = ::opendir(folder.c_str());
    while (const dirent* d = ::readdir(dir)) {
        struct stat st {};
        ::lstat((folder + "/" + d->d_name).c_str(), &st);
        ++entries;
    }
    ::closedir(dir);
    return entries;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const fs::path root = uniqueFolder(fs::current_path(), "bench-scan-work");
    makeCardFolder(root / "CARD");
    DriveTable table;
    table.add('C', root.string(), DriveType::Fixed);
    setActiveDriveTable(table);
    TForm1 window;

    // The bare listing is timed in turn with each contender, so that load drift falls on both.
    const std::string host = (root / "CARD").string();
    const auto bare = [&] { bareListing(host); };
    const Timings scan = interleavedBest(
        5,
        [&] {
            window.CListBox1->clear();
            window.CListBox2->clear();
        },
        [&] {
            // Listed off the window's thread: timed until the list shows the folder.
            window.showDestination("C:\\CARD");
            while (window.CListBox2->count() == 0) {
                QApplication::processEvents(QEventLoop::WaitForMoreEvents);
            }
        },
        bare);
    printRatio("scan_10k_vs_readdir", scan.ours, scan.reference);

    const Timings open = interleavedBest(
        5, [&] { window.CListBox1->clear(); },
        [&] {
            setCurrentDir("C:\\CARD");
            TSelectDirForm dialog(&window);
            window.CListBox1->addNames(dialog.fileNames());
        },
        bare);
    printRatio("open_10k_vs_readdir", open.ours, open.reference);

    fs::remove_all(root);
    return 0;
}
