// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <mutex>
#include <random>
#include <thread>

#include "app/SourcePick.h"
#include "viewer/PictureReadAhead.h"

namespace pictaria {
namespace {

using namespace std::chrono_literals;

// A user walks a list of 40 pictures, fitted, in runs of key steps that now and then turn back
// and clicks on any entry; the read-ahead is given the rows wanted around each pick, as the
// window gives them. Each pick is then ready at once; a step on in the way of travel reads one
// picture only (the one coming into reach: the picture just left is kept); and a click never
// turns the way of travel, which only keys do.
TEST(ReadAheadWalkTest, EachStepReadsOnePictureAndOnlyKeysTurnTheWay) {
    constexpr int kRows = 40;
    std::mutex mutex;
    std::map<std::string, int> reads;
    PictureReadAhead ahead({}, [&](const PictureRequest& request, const std::atomic<bool>&) {
        const std::lock_guard lock(mutex);
        ++reads[request.path];
        PreparedPicture picture;
        picture.fileFound = true;
        picture.picture = {QImage(2, 2, QImage::Format_RGB32), {2, 2}};
        return picture;
    });
    const auto requestOf = [](int row) {
        return PictureRequest{"/walk/" + std::to_string(row) + ".jpg", 400, 300};
    };
    const auto totalReads = [&] {
        const std::lock_guard lock(mutex);
        int total = 0;
        for (const auto& [path, count] : reads) {
            total += count;
        }
        return total;
    };

    std::mt19937 random(26);
    int row = 0;
    int direction = 1;  // the window's
    int keyWay = 1;     // the model's: the way of the last key step
    bool steady = false;
    for (int move = 0; move < 300; ++move) {
        const int kind = std::uniform_int_distribution(0, 9)(random);
        const int from = row;
        bool byKey = true;
        if (kind < 7) {
            row += keyWay;
        } else if (kind < 8) {
            keyWay = -keyWay;
            row += keyWay;
        } else {
            byKey = false;
            row = std::uniform_int_distribution(0, kRows - 1)(random);
        }
        if (row < 0 || row >= kRows) {  // the end of the list turns the user back
            keyWay = -keyWay;
            row = from + keyWay;
        }
        SCOPED_TRACE(testing::Message() << "move " << move << " from " << from << " to " << row);
        const bool stepOn = steady && byKey && row - from == direction;
        direction = travelAfter(direction, from, row, byKey);
        if (byKey || std::abs(row - from) == 1) {
            EXPECT_EQ(direction, row > from ? 1 : -1);
            keyWay = direction;  // a click on a neighbour is a step too
        } else {
            EXPECT_EQ(direction, keyWay) << "a click turned the way of travel";
        }
        const std::vector<int> rows = rowsWantedAround(row, direction, true, kRows);
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(rows.front(), row);
        if (row + direction >= 0 && row + direction < kRows) {
            EXPECT_EQ(rows[1], row + direction);
        }
        const int before = totalReads();
        std::vector<PictureRequest> wanted;
        for (const int wantedRow : rows) {
            wanted.push_back(requestOf(wantedRow));
        }
        ahead.want(wanted);
        for (const PictureRequest& request : wanted) {
            ASSERT_TRUE(ahead.take(request).has_value() || [&] {
                for (int i = 0; i < 2000 && !ahead.takeIfReady(request); ++i) {
                    std::this_thread::sleep_for(1ms);
                }
                return ahead.takeIfReady(request).has_value();
            }());
        }
        const bool inside = row - 2 >= 0 && row + 2 < kRows;
        if (stepOn && inside) {
            EXPECT_EQ(totalReads() - before, 1) << "a step on read more than what came in reach";
        }
        steady = byKey && std::abs(row - from) == 1 && inside;
    }
}

}  // namespace
}  // namespace pictaria
