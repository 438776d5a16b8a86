#!/bin/bash
# Copies 3 files of 1 GiB (random bytes, so nothing is sparse or compressible) into a folder
# with the wizard's USB copier and with `cp` followed by `sync` of the copies, alternating, and
# prints the throughput ratio (goal: copier >= 0.95 x cp + sync) and the peak memory of each.
#
# usage: run.sh <path to usb_copy> [size in MiB=1024] [runs=3] [work dir=$TMPDIR or /tmp]
#               [destination parent=work dir]
# A destination on another file system (e.g. /dev/shm) measures the buffered path that copies
# to a USB drive take; on the same one the kernel copies in place (copy_file_range).
set -euo pipefail

COPIER=${1:?usage: run.sh <path to usb_copy> [MiB] [runs] [dir]}
MIB=${2:-1024}
RUNS=${3:-3}
WORK=$(mktemp -d "${4:-${TMPDIR:-/tmp}}/kavo-copy-bench.XXXXXX")
DEST=$(mktemp -d "${5:-$WORK}/kavo-copy-dest.XXXXXX")
trap 'rm -rf "$WORK" "$DEST"' EXIT
mkdir -p "$WORK/src"

echo "Making 3 x ${MIB} MiB of random data in $WORK/src..."
for i in 1 2 3; do
    head -c "$((MIB * 1048576))" /dev/urandom >"$WORK/src/clip$i.avi"
done
sync "$WORK"/src/*
BYTES=$((3 * MIB * 1048576))

# run <log> <command...>: wall seconds and peak resident KiB of the command, appended to log.
run() {
    local log=$1; shift
    rm -f "$DEST"/*
    sync "$DEST"
    # Both start with the sources in the page cache (the copier drops what it has read).
    cat "$WORK"/src/* >/dev/null
    /usr/bin/time -f "%e %M" -o "$WORK/time" "$@" >/dev/null
    cat "$WORK/time" >>"$log"
}

: >"$WORK/ours"
: >"$WORK/peer"
for r in $(seq "$RUNS"); do
    run "$WORK/peer" sh -c 'cp "$@" "$0" && sync "$0"/*' "$DEST" "$WORK"/src/*
    run "$WORK/ours" "$COPIER" "$DEST" "$WORK"/src/*
    echo "run $r: cp+sync $(tail -1 "$WORK/peer" | cut -d' ' -f1) s, copier $(tail -1 "$WORK/ours" | cut -d' ' -f1) s"
done

# Best and median of the runs: the machine may be shared, and a neighbour's burst should not
# decide the figure alone.
best() { sort -n "$1" | head -1; }
median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
read -r peer_s peer_kb <<<"$(best "$WORK/peer")"
read -r ours_s ours_kb <<<"$(best "$WORK/ours")"
peer_kb=$(sort -n -k2 "$WORK/peer" | tail -1 | cut -d' ' -f2)
ours_kb=$(sort -n -k2 "$WORK/ours" | tail -1 | cut -d' ' -f2)
awk -v b="$BYTES" -v ps="$peer_s" -v os="$ours_s" -v pk="$peer_kb" -v ok="$ours_kb" \
    -v pm="$(median "$WORK/peer")" -v om="$(median "$WORK/ours")" 'BEGIN {
    printf "cp + sync : best %6.2f s  %7.1f MiB/s  median %6.2f s  peak %6.1f MiB\n", ps, b / ps / 1048576, pm, pk / 1024
    printf "copier    : best %6.2f s  %7.1f MiB/s  median %6.2f s  peak %6.1f MiB\n", os, b / os / 1048576, om, ok / 1024
    printf "throughput ratio copier / (cp + sync): best %.3f, median %.3f (goal >= 0.95)\n", ps / os, pm / om
}'
