# Sumora: a desktop free-text line calculator and its command-line filter.
#   make test        install what is missing, build, run every test
#   make run         install what is missing, build, and open the calculator
#   make run-calc    the same, but run sumora-calc over examples/everyday.txt
#   make test-asan   the tests again under AddressSanitizer + UBSan (clang)
#   make fuzz        the libFuzzer targets for a bounded time (FUZZ_SECONDS)
#   make bench       the benchmarks
#   make check-windows  cross-build the core and sumora-calc for Windows
#                    (needs g++-mingw-w64-x86-64-posix; runs them under wine64
#                    when it is installed)
.PHONY: deps build test build-asan test-asan fuzz bench run run-calc check-windows format

FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake --preset default >/dev/null
	cmake --build --preset default -j $(JOBS)

test: build
	ctest --preset default -j $(JOBS)

build-asan: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan -j $(JOBS)

test-asan: build-asan
	ctest --preset asan -j $(JOBS)

fuzz: build-asan
	bash scripts/run-fuzzers.sh build/asan $(FUZZ_SECONDS)

bench: build
	@for b in build/default/*_bench; do echo "== $$b"; $$b; done

run: build
	@if [ -z "$${DISPLAY}$${WAYLAND_DISPLAY}" ]; then \
	  echo "make run: no display here; the window needs one (try make run-calc)" >&2; exit 1; fi
	./build/default/src/ui/sumora

run-calc: build
	./build/default/sumora-calc examples/everyday.txt

check-windows:
	bash scripts/check-windows.sh

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')
