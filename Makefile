# Entry point for people: set-up, build, tests and the demo. See README.md.
BUILD_DIR ?= build
DEPS_DIR ?= /opt/uninst-deps
JOBS ?= $(shell nproc)
CMAKE_ARGS ?=

.PHONY: all setup configure build test bench demo clean

all: build

setup:
	UNINST_DEPS_DIR=$(DEPS_DIR) ./tools/setup.sh

configure:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DUNINST_DEPS_DIR=$(DEPS_DIR) $(CMAKE_ARGS)

build: setup configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# Files per second of the removal of a generated tree, beside a plain recursive deletion.
bench: build
	UNINST_BIN_DIR=$(BUILD_DIR)/bin tests/harness/wine-run $(BUILD_DIR)/bin/removal_bench.exe

demo: build
	./tools/demo.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR)
