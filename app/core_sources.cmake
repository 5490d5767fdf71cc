# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# Platform pieces of the application core: start-up value routines and formats.
target_sources(wirevane_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/StartupValue.cpp ${CMAKE_CURRENT_LIST_DIR}/StartupValue.h
    ${CMAKE_CURRENT_LIST_DIR}/Formats.cpp ${CMAKE_CURRENT_LIST_DIR}/Formats.h)
