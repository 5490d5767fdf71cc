# Install rules (GNUInstallDirs) and the Debian package (`make package`, CPack).
set(WV_DESKTOP ${CMAKE_SOURCE_DIR}/resources/desktop)
set(WV_APP_ID io.github.wirevane.Wirevane)

install(TARGETS wirevane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${WV_DESKTOP}/${WV_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${WV_DESKTOP}/${WV_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 48 64 128 256)
    install(FILES ${WV_DESKTOP}/icons/${WV_APP_ID}-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${WV_APP_ID}.png)
endforeach()
install(FILES ${WV_DESKTOP}/icons/${WV_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The package's documents: the copyright file and the compressed changelog Debian wants.
set(WV_CHANGELOG_GZ ${CMAKE_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${WV_CHANGELOG_GZ}
    COMMAND gzip -9nc ${WV_DESKTOP}/debian/changelog > ${WV_CHANGELOG_GZ}
    DEPENDS ${WV_DESKTOP}/debian/changelog VERBATIM)
add_custom_target(wirevane_changelog ALL DEPENDS ${WV_CHANGELOG_GZ})
install(FILES ${WV_DESKTOP}/debian/copyright ${WV_CHANGELOG_GZ}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/wirevane)
set(WV_MAN_GZ ${CMAKE_BINARY_DIR}/wirevane.1.gz)
add_custom_command(OUTPUT ${WV_MAN_GZ}
    COMMAND gzip -9nc ${WV_DESKTOP}/wirevane.1 > ${WV_MAN_GZ}
    DEPENDS ${WV_DESKTOP}/wirevane.1 VERBATIM)
add_custom_target(wirevane_manpage ALL DEPENDS ${WV_MAN_GZ})
install(FILES ${WV_MAN_GZ} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wirevane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Wirevane team <wirevane@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tells whether this computer is online and keeps a log")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/wirevane/wirevane)
set(CPACK_PACKAGE_DESCRIPTION
    "Wirevane sits in the notification area as an icon whose picture and tooltip\n\
show whether the computer is connected to the internet right now, and keeps a\n\
log of when it started and stopped and when the computer went online and\n\
offline.")
# Libraries from dpkg-shlibdeps; the Wayland platform plugin is wanted, not needed.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
