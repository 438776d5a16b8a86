#!/usr/bin/env bash
# Runs an installed Portavo from its prefix alone: the usage text and version, the address of a
# help page, an unattended transfer whose video the installed engine converts, read back with
# ffprobe, a refusal in French, and the wizard started and ended. Everything it writes goes to a private folder, removed at the end.
#   installed_program.sh PREFIX VERSION      (PREFIX: /usr, or a staging folder's usr)
set -euo pipefail
PREFIX=$1
VERSION=$2
BIN=$PREFIX/bin
fail() { echo "installed program: $*"; exit 1; }

WORK=$(mktemp -d /tmp/portavo-installed.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
for d in home config cache data run stick; do mkdir -p "$WORK/$d"; done
chmod 700 "$WORK/run"
export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/config XDG_CACHE_HOME=$WORK/cache
export XDG_DATA_HOME=$WORK/data XDG_RUNTIME_DIR=$WORK/run
export KAVO_USER_HIVE=$WORK/user.reg KAVO_MACHINE_HIVE=$WORK/machine.reg
export QT_QPA_PLATFORM=offscreen
unset KAVO_ENGINE_DIR KAVO_HELP_DIR KAVO_MOUNTINFO KAVO_SYSFS_ROOT

"$BIN/portavo" --help >"$WORK/help.txt" 2>"$WORK/help.err"
[ "$(head -1 "$WORK/help.txt")" = "Usage: portavo [FILE|URL]..." ] && [ ! -s "$WORK/help.err" ] ||
  fail "usage text: $(head -2 "$WORK/help.txt" "$WORK/help.err")"
[ "$("$BIN/portavo" --version)" = "portavo $VERSION" ] || fail "version: $("$BIN/portavo" --version)"

page=$("$BIN/portavo" --error-page 5)
file=$PREFIX/share/portavo/help/kavo/windows/converter/error/en-us.html
[ "$page" = "file://$file#5" ] || fail "help page $page, expected file://$file#5"
grep -q 'id="5"' "$file" || fail "$file has no section for error 5"

# H.264 in MP4: the home-theater profile (MPEG-4 Part 2 in AVI) must convert it.
clip="$WORK/home/beach day.mp4"
ffmpeg -v error -f lavfi -i testsrc=size=640x360:rate=25:duration=2 -f lavfi \
  -i sine=frequency=440:duration=2 -c:v libx264 -pix_fmt yuv420p -c:a aac -shortest "$clip"
"$BIN/portavo-setting" TransferWizard ExtraDrives "$WORK/stick"
code=0
"$BIN/portavo" -xfer -id 10002 -file "$clip" -to "$WORK/stick" -start -profile 3 \
  >"$WORK/out.txt" 2>"$WORK/err.txt" || code=$?
[ $code -eq 0 ] || fail "unattended run exit $code: $(cat "$WORK/out.txt" "$WORK/err.txt")"
printf '%s\tarrived\t%s\n' "$clip" "$WORK/stick/beach day.kavo" | cmp -s - "$WORK/out.txt" ||
  fail "unexpected output: $(cat "$WORK/out.txt")"
codec=$(ffprobe -v error -select_streams v:0 -show_entries stream=codec_name -of csv=p=0 \
  "$WORK/stick/beach day.kavo")
[ "$codec" = mpeg4 ] || fail "converted video codec: $codec"

# The translations: a French refusal of a bad profile.
code=0
LC_ALL=fr_FR.UTF-8 LANGUAGE=fr "$BIN/portavo" -xfer -id 10002 -file "$clip" -to "$WORK/stick" \
  -start -profile 9 >"$WORK/out.txt" 2>"$WORK/err.txt" || code=$?
[ $code -eq 3 ] && grep -qF "n’est pas un profil de conversion" "$WORK/out.txt" ||
  fail "French refusal, exit $code: $(cat "$WORK/out.txt" "$WORK/err.txt")"

# The wizard itself starts with the installed parts, and ends on SIGTERM as from its window.
"$BIN/portavo" --debug "$clip" >"$WORK/wizard.txt" 2>&1 &
wizard=$!
for _ in $(seq 300); do
  grep -q "startWizard" "$WORK/wizard.txt" && break
  kill -0 $wizard 2>/dev/null || break
  sleep 0.1
done
kill -TERM $wizard 2>/dev/null || true
code=0
wait $wizard || code=$?
grep -q "startWizard" "$WORK/wizard.txt" && [ $code -eq 0 ] ||
  fail "wizard did not start (exit $code): $(cat "$WORK/wizard.txt")"
grep -qF "i18 Dir: $(cd "$PREFIX/share/portavo/i18n" && pwd)" "$WORK/wizard.txt" ||
  fail "translations not taken from $PREFIX/share/portavo/i18n: $(grep i18 "$WORK/wizard.txt")"
echo "installed program: passed ($PREFIX)"
