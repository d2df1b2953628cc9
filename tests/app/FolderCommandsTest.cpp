// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>

#include <QAction>
#include <QProgressDialog>
#include <QPushButton>

#include <algorithm>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "MainWindowFixture.h"
#include "MainWindowProbe.h"
#include "NameDialogAnswer.h"
#include "dialogs/SelectDirFormUnit4.h"
#include "navigator/FolderCommands.h"
#include "navigator/FolderPage.h"
#include "support/ModalAnswers.h"
#include "support/Trash.h"
#include "widgets/PageControl.h"
#include "widgets/StatusBar.h"

namespace pictaria {
namespace {

using test::stateOf;

using Names = std::vector<std::string>;

class FolderCommandsTest : public test::MainWindowFixture {
  protected:
    // Lists a folder and opens its page in front, as a double click on its cell does.
    FolderPage* open(const std::string& folder) {
        stateOf(*window).TargetFolder = folder;
        window->StringGrid1DblClick();
        EXPECT_TRUE(test::waitForListings(*window));
        return window->frontFolderPage();
    }

    // Chooses a subfolder by a click on its cell in a page's grid.
    void choose(FolderPage* page, const std::string& name) {
        window->PageControl1->setActivePage(page);
        StringGrid* grid = page->grid();
        for (int row = 0; row < grid->rowCount(); ++row) {
            for (int col = 0; col < grid->colCount(); ++col) {
                if (grid->cells(col, row) == name) {
                    clickCell(grid, col, row);
                    return;
                }
            }
        }
        ADD_FAILURE() << "no cell " << name;
    }

    void run(QAction* command, const std::optional<std::string>& typed) {
        dialog.run([command] { command->trigger(); }, typed);
        EXPECT_TRUE(test::waitForListings(*window));
    }

    // Runs the move command, choosing `destination` in the folder selection dialog, or
    // cancelling it.
    void moveInto(std::optional<std::string> destination) {
        test::ModalAnswers answers([&](QDialog& dialog) {
            if (!destination) {
                return kModalCancel;
            }
            dynamic_cast<TSelectDirForm&>(dialog).openFolder(*destination);
            return kModalOk;
        });
        window->N5->trigger();
        EXPECT_TRUE(test::waitForListings(*window));
    }

    static Names gridNames(const FolderPage* page) {
        Names result;
        for (int row = 0; row < page->grid()->rowCount(); ++row) {
            for (int col = 0; col < page->grid()->colCount(); ++col) {
                result.push_back(page->grid()->cells(col, row));
            }
        }
        return result;
    }

