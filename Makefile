# Thin entry points; the work is in CMake and scripts/.
.PHONY: all deps run app package test bench format build release screenshots fuzz windows

all: build

# Everything: the tests, the Windows build, the benchmarks.
deps:
	@scripts/install-deps test

build: deps
	cmake --preset dev >/dev/null
	cmake --build --preset dev

release: deps
	cmake --preset release >/dev/null
	cmake --build --preset release

# The program alone, with only what building and running it needs.
app:
	@scripts/install-deps run
	cmake --preset app >/dev/null
	cmake --build --preset app

run: app
	scripts/run

# build/surftally_<version>_amd64.deb
package:
	@scripts/install-deps package
	scripts/package

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
