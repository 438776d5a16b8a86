#!/usr/bin/env bash
# Installs the build into a staging folder (DESTDIR), hides the build and source trees behind
# empty mounts, and runs the installed program from the staged files alone.
#   staged_install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
BUILD=$(realpath "$1")
SOURCE=$(realpath "$2")
SKIP=77

if ! unshare -m --propagation private true 2>/dev/null; then
  echo "SKIP: no private mount namespace here"
  exit $SKIP
fi

STAGE=$(mktemp -d /tmp/portavo-stage.XXXXXX)
trap 'rm -rf "$STAGE"' EXIT
DESTDIR=$STAGE cmake --install "$BUILD" --prefix /usr >"$STAGE/install.log"
# The checks themselves must stay reachable once the trees are hidden.
cp "$(dirname "$0")/installed_program.sh" "$STAGE/"
version=$(sed -n 's/^#define PORTAVO_VERSION "\(.*\)"/\1/p' "$BUILD/generated/PortavoLayout.h")

unshare -m --propagation private bash -c '
  set -e
  mount -t tmpfs tmpfs "$1"
  [ "$2" = "$1" ] || [ ! -d "$2" ] || mount -t tmpfs tmpfs "$2"
  [ ! -e "$1/bin" ] || { echo "the build tree is still visible"; exit 1; }
  bash "$3/installed_program.sh" "$3/usr" "$4"
' hide "$BUILD" "$SOURCE" "$STAGE" "$version"
