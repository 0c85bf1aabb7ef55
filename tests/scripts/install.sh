#!/bin/bash
# install.sh — `cmake --install` of the given build into a scratch prefix
# (through DESTDIR, so a rule that writes outside the prefix shows): every
# file is there, the desktop entry and the AppStream data pass their
# validators when those are installed, and the installed command starts
# the game headless, which writes only to the per-user folder.
# Arguments: GAME_DIR BUILD_DIR.
set -u
build_dir=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

prefix=/opt/warrenfold-test
root="$work/root"
if ! DESTDIR="$root" cmake --install "$build_dir" --prefix "$prefix" > "$work/install.log" 2>&1; then
  cat "$work/install.log"
  echo "FAIL: cmake --install"
  exit 1
fi
p="$root$prefix"

# Nothing lands outside the prefix.
stray=$(cd "$root" && find . ! -type d | grep -v "^\.$prefix/")
[ -z "$stray" ] || fail "installed outside the prefix: $stray"

id=example.duskmoth.Warrenfold
for f in lib/warrenfold/warrenfold lib/warrenfold/Warrenfold.data \
  lib/warrenfold/Warrenfold.maps lib/warrenfold/Warrenfold.languages \
  share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
  share/icons/hicolor/48x48/apps/$id.png share/icons/hicolor/128x128/apps/$id.png \
  share/icons/hicolor/256x256/apps/$id.png share/icons/hicolor/scalable/apps/$id.svg \
  share/man/man6/warrenfold.6.gz share/doc/warrenfold/copyright; do
  [ -f "$p/$f" ] && [ -s "$p/$f" ] || fail "missing or empty: $f"
done
[ -x "$p/lib/warrenfold/warrenfold" ] || fail "the program is not executable"
# The command is a relative link, so the installed tree can move.
if [ -L "$p/bin/warrenfold" ]; then
  case $(readlink "$p/bin/warrenfold") in
  /*) fail "bin/warrenfold links to an absolute path" ;;
  esac
  [ "$(readlink -f "$p/bin/warrenfold")" = "$(readlink -f "$p/lib/warrenfold/warrenfold")" ] ||
    fail "bin/warrenfold does not lead to the program"
else
  fail "bin/warrenfold is not a link"
fi
# Each icon has the size its folder names.
if command -v file > /dev/null; then
  for size in 48 128 256; do
    file "$p/share/icons/hicolor/${size}x$size/apps/$id.png" | grep -q "$size x $size" ||
      fail "the ${size}px icon has another size"
  done
fi

if command -v desktop-file-validate > /dev/null; then
  desktop-file-validate "$p/share/applications/$id.desktop" || fail "desktop-file-validate"
else
  echo "skipped: desktop-file-validate is not installed (package desktop-file-utils)"
fi
if command -v appstreamcli > /dev/null; then
  appstreamcli validate --no-net "$p/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
else
  echo "skipped: appstreamcli is not installed (package appstream)"
fi

# The installed game, started through the command on the PATH's folder.
mkdir -p "$work/xdg"
printf '5 quit\n' > "$work/replay"
ls "$p/lib/warrenfold" > "$work/before"
(cd "$work" && SDL_VIDEODRIVER=dummy SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=dummy \
  XDG_DATA_HOME="$work/xdg" WARRENFOLD_REPLAY="$work/replay" WARRENFOLD_UNPACED=1 \
  timeout 120 "$p/bin/warrenfold" > "$work/game.log" 2>&1)
status=$?
if [ $status -ne 0 ]; then
  cat "$work/game.log"
  fail "the installed game exited with status $status"
fi
[ -f "$work/xdg/Duskmoth/Warrenfold/Warrenfold.prefs" ] ||
  fail "no preferences in the per-user folder"
ls "$p/lib/warrenfold" > "$work/after"
cmp -s "$work/before" "$work/after" || fail "the game wrote into its installed folder"

[ $failures -eq 0 ] || exit 1
echo "install: all checks passed"
