#!/usr/bin/env bash
# Builds the Debian package and proves it: the desktop entry, the AppStream data and the package
# pass their validators (desktop-file-validate, appstreamcli, lintian), the package installs
# with dpkg -i, portavo --version and an unattended transfer run from /usr/bin, and dpkg -r
# leaves none of its files behind. Needs root (dpkg); CI runs it on a fresh machine.
#   bash scripts/package.sh            (build folder: $BUILD_DIR or build)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD_DIR:-build}
fail() { echo "package: $*"; exit 1; }
[ "$(id -u)" -eq 0 ] || fail "run as root: the package is installed and removed with dpkg"
if dpkg-query -W -f='${Status}' portavo 2>/dev/null | grep -q "install ok installed"; then
  fail "a portavo package is installed already; remove it first (dpkg -r portavo)"
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
# A package installs below /usr; the build's other settings stay as they are.
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  "${launcher[@]}" >/dev/null
cmake --build "$BUILD" --target portavo portavo-setting KavoEngine portavo_desktop_files
rm -f "$BUILD"/portavo_*.deb
(cd "$BUILD" && cpack -G DEB >/dev/null)
deb=$(ls "$BUILD"/portavo_*.deb)
echo "== built $deb ($(stat -c %s "$deb") bytes)"

desktop-file-validate packaging/org.portavo.Portavo.desktop
appstreamcli validate --no-net packaging/org.portavo.Portavo.metainfo.xml
code=0
lintian --fail-on error "$deb" >"$BUILD/lintian.log" 2>&1 || code=$?
grep -v "^running with root privileges" "$BUILD/lintian.log" || true
[ $code -eq 0 ] || fail "lintian reports errors"
dpkg-deb -I "$deb" | grep -E "^ (Depends|Installed-Size):"

DEBIAN_FRONTEND=noninteractive dpkg -i "$deb"
mapfile -t files < <(dpkg -L portavo)
removed=0
cleanup() { [ $removed -eq 1 ] || dpkg -r portavo >/dev/null 2>&1 || true; }
trap cleanup EXIT

[ "$(command -v portavo)" = /usr/bin/portavo ] || fail "portavo is not /usr/bin/portavo"
version=$(sed -n 's/^#define PORTAVO_VERSION "\(.*\)"/\1/p' "$BUILD/generated/PortavoLayout.h")
bash tests/install/installed_program.sh /usr "$version"

dpkg -r portavo
removed=1
left=()
for f in "${files[@]}"; do
  # Shared folders (/usr/share, ...) stay; every file and every folder of our own goes.
  if [ -e "$f" ] && { [ ! -d "$f" ] || [[ "$f" == */portavo ]]; }; then left+=("$f"); fi
done
[ ${#left[@]} -eq 0 ] || fail "left behind after dpkg -r: ${left[*]}"
echo "== package installed, ran and removed cleanly (${#files[@]} paths)"
