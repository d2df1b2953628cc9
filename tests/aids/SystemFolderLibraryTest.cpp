// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "aids/SystemFolderLibrary.h"
#include "platform/FileServices.h"
#include "support/TempDir.h"
#include "support/TestDrives.h"

namespace pictaria {
namespace {

// A home folder whose Pictures folder holds plain, hidden and read-only folders and a file.
class SystemFolderLibraryTest : public ::testing::Test {
  protected:
    SystemFolderLibraryTest() : realHome_(std::getenv("HOME") ? std::getenv("HOME") : "") {
        drives.map('C', home.path());
        for (const char* name : {"Photos", "animals", ".cache", "Old"}) {
            home.makeFolder(std::string("Pictures/") + name);
        }
        ::chmod(home.host("Pictures/Old").c_str(), 0555);
        home.writeFile("Pictures/file.jpg", "x");
        home.writeFile(".config/user-dirs.dirs", "XDG_PICTURES_DIR=\"$HOME/Pictures\"\n");
        ::setenv("HOME", home.path().c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", home.host(".config").c_str(), 1);
    }
    ~SystemFolderLibraryTest() override {
        ::setenv("HOME", realHome_.c_str(), 1);
        ::unsetenv("XDG_CONFIG_HOME");
        ::chmod(home.host("Pictures/Old").c_str(), 0755);
    }

    test::TempDir home;
    test::TestDrives drives;

  private:
    std::string realHome_;
};

TEST_F(SystemFolderLibraryTest, OwnLibraryNamesThePicturesFolder) {
    EXPECT_EQ(systemFolderFromLibrary(TEVROLAN_PATH, 0), home.host("Pictures"));
}

// The desktop's own file decides, not a program found through PATH or the current folder; a
// Pictures folder that is the home folder itself means none is configured.
TEST_F(SystemFolderLibraryTest, PicturesFolderComesFromTheDesktopsFileOnly) {
    home.makeFolder("Fotos");
    home.writeFile(".config/user-dirs.dirs",
                   "# written by the desktop\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                   "  XDG_PICTURES_DIR=\"$HOME/Fotos\"\n");
    EXPECT_EQ(systemFolderFromLibrary(TEVROLAN_PATH, 0), home.host("Fotos"));

    home.writeFile(".config/user-dirs.dirs", "XDG_PICTURES_DIR=\"$HOME/\"\n");
    home.writeFile("bin/xdg-user-dir", "#!/bin/sh\necho /etc\n");
    ::chmod(home.host("bin/xdg-user-dir").c_str(), 0755);
    const std::string path = std::getenv("PATH");
    ::setenv("PATH", (home.host("bin") + ":" + path).c_str(), 1);
    EXPECT_EQ(systemFolderFromLibrary(TEVROLAN_PATH, 0), home.host("Pictures"));
    ::setenv("PATH", path.c_str(), 1);
}

TEST_F(SystemFolderLibraryTest, PlainSubfoldersAreAppendedAndEverythingSorted) {
    std::vector<std::string> entries{"zeta", "Beta"};
    appendSystemFolderEntries(entries, TEVROLAN_PATH, 0);
    EXPECT_EQ(entries, (std::vector<std::string>{"animals", "Beta", "Photos", "zeta"}));
    EXPECT_EQ(currentDir(), "C:\\Pictures");
}

TEST_F(SystemFolderLibraryTest, MissingOrPlantedLibraryIsNeverLoaded) {
    std::vector<std::string> entries{"kept"};
    appendSystemFolderEntries(entries, home.host("lib/Tevrolan.dll"), 0);
    EXPECT_EQ(entries, std::vector<std::string>{"kept"});

    // A library of that name in the current folder is not taken by a bare name.
    std::filesystem::copy_file(TEVROLAN_PATH, home.host("Tevrolan.dll"));
    ASSERT_EQ(::chdir(home.path().c_str()), 0);
    EXPECT_FALSE(systemFolderFromLibrary(kSystemFolderLibraryName, 0));
    EXPECT_FALSE(systemFolderFromLibrary("./Tevrolan.dll", 0));
}

TEST(SystemFolderLibrary, ProgramLibraryFolderIsBesideTheExecutable) {
    EXPECT_TRUE(programLibraryFolder().ends_with("/../lib/pictaria"));
    EXPECT_TRUE(programLibraryFolder().starts_with('/'));
}

}  // namespace
}  // namespace pictaria
