# Thin front door to CMake; see README.md.
.PHONY: all check deps deps-windows build test asan-build asan windows demo fuzz bench clean

JOBS ?= $(shell nproc)

# The builds run one after the other; each is parallel inside.
.NOTPARALLEL:
FUZZ_SECONDS ?= 30

# A checkout or a TMPDIR whose path the tools cannot take is refused in one
# line before any work; tools/check-paths says which characters and why.
ifneq ($(filter-out clean,$(or $(MAKECMDGOALS),all)),)
path_problem := $(shell tools/check-paths)
ifneq ($(path_problem),)
$(error $(path_problem))
endif
endif

# "$(locked) FOLDER && COMMANDS": the commands run while this make alone
# builds or tests in the build folder FOLDER; another make of this checkout
# waits for it, saying so (tools/build-lock).
locked = . tools/build-lock && lock

all: build

# What the Linux build, its tests, the demo and the benchmarks need; the
# Windows leg needs more (deps-windows), of which Wine may be missing.
deps:
	@tools/install-deps

deps-windows:
	@tools/install-deps windows

build: deps
	$(locked) build && \
	CC=gcc CXX=g++ cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo && \
	cmake --build build -j $(JOBS)

test: build
	$(locked) build && ctest --test-dir build --output-on-failure -j $(JOBS)

# The same tests with AddressSanitizer and UndefinedBehaviorSanitizer, built
# with clang into build-asan/, with the fuzz targets.
asan-build: deps
	$(locked) build-asan && \
	CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DQUILL_SANITIZE=ON -DQUILL_FUZZ=ON -DQUILL_FUZZ_SECONDS=$(FUZZ_SECONDS) && \
	cmake --build build-asan -j $(JOBS)

# Every test of the sanitizer build, each fuzz target for FUZZ_SECONDS.
asan: asan-build
	$(locked) build-asan && ctest --test-dir build-asan --output-on-failure -j $(JOBS)

# The deliverables for 32-bit Windows (build-win32/), cross-built with
# mingw-w64; their exports and resources are read back, and the unit tests
# and the word-table comparison run under Wine. Needs the Linux build.
# Where Wine cannot be had, the runs under Wine are reported as skipped,
# and the last line says why (windows/wine-status).
windows: build deps-windows
	$(locked) build-win32 && \
	cmake -S windows -B build-win32 -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_TOOLCHAIN_FILE="$(CURDIR)/cmake/mingw32.cmake" -DQUILL_HOST_BUILD="$(CURDIR)/build" && \
	cmake --build build-win32 -j $(JOBS) && \
	if windows/wine-status > /dev/null; then windows/run-wine cmd /c ver; fi && \
	ctest --test-dir build-win32 --output-on-failure -j $(JOBS)
	@reason=$$(windows/wine-status) || echo "make windows: the Wine runs were skipped: $$reason"

# Both sets of dependencies first, so that one that cannot be installed is
# said before the first leg has run.
check: deps deps-windows test asan windows

# The whole product: the launcher in a demo installation (build/demo) starts
# the demo application on Java, which sets the word model up and rates words;
# the splash shows for four seconds (a real window where there is a display):
# make demo WORDS="Schule Straße". The words reach the demo as typed, split
# at blanks only: neither make nor the shell reads them. A time limit
# (QUILL_DEMO_SECONDS) the demo would refuse stops it before the build. The
# recipe's shell becomes the demo script, which a kill of make reaches (make
# passes a TERM on to its child and waits for it).
demo: export QUILL_DEMO_WORDS := $(value WORDS)
demo: demo-seconds build
	set -f; exec build/run-launcher-demo $$QUILL_DEMO_WORDS

.PHONY: demo-seconds
demo-seconds:
	@launcher/demo/demo-seconds > /dev/null

# Nanoseconds per JNI word call beside a call that only touches the string.
.PHONY: bench-java
bench-java: build
	build/run-bench-java

# Decoding beside the mpg123 command, and internalPlay's cost beyond the clip.
.PHONY: bench-audio
bench-audio: build
	build/audio/audio_decode_bench
	build/run-bench-vocalis

# Every benchmark, one after the other.
bench: bench-java bench-audio
	build/common/common_bench
	build/wordmodel/wordmodel_bench
	build/launcher/launcher_bench

# Runs every fuzz target for FUZZ_SECONDS seconds: make fuzz FUZZ_SECONDS=600
fuzz: asan-build
	$(locked) build-asan && ctest --test-dir build-asan --output-on-failure -L fuzz

# Each folder once no other make builds or tests in it.
clean:
	for folder in build build-asan build-win32; do \
	  $(locked) $$folder && rm -rf $$folder || exit 1; \
	done
