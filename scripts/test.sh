#!/usr/bin/env bash
# Builds everything and runs every test suite: the optimised build with
# warnings as errors, the ASan+UBSan build, the ThreadSanitizer build of the
# threaded tests, a short fuzzing run of the bank reader, and the Windows
# build with its tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

jobs=$(nproc)
gen=()
command -v ninja >/dev/null && gen=(-G Ninja)

step() { printf '\n== %s ==\n' "$*" >&2; }

step "optimised build"
cmake -S . -B build/release "${gen[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKEST_WERROR=ON >/dev/null
cmake --build build/release -j "$jobs"
(cd build/release && ctest --output-on-failure -j "$jobs")

step "address + undefined behaviour sanitizers"
cmake -S . -B build/asan "${gen[@]}" -DCMAKE_BUILD_TYPE=Debug -DKEST_WERROR=ON \
  -DKEST_SANITIZE=address,undefined -DKEST_BUILD_BENCH=OFF >/dev/null
cmake --build build/asan -j "$jobs"
(cd build/asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j "$jobs" -LE slow)

step "thread sanitizer (threaded tests)"
cmake -S . -B build/tsan "${gen[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKEST_WERROR=ON \
  -DKEST_SANITIZE=thread -DKEST_BUILD_BENCH=OFF >/dev/null
cmake --build build/tsan -j "$jobs" --target kest_threads_tests
(cd build/tsan && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure -j "$jobs" -L threads)

step "fuzzing the bank reader"
CC=clang CXX=clang++ cmake -S . -B build/fuzz "${gen[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKEST_BUILD_FUZZ=ON -DKEST_BUILD_TESTS=OFF -DKEST_BUILD_BENCH=OFF >/dev/null
cmake --build build/fuzz -j "$jobs" --target fuzz_bank
scripts/fuzz.sh build/fuzz 30

step "Windows build, tests under Wine"
scripts/windows-test.sh build/release
