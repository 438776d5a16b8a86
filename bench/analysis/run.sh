#!/bin/bash
# Makes 200 short clips (lavfi test pictures and tones, in four containers and codec pairs) and
# times the wizard's analysis of all of them (one process: start-up, engine, analysis) against
# a loop of `ffprobe -show_format -show_streams` over the same files, alternating which goes
# first, in several rounds. Prints each round, the medians, and their ratio (goal <= 0.6).
# The analysis with one worker is timed too, and the analysis alone (without the program's
# start), to show what the parallel workers bring.
#
# usage: run.sh <path to analysis_bench> [clips=200] [rounds=5] [work dir=$TMPDIR or /tmp]
set -euo pipefail

BENCH=${1:?usage: run.sh <path to analysis_bench> [clips] [rounds] [dir]}
CLIPS=${2:-200}
ROUNDS=${3:-5}
WORK=$(mktemp -d "${4:-${TMPDIR:-/tmp}}/portavo-analysis-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/clips" "$WORK/home" "$WORK/config" "$WORK/cache" "$WORK/run"
chmod 700 "$WORK/run"
# Private settings: the benchmark never touches the user's.
export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/config XDG_CACHE_HOME=$WORK/cache \
    XDG_RUNTIME_DIR=$WORK/run KAVO_USER_HIVE=$WORK/user.reg KAVO_MACHINE_HIVE=$WORK/machine.reg
# The analysis's diagnostics would be timed along with it.
export QT_LOGGING_RULES="*.debug=false"

echo "Making $CLIPS clips in $WORK/clips..."
for i in $(seq "$CLIPS"); do
    seconds=$((1 + i % 3))
    pic="testsrc2=size=$((160 + 16 * (i % 5)))x$((120 + 16 * (i % 4))):rate=25:duration=$seconds"
    tone="sine=frequency=$((220 + i)):sample_rate=44100:duration=$seconds"
    case $((i % 4)) in
        0) out=clip$i.mp4; codecs=(-c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac) ;;
        1) out=clip$i.avi; codecs=(-c:v mpeg4 -q:v 5 -c:a libmp3lame) ;;
        2) out=clip$i.mkv; codecs=(-c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a ac3) ;;
        3) out=clip$i.ts; codecs=(-c:v mpeg2video -q:v 5 -c:a mp2) ;;
    esac
    ffmpeg -nostdin -v error -y -f lavfi -i "$pic" -f lavfi -i "$tone" "${codecs[@]}" -shortest \
        "$WORK/clips/$out"
done
mapfile -t FILES < <(ls -1 "$WORK"/clips/* | sort -V)

# seconds <command...>: the wall seconds of the command; what it prints goes to $WORK/said.
seconds() {
    local start end
    start=$(date +%s%N)
    "$@" >"$WORK/said" 2>>"$WORK/stderr"
    end=$(date +%s%N)
    awk -v ns=$((end - start)) 'BEGIN { printf "%.3f\n", ns / 1e9 }'
}
probe_loop() {
    for f in "$@"; do
        ffprobe -v error -show_format -show_streams "$f" >/dev/null
    done
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
cat "${FILES[@]}" >/dev/null
: >"$WORK/ffprobe"
: >"$WORK/ours"
: >"$WORK/single"
: >"$WORK/ours-alone"
: >"$WORK/single-alone"
# The seconds of the analysis alone, as the last run of analysis_bench printed them.
alone() { awk '{ print $2 }' "$WORK/said"; }
for r in $(seq "$ROUNDS"); do
    if [ $((r % 2)) -eq 1 ]; then
        p=$(seconds probe_loop "${FILES[@]}")
        o=$(seconds "$BENCH" "${FILES[@]}")
        oa=$(alone)
    else
        o=$(seconds "$BENCH" "${FILES[@]}")
        oa=$(alone)
        p=$(seconds probe_loop "${FILES[@]}")
    fi
    s=$(seconds "$BENCH" -workers 1 "${FILES[@]}")
    sa=$(alone)
    echo "$p" >>"$WORK/ffprobe"
    echo "$o" >>"$WORK/ours"
    echo "$s" >>"$WORK/single"
    echo "$oa" >>"$WORK/ours-alone"
    echo "$sa" >>"$WORK/single-alone"
    printf 'round %d: ffprobe loop %7.2f s, analysis program %6.2f s (analysis alone %6.3f s), one worker %6.2f s (alone %6.3f s), load %s\n' \
        "$r" "$p" "$o" "$oa" "$s" "$sa" "$(cut -d' ' -f1 /proc/loadavg)"
done
"$BENCH" "${FILES[@]}" 2>>"$WORK/stderr"

median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
awk -v p="$(median "$WORK/ffprobe")" -v o="$(median "$WORK/ours")" -v s="$(median "$WORK/single")" \
    -v oa="$(median "$WORK/ours-alone")" -v sa="$(median "$WORK/single-alone")" \
    -v n="${#FILES[@]}" -v c="$(nproc)" 'BEGIN {
    printf "median of the rounds, %d files: ffprobe loop %.2f s, analysis program %.2f s, one worker %.2f s\n", n, p, o, s
    printf "analysis / ffprobe loop: %.4f (goal <= 0.6); one worker / ffprobe loop: %.4f\n", o / p, s / p
    printf "analysis alone: %d workers %.3f s, one worker %.3f s, speed-up %.2f\n", c, oa, sa, sa / oa
}'
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