    test::RecordingMessages messages;
    test::NameDialogAnswer dialog;
};

TEST_F(FolderCommandsTest, NewFolderTakesTheFirstEmptyCellOfThePageInFront) {
    struct Case {
        int subfolders;
        int col, row, rows;
    };
    for (const Case& shape : {Case{7, 2, 1, 2}, Case{5, 0, 1, 2}, Case{10, 0, 2, 3}}) {
        const std::string folder = "Photos" + std::to_string(shape.subfolders);
        for (int i = 0; i < shape.subfolders; ++i) {
            c.makeFolder(folder + "/" + std::to_string(10 + i));
        }
        FolderPage* page = open("C:\\" + folder);
        run(window->N2, "new");
        SCOPED_TRACE(folder);
        EXPECT_EQ(dialog.prompt, "フォルダ名を、入力してください");
        EXPECT_EQ(dialog.offered, "new");
        EXPECT_TRUE(c.exists(folder + "/new"));
        EXPECT_EQ(page->grid()->cells(shape.col, shape.row), "new");
        EXPECT_EQ(page->grid()->rowCount(), shape.rows);
        EXPECT_EQ(stateOf(*window).TargetFolder, "C:\\" + folder + "\\new");
        EXPECT_EQ(window->StatusBar1->simpleText(), stateOf(*window).TargetFolder + " 0個");
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FolderCommandsTest, NewFolderFillsAFullGridIntoANewRow) {
    c.makeFolder("Photos/2004");
    FolderPage* page = open("C:\\Photos");
    for (const char* name : {"b", "c", "d", "e", "f"}) {
        run(window->N2, name);
    }
    EXPECT_EQ(gridNames(page), (Names{"2004", "b", "c", "d", "e", "f", "", "", "", ""}));
}

TEST_F(FolderCommandsTest, NewFolderWithATakenEmptyOrCancelledNameChangesNothing) {
    c.makeFolder("Photos/new");
    FolderPage* page = open("C:\\Photos");
    const Names before = gridNames(page);
    run(window->N2, "new");
    run(window->N2, "a\\b");
    run(window->N2, std::nullopt);
    EXPECT_TRUE(messages.shown.empty());
    run(window->N2, "");
    EXPECT_EQ(messages.shown, Names{kEnterNewFolderNameMessage});
    EXPECT_EQ(gridNames(page), before);
    EXPECT_EQ(stateOf(*window).TargetFolder, "C:\\Photos");
}

class FolderTreeTest : public FolderCommandsTest {
  protected:
    FolderTreeTest() {
        for (const char* folder : {"Photos/2004/May/01", "Photos/2004b", "Photos/2005"}) {
            c.makeFolder(folder);
        }
        c.writeFile("Photos/2004/a.jpg", "picture");
    }

    // The pages of C:\, C:\Photos, C:\Photos\2004, ...\2004\May and C:\Photos\2004b.
    std::vector<FolderPage*> openTree() {
        for (const char* folder : {"C:\\", "C:\\Photos", "C:\\Photos\\2004",
                                   "C:\\Photos\\2004\\May", "C:\\Photos\\2004b"}) {
            open(folder);
        }
        return window->folderPages();
    }

    static Names paths(const std::vector<FolderPage*>& pages) {
        Names result;
        for (const FolderPage* page : pages) {
            result.push_back(page->path());
        }
        return result;
    }
};

TEST_F(FolderTreeTest, DeleteSendsTheChosenFolderToTheTrashAndRelistsThePage) {
    const auto pages = openTree();
    stateOf(*window).SourceFolder = "C:\\Photos\\2004\\May";
    window->CListBox1->addName("a.jpg");
    choose(pages[1], "2004");

    run(window->N3, "typed text is not used");

    EXPECT_EQ(dialog.prompt, "以下の、フォルダを、全て削除します。");
    EXPECT_EQ(dialog.offered, "C:\\Photos\\2004");
    EXPECT_FALSE(c.exists("Photos/2004"));
    EXPECT_TRUE(test::folderInTrash("2004", "a.jpg"));
    EXPECT_EQ(paths(window->folderPages()), (Names{"C:\\", "C:\\Photos\\2004b", "C:\\Photos"}));
    EXPECT_EQ(window->frontFolderPage()->path(), "C:\\Photos");
    EXPECT_EQ(gridNames(window->frontFolderPage()), (Names{"2004b", "2005", "", "", ""}));
    EXPECT_EQ(window->StatusBar1->simpleText(), "C:\\Photos\\2004は、削除されました。");
    EXPECT_EQ(stateOf(*window).TargetFolder, "C:\\Photos");
    EXPECT_FALSE(window->N3->isEnabled());
    EXPECT_FALSE(window->BitBtn10->isEnabled());
    EXPECT_EQ(window->CListBox1->count(), 0);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FolderTreeTest, WithoutATrashTheFolderIsDeletedForGoodOnlyWhenTheUserAgrees) {
    test::NoTrash noTrash;
    const auto pages = openTree();
    choose(pages[1], "2004");
    messages.answers = {true, false};  // to the trash, yes; for good, no
    run(window->N3, "");
    ASSERT_EQ(messages.asked.size(), 2u);
    EXPECT_EQ(messages.asked[0], kMoveToTrashQuestion + std::string("C:\\Photos\\2004"));
    EXPECT_EQ(messages.asked[1], kDeleteForGoodQuestion + std::string("C:\\Photos\\2004"));
    EXPECT_TRUE(c.exists("Photos/2004/a.jpg"));
    EXPECT_EQ(stateOf(*window).TargetFolder, "C:\\Photos\\2004");
    EXPECT_EQ(window->folderPages().size(), pages.size());

    messages.answer = true;
    run(window->N3, "");
    EXPECT_FALSE(c.exists("Photos/2004"));
    EXPECT_FALSE(test::folderInTrash("2004", "a.jpg"));
    EXPECT_EQ(window->frontFolderPage()->path(), "C:\\Photos");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(window->Undo1->isEnabled());  // gone for good: nothing to take back
}

TEST_F(FolderTreeTest, DecliningTheTrashLeavesTheFolderAlone) {
    const auto pages = openTree();
    choose(pages[1], "2004");
    messages.answer = false;
    run(window->N3, "");
    EXPECT_EQ(messages.asked, Names{kMoveToTrashQuestion + std::string("C:\\Photos\\2004")});
    EXPECT_TRUE(c.exists("Photos/2004/a.jpg"));
    EXPECT_FALSE(test::folderInTrash("2004", "a.jpg"));
    EXPECT_EQ(window->folderPages().size(), pages.size());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FolderTreeTest, DeleteRefusesThePageFolderAndDriveRoots) {
    open("C:\\Photos");  // nothing chosen on it yet
    stateOf(*window).SourceFolder = "C:\\Photos\\2005";
    window->CListBox1->addName("a.jpg");
    run(window->N3, "");
    EXPECT_EQ(messages.shown, Names{kChooseFolderToDeleteMessage});

    clickCell(window->StringGrid1, 0, 0);  // a drive, while the page stays in front
    window->PageControl1->setActivePage(window->folderPages().back());
    run(window->N3, "");
    EXPECT_EQ(stateOf(*window).TargetFolder, "C:\\");
    EXPECT_EQ(messages.shown, (Names{kChooseFolderToDeleteMessage, kProtectedFromDeleteMessage}));
    EXPECT_TRUE(c.exists("Photos/2004/a.jpg"));
    EXPECT_EQ(window->CListBox1->count(), 1);

    choose(window->folderPages().back(), "2004");
    run(window->N3, std::nullopt);  // cancelled
    EXPECT_TRUE(c.exists("Photos/2004/a.jpg"));
}

TEST_F(FolderTreeTest, DeleteOfAFolderHoldingThePageInFrontLeavesItForTheParent) {
    const auto pages = openTree();
    choose(pages[1], "2004");
    window->PageControl1->setActivePage(pages[3]);  // the page of ...\2004\May
    run(window->N3, "");
    EXPECT_FALSE(c.exists("Photos/2004"));
    EXPECT_EQ(stateOf(*window).TargetFolder, "C:\\Photos");
    EXPECT_EQ(window->frontFolderPage()->path(), "C:\\Photos");
}

TEST_F(FolderTreeTest, RenameCarriesOpenPagesInsideAlongAndRelistsTheParent) {
    const auto pages = openTree();
    stateOf(*window).SourceFolder = "C:\\Photos\\2004\\May";
    choose(pages[1], "2004");

    run(window->N4, "2005x");

    EXPECT_EQ(dialog.prompt, "新しいフォルダ名を、入力してください。");
    EXPECT_EQ(dialog.offered, "2004");
    EXPECT_TRUE(c.exists("Photos/2005x/May/01"));
    EXPECT_EQ(paths(window->folderPages()),
              (Names{"C:\\", "C:\\Photos\\2005x", "C:\\Photos\\2005x\\May", "C:\\Photos\\2004b",
                     "C:\\Photos"}));
    EXPECT_EQ(window->PageControl1->tabText(window->PageControl1->indexOf(pages[3])), "May");
    EXPECT_EQ(stateOf(*window).SourceFolder, "C:\\Photos\\2005x\\May");
    EXPECT_EQ(stateOf(*window).TargetFolder, "C:\\Photos");
    EXPECT_EQ(currentDir(), "C:\\Photos");
    EXPECT_FALSE(window->N3->isEnabled() || window->N4->isEnabled() ||
                 window->BitBtn10->isEnabled());

    choose(pages[3], "01");
    EXPECT_EQ(stateOf(*window).TargetFolder, "C:\\Photos\\2005x\\May\\01");
}

// Folder commands are taken back the last first: a deleted folder comes back out of the trash
// with what it held, and a folder renamed back carries the open pages and the source along.
TEST_F(FolderTreeTest, RenameAndDeleteUndoneBringTheTreeAndThePagesBack) {
    const auto before = c.tree();
    const auto pages = openTree();
    stateOf(*window).SourceFolder = "C:\\Photos\\2004\\May";
    choose(pages[1], "2004");
    run(window->N4, "2005x");
    choose(window->frontFolderPage(), "2004b");
    run(window->N3, "");
    ASSERT_FALSE(c.exists("Photos/2004b"));
    EXPECT_EQ(window->Undo1->toolTip().toStdString(), "フォルダ削除を元に戻す");

    for (int step = 0; step < 2; ++step) {
        window->Undo1->trigger();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !window->jobRunning(); }));
    }
    EXPECT_EQ(c.tree(), before);
    EXPECT_EQ(stateOf(*window).SourceFolder, "C:\\Photos\\2004\\May");
    EXPECT_EQ(pages[3]->path(), "C:\\Photos\\2004\\May");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FolderTreeTest, RenameToThePresentTakenOrEmptyNameChangesNothing) {
    const auto pages = openTree();
    choose(pages[1], "2004");
    run(window->N4, "2004");
    run(window->N4, "2005");
    run(window->N4, std::string(256, 'n'));
    EXPECT_TRUE(messages.shown.empty());
    run(window->N4, "");
    EXPECT_EQ(messages.shown, Names{kEnterRenamedFolderNameMessage});
    EXPECT_TRUE(c.exists("Photos/2004/a.jpg") && c.exists("Photos/2005"));
    EXPECT_TRUE(window->N3->isEnabled());
    EXPECT_EQ(window->folderPages().size(), pages.size());
}

