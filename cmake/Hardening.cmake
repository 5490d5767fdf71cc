# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# Debian's hardening flags (stack protector, fortify, format checks, relro, bindnow; PIE is the
# compiler's default) for every build, not only the package's: `make run` and the tests run the
# same code the package ships. Taken from dpkg-buildflags when it is there, so they follow the
# release; flags already given (a package build exports them) are not repeated. The path
# mapping that keeps the build folder out of the binary comes with the package build
# (debian/rules); here it would only keep debuggers from finding the sources.
option(WV_HARDENING "Build with Debian's hardening flags" ON)

function(wv_add_flags var)
    set(flags "${${var}}")
    foreach(f IN LISTS ARGN)
        string(FIND " ${flags} " " ${f} " found)
        if(found EQUAL -1)
            string(APPEND flags " ${f}")
        endif()
    endforeach()
    string(STRIP "${flags}" flags)
    set(${var} "${flags}" PARENT_SCOPE)
endfunction()

if(WV_HARDENING AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    find_program(WV_DPKG_BUILDFLAGS dpkg-buildflags)
    if(WV_DPKG_BUILDFLAGS)
        set(ENV{DEB_BUILD_MAINT_OPTIONS} "hardening=+all")
        foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
            execute_process(COMMAND ${WV_DPKG_BUILDFLAGS} --get ${kind}
                            OUTPUT_VARIABLE wv_${kind} OUTPUT_STRIP_TRAILING_WHITESPACE)
            separate_arguments(wv_${kind} UNIX_COMMAND "${wv_${kind}}")
        endforeach()
        # Optimisation, debug information and the path mapping come from the build type and
        # below; the rest are the hardening flags.
        list(FILTER wv_CXXFLAGS EXCLUDE REGEX "^-O|^-g|^-ffile-prefix-map|^-fdebug-prefix-map")
    else()
        set(wv_CPPFLAGS -D_FORTIFY_SOURCE=2)
        set(wv_CXXFLAGS -fstack-protector-strong -Wformat -Werror=format-security)
        set(wv_LDFLAGS -Wl,-z,relro -Wl,-z,now)
    endif()
    # Fortify needs optimisation; a Debug build would only warn about it.
    if(NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
        wv_add_flags(CMAKE_CXX_FLAGS ${wv_CPPFLAGS})
    endif()
    wv_add_flags(CMAKE_CXX_FLAGS ${wv_CXXFLAGS})
    wv_add_flags(CMAKE_EXE_LINKER_FLAGS ${wv_LDFLAGS})
    wv_add_flags(CMAKE_SHARED_LINKER_FLAGS ${wv_LDFLAGS})
endif()
