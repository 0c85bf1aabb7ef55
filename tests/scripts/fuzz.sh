#!/bin/bash
# fuzz.sh — runs every fuzz target of a fuzzing build (FUZZ_DIR) for a short
# while, seeded with real content; fails on a crash, a leak or a hang.
# Arguments: GAME_DIR BUILD_DIR. FUZZ_SECONDS sets the time per target.
# Seeds: fuzz/corpus/<target>/ in the source tree, and for the archive
# readers inputs taken from the build's archives.
set -u
game=$1
tools=$2/tools
corpus=$(cd "$(dirname "$0")/../../fuzz/corpus" 2> /dev/null && pwd)
seconds=${FUZZ_SECONDS:-15}
if [ -z "${FUZZ_DIR:-}" ] || ! ls "$FUZZ_DIR"/fuzz_* > /dev/null 2>&1; then
  echo "skipped: no fuzz targets (set FUZZ_DIR to a fuzzing build's fuzz folder)"
  exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Seeds: small real inputs of each kind.
mkdir -p "$work/seeds/png" "$work/seeds/pack" "$work/seeds/mapfile" "$work/seeds/loadmaps"
extract() { "$tools/wfpack" extract "$1" "$2" "$3" > /dev/null 2>&1; }
if [ -x "$tools/wfpack" ] && [ -f "$game/Warrenfold.maps" ]; then
  extract "$game/Warrenfold.maps" TILES/57 "$work/seeds/png/dot.png"
  extract "$game/Warrenfold.data" star.png "$work/seeds/png/star.png"
  extract "$game/Warrenfold.maps" index "$work/seeds/mapfile/index"
  extract "$game/Warrenfold.maps" MAPS/01 "$work/seeds/mapfile/01"
  "$tools/wfpack" create --block 4096 "$work/seeds/pack/small.pack" \
    dot.png="$work/seeds/png/dot.png" index="$work/seeds/mapfile/index" > /dev/null
  "$tools/wfpack" create "$work/seeds/loadmaps/one.maps" \
    index="$work/seeds/mapfile/index" MAPS/01="$work/seeds/mapfile/01" \
    TILES/57="$work/seeds/png/dot.png" > /dev/null
fi

failed=0
for fuzzer in "$FUZZ_DIR"/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name=${fuzzer##*/fuzz_}
  mkdir -p "$work/corpus-$name"
  cp "$work/seeds/$name"/* "$work/corpus-$name/" 2> /dev/null
  [ -n "$corpus" ] && cp "$corpus/$name"/* "$work/corpus-$name/" 2> /dev/null
  "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$work/$name-" \
    "$work/corpus-$name" > "$work/$name.log" 2>&1
  status=$?
  echo "== $name: status $status"
  tail -n 4 "$work/$name.log"
  if [ $status -ne 0 ]; then
    failed=1
    tail -n 40 "$work/$name.log"
    for f in "$work/$name"-*; do
      [ -e "$f" ] && echo "reproducer: $(basename "$f") = $(od -An -tx1 "$f" | head -c 600)"
    done
  fi
done
exit $failed
