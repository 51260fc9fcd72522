#!/usr/bin/env bash
# Whole-process wall time of screenprobe where there is no display at all (status 1, the
# failure line), against /bin/true: what the probe costs a script that runs it everywhere.
# Alternated, RUNS times each (default 300), after one warm-up run each.
#
#   make build && bench/no_display_startup.sh [RUNS]
set -euo pipefail

. "$(dirname "$0")/tools.sh"
env -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET \
  "$timer" "$runs" --accept 1 -- "$probe" -- /bin/true
