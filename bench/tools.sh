# Sourced by the benchmarks (bash): the run count from their first argument (default 300), the
# probe and the timer of the release build, and the header line naming the command and machine.
runs=${1:-300}
cd "$(dirname "$0")/.."
build=${SCREENPROBE_BUILD:-build/release}
probe=$build/screenprobe
timer=$build/bench/spawn_timer
for tool in "$probe" "$timer"; do
  [ -x "$tool" ] || { echo "missing $tool: run 'make build' first" >&2; exit 2; }
done
echo "# bench/$(basename "$0") $runs  ($(uname -m), $(nproc) cores, $(date -u +%Y-%m-%d))"
