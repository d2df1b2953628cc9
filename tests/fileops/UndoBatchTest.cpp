// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "fileops/FileBatch.h"
#include "fileops/UndoBatch.h"
#include "platform/FileServices.h"
#include "platform/FolderOperations.h"
#include "support/ExfatCard.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"

namespace pictaria {
namespace {

namespace fs = std::filesystem;

std::map<int, FileOutcome> undo(UndoKind kind, UndoRecord record) {
    UndoBatch batch(UndoStep{kind, "C:\\", {std::move(record)}}, 2);
    return runHere(batch);
}

// Takes a command back, does it again (the tree is as the command left it) and takes it back
// once more.
void undoRedoUndo(const test::TempDir& drive, UndoKind kind, UndoRecord record) {
    const auto afterCommand = drive.tree();
    UndoBatch undoing(UndoStep{kind, "C:\\", {std::move(record)}}, 2);
    const auto undone = runHere(undoing);
    ASSERT_TRUE(undone.at(0).done()) << undone.at(0).message;
    UndoBatch redoing(undoing.reversed(undone), 2);
    const auto redone = runHere(redoing);
    ASSERT_TRUE(redone.at(0).done()) << redone.at(0).message;
    EXPECT_EQ(drive.tree(), afterCommand);
    UndoBatch again(redoing.reversed(redone), 2);
    EXPECT_TRUE(runHere(again).at(0).done());
}

// The folder commands, each done as the window does it, taken back, done again and taken back.
TEST(UndoBatch, FolderCommandsUndoneAndRedoneLeaveTheTreesAsTheyWere) {
    test::TempDir c;
    test::TestDrives drives;
    drives.map('C', c.path());
    c.writeFile("Photos/2004/a.jpg", "a");
    c.writeFile("Photos/2005/b.jpg", "b");
    c.makeFolder("Sorted/2005");  // the folder moved there takes a numbered name
    const auto before = c.tree();

    ASSERT_TRUE(createDir("C:\\Photos\\New"));
    undoRedoUndo(c, UndoKind::NewFolder, undoRecord("C:\\Photos\\New", ""));

    ASSERT_TRUE(renameFile("C:\\Photos\\2004", "C:\\Photos\\Summer"));
    undoRedoUndo(c, UndoKind::RenameFolder, undoRecord("C:\\Photos\\Summer", "C:\\Photos\\2004"));

    std::string movedTo;
    ASSERT_TRUE(moveFolderInto("C:\\Photos\\2005", "C:\\Sorted", movedTo));
    ASSERT_EQ(movedTo, "C:\\Sorted\\2005 (2)");
    undoRedoUndo(c, UndoKind::MoveFolder, undoRecord(movedTo, "C:\\Photos\\2005"));

    const UndoRecord trashed = undoRecord("C:\\Photos\\2004", "C:\\Photos\\2004");
    ASSERT_TRUE(trashFolder("C:\\Photos\\2004"));
    undoRedoUndo(c, UndoKind::DeleteFolder, trashed);
    EXPECT_EQ(c.tree(), before);

    // A new folder that has been filled since is left alone, and said so.
    ASSERT_TRUE(createDir("C:\\Photos\\New"));
    const UndoRecord created = undoRecord("C:\\Photos\\New", "");
    c.writeFile("Photos/New/c.jpg", "c");
    const FileOutcome kept = undo(UndoKind::NewFolder, created)[0];
    EXPECT_EQ(kept.result, FileResult::Failed);
    EXPECT_EQ(kept.message, kChangedSinceMessage);
    EXPECT_EQ(c.readFile("Photos/New/c.jpg"), "c");
}

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A card's trash is at the top of the card, not in the home folder: a file deleted there comes
// back out of it (beside a file that took its name meanwhile), and only once.
TEST(UndoBatch, ADeleteOnACardWithItsOwnTrashComesBack) {
    test::ExfatCard card("8M");
    if (!card.mounted()) {
        GTEST_SKIP() << "no exFAT card can be mounted here";
    }
    test::TestDrives drives;
    drives.map('E', card.path(), DriveType::Removable);
    const std::string photo = card.path() + "/IMG_0001.JPG";
    std::ofstream(photo) << "photograph";
    const UndoRecord record = undoRecord("E:\\IMG_0001.JPG", "E:\\IMG_0001.JPG");
    const FsResult trashed = moveToTrash("E:\\IMG_0001.JPG");
    ASSERT_TRUE(trashed) << trashed.message();
    ASSERT_TRUE(fs::exists(card.path() + "/.Trash-" + std::to_string(::getuid())));
    std::ofstream(photo) << "another photograph under the same name";

    const FileOutcome back = undo(UndoKind::Delete, record)[0];
    ASSERT_EQ(back.result, FileResult::DoneUnderNewName) << back.message;
    EXPECT_EQ(contentOf(card.path() + "/" + back.newName), "photograph");
    EXPECT_EQ(contentOf(photo), "another photograph under the same name");
    EXPECT_TRUE(fs::is_empty(card.path() + "/.Trash-" + std::to_string(::getuid()) + "/info"));
    EXPECT_FALSE(undo(UndoKind::Delete, record)[0].done());  // out of the trash already
}

}  // namespace
}  // namespace pictaria
