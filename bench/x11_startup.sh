#!/usr/bin/env bash
# Whole-process wall time of screenprobe against the X tools a user would otherwise call, on a
# throwaway Xvfb with a 32-pixel top panel and Xft.dpi 192. The three commands run in
# alternation, RUNS times each (default 300); the ratios are to xprop's median.
#
#   make build && bench/x11_startup.sh [RUNS]
set -euo pipefail

runs=${1:-300}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SCREENPROBE_BUILD:-$root/build/release}
probe=$build/screenprobe
timer=$build/bench/spawn_timer
for tool in "$probe" "$timer"; do
  [ -x "$tool" ] || { echo "missing $tool: run 'make build' first" >&2; exit 2; }
done
for tool in Xvfb xprop xrandr xrdb; do
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
"$probe" >/dev/null

echo "# $0 $runs  ($(uname -m), $(nproc) cores, $(date -u +%Y-%m-%d))"
"$timer" "$runs" -- "$probe" -- xprop -root _NET_WORKAREA -- xrandr --listactivemonitors
