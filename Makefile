# The two commands of the project: `make run` starts Wirevane, `make test` runs every test.
# Both install the Debian packages that are missing, then configure and build into build/.
BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
WERROR     ?= $(if $(CI),ON,OFF)
CTEST_ARGS ?=

.PHONY: all deps configure build run test soak bench fuzz format clean package

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

bench: build
	@tools/bench.sh $(BUILD)

fuzz: deps
	@tools/fuzz.sh build $(BUILD)-fuzz

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD) $(BUILD)-fuzz

# The Debian package: build/wirevane_<version>_<arch>.deb.
package: build
	@cd $(BUILD) && cpack -G DEB
