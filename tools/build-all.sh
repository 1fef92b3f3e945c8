#!/usr/bin/env bash
# Configures and builds the three presets: native, win32 and win64.
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in native win32 win64; do
  echo "== building $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
