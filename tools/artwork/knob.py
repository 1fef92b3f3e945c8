"""The rotary knob: a film strip of 64 frames of 26 x 26 and its mask.

The editor draws a frame by ANDing the mask into the panel (black clears the
disc) and ORing the frame on top (black adds nothing). So every frame is pure
black outside the disc and never pure black inside it, and the mask is black
exactly on the disc: the OR then reproduces the frame's pixels unchanged.

The knob sits in a dark well that the panel background paints around each
knob position with the same colour function as the frame's outer ring, so
the disc's stair-stepped edge falls on matching colour and disappears.
"""

import math

import numpy as np

import canvas

SIZE = 26
FRAME_COUNT = 64
CENTRE = SIZE / 2.0
# Pixels whose centres lie within this radius form the disc; it reaches the
# middle of each edge so the knob uses its whole square.
DISC_RADIUS = 12.75
# The well the panel paints is a little larger than the disc, so even the
# corners of the disc's edge pixels lie inside it.
WELL_RADIUS = 13.6
SKIRT_RADIUS = 11.2
CAP_RADIUS = 7.6
POINTER_INNER, POINTER_OUTER = 2.6, 10.4
POINTER_HALF_WIDTH = 0.95
# Pointer travel, clockwise from straight up: lower left to lower right.
SWEEP_DEGREES = 270.0
SUPERSAMPLING = 5
# Light falls from the upper left.
LIGHT_ANGLE = math.radians(-35.0)
SHADOW_OFFSET = (0.7, 1.1)
# Every lit pixel keeps at least this much in one channel, so none is pure black.
DARKEST_LEVEL = 6


def pointer_angle(frame):
    """Pointer direction of a frame in radians, clockwise from straight up."""
    return math.radians(-SWEEP_DEGREES / 2.0 + SWEEP_DEGREES * frame / (FRAME_COUNT - 1))


def disc_pixels():
    """Boolean (26, 26) array: the pixels a frame may light and the mask blackens."""
    y, x = np.mgrid[0:SIZE, 0:SIZE] + 0.5
    return np.hypot(x - CENTRE, y - CENTRE) <= DISC_RADIUS


def well_colour(theme, dx, dy):
    """Colour of the well at offsets (dx, dy) from the knob's centre, with the soft
    shadow the knob casts into it. Shared by the frames' outer ring and the panel."""
    r = np.hypot(dx - SHADOW_OFFSET[0], dy - SHADOW_OFFSET[1])
    shadow = np.clip((SKIRT_RADIUS + 1.8 - r) / 2.2, 0.0, 1.0)
    base = np.asarray(theme["well"], float)
    return base * (1.0 - 0.45 * shadow[..., None])


def _smoothstep(edge0, edge1, value):
    t = np.clip((value - edge0) / (edge1 - edge0), 0.0, 1.0)
    return t * t * (3.0 - 2.0 * t)


def _frame(theme, angle):
    n = SIZE * SUPERSAMPLING
    step = 1.0 / SUPERSAMPLING
    offsets = (np.arange(n) + 0.5) * step - CENTRE
    dy, dx = np.meshgrid(offsets, offsets, indexing="ij")
    r = np.hypot(dx, dy)
    # Screen angle clockwise from straight up, as the pointer's.
    phi = np.arctan2(dx, -dy)
    toward_light = np.cos(phi - LIGHT_ANGLE)

    colour = well_colour(theme, dx, dy)

    # Skirt: lit from above, ridged so the turn shows all round the edge.
    skirt_shade = 0.72 + 0.3 * toward_light * _smoothstep(0.0, SKIRT_RADIUS, r)
    ridges = 1.0 + theme["ridge_depth"] * np.cos(theme["ridges"] * (phi - angle))
    skirt = np.asarray(theme["skirt"], float) * (skirt_shade * ridges)[..., None]
    edge = _smoothstep(SKIRT_RADIUS - 1.2, SKIRT_RADIUS, r)
    skirt = canvas.mix(skirt, np.asarray(theme["skirt_edge"], float), edge[..., None])
    inside_skirt = r <= SKIRT_RADIUS
    colour = np.where(inside_skirt[..., None], skirt, colour)

    # Groove between skirt and cap.
    groove = (r > CAP_RADIUS) & (r <= CAP_RADIUS + 0.7)
    colour = np.where(groove[..., None], np.asarray(theme["groove"], float), colour)

    # Cap: spun metal, whose highlights stay with the light as the knob turns.
    spun = np.abs(np.cos(phi - LIGHT_ANGLE)) ** 6
    dome = 0.82 + 0.22 * (-dy / CAP_RADIUS) * 0.5 + 0.1 * (1.0 - r / CAP_RADIUS)
    cap = canvas.mix(np.asarray(theme["cap"], float) * dome[..., None],
                     np.asarray(theme["cap_highlight"], float), (0.55 * spun)[..., None])
    bevel = _smoothstep(CAP_RADIUS - 1.0, CAP_RADIUS, r)
    bevel_colour = np.where((toward_light > 0.0)[..., None],
                            np.asarray(theme["cap_highlight"], float),
                            np.asarray(theme["groove"], float))
    cap = canvas.mix(cap, bevel_colour, (bevel * np.abs(toward_light) * 0.7)[..., None])
    colour = np.where((r <= CAP_RADIUS)[..., None], cap, colour)

    # Pointer with a dark edge that keeps it readable on light and dark metal.
    sx, sy = math.sin(angle), -math.cos(angle)
    t = np.clip(dx * sx + dy * sy, POINTER_INNER, POINTER_OUTER)
    distance = np.hypot(dx - t * sx, dy - t * sy)
    outline = np.clip((POINTER_HALF_WIDTH + 0.7 - distance) / 0.5, 0.0, 1.0)
    colour = canvas.mix(colour, np.asarray(theme["pointer_edge"], float), (0.6 * outline)[..., None])
    line = np.clip((POINTER_HALF_WIDTH - distance) / 0.35 + 0.5, 0.0, 1.0)
    colour = canvas.mix(colour, np.asarray(theme["pointer"], float), line[..., None])

    # Average each pixel's samples.
    colour = colour.reshape(SIZE, SUPERSAMPLING, SIZE, SUPERSAMPLING, 3).mean(axis=(1, 3))
    return colour


def render(theme):
    """Answers (strip, mask): a (1664, 26, 3) uint8 RGB strip and a (26, 26) uint8 mask
    of grey levels (0 on the disc, 255 around it)."""
    disc = disc_pixels()
    frames = []
    for frame in range(FRAME_COUNT):
        pixels = np.clip(np.rint(_frame(theme, pointer_angle(frame)) * 255.0), 0, 255).astype(np.uint8)
        brightest = pixels.max(axis=2, keepdims=True)
        pixels = np.where(brightest < DARKEST_LEVEL, np.uint8(DARKEST_LEVEL), pixels)
        pixels[~disc] = 0
        frames.append(pixels)
    mask = np.where(disc, 0, 255).astype(np.uint8)
    return np.concatenate(frames, axis=0), mask
