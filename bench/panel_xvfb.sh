#!/usr/bin/env bash
# Runs COMMAND on a throwaway desktop: Xvfb on a display number it picks itself, openbox with a
# 32-pixel tint2 panel at the top, xsettingsd at window scale 2 and Xft.dpi 192 in the resource
# database; all of it stopped when COMMAND ends. Exits with COMMAND's status. Used by `make demo`
# and the benchmarks, so that they take the probe's whole path: the window manager's check, its
# work area, the settings manager.
#
#   bench/panel_xvfb.sh COMMAND [ARG]...
set -euo pipefail

[ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARG]..." >&2; exit 2; }
for tool in Xvfb xprop xrdb openbox tint2 xsettingsd; do
  command -v "$tool" >/dev/null || {
    echo "missing $tool (Debian: xvfb x11-utils x11-xserver-utils openbox tint2 xsettingsd)" >&2
    exit 2
  }
done

# Started from a Wayland desktop, the probe would ask the compositor instead.
unset WAYLAND_DISPLAY WAYLAND_SOCKET
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1920x1080x24 3>"$work/display" \
  >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 200); do
  [ -s "$work/display" ] && break
  sleep 0.05
done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"

printf 'panel_items = T\npanel_size = 100%% 32\npanel_position = top center horizontal\n' \
  >"$work/tint2rc"
echo 'Gdk/WindowScalingFactor 2' >"$work/xsettingsd.conf"
echo 'Xft.dpi: 192' | xrdb -nocpp -merge
HOME=$work openbox >/dev/null 2>&1 &
pids+=($!)
tint2 -c "$work/tint2rc" >/dev/null 2>&1 &
pids+=($!)
xsettingsd -c "$work/xsettingsd.conf" >/dev/null 2>&1 &
pids+=($!)
# Ready once openbox publishes the panel's band as its work area and the settings are up.
# (grep reads all its input: with pipefail, grep -q would fail the pipe it leaves early.)
ready() {
  xprop -root _NET_WORKAREA | grep '= 0, 32,' >/dev/null &&
    xwininfo -root -tree | grep xsettingsd >/dev/null
}
for _ in $(seq 200); do
  ready && break
  sleep 0.05
done
ready || { echo "the desktop did not start" >&2; exit 1; }

status=0
"$@" || status=$?
exit "$status"
