# Thin entry points; the work is in CMake and scripts/.
.PHONY: all run test bench format build release screenshots fuzz windows

all: build

deps:
	@scripts/install-deps

build: deps
	cmake --preset dev >/dev/null
	cmake --build --preset dev

release: deps
	cmake --preset release >/dev/null
	cmake --build --preset release

run: release
	scripts/run

test: deps
	scripts/test

fuzz: deps
	scripts/fuzz

# The Windows program and its installer in build/windows/.
windows: deps
	scripts/windows

bench: release windows
	scripts/bench

screenshots: build windows
	scripts/screenshots

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i
