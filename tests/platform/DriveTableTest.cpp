// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/DriveTable.h"
#include "platform/FileServices.h"
#include "platform/MountTable.h"
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

MountedVolume volume(std::string device, std::string mountPoint, std::string type) {
    return {std::move(device), std::move(mountPoint), std::move(type)};
}

TEST(MountTable, ClassifiesWithoutTouchingTheVolumes) {
    // The server does not exist: classification must not need it.
    EXPECT_EQ(classifyVolume(volume("deadhost:/export", "/mnt/nfs", "nfs4")), DriveType::Remote);
    EXPECT_EQ(classifyVolume(volume("//srv/share", "/mnt/smb", "cifs")), DriveType::Remote);
    EXPECT_EQ(classifyVolume(volume("/dev/sr0", "/media/u/DISC", "iso9660")), DriveType::CdRom);
    EXPECT_EQ(classifyVolume(volume("tmpfs", "/tmp", "tmpfs")), DriveType::RamDisk);
    EXPECT_EQ(classifyVolume(volume("/dev/sdb1", "/media/u/CARD", "vfat")), DriveType::Removable);
    EXPECT_EQ(classifyVolume(volume("proc", "/proc", "proc")), DriveType::Unknown);
}

TEST(MountTable, RootIsCAndNetworkMountsNeverBecomeGridDrives) {
    test::TempDir media;
    media.makeFolder("CARD");
    const auto table = buildDriveTable({volume("/dev/vda1", "/", "ext4"),
                                        volume("deadhost:/export", "/mnt/nfs", "nfs4"),
                                        volume("/dev/sdz1", media.host("CARD"), "exfat")});
    EXPECT_EQ(table.typeOf("C:\\"), DriveType::Fixed);
    EXPECT_EQ(table.toHost("C:\\"), "/");
    // A local disk takes the first free letter; the network mount comes after, as remote.
    EXPECT_EQ(table.toHost("D:\\"), media.host("CARD"));
    EXPECT_EQ(table.typeOf("D:\\"), DriveType::Fixed);
    EXPECT_EQ(table.toHost("E:\\"), "/mnt/nfs");
    EXPECT_EQ(table.typeOf("E:\\"), DriveType::Remote);
}

}  // namespace
}  // namespace pictaria
