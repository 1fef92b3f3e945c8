#!/usr/bin/python3
"""Draws a render's input and output waveforms side by side, one row per
channel, into a PNG: plot_waveforms.py INPUT.wav OUTPUT.wav PICTURE.png [--title T]."""

import argparse
import struct
import sys

import numpy as np

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402  (the back end is chosen first)

FORMAT_PCM, FORMAT_FLOAT, FORMAT_EXTENSIBLE = 1, 3, 0xFFFE


def read_wav(path):
    """Samples as float arrays of shape (frames, channels) and the sample rate,
    from 32-bit float or 16/24/32-bit integer WAV files."""
    with open(path, "rb") as file:
        data = file.read()
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise ValueError(f"{path} is not a WAV file")
    fmt = samples = None
    at = 12
    while at + 8 <= len(data):
        chunk, size = data[at:at + 4], struct.unpack_from("<I", data, at + 4)[0]
        body = data[at + 8:at + 8 + size]
        if chunk == b"fmt ":
            fmt = body
        elif chunk == b"data":
            samples = body
        at += 8 + size + (size & 1)
    if fmt is None or samples is None:
        raise ValueError(f"{path} has no format or no data")
    tag, channels, rate = struct.unpack_from("<HHI", fmt, 0)
    bits = struct.unpack_from("<H", fmt, 14)[0]
    if tag == FORMAT_EXTENSIBLE and len(fmt) >= 26:
        tag = struct.unpack_from("<H", fmt, 24)[0]
    width = bits // 8
    usable = len(samples) - len(samples) % (width * channels)
    raw = samples[:usable]
    if tag == FORMAT_FLOAT and bits == 32:
        values = np.frombuffer(raw, "<f4").astype(np.float64)
    elif tag == FORMAT_PCM and bits in (16, 32):
        values = np.frombuffer(raw, f"<i{width}").astype(np.float64) / 2.0 ** (bits - 1)
    elif tag == FORMAT_PCM and bits == 24:
        b = np.frombuffer(raw, np.uint8).reshape(-1, 3).astype(np.int32)
        values = ((b[:, 0] | (b[:, 1] << 8) | (b[:, 2] << 16)) << 8 >> 8) / 2.0 ** 23
    else:
        raise ValueError(f"{path}: {bits}-bit samples of format {tag} are not read here")
    return values.reshape(-1, channels), rate


def plot(input_path, output_path, picture, title):
    dry, dry_rate = read_wav(input_path)
    wet, wet_rate = read_wav(output_path)
    channels = max(dry.shape[1], wet.shape[1])
    # Full scale at least, and whatever goes beyond it stays in the picture.
    reach = 1.05 * max(1.0, float(np.abs(dry).max(initial=0.0)), float(np.abs(wet).max(initial=0.0)))
    figure, axes = plt.subplots(channels, 2, figsize=(12, 2.5 * channels + 0.8), sharex=True, sharey=True,
                                squeeze=False)
    for column, (signal, rate, name, colour) in enumerate(
            [(dry, dry_rate, "input", "#6b7b8c"), (wet, wet_rate, "output", "#b5562b")]):
        seconds = np.arange(signal.shape[0]) / rate
        for row in range(channels):
            axis = axes[row][column]
            samples = signal[:, min(row, signal.shape[1] - 1)]
            axis.plot(seconds, samples, color=colour, linewidth=0.4)
            axis.set_title(f"{name}, {'left' if row == 0 else 'right' if row == 1 else f'channel {row + 1}'}",
                           fontsize=10)
            axis.set_ylim(-reach, reach)
            axis.grid(True, linewidth=0.3, alpha=0.5)
        axes[-1][column].set_xlabel("seconds")
    figure.suptitle(title)
    figure.tight_layout()
    figure.savefig(picture, dpi=100)
    plt.close(figure)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("input")
    parser.add_argument("output")
    parser.add_argument("picture")
    parser.add_argument("--title", default="")
    args = parser.parse_args(argv)
    try:
        plot(args.input, args.output, args.picture, args.title)
    except (OSError, ValueError) as error:
        print(f"plot_waveforms: error: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
