// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>

#include "fileops/BatchCommands.h"
#include "fileops/FileTransfer.h"
#include "fileops/VectorTickList.h"
#include "platform/FileIo.h"
#include "support/FaultyFileIo.h"
#include "support/FileIoScope.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"
#include "support/Trash.h"
#include "support/Unprivileged.h"

namespace pictaria {
namespace {

using Names = std::vector<std::string>;

class BatchTest : public ::testing::Test {
  protected:
    BatchTest() {
        drives.map('C', c.path()).map('D', d.path());
        for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"}) {
            c.writeFile(std::string("Pics/") + name, name);
        }
        d.makeFolder("Sorted");
    }

    test::TempDir c;
    test::TempDir d{"/dev/shm"};
    test::TestDrives drives;
    // The question before deleting for good, recorded and answered as `answer` says.
    DeleteForGoodQuestion question() {
        return [this](std::size_t files) {
            asked.push_back(files);
            return answer;
        };
    }

    int counter = 2;
    std::vector<std::size_t> asked;
    bool answer = false;
};

// The messages of the failures that the user is told of, in order.
Names told(const std::vector<FileOutcome>& outcomes) {
    Names messages;
    for (const FileOutcome& outcome : outcomes) {
        if (!outcome.message.empty()) {
            messages.push_back(outcome.message);
        }
    }
    return messages;
}

TEST_F(BatchTest, MoveRemovesMovedEntriesAndKeepsFailuresTicked) {
    ::unlink(c.host("Pics/c.jpg").c_str());  // c fails: its file is gone
    VectorTickList list({"a.jpg", "b.jpg", "c.jpg", "d.jpg"}, {false, true, true, false});
    const auto outcomes = moveTicked(list, "C:\\Pics", "D:\\Sorted", counter);
    EXPECT_EQ(list.names(), (Names{"a.jpg", "c.jpg", "d.jpg"}));
    EXPECT_EQ(list.ticks(), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(d.readFile("Sorted/b.jpg"), "b.jpg");
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_EQ(outcomes[0].result, FileResult::Done);
    EXPECT_EQ(outcomes[1].result, FileResult::Failed);
    EXPECT_EQ(outcomes[1].reason.error(), ENOENT);
    EXPECT_EQ(failureReport(outcomes), "c.jpg: " + std::string(kMissingFileOrFolderMessage));
}

TEST_F(BatchTest, MovingOrDeletingEveryEntryEmptiesTheList) {
    VectorTickList moved({"a.jpg", "b.jpg"}, {true, true});
    moveTicked(moved, "C:\\Pics", "D:\\", counter);
    EXPECT_EQ(moved.count(), 0);
    EXPECT_TRUE(d.exists("a.jpg") && d.exists("b.jpg"));

    VectorTickList deleted({"c.jpg", "d.jpg"}, {true, true});
    deleteTicked(deleted, "C:\\Pics", question());
    EXPECT_EQ(deleted.count(), 0);
    EXPECT_FALSE(c.exists("Pics/c.jpg") || c.exists("Pics/d.jpg"));
}

TEST_F(BatchTest, CopyTwiceArrivesUnderNumberedNamesAndKeepsTicks) {
    VectorTickList list({"a.jpg", "b.jpg"}, {true, false});
    copyTicked(list, "C:\\Pics", "D:\\Sorted", counter);
    copyTicked(list, "C:\\Pics", "D:\\Sorted", counter);
    EXPECT_EQ(d.readFile("Sorted/a.jpg"), "a.jpg");
    EXPECT_EQ(d.readFile("Sorted/a2.jpg"), "a.jpg");
    EXPECT_FALSE(d.exists("Sorted/b.jpg"));
    EXPECT_EQ(list.ticks(), (std::vector<bool>{true, false}));
    EXPECT_TRUE(c.exists("Pics/a.jpg"));
}

TEST_F(BatchTest, SameFolderTextIsRefusedButCaseMakesADifferentText) {
    VectorTickList list({"a.jpg"}, {true});
    EXPECT_STREQ(sameFolderRefusal(TransferMode::Copy, "C:\\Pics", "C:\\Pics"),
                 kChooseCopyFolderMessage);
    EXPECT_STREQ(sameFolderRefusal(TransferMode::Move, "C:\\Pics", "C:\\Pics"),
                 kChooseMoveFolderMessage);
    EXPECT_TRUE(copyTicked(list, "C:\\Pics", "C:\\Pics", counter).empty());
    EXPECT_TRUE(moveTicked(list, "C:\\Pics", "C:\\Pics", counter).empty());
    EXPECT_EQ(list.names(), Names{"a.jpg"});
    EXPECT_EQ(sameFolderRefusal(TransferMode::Copy, "C:\\Pics", "c:\\Pics"), nullptr);

    // "c:\Pics" is another text for the same folder: the copy arrives under a numbered name.
    copyTicked(list, "C:\\Pics", "c:\\Pics", counter);
    EXPECT_EQ(c.readFile("Pics/a2.jpg"), "a.jpg");
}

TEST_F(BatchTest, DriveRootSourceJoinsWithoutExtraBackslash) {
    c.writeFile("root.jpg", "at the root");
    VectorTickList list({"root.jpg"}, {true});
    EXPECT_TRUE(told(copyTicked(list, "C:\\", "D:\\", counter)).empty());
    EXPECT_EQ(d.readFile("root.jpg"), "at the root");
}

TEST_F(BatchTest, DeleteKeepsEntriesWhoseFileCannotGo) {
    c.makeFolder("Pics/folder.jpg");
    VectorTickList list({"a.jpg", "folder.jpg", "b.jpg"}, {true, true, false});
    EXPECT_TRUE(told(deleteTicked(list, "C:\\Pics", question())).empty());
    EXPECT_EQ(list.names(), (Names{"folder.jpg", "b.jpg"}));
    EXPECT_EQ(list.ticks(), (std::vector<bool>{true, false}));
}

TEST_F(BatchTest, DeletedFilesGoToTheTrashWithTheirRecord) {
    VectorTickList ticked({"a.jpg", "b.jpg", "c.jpg"}, {true, false, true});
    deleteTicked(ticked, "C:\\Pics", question());
    EXPECT_EQ(ticked.names(), Names{"b.jpg"});
    VectorTickList everyListed({"b.jpg", "d.jpg"}, {false, false});
    deleteAllListed(everyListed, "C:\\Pics", question());
    EXPECT_EQ(everyListed.count(), 0);
    EXPECT_EQ(test::trashedFiles(),
              (std::map<std::string, std::string>{
                  {"a.jpg", "a.jpg"}, {"b.jpg", "b.jpg"}, {"c.jpg", "c.jpg"}, {"d.jpg", "d.jpg"}}));
    EXPECT_TRUE(asked.empty());
}

// Only where no trash can take the files is the user asked, once, before any is deleted for good.
TEST_F(BatchTest, WithoutATrashOneQuestionComesBeforeDeletingForGood) {
    test::NoTrash noTrash;
    VectorTickList list({"a.jpg", "b.jpg", "c.jpg"}, {true, false, true});
    const auto kept = deleteTicked(list, "C:\\Pics", question());
    EXPECT_EQ(asked, std::vector<std::size_t>{2});
    EXPECT_EQ(kept[0].reason.error(), ENOTSUP);
    EXPECT_TRUE(told(kept).empty());
    EXPECT_EQ(list.names(), (Names{"a.jpg", "b.jpg", "c.jpg"}));
    EXPECT_EQ(c.readFile("Pics/a.jpg"), "a.jpg");

    answer = true;
    VectorTickList popup({"c.jpg", "d.jpg"}, {false, false});
    deleteAllListed(popup, "C:\\Pics", question());
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_FALSE(c.exists("Pics/c.jpg"));
    EXPECT_FALSE(c.exists("Pics/d.jpg"));
    EXPECT_EQ(c.readFile("Pics/a.jpg"), "a.jpg");
}

TEST_F(BatchTest, ListOnlyCommandsLeaveTheFilesAlone) {
    VectorTickList out({"a.jpg", "b.jpg", "c.jpg"}, {true, false, true});
    removeTickedEntries(out);
    EXPECT_EQ(out.names(), Names{"b.jpg"});

    VectorTickList cleared({"a.jpg", "b.jpg"}, {true, true});
    clearTicks(cleared);
    EXPECT_EQ(cleared.names(), (Names{"a.jpg", "b.jpg"}));
    EXPECT_EQ(cleared.ticks(), (std::vector<bool>{false, false}));
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"}) {
        EXPECT_TRUE(c.exists(std::string("Pics/") + name));
    }
}

TEST_F(BatchTest, PopupDeleteRemovesEveryListedFileTickedOrNot) {
    VectorTickList list({"a.jpg", "b.jpg", "missing.jpg"}, {false, false, false});
    deleteAllListed(list, "C:\\Pics", question());
    EXPECT_EQ(list.count(), 0);
    EXPECT_FALSE(c.exists("Pics/a.jpg") || c.exists("Pics/b.jpg"));
    EXPECT_TRUE(c.exists("Pics/c.jpg"));
}

TEST_F(BatchTest, MoveAcrossFileSystemsIsWholeForEveryFile) {
    test::RefusedRemoval locked(c.host("Pics/b.jpg"));
    test::FileIoScope scope(locked);
    VectorTickList list({"a.jpg", "b.jpg", "c.jpg"}, {true, true, true});
    const auto outcomes = moveTicked(list, "C:\\Pics", "D:\\Sorted", counter);
    EXPECT_EQ(list.names(), Names{"b.jpg"});
    EXPECT_EQ(list.ticks(), std::vector<bool>{true});
    EXPECT_EQ(told(outcomes), Names{std::string(kMoveFailedMessage) + "\n" + std::strerror(EROFS)});
    EXPECT_EQ(outcomes[1].reason.error(), EROFS);
    EXPECT_EQ(d.readFile("Sorted/a.jpg"), "a.jpg");
    EXPECT_EQ(d.readFile("Sorted/c.jpg"), "c.jpg");
    EXPECT_FALSE(d.exists("Sorted/b.jpg"));  // its copy went back
    EXPECT_EQ(c.readFile("Pics/b.jpg"), "b.jpg");
    EXPECT_FALSE(c.exists("Pics/a.jpg") || c.exists("Pics/c.jpg"));
}

// A move on one drive is a rename; one the file system refuses is told with its reason, like
// every other failure: out of a folder the user may not change, or under a numbered name longer
// than a name may be.
TEST_F(BatchTest, RefusedRenamesOnOneDriveAreToldWithTheirReason) {
    const auto moveOne = [](const std::string& name) {
        VectorTickList list({name}, {true});
        int counter = 2;
        return failureReport(moveTicked(list, "C:\\Pics", "C:\\Sorted", counter))
            .value_or("nothing told");
    };
    const std::string longName = std::string(251, 'n') + ".jpg";
    c.writeFile("Pics/" + longName, "long");
    c.writeFile("Sorted/" + longName, "taken");
    EXPECT_EQ(moveOne(longName),
              longName + ": " + kMoveFailedMessage + "\n" + std::strerror(ENAMETOOLONG));

    ::chmod(c.path().c_str(), 0755);
    test::giveToNobody(c.host("Sorted"));
    EXPECT_EQ(test::runAsNobody([&] { return moveOne("a.jpg"); }),
              std::string("a.jpg: ") + kMoveFailedMessage + "\n" + std::strerror(EACCES));
    EXPECT_EQ(c.readFile("Pics/a.jpg"), "a.jpg");
    EXPECT_EQ(c.readFile("Pics/" + longName), "long");
}

TEST(BatchHints, NameTheDestination) {
    EXPECT_EQ(copyHint("D:\\Sorted"), "D:\\Sortedにコピーします");
    EXPECT_EQ(moveHint("D:\\"), "D:\\に移動します");
}

}  // namespace
}  // namespace pictaria
