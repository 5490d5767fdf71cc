# Platform pieces of the application core: settings file, Run value store, formats, signals.
target_sources(wirevane_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/IniFile.cpp ${CMAKE_CURRENT_LIST_DIR}/IniFile.h
    ${CMAKE_CURRENT_LIST_DIR}/RunKeyStore.cpp ${CMAKE_CURRENT_LIST_DIR}/RunKeyStore.h
    ${CMAKE_CURRENT_LIST_DIR}/XdgAutostartStore.cpp ${CMAKE_CURRENT_LIST_DIR}/XdgAutostartStore.h
    ${CMAKE_CURRENT_LIST_DIR}/StartupValue.cpp ${CMAKE_CURRENT_LIST_DIR}/StartupValue.h
    ${CMAKE_CURRENT_LIST_DIR}/Formats.cpp ${CMAKE_CURRENT_LIST_DIR}/Formats.h
    ${CMAKE_CURRENT_LIST_DIR}/ShutdownSignals.cpp ${CMAKE_CURRENT_LIST_DIR}/ShutdownSignals.h)
