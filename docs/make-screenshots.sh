#!/bin/bash
# Makes the README's pictures with the game itself: each picture is one
# headless run driven by a replay with a fixed seed that presses F1 once
# (screenshots are named to the second, so one per run), then quits. The
# BMP is scaled to 960 pixels wide and written as PNG.
# Usage: docs/make-screenshots.sh [GAME_BINARY] [OUT_DIR]
# Needs ImageMagick's convert.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
game=$(realpath "${1:-$here/../build/game/warrenfold}")
out=$(realpath "${2:-$here/screenshots}")
command -v convert > /dev/null || { echo "needs ImageMagick's convert" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# shot NAME REPLAY_EVENTS AT [LANGUAGE]: the events come after the seed;
# F1 is pressed at pass AT and the quit added after it.
shot() {
  local name=$1 events=$2 at=$3 language=${4:-en_GB}
  local xdg="$work/$name"
  mkdir -p "$xdg/Duskmoth/Warrenfold"
  # Windowed at 1920 x 1080, so every picture has the same shape.
  printf '[Settings]\nGameScreen = 1\nResolution = 4\nLanguage = %s\n' "$language" \
    > "$xdg/Duskmoth/Warrenfold/Warrenfold.prefs"
  {
    echo "seed 7"
    printf '%s\n' "$events"
    echo "$at down F1"
    echo "$((at + 1)) up F1"
    echo "$((at + 30)) quit"
  } > "$work/$name.replay"
  (cd "$work" && SDL_VIDEODRIVER=dummy SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy \
    XDG_DATA_HOME="$xdg" WARRENFOLD_REPLAY="$work/$name.replay" WARRENFOLD_UNPACED=1 \
    "$game")
  local bmp
  bmp=$(ls "$xdg/Duskmoth/Warrenfold/"Warrenfold*.bmp | head -n 1)
  convert "$bmp" -filter Lanczos -resize 960x -strip "$out/$name.png"
  echo "$out/$name.png"
}

# Main loop passes: the studio logo and the title take about 240 passes,
# then the main menu is up and its monsters start to wander. Return at 300
# opens level select; Return at 340 starts the first slot's level, whose
# countdown ends near pass 480.
start_level=$'300 down Return\n301 up Return\n340 down Return\n341 up Return'
shot main-menu "" 600
settings=$'300 down Down\n301 up Down\n310 down Return\n311 up Return'
shot settings "$settings" 340
# The settings in a language of Chinese characters and in one read from
# the right.
shot settings-ja "$settings" 340 ja_JP
shot settings-ar "$settings" 340 ar_SA
# One tile up to the corridor above the start, then right along it.
walk=$'500 down Up\n530 up Up\n531 down Right\n700 up Right'
shot playing "$start_level"$'\n'"$walk" 710
shot paused "$start_level"$'\n'"$walk"$'\n710 down Esc\n711 up Esc' 740
