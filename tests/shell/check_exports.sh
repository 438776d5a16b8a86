#!/usr/bin/env bash
# The wizard library must export exactly its two entry points.
set -euo pipefail
lib="$1"
exports=$(nm -D --defined-only "$lib" | awk '{print $3}' | sort | tr '\n' ' ')
if [ "$exports" != "commandline kavomain " ]; then
  echo "unexpected exports of $lib: $exports" >&2
  exit 1
fi
echo "exports: $exports"
