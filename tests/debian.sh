#!/bin/sh
# The package of `make package`, installed with apt-get in a fresh minimal Debian 12 that nothing
# of the host's enters but the package, run, found by man, then purged without a file left behind.
#   install.sh SOURCE_DIR WORK_DIR (the Debian root, made once, is kept there as a tarball)
set -u
source=$1 root=$2/root
fail() { echo "FAIL: $*" && exit 1; }
mkdir -p "$2" && cd "$2" || exit 1
make -C "$source" package >package.log 2>&1 || fail "make package: $(tail -5 package.log)"
[ -s root.tar ] || mmdebstrap --variant=minbase --include=man-db bookworm root.tar >root.log 2>&1 ||
  { rm -f root.tar && fail "mmdebstrap: $(tail -5 root.log)"; }
rm -rf "$root" && mkdir "$root" && tar -xf root.tar -C "$root" &&
  cp "$source"/build/release/screenprobe_*.deb "$root/tmp/" || fail "no root to install into"
inside() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin "$@"; }
inside sh -c 'apt-get install -y /tmp/screenprobe_*.deb' >apt.log 2>&1 || fail "$(cat apt.log)"
inside screenprobe >out 2>err
[ $? = 1 ] && printf '{"error":"sem tela"}\n' | cmp -s - out && [ ! -s err ] || fail "$(cat out err)"
[ "$(inside man -w screenprobe)" = /usr/share/man/man1/screenprobe.1.gz ] || fail "man -w"
inside dpkg -L screenprobe >files && grep -qx /usr/bin/screenprobe files || fail "$(cat files)"
inside apt-get purge -y screenprobe >>apt.log 2>&1 || fail "$(cat apt.log)"
while read -r path; do [ -d "$root$path" ] || [ ! -e "$root$path" ] || fail "$path is left"; done <files
[ ! -e "$root/usr/share/doc/screenprobe" ] || fail "its doc folder is left"
