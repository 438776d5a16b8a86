#!/bin/bash
# Converts a 1080p clip with KavoEngine and with the ffmpeg command at the same
# settings (read from the worker's own settings line on stderr) and prints the
# ratio of wall times per profile. Goal: KavoEngine <= 1.05 x ffmpeg.
#
# usage: run.sh <path to KavoEngine> [seconds=20] [profiles="1 4 0"] [runs=3]
set -euo pipefail

ENGINE=${1:?usage: run.sh <path to KavoEngine> [seconds] [profiles] [runs]}
SECONDS_LONG=${2:-20}
PROFILES=${3:-1 4 0}
RUNS=${4:-3}
WORK=$(mktemp -d "${TMPDIR:-/tmp}/kavo-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT

SRC="$WORK/source 1080p.mp4"
echo "Making a ${SECONDS_LONG} s 1920x1080 25 fps H.264 + AAC source..."
ffmpeg -nostdin -v error -y \
    -f lavfi -i "testsrc2=size=1920x1080:rate=25:duration=${SECONDS_LONG}" \
    -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=${SECONDS_LONG}" \
    -c:v libx264 -preset veryfast -crf 20 -pix_fmt yuv420p -c:a aac -b:a 160k "$SRC"

# timed <file> <command...>: runs the command, writes "wall cpu" seconds to file.
timed() {
    local out=$1; shift
    /usr/bin/time -f "%e %U %S" -o "$out.raw" "$@" || true
    awk '{ printf "%s %.2f\n", $1, $2 + $3 }' "$out.raw" >"$out"
}
min() { if [[ -z $1 ]]; then echo "$2"; else echo "$1 $2" | awk '{ print ($2 < $1) ? $2 : $1 }'; fi; }
source "$(dirname "$0")/profile-args.sh"

run_kavo() {
    rm -f "$WORK/out.$ext"
    timed "$WORK/t.kavo" "$ENGINE" --input "$SRC" --output "$WORK/out.$ext" --profile "$profile" \
        >"$WORK/stdout" 2>"$WORK/stderr"
    tail -n 1 "$WORK/stdout" | grep -qx DONE ||
        { echo "KavoEngine failed:"; cat "$WORK/stdout" "$WORK/stderr"; exit 1; }
    video=$(grep '^KavoEngine: video ' "$WORK/stderr")
    audio=$(grep '^KavoEngine: audio ' "$WORK/stderr" || true)
}

# The ffmpeg command with the settings KavoEngine reported for this profile.
run_ffmpeg() {
    profile_args "$video" "$audio"
    rm -f "$WORK/ff.$ext"
    timed "$WORK/t.ff" ffmpeg -nostdin -v error -y -i "$SRC" -map 0:v:0 -map '0:a:0?' \
        "${FF_ARGS[@]}" -f "$fmt" "$WORK/ff.$ext"
    [[ -s "$WORK/ff.$ext" ]] || { echo "ffmpeg failed"; exit 1; }
}

printf '\n%-8s %-8s %9s %9s %7s %9s %9s %7s %11s %11s\n' profile encoder kavo_wall ff_wall ratio \
    kavo_cpu ff_cpu ratio kavo_bytes ff_bytes
for profile in $PROFILES; do
    case $profile in
        0|1|2|3) fmt=avi; ext=kavo ;;
        4) fmt=matroska; ext=mkv ;;
        *) fmt=mp4; ext=mp4 ;;
    esac
    best_kavo=""; best_ff=""; cpu_kavo=""; cpu_ff=""
    for ((run = 1; run <= RUNS; run++)); do
        # The first run gives the settings; later runs alternate who goes
        # first, so a change in the machine's load hits both sides alike.
        if ((run % 2 == 1)); then
            run_kavo; run_ffmpeg
        else
            run_ffmpeg; run_kavo
        fi
        read -r wall cpu <"$WORK/t.kavo"
        best_kavo=$(min "$best_kavo" "$wall"); cpu_kavo=$(min "$cpu_kavo" "$cpu")
        read -r wall cpu <"$WORK/t.ff"
        best_ff=$(min "$best_ff" "$wall"); cpu_ff=$(min "$cpu_ff" "$cpu")
    done
    printf '%-8s %-8s %9.2f %9.2f %7.3f %9.2f %9.2f %7.3f %11d %11d\n' "$profile" \
        "$(field "$video" encoder)" "$best_kavo" "$best_ff" "$(echo "$best_kavo / $best_ff" | bc -l)" \
        "$cpu_kavo" "$cpu_ff" "$(echo "$cpu_kavo / $cpu_ff" | bc -l)" \
        "$(stat -c %s "$WORK/out.$ext")" "$(stat -c %s "$WORK/ff.$ext")"
done
echo
echo "Best of $RUNS runs each, interleaved. Ratios are KavoEngine / ffmpeg (goal <= 1.05);"
echo "wall time is what the user waits, CPU time (user + system) is steadier on a busy machine."
echo "Load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
