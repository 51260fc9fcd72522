# The two set-up commands: `make run` builds and runs the probe, `make test` builds and runs
# every test (a normal build and an AddressSanitizer + UndefinedBehaviorSanitizer build, both
# with warnings as errors). On Debian, as root, both install the packages they miss.

BUILD_PACKAGES := cmake ninja-build g++ pkg-config libxcb1-dev libxcb-randr0-dev libxau-dev \
                  libxdmcp-dev
DEMO_PACKAGES := $(BUILD_PACKAGES) xvfb x11-xserver-utils
TEST_PACKAGES := $(DEMO_PACKAGES) libgtest-dev clang libobjc-12-dev

.PHONY: run test demo build build-deps demo-deps test-deps clean

run: build
	./build/release/screenprobe

build: build-deps
	cmake --preset release
	cmake --build --preset release

test: test-deps
	cmake --preset test
	cmake --build --preset test
	ctest --preset test
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

# The report on a headless machine: the probe against a throwaway Xvfb with a 32-pixel top
# panel and Xft.dpi 192, which is stopped afterwards.
demo: build demo-deps
	@bench/panel_xvfb.sh ./build/release/screenprobe

build-deps:
	@sh .ci/install-packages $(BUILD_PACKAGES)

demo-deps:
	@sh .ci/install-packages $(DEMO_PACKAGES)

test-deps:
	@sh .ci/install-packages $(TEST_PACKAGES)

clean:
	rm -rf build
