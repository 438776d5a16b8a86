#!/usr/bin/env bash
# Installs the build into a staging folder (DESTDIR), hides the build and source trees behind
# empty mounts, and runs the installed program alone: the usage text, the address of a help
# page, and an unattended transfer whose video is converted by the installed engine.
#   staged_install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
BUILD=$(realpath "$1")
SOURCE=$(realpath "$2")
SKIP=77

if ! unshare -m --propagation private true 2>/dev/null; then
  echo "SKIP: no private mount namespace here"
  exit $SKIP
fi

WORK=$(mktemp -d /tmp/portavo-staged.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
STAGE=$WORK/stage
DESTDIR=$STAGE cmake --install "$BUILD" --prefix /usr >"$WORK/install.log"

for d in home config cache data run stick; do mkdir -p "$WORK/$d"; done
chmod 700 "$WORK/run"
export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/config XDG_CACHE_HOME=$WORK/cache
export XDG_DATA_HOME=$WORK/data XDG_RUNTIME_DIR=$WORK/run
export KAVO_USER_HIVE=$WORK/user.reg KAVO_MACHINE_HIVE=$WORK/machine.reg
export QT_QPA_PLATFORM=offscreen
unset KAVO_ENGINE_DIR KAVO_HELP_DIR KAVO_MOUNTINFO KAVO_SYSFS_ROOT

# H.264 in MP4: the home-theater profile (MPEG-4 Part 2 in AVI) must convert it.
CLIP="$WORK/home/beach day.mp4"
ffmpeg -v error -f lavfi -i testsrc=size=640x360:rate=25:duration=2 -f lavfi \
  -i sine=frequency=440:duration=2 -c:v libx264 -pix_fmt yuv420p -c:a aac -shortest "$CLIP"

# Everything below runs with the build and source trees replaced by empty folders.
cat >"$WORK/run.sh" <<'INNER'
set -euo pipefail
mount -t tmpfs tmpfs "$BUILD"
[ "$SOURCE" = "$BUILD" ] || mount -t tmpfs tmpfs "$SOURCE" 2>/dev/null || true
BIN=$STAGE/usr/bin
[ ! -e "$BUILD/bin" ] || { echo "the build tree is still visible"; exit 1; }

"$BIN/portavo" --help >"$WORK/help.txt"
grep -q '^Usage: portavo' <(head -1 "$WORK/help.txt") || { echo "usage text: $(head -3 "$WORK/help.txt")"; exit 1; }
[ "$("$BIN/portavo" --version)" = "portavo @VERSION@" ] || { echo "version: $("$BIN/portavo" --version)"; exit 1; }

page=$("$BIN/portavo" --error-page 5)
expected="file://$STAGE/usr/share/portavo/help/kavo/windows/converter/error/en-us.html#5"
[ "$page" = "$expected" ] || { echo "help page: $page, expected $expected"; exit 1; }
[ -f "$STAGE/usr/share/portavo/help/kavo/windows/converter/error/en-us.html" ]

"$BIN/portavo-setting" TransferWizard ExtraDrives "$WORK/stick"
set +e
"$BIN/portavo" -xfer -id 10002 -file "$CLIP" -to "$WORK/stick" -start -profile 3 \
  >"$WORK/out.txt" 2>"$WORK/err.txt"
code=$?
set -e
[ $code -eq 0 ] || { echo "unattended run exit $code"; cat "$WORK/out.txt" "$WORK/err.txt"; exit 1; }
printf '%s\tarrived\t%s\n' "$CLIP" "$WORK/stick/beach day.kavo" | cmp - "$WORK/out.txt" ||
  { echo "unexpected output:"; cat "$WORK/out.txt"; exit 1; }
INNER
sed -i "s/@VERSION@/$(sed -n 's/^#define PORTAVO_VERSION "\(.*\)"/\1/p' "$BUILD/generated/PortavoLayout.h")/" "$WORK/run.sh"
BUILD=$BUILD SOURCE=$SOURCE STAGE=$STAGE WORK=$WORK CLIP=$CLIP \
  unshare -m --propagation private bash "$WORK/run.sh"

# Read back with a reader we did not write: the converted video is MPEG-4 Part 2.
codec=$(ffprobe -v error -select_streams v:0 -show_entries stream=codec_name -of csv=p=0 \
  "$WORK/stick/beach day.kavo")
[ "$codec" = mpeg4 ] || { echo "converted video codec: $codec"; exit 1; }
echo "staged install: passed"
