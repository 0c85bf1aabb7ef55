#!/bin/bash
# xvfb_window.sh — the real game binary in a real window on an X server
# (Xvfb with a window manager), driven by a replay: the window has the size
# and the decorations asked for, a screenshot is taken, the game quits in
# an orderly way. Then a level is won in a window, on a test map archive
# that the core tests write. Arguments: GAME_DIR BUILD_DIR.
set -u
game_dir=$(cd "$1" && pwd)
for tool in Xvfb openbox xdotool xprop; do
  command -v "$tool" > /dev/null || { echo "missing $tool (./setup.sh test installs it)"; exit 1; }
done
work=$(mktemp -d)
game_pid="" wm_pid="" x_pid=""
trap 'kill $game_pid $wm_pid $x_pid 2> /dev/null; rm -rf "$work"' EXIT

# A display number nobody uses.
for n in $(seq 91 140); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=$n; break; }
done
Xvfb ":$display" -screen 0 1600x1200x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
x_pid=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
export DISPLAY=":$display"
openbox > "$work/openbox.log" 2>&1 &
wm_pid=$!
sleep 1

# The game in a folder of its own (archives not there yet linked beside
# it), windowed at 1024 x 576, its user folder in the scratch folder.
copy_game() {
  mkdir -p "$1/game" "$1/xdg/Duskmoth/Warrenfold"
  cp "$game_dir/warrenfold" "$1/game/"
  for f in Warrenfold.data Warrenfold.maps Warrenfold.languages; do
    [ -e "$1/game/$f" ] || ln -s "$game_dir/$f" "$1/game/$f"
  done
  printf '[Settings]\nGameScreen = 1\nResolution = 0\nLanguage = en_GB\n' \
    > "$1/xdg/Duskmoth/Warrenfold/Warrenfold.prefs"
}
copy_game "$work"
save="$work/xdg/Duskmoth/Warrenfold"
printf 'seed 5\n0 down Esc\n2 up Esc\n4 down Esc\n6 up Esc\n150 down F1\n152 up F1\n240 quit\n' \
  > "$work/run.replay"
# The game drops X's GL renderer (llvmpipe) for the software one, and SDL
# unloads Mesa's driver, which leaves a buffer of its own behind: keep the
# driver loaded so the sanitizers' leak check sees it still referenced.
preload=""
for lib in /usr/lib/x86_64-linux-gnu/dri/swrast_dri.so \
  /usr/lib/x86_64-linux-gnu/libGLX_mesa.so.0; do
  [ -f "$lib" ] && preload="$preload $lib"
done
XDG_DATA_HOME="$work/xdg" SDL_AUDIODRIVER=dummy WARRENFOLD_REPLAY="$work/run.replay" \
  LD_PRELOAD="${preload# }" ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0" \
  "$work/game/warrenfold" /LOG > "$work/game.out" 2>&1 &
game_pid=$!

# While it runs: a real window of the asked size, with a title bar. SDL
# may replace its first window when it picks the renderer, so a window
# found can be gone a moment later: look again until one answers.
window="" title=""
for _ in $(seq 200); do
  window=$(xdotool search --class warrenfold 2> /dev/null | tail -1)
  [ -n "$window" ] && title=$(xprop -id "$window" _NET_WM_NAME 2> /dev/null) &&
    [ -n "$title" ] && break
  sleep 0.1
done
fail() {
  echo "FAILED: $*"
  cat "$work/game.out"
  tail -n 5 "$save"/Log*.log 2> /dev/null
  exit 1
}
[ -n "$window" ] || fail "no game window"
echo "$title" | grep -q '"Warrenfold 1.0.0.3 - Corvantis' || fail "window title: $title"
geometry=$(xdotool getwindowgeometry "$window")
echo "$geometry"
echo "$geometry" | grep -q "Geometry: 1024x576" || fail "window is not 1024x576"
# No resizing: the window manager is told a fixed size.
hints=$(xprop -id "$window" WM_NORMAL_HINTS)
echo "$hints" | grep -q "program specified minimum size: 1024 by 576" || fail "no fixed minimum size: $hints"
echo "$hints" | grep -q "program specified maximum size: 1024 by 576" || fail "no fixed maximum size: $hints"

wait "$game_pid"
status=$?
game_pid=""
[ "$status" -eq 0 ] || fail "exit status $status"
log=$(ls "$save"/Log*.log | head -1)
grep -q $'^Saving screenshot:\t\tOK\r$' "$log" || fail "no screenshot in the log"
shot=$(ls "$save"/Warrenfold\ *.bmp | head -1)
[ -f "$shot" ] || fail "no screenshot file"
# A 24-bit bitmap of 1024 x 576: 54 header bytes and 3072 bytes a row.
size=$(stat -c %s "$shot")
[ "$size" -eq $((54 + 3072 * 576)) ] || fail "screenshot has $size bytes"
# The menu is drawn: the shot is not one flat colour.
colours=$(tail -c +55 "$shot" | od -An -tx1 -w3 -v | sort -u | head -20 | wc -l)
[ "$colours" -ge 10 ] || fail "screenshot looks empty"
echo "window, screenshot and orderly exit: OK"

# A level won in a window: level 01 of the test maps walked from slot 1,
# then back to the main menu, where Esc quits. Thousands of passes: not
# under the sanitizers, whose suite runs the same replay headless.
if grep -qa __asan_init "$game_dir/warrenfold"; then
  echo "won level: skipped under the sanitizers"
  exit 0
fi
mkdir -p "$work/won/game"
WARRENFOLD_WIN_FIXTURE="$work/won" "$2/tests/tests_program" \
  --gtest_filter='WinCourse.*' > "$work/won/fixture.out" 2>&1 \
  || { cat "$work/won/fixture.out"; fail "no test map archive"; }
mv "$work/won/Warrenfold.maps" "$work/won/game/"
copy_game "$work/won"
won="$work/won/xdg/Duskmoth/Warrenfold"
XDG_DATA_HOME="$work/won/xdg" SDL_AUDIODRIVER=dummy WARRENFOLD_UNPACED=1 \
  WARRENFOLD_REPLAY="$work/won/won.replay" LD_PRELOAD="${preload# }" \
  timeout 240 "$work/won/game/warrenfold" > "$work/game.out" 2>&1
status=$?
[ "$status" -eq 0 ] || fail "won level: exit status $status"
cmp -s "$won/Warrenfold.scores" <(printf '02\r\n01\r\n01\r\n01\r\n01\r\n') \
  || fail "won level: scores $(od -An -c "$won/Warrenfold.scores")"
echo "won level in a window: OK"
