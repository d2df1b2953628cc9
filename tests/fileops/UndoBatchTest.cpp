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

// The folder commands, each done as the window does it and then taken back.
TEST(UndoBatch, FolderCommandsUndoneLeaveTheTreeAsBefore) {
    test::TempDir c;
    test::TestDrives drives;
    drives.map('C', c.path());
    c.writeFile("Photos/2004/a.jpg", "a");
    c.writeFile("Photos/2005/b.jpg", "b");
    c.makeFolder("Sorted");
    const auto before = c.tree();

    ASSERT_TRUE(createDir("C:\\Photos\\New"));
    EXPECT_TRUE(undo(UndoKind::NewFolder, undoRecord("C:\\Photos\\New", ""))[0].done());

    ASSERT_TRUE(renameFile("C:\\Photos\\2004", "C:\\Photos\\Summer"));
    EXPECT_TRUE(undo(UndoKind::RenameFolder, undoRecord("C:\\Photos\\Summer", "C:\\Photos\\2004"))[0].done());

    std::string movedTo;
    ASSERT_TRUE(moveFolderInto("C:\\Photos\\2005", "C:\\Sorted", movedTo));
    EXPECT_TRUE(undo(UndoKind::MoveFolder, undoRecord(movedTo, "C:\\Photos\\2005"))[0].done());

    const UndoRecord trashed = undoRecord("C:\\Photos\\2004", "C:\\Photos\\2004");
    ASSERT_TRUE(trashFolder("C:\\Photos\\2004"));
    EXPECT_TRUE(undo(UndoKind::DeleteFolder, trashed)[0].done());
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
