# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# Desktop shell: tray icon and its notification-area service, the application object, the
# hyperlink label, the About and Help windows, and the program's pictures.
target_sources(wirevane_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/TrayService.h
    ${CMAKE_CURRENT_LIST_DIR}/Colours.cpp ${CMAKE_CURRENT_LIST_DIR}/Colours.h
    ${CMAKE_CURRENT_LIST_DIR}/Application.cpp ${CMAKE_CURRENT_LIST_DIR}/Application.h
    ${CMAKE_CURRENT_LIST_DIR}/TrayIcon.cpp ${CMAKE_CURRENT_LIST_DIR}/TrayIcon.h
    ${CMAKE_CURRENT_LIST_DIR}/URLLabel.cpp ${CMAKE_CURRENT_LIST_DIR}/URLLabel.h
    ${CMAKE_CURRENT_LIST_DIR}/uniabout.cpp ${CMAKE_CURRENT_LIST_DIR}/uniabout.h
    ${CMAKE_CURRENT_LIST_DIR}/uniHelp.cpp ${CMAKE_CURRENT_LIST_DIR}/uniHelp.h
    ${CMAKE_SOURCE_DIR}/resources/uniabout.ui
    ${CMAKE_SOURCE_DIR}/resources/uniHelp.ui
    ${CMAKE_SOURCE_DIR}/resources/wirevane.qrc)
# The History page's chart and layout.
target_sources(wirevane_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/HistoryView.cpp ${CMAKE_CURRENT_LIST_DIR}/HistoryView.h)
