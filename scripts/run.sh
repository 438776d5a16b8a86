#!/usr/bin/env bash
# Sets up, builds and starts the wizard on a few generated sample videos.
#   scripts/run.sh [--device ID] [--xvfb] [--activation]
#     --device ID    device to serve: 10000 DVD player, 10001 Blu-ray, 10002 TV,
#                    10003 PlayStation 3, 10004 mobile phone, 1000 burn as they are (default 10000)
#     --xvfb         without a display: run the window invisibly on a virtual display (Xvfb);
#                    stop it with Ctrl+C
#     --activation   offer the samples as activation videos (top of the list)
# A folder stands in for a USB drive: ${XDG_CACHE_HOME:-~/.cache}/portavo-demo/usb-drive.
set -euo pipefail
cd "$(dirname "$0")/.."

DEVICE=10000
USE_XVFB=0
EXTRA=()
while [ $# -gt 0 ]; do
  case "$1" in
    --device) DEVICE=${2:?--device needs an id}; shift 2 ;;
    --device=*) DEVICE=${1#--device=}; shift ;;
    --xvfb) USE_XVFB=1; shift ;;
    --activation) EXTRA+=(-activationvideo); shift ;;
    -h|--help) sed -n '2,10p' "$0"; exit 0 ;;
    *) echo "run.sh: unknown option $1" >&2; exit 2 ;;
  esac
done

bash scripts/install-deps.sh

BUILD=${BUILD_DIR:-build}
if [ ! -f "$BUILD/build.ninja" ]; then
  cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
JOBS=$(nproc 2>/dev/null || echo 2)
cmake --build "$BUILD" -j"$JOBS" --target portavo portavo-setting
# The conversion worker; the wizard still starts (without conversion) if it cannot be built.
cmake --build "$BUILD" -j"$JOBS" --target KavoEngine 2>/dev/null ||
  echo "run.sh: the KavoEngine worker was not built; files will not be converted" >&2

DEMO=${XDG_CACHE_HOME:-$HOME/.cache}/portavo-demo
mapfile -t SAMPLES < <(bash scripts/make-samples.sh "$DEMO/samples")
mkdir -p "$DEMO/usb-drive"
"$BUILD/bin/portavo-setting" TransferWizard ExtraDrives "$DEMO/usb-drive"

# file:// URLs, every byte outside the unreserved set percent-encoded.
urlencode() {
  local LC_ALL=C s=$1 out="" c i
  for ((i = 0; i < ${#s}; i++)); do
    c=${s:i:1}
    case "$c" in
      [A-Za-z0-9/._~-]) out+=$c ;;
      *) printf -v c '%%%02X' "'$c"; out+=$c ;;
    esac
  done
  printf '%s' "$out"
}

ARGS=(-xfer -id "$DEVICE")
for f in "${SAMPLES[@]}"; do
  ARGS+=(-file "file://$(urlencode "$f")")
done
ARGS+=("${EXTRA[@]}")

echo "Starting Portavo for device $DEVICE with ${#SAMPLES[@]} sample videos"
echo "USB drive folder: $DEMO/usb-drive"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$BUILD/bin/portavo" "${ARGS[@]}"
elif [ "$USE_XVFB" = 1 ]; then
  echo "The window is invisible (virtual display). Press Ctrl+C to stop the wizard."
  # Its own session, so that Ctrl+C reaches only this script: the wizard is then asked to quit
  # (SIGTERM) and removes its files before the virtual display goes.
  PIDFILE=$(mktemp)
  setsid xvfb-run -a -s "-screen 0 1280x800x24" \
    bash -c 'echo $$ > "$0"; exec "$@"' "$PIDFILE" "$BUILD/bin/portavo" "${ARGS[@]}" &
  RUN=$!
  trap 'kill -TERM "$(cat "$PIDFILE")" 2>/dev/null || true' INT TERM
  while kill -0 "$RUN" 2>/dev/null; do wait "$RUN" || true; done
  rm -f "$PIDFILE"
else
  echo "run.sh: no display found (DISPLAY/WAYLAND_DISPLAY unset); use --xvfb to run under xvfb-run" >&2
  exit 1
fi
