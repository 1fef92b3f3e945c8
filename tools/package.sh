#!/usr/bin/env bash
# Lays out the release from the win32 and win64 builds and zips it:
#   VelmoraPlugins-<version>/README.md, 32-bit/<Plugin>.dll, 64-bit/<Plugin>.dll
# Run after both Windows builds (tools/build-all.sh). Prints the zip's path.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/win32/CMakeCache.txt)
name=VelmoraPlugins-$version
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

declare -A machine=([win32]=i386 [win64]=x86-64)
declare -A objdump=([win32]=i686-w64-mingw32-objdump [win64]=x86_64-w64-mingw32-objdump)
declare -A folder=([win32]=32-bit [win64]=64-bit)
plugins=(Swirl Warden)

expected=("$name/README.md")
for preset in win32 win64; do
  cmake --install "build/$preset" --prefix "$stage/$name" --strip >/dev/null
  # What ships is what a host checks: the stripped copies, not the build's.
  for plugin in "${plugins[@]}"; do
    dll=$stage/$name/${folder[$preset]}/$plugin.dll
    python3 tests/deliverables/check_dll.py --objdump "${objdump[$preset]}" \
      --machine "${machine[$preset]}" "$dll" >&2
    expected+=("$name/${folder[$preset]}/$plugin.dll")
  done
done

mkdir -p out
zip_file=$root/out/$name-windows.zip
rm -f "$zip_file"
(cd "$stage" && zip -q -r -X "$zip_file" "$name")

actual=$(unzip -Z1 "$zip_file" | grep -v '/$' | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
if [ "$actual" != "$wanted" ]; then
  echo "package: the zip holds" >&2; echo "$actual" >&2
  echo "package: expected" >&2; echo "$wanted" >&2
  exit 1
fi
echo "$zip_file"
