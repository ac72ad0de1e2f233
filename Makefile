# The front door: `make run` opens the window, `make test` runs every test.
# Each target installs any missing system packages first.

FUZZ_SECONDS ?= 30

.PHONY: all deps build test run sanitize fuzz clean

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

# Every test again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	cmake --preset sanitize
	cmake --build build-sanitize
	QT_QPA_PLATFORM=offscreen ctest --test-dir build-sanitize --output-on-failure --parallel 2

# Each fuzz target for FUZZ_SECONDS seconds.
fuzz:
	@scripts/install-deps --fuzz
	cmake --preset fuzz
	cmake --build build-fuzz
	scripts/run-fuzzers $(FUZZ_SECONDS)

clean:
	rm -rf build build-sanitize build-fuzz
