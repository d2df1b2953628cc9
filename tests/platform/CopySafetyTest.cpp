// SPDX-License-Identifier: GPL-3.0-or-later
// What a copy or a move by copy must never do, each shown with a real fault: call a short copy
// whole, name a copy before its data is on its way to the disk, remove a source whose copy is
// not on the disk or that changed meanwhile, write through a file planted at its temporary
// name, or lose the source's permissions and times.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/DeferredMoves.h"
#include "platform/FileServices.h"
#include "platform/FolderOperations.h"
#include "platform/HostFiles.h"
#include "support/ExfatCard.h"
#include "support/FaultyFileIo.h"
#include "support/FileIoScope.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"

namespace pictaria {
namespace {

namespace fs = std::filesystem;

struct stat statOf(const std::string& hostPath) {
    struct stat st {};
    ::stat(hostPath.c_str(), &st);
    return st;
}

// Sets a file's or folder's mode and both its times (far in the past, to the nanosecond).
void age(const std::string& hostPath, mode_t mode) {
    ::chmod(hostPath.c_str(), mode);
    const timespec times[2] = {{946684800, 123456789}, {981173106, 987654321}};
    ::utimensat(AT_FDCWD, hostPath.c_str(), times, 0);
}

void expectSameModeAndTimes(const struct stat& a, const std::string& copy) {
    const struct stat b = statOf(copy);
    EXPECT_EQ(a.st_mode & 0777, b.st_mode & 0777) << copy;
    EXPECT_EQ(a.st_mtim.tv_sec, b.st_mtim.tv_sec) << copy;
    EXPECT_EQ(a.st_mtim.tv_nsec, b.st_mtim.tv_nsec) << copy;
}

class CopySafetyTest : public ::testing::Test {
  protected:
    CopySafetyTest() { drives.map('C', disk.path()).map('D', shm.path()); }

