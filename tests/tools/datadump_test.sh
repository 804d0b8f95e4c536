#!/usr/bin/env bash
# datadump prints every data file of the demo project as JSON, and refuses a
# cut or damaged file with a message and exit status 1 (never a crash).
# usage: datadump_test.sh MAKE_DEMO DATADUMP
set -u
make_demo=$1; datadump=$2
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
"$make_demo" "$work/demo" >/dev/null || { echo "make-demo failed"; exit 1; }

failures=0
count=0
while IFS= read -r -d '' file; do
  count=$((count + 1))
  if ! "$datadump" "$file" >"$work/out.json" 2>"$work/err.txt"; then
    echo "datadump failed on $file: $(cat "$work/err.txt")"; failures=$((failures + 1)); continue
  fi
  if ! python3 -c 'import json,sys; json.load(open(sys.argv[1]))' "$work/out.json" 2>/dev/null; then
    echo "not JSON for $file"; failures=$((failures + 1))
  fi
  # The same file cut in half, and with a count word made huge.
  size=$(stat -c %s "$file")
  for damage in cut count; do
    damaged="$work/damaged/$(basename "$file")"
    mkdir -p "$work/damaged"
    if [ $damage = cut ]; then
      head -c $((size / 2)) "$file" >"$damaged"
    else
      cp "$file" "$damaged"
      printf '\xff\xff\xff\x7f' | dd of="$damaged" bs=1 seek=4 conv=notrunc status=none
    fi
    "$datadump" "$damaged" >/dev/null 2>"$work/err.txt"
    status=$?
    if [ $status -ne 1 ] || [ ! -s "$work/err.txt" ]; then
      echo "$damage $file: status $status, message '$(cat "$work/err.txt")'"; failures=$((failures + 1))
    fi
  done
done < <(find "$work/demo" -type f \( -iname '*.dat' -o -iname '*.cplt4' -o -iname '*.stg4_[0-9][0-9][0-9]' \) \
           ! -path '*/hbt/*' -print0)

echo "$count files printed"
[ "$count" -gt 10 ] || { echo "too few data files in the demo project"; exit 1; }
[ $failures -eq 0 ]
