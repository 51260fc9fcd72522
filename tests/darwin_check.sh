#!/bin/sh
# What a Mac on Apple silicon builds, read from the build graph of a configuration for Darwin with
# clang, which compiles nothing.   darwin_check.sh SRC WORK
src=$1 clang=$(command -v clang++)
rm -rf "$2" && mkdir -p "$2" && cd "$2" || exit 1
configure() {
  cmake -S "$src" -B "$1" -G Ninja -DCMAKE_SYSTEM_NAME=Darwin -DCMAKE_SYSTEM_PROCESSOR=arm64 \
    -DCMAKE_CXX_COMPILER="$clang" -DCMAKE_OBJCXX_COMPILER="$clang" -DCMAKE_CXX_COMPILER_WORKS=1 \
    -DCMAKE_OBJCXX_COMPILER_WORKS=1 \
    -DCMAKE_TRY_COMPILE_TARGET_TYPE=STATIC_LIBRARY -DCMAKE_INSTALL_NAME_TOOL=true \
    -DSCREENPROBE_BUILD_TESTS=ON -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON "$2" >"$1.log" 2>&1
}
configure mac -DSCREENPROBE_PLATFORM=auto || cat mac.log
! configure old -DCMAKE_OSX_DEPLOYMENT_TARGET=13.0 && grep -q 'needs macOS 13.3' old.log ||
  echo "FAIL: macOS 13.0 not refused with its reason"
grep -q -- '-x objective-c++ .*-fobjc-arc .*platform/appkit/appkit_screen.mm"' \
  mac/compile_commands.json || echo "FAIL: the AppKit layer is not Objective-C++ under ARC"
grep '"command"' mac/compile_commands.json | grep -v -- '-arch arm64 -mmacosx-version-min=26.0' &&
  echo "FAIL: the lines above are not for macOS 26 on arm64"
sed -n '/^build screenprobe:/,/^$/p' mac/build.ninja |
  grep -q 'platform/appkit/libscreenprobe_platform.a.*-framework AppKit' ||
  echo "FAIL: the probe is not linked with the AppKit layer and AppKit"
! grep -E 'platform/(null|x11|wayland|unix)/|appkit_standin' mac/compile_commands.json mac/build.ninja ||
  echo "FAIL: the lines above are not for a Mac"
