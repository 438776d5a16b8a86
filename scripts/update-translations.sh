#!/usr/bin/env bash
# Adds the texts that are new in the sources to src/resources/translations/lang-XX.ts (and drops
# those no longer used), so they can be translated: a new text shows as unfinished until it is.
#   bash scripts/update-translations.sh          (uses ./build, configured if needed)
# Translate with Qt Linguist (linguist src/resources/translations/lang-de.ts) or in an editor,
# then remove type="unfinished"; tst_Translations fails while any text is left untranslated.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD_DIR:-build}
if [ ! -f "$BUILD/build.ninja" ]; then
  cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$BUILD" --target update_translations
grep -c 'type="unfinished"' src/resources/translations/lang-*.ts || true
