# Installation into the standard desktop locations and the Debian package (CPack, DEB).
#   cmake --install <build> --prefix /usr/local     installs the program and its desktop files
#   cpack -G DEB --config <build>/CPackConfig.cmake builds ordalvex_<version>_<arch>.deb

include(GNUInstallDirs)

set(ORDALVEX_APP_ID "org.ordalvex.Ordalvex")
set(ORDALVEX_PACKAGING_DIR "${PROJECT_SOURCE_DIR}/packaging")

# The program reports the project's version (--version); one place to change it.
target_compile_definitions(ordalvex PRIVATE ORDALVEX_VERSION="${PROJECT_VERSION}")
install(TARGETS ordalvex RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
target_compile_definitions(ordalvex-cnc PRIVATE ORDALVEX_VERSION="${PROJECT_VERSION}")
install(TARGETS ordalvex-cnc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# One manual page per program.
install(FILES "${ORDALVEX_PACKAGING_DIR}/ordalvex.1" "${ORDALVEX_PACKAGING_DIR}/ordalvex-cnc.1"
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES "${ORDALVEX_PACKAGING_DIR}/${ORDALVEX_APP_ID}.desktop"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES "${ORDALVEX_PACKAGING_DIR}/${ORDALVEX_APP_ID}.metainfo.xml"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# shared-mime-info reads every file of mime/packages; the name only has to be unique.
install(FILES "${ORDALVEX_PACKAGING_DIR}/${ORDALVEX_APP_ID}.mime.xml"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME ${ORDALVEX_APP_ID}.xml)
install(FILES "${ORDALVEX_PACKAGING_DIR}/icons/ordalvex.svg"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES "${ORDALVEX_PACKAGING_DIR}/icons/${size}x${size}/ordalvex.png"
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Debian package. Library dependencies come from dpkg-shlibdeps (the Qt 6 libraries the
# program links, with the versions their symbols need); what is loaded at run time and so is
# invisible to it is named here: the platform plugins, Qt's Polish translation of its
# standard buttons and dialogs, and a fixed-pitch face with the metrics of the editor's default
# "Courier New" (fontconfig offers it under that name).
set(ORDALVEX_PACKAGE_CONTACT "Ordalvex maintainers <maintainers@ordalvex.invalid>" CACHE STRING
    "Maintainer field of the Debian package")

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "ordalvex")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Ordalvex")
set(CPACK_PACKAGE_CONTACT "${ORDALVEX_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor for CNC machining programs")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Ordalvex edits the part programs of CNC machine tools and colours every\n"
       "address word by its kind. Around the editor stand block renumbering,\n"
       "decimal points and spaces between words, a file browser that finds\n"
       "programs by their comments, an RS232 terminal and four workshop\n"
       "calculators. The interface is in Polish; program files are Windows-1250\n"
       "text with CR LF line ends. Also contains ordalvex-cnc, the same\n"
       "operations for scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_SECTION "editors")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
