#!/usr/bin/env bash
# Runs COMMAND on a throwaway Wayland desktop: headless sway (as the unprivileged user nobody,
# since sway refuses root) with swaybar at the top of a 1920x1080 output at scale 1.5; all of it
# stopped when COMMAND ends. COMMAND gets WAYLAND_DISPLAY and SWAYSOCK, and no DISPLAY. Exits with
# COMMAND's status. Used by `make demo-wayland` and bench/wayland_startup.sh. With SWAY_ROOT set
# to a Debian root that holds sway (such as the Debian 13 root of tests/packages.sh), that root's
# sway runs instead, chrooted, its /dev and /proc mounted in a mount namespace of its own.
#
#   [SWAY_ROOT=DIR] bench/sway_headless.sh COMMAND [ARG]...
set -euo pipefail

[ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARG]..." >&2; exit 2; }
for tool in sway swaybar swaymsg setpriv; do
  command -v "$tool" >/dev/null || { echo "missing $tool (Debian: sway)" >&2; exit 2; }
done
[ "$(id -u)" = 0 ] || { echo "run as root: sway is started as the user nobody" >&2; exit 2; }

root=${SWAY_ROOT:-}
run=$(mktemp -d ${root:+-p "$root/tmp"})
inner=${run#"$root"}  # the folder as sway sees it
chown nobody:nogroup "$run"
# Without XWayland, whose lock file in /tmp a killed sway would leave behind.
printf 'xwayland disable\noutput HEADLESS-1 resolution 1920x1080 scale 1.5\nbar {\n  position top\n}\n' \
  >"$run/config"
sway=(setpriv --reuid=nobody --regid=nogroup --clear-groups env -i PATH="$PATH" HOME="$inner"
  XDG_RUNTIME_DIR="$inner" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman
  sway -c "$inner/config")
if [ -n "$root" ]; then
  setsid unshare --mount --propagation private sh -c 'mount --rbind /dev "$0/dev" &&
    mount -t proc proc "$0/proc" && exec chroot "$0" "$@"' "$root" "${sway[@]}" >"$run/log" 2>&1 &
else
  setsid "${sway[@]}" >"$run/log" 2>&1 &
fi
group=$!
trap 'kill -KILL -- "-$group" 2>/dev/null; wait 2>/dev/null; rm -rf "$run"' EXIT

# Ready once swaybar keeps its band: the workspace starts below the output's top.
ready() {
  SWAYSOCK=$(ls "$run"/sway-ipc.* 2>/dev/null) || return 1
  export SWAYSOCK
  swaymsg -t get_workspaces | grep -q '"y": [1-9]'
}
for _ in $(seq 200); do
  ready && break
  sleep 0.05
done
ready || { echo "sway did not start: $(tail -n 3 "$run/log")" >&2; exit 1; }

unset DISPLAY WAYLAND_SOCKET
export XDG_RUNTIME_DIR=$run
WAYLAND_DISPLAY=$(basename "$(ls "$run"/wayland-? | head -n 1)")
export WAYLAND_DISPLAY
status=0
"$@" || status=$?
exit "$status"
