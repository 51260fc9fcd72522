#!/usr/bin/env bash
# Runs COMMAND against a throwaway X server that looks like a desktop with a 32-pixel top panel
# and Xft.dpi 192: Xvfb on a display number it picks itself, stopped when COMMAND ends. Exits
# with COMMAND's status. Used by `make demo` and the benchmarks.
#
#   bench/panel_xvfb.sh COMMAND [ARG]...
set -euo pipefail

[ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARG]..." >&2; exit 2; }
for tool in Xvfb xprop xrdb; do
  command -v "$tool" >/dev/null || { echo "missing $tool (Debian: xvfb, x11-xserver-utils)" >&2; exit 2; }
done

display_file=$(mktemp)
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1920x1080x24 3>"$display_file" \
  >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; rm -f "$display_file"' EXIT
for _ in $(seq 200); do
  [ -s "$display_file" ] && break
  sleep 0.05
done
[ -s "$display_file" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$display_file")"

xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA 0,32,1920,1048
echo 'Xft.dpi: 192' | xrdb -merge

status=0
"$@" || status=$?
exit "$status"
