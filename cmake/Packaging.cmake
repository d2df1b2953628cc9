# SPDX-License-Identifier: GPL-3.0-or-later
# `cpack` in a build folder makes pictaria_<version>-<release>_<arch>.deb of what the install
# rules (cmake/Install.cmake) put in place, below /usr. Make it from a release build without
# the tests: scripts/package.sh.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pictaria)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tool to sort photographs into folders")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "With ピクタリア one person sorts photographs into folders: open a\n"
    "source folder, look at each picture large, tick the ones to sort, pick\n"
    "a destination on a grid of drives and folders, and copy, move or delete\n"
    "the ticked files in one action. Existing files are never overwritten,\n"
    "moves are all or nothing, and deleted folders go to the trash.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${PICTARIA_DEBIAN_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${PICTARIA_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Library dependencies come from dpkg-shlibdeps; the Japanese interface needs a font with kana
# and kanji, which no library names.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
