// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "fileops/FileBatch.h"
#include "fileops/UndoBatch.h"
#include "fileops/UndoHistory.h"
#include "platform/FileServices.h"
#include "platform/FolderOperations.h"
#include "support/ExfatCard.h"
#include "support/SmallTmpfs.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"
#include "support/Trash.h"

namespace pictaria {
namespace {

namespace fs = std::filesystem;

std::map<int, FileOutcome> undo(UndoKind kind, UndoRecord record) {
    UndoBatch batch(UndoStep{kind, "C:\\", {std::move(record)}}, 2);
    return runHere(batch);
}

// The hidden name of work in progress that a run of the program which has ended left.
std::string leftoverOfAnEndedRun() {
    const pid_t ended = ::fork();
    if (ended == 0) {
        ::_exit(0);
    }
    ::waitpid(ended, nullptr, 0);
    return ".pictaria-" + std::to_string(ended) + "-0.part";
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

// A Move taken back while its source folder is gone: the folder is made again on the volume
// that held it (never on another in its place), and what a killed run of the program left in the
// folder goes.
TEST(UndoBatch, FilesGoBackIntoTheirFolderMadeAgainOnItsOwnVolumeOnly) {
    const std::string leftover = leftoverOfAnEndedRun();
    struct Case {
        bool folderRemoved;
        bool volumeReplaced;
    };
    for (const Case row : {Case{false, false}, Case{true, false}, Case{true, true}}) {
        SCOPED_TRACE(testing::Message() << row.folderRemoved << row.volumeReplaced);
        test::TempDir c;
        test::TestDrives drives;
        drives.map('C', c.path());
        c.writeFile("From/a.jpg", "a");
        c.makeFolder("To");
        ASSERT_TRUE(moveFile("C:\\From\\a.jpg", "C:\\To\\a.jpg"));
        UndoStep step{UndoKind::Move, "C:\\From", {undoRecord("C:\\To\\a.jpg", "C:\\From\\a.jpg")}};
        noteMounts(step);
        if (step.beforeMount == 0) {
            GTEST_SKIP() << "the kernel does not tell mounts apart";
        }
        step.beforeMount += row.volumeReplaced ? 1 : 0;
        if (row.folderRemoved) {
            fs::remove(c.host("From"));
        } else {
            c.writeFile("From/" + leftover, "half a photograph");
        }

        EXPECT_EQ(folderOnAnotherMount(step).has_value(), row.volumeReplaced);
        UndoBatch batch(step, 2);
        EXPECT_EQ(runHere(batch).at(0).done(), !row.volumeReplaced);
        EXPECT_EQ(c.exists("From"), !row.volumeReplaced);
        EXPECT_EQ(c.exists("To/a.jpg"), row.volumeReplaced);
        EXPECT_FALSE(c.exists("From/" + leftover));
    }
}

// A Move off a card taken back while the card is taken out part way: none of the rest lands in
// the folder it leaves behind on the disk below; they stay where they are, each told why.
TEST(UndoBatch, StopsPuttingBackOnceTheReceivingVolumeIsTakenOut) {
    test::TempDir c;
    test::SmallTmpfs card(1 << 20);
    if (!card.mounted()) {
        GTEST_SKIP() << "no privilege to mount a tmpfs here";
    }
    test::TestDrives drives;
    drives.map('C', c.path()).map('E', card.path());
    UndoStep step{UndoKind::Move, "E:\\", {}};
    for (const std::string name : {"1.jpg", "2.jpg", "3.jpg"}) {
        c.writeFile(name, name);
        step.records.push_back(undoRecord("C:\\" + name, "E:\\" + name));
    }
    noteMounts(step);
    UndoBatch batch(step, 2);
    std::map<int, FileOutcome> outcomes;
    batch.run(
        std::atomic<bool>{false}, [&](int entry, const FileOutcome& out) { outcomes[entry] = out; },
        [&](const BatchProgress& progress) {
            if (progress.filesDone == 1) {
                ::umount2(card.path().c_str(), MNT_DETACH);
            }
        });
    EXPECT_TRUE(fs::is_empty(card.path()));
    EXPECT_TRUE(outcomes[0].done());
    EXPECT_EQ(outcomes[2].message, undoVolumeGoneMessage(step));
    EXPECT_TRUE(c.exists("2.jpg") && c.exists("3.jpg"));
}

// Leftovers of an ended run that no trash takes stay where a folder move or an undo puts things,
// counted for the user to be told.
TEST(UndoBatch, LeftoversNoTrashTookAreCountedByFolderMovesAndUndo) {
    const std::string leftover = leftoverOfAnEndedRun();
    test::TempDir c;
    test::TempDir d{"/dev/shm"};
    test::TestDrives drives;
    drives.map('C', c.path()).map('D', d.path());
    d.writeFile("Trip/a.jpg", "a");
    c.writeFile("Sorted/" + leftover, "half a photograph");
    d.writeFile(leftover, "half a photograph");
    test::NoTrash noTrash;
    std::string movedTo;
    int kept = 0;
    ASSERT_TRUE(moveFolderInto("D:\\Trip", "C:\\Sorted", movedTo, {}, &kept));
    EXPECT_EQ(kept, 1);
    UndoBatch undoing(UndoStep{UndoKind::MoveFolder, "C:\\", {undoRecord(movedTo, "D:\\Trip")}}, 2);
    ASSERT_TRUE(runHere(undoing).at(0).done());
    EXPECT_EQ(undoing.leftoversKept(), 1);
}

// A link is stamped as itself, as the trash holds it and as the commands act on it.
TEST(UndoBatch, ADeletedLinkNamedLikeAPictureComesBackAndGoesAgain) {
    test::TempDir c;
    test::TestDrives drives;
    drives.map('C', c.path());
    c.writeFile("Pics/real.jpg", "photograph");
    fs::create_symlink("real.jpg", c.host("Pics/link.jpg"));
    const UndoRecord record = undoRecord("C:\\Pics\\link.jpg", "C:\\Pics\\link.jpg");
    ASSERT_TRUE(moveToTrash("C:\\Pics\\link.jpg"));
    undoRedoUndo(c, UndoKind::Delete, record);
    EXPECT_TRUE(fs::is_symlink(c.host("Pics/link.jpg")));
}

// Where no trash is, a copy taken back is deleted for good only beside its original as it was
// copied: otherwise it may be the only one left.
TEST(UndoBatch, WithoutATrashACopyIsDeletedOnlyBesideItsUnchangedOriginal) {
    for (const std::string original : {"kept", "rewritten", "removed"}) {
        SCOPED_TRACE(original);
        test::TempDir c;
        test::TestDrives drives;
        drives.map('C', c.path());
        test::NoTrash noTrash;
        c.writeFile("From/a.jpg", "photograph");
        c.makeFolder("To");
        ASSERT_TRUE(copyFile("C:\\From\\a.jpg", "C:\\To\\a.jpg"));
        const UndoRecord record = undoRecord("C:\\To\\a.jpg", "C:\\From\\a.jpg");
        if (original == "rewritten") {
            c.writeFile("From/a.jpg", "another photograph");
        } else if (original == "removed") {
            fs::remove(c.host("From/a.jpg"));
        }
        const bool kept = original == "kept";
        EXPECT_EQ(undo(UndoKind::Copy, record).at(0).done(), kept);
        EXPECT_EQ(c.exists("To/a.jpg"), !kept);
    }
}

// Runs the next step of `way` as the window does, with nothing left undone.
FileOutcome runNext(UndoHistory& history, UndoHistory::Way way) {
    if (!history.next(way)) {
        return outcomeOf("no step", FileResult::Failed);
    }
    UndoBatch batch(history.take(way), 2);
    const auto outcomes = runHere(batch);
    history.ran(way, {}, batch.reversed(outcomes));
    return outcomes.at(0);
}

// A folder made again is another folder to the system: the rename done after it was made still
// finds it.
TEST(UndoBatch, AFolderMadeAgainIsTheOneItsLaterStepsName) {
    test::TempDir c;
    test::TestDrives drives;
    drives.map('C', c.path());
    UndoHistory history;
    ASSERT_TRUE(createDir("C:\\New"));
    history.remember({UndoKind::NewFolder, "C:\\", {undoRecord("C:\\New", "")}});
    const FileStamp first = fileStamp("C:\\New");
    ASSERT_TRUE(renameFile("C:\\New", "C:\\Named"));
    history.remember({UndoKind::RenameFolder, "C:\\", {undoRecord("C:\\Named", "C:\\New")}});
    EXPECT_TRUE(runNext(history, UndoHistory::Way::Undo).done());
    EXPECT_TRUE(runNext(history, UndoHistory::Way::Undo).done());
    c.makeFolder("Other");  // takes the number the folder had, on file systems that reuse it
    EXPECT_TRUE(runNext(history, UndoHistory::Way::Redo).done());
    ASSERT_NE(fileStamp("C:\\New").inode, first.inode);

    const FileOutcome renamed = runNext(history, UndoHistory::Way::Redo);
    EXPECT_TRUE(renamed.done()) << renamed.message;
    EXPECT_TRUE(c.exists("Named"));
}

}  // namespace
}  // namespace pictaria
