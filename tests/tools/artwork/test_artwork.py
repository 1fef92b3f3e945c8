"""The committed panel bitmaps keep the rules the editors draw them by, and the
generator reproduces them byte for byte."""

import math
import os
import re
import struct
import subprocess
import sys
import tempfile
import unittest

import numpy as np

REPOSITORY = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", ".."))
GENERATOR = os.path.join(REPOSITORY, "tools", "artwork", "generate.py")

KNOB_SIZE, FRAME_COUNT = 26, 64

# (plug-in, file, width, height, bits per pixel, resource id)
PICTURES = [
    ("swirl", "background.bmp", 785, 82, 24, 101),
    ("swirl", "knob_strip.bmp", 26, 1664, 24, 103),
    ("swirl", "knob_mask.bmp", 26, 26, 8, 104),
    ("warden", "background.bmp", 416, 82, 24, 101),
    ("warden", "knob_strip.bmp", 26, 1664, 24, 102),
    ("warden", "knob_mask.bmp", 26, 26, 8, 103),
    ("warden", "led.bmp", 8, 16, 24, 104),
]
# Knob positions (left, top) on each panel.
KNOBS = {
    "swirl": [(x, 35) for x in (136, 185, 233, 282, 331, 426, 475, 524)],
    "warden": [(28, 28), (69, 28), (110, 28)],
}


def resource_path(plugin, name, root=REPOSITORY):
    return os.path.join(root, "plugins", plugin, "resources", name)


