#!/usr/bin/env bash
# Sanitizer runs of the test suite, each in a build folder of its own.
#   scripts/sanitize.sh [asan]  AddressSanitizer + UndefinedBehaviorSanitizer (build-asan): every
#                               test not labelled slow; builds only what those tests need.
#   scripts/sanitize.sh tsan    ThreadSanitizer (build-tsan): the threads and messaging
#                               (platform), device library (devices) and transfer session
#                               (session: no Widgets, no global pool) tests. The controller's
#                               tests hand work to Qt's global pool, whose futex hand-over an
#                               uninstrumented Qt hides: run them with SANITIZE_AREAS=controller
#                               against a ThreadSanitizer build of Qt.
# SANITIZE_AREAS narrows a run to some test folders (their labels), e.g. "platform shell".
# Any sanitizer report fails the test that produced it.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-asan}
case $mode in
  asan)
    build=${ASAN_BUILD_DIR:-build-asan}
    option=-DPORTAVO_SANITIZE=ON
    areas=${SANITIZE_AREAS:-}
    ;;
  tsan)
    build=${TSAN_BUILD_DIR:-build-tsan}
    option=-DPORTAVO_TSAN=ON
    areas=${SANITIZE_AREAS:-platform devices session}
    ;;
  *)
    echo "usage: $0 [asan|tsan]" >&2
    exit 2
    ;;
esac

export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
tsan_options=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1:die_after_fork=0:suppressions=$PWD/scripts/tsan.supp}
# The build runs instrumented tools (the image renderer) that are not under test.
export TSAN_OPTIONS=report_bugs=0

# -O1 keeps the instrumented tests quick; line tables are enough for the reports' stacks.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug "$option" \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" -DCMAKE_C_FLAGS_DEBUG="-O1 -g1" >/dev/null

selection=(-LE slow)
if [ -n "$areas" ]; then
  selection+=(-L "^($(echo "$areas" | tr ' ' '|'))\$")
fi

# The targets behind the selected tests: every build output their commands name (test
# executables, and the library the exports check reads). Helpers come along as dependencies.
bin=$(cd "$build" && pwd)/bin
mapfile -t names < <(ctest --test-dir "$build" -N "${selection[@]}" | sed -n 's/^ *Test *#[0-9]*: //p')
targets=()
if [ ${#names[@]} -gt 0 ]; then
  mapfile -t targets < <(find "$build" -name CTestTestfile.cmake -exec cat {} + |
    grep -F -f <(printf 'add_test([=[%s]=] \n' "${names[@]}") |
    grep -o "\"$bin/[^\"]*\"" | tr -d '"' |
    sed -e 's|.*/||' -e 's/^lib\(.*\)\.so$/\1/' | sort -u)
fi
# The staged-install test installs every default output (programs, icons, manual pages).
if printf '%s\n' "${names[@]}" | grep -qx install_staged; then
  targets+=(all)
fi
if [ ${#targets[@]} -eq 0 ]; then
  echo "no tests selected" >&2
  exit 1
fi
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"

export TSAN_OPTIONS=$tsan_options
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 900 "${selection[@]}"
