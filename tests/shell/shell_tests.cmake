# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
wv_add_test(test_shell
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/test_TrayIcon.cpp
        ${CMAKE_CURRENT_LIST_DIR}/test_TrayIcon_hosts.cpp
        ${CMAKE_CURRENT_LIST_DIR}/test_Application.cpp
        ${CMAKE_CURRENT_LIST_DIR}/test_URLLabel.cpp
        ${CMAKE_CURRENT_LIST_DIR}/test_AboutHelp.cpp
        ${CMAKE_CURRENT_LIST_DIR}/test_MessageBox.cpp
        ${CMAKE_CURRENT_LIST_DIR}/test_Colours.cpp
        ${CMAKE_CURRENT_LIST_DIR}/test_Translations.cpp
    LIBS wirevane_ui)

# The real notification area: QSystemTrayIcon docked in trayer on a private Xvfb display.
add_executable(tray_probe ${CMAKE_CURRENT_LIST_DIR}/tray_probe.cpp)
target_link_libraries(tray_probe PRIVATE wirevane_ui)
add_test(NAME shell.RealTray
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/real_tray_test.sh $<TARGET_FILE:tray_probe>)
set_tests_properties(shell.RealTray PROPERTIES TIMEOUT 120 LABELS "x11")
add_dependencies(test_shell tray_probe)
