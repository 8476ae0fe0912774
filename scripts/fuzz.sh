#!/usr/bin/env bash
# Runs the bank reader fuzzer briefly: scripts/fuzz.sh BUILD_DIR SECONDS
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/fuzz}
seconds=${2:-30}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp fuzz/corpus/* "$work/"
"$build/fuzz/fuzz_bank" -max_total_time="$seconds" -max_len=8192 -print_final_stats=1 \
  -artifact_prefix="$work/" "$work" 2>&1 | tail -n 4
echo "fuzz_bank: no crash, leak or sanitizer report in ${seconds}s"
