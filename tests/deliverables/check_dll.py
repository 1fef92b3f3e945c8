#!/usr/bin/env python3
"""Checks a plug-in DLL as a Windows host would meet it, from objdump's view.

    check_dll.py --objdump OBJDUMP --machine i386|x86-64 DLL [--bitmap ID=FILE ...]

The DLL must be a PE32 image for i386 or a PE32+ image for x86-64, export
VSTPluginMain and main and nothing else, both at one address, import only
DLLs every Windows installation has, and, when bitmaps are named, carry
exactly those bitmap resources, each the named BMP file without its file
header. Every problem found is printed on a line of its own; the exit code
is 0 only when there is none.
"""

import argparse
import os
import re
import subprocess
import sys

# objdump's names for the image kinds a host of each architecture loads.
MACHINES = {
    "i386": {"format": "pei-i386", "architecture": "i386", "magic": "PE32"},
    "x86-64": {"format": "pei-x86-64", "architecture": "i386:x86-64", "magic": "PE32+"},
}

ENTRY_NAMES = {"VSTPluginMain", "main"}

# Part of every Windows installation. The universal C runtime's forwarders
# appear when the runtime is the newer one.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll"}
SYSTEM_DLL_PATTERNS = [re.compile(r"api-ms-win-crt-[a-z0-9-]+\.dll")]

RT_BITMAP = 2
# A BITMAP resource is the BMP file less its 14-byte BITMAPFILEHEADER.
BMP_FILE_HEADER_SIZE = 14


def run_objdump(objdump, *args):
    result = subprocess.run([objdump, *args], capture_output=True, text=True)
    if result.returncode != 0:
        raise RuntimeError(f"{objdump} {' '.join(args)} failed: {result.stderr.strip()}")
    return result.stdout


def image_problems(header, private, machine):
    expected = MACHINES[machine]
    problems = []
    if not re.search(r"file format " + re.escape(expected["format"]) + r"\s*$", header, re.M):
        problems.append(f"file format is not {expected['format']}")
    if not re.search(r"^architecture: " + re.escape(expected["architecture"]) + ",", header, re.M):
        problems.append(f"architecture is not {expected['architecture']}")
    magic = re.search(r"^Magic\s+\S+\s+\((PE32\+?)\)", private, re.M)
    if magic is None or magic.group(1) != expected["magic"]:
        problems.append(f"optional header is not {expected['magic']}")
    if not re.search(r"^Characteristics[^\n]*\n(?:\t[^\n]*\n)*\tDLL\n", private, re.M):
        problems.append("image is not marked as a DLL")
    return problems


def exports(private):
    """{export name: address} from objdump's export tables."""
    addresses = dict(re.findall(r"^\s*\[\s*(\d+)\] \+base\[\s*\d+\]\s+([0-9a-f]+) Export RVA", private, re.M))
    named = {}
    table = re.search(r"^\[Ordinal/Name Pointer\] Table\n((?:\s+\[\s*\d+\] \S+\n)*)", private, re.M)
    if table:
        # Each name is listed with its index into the address table.
        for index, name in re.findall(r"\[\s*(\d+)\] (\S+)", table.group(1)):
            named[name] = addresses.get(index)
    return named


def export_problems(private):
    named = exports(private)
    problems = []
    if set(named) != ENTRY_NAMES:
        problems.append(f"exports {sorted(named)}, expected exactly {sorted(ENTRY_NAMES)}")
    entry_addresses = {named.get(name) for name in ENTRY_NAMES}
    if len(entry_addresses) != 1 or None in entry_addresses:
        problems.append("VSTPluginMain and main are not one function at one address")
    return problems


def imports(private):
    return re.findall(r"^\s*DLL Name: (\S+)", private, re.M)


def is_system_dll(name):
    lower = name.lower()
    return lower in SYSTEM_DLLS or any(p.fullmatch(lower) for p in SYSTEM_DLL_PATTERNS)


def import_problems(private):
    return [f"imports {name}, which is not a system DLL" for name in imports(private) if not is_system_dll(name)]


def resources(private):
    """{(type id, name id): data size} from objdump's resource directory dump."""
    section = re.search(r"^The \.rsrc Resource Directory section:\n(.*?)^ Resources start", private, re.M | re.S)
    if section is None:
        return {}
    found = {}
    depth_of_type = None
    type_id = name_id = None
    for line in section.group(1).splitlines():
        entry = re.match(r"^[0-9a-f]+( +)Entry: ID: 0x([0-9a-f]+)", line)
        leaf = re.match(r"^[0-9a-f]+ +Leaf: Addr: 0x[0-9a-f]+, Size: 0x([0-9a-f]+)", line)
        if entry:
            depth = len(entry.group(1))
            if depth_of_type is None:
                depth_of_type = depth
            if depth == depth_of_type:
                type_id, name_id = int(entry.group(2), 16), None
            elif depth == depth_of_type + 2:
                name_id = int(entry.group(2), 16)
        elif leaf and type_id is not None and name_id is not None:
            found[(type_id, name_id)] = int(leaf.group(1), 16)
    return found


def bitmap_problems(private, bitmaps):
    carried = {name: size for (kind, name), size in resources(private).items() if kind == RT_BITMAP}
    problems = []
    for bitmap_id, path in sorted(bitmaps.items()):
        if bitmap_id not in carried:
            problems.append(f"bitmap {bitmap_id} is missing")
            continue
        expected = os.path.getsize(path) - BMP_FILE_HEADER_SIZE
        if carried[bitmap_id] != expected:
            problems.append(f"bitmap {bitmap_id} has {carried[bitmap_id]} bytes, "
                            f"{os.path.basename(path)} needs {expected}")
    for extra in sorted(set(carried) - set(bitmaps)):
        problems.append(f"bitmap {extra} is carried but not expected")
    return problems


def problems(objdump, dll, machine, bitmaps=None):
    header = run_objdump(objdump, "-f", dll)
    private = run_objdump(objdump, "-p", dll)
    found = image_problems(header, private, machine) + export_problems(private) + import_problems(private)
    if bitmaps is not None:
        found += bitmap_problems(private, bitmaps)
    return found


def parse_bitmap(text):
    bitmap_id, sep, path = text.partition("=")
    if not sep or not bitmap_id.isdigit() or not path:
        raise argparse.ArgumentTypeError(f"expected ID=FILE, got {text!r}")
    return int(bitmap_id), path


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--machine", required=True, choices=sorted(MACHINES))
    parser.add_argument("--bitmap", type=parse_bitmap, action="append", default=None,
                        help="ID=FILE: a bitmap resource the DLL must carry (repeatable)")
    parser.add_argument("dll")
    args = parser.parse_args(argv)
    bitmaps = dict(args.bitmap) if args.bitmap is not None else None
    found = problems(args.objdump, args.dll, args.machine, bitmaps)
    for problem in found:
        print(f"{args.dll}: {problem}")
    if not found:
        print(f"{args.dll}: ok")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
