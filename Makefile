# The README's commands. Each one installs what is missing, then builds with CMake.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
SAMPLES := data/samples
OUT := out

.PHONY: all deps build test run gui clean format

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

format:
	clang-format -i $$(git ls-files 'src/*.cpp' 'src/*.h')

clean:
	rm -rf $(BUILD) $(OUT)
