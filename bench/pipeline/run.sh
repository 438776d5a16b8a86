#!/bin/bash
# A whole transfer with the real program (unattended, offscreen): three 1080p H.264 clips that
# need conversion plus one large file taken as it is, to a USB folder, against its sequential
# peers in the same run: `ffmpeg` at the profile's settings (as KavoEngine reports them) for
# each clip, then `cp` of the results and the large file and `sync`. Rounds alternate who goes
# first; the medians are compared (goal: ours <= 0.75 x the peers). While ours runs, the
# destination and the conversion folder are watched, to show how much of the copy was done
# before the last conversion ended (hidden behind it).
# Two destinations: a folder on the work disk, and the same behind a FUSE file system that
# writes at a fixed rate (throttlefs: a USB stick's speed).
#
# usage: run.sh <folder with portavo, KavoEngine and portavo-setting> <throttlefs>
#               [clip seconds=30] [rounds=3] [as-is MiB=1024] [stick MB/s=20] [profile=3]
#               [work folder]
set -euo pipefail

BIN=$(cd "${1:?usage: run.sh <bin folder> <throttlefs> [seconds] [rounds] [MiB] [MB/s]}" && pwd)
THROTTLEFS=${2:?usage: run.sh <bin folder> <throttlefs> [seconds] [rounds] [MiB] [MB/s]}
CLIP_SECONDS=${3:-30}
ROUNDS=${4:-3}
ASIS_MIB=${5:-1024}
STICK_MBS=${6:-20}
PROFILE=${7:-3}
WORK=${8:-$(mktemp -d "${TMPDIR:-/tmp}/kavo-pipeline.XXXXXX")}
mkdir -p "$WORK"/{home,config,cache,data,run,videos,peer,folder,slow-back,slow}
chmod 700 "$WORK/run"
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config" XDG_CACHE_HOME="$WORK/cache" \
    XDG_DATA_HOME="$WORK/data" XDG_RUNTIME_DIR="$WORK/run" \
    KAVO_USER_HIVE="$WORK/user.reg" KAVO_MACHINE_HIVE="$WORK/machine.reg" \
    QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="*.debug=false"
cleanup() {
    fusermount3 -u "$WORK/slow" 2>/dev/null || true
    [[ -z ${8:-} ]] && rm -rf "$WORK"
}
trap cleanup EXIT
source "$(dirname "$0")/../convert/profile-args.sh"

echo "Making three ${CLIP_SECONDS} s 1920x1080 H.264 clips and a ${ASIS_MIB} MiB MPEG-4 AVI..."
CLIPS=()
for n in 1 2 3; do
    ffmpeg -nostdin -v error -y \
        -f lavfi -i "testsrc2=size=1920x1080:rate=25:duration=$CLIP_SECONDS" \
        -f lavfi -i "sine=frequency=$((300 + n * 100)):sample_rate=48000:duration=$CLIP_SECONDS" \
        -c:v libx264 -preset veryfast -crf 20 -pix_fmt yuv420p -c:a aac -b:a 160k \
        "$WORK/videos/clip$n.mp4"
    CLIPS+=("$WORK/videos/clip$n.mp4")
done
# Plays on the profile as it is: MPEG-4 part 2 at 720x576 and MP3, looped up to the size.
ffmpeg -nostdin -v error -y -f lavfi -i "testsrc2=size=720x576:rate=25:duration=60" \
    -f lavfi -i "sine=frequency=220:sample_rate=48000:duration=60" \
    -c:v mpeg4 -b:v 3M -maxrate 3.4M -bufsize 2M -c:a libmp3lame -b:a 128k "$WORK/loop.avi"
ffmpeg -nostdin -v error -y -stream_loop -1 -i "$WORK/loop.avi" -c copy \
    -fs "$((ASIS_MIB * 1048576))" "$WORK/videos/asis.avi"
rm -f "$WORK/loop.avi"
FILES=("${CLIPS[@]}" "$WORK/videos/asis.avi")

# The profile's settings, as KavoEngine reports them for these clips.
ffmpeg -nostdin -v error -y -i "${CLIPS[0]}" -t 2 -c copy "$WORK/probe.mp4"
"$BIN/KavoEngine" --input "$WORK/probe.mp4" --output "$WORK/probe.kavo" --profile "$PROFILE" \
    >/dev/null 2>"$WORK/settings" || { cat "$WORK/settings"; exit 1; }
profile_args "$(grep '^KavoEngine: video ' "$WORK/settings")" \
    "$(grep '^KavoEngine: audio ' "$WORK/settings" || true)"
rm -f "$WORK/probe."*

secs() { date +%s.%N; }

