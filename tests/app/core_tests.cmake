# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# Tests of the application core's platform pieces.
wv_add_test(test_app_core
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/test_ini.cpp
        ${CMAKE_CURRENT_LIST_DIR}/test_autostart.cpp
        ${CMAKE_CURRENT_LIST_DIR}/test_formats.cpp
        ${CMAKE_CURRENT_LIST_DIR}/test_file_locations.cpp
        ${CMAKE_CURRENT_LIST_DIR}/test_shutdown_signals.cpp
        ${CMAKE_CURRENT_LIST_DIR}/test_instance_lock.cpp
        ${CMAKE_CURRENT_LIST_DIR}/test_ini_update.cpp
        ${CMAKE_CURRENT_LIST_DIR}/test_display_loss.cpp
    LIBS wirevane_core)
# The verdict of the three ways over a fake probe.
wv_add_test(test_connection_verdict
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_connection_verdict.cpp
        ${CMAKE_SOURCE_DIR}/tests/support/FakeInternetProbe.h
    LIBS wirevane_core)
# The connection's history computed from hand-made logs.
wv_add_test(test_history
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/test_history.cpp
        ${CMAKE_CURRENT_LIST_DIR}/test_clock_watch.cpp
        ${CMAKE_CURRENT_LIST_DIR}/test_history_report.cpp
    LIBS wirevane_core)
