#!/bin/bash
# Runs three transfers with the real program (unattended, offscreen) and prints, once a second,
# the remaining time the transfer page shows against the time the transfer really still took,
# with the whole job's share done. Goal: within 25 % once 10 % of the work is done.
#   1. a 3 GiB video taken as it is, to a USB folder (an "ExtraDrives" folder)
#   2. the same video burnt to a DVD+R image burner (write and verify)
#   3. three 30 s 1280x720 H.264 clips converted (profile 3) and copied to the USB folder
#   4. with throttlefs (bench/pipeline) given: the 3 GiB video to a folder written at a USB
#      stick's rate, long enough to follow the estimate for a minute or more; then 1 GiB burnt
#      twice to an image burner on a folder written at a DVD recorder's 16x
# Each burn to the host disk's image burner runs twice: the second uses what the first measured.
# The estimates the program keeps (engine speed, drive rates) start empty, as on a new machine,
# and are kept from one transfer to the next, as in use.
#
# usage: run.sh <folder with portavo, KavoEngine and portavo-setting> [work folder]
#               [throttlefs] [stick MB/s=40]
set -euo pipefail

BIN=$(cd "${1:?usage: run.sh <bin folder> [work folder] [throttlefs] [MB/s]}" && pwd)
WORK=${2:-$(mktemp -d "${TMPDIR:-/tmp}/kavo-remaining.XXXXXX")}
THROTTLEFS=${3:-}
STICK_MBS=${4:-40}
mkdir -p "$WORK"/{home,config,cache,data,run,videos,stick,slow-back,slow}
chmod 700 "$WORK/run"
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config" XDG_CACHE_HOME="$WORK/cache" \
    XDG_DATA_HOME="$WORK/data" XDG_RUNTIME_DIR="$WORK/run" \
    KAVO_USER_HIVE="$WORK/user.reg" KAVO_MACHINE_HIVE="$WORK/machine.reg" \
    QT_QPA_PLATFORM=offscreen
# Only the transfer page's once-a-second line reaches the terminal.
export QT_LOGGING_RULES="*.debug=false;portavo.ui.debug=true"
cleanup() {
    fusermount3 -u "$WORK/slow" 2>/dev/null || true
    [[ -z ${KEEP_WORK:-} ]] && rm -rf "$WORK"
}
[[ -n ${2:-} ]] && KEEP_WORK=1
trap cleanup EXIT

echo "Making the videos..."
# Real MPEG-2 all the way (looped): a file padded with zeros makes the analysis scan the padding
# for a start code, which no recording does.
ffmpeg -nostdin -v error -y -f lavfi -i "testsrc2=size=720x576:rate=25:duration=10" \
    -c:v mpeg2video -b:v 6M "$WORK/loop.mpg"
ffmpeg -nostdin -v error -y -stream_loop -1 -i "$WORK/loop.mpg" -c copy -fs 3221225472 \
    -f mpeg "$WORK/videos/big.mpg"
rm -f "$WORK/loop.mpg"
CLIPS=()
for n in 1 2 3; do
    ffmpeg -nostdin -v error -y -f lavfi -i "testsrc2=size=1280x720:rate=25:duration=30" \
        -f lavfi -i "sine=frequency=$((300 + n * 100)):duration=30" \
        -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac "$WORK/videos/clip$n.mp4"
    CLIPS+=(-file "file://$WORK/videos/clip$n.mp4")
done
"$BIN/portavo-setting" TransferWizard ExtraDrives "$WORK/stick"
"$BIN/portavo-setting" TransferWizard ImageBurners "dvd+r:$WORK/disc.iso"

# transfer <title> <portavo arguments...>
transfer() {
    local title=$1; shift
    local log="$WORK/log"
    echo
    echo "== $title"
    local start end
    start=$(date +%s.%N)
    "$BIN/portavo" "$@" 2>&1 >/dev/null | while IFS= read -r line; do
        if [[ $line =~ WizardTransferPage\ \ remaining\ ([0-9]+)\ s.*whole\ ([0-9]+) ]]; then
            echo "$(date +%s.%N) ${BASH_REMATCH[1]} ${BASH_REMATCH[2]}"
        fi
    done >"$log" || true
    end=$(date +%s.%N)
    awk -v start="$start" -v end="$end" '
        { t = $1; shown = $2; overall = $3
          real = end - t; err = real > 0 ? (shown - real) / real * 100 : 0
          printf "%6.1f s  shown %6d s  real %6.1f s  %+7.1f %%  whole %3d %%%s\n", t - start, shown,
                 real, err, overall, (overall >= 10 && (err > 25 || err < -25)) ? "  <- off" : ""
          if (overall >= 10) {
              n++; if (err <= 25 && err >= -25) ok++
              # The page shows whole seconds: in the last seconds one step is over 25 %.
              d = shown - real; if ((err <= 25 && err >= -25) || (d <= 1 && d >= -1)) near++ } }
        END { printf "total %.1f s; after 10 %% of the work %d of %d samples within 25 %% (%d within 25 %% or 1 s)\n",
                     end - start, ok, n, near }' "$log"
}

transfer "USB folder: 3 GiB taken as it is" \
    -xfer -id 1000 -file "file://$WORK/videos/big.mpg" -to "$WORK/stick" -start
rm -f "$WORK/stick/"*
transfer "DVD+R image: 3 GiB taken as it is" \
    -xfer -id 1000 -file "file://$WORK/videos/big.mpg" -to "$WORK/disc.iso" -start
rm -f "$WORK/disc.iso"
transfer "DVD+R image again, with the rates the first burn measured" \
    -xfer -id 1000 -file "file://$WORK/videos/big.mpg" -to "$WORK/disc.iso" -start
rm -f "$WORK/disc.iso"
transfer "Conversion-heavy: three 30 s 720p clips, profile 3, to the USB folder" \
    -xfer -id 10002 "${CLIPS[@]}" -to "$WORK/stick" -start -profile 3
if [[ -n $THROTTLEFS ]]; then
    rm -f "$WORK/stick/"*
    "$THROTTLEFS" "$WORK/slow-back" "$((STICK_MBS * 1000000))" "$WORK/slow"
    "$BIN/portavo-setting" TransferWizard ExtraDrives "$WORK/slow"
    transfer "USB stick at $STICK_MBS MB/s (FUSE): 3 GiB taken as it is" \
        -xfer -id 1000 -file "file://$WORK/videos/big.mpg" -to "$WORK/slow" -start
    rm -f "$WORK/slow/"*
    fusermount3 -u "$WORK/slow"
    # A recorder writes at a steady speed: an image burner on a folder written at 16x DVD.
    ffmpeg -nostdin -v error -y -i "$WORK/videos/big.mpg" -c copy -fs 1073741824 -f mpeg \
        "$WORK/videos/part.mpg"
    "$THROTTLEFS" "$WORK/slow-back" 22160000 "$WORK/slow"
    "$BIN/portavo-setting" TransferWizard ImageBurners "dvd+r:$WORK/slow/disc.iso"
    for round in first second; do
        rm -f "$WORK/slow/disc.iso"
        transfer "DVD+R at 16x (22 MB/s, FUSE image burner), $round burn: 1 GiB taken as it is" \
            -xfer -id 1000 -file "file://$WORK/videos/part.mpg" -to "$WORK/slow/disc.iso" -start
    done
fi
echo
echo "Load average at the end: $(cut -d' ' -f1-3 /proc/loadavg) (2 cores)"
