# The front door: `make run` opens the window, `make test` runs every test.
# Each target installs any missing system packages first.

FUZZ_SECONDS ?= 30

.PHONY: all deps build test run sanitize fuzz bench package package-check clean
.PHONY: windows-build windows test-windows
.PHONY: web serve test-web

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
	build/form/qt/trolvane

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

# The benchmarks, optimised, then start-up against a bare Qt window under Xvfb,
# then the browser edition's size and start-up in headless Chromium, then
# reading large data natively, with the browser edition's code under Node.js,
# and with R where it is installed; parallel analysis the same ways.
bench:
	@scripts/install-deps --bench
	cmake --preset bench
	cmake --build build-bench
	build-bench/bench/bench_engine
	build-bench/bench/bench_form
	build-bench/bench/bench_retention
	xvfb-run -a -s "-screen 0 640x700x24" bench/startup.sh build-bench
	$(MAKE) web
	@scripts/install-deps --web-test
	/usr/bin/python3 bench/web_startup.py build-web/site
	$(WEB_ENV) cmake --preset web -B build-webbench -DTROLVANE_BUILD_BENCH=ON -DTROLVANE_BUILD_TESTS=OFF
	$(WEB_ENV) cmake --build build-webbench --target bench_data_reading bench_retention
	/usr/bin/python3 bench/data_reading.py build-bench build-webbench
	/usr/bin/python3 bench/retention.py build-bench build-webbench

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

# The browser edition, in build-web/site/. Emscripten's own tools find the
# JavaScript modules they use through NODE_PATH.
WEB_ENV = NODE_PATH=/usr/share/nodejs

web:
	@scripts/install-deps --web
	$(WEB_ENV) cmake --preset web
	$(WEB_ENV) cmake --build build-web --parallel 2 --target web_site

# The site on this machine only, for a look at http://127.0.0.1:8000/.
serve: web
	python3 -m http.server --bind 127.0.0.1 --directory build-web/site 8000

# The engine's and the window logic's tests under Node.js, then the page in
# headless Chromium.
test-web:
	@scripts/install-deps --web-test
	$(WEB_ENV) cmake --preset web
	$(WEB_ENV) cmake --build build-web --parallel 2
	ctest --test-dir build-web --output-on-failure --parallel 2

clean:
	rm -rf build build-sanitize build-fuzz build-bench build-package build-windows build-web
