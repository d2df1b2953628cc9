// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "fileops/FileTransfer.h"
#include "fileops/UniqueName.h"
#include "platform/FileIo.h"
#include "support/FaultyFileIo.h"
#include "support/FileIoScope.h"
#include "support/SmallTmpfs.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"

namespace pictaria {
namespace {

ino_t inodeOf(const std::string& hostPath) {
    struct stat st {};
    ::stat(hostPath.c_str(), &st);
    return st.st_ino;
}

// Every file of a folder tree, relative paths; partial files would show up here.
std::vector<std::string> filesUnder(const std::string& root) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (!entry.is_directory()) {
            files.push_back(std::filesystem::relative(entry.path(), root).string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

class TransferTest : public ::testing::Test {
  protected:
    TransferTest() {
        drives.map('C', c.path()).map('D', d.path());
        c.writeFile("Pics/a.jpg", "picture a");
    }

    // A failure's message followed by its reason, as the user reads it.
    static std::string because(const char* message, int error) {
        return std::string(message) + "\n" + std::strerror(error);
    }

    // True when the file arrived; the message of a failure the user is told of is kept.
    bool transfer(TransferMode mode, const std::string& source, const std::string& target) {
        last = transferFile(mode, source, "", target, counter);
        if (!last.message.empty()) {
            told.push_back(last.message);
        }
        return last.done();
    }

    test::TempDir c;
    test::TempDir d{"/dev/shm"};
    test::TestDrives drives;
    FileOutcome last;
    std::vector<std::string> told;
    int counter = 2;
};

TEST_F(TransferTest, DestinationIsTheFolderJoinedByTheRootRule) {
    d.makeFolder("Sorted");
    EXPECT_TRUE(transfer(TransferMode::Copy, "C:\\Pics\\a.jpg", "D:\\"));
    EXPECT_TRUE(transfer(TransferMode::Copy, "C:\\Pics\\a.jpg", "D:\\Sorted"));
    EXPECT_EQ(d.readFile("a.jpg"), "picture a");
    EXPECT_EQ(d.readFile("Sorted/a.jpg"), "picture a");
    EXPECT_EQ(c.readFile("Pics/a.jpg"), "picture a");
    EXPECT_TRUE(told.empty());
}

TEST_F(TransferTest, TakenNamesGetAccumulatingDigitsAndTheCounterStartsAgain) {
    d.writeFile("a.jpg", "old");
    d.writeFile("a2.jpg", "old");
    EXPECT_TRUE(transfer(TransferMode::Copy, "C:\\Pics\\a.jpg", "D:\\"));
    EXPECT_EQ(d.readFile("a23.jpg"), "picture a");
    EXPECT_EQ(last.result, FileResult::DoneUnderNewName);
    EXPECT_EQ(last.newName, "a23.jpg");
    EXPECT_EQ(counter, 2);
    EXPECT_TRUE(transfer(TransferMode::Copy, "C:\\Pics\\a.jpg", "D:\\"));
    EXPECT_EQ(d.readFile("a2.jpg"), "old");
    EXPECT_EQ(d.readFile("a234.jpg"), "picture a");

    d.writeFile("memo", "");
    d.writeFile("x.tar.jpg", "");
    EXPECT_EQ(makeUniqueName("D:\\memo", counter), "D:\\memo2");
    EXPECT_EQ(makeUniqueName("D:\\x.tar.jpg", counter), "D:\\x.tar2.jpg");
    EXPECT_EQ(makeUniqueName("D:\\free.jpg", counter), "D:\\free.jpg");
}

TEST_F(TransferTest, AFolderOfTheNameIsNotTakenSoTheTransferFailsWithoutHarm) {
    c.makeFolder("Dest/a.jpg");
    EXPECT_FALSE(transfer(TransferMode::Copy, "C:\\Pics\\a.jpg", "C:\\Dest"));
    EXPECT_EQ(told, std::vector<std::string>{because(kCopyFailedMessage, EEXIST)});
    told.clear();
    EXPECT_FALSE(transfer(TransferMode::Move, "C:\\Pics\\a.jpg", "C:\\Dest"));
    EXPECT_EQ(told, std::vector<std::string>{because(kMoveFailedMessage, EEXIST)});
    EXPECT_EQ(c.readFile("Pics/a.jpg"), "picture a");
    EXPECT_TRUE(std::filesystem::is_directory(c.host("Dest/a.jpg")));
}

TEST_F(TransferTest, MoveRenamesOnTheSameLetterAndCopiesWhenTheFirstByteDiffers) {
    c.makeFolder("Sorted");
    const ino_t original = inodeOf(c.host("Pics/a.jpg"));
    EXPECT_TRUE(transfer(TransferMode::Move, "C:\\Pics\\a.jpg", "C:\\Sorted"));
    EXPECT_EQ(inodeOf(c.host("Sorted/a.jpg")), original);

    // "c:\" and "C:\" reach one folder but count as two drives: the bytes are copied.
    c.writeFile("Pics/b.jpg", "picture b");
    const ino_t before = inodeOf(c.host("Pics/b.jpg"));
    EXPECT_TRUE(transfer(TransferMode::Move, "C:\\Pics\\b.jpg", "c:\\Sorted"));
    EXPECT_FALSE(c.exists("Pics/b.jpg"));
    EXPECT_EQ(c.readFile("Sorted/b.jpg"), "picture b");
    EXPECT_NE(inodeOf(c.host("Sorted/b.jpg")), before);

    // A copy on the same letter copies; it never renames.
    EXPECT_TRUE(transfer(TransferMode::Copy, "C:\\Sorted\\b.jpg", "C:\\Pics"));
    EXPECT_EQ(c.readFile("Sorted/b.jpg"), "picture b");
    EXPECT_EQ(c.readFile("Pics/b.jpg"), "picture b");
}

TEST_F(TransferTest, MissingSourceOrFolderIsToldAndNothingIsCreated) {
    EXPECT_FALSE(transfer(TransferMode::Copy, "C:\\Pics\\gone.jpg", "D:\\"));
    EXPECT_FALSE(transfer(TransferMode::Move, "C:\\Pics\\a.jpg", "D:\\Missing"));
    EXPECT_EQ(told,
              (std::vector<std::string>{kMissingFileOrFolderMessage, kMissingFileOrFolderMessage}));
    EXPECT_TRUE(filesUnder(d.path()).empty());
    EXPECT_EQ(c.readFile("Pics/a.jpg"), "picture a");
}

TEST_F(TransferTest, MultiByteNamesStayWhole) {
    c.writeFile("表/ソ表.jpg", "kanji");
    d.makeFolder("ソ");
    EXPECT_TRUE(transfer(TransferMode::Move, "C:\\表\\ソ表.jpg", "D:\\ソ"));
    EXPECT_EQ(d.readFile("ソ/ソ表.jpg"), "kanji");
    EXPECT_FALSE(c.exists("表/ソ表.jpg"));
}

TEST_F(TransferTest, ColonsInNamesAndFoldersStayInTheName) {
    c.writeFile("Pics/12:30.jpg", "noon");
    c.writeFile("Pics/a:b.jpg", "ab");
    d.writeFile("12:30/12:30.jpg", "taken");
    EXPECT_TRUE(transfer(TransferMode::Copy, "C:\\Pics\\12:30.jpg", "D:\\12:30"));
    EXPECT_TRUE(transfer(TransferMode::Move, "C:\\Pics\\a:b.jpg", "D:\\12:30"));
    EXPECT_EQ(filesUnder(d.path()),
              (std::vector<std::string>{"12:30/12:30.jpg", "12:30/12:302.jpg", "12:30/a:b.jpg"}));
    EXPECT_EQ(d.readFile("12:30/12:302.jpg"), "noon");
    EXPECT_FALSE(c.exists("Pics/a:b.jpg"));
}

TEST_F(TransferTest, NamesThatAreNotUtf8KeepTheirBytes) {
    const std::string name = "\xff\xfe\x5c.jpg";  // not UTF-8, and a backslash byte inside
    const std::string plain = "caf\xe9.JPG";      // Latin-1, as an old camera card may hold
    c.writeFile("Pics/" + plain, "latin");
    d.makeFolder("Sorted");
    EXPECT_TRUE(transfer(TransferMode::Move, "C:\\Pics\\" + plain, "D:\\Sorted"));
    EXPECT_EQ(d.readFile("Sorted/" + plain), "latin");
    // A host name holding a backslash byte cannot be written as path text: it is never listed,
    // and a path text naming it reaches another name, which does not exist.
    c.writeFile("Pics/" + name, "x");
    EXPECT_FALSE(transfer(TransferMode::Move, "C:\\Pics\\" + name, "D:\\Sorted"));
    EXPECT_TRUE(c.exists("Pics/" + name));
}

TEST_F(TransferTest, EmptyFileIsCopiedAndMovedLikeAnyOther) {
    c.writeFile("Pics/empty.jpg", "");
    EXPECT_TRUE(transfer(TransferMode::Move, "C:\\Pics\\empty.jpg", "D:\\"));
    EXPECT_TRUE(d.exists("empty.jpg"));
    EXPECT_FALSE(c.exists("Pics/empty.jpg"));
}

TEST_F(TransferTest, SameLetterAcrossFileSystemsMovesByCopy) {
    // C:\Card leads to another file system, as a mount point inside a drive would.
    test::TempDir card{"/dev/shm"};
    card.writeFile("a.jpg", "on the card");
    std::filesystem::create_directory_symlink(card.path(), c.host("Card"));
    c.makeFolder("Sorted");
    EXPECT_TRUE(transfer(TransferMode::Move, "C:\\Card\\a.jpg", "C:\\Sorted"));
    EXPECT_EQ(c.readFile("Sorted/a.jpg"), "on the card");
    EXPECT_FALSE(card.exists("a.jpg"));
}

// A batch's copies get their names only at its end: a name promised to one is taken for the next.
TEST_F(TransferTest, ABatchMoveNeverPromisesOneNameTwice) {
    c.writeFile("Pics/a2.jpg", "picture a2");
    d.writeFile("a.jpg", "old");
    DeferredMoves deferred;
    bool awaiting = false;
    for (const std::string name : {"a.jpg", "a2.jpg"}) {
        EXPECT_TRUE(transferFileInBatch(TransferMode::Move, "C:\\Pics\\" + name, "", "D:\\",
                                        counter, deferred, 0, awaiting)
                        .done());
    }
    for (const auto& [tag, moved] : deferred.finish()) {
        EXPECT_TRUE(moved) << moved.message();
    }
    EXPECT_EQ(d.readFile("a2.jpg"), "picture a");
    EXPECT_EQ(d.readFile("a22.jpg"), "picture a2");
    EXPECT_EQ(filesUnder(c.host("Pics")), std::vector<std::string>{});
}

TEST_F(TransferTest, UnreadableSourceLeavesNothingBehind) {
    test::FailingCopy unreadable(0, EIO);
    test::FileIoScope scope(unreadable);
    EXPECT_FALSE(transfer(TransferMode::Copy, "C:\\Pics\\a.jpg", "D:\\"));
    EXPECT_FALSE(transfer(TransferMode::Move, "C:\\Pics\\a.jpg", "D:\\"));
    EXPECT_EQ(told, (std::vector<std::string>{because(kCopyFailedMessage, EIO),
                                              because(kMoveFailedMessage, EIO)}));
    EXPECT_TRUE(filesUnder(d.path()).empty());
    EXPECT_EQ(c.readFile("Pics/a.jpg"), "picture a");
}

TEST_F(TransferTest, MoveWhoseSourceCannotBeDeletedIsUndoneAndReported) {
    test::RefusedRemoval stuck(c.host("Pics/a.jpg"));
    test::FileIoScope scope(stuck);
    EXPECT_FALSE(transfer(TransferMode::Move, "C:\\Pics\\a.jpg", "D:\\"));
    EXPECT_EQ(told, std::vector<std::string>{because(kMoveFailedMessage, EROFS)});
    EXPECT_TRUE(filesUnder(d.path()).empty());
    EXPECT_EQ(c.readFile("Pics/a.jpg"), "picture a");
}

TEST_F(TransferTest, FullDiskLeavesNoPartialFile) {
    test::SmallTmpfs small(64 * 1024);
    if (!small.mounted()) {
        GTEST_SKIP() << "no privilege to mount a tmpfs here";
    }
    drives.map('E', small.path());
    small.dir().writeFile("filler.bin", std::string(40 * 1024, 'f'));
    c.writeFile("Pics/big.jpg", std::string(60 * 1024, 'b'));
    EXPECT_FALSE(transfer(TransferMode::Move, "C:\\Pics\\big.jpg", "E:\\"));
    EXPECT_FALSE(transfer(TransferMode::Copy, "C:\\Pics\\big.jpg", "E:\\"));
    EXPECT_EQ(told, (std::vector<std::string>{because(kMoveFailedMessage, ENOSPC),
                                              because(kCopyFailedMessage, ENOSPC)}));
    EXPECT_EQ(filesUnder(small.path()), std::vector<std::string>{"filler.bin"});
    EXPECT_EQ(c.readFile("Pics/big.jpg"), std::string(60 * 1024, 'b'));
}

}  // namespace
}  // namespace pictaria
