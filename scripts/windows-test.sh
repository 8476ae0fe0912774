#!/usr/bin/env bash
# Cross-builds the plug-in and its tests for 64-bit Windows (MinGW-w64) in
# build/win and runs them under Wine. The render through Kestrelphon.dll is
# compared sample for sample with the Linux build's render of the same input,
# and the editor's face under Wine with the Linux build's under X11 (when that
# build has the editor and has run its tests): out/editor-x11-wine.png.
#
#   scripts/windows-test.sh [LINUX_BUILD_DIR]
#
# LINUX_BUILD_DIR (default build/linux-check) is an optimised Linux build
# folder; scripts/test.sh passes its own, build/release.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/windows-deps.sh

jobs=$(nproc)
linux=${1:-build/linux-check}
win=build/win
step() { printf '\n== %s ==\n' "$*" >&2; }

step "Linux reference render"
if [[ ! -f $linux/CMakeCache.txt ]]; then
  cmake -S . -B "$linux" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKEST_BUILD_UI=OFF -DKEST_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$linux" -j "$jobs" --target Kestrelphon kest_render_reference
mkdir -p "$win"
reference=$PWD/$win/linux-render.f32
"$linux/tests/e2e/kest_render_reference" "$linux/Kestrelphon.so" "$reference"

step "Windows build (MinGW-w64)"
cmake -S . -B "$win" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKEST_BUILD_UI=ON -DKEST_WERROR=ON -DKEST_LINUX_RENDER="$reference" >/dev/null
cmake --build "$win" -j "$jobs"

step "Windows tests under Wine"
# The prefix is kept in the build folder; its first start costs seconds, so it
# is made (and the server started) before the tests run.
start=$SECONDS
"$win/wine-run.sh" --init
# Nothing of Wine's may outlive the run.
trap '"$win/wine-run.sh" --stop' EXIT
echo "Wine prefix ready in $((SECONDS - start)) s" >&2
(cd "$win" && ctest --output-on-failure -j "$jobs")

shots=tests/editor/shots/module_editor.png
if [[ -x $linux/tests/editor/kest_shot_compare && -f $linux/$shots && -f $win/$shots ]]; then
  step "The editor's face: X11 (left) and Wine (middle)"
  mkdir -p out
  "$linux/tests/editor/kest_shot_compare" "$linux/$shots" "$win/$shots" out/editor-x11-wine.png
fi
