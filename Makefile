# Thin wrapper over CMake. `make demo` builds the DLLs and the replacement host's programs and
# runs the plug-in in the host under Wine; `make test` builds everything and runs every test;
# `make dist` builds the release package. All of them install the Debian packages they need
# first. Every tree builds quietly with one line of its own (scripts/build_tree.sh).
JOBS ?= 2
BUILD ?= build
export JOBS
MAKEFLAGS += --no-print-directory

TREE := bash scripts/build_tree.sh
# A toolchain file is taken at a tree's first configure only.
MINGW32 := -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release
MINGW64 := -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
MINGW32_TESTS := -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686-tests.cmake -DCMAKE_BUILD_TYPE=Release
I386_READY := bash -c 'source scripts/i386_env.sh && i386_env_ready >/dev/null'

.PHONY: all setup native asan win32 win64 win32-tests host test demo dist bench soak clean \
    fuzz-build fuzz

all: native win32

setup:
	@bash scripts/setup.sh

native: setup
	@$(TREE) $(BUILD)/native "native (portable core, unit tests)" -- -DCMAKE_BUILD_TYPE=Debug

asan: setup
	@$(TREE) $(BUILD)/asan "asan (unit tests with sanitizers)" -- \
	    -DCMAKE_BUILD_TYPE=Debug -DTARNWICK_SANITIZE=ON

# The product: the 32-bit tarnwick.dll.
WIN32_TREE = $(TREE) $(BUILD)/win32 "win32 (product DLL)" -- $(MINGW32)
win32: setup
	@$(WIN32_TREE)

# The 64-bit twin with the replacement host, its demo programs and the Wine tests.
win64: setup
	@$(TREE) $(BUILD)/win64 "win64 (64-bit twin, host, Wine tests)" -- $(MINGW64) \
	    -DTARNWICK_HOST=ON -DTARNWICK_WINE_TESTS=ON

# The replacement host and the Wine tests built for 32-bit: they load the product DLL of
# $(BUILD)/win32 under 32-bit Wine in the emulated i386 environment.
win32-tests: setup
	@$(TREE) $(BUILD)/win32-tests "win32-tests (32-bit host, Wine tests)" -- $(MINGW32_TESTS) \
	    -DTARNWICK_HOST=ON -DTARNWICK_WINE_TESTS=ON

# The replacement host and the programs the demo runs, without the tests: the 64-bit twin
# with the host and the tours, and where this machine runs 32-bit code the 32-bit host (in
# the trees of win64 and win32-tests).
HOST_TREE = $(TREE) $(BUILD)/win64 "win64 (64-bit twin, host, demo programs)" \
    --target demo_programs -- $(MINGW64) -DTARNWICK_HOST=ON
HOST32_TREE = if $(I386_READY); then $(TREE) $(BUILD)/win32-tests "win32-tests (32-bit host)" \
    --target corvane32 -- $(MINGW32_TESTS) -DTARNWICK_HOST=ON; fi
host: setup
	@$(HOST_TREE)
	@$(HOST32_TREE)

# libFuzzer targets over the portable core (clang); `make fuzz` fuzzes each for
# FUZZ_SECONDS (default 180) and keeps what it finds in $(BUILD)/fuzz/corpus.
fuzz-build: setup
	@$(TREE) $(BUILD)/fuzz "fuzz (libFuzzer targets)" -- -DCMAKE_CXX_COMPILER=clang++-14 \
	    -DCMAKE_BUILD_TYPE=Debug -DTARNWICK_FUZZ=ON

fuzz: fuzz-build
	@bash scripts/fuzz.sh run $(BUILD)/fuzz

test: native asan win32 win64 win32-tests fuzz-build
	@bash scripts/run_tests.sh $(BUILD)

# Only what the demo runs: the DLLs, the 64-bit programs of the tours and, where this machine
# runs 32-bit code, the 32-bit host for the retrievals. An incomplete 32-bit environment is
# prepared while the 64-bit side builds; its lines follow once it is done.
demo:
	@bash scripts/setup.sh --demo $(BUILD)
	@$(WIN32_TREE)
	@$(HOST_TREE)
	@bash scripts/setup.sh --wait $(BUILD)
	@$(HOST32_TREE)
	@bash scripts/demo.sh $(BUILD)/win32 $(BUILD)/win64 $(BUILD)/win32-tests

# The release package: dist/tarnwick-<version>.zip with the 32-bit DLL and the Japanese
# readme; the version is the one of src/base/version.h.
DIST_VERSION = $(shell bash scripts/version.sh)
dist: win32
	@bash scripts/make_dist.sh $(BUILD)/win32 $(DIST_VERSION)

bench: setup
	@$(TREE) $(BUILD)/release "release (benchmarks)" --target tarnwick_bench -- \
	    -DCMAKE_BUILD_TYPE=Release
	@$(BUILD)/release/tests/bench/tarnwick_bench

# The long day: one process with the plug-in loaded runs a day's work (20 retrievals of 1,000
# messages, 2,000 folder menus, 400 corrections, every window 50 times) and prints what the
# process holds after each round; SOAK_ROUNDS shortens it (a day is 10).
SOAK_ROUNDS ?= 10
soak: setup
	@$(TREE) $(BUILD)/win64 "win64 (64-bit twin, long-day program)" --target long_day -- \
	    $(MINGW64) -DTARNWICK_HOST=ON -DTARNWICK_WINE_TESTS=ON
	@bash scripts/soak.sh $(BUILD)/win64 $(SOAK_ROUNDS)

clean:
	rm -rf $(BUILD) dist
