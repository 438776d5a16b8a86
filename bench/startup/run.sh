#!/bin/bash
# Starts the wizard as the menu entry does (a bare `portavo`) on a private Xvfb display, 5 times
# after one warm-up start, and prints for each run the time until its window is mapped and the
# resident memory 2 s later, then the medians and the machine's load.
#
# usage: run.sh <path to startup_window> <path to portavo> [runs=5] [extra portavo arguments]
set -euo pipefail

PROBE=${1:?usage: run.sh <startup_window> <portavo> [runs]}
PORTAVO=${2:?usage: run.sh <startup_window> <portavo> [runs]}
RUNS=${3:-5}
shift $(( $# < 3 ? $# : 3 ))
WORK=$(mktemp -d "${TMPDIR:-/tmp}/kavo-startup-bench.XXXXXX")
XVFB=
cleanup() {
    [ -z "$XVFB" ] || kill "$XVFB" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

# A settings, cache and runtime folder of this run only: no other wizard to hand over to.
for d in home config cache data run; do mkdir -p "$WORK/$d"; done
chmod 700 "$WORK/run"
export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/config XDG_CACHE_HOME=$WORK/cache
export XDG_DATA_HOME=$WORK/data XDG_RUNTIME_DIR=$WORK/run
export KAVO_USER_HIVE=$WORK/user.reg KAVO_MACHINE_HIVE=$WORK/machine.reg
unset QT_QPA_PLATFORM KAVO_MOUNTINFO KAVO_SYSFS_ROOT
export QT_QPA_PLATFORM=xcb

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
XVFB=$!
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.05; done
[ -s "$WORK/display" ] || { echo "Xvfb did not start: $(cat "$WORK/xvfb.log")"; exit 1; }
export DISPLAY=:$(cat "$WORK/display")

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
# The first start creates the settings and fills the page cache; it is not counted.
"$PROBE" 2000 "$PORTAVO" "$@" >/dev/null
: >"$WORK/runs"
for r in $(seq "$RUNS"); do
    line=$("$PROBE" 2000 "$PORTAVO" "$@")
    echo "run $r: window $(cut -d' ' -f1 <<<"$line") ms, resident $(cut -d' ' -f2 <<<"$line") MB (peak $(cut -d' ' -f3 <<<"$line") MB)"
    echo "$line" >>"$WORK/runs"
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "median of $RUNS: window $(cut -d' ' -f1 "$WORK/runs" | median) ms, resident $(cut -d' ' -f2 "$WORK/runs" | median) MB (peak $(cut -d' ' -f3 "$WORK/runs" | median) MB)"
