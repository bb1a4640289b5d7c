# SPDX-License-Identifier: GPL-3.0-or-later
# The two commands a new machine needs: `make run` and `make test`.
# Both install what is missing first (Debian packages), then configure and build: `make run` only
# the build and run packages and the game's own targets, `make test` everything.

BUILD      ?= build
BUILD_REL  ?= build-release
BUILD_FUZZ ?= build-fuzz
BUILD_ASAN ?= build-asan
JOBS       ?= $(shell nproc)
# Tests at twice the cores: the end-to-end scripts spend much of their time waiting on the X
# server and the game, and the unit tests fill those gaps.
CTEST_JOBS ?= $(shell echo $$(( $$(nproc) * 2 )))
CMAKE_GEN  := -G Ninja
# What a player needs: the game, the tracks the composer makes, the manual beside the game.
RUN_TARGETS := morvik morvik-music morvik-manual

.PHONY: all deps deps-run configure build build-run run test check-style test-unit test-asan \
	fuzz bench package clean

all: build

deps:
	@bash scripts/install-deps test

deps-run:
	@bash scripts/install-deps run

# Configured every time (a few seconds): a configure without GoogleTest or Google Benchmark
# leaves the tests or the benchmarks out, and the next one after `install-deps test` finds them.
CONFIGURE = cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps
	$(CONFIGURE)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

build-run: deps-run
	$(CONFIGURE)
	cmake --build $(BUILD) -j $(JOBS) --target $(RUN_TARGETS)

run: build-run
	$(BUILD)/bin/morvik

# clang-format on every C++ file, shellcheck on every shell script, the licence line everywhere.
check-style: deps
	bash scripts/check-style

test-unit: build
	cd $(BUILD) && ctest --output-on-failure -j $(CTEST_JOBS) --timeout 600

# libFuzzer targets, built with clang into their own folder; each runs for a bounded time.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(BUILD_FUZZ) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DMORVIK_FUZZ=ON -DMORVIK_GUI=OFF -DMORVIK_TESTS=OFF -DMORVIK_BENCH=OFF
	cmake --build $(BUILD_FUZZ) -j $(JOBS) --target fuzzers
	bash scripts/run-fuzzers $(BUILD_FUZZ)

# The whole ctest suite once more with AddressSanitizer and UBSan (no benchmarks, no package).
test-asan: deps
	cmake -S . -B $(BUILD_ASAN) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVIK_SANITIZE=ON \
	  -DMORVIK_BENCH=OFF
	cmake --build $(BUILD_ASAN) -j $(JOBS)
	cd $(BUILD_ASAN) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan-suppressions.txt:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(CTEST_JOBS) --timeout 900

# The style check first (seconds), then unit, window, end-to-end tests (the end-to-end ones under
# their own Xvfb) and a smoke run of every benchmark, fuzzing, then the sanitized run.
test: check-style test-unit fuzz test-asan

# A Debian package of the game (games/morvik, share/morvik, icons, desktop entry, metainfo) in
# $(BUILD)/package.
package: build
	cd $(BUILD) && cpack -G DEB -B $(abspath $(BUILD))/package
	@ls -1 $(BUILD)/package/*.deb

bench: deps
	cmake -S . -B $(BUILD_REL) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DMORVIK_TESTS=OFF
	cmake --build $(BUILD_REL) -j $(JOBS)
	bash scripts/run-benchmarks $(BUILD_REL)

clean:
	rm -rf $(BUILD) $(BUILD_REL) $(BUILD_FUZZ) $(BUILD_ASAN)
