#!/usr/bin/env bash
# Writes a few short test-pattern videos (picture and tone) with ffmpeg.
#   scripts/make-samples.sh [DIR]     default: ${XDG_CACHE_HOME:-~/.cache}/portavo-demo/samples
# Existing samples are kept; prints the path of every sample, one a line.
set -euo pipefail
DIR=${1:-${XDG_CACHE_HOME:-$HOME/.cache}/portavo-demo/samples}
SECONDS_LONG=${SAMPLE_SECONDS:-4}
mkdir -p "$DIR"

make_clip() {
  local out=$1; shift
  if [ ! -s "$out" ]; then
    ffmpeg -hide_banner -loglevel error -y \
      -f lavfi -i "testsrc2=size=640x360:rate=25:duration=$SECONDS_LONG" \
      -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=$SECONDS_LONG" \
      "$@" -shortest "$out.tmp.${out##*.}"
    mv "$out.tmp.${out##*.}" "$out"
  fi
  echo "$out"
}

make_clip "$DIR/holiday-h264.mp4" -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac -b:a 128k
make_clip "$DIR/birthday-mpeg4.avi" -c:v mpeg4 -q:v 5 -c:a libmp3lame -b:a 128k
make_clip "$DIR/garden-hd.mkv" -c:v libx264 -preset veryfast -pix_fmt yuv420p -s 1280x720 -c:a ac3 -b:a 192k
