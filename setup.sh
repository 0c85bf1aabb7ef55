#!/usr/bin/env bash
# setup.sh — installs what Warrenfold needs on Debian 12, builds it, and
# then plays the game or runs every test.
#
#   ./setup.sh play   build and start the game
#   ./setup.sh test   build and run the whole test suite (also under
#                     AddressSanitizer + UndefinedBehaviorSanitizer, and
#                     the fuzz targets briefly)
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(g++ cmake ninja-build pkg-config libsdl2-dev libsdl2-mixer-dev
  libvorbis-dev libpng-dev libdeflate-dev libcairo2-dev libpango1.0-dev libarchive-dev
  fonts-liberation2 fonts-dejavu-core fonts-noto-cjk fonts-noto-ui-core
  libgtest-dev libgmock-dev libbenchmark-dev)
TEST_PACKAGES=(clang libclang-rt-14-dev xvfb openbox x11-utils xdotool desktop-file-utils appstream)

install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
  fi
}

JOBS=$(nproc)

# build DIR [TARGET] -- CMAKE OPTIONS...
build() {
  local dir=$1 target=$2
  shift 2
  cmake -S . -B "$dir" -G Ninja "$@"
  cmake --build "$dir" -j "$JOBS" --target "$target"
}

case "${1:-}" in
play)
  install_missing "${PACKAGES[@]}"
  build build all -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWARRENFOLD_TESTS=OFF -DWARRENFOLD_BENCH=OFF
  shift
  exec build/game/warrenfold "$@"
  ;;
test)
  install_missing "${PACKAGES[@]}" "${TEST_PACKAGES[@]}"
  # Optimised without debug information: the suite needs no debugger, and
  # the build is much of its time.
  build build all -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWARRENFOLD_TESTS=ON -DWARRENFOLD_BENCH=ON \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG"
  # The fuzz targets run in the sanitizer pass below, from its build.
  ctest --test-dir build --output-on-failure -j "$JOBS" -E '^script\.fuzz$'
  # The same tests once more under the sanitizers, on the content forged
  # above, built with clang so that the same build also gives the fuzz
  # targets their short run. The forges' two whole runs, which only ever
  # read our own sources, are left to the pass above.
  # -O1 with line tables: reports keep their file and line, the tests run
  # several times faster than unoptimised.
  CC=clang CXX=clang++ build build-asan all -DCMAKE_BUILD_TYPE=Debug \
    -DWARRENFOLD_SANITIZE=ON -DWARRENFOLD_FUZZ=ON \
    -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" -DCMAKE_C_FLAGS_DEBUG="-O1 -g1" \
    -DWARRENFOLD_BENCH=OFF -DWARRENFOLD_CONTENT_FROM="$PWD/build/game"
  FUZZ_DIR="$PWD/build-asan/fuzz" FUZZ_SECONDS=10 \
    ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp" \
    UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j "$JOBS" \
      -E '^(forge_art\.output|forge_audio\.check)$'
  ;;
*)
  echo "usage: $0 play|test" >&2
  exit 1
  ;;
esac
