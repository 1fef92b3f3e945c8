#!/usr/bin/python3
"""Draws every panel bitmap of both plug-ins and writes them beside each plug-in.

    tools/artwork/generate.py [--root DIR]

writes DIR/plugins/swirl/resources/*.bmp and DIR/plugins/warden/resources/*.bmp,
DIR being the repository by default. The output depends only on this code, the
fonts and fixed noise seeds, so running it again gives the same bytes.
"""

import argparse
import os
import sys

import bmpfile
import swirl
import warden

REPOSITORY = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))


def pictures():
    """(plug-in folder, file name, file bytes) of every bitmap."""
    swirl_strip, swirl_mask = swirl.knob_strip()
    warden_strip, warden_mask = warden.knob_strip()
    return [
        ("swirl", "background.bmp", bmpfile.rgb_bmp(swirl.background())),
        ("swirl", "knob_strip.bmp", bmpfile.rgb_bmp(swirl_strip)),
        ("swirl", "knob_mask.bmp", bmpfile.grey_palette_bmp(swirl_mask)),
        ("warden", "background.bmp", bmpfile.rgb_bmp(warden.background())),
        ("warden", "knob_strip.bmp", bmpfile.rgb_bmp(warden_strip)),
        ("warden", "knob_mask.bmp", bmpfile.grey_palette_bmp(warden_mask)),
        ("warden", "led.bmp", bmpfile.rgb_bmp(warden.led())),
    ]


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", default=REPOSITORY,
                        help="tree that receives plugins/<name>/resources (default: this repository)")
    arguments = parser.parse_args(argv)
    for plugin, name, data in pictures():
        folder = os.path.join(arguments.root, "plugins", plugin, "resources")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, name), "wb") as file:
            file.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
