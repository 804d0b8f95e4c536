#!/usr/bin/env bash
# The scripts of scripts/ at their edges: usage errors, a folder that is not
# a project, a missing build, a failing fuzz target, a build path relative to
# another folder, and a seed for every fuzz target. Fuzz targets are
# stand-in shell scripts here.
# usage: scripts_test.sh MAKE_DEMO FUZZ_SEEDS
set -u
make_demo=$1; fuzz_seeds=$2
source_root=$(cd "$(dirname "$0")/../.." && pwd)
scripts=$source_root/scripts
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
failures=0

# expect STATUS TEXT COMMAND...: the exit status and a text of the output.
expect() {
  local status=$1 text=$2; shift 2
  "$@" >"$work/out.txt" 2>&1
  local got=$?
  if [ $got -ne "$status" ] || { [ -n "$text" ] && ! grep -qF -- "$text" "$work/out.txt"; }; then
    echo "FAILED: $* gave $got (expected $status and '$text'):"; cat "$work/out.txt"
    failures=$((failures + 1))
  fi
}

expect 2 "usage: scripts/fuzz" bash "$scripts/fuzz"
expect 2 "usage: scripts/fuzz" bash "$scripts/fuzz" "$work" 5 extra
expect 2 "usage: scripts/fuzz" bash "$scripts/fuzz" "$work" soon
expect 1 "no fuzz targets in /nonexistent/fuzz" bash "$scripts/fuzz" /nonexistent 5
expect 2 "usage: scripts/bench" bash "$scripts/bench" --help
expect 2 "usage: scripts/bench" bash "$scripts/bench" a b
expect 2 "usage: scripts/fuzz-seeds" bash "$scripts/fuzz-seeds"
expect 1 "holds no demo project" bash "$scripts/fuzz-seeds" "$work" "$work/seeds"
# scripts/play refuses a folder that is not a project before it builds.
mkdir -p "$work/not-a-game/data"
expect 1 "is not a project folder: data/System.dat is missing" bash "$scripts/play" "$work/not-a-game"
expect 1 "is not a folder" bash "$scripts/play" "$work/nothing-here"

# A stand-in build: each target records its arguments; "bad" fails.
mkdir -p "$work/build/fuzz" "$work/elsewhere" "$work/fuzz-seeds/good"
for name in good bad; do
  status=0; [ $name = bad ] && status=1
  printf '#!/bin/sh\necho "$@" >"%s/%s.args"\nexit %s\n' "$work" "$name" "$status" >"$work/build/fuzz/fuzz_$name"
  chmod +x "$work/build/fuzz/fuzz_$name"
done
cd "$work/elsewhere" || exit 1
expect 1 "fuzz target bad failed" env JOBS=1 bash "$scripts/fuzz" ../build 3
grep -qF -- "-max_total_time=3" "$work/good.args" || { echo "FAILED: good was not run with its time"; failures=$((failures + 1)); }
grep -qF -- "$work/fuzz-seeds/good" "$work/good.args" || { echo "FAILED: good got no seeds"; failures=$((failures + 1)); }
rm "$work/build/fuzz/fuzz_bad"
expect 0 "fuzzing good for 3s" bash "$scripts/fuzz" ../build 3
cd "$source_root" || exit 1

# Every fuzz target of fuzz/ gets at least one seed.
"$make_demo" "$work/demo" >/dev/null || { echo "FAILED: make-demo"; exit 1; }
expect 0 "" bash "$scripts/fuzz-seeds" "$work/demo" "$work/seeds"
expect 0 "" "$fuzz_seeds" "$work/seeds" "$work/demo"
for source in "$source_root"/fuzz/*.cpp; do
  name=$(basename "$source" .cpp)
  if [ -z "$(ls -A "$work/seeds/$name" 2>/dev/null)" ]; then
    echo "FAILED: no seed for the fuzz target $name"; failures=$((failures + 1))
  fi
done

[ $failures -eq 0 ]
