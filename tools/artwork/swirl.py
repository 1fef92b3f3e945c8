"""Umber-Swirl: a warm umber panel with bronze knobs, 785 x 82."""

import math

import numpy as np

import canvas
import knob
import panel
from canvas import rgb

WIDTH, HEIGHT = 785, 82
KNOB_Y = 35
# Knob left edges, in parameter order, with the caption that says what each does.
FLANGER_KNOBS = [(136, "GLIDE"), (185, "FEEDBACK"), (233, "LEVEL"), (282, "DEPTH"), (331, "STEP")]
PHASER_KNOBS = [(426, "MIX"), (475, "DEPTH"), (524, "RATE")]

KNOB_THEME = {
    "well": rgb("#1b120b"),
    "skirt": rgb("#8a5a30"),
    "skirt_edge": rgb("#3b2514"),
    "groove": rgb("#2b1a0e"),
    "cap": rgb("#c28c52"),
    "cap_highlight": rgb("#ffe4b4"),
    "pointer": rgb("#fbf1da"),
    "pointer_edge": rgb("#2a160a"),
    "ridges": 20,
    "ridge_depth": 0.16,
}

PANEL_THEME = {
    "face_top": rgb("#5a3a24"),
    "face_bottom": rgb("#3a2416"),
    "grain": 0.012,
    "grain_streak": 1,
    "frame_light": rgb("#d9a46a"),
    "frame_dark": rgb("#140c07"),
    "screw": rgb("#8c6440"),
    "recess": rgb("#24160d"),
    "recess_opacity": 0.55,
}

BRONZE = rgb("#d6a265")
CREAM = rgb("#f1e2c4")
SHADOW = rgb("#0e0804")


def _group(face, knobs, title):
    """A recessed section round a row of knobs, its title on a rule above them."""
    left = knobs[0][0] - 14
    right = knobs[-1][0] + knob.SIZE + 14
    panel.recess(face, left, 7, right, 77, PANEL_THEME)
    middle = (left + right) / 2.0
    title_face = canvas.font("DejaVuSans-Bold", 9)
    half = canvas.text_width(title, title_face, 2.0) / 2.0
    for x0, x1 in ((left + 10, middle - half - 7), (middle + half + 7, right - 10)):
        face.fill(face.segment(x0, 15.5, x1, 15.5, 0.5), BRONZE, 0.55)
    face.engraved_text((middle, 19), title, title_face, BRONZE, SHADOW, tracking=2.0)
    caption_face = canvas.font("DejaVuSansCondensed-Bold", 8)
    for x, caption in knobs:
        panel.knob_scale(face, x, KNOB_Y, BRONZE, opacity=0.75)
        panel.knob_well(face, x, KNOB_Y, KNOB_THEME, PANEL_THEME)
        face.engraved_text((x + knob.CENTRE, 73), caption, caption_face, CREAM, SHADOW, tracking=0.6)


def _spiral(face, cx, cy, turns, outer, colour, opacity):
    """A logarithmic swirl drawn as short anti-aliased segments."""
    points = []
    steps = int(turns * 90)
    for i in range(steps + 1):
        t = i / steps
        angle = t * turns * 2.0 * math.pi
        radius = outer * math.exp(-2.4 * (1.0 - t)) if t > 0 else outer * math.exp(-2.4)
        points.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle), t))
    for (x0, y0, t0), (x1, y1, _) in zip(points, points[1:]):
        face.fill(face.segment(x0, y0, x1, y1, 0.35 + 0.9 * t0), colour, opacity)


def _branding(face):
    # Emblem on the left, beside a short statement of what the effect is.
    face.fill(face.circle(40.5, 41.5, 25.5), PANEL_THEME["frame_dark"], 0.5)
    face.fill(face.circle(40, 41, 25), PANEL_THEME["recess"], 0.7)
    face.fill(np.abs(face.circle(40, 41, 23.2)) - 0.45, BRONZE, 0.45)
    _spiral(face, 40, 41, 2.6, 20.0, BRONZE, 0.9)
    small = canvas.font("DejaVuSansCondensed-Bold", 8)
    face.engraved_text((72, 33), "STEPPED", small, CREAM, SHADOW, anchor="ls", tracking=0.8)
    face.engraved_text((72, 44), "FLANGER", small, CREAM, SHADOW, anchor="ls", tracking=0.8)
    face.engraved_text((72, 55), "+ PHASER", small, CREAM, SHADOW, anchor="ls", tracking=0.8)

    # Product name and maker on the right.
    name_face = canvas.font("DejaVuSerif-Bold", 22)
    face.engraved_text((671, 44), "Umber-Swirl", name_face, BRONZE, SHADOW, anchor="ms")
    maker_face = canvas.font("DejaVuSans-Bold", 8)
    face.engraved_text((671, 60), "VELMORA TONAL WORKS", maker_face, CREAM, SHADOW,
                       anchor="ms", tracking=1.6)


def background():
    face = panel.face(WIDTH, HEIGHT, PANEL_THEME, seed=0x5717)
    _group(face, FLANGER_KNOBS, "FLANGER")
    _group(face, PHASER_KNOBS, "PHASER")
    _branding(face)
    for x, y in ((7, 7), (WIDTH - 7, 7), (7, HEIGHT - 7), (WIDTH - 7, HEIGHT - 7)):
        panel.screw(face, x, y, PANEL_THEME, slot_angle=math.radians(30 + 40 * x / WIDTH))
    return face.to_bytes()


def knob_strip():
    return knob.render(KNOB_THEME)
