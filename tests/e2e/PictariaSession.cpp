// SPDX-License-Identifier: GPL-3.0-or-later
#include "e2e/PictariaSession.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "e2e/ProcessActivity.h"
#include "navigator/FolderGrid.h"
#include "samples/SampleJpeg.h"
#include "samples/SamplePixels.h"

namespace pictaria::e2e {

namespace fs = std::filesystem;

namespace {

constexpr auto kWindowTimeout = 30s;
constexpr QSize kPhotoSize(160, 120);

std::string readWholeFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

void writeWholeFile(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

std::vector<std::string> componentsOf(const std::string& absolutePath) {
    std::vector<std::string> parts;
    std::istringstream in(absolutePath);
    for (std::string part; std::getline(in, part, '/');) {
        if (!part.empty()) {
            parts.push_back(part);
        }
    }
    return parts;
}

bool isWhite(QRgb pixel) {
    return qRed(pixel) > 250 && qGreen(pixel) > 250 && qBlue(pixel) > 250;
}

bool rowIsBlank(const QImage& screen, const QRect& row) {
    for (int y = row.top(); y <= row.bottom(); ++y) {
        for (int x = row.left(); x <= row.right(); ++x) {
            if (!isWhite(screen.pixel(x, y))) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

void PictariaSession::SetUp() {
    if (!display::XvfbServer::available() || !Desktop::toolsAvailable()) {
        GTEST_SKIP() << "Xvfb, xdotool, xwininfo or ImageMagick's import is not installed";
    }
    evidenceFolder_ = fs::current_path().string();
    std::string pattern = "/tmp/!pictaria-e2e-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    for (const char* folder : {"home/.config", "home/.local/share", "home/.cache", "runtime"}) {
        fs::create_directories(host(folder));
    }
    fs::permissions(host("runtime"), fs::perms::owner_all);
    drives_.emplace();
    drives_->map('C', "/");
    server_ = std::make_unique<display::XvfbServer>();
    desktop_ = std::make_unique<Desktop>(server_->display());
    if (const std::string program = windowManager(); !program.empty()) {
        startWindowManager(program);
    }
}

std::string PictariaSession::windowManager() const {
    const char* program = ::getenv("PICTARIA_E2E_WINDOW_MANAGER");
    return program ? program : "";
}

// Some faults show only when a window manager hands activation and focus around.
void PictariaSession::startWindowManager(const std::string& program) {
    if (!display::onPath(program)) {
        GTEST_SKIP() << program << " is not installed";
    }
    windowManager_ = std::make_unique<display::ChildProcess>(
        display::Launch{{program}, root_, desktop_->environment(), host("window-manager.log")});
    ASSERT_TRUE(waitUntil([&] { return desktop_->windowManagerRunning(); }))
        << program << " did not take over the screen";
}

void PictariaSession::TearDown() {
    if (program_) {
        EXPECT_TRUE(program_->running()) << "the program ended by itself";
    }
    if (HasFailure() && desktop_) {
        keepEvidence();
    }
    program_.reset();
    windowManager_.reset();
    desktop_.reset();
    server_.reset();
    drives_.reset();
    releaseWorkFolder();
    if (!root_.empty()) {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
}

void PictariaSession::keepEvidence() const {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string picture =
        evidenceFolder_ + "/e2e-" + test->test_suite_name() + "-" + test->name() + ".png";
    desktop_->screenshot().save(QString::fromStdString(picture));
    std::cerr << "screen at the failure: " << picture << "\nprogram output:\n"
              << readWholeFile(host("program.log")) << std::endl;
}

std::string PictariaSession::host(const std::string& relative) const {
    return relative.empty() ? root_ : root_ + "/" + relative;
}

FolderContents PictariaSession::writePhotos(const std::string& folder,
                                            const std::vector<std::string>& names,
                                            const std::vector<QColor>& colours) const {
    makeFolder(folder);
    FolderContents written;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const QColor colour = i < colours.size()
                                  ? colours[i]
                                  : QColor::fromHsv(static_cast<int>(i * 53 % 360), 200, 220);
        const std::string bytes = samples::encodeJpeg(
            samples::solidPicture(kPhotoSize.width(), kPhotoSize.height(), colour));
        writeWholeFile(host(folder + "/" + names[i]), bytes);
        written[names[i]] = bytes;
    }
    return written;
}

void PictariaSession::makeFolder(const std::string& relative) const {
    fs::create_directories(host(relative));
}

FolderContents PictariaSession::contentsOf(const std::string& relative) const {
    FolderContents contents;
    for (const auto& entry : fs::directory_iterator(host(relative))) {
        if (entry.is_regular_file()) {
            contents[entry.path().filename().string()] = readWholeFile(entry.path());
        }
    }
    return contents;
}

FolderContents PictariaSession::waitForFiles(const std::string& relative, std::size_t count) const {
    FolderContents contents;
    waitUntil([&] {
        contents = contentsOf(relative);
        return contents.size() == count;
    });
    return contents;
}

void PictariaSession::startProgram(const std::string& currentFolder) {
    display::EnvironmentChanges environment = desktop_->environment();
    environment.merge(display::EnvironmentChanges{
        {"QT_QPA_PLATFORM", "xcb"},
        {"HOME", host("home")},
        {"XDG_CONFIG_HOME", host("home/.config")},
        {"XDG_DATA_HOME", host("home/.local/share")},
        {"XDG_CACHE_HOME", host("home/.cache")},
        {"XDG_RUNTIME_DIR", host("runtime")},
    });
    program_ = std::make_unique<display::ChildProcess>(
        display::Launch{{PICTARIA_BINARY}, currentFolder, environment, host("program.log")});
    mainWindow_ = waitForWindow(
        [](const ScreenWindow& window) { return window.frame.size() == kMainWindowSize; });
    settle();
}

void PictariaSession::settle() const {
    if (!waitUntilQuiet({program_->pid(), server_->pid()})) {
        throw std::runtime_error("the program did not come to rest");
    }
}

void PictariaSession::click(QPoint inWindow) const {
    desktop_->click(onScreen(inWindow));
    settle();
}

void PictariaSession::doubleClick(QPoint inWindow) const {
    desktop_->doubleClick(onScreen(inWindow));
    settle();
}

void PictariaSession::rightClick(QPoint inWindow) const {
    desktop_->rightClick(onScreen(inWindow));
    settle();
}

void PictariaSession::drag(QPoint from, QPoint to) const {
    desktop_->drag(onScreen(from), onScreen(to));
    settle();
}

ScreenWindow PictariaSession::waitForWindow(
    const std::function<bool(const ScreenWindow&)>& wanted) const {
    std::optional<ScreenWindow> found;
    waitUntil(
        [&] {
            for (const ScreenWindow& window : desktop_->windowsOf(program_->pid())) {
                if (window.id != mainWindow_.id && wanted(window)) {
                    found = window;
                    return true;
                }
            }
            return !program_->running();
        },
        kWindowTimeout);
    if (!found) {
        throw std::runtime_error("the awaited window did not appear");
    }
    return *found;
}

ScreenWindow PictariaSession::waitForWindowOfSize(QSize size) const {
    return waitForWindow(
        [size](const ScreenWindow& window) { return window.frame.size() == size; });
}

bool PictariaSession::windowShown(const std::string& id) const {
    for (const ScreenWindow& window : desktop_->windowsOf(program_->pid())) {
        if (window.id == id) {
            return true;
        }
    }
    return false;
}

void PictariaSession::openSourceFolder() const {
    press(kOpenButton);
    const ScreenWindow dialog = waitForWindowOfSize(kFolderDialogSize);
    settle();
    desktop_->click(dialog.frame.topLeft() + kFolderDialogOk.center());
    if (!waitUntil([&] { return !windowShown(dialog.id); })) {
        throw std::runtime_error("the folder dialog stayed open");
    }
    settle();
}

QPoint PictariaSession::sourceEntry(int index) {
    return {kSourceList.left() + 60,
            kSourceListFrame + index * kSourceEntryHeight + kSourceEntryHeight / 2};
}

void PictariaSession::pickAndTick(int index) const {
    // On the name, right of the tick box, so that the click picks rather than ticks.
    click(sourceEntry(index));
    click(kLargePicture);
}

int PictariaSession::visibleSourceEntries() const {
    const QImage screen = desktop_->screenshot();
    const QPoint origin = onScreen(kSourceList.topLeft());
    int entries = 0;
    while (true) {
        // The middle of the entry's tick box: names may reach into the next entry's band.
        const QRect row(origin.x() + kSourceListFrame + 2,
                        origin.y() + kSourceListFrame + entries * kSourceEntryHeight + 3, 14, 6);
        if (row.bottom() >= origin.y() + kSourceList.height() || rowIsBlank(screen, row)) {
            return entries;
        }
        ++entries;
    }
}

QPoint PictariaSession::folderCell(int index) {
    const int column = index % kFolderGridColumns;
    const int row = index / kFolderGridColumns;
    return kGridOrigin + QPoint(column * kFolderGridColumnWidth + kFolderGridColumnWidth / 2,
                                row * kGridRowHeight + kGridRowHeight / 2);
}

int PictariaSession::pageIndexOf(const std::string& hostParent, const std::string& name) const {
    const auto parentText = activeDriveTable()->fromHost(hostParent);
    if (!parentText) {
        throw std::runtime_error(hostParent + " is on no drive");
    }
    const std::vector<std::string> names = listPlainSubfolders(*parentText);
    const auto found = std::find(names.begin(), names.end(), name);
    if (found == names.end()) {
        throw std::runtime_error(name + " is not listed in " + hostParent);
    }
    const int index = static_cast<int>(found - names.begin());
    if (index >= kFolderGridColumns * kGridVisibleRows) {
        throw std::runtime_error(name + " is not in sight on the page of " + hostParent);
    }
    return index;
}

void PictariaSession::walkToDestination(const std::string& hostFolder) const {
    doubleClick(kGridOrigin + QPoint(kDriveGridColumnWidth / 2, kGridRowHeight / 2));  // C:\ .
    const std::vector<std::string> parts = componentsOf(hostFolder);
    std::string parent = "/";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const QPoint cell = folderCell(pageIndexOf(parent, parts[i]));
        if (i + 1 < parts.size()) {
            doubleClick(cell);
        } else {
            click(cell);
        }
        parent += parts[i] + "/";
    }
}

void PictariaSession::chooseFolderMenuEntry(QPoint inWindow, FolderMenuEntry entry) const {
    rightClick(inWindow);
    const ScreenWindow menu = waitForWindow([](const ScreenWindow& window) {
        return window.frame.width() < 300 && window.frame.height() < 200;
    });
    const int entries = static_cast<int>(FolderMenuEntry::Count);
    const int index = static_cast<int>(entry);
    desktop_->click(
        menu.frame.topLeft() +
        QPoint(menu.frame.width() / 2, menu.frame.height() * (2 * index + 1) / (2 * entries)));
    waitUntil([&] { return !windowShown(menu.id); });
    settle();
}

}  // namespace pictaria::e2e
