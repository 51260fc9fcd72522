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

# The report on a headless machine: a throwaway Xvfb with a 32-pixel top panel and Xft.dpi 192,
# the probe against it, then the server is stopped.
demo: build demo-deps
	@display_file=$$(mktemp); \
	Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1920x1080x24 3>"$$display_file" \
	  >/dev/null 2>&1 & xvfb_pid=$$!; \
	for i in $$(seq 100); do [ -s "$$display_file" ] && break; sleep 0.1; done; \
	export DISPLAY=":$$(head -n 1 "$$display_file")"; rm -f "$$display_file"; \
	xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA 0,32,1920,1048; \
	echo 'Xft.dpi: 192' | xrdb -merge; \
	./build/release/screenprobe; status=$$?; \
	kill $$xvfb_pid; wait $$xvfb_pid 2>/dev/null; exit $$status

build-deps:
	@sh .ci/install-packages $(BUILD_PACKAGES)

demo-deps:
	@sh .ci/install-packages $(DEMO_PACKAGES)

test-deps:
	@sh .ci/install-packages $(TEST_PACKAGES)

clean:
	rm -rf build
