#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) in build-fuzz and runs each for a
# bounded time: the hive-file parser, the messaging frame and the launcher's hand-over frame.
#   scripts/fuzz.sh [SECONDS]        per target; default 30 (or $FUZZ_SECONDS)
#   FUZZ_TARGETS="LauncherFrame"     run only some of them
# A crash or a failed check makes the script fail and leaves the input in
# build-fuzz/fuzz-artifacts/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-${FUZZ_SECONDS:-30}}
build=${FUZZ_BUILD_DIR:-build-fuzz}
names=${FUZZ_TARGETS:-RegistryHive KavoIPCFrame LauncherFrame}

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPORTAVO_FUZZ=ON -DPORTAVO_SANITIZE=ON -DPORTAVO_BUILD_TESTS=ON >/dev/null
targets=()
for n in $names; do targets+=("fuzz_$n"); done
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
for n in $names; do
  case $n in
    RegistryHive) options=(-max_len=16384 -dict=tests/data/hive.dict); seeds=tests/data/fuzz-seeds ;;
    KavoIPCFrame | LauncherFrame) options=(-max_len=4096); seeds=tests/platform/fuzz-seeds/$n ;;
    *) echo "unknown fuzz target $n" >&2; exit 2 ;;
  esac
  corpus="$build/fuzz-corpus/$n"
  artifacts="$build/fuzz-artifacts/$n/"
  mkdir -p "$corpus" "$artifacts"
  echo "== fuzz_$n for ${seconds}s"
  "$build/bin/fuzz_$n" -max_total_time="$seconds" -timeout=10 -artifact_prefix="$artifacts" \
    -print_final_stats=1 "${options[@]}" "$corpus" "$seeds"
done
