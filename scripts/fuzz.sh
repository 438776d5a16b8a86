#!/usr/bin/env bash
# Builds the hive-file parser's libFuzzer target with clang (ASan + UBSan) in
# build-fuzz and runs it for a bounded time.
#   scripts/fuzz.sh [SECONDS]        default 30 (or $FUZZ_SECONDS)
# A crash or a failed round-trip check makes the script fail and leaves the
# input in build-fuzz/fuzz-artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-${FUZZ_SECONDS:-30}}
build=${FUZZ_BUILD_DIR:-build-fuzz}

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPORTAVO_FUZZ=ON -DPORTAVO_SANITIZE=ON -DPORTAVO_BUILD_TESTS=ON >/dev/null
cmake --build "$build" --target fuzz_RegistryHive

corpus="$build/fuzz-corpus/RegistryHive"
artifacts="$build/fuzz-artifacts/"
mkdir -p "$corpus" "$artifacts"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
"$build/bin/fuzz_RegistryHive" -max_total_time="$seconds" -timeout=10 -max_len=16384 \
  -dict=tests/data/hive.dict -artifact_prefix="$artifacts" -print_final_stats=1 \
  "$corpus" tests/data/fuzz-seeds