TEST_F(FolderCommandsTest, MoveAcrossFileSystemsTakesAFreeNameAndOpensTheDestination) {
    c.writeFile("A/sub/a.jpg", "picture");
    d.makeFolder("B/A");
    FolderPage* root = open("C:\\");
    choose(root, "A");
    stateOf(*window).SourceFolder = "C:\\A\\sub";

    moveInto("D:\\B");

    EXPECT_FALSE(c.exists("A"));
    EXPECT_EQ(stateOf(*window).SourceFolder, "D:\\B\\A (2)\\sub");  // the listed files went along
    const Names rootNames = gridNames(root);
    EXPECT_EQ(std::count(rootNames.begin(), rootNames.end(), "A"), 0);
    EXPECT_EQ(d.readFile("B/A (2)/sub/a.jpg"), "picture");
    EXPECT_EQ(stateOf(*window).TargetFolder, "D:\\B");
    EXPECT_EQ(window->frontFolderPage()->path(), "D:\\B");
    EXPECT_EQ(gridNames(window->frontFolderPage()), (Names{"A", "A (2)", "", "", ""}));
    EXPECT_FALSE(window->N4->isEnabled());
    EXPECT_TRUE(messages.shown.empty());
}

// Tells, for every message, whether a progress window of the main window stood over it.
class MessagesSeeingProgress : public test::RecordingMessages {
  public:
    explicit MessagesSeeingProgress(QWidget& owner) : owner_(owner) {}
    void showMessage(std::string_view text) override {
        progressAtMessage.push_back(!owner_.findChildren<QProgressDialog*>().isEmpty());
        RecordingMessages::showMessage(text);
    }
    std::vector<bool> progressAtMessage;

