#!/usr/bin/env bash
# Whole-process wall time of screenprobe against the X tools a user would otherwise call, on a
# throwaway desktop (bench/panel_xvfb.sh: openbox, a 32-pixel tint2 panel, xsettingsd). The three
# commands run in alternation, RUNS times each (default 300), after one warm-up run each; the
# ratios are to xprop's median. Run from the repository, the commands print as typed there.
#
#   make build && bench/x11_startup.sh [RUNS]
set -euo pipefail

. "$(dirname "$0")/tools.sh"
command -v xrandr >/dev/null || { echo "missing xrandr (Debian: x11-xserver-utils)" >&2; exit 2; }
bench/panel_xvfb.sh "$timer" "$runs" -- "$probe" -- xprop -root _NET_WORKAREA \
  -- xrandr --listactivemonitors
