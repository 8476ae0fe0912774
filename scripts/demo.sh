#!/usr/bin/env bash
# The main job: builds the plug-in and shows what a host sees when it opens it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
gen=()
command -v ninja >/dev/null && gen=(-G Ninja)
cmake -S . -B build/release "${gen[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release -j "$(nproc)" --target Kestrelphon kestrelphon-info
build/release/tools/kestrelphon-info build/release/Kestrelphon.so
