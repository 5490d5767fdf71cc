# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
# The two commands of the project: `make run` starts Wirevane, `make test` runs every test.
# Both install the Debian packages that are missing, then configure and build into build/.
BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
WERROR     ?= $(if $(CI),ON,OFF)
CTEST_ARGS ?=

.PHONY: all deps configure build run test soak bench fuzz format clean package check-package asan

all: build

deps:
	@tools/ensure-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DWV_WERROR=$(WERROR) >/dev/null

build: configure
	@cmake --build $(BUILD)

run: build
	@tools/run.sh $(BUILD)/wirevane

test: build
	@cd $(BUILD) && ctest --output-on-failure --timeout 600 $(CTEST_ARGS)

# The reliability trials with long counts (kills, signals, full disk).
soak: build
	@cd $(BUILD) && WV_SOAK=1 ctest --output-on-failure -L reliability --timeout 7200 $(CTEST_ARGS)

# Everything again with AddressSanitizer and UndefinedBehaviorSanitizer, in its own build folder,
# and the whole test suite there; any finding fails. The fuzz smoke test is left out: it builds
# its own sanitized fuzzers and would only repeat itself here.
ASAN_BUILD ?= $(BUILD)-asan
asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWV_WERROR=$(WERROR) \
		-DWV_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD)
	@cd $(ASAN_BUILD) && \
		ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:exitcode=86 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan.supp:print_suppressions=0 \
		ctest --output-on-failure --timeout 900 -LE fuzz $(CTEST_ARGS)

bench: build
	@tools/bench.sh $(BUILD)

fuzz: deps
	@tools/fuzz.sh build $(BUILD)-fuzz

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD) $(BUILD)-fuzz $(BUILD)-asan

# The Debian package, built by dpkg-buildpackage from debian/ in a copy of the tree (only the
# program, no tests): build/wirevane_<version>_<arch>.deb.
package: deps
	@tools/package.sh $(BUILD)

# The package checked as Debian would: lintian, hardening-check, its files, and a second build
# in another folder that must give the same bytes.
check-package: configure
	@cmake --build $(BUILD) --target wirevane
	@bash tests/install/package.sh --full $(BUILD)