class Bitmap:
    """A BMP file read the way a loader reads it: headers, palette, bottom-up rows."""

    def __init__(self, path):
        with open(path, "rb") as file:
            data = file.read()
        self.size = len(data)
        (self.magic, self.file_size, _, _, self.offset) = struct.unpack_from("<2sIHHI", data, 0)
        (self.header_size, self.width, self.height, self.planes, self.bits, self.compression,
         _, _, _, colours_used, _) = struct.unpack_from("<IiiHHIIiiII", data, 14)
        self.palette = None
        stride = (self.width * self.bits // 8 + 3) & ~3
        rows = np.frombuffer(data, np.uint8, stride * abs(self.height), self.offset)
        rows = rows.reshape(abs(self.height), stride)
        if self.height > 0:
            rows = rows[::-1]
        if self.bits == 24:
            self.rgb = rows[:, : self.width * 3].reshape(-1, self.width, 3)[:, :, ::-1].astype(int)
        elif self.bits == 8:
            entries = colours_used or 256
            table = np.frombuffer(data, np.uint8, 4 * entries, 14 + self.header_size).reshape(entries, 4)
            self.palette = table[:, 2::-1].astype(int)
            self.rgb = self.palette[rows[:, : self.width]]


def load(plugin, name):
    return Bitmap(resource_path(plugin, name))


def knob_frames(plugin):
    return load(plugin, "knob_strip.bmp").rgb.reshape(FRAME_COUNT, KNOB_SIZE, KNOB_SIZE, 3)


def lit(pixels):
    return pixels.any(axis=-1)


def luminance(pixels):
    return (pixels * np.array([0.299, 0.587, 0.114])).sum(axis=-1)


def pointer_angles(frames):
    """Pointer direction of each frame in degrees clockwise from straight up: the
    centroid of what differs from the median frame, where the pointer is never."""
    median = np.median(frames, axis=0)
    y, x = np.mgrid[0:KNOB_SIZE, 0:KNOB_SIZE] + 0.5
    dx, dy = x - KNOB_SIZE / 2, y - KNOB_SIZE / 2
    angles = []
    for frame in frames:
        weight = np.abs(frame - median).sum(axis=2) ** 2
        angles.append(math.degrees(math.atan2((weight * dx).sum(), -(weight * dy).sum())))
    return np.array(angles)


class FileFormat(unittest.TestCase):
    def test_every_picture_has_its_size_and_depth(self):
        for plugin, name, width, height, bits, _ in PICTURES:
            with self.subTest(plugin=plugin, picture=name):
                bitmap = load(plugin, name)
                self.assertEqual(bitmap.magic, b"BM")
                self.assertEqual(bitmap.file_size, bitmap.size)
                self.assertEqual(bitmap.header_size, 40)
                self.assertEqual((bitmap.width, bitmap.height), (width, height))
                self.assertEqual(bitmap.planes, 1)
                self.assertEqual(bitmap.bits, bits)
                self.assertEqual(bitmap.compression, 0)
                stride = (width * bits // 8 + 3) & ~3
                self.assertEqual(bitmap.size, bitmap.offset + stride * height)

    def test_resource_scripts_name_each_picture_under_its_id(self):
        for plugin in ("swirl", "warden"):
            with self.subTest(plugin=plugin):
                with open(resource_path(plugin, plugin + ".rc")) as file:
                    entries = re.findall(r'^\s*(\d+)\s+BITMAP\s+"([^"]+)"', file.read(), re.M)
                expected = {(str(rid), name) for p, name, _, _, _, rid in PICTURES if p == plugin}
                self.assertEqual(set(entries), expected)
                self.assertEqual(len(entries), len(expected))


class KnobPicture(unittest.TestCase):
    def test_frames_light_exactly_the_mask_disc(self):
        for plugin in KNOBS:
            with self.subTest(plugin=plugin):
                mask = load(plugin, "knob_mask.bmp").rgb
                levels = {tuple(colour) for colour in mask.reshape(-1, 3)}
                self.assertEqual(levels, {(0, 0, 0), (255, 255, 255)})
                disc = ~lit(mask)
                for index, frame in enumerate(knob_frames(plugin)):
                    # Pure black inside would let the background through the OR,
                    # anything else outside would be ORed onto the background.
                    np.testing.assert_array_equal(lit(frame), disc, err_msg=f"frame {index}")

    def test_mask_is_a_centred_disc(self):
        for plugin in KNOBS:
            with self.subTest(plugin=plugin):
                disc = ~lit(load(plugin, "knob_mask.bmp").rgb)
                np.testing.assert_array_equal(disc, disc[::-1])
                np.testing.assert_array_equal(disc, disc[:, ::-1])
                np.testing.assert_array_equal(disc, disc.T)
                for row in disc:
                    columns = np.flatnonzero(row)
                    if columns.size:
                        self.assertEqual(columns[-1] - columns[0] + 1, columns.size)
                radius = math.sqrt(disc.sum() / math.pi)
                self.assertGreater(radius, 11.5)
                self.assertLessEqual(radius, 13.0)

    def test_pointer_turns_clockwise_from_lower_left_to_lower_right(self):
        for plugin in KNOBS:
            with self.subTest(plugin=plugin):
                angles = pointer_angles(knob_frames(plugin))
                self.assertAlmostEqual(angles[0], -135.0, delta=6.0)
                self.assertAlmostEqual(angles[-1], 135.0, delta=6.0)
                # Straight up halfway: the two middle frames lie 2.1 degrees either side.
                self.assertAlmostEqual(angles[FRAME_COUNT // 2 - 1], 0.0, delta=6.0)
                self.assertAlmostEqual(angles[FRAME_COUNT // 2], 0.0, delta=6.0)
                steps = np.diff(angles)
                even_step = 270.0 / (FRAME_COUNT - 1)
                self.assertGreater(steps.min(), 0.75 * even_step)
                self.assertLess(steps.max(), 1.25 * even_step)

    def test_background_is_dark_behind_every_knob(self):
        for plugin, positions in KNOBS.items():
            disc = ~lit(load(plugin, "knob_mask.bmp").rgb)
            background = load(plugin, "background.bmp").rgb
            panel_brightness = np.median(luminance(background))
            for x, y in positions:
                with self.subTest(plugin=plugin, knob=(x, y)):
                    under = luminance(background[y:y + KNOB_SIZE, x:x + KNOB_SIZE])[disc]
                    self.assertLess(under.max(), 0.6 * panel_brightness)


class LedPicture(unittest.TestCase):
    def test_top_frame_is_lit_green_and_bottom_frame_unlit_grey(self):
        frames = load("warden", "led.bmp").rgb
        lit_frame, unlit_frame = frames[:8], frames[8:]
        # The lens's middle; its hot spot may whiten, the lens as a whole is green.
        red, green, blue = lit_frame[2:6, 2:6].reshape(-1, 3).mean(axis=0)
        self.assertGreater(green, 1.5 * max(red, blue))
        self.assertGreater(green, 150)
        spread = unlit_frame.max(axis=2) - unlit_frame.min(axis=2)
        self.assertLessEqual(spread.max(), 12)
        self.assertLess(luminance(unlit_frame).max(), luminance(lit_frame).max() - 60)


class Generator(unittest.TestCase):
    def test_regenerating_gives_the_committed_files(self):
        with tempfile.TemporaryDirectory() as root:
            subprocess.run([sys.executable, GENERATOR, "--root", root], check=True)
            for plugin, name, *_ in PICTURES:
                with self.subTest(plugin=plugin, picture=name):
                    with open(resource_path(plugin, name, root), "rb") as fresh, \
                            open(resource_path(plugin, name), "rb") as committed:
                        self.assertTrue(fresh.read() == committed.read(),
                                        "regenerate with tools/artwork/generate.py")


if __name__ == "__main__":
    unittest.main()
