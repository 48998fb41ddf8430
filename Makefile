# Thin wrapper over CMake. `make demo` runs the plug-in in the replacement host under Wine;
# `make test` runs every test; `make dist` builds the release package. All of them install
# the Debian packages they need first.
JOBS ?= 2
BUILD ?= build
MAKEFLAGS += --no-print-directory

.PHONY: all setup native asan win32 win64 win32-tests test demo dist bench clean fuzz-build fuzz

all: native win32

setup:
	@bash scripts/setup.sh

native: setup
	@cmake -S . -B $(BUILD)/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(BUILD)/native -j$(JOBS)

asan: setup
	@cmake -S . -B $(BUILD)/asan -DCMAKE_BUILD_TYPE=Debug -DTARNWICK_SANITIZE=ON >/dev/null
	@cmake --build $(BUILD)/asan -j$(JOBS)

# A toolchain file is only taken at the first configure, so later runs leave it out.
win32: setup
	@[ -f $(BUILD)/win32/CMakeCache.txt ] || cmake -S . -B $(BUILD)/win32 \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD)/win32 -j$(JOBS)

win64: setup
	@[ -f $(BUILD)/win64/CMakeCache.txt ] || cmake -S . -B $(BUILD)/win64 \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
	    -DTARNWICK_WINE_TESTS=ON >/dev/null
	@cmake --build $(BUILD)/win64 -j$(JOBS)

# The replacement host and the Wine tests built for 32-bit: they load the product DLL of
# $(BUILD)/win32 under 32-bit Wine in the emulated i386 environment.
win32-tests: setup
	@[ -f $(BUILD)/win32-tests/CMakeCache.txt ] || cmake -S . -B $(BUILD)/win32-tests \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686-tests.cmake -DCMAKE_BUILD_TYPE=Release \
	    -DTARNWICK_WINE_TESTS=ON >/dev/null
	@cmake --build $(BUILD)/win32-tests -j$(JOBS)

# libFuzzer targets over the portable core (clang); `make fuzz` fuzzes each for
# FUZZ_SECONDS (default 180) and keeps what it finds in $(BUILD)/fuzz/corpus.
fuzz-build: setup
	@cmake -S . -B $(BUILD)/fuzz -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=Debug \
	    -DTARNWICK_FUZZ=ON >/dev/null
	@cmake --build $(BUILD)/fuzz -j$(JOBS)

fuzz: fuzz-build
	@bash scripts/fuzz.sh run $(BUILD)/fuzz

test: native asan win32 win64 win32-tests fuzz-build
	@bash scripts/run_tests.sh $(BUILD)

demo: win32 win64 win32-tests
	@bash scripts/demo.sh $(BUILD)/win32 $(BUILD)/win64 $(BUILD)/win32-tests

# The release package: dist/tarnwick-0.30.zip with the 32-bit DLL and the Japanese readme.
DIST_VERSION := 0.30
dist: win32
	@bash scripts/make_dist.sh $(BUILD)/win32 $(DIST_VERSION)

bench: setup
	@cmake -S . -B $(BUILD)/release -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD)/release -j$(JOBS) --target tarnwick_bench
	@$(BUILD)/release/tests/bench/tarnwick_bench

clean:
	rm -rf $(BUILD) dist
