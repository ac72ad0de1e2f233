# The front door: `make run` opens the window, `make test` runs every test.
# Each target installs any missing system packages first.

FUZZ_SECONDS ?= 30

.PHONY: all deps build test run sanitize fuzz bench package package-check clean
.PHONY: windows-build windows test-windows

all: build

deps:
	@scripts/install-deps

build/build.ninja: | deps
	cmake --preset default

build: deps build/build.ninja
	cmake --build build

test: build
	QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure --parallel 2

run: build
	build/form/trolvane

# Every test again, built with clang, AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize:
	@scripts/install-deps --clang
	cmake --preset sanitize
	cmake --build build-sanitize
	QT_QPA_PLATFORM=offscreen ctest --test-dir build-sanitize --output-on-failure --parallel 2

# Each fuzz target for FUZZ_SECONDS seconds.
fuzz:
	@scripts/install-deps --clang
	cmake --preset fuzz
	cmake --build build-fuzz
	scripts/run-fuzzers $(FUZZ_SECONDS)

# The benchmarks, optimised, then start-up against a bare Qt window under Xvfb.
bench:
	@scripts/install-deps --bench
	cmake --preset bench
	cmake --build build-bench
	build-bench/bench/bench_engine
	build-bench/bench/bench_form
	xvfb-run -a -s "-screen 0 640x700x24" bench/startup.sh build-bench

# The Debian package, in build-package/.
package:
	@scripts/install-deps --package
	cmake --preset package
	cmake --build build-package
	cd build-package && cpack

# Installs the package on a fresh minimal Debian system and starts it there.
package-check: package
	@scripts/install-deps --package-check
	scripts/check-package

# The Windows edition, cross-built with MinGW-w64; its tests run under Wine.
windows-build:
	@scripts/install-deps --windows
	cmake --preset windows
	cmake --build build-windows --parallel 2

# trolvane.exe, the portable zip and the installer, in build-windows/.
windows: windows-build
	cmake --build build-windows --parallel 2 --target windows-packages

# Every test of the Windows edition under Wine, on one display of its own.
test-windows: windows-build
	scripts/wine-env ctest --test-dir build-windows --output-on-failure --parallel 2

clean:
	rm -rf build build-sanitize build-fuzz build-bench build-package build-windows
