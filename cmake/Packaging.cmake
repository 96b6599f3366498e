# Installing and packaging. `cmake --build build --target package` writes
# build/coinwick_<version>_<arch>.deb: the two executables in /usr/bin, their .xls reading
# helper in /usr/lib/coinwick, the delivered data file and the chime in /usr/share/coinwick
# (the first start copies them into the user's data folder), the desktop entry, the icon at
# the usual sizes and the AppStream metadata.
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

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME coinwick)
set(CPACK_PACKAGE_VENDOR "Coinwick")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Coinwick记账软件 - household bookkeeping")
set(CPACK_PACKAGE_DESCRIPTION
    "A household keeps password-protected books of income, expenses, transfers, debts,\
 credits and investments, with a fund-flow journal, reports, spreadsheet export and printing.\
 The books live in the user's data folder (~/.local/share/Coinwick).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Coinwick <coinwick@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION office)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends from the linked libraries, plus what the program loads by name: the font of its
# Chinese screens and the Chinese texts of Qt's own dialogs. The chime needs a GStreamer mp3
# decoder, which the program can do without.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-plugins-good")
include(CPack)
