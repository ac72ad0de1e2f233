# The front door: `make run` opens the window, `make test` runs every test.
# Both install any missing system packages first.

BUILD_DIR ?= build

.PHONY: all deps build test run clean

all: build

deps:
	@scripts/install-deps

$(BUILD_DIR)/build.ninja: | deps
	cmake -S . -B $(BUILD_DIR) -G Ninja

build: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR)

test: build
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD_DIR) --output-on-failure --parallel 2

run: build
	$(BUILD_DIR)/form/trolvane

clean:
	rm -rf $(BUILD_DIR)
