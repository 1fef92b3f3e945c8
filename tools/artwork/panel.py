"""Panel furniture shared by both backgrounds: the face, its frame, screws,
the wells the knobs sit in, their scales, and recessed sections."""

import math

import numpy as np

import canvas
import knob

# Scale dots run around each knob just outside its well.
SCALE_RADIUS = 16.6


def face(width, height, theme, seed):
    """A panel face with a vertical light fall-off, fine grain and a bevelled frame."""
    panel = canvas.Canvas(width, height)
    t = (panel.y / height)[:, :, None]
    panel.pixels = canvas.mix(theme["face_top"], theme["face_bottom"], t)
    panel.grain(seed, theme["grain"], theme["grain_streak"])
    outline = panel.round_rect(0, 0, width, height, 3.0)
    # Outermost pixel ring dark, the next one lit above and shaded below.
    panel.paint(canvas.coverage(np.abs(outline + 0.5) - 0.5), theme["frame_dark"])
    panel.paint(canvas.coverage(-outline), theme["frame_dark"])
    bevel = canvas.coverage(np.abs(outline + 1.5) - 0.5)
    upper = panel.y < height / 2
    panel.paint(bevel * np.where(upper, 0.4, 0.0), theme["frame_light"])
    panel.paint(bevel * np.where(upper, 0.0, 0.5), theme["frame_dark"])
    return panel


def screw(panel, cx, cy, theme, slot_angle):
    panel.fill(panel.circle(cx + 0.4, cy + 0.6, 3.4), theme["frame_dark"], 0.6)
    panel.fill(panel.circle(cx, cy, 3.0), theme["screw"])
    lit = np.clip(-(panel.y - cy) / 3.0, 0.0, 1.0) * canvas.coverage(panel.circle(cx, cy, 2.6))
    panel.paint(lit * 0.5, theme["frame_light"])
    dx, dy = 2.1 * math.cos(slot_angle), 2.1 * math.sin(slot_angle)
    panel.fill(panel.segment(cx - dx, cy - dy, cx + dx, cy + dy, 0.45), theme["frame_dark"], 0.9)


def recess(panel, left, top, right, bottom, theme, radius=5.0):
    """A sunken section: darker inside, its rim shaded at the top and lit at the bottom."""
    shape = panel.round_rect(left, top, right, bottom, radius)
    panel.fill(shape, theme["recess"], theme["recess_opacity"])
    rim = canvas.coverage(np.abs(shape + 0.5) - 0.5)
    lower = np.clip((panel.y - top) / (bottom - top), 0.0, 1.0)
    panel.paint(rim * (1.0 - lower) * 0.7, theme["frame_dark"])
    panel.paint(rim * lower * lower * 0.45, theme["frame_light"])


def knob_well(panel, knob_x, knob_y, knob_theme, theme):
    """The dark well a knob at (knob_x, knob_y) sits in, with a lit lower lip."""
    cx, cy = knob_x + knob.CENTRE, knob_y + knob.CENTRE
    lip = panel.circle(cx, cy + 0.8, knob.WELL_RADIUS + 0.2)
    panel.fill(lip, theme["frame_light"], 0.35)
    shade = panel.circle(cx, cy - 0.6, knob.WELL_RADIUS + 0.3)
    panel.fill(shade, theme["frame_dark"], 0.6)
    well = knob.well_colour(knob_theme, panel.x - cx, panel.y - cy)
    panel.paint(canvas.coverage(panel.circle(cx, cy, knob.WELL_RADIUS)), well)


def knob_scale(panel, knob_x, knob_y, colour, dots=11, opacity=0.9, radius=SCALE_RADIUS):
    """Dots around a knob at the pointer's positions, the end dots a little larger."""
    cx, cy = knob_x + knob.CENTRE, knob_y + knob.CENTRE
    for i in range(dots):
        angle = math.radians(-knob.SWEEP_DEGREES / 2.0 + knob.SWEEP_DEGREES * i / (dots - 1))
        x, y = cx + radius * math.sin(angle), cy - radius * math.cos(angle)
        size = 0.95 if i in (0, dots - 1) else 0.7
        panel.fill(panel.circle(x, y, size), colour, opacity)
