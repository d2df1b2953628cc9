// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "dialogs/FolderBrowser.h"
#include "dialogs/SelectDirFormUnit4.h"
#include "platform/FileServices.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"

namespace pictaria {
namespace {

class SelectDirFormTest : public ::testing::Test {
  protected:
    SelectDirFormTest() {
        drives.map('C', c.path()).map('D', d.path());
        for (const char* name : {"IMG.JPG", "a.Raw", "scan.jepg", "scan.jpeg", "x.pfgy.dng",
                                 "notes.txt", "b.bmp", ".hidden.jpg"}) {
            c.writeFile(std::string("Photos/") + name, "x");
        }
        c.makeFolder("Photos/2004");
        c.makeFolder("Photos/.cache");
        c.makeFolder("Photos/a.jpg");  // a folder never stands in the file list
        setCurrentDir("C:\\Photos");
    }

    QListWidget* list(TSelectDirForm& form, const char* name) {
        return form.findChild<QListWidget*>(name);
    }

    // Runs the dialog modally and presses one of its buttons once it is shown.
    int runAndPress(TSelectDirForm& form, const char* buttonName) {
        QTimer::singleShot(0, &form, [&form, buttonName] {
            QTest::mouseClick(form.findChild<QPushButton*>(buttonName), Qt::LeftButton);
        });
        return form.exec();
    }

    test::TempDir c;
    test::TempDir d;
    test::TestDrives drives;
};

TEST_F(SelectDirFormTest, OpensOnTheCurrentFolderWithThePictureFilter) {
    TSelectDirForm form(nullptr);
    EXPECT_EQ(form.chosenFolder(), "C:\\Photos");
    EXPECT_EQ(form.fileNames(),
              (std::vector<std::string>{"a.Raw", "b.bmp", "IMG.JPG", "scan.jepg", "x.pfgy.dng"}));
    EXPECT_TRUE(form.findChild<QLabel*>("Label1")->text().isEmpty());
    EXPECT_EQ(form.findChild<QComboBox*>("FilterComboBox1")->currentText(), "画像ファイル (*.*)");
    EXPECT_EQ(form.windowTitle(), "フォルダ選択ダイアログ");
    // The arrow keys walk the folder tree first, not the drives.
    EXPECT_EQ(form.focusWidget(), list(form, "DirectoryListBox1"));
}

TEST_F(SelectDirFormTest, SecondFilterListsEveryOrdinaryFile) {
    TSelectDirForm form(nullptr);
    form.chooseFilter(1);
    EXPECT_EQ(form.fileNames(), (std::vector<std::string>{"a.Raw", "b.bmp", "IMG.JPG", "notes.txt",
                                                          "scan.jepg", "scan.jpeg", "x.pfgy.dng"}));
}

TEST_F(SelectDirFormTest, TreeShowsThePathDownThenSubfoldersAndDoubleClickOpens) {
    TSelectDirForm form(nullptr);
    QListWidget* tree = list(form, "DirectoryListBox1");
    ASSERT_EQ(tree->count(), 4);  // C:\, Photos, then 2004 (and not .cache); the folder a.jpg too
    EXPECT_EQ(tree->item(0)->text().trimmed(), "C:\\");
    EXPECT_EQ(tree->item(1)->text().trimmed(), "Photos");

    QListWidgetItem* sub = tree->item(2);
    EXPECT_EQ(sub->text().trimmed(), "2004");
    emit tree->itemDoubleClicked(sub);
    EXPECT_EQ(form.chosenFolder(), "C:\\Photos\\2004");
    EXPECT_EQ(currentDir(), "C:\\Photos\\2004");
    EXPECT_EQ(form.findChild<QLabel*>("Label1")->text(), "C:\\Photos\\2004");

    emit tree->itemDoubleClicked(tree->item(0));
    EXPECT_EQ(form.chosenFolder(), "C:\\");  // a drive root keeps three characters
    EXPECT_EQ(currentDir(), "C:\\");

    // Enter opens the current folder as a double click does, and the dialog stays open.
    form.show();
    tree->setCurrentRow(1);
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_EQ(form.chosenFolder(), "C:\\Photos");
    EXPECT_TRUE(form.isVisible());
}

TEST_F(SelectDirFormTest, ChoosingADriveShowsItsRootButTheShownDriveStays) {
    d.writeFile("card.jpg", "x");
    TSelectDirForm form(nullptr);
    auto* drivesBox = form.findChild<QComboBox*>("DriveComboBox1");
    emit drivesBox->activated(drivesBox->findData(QChar('C')));
    EXPECT_EQ(form.chosenFolder(), "C:\\Photos");

    const int index = drivesBox->findData(QChar('D'));
    ASSERT_GE(index, 0);
    emit drivesBox->activated(index);
    EXPECT_EQ(form.chosenFolder(), "D:\\");
    EXPECT_EQ(currentDir(), "D:\\");
    EXPECT_EQ(form.fileNames(), std::vector<std::string>{"card.jpg"});
}

// A colon inside a folder's name is part of the name: the tree climbs out of such a folder.
TEST_F(SelectDirFormTest, TreeOfAFolderWithAColonInItsName) {
    c.makeFolder("Photos/12:30/sub:1");
    setCurrentDir("C:\\Photos\\12:30");
    TSelectDirForm form(nullptr);
    QListWidget* tree = list(form, "DirectoryListBox1");
    ASSERT_EQ(tree->count(), 4);
    EXPECT_EQ(tree->item(2)->text().trimmed(), "12:30");
    EXPECT_EQ(tree->item(3)->text().trimmed(), "sub:1");
    emit tree->itemDoubleClicked(tree->item(1));
    EXPECT_EQ(form.chosenFolder(), "C:\\Photos");
}

TEST_F(SelectDirFormTest, ButtonsAndFrameEndWithOneOrTwo) {
    TSelectDirForm ok(nullptr);
    EXPECT_EQ(runAndPress(ok, "Button1"), 1);
    TSelectDirForm cancel(nullptr);
    EXPECT_EQ(runAndPress(cancel, "Button2"), 2);
    TSelectDirForm closed(nullptr);
    QTimer::singleShot(0, &closed, [&closed] { closed.close(); });
    EXPECT_EQ(closed.exec(), 2);
}

}  // namespace
}  // namespace pictaria
