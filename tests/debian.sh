#!/bin/sh
# The probe in a fresh minimal Debian: on trixie, built from the tracked source with the suite's
# preset (a new compiler's warning fails it), its tables and no-display answer checked, and the
# probe PROBE judged on the root's sway; on either, the package installed, run, found by man, and
# purged without a file left behind.
#   debian.sh SUITE SOURCE_DIR WORK_DIR PROBE (the root, made once for its package list, is kept
#   there as a tarball)
set -u
suite=$1 source=$2 root=$3/root-$1
fail() { echo "FAIL: $*" && exit 1; }
mkdir -p "$3" && cd "$3" || exit 1
make -C "$source" package >package.log 2>&1 || fail "make package: $(tail -5 package.log)"
[ "$suite" = trixie ] && tools=,cmake,ninja-build,g++,pkg-config,libxcb1-dev,libxcb-randr0-dev,libxau-dev,libxdmcp-dev,libwayland-dev,libwayland-bin,wayland-protocols,libgtest-dev,clang,libobjc-14-dev,sway,foot
packages=man-db${tools:-} && tar=$suite-$(echo "$packages" | cksum | cut -d ' ' -f 1).tar
[ -s "$tar" ] || { rm -f "$suite"*.tar && mmdebstrap --variant=minbase --include="$packages" "$suite" \
  "$tar" >"$suite.log" 2>&1; } || { rm -f "$tar" && fail "mmdebstrap: $(tail -5 "$suite.log")"; }
fresh() { rm -rf "$root" && mkdir "$root" && tar -xf "$tar" -C "$root" || fail "no root"; }
# A command in the root, its /proc, /sys and /dev mounted in a mount namespace that no mount
# outlives, so the next run's rm -rf never walks into the host's /dev.
inside() {
  unshare --mount --propagation private sh -c 'r=$1 && shift && mount -t proc proc "$r/proc" &&
    mount --rbind /sys "$r/sys" && mount --rbind /dev "$r/dev" &&
    exec chroot "$r" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"' - "$root" "$@"
}
no_screen() {  # PROBE: the failure line, status 1, nothing on standard error
  inside "$1" >out 2>err
  [ $? = 1 ] && printf '{"error":"sem tela"}\n' | cmp -s - out && [ ! -s err ] || fail "$1: $(cat out err)"
}
if [ "$suite" = trixie ]; then
  fresh
  tree=$(git -C "$source" stash create) && git -C "$source" archive --prefix=src/ "${tree:-HEAD}" |
    tar -x -C "$root" || fail "no source"
  inside sh -c 'cd /src && cmake --preset test && cmake --build --preset test &&
    ctest --preset test -E "^(probe|debian)\."' >build.log 2>&1 || fail "$(tail -30 build.log)"
  no_screen /src/build/test/screenprobe
  R=$root sh "$source/tests/probe.sh" trixie "$3/sway" "$4"
fi
fresh
cp "$source"/build/package/screenprobe_*.deb "$root/tmp/" || fail "no package"
inside sh -c 'apt-get install -y /tmp/screenprobe_*.deb' >apt.log 2>&1 || fail "$(cat apt.log)"
no_screen screenprobe
[ "$(inside man -w screenprobe)" = /usr/share/man/man1/screenprobe.1.gz ] || fail "man -w"
inside dpkg -L screenprobe >files && grep -qx /usr/bin/screenprobe files || fail "$(cat files)"
inside apt-get purge -y screenprobe >>apt.log 2>&1 || fail "$(cat apt.log)"
while read -r path; do [ -d "$root$path" ] || [ ! -e "$root$path" ] || fail "$path is left"; done <files
[ ! -e "$root/usr/share/doc/screenprobe" ] || fail "its doc folder is left"
