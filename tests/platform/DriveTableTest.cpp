// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <QThread>

#include <sys/sysmacros.h>

#include <atomic>
#include <fstream>
#include <future>
#include <set>
#include <sstream>
#include <thread>

#include "platform/DriveLettering.h"
#include "platform/DriveTable.h"
#include "platform/FileServices.h"
#include "platform/MountTable.h"
#include "platform/MountWatcher.h"
#include "platform/VolumeProbe.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"

namespace pictaria {
namespace {

TEST(DriveTable, LetterMatchesInEitherCaseRestIsKeptAsWritten) {
    test::TempDir dir;
    dir.writeFile("Photos/a.jpg", "x");
    test::TestDrives drives;
    drives.map('C', dir.path());
    EXPECT_EQ(hostPathOf("c:\\Photos\\a.jpg"), dir.host("Photos/a.jpg"));
    EXPECT_EQ(hostPathOf("C:\\Photos\\a.jpg"), dir.host("Photos/a.jpg"));
    EXPECT_TRUE(fileExists("c:\\Photos\\a.jpg"));
    EXPECT_TRUE(fileExists("C:\\Photos\\a.jpg"));
    EXPECT_FALSE(fileExists("C:\\photos\\a.jpg"));
    EXPECT_TRUE(directoryExists("c:\\"));
    EXPECT_FALSE(hostPathOf("Q:\\Photos"));
    EXPECT_FALSE(directoryExists("Q:\\"));
}

TEST(DriveTable, TypesByRootAndHostBackToText) {
    DriveTable table;
    table.add('a', "/media/card", DriveType::Removable);
    table.add('C', "/", DriveType::Fixed);
    table.add('D', "/home/data", DriveType::Fixed);
    EXPECT_EQ(table.typeOf("A:\\"), DriveType::Removable);
    EXPECT_EQ(table.typeOf("d:\\"), DriveType::Fixed);
    EXPECT_EQ(table.typeOf("B:\\"), DriveType::NoRootDir);
    EXPECT_EQ(table.toHost("C:\\"), "/");
    EXPECT_EQ(table.toHost("C:\\etc\\fstab"), "/etc/fstab");
    EXPECT_EQ(table.fromHost("/home/data/2004"), "D:\\2004");
    EXPECT_EQ(table.fromHost("/home/other"), "C:\\home\\other");
    EXPECT_EQ(table.fromHost("/media/card"), "A:\\");
}

MountedVolume volume(std::string device, std::string mountPoint, std::string type,
                     std::uint64_t number = 0) {
    return {std::move(device), std::move(mountPoint), std::move(type), number};
}

TEST(MountTable, ReadsTheKernelsMountInfoWithEscapedNamesAndDeviceNumbers) {
    std::istringstream table(
        "22 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n"
        "97 22 8:33 / /media/u/MY\\040CARD rw,nosuid shared:50 master:3 - vfat /dev/sdc1 rw\n"
        "garbage line\n"
        "98 22 0:61 / /run/user/1000/gvfs rw - fuse.gvfsd-fuse gvfsd-fuse rw\n");
    const auto volumes = parseMountInfo(table);
    ASSERT_EQ(volumes.size(), 3u);
    EXPECT_EQ(volumes[1].mountPoint, "/media/u/MY CARD");
    EXPECT_EQ(volumes[1].device, "/dev/sdc1");
    EXPECT_EQ(volumes[1].fsType, "vfat");
    EXPECT_EQ(volumes[1].deviceNumber, makedev(8, 33));
    EXPECT_EQ(volumes[2].deviceNumber, makedev(0, 61));
}

TEST(MountTable, ClassifiesWithoutTouchingTheVolumes) {
    // The server does not exist: classification must not need it.
    EXPECT_EQ(classifyVolume(volume("deadhost:/export", "/mnt/nfs", "nfs4")), DriveType::Remote);
    EXPECT_EQ(classifyVolume(volume("//srv/share", "/mnt/smb", "cifs")), DriveType::Remote);
    EXPECT_EQ(classifyVolume(volume("/dev/sr0", "/media/u/DISC", "iso9660")), DriveType::CdRom);
    EXPECT_EQ(classifyVolume(volume("tmpfs", "/tmp", "tmpfs")), DriveType::RamDisk);
    EXPECT_EQ(classifyVolume(volume("/dev/sdb1", "/media/u/CARD", "vfat")), DriveType::Removable);
    EXPECT_EQ(classifyVolume(volume("proc", "/proc", "proc")), DriveType::Unknown);
    // A phone bridged by the desktop is removable media, and gets a letter though under /run.
    const auto phone = volume("gvfsd-fuse", "/run/user/1000/gvfs", "fuse.gvfsd-fuse");
    EXPECT_EQ(classifyVolume(phone), DriveType::Removable);
    EXPECT_FALSE(isLetterless(phone, classifyVolume(phone)));
    const auto boot = volume("/dev/sda1", "/boot/efi", "vfat");
    EXPECT_TRUE(isLetterless(boot, classifyVolume(boot)));
    // Whatever the desktop mounts in a media folder is removable, whatever its file system.
    EXPECT_EQ(classifyVolume(volume("tmpfs", "/srv/cards/A", "tmpfs"), VolumeRules{{"/srv/cards"}}),
              DriveType::Removable);
}

// Answers for roots as a volume would, without asking any: listed roots are silent or are no
// folder; every other root answers with device number 100, 101... in the order asked.
struct FakeProbe {
    std::set<std::string> silent, files;
    std::vector<std::string> asked;
    std::uint64_t answered = 0;
    std::vector<VolumeAnswer> operator()(const std::vector<std::string>& roots) {
        std::vector<VolumeAnswer> answers;
        for (const std::string& root : roots) {
            asked.push_back(root);
            VolumeAnswer answer{VolumeAnswer::Kind::Answered, 100 + answered++,
                                !files.contains(root), 0};
            answers.push_back(silent.contains(root) ? VolumeAnswer{} : answer);
        }
        return answers;
    }
};

TEST(DriveLettering, StartUpLettersRemovableThenFixedThenTheRestAndNeverAsksTheNetwork) {
    FakeProbe probe;
    probe.silent = {"/media/u/HUNG"};
    probe.files = {"/srv/file"};
    const auto lettering = DriveLettering::atStartUp(
        {volume("/dev/vda1", "/", "ext4"), volume("deadhost:/export", "/mnt/nfs", "nfs4"),
         volume("/dev/vdb1", "/data", "ext4"), volume("/dev/vda1", "/home", "ext4"),
         volume("/dev/sdz1", "/media/u/HUNG", "exfat", 77),
         volume("/dev/vdc", "/srv/file", "ext4")},
        {}, std::ref(probe));
    const DriveTable& table = lettering.table();
    EXPECT_EQ(table.toHost("C:\\"), "/");
    // The card that does not answer still gets the first letter, known by the kernel's number.
    EXPECT_EQ(table.toHost("D:\\"), "/media/u/HUNG");
    EXPECT_EQ(table.typeOf("D:\\"), DriveType::Removable);
    EXPECT_EQ(table.find('D')->volume, 77u);
    EXPECT_EQ(table.toHost("E:\\"), "/data");
    EXPECT_EQ(table.typeOf("F:\\"), DriveType::Remote);
    EXPECT_EQ(table.drives().size(), 4u);  // /home is on C:'s disk; /srv/file is no folder
    EXPECT_EQ(std::count(probe.asked.begin(), probe.asked.end(), "/mnt/nfs"), 0);
}

TEST(DriveLettering, VolumesMountedLaterTakeFreeLettersThatStayWithThemForTheRun) {
    FakeProbe probe;
    DriveTable own;
    own.add('C', "/tmp/c", DriveType::Fixed);
    const std::vector<MountedVolume> before{volume("/dev/vda1", "/", "ext4"),
                                            volume("/dev/vdb1", "/data", "ext4")};
    DriveLettering lettering(own, before, {}, std::ref(probe));
    EXPECT_FALSE(lettering.update(before));  // what was mounted already gets no letter
    EXPECT_TRUE(probe.asked.empty());

    auto withCard = before;
    withCard.push_back(volume("tmpfs", "/media/u/CARD", "tmpfs", 41));
    ASSERT_TRUE(lettering.update(withCard));
    EXPECT_EQ(lettering.table().toHost("D:\\"), "/media/u/CARD");
    EXPECT_EQ(lettering.table().find('D')->volume, 100u);

    // Taken out: the letter stays. Another card takes the next letter, never D:.
    EXPECT_FALSE(lettering.update(before));
    EXPECT_EQ(lettering.table().toHost("D:\\"), "/media/u/CARD");
    auto withOther = before;
    withOther.push_back(volume("tmpfs", "/media/u/OTHER", "tmpfs", 42));
    ASSERT_TRUE(lettering.update(withOther));
    EXPECT_EQ(lettering.table().toHost("E:\\"), "/media/u/OTHER");

    // The first card back at its place takes D: back; a second view of it gets no letter, but
    // another volume of the same kind is no second view.
    probe.asked.clear();
    withOther.push_back(volume("tmpfs", "/media/u/CARD", "tmpfs", 43));
    withOther.push_back(volume("tmpfs", "/media/u/AGAIN", "tmpfs", 43));
    ASSERT_TRUE(lettering.update(withOther));
    EXPECT_EQ(probe.asked, std::vector<std::string>{"/media/u/CARD"});
    EXPECT_EQ(lettering.table().toHost("D:\\"), "/media/u/CARD");
    EXPECT_EQ(lettering.table().drives().size(), 3u);
}

TEST(VolumeProbe, AHungVolumeIsSilentWithinTheLimitAndHoldsOneThread) {
    std::promise<void> unblock;
    std::shared_future<void> unblocked = unblock.get_future().share();
    std::atomic<int> questions = 0;
    const StatCall hanging = [&](const char* path, struct stat* info) {
        ++questions;
        if (std::string(path) == "/hung") {
            unblocked.wait();
        }
        return ::stat("/", info);
    };
    const auto started = std::chrono::steady_clock::now();
    const auto answers = probeVolumes({"/hung", "/fine"}, std::chrono::milliseconds(200), hanging);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    EXPECT_EQ(answers[0].kind, VolumeAnswer::Kind::Silent);
    EXPECT_EQ(answers[1].kind, VolumeAnswer::Kind::Answered);
    EXPECT_TRUE(answers[1].folder);
    // Asked again while the first question hangs: silent at once, not asked a second time.
    EXPECT_EQ(probeVolumes({"/hung"}, std::chrono::seconds(5), hanging)[0].kind,
              VolumeAnswer::Kind::Silent);
    EXPECT_EQ(questions, 2);
    unblock.set_value();
    // Once it has answered, it is asked as any other volume.
    VolumeAnswer later;
    for (int i = 0; i < 500 && later.kind != VolumeAnswer::Kind::Answered; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        later = probeVolumes({"/hung"}, std::chrono::seconds(5), hanging)[0];
    }
    EXPECT_EQ(later.kind, VolumeAnswer::Kind::Answered);
    EXPECT_EQ(probeVolumes({"/no/such/root"})[0].error, ENOENT);
}

// A window's command and a listing's thread may ask the same card at once: neither is told
// that it does not answer.
TEST(VolumeProbe, CallersAskingTheSameRootAtOnceShareItsAnswer) {
    const StatCall slow = [](const char*, struct stat* info) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return ::stat("/", info);
    };
    std::vector<VolumeAnswer> other;
    std::thread second([&] { other = probeVolumes({"/slow"}, std::chrono::seconds(5), slow); });
    const auto answers = probeVolumes({"/slow"}, std::chrono::seconds(5), slow);
    second.join();
    EXPECT_EQ(answers[0].kind, VolumeAnswer::Kind::Answered);
    EXPECT_EQ(other[0].kind, VolumeAnswer::Kind::Answered);
}

// The watcher reads a mount table of the test's own here, as it reads the kernel's; the kernel's
// own signal of a change is exercised with a real mount by the main window's tests.
TEST(MountWatcher, LettersAVolumeMountedLaterAndInstallsTheTableOnItsOwnersThread) {
    test::TempDir dir;
    dir.makeFolder("media/CARD");
    const std::string table = dir.host("mountinfo");
    std::ofstream(table) << "1 0 8:1 / / rw - ext4 /dev/vda1 rw\n";
    test::TestDrives drives;
    drives.map('C', dir.path());
    MountWatcher watcher(
        DriveLettering(*activeDriveTable(), readMountedVolumes(table), {{dir.host("media")}}),
        table);
    int changes = 0;
    QObject::connect(&watcher, &MountWatcher::drivesChanged, [&] {
        EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
        ++changes;
    });
    std::ofstream(table, std::ios::app)
        << "2 1 0:99 / " << dir.host("media/CARD") << " rw - vfat /dev/sdz1 rw\n";
    watcher.rescan();
    ASSERT_TRUE(QTest::qWaitFor([&] { return changes == 1; }));
    EXPECT_EQ(activeDriveTable()->toHost("D:\\"), dir.host("media/CARD"));
    EXPECT_EQ(activeDriveTable()->toHost("C:\\"), dir.path());
    watcher.rescan();  // nothing new: no change is reported
    QTest::qWait(100);
    EXPECT_EQ(changes, 1);
}

}  // namespace
}  // namespace pictaria
