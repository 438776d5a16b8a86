#!/usr/bin/env bash
# Installs every Debian 12 package that building, running and testing Portavo needs.
set -euo pipefail
PKGS=(
  build-essential cmake ninja-build pkg-config git clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
  qt6-svg-dev libqt6svg6 libqt6sql6-sqlite qt6-qpa-plugins
  libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev libavfilter-dev ffmpeg
  libburn-dev libisofs-dev libisoburn-dev libxxhash-dev xorriso udftools p7zip-full genisoimage
  libicu-dev xvfb xauth fonts-dejavu-core sqlite3
  qt6-translations-l10n fonts-noto-cjk
  dbus dbus-session-bus-common ntfs-3g
  libfuse3-dev fuse3
  desktop-file-utils appstream lintian
)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
