#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs the demo render.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
bash tools/build-all.sh
