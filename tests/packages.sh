#!/bin/sh
# The probe as users install it, each package carrying CMake's version: built from the tracked
# source, installed, holding the binary, the man page and the licence where its distribution wants
# them, answering no screen, removed with nothing left.   packages.sh KIND SOURCE_DIR WORK_DIR PROBE
#   bookworm, trixie: the .deb of `make package` in a fresh minimal Debian root (kept as a tarball
#     per package list); on trixie first the suite's preset (a new compiler's warning fails it) with
#     its tables, the release preset without the X archives, and PROBE on the root's sway 1.10.
#   arch, rpm: the PKGBUILD (makepkg, as nobody) and the spec, linted, in an empty root.
set -u
kind=$1 source=$2 root=$3/root-$1 packaging=$2/packaging
case $kind in arch) tool=makepkg ;; rpm) tool=rpmbuild ;; *) tool=mmdebstrap ;; esac
command -v "$tool" >/dev/null || exit 77  # skipped
fail() { echo "FAIL: $*" && exit 1; }
mkdir -p "$3" && cd "$3" || exit 1
version=$(sed -n 's/^project(screenprobe VERSION \([0-9.]*\).*/\1/p' "$source/CMakeLists.txt")
grep -qx "pkgver=$version" "$packaging/arch/PKGBUILD" && grep -qx "Version: *$version" \
  "$packaging/rpm/screenprobe.spec" && grep -q "/v$version/screenprobe-$version.tar" \
  "$packaging/homebrew/screenprobe.rb" || fail "a package's version is not CMake's $version"
tree=$(git -C "$source" stash create) && tree=${tree:-HEAD}
# RUN...: the failure line, status 1, nothing on standard error.
no_screen() {
  "$@" >out 2>err
  [ $? = 1 ] && printf '{"error":"sem tela"}\n' | cmp -s - out && [ ! -s err ] || fail "$*: $(cat out err)"
}
if [ "$kind" = arch ] || [ "$kind" = rpm ]; then  # in a folder under /tmp, which nobody reaches
  work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT && root=$work/root run="env -i $work/root/usr/bin"
  git -C "$source" archive --prefix="screenprobe-$version/" -o "$work/screenprobe-$version.tar.gz" \
    "$tree" && mkdir -p "$root/var/lib/pacman" || fail "no source"
fi
case $kind in
arch)
  cp "$packaging/arch/PKGBUILD" "$work" && chown -R nobody:nogroup "$work"
  as_nobody() { (cd "$work" && setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$work" "$@"); }
  as_nobody makepkg -d --skipchecksums >build.log 2>&1 || fail "$(tail -30 build.log)"
  as_nobody makepkg --printsrcinfo | cmp -s - "$packaging/arch/.SRCINFO" || fail ".SRCINFO is stale"
  pm() { pacman --noconfirm --root "$root" --dbpath "$root/var/lib/pacman" "$@"; }
  add="pm -U -dd $work/screenprobe-$version-*.pkg.tar.*" list="pm -Qlq screenprobe" drop="pm -R screenprobe"
  licence=/usr/share/licenses/screenprobe/LICENSE
  ;;
rpm)
  rpmbuild -ba --nodeps --define "_topdir $work" --define "_sourcedir $work" \
    "$packaging/rpm/screenprobe.spec" >build.log 2>&1 || fail "$(tail -30 build.log)"
  rpmlint -c "$packaging/rpm/rpmlint.toml" "$work"/RPMS/*/*.rpm "$work"/SRPMS/*.rpm >lint.log 2>&1 ||
    fail "$(cat lint.log)"
  pm() { rpm --root "$root" --dbpath /var/lib/rpm "$@"; }
  add="pm -i --nodeps $work/RPMS/*/screenprobe-$version-*.rpm" list="pm -ql screenprobe" drop="pm -e screenprobe"
  # Debian's rpm puts the version in the licence folder's name; Fedora's does not.
  licence="/usr/share/licenses/screenprobe\(-$version\)\{0,1\}/LICENSE"
  ;;
*)
  mkdir -p tmp && TMPDIR=$PWD/tmp make -C "$source" package >package.log 2>&1 || fail "$(tail -5 package.log)"
  [ "$kind" = trixie ] && tools=,cmake,ninja-build,g++,pkg-config,libxcb1-dev,libxcb-randr0-dev,libxau-dev,libxdmcp-dev,libwayland-dev,libwayland-bin,wayland-protocols,libgtest-dev,clang,libobjc-14-dev,sway,foot
  packages=man-db${tools:-} && tar=$kind-$(echo "$packages" | cksum | cut -d ' ' -f 1).tar
  [ -s "$tar" ] || { rm -f "$kind"*.tar && mmdebstrap --variant=minbase --include="$packages" "$kind" \
    "$tar" >"$kind.log" 2>&1; } || { rm -f "$tar" && fail "mmdebstrap: $(tail -5 "$kind.log")"; }
  fresh() { rm -rf "$root" && mkdir "$root" && tar -xf "$tar" -C "$root" || fail "no root"; }
  # A command in the root, its /proc, /sys and /dev mounted in a mount namespace that no mount
  # outlives, so the next run's rm -rf never walks into the host's /dev.
  inside() {
    unshare --mount --propagation private sh -c 'r=$1 && shift && mount -t proc proc "$r/proc" &&
      mount --rbind /sys "$r/sys" && mount --rbind /dev "$r/dev" &&
      exec chroot "$r" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"' - "$root" "$@"
  }
  if [ "$kind" = trixie ]; then
    fresh && git -C "$source" archive --prefix=src/ "$tree" | tar -x -C "$root" || fail "no source"
    inside sh -c 'cd /src && cmake --preset test && cmake --build --preset test &&
      ctest --preset test -E "^(probe|package)\."' >build.log 2>&1 || fail "$(tail -30 build.log)"
    inside sh -c 'cd /usr/lib/*-linux-gnu && rm libxcb.a libxcb-randr.a libXau.a libXdmcp.a && cd /src &&
      cmake --preset release && cmake --build --preset release' >release.log 2>&1 &&
      grep -q "archives are missing: linking them dynamically" release.log || fail "$(tail -30 release.log)"
    no_screen inside /src/build/release/screenprobe
    R=$root sh "$source/tests/probe.sh" trixie "$3/sway" "$4"
  fi
  fresh && cp "$source/build/package/screenprobe_${version}_"*.deb "$root/tmp/screenprobe.deb" || fail "no .deb"
  add="inside apt-get install -y /tmp/screenprobe.deb" drop="inside apt-get purge -y screenprobe"
  list="inside sh -c 'man -w screenprobe && dpkg -L screenprobe'" run="inside /usr/bin"
  licence=/usr/share/doc/screenprobe/copyright
  ;;
esac
eval "$add" >install.log 2>&1 && eval "$list" 2>>install.log | sed "s|^$root||" >files || fail "$(cat install.log)"
for path in /usr/bin/screenprobe '/usr/share/man/man1/screenprobe\.1.*' "$licence"; do
  grep -qx "$path" files || fail "no $path in $(cat files)"
done
no_screen $run/screenprobe
eval "$drop" >>install.log 2>&1 || fail "$(cat install.log)"
! find "$root/usr" -name '*screenprobe*' 2>/dev/null | grep . || fail "left behind"
