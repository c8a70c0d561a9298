# The two commands of the README, plus the pieces they are made of.
.PHONY: run test test-windows deps deps-run deps-test build-release asan fuzz lint

JOBS ?= $(shell nproc 2>/dev/null || echo 2)

run: build-release
	@if [ -x build/release/app/quillet ]; then ./build/release/app/quillet; else ./build/release/cli/quillet-batch --help; fi

test: deps-test
	@test -f build/dev/CMakeCache.txt || cmake --preset dev
	cmake --build --preset dev -j $(JOBS)
	ctest --preset dev -j $(JOBS)

# The Windows build (mingw-w64: the core, quillet-batch.exe, the capture steps) and its
# tests, run under Wine.
test-windows: deps-test
	@test -f build/windows/CMakeCache.txt || cmake --preset windows
	cmake --build --preset windows -j $(JOBS)
	ctest --preset windows -j $(JOBS)

asan: deps-test
	@test -f build/asan/CMakeCache.txt || cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# Formatting, naming style and layer order; needs the development build's compile database.
lint: deps-test
	@test -f build/dev/CMakeCache.txt || cmake --preset dev
	tools/lint.sh build/dev

# Each fuzz target for FUZZ_SECONDS on its seeds; any finding fails.
FUZZ_SECONDS ?= 30
fuzz: deps-test
	tools/run-fuzz.sh $(FUZZ_SECONDS)

build-release: deps-run
	@test -f build/release/CMakeCache.txt || cmake --preset release
	cmake --build --preset release -j $(JOBS)

# Everything building, running and testing needs, installed through apt-get.
deps: deps-test

deps-run:
	@tools/install-deps.sh run

deps-test:
	@tools/install-deps.sh test
