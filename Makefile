# The two set-up commands: `make run` builds and runs the probe, `make test` builds and runs
# every test (a normal build and an AddressSanitizer + UndefinedBehaviorSanitizer build, both
# with warnings as errors). On Debian, as root, both install the packages they miss.

BUILD_PACKAGES := cmake ninja-build g++ pkg-config libxcb1-dev libxcb-randr0-dev libxau-dev \
                  libxdmcp-dev libwayland-dev libwayland-bin wayland-protocols
# The demo and the benchmark run a real desktop: a window manager, a panel, a settings manager.
DEMO_PACKAGES := $(BUILD_PACKAGES) xvfb x11-utils x11-xserver-utils openbox tint2 xsettingsd
# The Wayland demo and benchmark run headless sway with swaybar.
WAYLAND_DEMO_PACKAGES := $(BUILD_PACKAGES) sway swaybg
# The Debian package: CPack's dependency step (dpkg-shlibdeps, file), and lintian to judge it.
PACKAGE_PACKAGES := $(BUILD_PACKAGES) dpkg-dev file lintian
# Arch's and Fedora's packages, built, linted and installed here with their own tools.
OTHER_PACKAGES := makepkg pacman-package-manager libarchive-tools fakeroot rpm rpmlint
# The suite also needs clang and GCC's Objective-C runtime for the AppKit layer (named after
# GCC's version, so asked for once g++ is there), with clang's sanitizer runtime, which CMake's
# check of the Objective-C++ compiler links in the sanitizer build,
# and the desktops it is judged on (stacking and tiling window managers, their panels and bars;
# Wayland compositors, their bars and the tools that give their own account).
TEST_PACKAGES := $(DEMO_PACKAGES) $(WAYLAND_DEMO_PACKAGES) libgtest-dev clang libclang-rt-dev \
                 icewm fluxbox xfwm4 xfce4-panel dbus-x11 wmctrl x11-apps i3-wm bspwm polybar \
                 waybar weston wayland-utils jq kwin-wayland gnome-shell foot \
                 plasma-workspace plasma-desktop qdbus-qt5 qtwayland5 \
                 $(PACKAGE_PACKAGES) $(OTHER_PACKAGES) mmdebstrap

# LeakSanitizer exists on Linux only; Apple's AddressSanitizer refuses to start with it.
ifeq ($(shell uname -s),Darwin)
ASAN_TESTS := asan-macos
else
ASAN_TESTS := asan
endif

.PHONY: run test demo demo-wayland build package build-deps demo-deps wayland-demo-deps \
        package-deps test-deps clean

# The probe's own answer and status; where there is no display (status 1), a word on what that
# means, and make ends well: the build worked and the probe answered as it should.
run: build
	@./build/release/screenprobe; status=$$?; [ $$status != 1 ] && exit $$status; \
	  echo "(no display here: that is the probe's answer where there is no screen;" \
	    "'make demo' shows a report on a throwaway desktop)" >&2

build: build-deps
	cmake --preset release
	cmake --build --preset release

test: test-deps
	cmake --preset test
	cmake --build --preset test
	ctest --preset test
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset $(ASAN_TESTS)

# build/package/screenprobe_<version>_<arch>.deb, linted. Dated by the last commit, so that two
# builds of one commit give the same bytes; lintian fails on warnings too, not only on errors.
package: package-deps
	export SOURCE_DATE_EPOCH=$${SOURCE_DATE_EPOCH:-$$(git log -1 --format=%ct)} && \
	  cmake --preset package && cmake --build --preset package && \
	  rm -f build/package/screenprobe_*.deb && (cd build/package && cpack -G DEB)
	lintian --fail-on error,warning build/package/screenprobe_*.deb

# The report on a headless machine: the probe against a throwaway desktop on Xvfb (openbox with
# a 32-pixel tint2 panel on top, xsettingsd at scale 2), which is stopped afterwards.
demo: build demo-deps
	@bench/panel_xvfb.sh ./build/release/screenprobe

# The report on a throwaway headless sway (as the user nobody; run as root) with swaybar at the
# top of a 1920x1080 output at scale 1.5, which is stopped afterwards.
demo-wayland: build wayland-demo-deps
	@bench/sway_headless.sh ./build/release/screenprobe

build-deps:
	@sh .ci/install-packages $(BUILD_PACKAGES)

demo-deps:
	@sh .ci/install-packages $(DEMO_PACKAGES)

wayland-demo-deps:
	@sh .ci/install-packages $(WAYLAND_DEMO_PACKAGES)

package-deps:
	@sh .ci/install-packages $(PACKAGE_PACKAGES)

test-deps: build-deps
	@sh .ci/install-packages $(TEST_PACKAGES) \
	  $$([ "$$(uname -s)" = Linux ] && echo libobjc-$$(gcc -dumpversion | cut -d. -f1)-dev)

clean:
	rm -rf build
