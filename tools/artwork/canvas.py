"""A floating-point RGB canvas with anti-aliased shapes and text.

Shapes are described by signed distance fields in pixels (negative inside);
a pixel's coverage is its distance clipped to one pixel around the edge, which
gives smooth one-pixel edges without supersampling. Text comes from FreeType
through the imaging library, rendered at the final size so its hinting keeps
small captions crisp.
"""

import numpy as np
from PIL import Image, ImageDraw, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"


def font(name, size):
    return ImageFont.truetype(FONT_DIR + name + ".ttf", size)


def rgb(hex_colour):
    """(r, g, b) in 0 … 1 from a "#rrggbb" string."""
    value = int(hex_colour.lstrip("#"), 16)
    return np.array([(value >> 16) & 255, (value >> 8) & 255, value & 255], float) / 255.0


def mix(a, b, t):
    return np.asarray(a, float) * (1.0 - t) + np.asarray(b, float) * t


def coverage(distance):
    """Fraction of each pixel inside a shape, from its signed distance."""
    return np.clip(0.5 - distance, 0.0, 1.0)


class Canvas:
    def __init__(self, width, height, colour=(0.0, 0.0, 0.0)):
        self.width = width
        self.height = height
        self.pixels = np.empty((height, width, 3), float)
        self.pixels[:] = colour
        # Pixel centres, so a shape at integer coordinates sits on pixel edges.
        self.y, self.x = np.mgrid[0:height, 0:width] + 0.5

    # ---- distance fields --------------------------------------------------

    def circle(self, cx, cy, r):
        return np.hypot(self.x - cx, self.y - cy) - r

    def round_rect(self, left, top, right, bottom, radius):
        """Rounded rectangle covering left … right, top … bottom (edges, not centres)."""
        cx, cy = (left + right) / 2.0, (top + bottom) / 2.0
        hx, hy = (right - left) / 2.0 - radius, (bottom - top) / 2.0 - radius
        qx = np.abs(self.x - cx) - hx
        qy = np.abs(self.y - cy) - hy
        outside = np.hypot(np.maximum(qx, 0.0), np.maximum(qy, 0.0))
        inside = np.minimum(np.maximum(qx, qy), 0.0)
        return outside + inside - radius

    def segment(self, x0, y0, x1, y1, half_width):
        dx, dy = x1 - x0, y1 - y0
        t = np.clip(((self.x - x0) * dx + (self.y - y0) * dy) / (dx * dx + dy * dy), 0.0, 1.0)
        return np.hypot(self.x - (x0 + t * dx), self.y - (y0 + t * dy)) - half_width

    # ---- painting ---------------------------------------------------------

    def paint(self, alpha, colour):
        """Blends colour (one colour or a per-pixel array) in by alpha (0 … 1 per pixel)."""
        alpha = np.asarray(alpha, float)
        if alpha.ndim == 2:
            alpha = alpha[:, :, None]
        self.pixels = self.pixels * (1.0 - alpha) + np.asarray(colour, float) * alpha

    def fill(self, distance, colour, opacity=1.0):
        self.paint(coverage(distance) * opacity, colour)

    def grain(self, seed, amount, streak=1):
        """Adds fixed-seed noise; a streak length above 1 smears it sideways like brushed metal."""
        noise = np.random.default_rng(seed).normal(0.0, 1.0, (self.height, self.width + streak))
        if streak > 1:
            kernel = np.ones(streak) / np.sqrt(streak)
            noise = np.apply_along_axis(lambda row: np.convolve(row, kernel, "same"), 1, noise)
        self.pixels = self.pixels + amount * noise[:, : self.width, None]

    def text(self, position, string, face, colour, anchor="ms", tracking=0.0, opacity=1.0):
        """Draws string at position (x, y) with the imaging library's anchor; tracking adds
        that many pixels between letters. Answers the drawn width."""
        layer = Image.new("L", (self.width, self.height), 0)
        draw = ImageDraw.Draw(layer)
        width = text_width(string, face, tracking)
        x, y = position
        horizontal = anchor[0]
        start = {"l": x, "m": x - width / 2.0, "r": x - width}[horizontal]
        vertical = "l" + anchor[1]
        if tracking == 0.0:
            draw.text((start, y), string, fill=255, font=face, anchor=vertical)
        else:
            # Whole-pixel advances keep the gaps between hinted letters even.
            pen = round(start)
            for letter in string:
                draw.text((pen, y), letter, fill=255, font=face, anchor=vertical)
                pen += round(face.getlength(letter) + tracking)
        self.paint(np.asarray(layer, float) / 255.0 * opacity, colour)
        return width

    def engraved_text(self, position, string, face, colour, shadow, anchor="ms", tracking=0.0):
        """Text with a soft shadow one pixel below, so it reads as printed on the surface."""
        x, y = position
        self.text((x, y + 1), string, face, shadow, anchor, tracking, opacity=0.7)
        return self.text(position, string, face, colour, anchor, tracking)

    def to_bytes(self):
        return np.clip(np.rint(self.pixels * 255.0), 0, 255).astype(np.uint8)


def text_width(string, face, tracking=0.0):
    if tracking == 0.0:
        return face.getlength(string)
    advances = [round(face.getlength(letter) + tracking) for letter in string[:-1]]
    return sum(advances) + face.getlength(string[-1])
