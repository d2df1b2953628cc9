// SPDX-License-Identifier: GPL-3.0-or-later
#include "e2e/KeyboardSort.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <thread>

#include "e2e/ProcessActivity.h"
#include "navigator/FolderGrid.h"
#include "samples/SampleJpeg.h"
#include "samples/SamplePixels.h"

namespace pictaria::e2e {

namespace fs = std::filesystem;

namespace {

// The photographs are tinted this strongly (out of 256), so that the colour of any part of one
// tells it from the photographs next to it in the list.
constexpr int kTint = 180;
// How far the mean colour of the large view may be from the photograph's, per channel: the
// view scales the picture, and only its middle is measured.
constexpr int kShownTolerance = 28;
// The middle of the large view that is measured.
constexpr QSize kMeasuredArea(48, 48);

QImage cameraPicture(QSize size, unsigned seed, QColor tint) {
    QImage picture = samples::grainyPicture(size.width(), size.height(), seed);
    const int tintRgb[] = {tint.red(), tint.green(), tint.blue()};
    for (int y = 0; y < picture.height(); ++y) {
        uchar* pixel = picture.scanLine(y);
        for (int x = 0; x < picture.width() * 3; ++x) {
            pixel[x] = static_cast<uchar>((pixel[x] * (256 - kTint) + tintRgb[x % 3] * kTint) >> 8);
        }
    }
    return picture;
}

QColor meanOf(const QImage& picture, const QRect& area) {
    long long sums[3] = {};
    long long count = 0;
    for (int y = area.top(); y <= area.bottom(); y += 2) {
        const uchar* line = picture.constScanLine(y);
        for (int x = area.left(); x <= area.right(); x += 2) {
            for (int c = 0; c < 3; ++c) {
                sums[c] += line[x * 3 + c];
            }
            ++count;
        }
    }
    return QColor(static_cast<int>(sums[0] / count), static_cast<int>(sums[1] / count),
                  static_cast<int>(sums[2] / count));
}

bool near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) <= kShownTolerance &&
           std::abs(a.green() - b.green()) <= kShownTolerance &&
           std::abs(a.blue() - b.blue()) <= kShownTolerance;
}

std::vector<std::string> visibleNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && name.front() != '.') {
            names.push_back(name);
        }
    }
    return names;
}

}  // namespace

void KeyboardSort::TearDown() {
    sampler_.reset();
    PictariaSession::TearDown();
}

void KeyboardSort::prepareCard(int count, QSize size, std::vector<std::string> destinations,
                               unsigned seed) {
    destinations_ = std::move(destinations);
    for (const std::string& destination : destinations_) {
        makeFolder(destination);
    }
    makeFolder(kCard);
    std::vector<int> belongs(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        belongs[static_cast<std::size_t>(i)] = i % static_cast<int>(destinations_.size());
    }
    std::mt19937 random(seed);
    std::shuffle(belongs.begin(), belongs.end(), random);
    const QRect middle(size.width() / 4, size.height() / 4, size.width() / 2, size.height() / 2);
    for (int i = 0; i < count; ++i) {
        char name[24];
        std::snprintf(name, sizeof name, "DSC_%04d.JPG", 1001 + i);
        const QColor tint = QColor::fromHsv(i * 137 % 360, 230, 230);
        const QImage picture = cameraPicture(size, seed * 1000 + static_cast<unsigned>(i), tint);
        std::string bytes = samples::withExif(samples::encodeJpeg(picture, {.quality = 92}),
                                              samples::orientationTiff(1));
        std::ofstream(host(std::string(kCard) + "/" + name), std::ios::binary) << bytes;
        card_.emplace(name, std::move(bytes));
        photos_.push_back({name, belongs[static_cast<std::size_t>(i)], meanOf(picture, middle)});
    }
}

void KeyboardSort::startOnTheCard() {
    startProgram(host(kCard));
    sampler_ = std::make_unique<ScreenSampler>(server_->display());
}

void KeyboardSort::key(const std::string& name) {
    desktop_->pressKeys({name});
    ++actions_;
    std::this_thread::sleep_for(pace_.action);
}

void KeyboardSort::keys(const std::string& name, int times) {
    for (int i = 0; i < times; ++i) {
        key(name);
    }
}

