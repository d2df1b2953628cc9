// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A main window over a drive table of temporary folders (C: on the disk, D: in /dev/shm), with
// helpers to make pictures and to click the window's controls as a user would.

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include <memory>
#include <string>

#include "app/MainFormUnit1.h"
#include "app/MainWindowProbe.h"
#include "platform/FileServices.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"
#include "widgets/CheckListBox.h"
#include "widgets/StringGrid.h"

namespace pictaria::test {

class MainWindowFixture : public ::testing::Test {
  protected:
    MainWindowFixture() {
        drives.map('C', c.path()).map('D', d.path(), DriveType::Removable);
        window = std::make_unique<TForm1>();
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // A small picture of the given size in a format Qt writes ("JPEG" or "BMP").
    static void savePicture(const TempDir& dir, const std::string& relative, QSize size,
                            const char* format = "JPEG") {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        dir.makeFolder(relative.substr(0, relative.find_last_of('/') + 1));
        ASSERT_TRUE(picture.save(QString::fromStdString(dir.host(relative)), format));
    }

    static void clickItem(CheckListBox* list, int index) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(index)).center());
    }

    static QPoint cellCentre(StringGrid* grid, int col, int row) {
        return grid->visualRect(grid->model()->index(row, col)).center();
    }

    // A click on a folder cell lists its folder off the window's thread: these return once it
    // is listed.
    void clickCell(StringGrid* grid, int col, int row) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(grid, col, row));
        EXPECT_TRUE(waitForListings(*window));
    }

    void doubleClickCell(StringGrid* grid, int col, int row) {
        clickCell(grid, col, row);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(grid, col, row));
        EXPECT_TRUE(waitForListings(*window));
    }

    static std::vector<std::string> names(const CheckListBox* list) {
        std::vector<std::string> result;
        for (int i = 0; i < list->count(); ++i) {
            result.push_back(list->name(i));
        }
        return result;
    }

    TempDir c;
    TempDir d{"/dev/shm"};
    TestDrives drives;
    std::unique_ptr<TForm1> window;
};

}  // namespace pictaria::test
