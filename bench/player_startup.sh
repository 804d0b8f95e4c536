#!/usr/bin/env bash
# Start-up figures of the real player on the demo project, Release build,
# headless with the virtual clock: the time from the process's start (the
# kernel's start time) to its first presented frame (the median of RUNS
# starts), and the most memory held resident during a minute of play (3600
# frames). Writes them to BUILD_DIR/bench/player_startup.json as well.
#
# usage: bench/player_startup.sh
# Environment:
#   JOBS       parallel compile jobs (default: every core)
#   BUILD_DIR  folder that receives every build (default: build/)
#   RUNS       starts measured (default: 9)
set -euo pipefail
(($# == 0)) || { echo "usage: bench/player_startup.sh" >&2; exit 2; }
builds=$(realpath -m -- "${BUILD_DIR:-$(dirname "$0")/../build}")
cd "$(dirname "$0")/.."
release=$builds/release
cmake -S . -B "$release" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$release" -j "${JOBS:-$(nproc)}" --target player make-demo >/dev/null

work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
"$release/tools/make-demo" "$work/demo" >/dev/null
mkdir -p "$work/runtime"

# run FRAMES: one headless run; prints its state dump.
run() {
  (cd "$work/demo" && env PLAYER_HEADLESS=1 PLAYER_CLOCK=virtual PLAYER_FRAMES="$1" \
     PLAYER_DUMP_STATE="$work/state.json" XDG_RUNTIME_DIR="$work/runtime" "$release/tools/player")
  cat "$work/state.json"
}
field() { sed -n "s/.*\"$1\": \([0-9.]*\).*/\1/p"; }

starts=()
for ((i = 0; i < ${RUNS:-9}; i++)); do starts+=("$(run 1 | field first_frame_ms)"); done
median=$(printf '%s\n' "${starts[@]}" | sort -n | sed -n "$(((${#starts[@]} + 1) / 2))p")
peak=$(run 3600 | field peak_rss_kb)

echo "first frame: $median ms (median of ${#starts[@]}: ${starts[*]})"
echo "peak resident memory after 3600 frames: $((peak / 1024)) MiB ($peak KiB)"
mkdir -p "$builds/bench"
printf '{"first_frame_ms": %s, "peak_rss_kb": %s}\n' "$median" "$peak" >"$builds/bench/player_startup.json"
