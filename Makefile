# The two set-up commands: `make run` builds and runs the probe, `make test` builds and runs
# every test (a normal build and an AddressSanitizer + UndefinedBehaviorSanitizer build, both
# with warnings as errors). On Debian, as root, both install the packages they miss.

BUILD_PACKAGES := cmake ninja-build g++ pkg-config libxcb1-dev libxcb-randr0-dev
TEST_PACKAGES := $(BUILD_PACKAGES) libgtest-dev xvfb x11-xserver-utils clang libobjc-12-dev

.PHONY: run test build build-deps test-deps clean

run: build
	./build/release/screenprobe

build: build-deps
	cmake --preset release
	cmake --build --preset release

test: test-deps
	cmake --preset release
	cmake --build --preset release
	ctest --preset release
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

build-deps:
	@sh .ci/install-packages $(BUILD_PACKAGES)

test-deps:
	@sh .ci/install-packages $(TEST_PACKAGES)

clean:
	rm -rf build
