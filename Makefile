# Corvane's front door. `make run` and `make test` first install what is missing
# (tools/install-deps.sh, apt-get: needs root or sudo); `make ... DEPS=` leaves that out.
# Benchmarks (`make bench`) and fuzzing (`make fuzz`) get their targets beside these.

SHELL := /bin/bash
DEPS ?= tools/install-deps.sh

.PHONY: all deps native-test win32 wine-test test clear-skips run clean

all: native-test win32

deps:
	$(if $(DEPS),bash $(DEPS))

# The native layer: the core and its tests, with ASan and UBSan.
native-test: deps
	bash tools/build-native.sh

# Corvane.exe and the Wine test programs, cross-compiled with MinGW-w64.
win32: deps
	bash tools/build-win32.sh

# The Wine layer: the real Corvane.exe under Wine, worked by the test driver.
wine-test: win32
	bash tests/wine/run.sh build/win32

test: clear-skips native-test wine-test
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
