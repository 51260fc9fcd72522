#!/bin/sh
# Whole-process wall time of screenprobe against the tool a Mac user would otherwise call for the
# display's geometry, system_profiler. The two run in alternation, RUNS times each (default 30),
# after one warm-up run each; the ratio is to system_profiler's median. The probe's no-screen
# answer (status 1, a runner without a window-server session) is a whole run and is timed too.
#
#   bench/macos_startup.sh [RUNS]        (after `make test`, or with SCREENPROBE_BUILD set)
set -eu

runs=${1:-30}
cd "$(dirname "$0")/.."
build=${SCREENPROBE_BUILD:-build/test}
for tool in "$build/screenprobe" "$build/bench/spawn_timer"; do
  [ -x "$tool" ] || { echo "missing $tool: build it first" >&2; exit 2; }
done
command -v system_profiler >/dev/null || { echo "system_profiler is macOS's own" >&2; exit 2; }

echo "# bench/macos_startup.sh $runs  ($(uname -m), $(sysctl -n hw.ncpu) cores, $(date -u +%F))"
"$build/bench/spawn_timer" "$runs" --accept 1 -- "$build/screenprobe" \
  -- system_profiler SPDisplaysDataType -json
