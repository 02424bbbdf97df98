# Corvane's front door. `make run` and `make test` first install what is missing
# (tools/install-deps.sh, apt-get: needs root or sudo); `make ... DEPS=` leaves that out.
# `make bench` prints the performance table; `make fuzz` runs every fuzzer for ten minutes.

SHELL := /bin/bash
DEPS ?= tools/install-deps.sh

.PHONY: all deps format-check native-test fuzz-test fuzz win32 wine-test bench test clear-skips run clean

all: native-test win32

deps:
	$(if $(DEPS),bash $(DEPS))

# Every C++ file as the root .clang-format lays it out (clang-format 14).
format-check:
	bash tools/format-check.sh

# The native layer: the core and its tests, with ASan and UBSan.
native-test: deps
	bash tools/build-native.sh

# The fuzzers, briefly: their corpus (every input that ever crashed one) and a few seconds more.
fuzz-test: deps
	bash tools/fuzz.sh --brief

# Every fuzzer for FUZZ_SECONDS (600 by default), two at a time; a table of runs and findings.
FUZZ_SECONDS ?= 600
fuzz: deps
	bash tools/fuzz.sh $(FUZZ_SECONDS)

# Corvane.exe and the Wine test programs, cross-compiled with MinGW-w64.
win32: deps
	bash tools/build-win32.sh

# The Wine layer: the real Corvane.exe under Wine, worked by the test driver.
wine-test: win32
	bash tests/wine/run.sh build/win32

# The performance table (a program, not a test): start-up, tick, memory, size, under Wine.
bench: win32
	bash tools/bench.sh build/win32

test: clear-skips format-check native-test fuzz-test wine-test
	@if [ -s build/skipped-layers.txt ]; then \
	  echo "########################################################################"; \
	  echo "## make test passed, but NOT everything ran:"; \
	  sed 's/^/##   /' build/skipped-layers.txt; \
	  echo "########################################################################"; \
	else echo "make test: every layer ran and passed"; fi

clear-skips:
	@rm -f build/skipped-layers.txt

run: win32
	bash tools/run.sh build/win32

clean:
	rm -rf build
