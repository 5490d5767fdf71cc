# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# Install rules (GNUInstallDirs). The Debian package is built from debian/ by
# dpkg-buildpackage (`make package`), which runs these rules and adds the copyright file and the
# changelog itself.
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
install(FILES ${WV_DESKTOP}/wirevane.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