    test::TempDir disk;
    test::TempDir shm{"/dev/shm"};
    test::TestDrives drives;
};

TEST_F(CopySafetyTest, FaultsAfterTheBytesNeverCostTheSource) {
    const std::string bytes(20000, 'p');
    struct Fault {
        const char* what;
        std::unique_ptr<FileIo> io;
    };
    Fault faults[] = {{"a copy cut short", std::make_unique<test::ShortCopy>(5000)},
                      {"a flush that fails", std::make_unique<test::FailingSync>()},
                      {"a folder's flush that fails",
                       std::make_unique<test::FailingSync>(test::FailingSync::Folders)}};
    for (Fault& fault : faults) {
        SCOPED_TRACE(fault.what);
        shm.writeFile("a.jpg", bytes);
        test::FileIoScope scope(*fault.io);
        EXPECT_FALSE(moveFile("D:\\a.jpg", "C:\\a.jpg"));
        EXPECT_FALSE(moveFileByCopy("D:\\a.jpg", "C:\\b.jpg"));
        DeferredMoves batch;
        const bool copied = batch.copy("D:\\a.jpg", "C:\\c.jpg", 7).ok();
        if (copied) {
            const auto outcomes = batch.finish();
            ASSERT_EQ(outcomes.size(), 1u);
            EXPECT_FALSE(outcomes[0].second);
        }
        EXPECT_EQ(shm.readFile("a.jpg"), bytes);
        EXPECT_TRUE(fs::is_empty(disk.path()));
    }
}

TEST_F(CopySafetyTest, ACopyCutShortIsNoCopy) {
    shm.writeFile("a.jpg", std::string(20000, 'p'));
    test::ShortCopy cut(5000);
    test::FileIoScope scope(cut);
    EXPECT_EQ(copyFile("D:\\a.jpg", "C:\\a.jpg").error(), EIO);
    EXPECT_TRUE(fs::is_empty(disk.path()));
}

// The source or its copy changed between the copy and the removal of the source: it stays.
TEST_F(CopySafetyTest, ABatchMoveKeepsASourceWhenItOrItsCopyChangedMeanwhile) {
    const std::function<std::string()> changes[] = {
        [&] { return shm.host("a.jpg"); },
        [&] { return fs::directory_iterator(disk.path())->path().string(); }};
    for (const auto& changed : changes) {
        shm.writeFile("a.jpg", "first shot");
        DeferredMoves batch;
        ASSERT_TRUE(batch.copy("D:\\a.jpg", "C:\\a.jpg", 1));
        std::ofstream(changed(), std::ios::app) << " and more";
        const auto outcomes = batch.finish();
        ASSERT_EQ(outcomes.size(), 1u);
        EXPECT_FALSE(outcomes[0].second);
        EXPECT_TRUE(shm.exists("a.jpg"));
        EXPECT_TRUE(fs::is_empty(disk.path()));
    }
}

// A power cut at any moment leaves each photograph whole in one place at least: a copy gets its
// name only once its data is on its way to the disk (flushed, for a move: a card keeps no order
// between data and names), and a source goes only once its copy's name is flushed too.
TEST_F(CopySafetyTest, NamesFollowTheirDataAndSourcesGoAfterTheNames) {
    const std::vector<std::string> names{"a.jpg", "b.jpg", "c.jpg", "d.jpg"};
    for (const std::string& name : names) {
        shm.writeFile(name, std::string(5000, name[0]));
    }
    test::CallLog log;
    {
        test::FileIoScope scope(log);
        ASSERT_TRUE(copyFile("D:\\a.jpg", "C:\\a.jpg"));
        ASSERT_TRUE(moveFile("D:\\b.jpg", "C:\\b.jpg"));
        DeferredMoves batch;
        ASSERT_TRUE(batch.copy("D:\\c.jpg", "C:\\c.jpg", 1));
        ASSERT_TRUE(batch.copy("D:\\d.jpg", "C:\\d.jpg", 2));
        for (const auto& [tag, moved] : batch.finish()) {
            EXPECT_TRUE(moved) << tag;
        }
    }
    const auto real = [](const std::string& path) { return fs::weakly_canonical(path).string(); };
    const std::string folder = real(disk.path());
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::string to = real(disk.host(name));
        const auto renamed = std::find_if(log.calls.begin(), log.calls.end(), [&](auto& call) {
            return call.starts_with("rename " + folder + "/") && call.ends_with(" " + to);
        });
        ASSERT_NE(renamed, log.calls.end());
        const std::size_t named = static_cast<std::size_t>(renamed - log.calls.begin());
        const std::string temporary = renamed->substr(7, renamed->size() - to.size() - 8);
        if (name == "a.jpg") {
            EXPECT_LT(log.at("writeback " + temporary), named);
            continue;
        }
        EXPECT_LT(log.at("sync " + temporary), named);
        const std::string removed = "remove " + real(shm.host(name));
        ASSERT_TRUE(log.made(removed));
        EXPECT_LT(log.at("sync " + folder, named), log.at(removed));
    }
}

// The temporary name is predictable; whatever stands there is never opened for writing.
TEST_F(CopySafetyTest, AFilePlantedAtTheTemporaryNameIsNeverWrittenThrough) {
    disk.writeFile("victim.jpg", "precious");
    shm.writeFile("a.jpg", "new");
    const std::string probe = host::temporaryNameIn(disk.path());
    const std::string prefix = probe.substr(0, probe.rfind('-') + 1);
    const int next = std::stoi(probe.substr(prefix.size()));
    for (int n = next + 1; n <= next + 100; ++n) {
        const std::string planted = prefix + std::to_string(n) + ".part";
        if (n % 2) {
            fs::create_symlink(disk.host("victim.jpg"), planted);
        } else {
            std::ofstream(planted) << "planted";
        }
    }
    EXPECT_FALSE(copyFile("D:\\a.jpg", "C:\\a.jpg"));
    EXPECT_EQ(disk.readFile("victim.jpg"), "precious");
    EXPECT_FALSE(disk.exists("a.jpg"));
}

TEST_F(CopySafetyTest, CopiesAndFolderMovesKeepPermissionsAndTimes) {
    // Bits the umask takes away at creation are given back.
    const mode_t umask = ::umask(022);
    for (const mode_t mode : {0666, 0775}) {
        shm.writeFile("open.jpg", "shared");
        ::chmod(shm.host("open.jpg").c_str(), mode);
        ASSERT_TRUE(copyFile("D:\\open.jpg", "C:\\open.jpg"));
        EXPECT_EQ(statOf(disk.host("open.jpg")).st_mode & 0777, mode);
        fs::remove(disk.host("open.jpg"));
    }
    ::umask(umask);

    shm.writeFile("private.jpg", "only mine");
    age(shm.host("private.jpg"), 0600);
    ASSERT_TRUE(copyFile("D:\\private.jpg", "C:\\private.jpg"));
    expectSameModeAndTimes(statOf(shm.host("private.jpg")), disk.host("private.jpg"));
    EXPECT_EQ(statOf(disk.host("private.jpg")).st_atim.tv_sec, 946684800);

    shm.writeFile("Trip/Day 1/a.jpg", "a");
    age(shm.host("Trip/Day 1/a.jpg"), 0640);
    age(shm.host("Trip/Day 1"), 0750);
    age(shm.host("Trip"), 0700);
    const std::vector<std::string> parts{"", "/Day 1", "/Day 1/a.jpg"};
    std::vector<struct stat> before;
    for (const std::string& part : parts) {
        before.push_back(statOf(shm.host("Trip" + part)));
    }
    disk.makeFolder("Sorted");
    std::string movedTo;
    ASSERT_TRUE(moveFolderInto("D:\\Trip", "C:\\Sorted", movedTo));
    for (std::size_t i = 0; i < parts.size(); ++i) {
        expectSameModeAndTimes(before[i], disk.host("Sorted/Trip" + parts[i]));
    }
}

// exFAT keeps no permissions, and its driver ignores a modification time set without the
// access time while reporting success: the copies must carry the photograph's time all the same.
TEST_F(CopySafetyTest, CopiesOntoAnExfatCardKeepTheirTime) {
    test::ExfatCard card;
    if (!card.mounted()) {
        GTEST_SKIP() << "no exFAT card can be mounted here";
    }
    drives.map('E', card.path(), DriveType::Removable);
    shm.writeFile("a.jpg", "photo");
    age(shm.host("a.jpg"), 0600);
    ASSERT_TRUE(copyFile("D:\\a.jpg", "E:\\a.jpg"));
    ASSERT_TRUE(moveFile("D:\\a.jpg", "E:\\b.jpg"));
    for (const char* name : {"a.jpg", "b.jpg"}) {
        EXPECT_EQ(statOf(card.path() + "/" + name).st_mtim.tv_sec, 981173106) << name;
        std::ifstream in(card.path() + "/" + name);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "photo");
    }
}

}  // namespace
}  // namespace pictaria
