#!/bin/bash
# campaign.sh — a long fuzzing campaign over the targets of a fuzzing build.
#
#   fuzz/campaign.sh FUZZ_DIR [SECONDS] [TARGET...]
#
# FUZZ_DIR is a fuzzing build's fuzz folder (configure with CC=clang
# CXX=clang++ -DWARRENFOLD_FUZZ=ON and build fuzz_all). Each named target
# (default: all of them, by the name after "fuzz_", such as keyvalue) runs
# for SECONDS (default 600) in turn. The corpus of every target lives in
# CAMPAIGN_DIR/<target>/corpus (default CAMPAIGN_DIR: fuzz-campaign in the
# fuzzing build, beside FUZZ_DIR) and grows from one campaign to the next; a
# fresh one starts from the seeds in fuzz/corpus/<target>/ and, where
# GAME_DIR names a build's game folder (a tools folder with wfpack beside
# it), inputs taken from the shipped archives. Crash,
# leak and hang inputs go to CAMPAIGN_DIR/<target>/artifacts; the log of
# each run is CAMPAIGN_DIR/<target>/last.log. JOBS (default 1) runs that
# many fuzzing processes per target. The exit status is 1 when any target
# left a new artifact, so that a finding cannot pass unseen.
#
# Reproduce a finding with: FUZZ_DIR/fuzz_<target> ARTIFACT
set -u
if [ $# -lt 1 ] || [ ! -d "$1" ]; then
  sed -n '2,21p' "$0" | sed 's/^# \{0,1\}//'
  exit 2
fi
fuzz_dir=$(cd "$1" && pwd)
seconds=${2:-600}
shift $(($# >= 2 ? 2 : 1))
here=$(cd "$(dirname "$0")" && pwd)
campaign=${CAMPAIGN_DIR:-$fuzz_dir/../fuzz-campaign}
jobs=${JOBS:-1}
mkdir -p "$campaign"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$fuzz_dir"/fuzz_*; do
    [ -x "$f" ] && targets+=("${f##*/fuzz_}")
  done
fi

# Inputs from the shipped archives for the archive readers (first run only).
seed_from_game() {
  local name=$1 into=$2 game=${GAME_DIR:-}
  local wfpack=$game/../tools/wfpack
  [ -n "$game" ] && [ -x "$wfpack" ] || return 0
  local x="$wfpack extract"
  case $name in
  png)
    $x "$game/Warrenfold.maps" TILES/57 "$into/dot.png"
    $x "$game/Warrenfold.data" star.png "$into/star.png"
    ;;
  mapfile)
    $x "$game/Warrenfold.maps" index "$into/index"
    $x "$game/Warrenfold.maps" MAPS/01 "$into/01"
    ;;
  pack | loadmaps)
    local t
    t=$(mktemp -d)
    $x "$game/Warrenfold.maps" index "$t/index"
    $x "$game/Warrenfold.maps" MAPS/01 "$t/01"
    $x "$game/Warrenfold.maps" TILES/57 "$t/dot.png"
    "$wfpack" create --block 4096 "$into/seed.pack" index="$t/index" \
      MAPS/01="$t/01" TILES/57="$t/dot.png"
    rm -rf "$t"
    ;;
  esac > /dev/null 2>&1
}

status=0
for name in "${targets[@]}"; do
  fuzzer=$fuzz_dir/fuzz_$name
  if [ ! -x "$fuzzer" ]; then
    echo "== $name: no such target in $fuzz_dir" >&2
    status=1
    continue
  fi
  dir=$campaign/$name
  mkdir -p "$dir/corpus" "$dir/artifacts"
  if [ -z "$(ls -A "$dir/corpus")" ]; then
    cp "$here/corpus/$name"/* "$dir/corpus/" 2> /dev/null
    seed_from_game "$name" "$dir/corpus"
  fi
  before=$(ls "$dir/artifacts" | wc -l)
  echo "== $name: ${seconds}s, $jobs job(s), corpus $(ls "$dir/corpus" | wc -l) inputs"
  extra=()
  [ "$jobs" -gt 1 ] && extra=(-fork="$jobs" -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1)
  "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$dir/artifacts/" "${extra[@]}" \
    "$dir/corpus" > "$dir/last.log" 2>&1
  rc=$?
  grep -E '^stat::(number_of_executed_units|peak_rss_mb)|^#[0-9]+.*DONE' "$dir/last.log" | tail -n 3
  after=$(ls "$dir/artifacts" | wc -l)
  if [ "$rc" -ne 0 ] || [ "$after" -gt "$before" ]; then
    echo "== $name: FINDING (status $rc); see $dir/last.log and $dir/artifacts"
    status=1
  fi
done
exit $status
