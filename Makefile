# Corvane's front door. `make run` and `make test` first install what is missing
# (tools/install-deps.sh, apt-get: needs root or sudo); `make ... DEPS=` leaves that out.
# `make bench` prints the performance table; `make fuzz` runs every fuzzer for ten minutes.

SHELL := /bin/bash
DEPS ?= tools/install-deps.sh

.PHONY: all deps format-check native-test fuzz-test fuzz windows win32 win64 wine-test bench test \
	clear-skips run clean

all: native-test windows

deps:
	$(if $(DEPS),bash $(DEPS))

# Every C++ file as the root .clang-format lays it out (clang-format 14).
format-check: deps
	bash tools/format-check.sh

# The native layer: the core and its tests, with ASan and UBSan; then again as an i386 program
# (32-bit size_t and pointers), natively or under qemu-i386-static as this host allows.
native-test: deps
	bash tools/build-native.sh
	bash tools/build-native32.sh

# The fuzzers, briefly: their corpus (every input that ever crashed one) and a few seconds more.
fuzz-test: deps
	bash tools/fuzz.sh --brief

# Every fuzzer for FUZZ_SECONDS (600 by default), two at a time; a table of runs and findings.
FUZZ_SECONDS ?= 600
fuzz: deps
	bash tools/fuzz.sh $(FUZZ_SECONDS)

# Corvane.exe and the Wine test programs, cross-compiled with MinGW-w64 from the same sources:
# build/win32 (i686, the product) and build/win64 (x86-64). `make win32` builds both too.
windows win32: deps
	bash tools/build-windows.sh win32 win64

win64: deps
	bash tools/build-windows.sh win64

# The Wine layers this machine can run (tests/wine/layers.sh decides): the real Corvane.exe
# under Wine, worked by the test driver.
wine-test: windows
	bash tests/wine/layers.sh

# The performance table (a program, not a test): start-up, tick, memory, size, under Wine, of
# both builds side by side: the 32-bit product (natively or under WoW64) and the x86-64 build.
bench: windows
	bash tools/bench.sh

test: clear-skips format-check native-test fuzz-test wine-test
	@echo "make test: the layers that ran:"; sed 's/^/  /' build/layers-ran.txt 2>/dev/null || true
	@if [ -s build/skipped-layers.txt ]; then \
	  echo "########################################################################"; \
	  echo "## make test passed, but NOT everything ran:"; \
	  sed 's/^/##   /' build/skipped-layers.txt; \
	  echo "########################################################################"; \
	else echo "make test: every layer ran and passed"; fi

# The download: build/dist/Corvane-<version>.zip (both programs, the help page, the alert rules,
# LISEZMOI.txt, the licence) and build/dist/SHA256SUMS, the same bytes from the same commit.
dist: deps
	bash tools/dist.sh

# make test checks the download too: rebuilt from a clone elsewhere, unpacked and run under Wine.
dist-test: windows
	bash tools/dist-test.sh
test: dist-test
.PHONY: dist dist-test

clear-skips:
	@rm -f build/skipped-layers.txt build/layers-ran.txt

# Corvane under Wine: the build whose windows Wine paints here (the 32-bit one where Wine's 32-bit
# loader runs, else the x86-64 one); BUILD=build/win32 or BUILD=build/win64 picks one.
BUILD ?=
run: windows
	bash tools/run.sh $(BUILD)

clean:
	rm -rf build
