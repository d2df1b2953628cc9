# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts below the prefix:
#   bin/pictaria                                               the program
#   lib/pictaria/Tevrolan.dll                                  its own library
#   share/applications/org.pictaria.Pictaria.desktop           the desktop entry
#   share/icons/hicolor/scalable/apps/org.pictaria.Pictaria.svg
#   share/metainfo/org.pictaria.Pictaria.metainfo.xml          for software centres
#   share/man/man1/pictaria.1.gz
#   share/doc/pictaria/copyright, changelog.Debian.gz
# The program looks for its library in <its own folder>/../lib/pictaria (programLibraryFolder()
# in src/aids/SystemFolderLibrary.cpp), so these two folders are fixed here rather than taken
# from GNUInstallDirs, whose libdir is lib/x86_64-linux-gnu on a multiarch system. The build tree
# has the same layout.

set(PICTARIA_DEBIAN_RELEASE 1)
set(PICTARIA_MAINTAINER "ピクタリアの作者 <pictaria@example.org>"
    CACHE STRING "Maintainer named in the Debian package")

install(TARGETS pictaria RUNTIME DESTINATION bin)
install(TARGETS Tevrolan LIBRARY DESTINATION lib/pictaria)

set(data ${PROJECT_SOURCE_DIR}/data)
install(FILES ${data}/${PICTARIA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${data}/${PICTARIA_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${data}/${PICTARIA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${data}/debian/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The manual page and the changelog carry the version and are installed compressed, without
# a time stamp in the gzip header so that the same sources give the same files.
set(generated ${PROJECT_BINARY_DIR}/data)
configure_file(${data}/pictaria.1.in ${generated}/pictaria.1 @ONLY)
configure_file(${data}/debian/changelog.in ${generated}/changelog.Debian @ONLY)
foreach(name pictaria.1 changelog.Debian)
    add_custom_command(OUTPUT ${generated}/${name}.gz
                       COMMAND gzip -9 -n -c ${generated}/${name} > ${generated}/${name}.gz
                       DEPENDS ${generated}/${name} VERBATIM)
endforeach()
add_custom_target(pictaria_compressed_docs ALL DEPENDS ${generated}/pictaria.1.gz
                                                       ${generated}/changelog.Debian.gz)
install(FILES ${generated}/pictaria.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${generated}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
