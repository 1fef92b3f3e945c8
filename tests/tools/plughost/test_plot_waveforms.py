"""The waveform plotter reads the WAV kinds it is given and draws one row per channel."""

import importlib.util
import os
import struct
import subprocess
import sys
import tempfile
import unittest

import numpy as np

REPOSITORY = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", ".."))
SCRIPT = os.path.join(REPOSITORY, "tools", "plughost", "plot_waveforms.py")

spec = importlib.util.spec_from_file_location("plot_waveforms", SCRIPT)
plot_waveforms = importlib.util.module_from_spec(spec)
spec.loader.exec_module(plot_waveforms)


def wav_bytes(tag, channels, rate, bits, payload, extensible=False, extra_chunk=b""):
    block = channels * bits // 8
    fmt = struct.pack("<HHIIHH", 0xFFFE if extensible else tag, channels, rate, rate * block, block, bits)
    if extensible:
        fmt += struct.pack("<HHI", 22, bits, 0) + struct.pack("<H", tag) + bytes(14)
    chunks = extra_chunk + b"fmt " + struct.pack("<I", len(fmt)) + fmt
    chunks += b"data" + struct.pack("<I", len(payload)) + payload + (b"\0" if len(payload) % 2 else b"")
    return b"RIFF" + struct.pack("<I", 4 + len(chunks)) + b"WAVE" + chunks


def png_size(path):
    with open(path, "rb") as file:
        header = file.read(24)
    assert header[:8] == b"\x89PNG\r\n\x1a\n"
    return struct.unpack(">II", header[16:24])


class ReadWav(unittest.TestCase):
    def read(self, data):
        with tempfile.NamedTemporaryFile(suffix=".wav", delete=False) as file:
            file.write(data)
        try:
            return plot_waveforms.read_wav(file.name)
        finally:
            os.unlink(file.name)

    def test_sample_kinds_read_as_full_scale_floats(self):
        cases = [
            ("float", wav_bytes(3, 2, 48000, 32, struct.pack("<4f", 0.5, -0.25, 1.0, -1.0), extra_chunk=b"LIST\3\0\0\0abc\0"),
             [[0.5, -0.25], [1.0, -1.0]]),
            ("extensible float", wav_bytes(3, 1, 48000, 32, struct.pack("<2f", 0.75, -0.5), extensible=True),
             [[0.75], [-0.5]]),
            ("pcm16", wav_bytes(1, 2, 48000, 16, struct.pack("<4h", 16384, -32768, 0, 8192)),
             [[0.5, -1.0], [0.0, 0.25]]),
            ("pcm24", wav_bytes(1, 1, 48000, 24, bytes([0, 0, 0x40, 0, 0, 0x80, 0, 0, 0xE0])),
             [[0.5], [-1.0], [-0.25]]),
        ]
        for name, data, expected in cases:
            with self.subTest(kind=name):
                samples, rate = self.read(data)
                self.assertEqual(rate, 48000)
                np.testing.assert_array_equal(samples, np.array(expected))

    def test_other_files_are_refused(self):
        for name, data in [("text", b"hello, not audio"),
                           ("64-bit float", wav_bytes(3, 1, 8000, 64, bytes(16))),
                           ("no data", wav_bytes(3, 1, 8000, 32, b"")[:-8])]:
            with self.subTest(kind=name):
                with self.assertRaises(ValueError):
                    self.read(data)


class Picture(unittest.TestCase):
    def test_stereo_render_gives_a_two_row_picture_and_bad_input_one_error_line(self):
        with tempfile.TemporaryDirectory() as directory:
            frames = 4410
            t = np.arange(frames) / 44100.0
            dry = np.stack([np.sin(2 * np.pi * 220 * t), np.sin(2 * np.pi * 330 * t)], axis=1).astype("<f4")
            inp, out, picture = (os.path.join(directory, n) for n in ("in.wav", "out.wav", "plot.png"))
            with open(inp, "wb") as file:
                file.write(wav_bytes(3, 2, 44100, 32, dry.tobytes()))
            with open(out, "wb") as file:
                file.write(wav_bytes(3, 2, 44100, 32, (0.5 * dry).tobytes()))
            subprocess.run([sys.executable, SCRIPT, inp, out, picture, "--title", "test"], check=True)
            # 12 × 5.8 inches at 100 dots per inch.
            self.assertEqual(png_size(picture), (1200, 580))

            failed = subprocess.run([sys.executable, SCRIPT, os.path.join(directory, "absent.wav"), out, picture],
                                    capture_output=True, text=True)
            self.assertEqual(failed.returncode, 1)
            self.assertEqual(len(failed.stderr.splitlines()), 1)
            self.assertIn("plot_waveforms: error:", failed.stderr)


if __name__ == "__main__":
    unittest.main()
