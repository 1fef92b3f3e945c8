"""Writes uncompressed Windows BMP files: 24-bit colour and 8-bit palettised.

Both are written bottom-up with a 40-byte information header and rows padded
to four bytes, the layout every bitmap loader reads.
"""

import struct

import numpy as np

FILE_HEADER_SIZE = 14
INFO_HEADER_SIZE = 40
BI_RGB = 0
PIXELS_PER_METRE = 2835  # 72 dots per inch


def _row_stride(width, bytes_per_pixel):
    return (width * bytes_per_pixel + 3) & ~3


def _headers(width, height, bit_count, palette_entries, image_size):
    offset = FILE_HEADER_SIZE + INFO_HEADER_SIZE + 4 * palette_entries
    file_header = struct.pack("<2sIHHI", b"BM", offset + image_size, 0, 0, offset)
    info_header = struct.pack(
        "<IiiHHIIiiII",
        INFO_HEADER_SIZE, width, height, 1, bit_count, BI_RGB, image_size,
        PIXELS_PER_METRE, PIXELS_PER_METRE, palette_entries, 0)
    return file_header + info_header


def _bottom_up_rows(pixels, stride):
    height, width = pixels.shape[:2]
    raw = pixels.reshape(height, -1)
    padding = stride - raw.shape[1]
    if padding:
        raw = np.concatenate([raw, np.zeros((height, padding), np.uint8)], axis=1)
    return raw[::-1].tobytes()


def rgb_bmp(pixels):
    """The file bytes of a 24-bit picture from an (height, width, 3) uint8 RGB array."""
    pixels = np.ascontiguousarray(pixels, dtype=np.uint8)
    height, width = pixels.shape[:2]
    stride = _row_stride(width, 3)
    bgr = np.ascontiguousarray(pixels[:, :, ::-1])
    body = _bottom_up_rows(bgr, stride)
    return _headers(width, height, 24, 0, len(body)) + body


def grey_palette_bmp(levels):
    """The file bytes of an 8-bit picture from an (height, width) uint8 array.

    The palette is the full grey ramp, entry i being (i, i, i), so each index
    is its own grey level and any reader that ignores the palette size still
    finds 256 entries.
    """
    levels = np.ascontiguousarray(levels, dtype=np.uint8)
    height, width = levels.shape
    palette = b"".join(struct.pack("<BBBB", i, i, i, 0) for i in range(256))
    body = _bottom_up_rows(levels, _row_stride(width, 1))
    headers = _headers(width, height, 8, 256, len(body))
    return headers + palette + body
