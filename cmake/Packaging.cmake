# Installing and packaging. `cmake --build build --target package` writes
# build/coinwick_<version>_<arch>.deb: the two executables in /usr/bin, their .xls reading
# helper in /usr/lib/coinwick, the delivered data file and the chime in /usr/share/coinwick
# (the first start copies them into the user's data folder), the desktop entry, the icon at
# the usual sizes, the AppStream metadata, the manual pages, the manual, and the copyright and
# changelog files in /usr/share/doc/coinwick.
include(GNUInstallDirs)

set(COINWICK_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(COINWICK_APP_ID org.coinwick.Coinwick)

install(TARGETS coinwick coinwick-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The .xls reading helper is started by the program, never by the user: a private helper in
# lib/coinwick (not the multiarch library folder), which the executables find as
# ../lib/coinwick beside them.
install(TARGETS coinwick-xls RUNTIME DESTINATION lib/coinwick)
# The executables find this folder as ../share/coinwick, so an unpacked package works too.
install(FILES ${COINWICK_PROGRAM_DIR}/Data/db.kbk ${CMAKE_SOURCE_DIR}/data/1.mp3
        DESTINATION ${CMAKE_INSTALL_DATADIR}/coinwick)
install(FILES ${COINWICK_PACKAGING_DIR}/${COINWICK_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${COINWICK_PACKAGING_DIR}/${COINWICK_APP_ID}.metainfo.xml
               ${CMAKE_BINARY_DIR}/generated/${COINWICK_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/generated/${COINWICK_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${COINWICK_PACKAGING_DIR}/icons/coinwick.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${COINWICK_PACKAGING_DIR}/icons/coinwick-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME coinwick.png)
endforeach()

# The manual pages are made from what the executables print for --help (cmake/ManPage.cmake),
# so they always describe the options and verbs of the very build they ship with.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(COINWICK_MAN_DIR ${CMAKE_BINARY_DIR}/man)
set(COINWICK_MAN_PAGES "")
foreach(program coinwick coinwick-cli)
  add_custom_command(
    OUTPUT ${COINWICK_MAN_DIR}/${program}.1 ${COINWICK_MAN_DIR}/${program}.1.gz
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${program}> -DNAME=${program}
            -DVERSION=${PROJECT_VERSION} -DOUT=${COINWICK_MAN_DIR}/${program}.1
            -DGZIP=${GZIP_PROGRAM} -P ${CMAKE_SOURCE_DIR}/cmake/ManPage.cmake
    DEPENDS ${program} ${CMAKE_SOURCE_DIR}/cmake/ManPage.cmake
    COMMENT "Writing the manual page ${program}(1)")
  list(APPEND COINWICK_MAN_PAGES ${COINWICK_MAN_DIR}/${program}.1.gz)
endforeach()

# The Debian changelog's newest entry must be this version: a version raised without a word in
# the changelog stops the configuration here rather than shipping a package that contradicts
# itself.
set(COINWICK_CHANGELOG ${COINWICK_PACKAGING_DIR}/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${COINWICK_CHANGELOG})
file(STRINGS ${COINWICK_CHANGELOG} COINWICK_CHANGELOG_HEAD LIMIT_COUNT 1)
if(NOT COINWICK_CHANGELOG_HEAD MATCHES "^coinwick \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog does not start with version ${PROJECT_VERSION}")
endif()
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/generated/changelog.gz
  COMMAND ${GZIP_PROGRAM} -9nc ${COINWICK_CHANGELOG} > ${CMAKE_BINARY_DIR}/generated/changelog.gz
  DEPENDS ${COINWICK_CHANGELOG})
add_custom_target(package_docs ALL DEPENDS ${COINWICK_MAN_PAGES}
                                           ${CMAKE_BINARY_DIR}/generated/changelog.gz)

install(FILES ${COINWICK_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${COINWICK_PACKAGING_DIR}/copyright ${CMAKE_BINARY_DIR}/generated/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/coinwick)
# The manual lives with the program's data, not under /usr/share/doc, which minimal systems
# leave out: 帮助 must work wherever the program does.
install(DIRECTORY ${COINWICK_HELP_SOURCE_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/coinwick/help)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME coinwick)
set(CPACK_PACKAGE_VENDOR "Coinwick")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Coinwick记账软件 - household bookkeeping")
# The summary comes first; then lines of at most 80 characters, as a package description's
# extended lines must be.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A household keeps password-protected books of income, expenses, transfers,
debts, credits and investments, with a fund-flow journal, reports, spreadsheet
export and printing. The books live in the user's data folder
(~/.local/share/Coinwick). coinwick-cli does the same work without a screen,
for scripts and scheduled backups.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Coinwick developers <dev@coinwick.cn>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.coinwick.cn/")
# Depends from the linked libraries, plus what the program loads by name: the font of its
# Chinese screens and the Chinese texts of Qt's own dialogs. The chime needs a GStreamer mp3
# decoder, which the program can do without.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-plugins-good")
include(CPack)
