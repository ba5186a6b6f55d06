# Tesmira: the commands a developer and CI use. See README.md.

JOBS ?= $(shell nproc)
# The main and sanitized test runs are mostly end-to-end cases waiting on the simulator's line
# (a tenth of their wall time is CPU), so two of them per core keep the cores busy.
TEST_JOBS ?= $(shell expr $(JOBS) \* 2)
FUZZ_SECONDS ?= 60
FUZZ_RUNS ?= 0
GENERATOR := -G Ninja
TYPE ?= 30
VERSION ?= 9
PREFIX ?= /usr/local

BUILD := build
ASAN_BUILD := build-asan
TSAN_BUILD := build-tsan
WINDOWS_BUILD := build-windows

CORE_ONLY := -DTESMIRA_WITH_QT=OFF -DTESMIRA_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug

.PHONY: all deps deps-main deps-later build test test-main test-asan test-tsan test-windows windows-build windows-tests \
	fuzz-build fuzz-replay fuzz run demo display bench format clean install package

all: build

# Each stage also runs alone (make test-main, make test-asan ...) and then meets its own
# prerequisites; scripts/test-stages runs them in order with TESMIRA_STAGES set, so that nothing
# is done twice.
ifndef TESMIRA_STAGES
build test-asan test-tsan windows-build fuzz-build: deps
test-main: build
endif

deps:
	@scripts/install-deps

# The two halves of deps, for the stages of make test.
deps-main:
	@scripts/install-deps main

deps-later:
	@scripts/install-deps later

build:
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

# Everything: the full build with Qt, the core again under ASan+UBSan, the link under TSan, a
# replay of the fuzz corpora, and the core built for Windows under Wine. Any failing test or
# sanitizer report fails the target; the wall time of each stage is printed at the end.
test:
	@scripts/test-stages $(MAKE) --no-print-directory

# The tests run headless; the program itself (run, demo) wants a display.
test test-main test-asan test-tsan fuzz-replay windows-tests bench: export QT_QPA_PLATFORM ?= offscreen

test-main:
	ctest --test-dir $(BUILD) --output-on-failure -j $(TEST_JOBS)

# The core and its tests under ASan+UBSan, built by clang at -O1 (as libFuzzer advises) with
# libFuzzer's coverage, so that the one build also holds the fuzz targets.
SANITIZED_CONFIGURE := CC=clang CXX=clang++ cmake -S . -B $(ASAN_BUILD) $(GENERATOR) $(CORE_ONLY) \
	-DTESMIRA_FUZZ=ON -DTESMIRA_SANITIZE=address,undefined,fuzzer-no-link -DCMAKE_CXX_FLAGS_DEBUG="-g -O1"

test-asan:
	$(SANITIZED_CONFIGURE)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(TEST_JOBS)

test-tsan:
	cmake -S . -B $(TSAN_BUILD) $(GENERATOR) $(CORE_ONLY) -DTESMIRA_TOOLS=OFF -DTESMIRA_SANITIZE=thread
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target test_link
	TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
		ctest --test-dir $(TSAN_BUILD) --output-on-failure -j $(JOBS) -R '^link\.'

# The core and its tests cross-built with mingw-w64 and run under Wine; the simulator, built
# natively, is reached through a COM port of the Wine prefix. Inside make test the main build's
# simulator is used, which the main build made already.
test-windows: windows-build windows-tests

windows-build:
	$(if $(TESMIRA_STAGES),TESMIRA_DEVSIM=$(CURDIR)/$(BUILD)/tools/tesmira-devsim) \
		scripts/test-windows build $(WINDOWS_BUILD) $(JOBS)

windows-tests:
	scripts/test-windows test $(WINDOWS_BUILD) $(JOBS)

# The fuzz targets live in the sanitized build: optimised, for unoptimised code under coverage
# instrumentation runs several times slower, but with assertions.
fuzz-build:
	$(SANITIZED_CONFIGURE)
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# Replays every seed corpus once, so a finding that was fixed stays fixed.
fuzz-replay: fuzz-build
	@set -e; for f in $(ASAN_BUILD)/tests/fuzz/fuzz_*; do \
		name=$$(basename $$f); corpus=tests/fuzz/corpus/$${name#fuzz_}; \
		echo "replay $$name on $$corpus"; $$f -runs=0 $$corpus; \
	done

# Runs every fuzzer for FUZZ_SECONDS (or FUZZ_RUNS executions, whichever ends first); new inputs
# go to .fuzz-work, the seeds stay as they are. Prints each target's executions and new coverage.
fuzz: fuzz-build
	@scripts/fuzz-all $(ASAN_BUILD) $(FUZZ_SECONDS) $(FUZZ_RUNS)

# The program, the simulator (stripped), the menu entry and the icon under PREFIX; DESTDIR is
# honoured.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX) --strip

# The Debian package of the same files, as $(BUILD)/tesmira_<version>_<arch>.deb.
package: build
	cmake --build $(BUILD) --target package

run: display build
	@$(BUILD)/src/tesmira

# The simulator (TYPE, VERSION) and the configurator connected to it, with settings of its own.
demo: display build
	@scripts/demo $(BUILD) $(TYPE) $(VERSION)

display:
	@scripts/check-display $(or $(filter run demo,$(MAKECMDGOALS)),run)

bench: build
	@set -e; for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && $$b; done

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(WINDOWS_BUILD) .fuzz-work
