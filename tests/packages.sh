#!/bin/sh
# The probe as users install it: each package built from the tracked source, installed, run (no
# display: the failure line), holding the binary, the man page and the licence where its
# distribution wants them, and removed without a file left behind. All carry CMake's version.
#   bookworm, trixie: the .deb of `make package`, in a fresh minimal Debian root (made once for its
#     package list, kept as a tarball); on trixie first the suite's preset (a new compiler's warning
#     fails it) with its tables, the release preset without the X libraries' archives, and the
#     probe PROBE judged on the root's sway 1.10;
#   arch, rpm: the PKGBUILD (makepkg, as nobody) and the spec (rpmbuild), linted, in an empty root.
#   packages.sh KIND SOURCE_DIR WORK_DIR PROBE
set -u
kind=$1 source=$2 root=$3/root-$1
fail() { echo "FAIL: $*" && exit 1; }
mkdir -p "$3" && cd "$3" || exit 1
version=$(sed -n 's/^project(screenprobe VERSION \([0-9.]*\).*/\1/p' "$source/CMakeLists.txt")
grep -qx "pkgver=$version" "$source/packaging/arch/PKGBUILD" &&
  grep -qx "Version: *$version" "$source/packaging/rpm/screenprobe.spec" &&
  grep -q "/v$version/screenprobe-$version.tar" "$source/packaging/homebrew/screenprobe.rb" ||
  fail "a package's version is not CMake's $version"
tree=$(git -C "$source" stash create) && tree=${tree:-HEAD}
# RUN...: the failure line, status 1, nothing on standard error.
no_screen() {
  "$@" >out 2>err
  [ $? = 1 ] && printf '{"error":"sem tela"}\n' | cmp -s - out && [ ! -s err ] || fail "$*: $(cat out err)"
}
# LICENCE: the file list holds the binary, the man page and the licence, and its files go with it.
listed() {
  for path in /usr/bin/screenprobe '/usr/share/man/man1/screenprobe\.1.*' "$1"; do
    grep -qx "$path" files || fail "no $path in $(cat files)"
  done
}
left() { ! find "$root/usr" 2>/dev/null -name '*screenprobe*' | grep . || fail "left behind"; }

case $kind in
arch | rpm)
  # Under /tmp, which nobody reaches wherever the clone is.
  work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT && root=$work/root
  git -C "$source" archive --prefix="screenprobe-$version/" -o "$work/screenprobe-$version.tar.gz" \
    "$tree" && mkdir -p "$root/var/lib/pacman" || fail "no source"
  if [ "$kind" = arch ]; then
    cp "$source/packaging/arch/PKGBUILD" "$work" && chown -R nobody:nogroup "$work"
    as_nobody() { (cd "$work" && setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$work" "$@"); }
    as_nobody makepkg -d --skipchecksums >build.log 2>&1 || fail "$(tail -30 build.log)"
    as_nobody makepkg --printsrcinfo | cmp -s - "$source/packaging/arch/.SRCINFO" || fail ".SRCINFO is stale"
    pacman() { command pacman --noconfirm --root "$root" --dbpath "$root/var/lib/pacman" "$@"; }
    pacman -U -dd "$work"/screenprobe-*.pkg.tar.* >install.log 2>&1 && pacman -Qlq screenprobe | sed "s|^$root||" >files
    listed /usr/share/licenses/screenprobe/LICENSE && no_screen env -i "$root/usr/bin/screenprobe"
    pacman -R screenprobe >>install.log 2>&1 || fail "$(cat install.log)"
  else
    rpmbuild -ba --nodeps --define "_topdir $work" --define "_sourcedir $work" \
      "$source/packaging/rpm/screenprobe.spec" >build.log 2>&1 || fail "$(tail -30 build.log)"
    rpmlint -c "$source/packaging/rpm/rpmlint.toml" "$work"/RPMS/*/*.rpm "$work"/SRPMS/*.rpm \
      >lint.log 2>&1 || fail "$(cat lint.log)"
    rpm() { command rpm --root "$root" --dbpath /var/lib/rpm "$@" 2>>install.log; }
    rpm -i --nodeps "$work"/RPMS/*/screenprobe-*.rpm && rpm -ql screenprobe >files
    # Debian's rpm puts the version in the licence folder's name; Fedora's does not.
    listed "/usr/share/licenses/screenprobe\(-$version\)\{0,1\}/LICENSE"
    no_screen env -i "$root/usr/bin/screenprobe"
    rpm -e screenprobe || fail "$(cat install.log)"
  fi
  left
  exit
  ;;
esac

make -C "$source" package >package.log 2>&1 || fail "make package: $(tail -5 package.log)"
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
  fresh
  git -C "$source" archive --prefix=src/ "$tree" | tar -x -C "$root" || fail "no source"
  inside sh -c 'cd /src && cmake --preset test && cmake --build --preset test &&
    ctest --preset test -E "^(probe|package)\."' >build.log 2>&1 || fail "$(tail -30 build.log)"
  no_screen inside /src/build/test/screenprobe
  inside sh -c 'rm /usr/lib/*/libxcb.a /usr/lib/*/libxcb-randr.a /usr/lib/*/libXau.a \
    /usr/lib/*/libXdmcp.a && cd /src && cmake --preset release && cmake --build --preset release' \
    >release.log 2>&1 && grep -q "archives are missing: linking them dynamically" release.log ||
    fail "without the X archives: $(tail -30 release.log)"
  no_screen inside /src/build/release/screenprobe
  R=$root sh "$source/tests/probe.sh" trixie "$3/sway" "$4"
fi
fresh
cp "$source"/build/package/screenprobe_*.deb "$root/tmp/" || fail "no package"
inside sh -c 'apt-get install -y /tmp/screenprobe_*.deb' >apt.log 2>&1 || fail "$(cat apt.log)"
no_screen inside screenprobe
[ "$(inside man -w screenprobe)" = /usr/share/man/man1/screenprobe.1.gz ] || fail "man -w"
inside dpkg -L screenprobe >files && listed /usr/share/doc/screenprobe/copyright
inside apt-get purge -y screenprobe >>apt.log 2>&1 || fail "$(cat apt.log)"
left
