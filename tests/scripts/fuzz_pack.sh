#!/bin/bash
# fuzz_pack.sh — runs the pack archive fuzz target for 20 seconds when a
# fuzzing build provides it (FUZZ_DIR); fails on a crash.
# Arguments: GAME_DIR BUILD_DIR (not needed here).
set -u
fuzzer="${FUZZ_DIR:-}/fuzz_pack"
if [ -z "${FUZZ_DIR:-}" ] || [ ! -x "$fuzzer" ]; then
  echo "skipped: no fuzz_pack binary (set FUZZ_DIR to a fuzzing build's fuzz folder)"
  exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus"
"$fuzzer" -max_total_time=20 -print_final_stats=1 \
  -artifact_prefix="$work/" "$work/corpus" > "$work/log" 2>&1
status=$?
tail -n 20 "$work/log"
if [ $status -ne 0 ]; then
  echo "fuzz_pack failed with status $status"
  for f in "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-*; do
    [ -e "$f" ] && echo "reproducer: $(basename "$f") = $(od -An -tx1 "$f" | head -c 400)"
  done
  exit 1
fi
exit 0
