#!/usr/bin/env bash
# Builds the lower libraries and their tests with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs those tests.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${ASAN_BUILD_DIR:-build-asan}
AREAS=${SANITIZE_AREAS:-data platform devices}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPORTAVO_SANITIZE=ON >/dev/null
targets=()
for a in $AREAS; do targets+=("tests/$a/all"); done
cmake --build "$BUILD" -j"$(nproc)" --target "${targets[@]}"
export QT_QPA_PLATFORM=offscreen
labels=$(echo "$AREAS" | tr ' ' '|')
ctest --test-dir "$BUILD" --output-on-failure -j"$(nproc)" -L "^($labels)\$" --timeout 600
