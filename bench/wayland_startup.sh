#!/usr/bin/env bash
# Whole-process wall time of screenprobe against `swaymsg -t get_outputs`, the call a sway user
# would otherwise make, on a throwaway headless sway with swaybar (bench/sway_headless.sh). The
# two commands run in alternation, RUNS times each (default 300), after one warm-up run each;
# the ratio is to swaymsg's median. Run as root, from the repository.
#
#   make build && bench/wayland_startup.sh [RUNS]
set -euo pipefail

. "$(dirname "$0")/tools.sh"
bench/sway_headless.sh "$timer" "$runs" -- "$probe" -- swaymsg -t get_outputs
