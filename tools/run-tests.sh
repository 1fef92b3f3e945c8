#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
bash tools/build-all.sh

echo "== tests: native"
ctest --preset native

# The Windows builds run under Wine; tests that open windows need a display.
for preset in win32 win64; do
  echo "== tests: $preset (Wine)"
  xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset "$preset"
done

echo "== package"
bash tools/package.sh