  private:
    QWidget& owner_;
};

TEST_F(FolderCommandsTest, MoveThatCannotFinishLeavesTheSourceWholeAndNoPartialCopy) {
    MessagesSeeingProgress messages(*window);
    c.writeFile("A/a.jpg", "picture");
    c.writeFile("A/sub/b.jpg", "picture");
    ASSERT_EQ(::mkfifo(c.host("A/sub/pipe").c_str(), 0600), 0);  // cannot travel
    d.makeFolder("B");
    choose(open("C:\\"), "A");

    moveInto("D:\\B");

    EXPECT_EQ(c.readFile("A/a.jpg"), "picture");
    EXPECT_EQ(c.readFile("A/sub/b.jpg"), "picture");
    EXPECT_FALSE(d.exists("B/A"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].starts_with(kMoveFailedMessage));
    EXPECT_EQ(messages.progressAtMessage, std::vector<bool>{false});
    EXPECT_EQ(stateOf(*window).TargetFolder, "C:\\A");
}

TEST_F(FolderCommandsTest, MoveRefusesCancelItselfAndThePageFolder) {
    c.makeFolder("A/inner");
    FolderPage* root = open("C:\\");
    moveInto(std::nullopt);
    choose(root, "A");
    moveInto("C:\\A\\inner");
    moveInto("C:\\");  // where it already is: nothing moves, no "A (2)"
    EXPECT_EQ(messages.shown,
              (Names{kChooseMoveDestinationMessage, kMoveIntoItselfMessage, kAlreadyThereMessage}));
    EXPECT_FALSE(c.exists("A (2)"));

    open("C:\\A");  // its own page in front: nothing happens
    moveInto("D:\\");
    EXPECT_TRUE(c.exists("A/inner"));
    EXPECT_EQ(messages.shown.size(), 3u);
}

}  // namespace
}  // namespace pictaria
