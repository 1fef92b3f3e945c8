#!/usr/bin/env bash
# Installs what is missing, builds every preset, then renders the built-in demo
# signal through both plug-ins with settings that make each one audible, and
# draws each render's input and output waveforms. Everything lands in out/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
bash tools/build-all.sh

bin=build/native/bin
host=$bin/plughost
python=/usr/bin/python3  # Debian's interpreter, which has the plotting modules
mkdir -p out
written=()
missing=()

"$host" demo -o out/demo.wav
written+=(out/demo.wav)

# render NAME TITLE OPTIONS...: the demo through build/native/bin/NAME.so into
# out/NAME.wav and out/NAME.png.
render() {
  local name=$1 title=$2
  shift 2
  local plugin=$bin/$name.so lower
  lower=$(echo "$name" | tr '[:upper:]' '[:lower:]')
  if [ ! -f "$plugin" ]; then
    missing+=("$plugin")
    return
  fi
  "$host" render "$plugin" -o "out/$lower.wav" "$@"
  "$python" tools/plughost/plot_waveforms.py out/demo.wav "out/$lower.wav" "out/$lower.png" --title "$title"
  written+=("out/$lower.wav" "out/$lower.png")
}

# Swirl at 120 beats per minute with the transport playing; both stages well
# up from their near-silent defaults (F_Trans F_FB F_Level F_Depth F_Time, then
# D_Level D_Depth D_Time). The phaser's fixed feedback makes it loud, so its
# mix stays lower than the flanger's.
render Swirl "Umber-Swirl: flanger and phaser at 120 bpm" --tempo 120 \
  --param 0=0.3 --param 1=0.2 --param 2=0.5 --param 3=0.6 --param 4=0.25 \
  --param 5=0.25 --param 6=0.8 --param 7=0.5

# Warden with its threshold lowered to -15 dB (and so +15 dB of makeup).
render Warden "Stern Warden: threshold -15 dB" --param 0=0.25

echo "== wrote, in $(pwd)/out:"
for file in "${written[@]}"; do
  printf '  %-20s %s bytes\n' "$file" "$(stat -c %s "$file")"
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "not rendered, plug-in not built: ${missing[*]}" >&2
  exit 1
fi
