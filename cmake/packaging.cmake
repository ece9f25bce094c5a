# Installing the program and packaging it: a .deb through CPack on Linux. The Windows zip and
# installer are made by scripts/windows from the cross build.
include(GNUInstallDirs)

install(TARGETS varnoth RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(NOT UNIX)
    return()
endif()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/linux/varnoth.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/varnoth.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/varnoth.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps RENAME varnoth.png)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varnoth)
set(CPACK_PACKAGE_VENDOR Varnoth)
set(CPACK_PACKAGE_CONTACT "Varnoth developers <varnoth@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop ledger for a Thai lottery bookmaker")
set(CPACK_PACKAGE_DESCRIPTION
    "Varnoth keeps the book of bets on the Thai two- and three-digit lottery draws: fast entry,\nover-limit send-out, cuts, the prize check, reports, backup and printing. Thai interface.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The shared libraries are found by dpkg-shlibdeps; the screen plugins and the Thai fonts are
# loaded at run time and named here.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, fonts-thai-tlwg | fonts-tlwg-garuda, tesseract-ocr-tha, tesseract-ocr-eng")
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_SOURCE_DIR}/dist)
include(CPack)