# ours <destination> <log>: the unattended transfer; "total conversion-end copy-after-end
# hidden-MiB copied-MiB" appended to log.
ours() {
    local dest=$1 log=$2 start end watcher conv_end="" line
    rm -rf "${dest:?}"/*
    cat "${FILES[@]}" >/dev/null
    # Once every 0.2 s: converted files complete in the conversion folder, bytes on the drive.
    (while :; do
        echo "$(secs) $(find "$WORK/cache" -name '*.kavo' | wc -l) $(du -sb "$dest" | cut -f1)"
        sleep 0.2
    done) >"$WORK/watch" &
    watcher=$!
    start=$(secs)
    "$BIN/portavo" -xfer -id 10002 -profile "$PROFILE" \
        $(printf -- '-file file://%s ' "${FILES[@]}") -to "$dest" -start >"$WORK/out" 2>&1 ||
        { kill "$watcher"; cat "$WORK/out"; exit 1; }
    end=$(secs)
    kill "$watcher"
    wait "$watcher" 2>/dev/null || true
    [[ $(grep -c $'\tarrived\t' "$WORK/out") == 4 ]] || { cat "$WORK/out"; exit 1; }
    conv_end=$(awk '$2 >= 3 { print $1; exit }' "$WORK/watch")
    line=$(awk -v s="$start" -v e="$end" -v c="${conv_end:-$end}" '
        $1 <= c { hidden = $3 } { total = $3 }
        END { printf "%.2f %.2f %.2f %.1f %.1f", e - s, c - s, e - c, hidden / 1048576,
              total / 1048576 }' "$WORK/watch")
    echo "$line" >>"$log"
}

# peers <destination> <log>: ffmpeg for each clip, then cp and sync; "total conversion copy".
peers() {
    local dest=$1 log=$2 start mid end n
    rm -rf "${dest:?}"/* "$WORK/peer"/*
    cat "${FILES[@]}" >/dev/null
    start=$(secs)
    # At the priority our engine converts at (nice 10), so that a busy machine weighs on both alike.
    for n in 1 2 3; do
        nice -n 10 ffmpeg -nostdin -v error -y -i "${CLIPS[$((n - 1))]}" -map 0:v:0 -map '0:a:0?' \
            "${FF_ARGS[@]}" -f avi "$WORK/peer/clip$n.kavo"
    done
    mid=$(secs)
    cp "$WORK/peer/"*.kavo "$WORK/videos/asis.avi" "$dest/"
    sync "$dest"/*
    end=$(secs)
    echo "$start $mid $end" | awk '{ printf "%.2f %.2f %.2f\n", $3 - $1, $2 - $1, $3 - $2 }' >>"$log"
}

median() { sort -n -k"${2:-1}" "$1" | awk -v k="${2:-1}" '{ v[NR] = $k } END { print v[int((NR + 1) / 2)] }'; }

# bench <title> <destination>
bench() {
    local title=$1 dest=$2 r
    : >"$WORK/ours.log"
    : >"$WORK/peers.log"
    "$BIN/portavo-setting" TransferWizard ExtraDrives "$dest"
    echo
    echo "== $title"
    for ((r = 1; r <= ROUNDS; r++)); do
        if ((r % 2 == 1)); then
            ours "$dest" "$WORK/ours.log"; peers "$dest" "$WORK/peers.log"
        else
            peers "$dest" "$WORK/peers.log"; ours "$dest" "$WORK/ours.log"
        fi
        read -r o_total o_conv o_after o_hidden o_all <<<"$(tail -1 "$WORK/ours.log")"
        read -r p_total p_conv p_copy <<<"$(tail -1 "$WORK/peers.log")"
        printf 'round %d: peers %7.2f s (ffmpeg %6.2f s, cp + sync %6.2f s)  ours %7.2f s ' \
            "$r" "$p_total" "$p_conv" "$p_copy" "$o_total"
        printf '(conversions ended at %6.2f s, copy went on %5.2f s; %6.1f of %6.1f MiB copied by then)\n' \
            "$o_conv" "$o_after" "$o_hidden" "$o_all"
    done
    awk -v o="$(median "$WORK/ours.log")" -v p="$(median "$WORK/peers.log")" \
        -v pc="$(median "$WORK/peers.log" 3)" -v after="$(median "$WORK/ours.log" 3)" \
        -v hid="$(median "$WORK/ours.log" 4)" -v all="$(median "$WORK/ours.log" 5)" 'BEGIN {
        printf "median: ours %.2f s, peers %.2f s, ratio %.3f (goal <= 0.75)\n", o, p, o / p
        printf "copy hidden behind conversion: %.1f of %.1f MiB (%.0f %%); after the last conversion the copy took %.2f s, cp + sync alone %.2f s (%.0f %% of it hidden)\n",
               hid, all, (all > 0 ? hid / all * 100 : 0), after, pc, (pc > 0 ? (1 - after / pc) * 100 : 0)
    }'
}

bench "USB folder on the work disk" "$WORK/folder"
"$THROTTLEFS" "$WORK/slow-back" "$((STICK_MBS * 1000000))" "$WORK/slow"
bench "USB stick: the same folder written at $STICK_MBS MB/s (FUSE)" "$WORK/slow"
echo
echo "Load average at the end: $(cut -d' ' -f1-3 /proc/loadavg) (2 cores)"