void KeyboardSort::openCardByKeys() {
    key("ctrl+o");
    const ScreenWindow dialog = waitForWindowOfSize(kFolderDialogSize);
    settle();
    keys("Tab", 2);  // from the folder tree past the file list to "O K"
    key("space");
    if (!waitUntil([&] { return !windowShown(dialog.id); })) {
        throw std::runtime_error("the folder dialog stayed open");
    }
    settle();
}

void KeyboardSort::walkToTheDestinationsByKeys() {
    key("Return");  // on C: of the drive grid
    settle();
    std::string parent = "/";
    const std::string work = host();
    std::size_t at = 1;
    while (true) {
        const std::size_t slash = work.find('/', at);
        const std::string name = work.substr(at, slash == std::string::npos ? slash : slash - at);
        const int index = pageIndexOf(parent, name);
        keys("Down", index / kFolderGridColumns);
        keys("Right", index % kFolderGridColumns);
        key("Return");
        settle();
        if (slash == std::string::npos) {
            break;
        }
        parent += name + "/";
        at = slash + 1;
    }
}

void KeyboardSort::pickDestination(int to) {
    const int from = pickOnThePage_;
    const int index = pageIndexOf(host(), destinations_[static_cast<std::size_t>(to)]);
    if (index == from) {
        // The mark on a page just opened chooses nothing; the destinations sort after "card".
        throw std::logic_error("the destination is where the pick already is");
    }
    const int rows = index / kFolderGridColumns - from / kFolderGridColumns;
    const int columns = index % kFolderGridColumns - from % kFolderGridColumns;
    keys(rows > 0 ? "Down" : "Up", std::abs(rows));
    keys(columns > 0 ? "Right" : "Left", std::abs(columns));
    pickOnThePage_ = index;
}

void KeyboardSort::giveTheDestinationsSendKeys() {
    toTheDriveGrid();
    walkToTheDestinationsByKeys();
    for (std::size_t d = 0; d < destinations_.size(); ++d) {
        if (d > 0) {
            toTheFolderPage();
        }
        pickDestination(static_cast<int>(d));
        toTheSourceList();
    }
}

void KeyboardSort::sendPhotographs(std::size_t first, std::size_t end) {
    for (std::size_t i = first; i < end; ++i) {
        const CardPhoto& photo = photos_[i];
        lookAt(photo);
        key("alt+" + std::to_string(photo.destination + 1));
        const std::string destination = destinations_[static_cast<std::size_t>(photo.destination)];
        if (confirmEachSend_ &&
            !waitUntil([&] { return fs::exists(host(destination + "/" + photo.name)); })) {
            throw std::runtime_error(photo.name + " did not arrive in " + destination);
        }
    }
}

void KeyboardSort::waitUntilAllArrived() const {
    if (!waitUntil([&] { return visibleNames(host(kCard)).empty(); },
                   std::chrono::milliseconds(60000))) {
        throw std::runtime_error("photographs were left on the card");
    }
}

void KeyboardSort::lookAt(const CardPhoto& photo) {
    const QRect measured(mainWindow_.frame.topLeft() + kLargePicture -
                             QPoint(kMeasuredArea.width() / 2, kMeasuredArea.height() / 2),
                         kMeasuredArea);
    QColor seen;
    if (!waitUntil(
            [&] {
                seen = sampler_->meanColour(measured);
                return near(seen, photo.mean);
            },
            std::chrono::milliseconds(20000))) {
        throw std::runtime_error(photo.name + " was not shown: the view shows " +
                                 seen.name().toStdString() + ", not " +
                                 photo.mean.name().toStdString());
    }
    std::this_thread::sleep_for(pace_.look);
}

void KeyboardSort::expectSorted() const {
    std::vector<FolderContents> expected(destinations_.size());
    for (const CardPhoto& photo : photos_) {
        expected[static_cast<std::size_t>(photo.destination)].emplace(photo.name,
                                                                      card_.at(photo.name));
    }
    for (std::size_t d = 0; d < destinations_.size(); ++d) {
        const FolderContents arrived = contentsOf(destinations_[d]);
        EXPECT_EQ(arrived.size(), expected[d].size()) << destinations_[d];
        for (const auto& [name, bytes] : expected[d]) {
            const auto found = arrived.find(name);
            EXPECT_TRUE(found != arrived.end() && found->second == bytes)
                << name << " is not whole in " << destinations_[d];
        }
    }
    EXPECT_TRUE(contentsOf(kCard).empty());
}

}  // namespace pictaria::e2e
