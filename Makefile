# The README's commands. Each one installs what is missing, then builds with CMake.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
SAMPLES := data/samples
OUT := out

.PHONY: all deps build test run gui clean format test-sanitize test-portable fuzz bench

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: build
	@scripts/run-samples $(BUILD)/morvikgraph $(SAMPLES) $(OUT)

gui: build
	@scripts/open-window $(BUILD)/morvikgraph $(SAMPLES)

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DMORVIK_SANITIZE=ON
	cmake --build build-sanitize -j $(JOBS)
	cd build-sanitize && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/fuzz/lsan.supp \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

# The whole test suite on the code a Windows build takes (core/platform/*_portable.cpp:
# Qt and C++ only, no POSIX calls), built here on Linux.
PORTABLE_BUILD ?= build-portable
test-portable: deps
	cmake -S . -B $(PORTABLE_BUILD) $(CMAKE_FLAGS) -DMORVIK_PORTABLE=ON
	cmake --build $(PORTABLE_BUILD) -j $(JOBS)
	cd $(PORTABLE_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Every fuzz target for FUZZ_SECONDS each (libFuzzer, clang, ASan + UBSan).
FUZZ_SECONDS ?= 60
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVIK_FUZZ=ON
	cmake --build build-fuzz --target fuzzers -j $(JOBS)
	@scripts/run-fuzzers build-fuzz/fuzz $(FUZZ_SECONDS)

# A full-size managers' month timed against the cost of encoding its charts.
BENCH_RUNS ?= 5
bench: build
	@bench/run-bench $(BUILD) $(BENCH_RUNS)

format:
	clang-format -i $$(git ls-files 'src/*.cpp' 'src/*.h')

clean:
	rm -rf $(BUILD) $(OUT)
