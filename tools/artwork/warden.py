"""Stern Warden: a dark brushed-steel panel with steel knobs, 416 x 82, and its
gain-reduction LEDs."""

import math

import numpy as np

import canvas
import knob
import panel
from canvas import rgb

WIDTH, HEIGHT = 416, 82
KNOB_Y = 28
# Knob left edges, in parameter order, with each knob's name and range.
KNOBS = [(28, "THRESH", "\u221220\u20260 dB"), (69, "ATTACK", "0\u2026100 ms"),
         (110, "RELEASE", "0\u20261000 ms")]
# The bar of nine 8 x 8 LEDs, edge to edge.
LED_LEFT, LED_TOP, LED_SIZE, LED_COUNT = 156, 41, 8, 9

KNOB_THEME = {
    "well": rgb("#0e1013"),
    "skirt": rgb("#4a4f58"),
    "skirt_edge": rgb("#1b1e23"),
    "groove": rgb("#15171b"),
    "cap": rgb("#9aa1ac"),
    "cap_highlight": rgb("#eef2f8"),
    "pointer": rgb("#e2462f"),
    "pointer_edge": rgb("#1a0906"),
    "ridges": 24,
    "ridge_depth": 0.2,
}

PANEL_THEME = {
    "face_top": rgb("#4a4f57"),
    "face_bottom": rgb("#2a2d33"),
    "grain": 0.018,
    "grain_streak": 25,
    "frame_light": rgb("#c6cfdb"),
    "frame_dark": rgb("#08090b"),
    "screw": rgb("#70767f"),
    "recess": rgb("#16181c"),
    "recess_opacity": 0.6,
}

STEEL = rgb("#dfe5ec")
PALE = rgb("#9eabba")
SIGNAL = rgb("#d9432e")
SHADOW = rgb("#030304")

LED_SURROUND = rgb("#0b0c0d")
LED_LIT = (rgb("#d8ffc8"), rgb("#43e04a"), rgb("#128a24"))
LED_UNLIT = (rgb("#8a8e8c"), rgb("#4c504e"), rgb("#2c2f2e"))
# Each LED's threshold is a linear reduction of 0.9 down to 0.1; these are the
# gains it stands for in decibels, 20 log10(1 - threshold), rounded for print.
LED_SCALE = [(0, "20"), (2, "10"), (4, "6"), (6, "3"), (8, "1")]


def _title(face, left, right, title, colour):
    title_face = canvas.font("DejaVuSans-Bold", 8)
    middle = (left + right) / 2.0
    half = canvas.text_width(title, title_face, 1.6) / 2.0
    for x0, x1 in ((left + 8, middle - half - 5), (middle + half + 5, right - 8)):
        face.fill(face.segment(x0, 14.5, x1, 14.5, 0.5), colour, 0.5)
    face.engraved_text((middle, 18), title, title_face, colour, SHADOW, tracking=1.6)


def _knob_section(face):
    left, right = 14, 148
    panel.recess(face, left, 6, right, 77, PANEL_THEME)
    _title(face, left, right, "LIMITER", PALE)
    name_face = canvas.font("DejaVuSansCondensed-Bold", 8)
    range_face = canvas.font("DejaVuSansCondensed", 7)
    for x, name, span in KNOBS:
        panel.knob_scale(face, x, KNOB_Y, PALE, opacity=0.7)
        panel.knob_well(face, x, KNOB_Y, KNOB_THEME, PANEL_THEME)
        middle = x + knob.CENTRE
        face.engraved_text((middle, 65), name, name_face, STEEL, SHADOW, tracking=0.5)
        face.engraved_text((middle, 74), span, range_face, PALE, SHADOW)


def _meter_section(face):
    left, right = 152, 232
    panel.recess(face, left, 6, right, 77, PANEL_THEME)
    _title(face, left, right, "METER", PALE)
    bar_right = LED_LEFT + LED_SIZE * LED_COUNT
    bezel = face.round_rect(LED_LEFT - 2, LED_TOP - 2, bar_right + 2, LED_TOP + LED_SIZE + 2, 1.5)
    face.fill(bezel - 1.0, PANEL_THEME["frame_light"], 0.25)
    face.fill(bezel, LED_SURROUND)
    scale_face = canvas.font("DejaVuSansCondensed", 7)
    for index, label in LED_SCALE:
        middle = LED_LEFT + LED_SIZE * index + LED_SIZE / 2.0
        face.text((middle, 35), "\u2212" + label, scale_face, PALE)
    caption_face = canvas.font("DejaVuSansCondensed-Bold", 8)
    middle = (left + right) / 2.0
    face.engraved_text((middle, 65), "GAIN REDUCTION", caption_face, STEEL, SHADOW, tracking=0.3)
    face.engraved_text((middle, 74), "dB", canvas.font("DejaVuSansCondensed", 7), PALE, SHADOW)


def _shield(face, cx, top, height, colour):
    """The maker's shield: flat top, sides curving to a point."""
    half = height * 0.42
    y = face.y - top
    t = np.clip(y / height, 0.0, 1.0)
    edge = half * np.sqrt(np.clip(1.0 - t ** 2.2, 0.0, 1.0))
    inside_x = np.abs(face.x - cx) - edge
    distance = np.maximum(inside_x, np.maximum(-y, y - height))
    face.fill(distance, colour)
    return distance


def _branding(face):
    # A shield with the ceiling the limiter holds and the peaks it turns back.
    _shield(face, 255, 20, 40, PANEL_THEME["frame_dark"])
    _shield(face, 255, 22, 36, SIGNAL)
    face.fill(face.segment(246, 32, 264, 32, 1.0), STEEL, 0.9)
    face.fill(face.segment(247, 46, 255, 38, 1.0), STEEL, 0.9)
    face.fill(face.segment(255, 38, 263, 46, 1.0), STEEL, 0.9)
    name_face = canvas.font("DejaVuSans-Bold", 16)
    face.engraved_text((273, 38), "Stern Warden", name_face, STEEL, SHADOW, anchor="ls")
    maker_face = canvas.font("DejaVuSans-Bold", 7)
    face.engraved_text((274, 50), "VELMORA TONAL WORKS", maker_face, PALE, SHADOW,
                       anchor="ls", tracking=1.3)
    face.fill(face.segment(274, 56.5, 396, 56.5, 0.5), PALE, 0.35)
    tagline_face = canvas.font("DejaVuSansCondensed", 7)
    face.engraved_text((274, 66), "stereo-linked peak limiter", tagline_face, STEEL, SHADOW,
                       anchor="ls", tracking=0.4)


def background():
    face = panel.face(WIDTH, HEIGHT, PANEL_THEME, seed=0x3A7D)
    _knob_section(face)
    _meter_section(face)
    _branding(face)
    for x, y in ((7, 7), (7, HEIGHT - 7), (WIDTH - 7, 7), (WIDTH - 7, HEIGHT - 7)):
        panel.screw(face, x, y, PANEL_THEME, slot_angle=math.radians(25 + 50 * y / HEIGHT))
    return face.to_bytes()


def knob_strip():
    return knob.render(KNOB_THEME)


def _led_frame(colours):
    centre, body, rim = colours
    frame = canvas.Canvas(LED_SIZE, LED_SIZE, LED_SURROUND)
    lens = frame.round_rect(1, 1, LED_SIZE - 1, LED_SIZE - 1, 1.6)
    glow = np.clip(1.0 - np.hypot(frame.x - 4.0, frame.y - 3.6) / 3.4, 0.0, 1.0)
    colour = canvas.mix(rim, body, np.clip(glow * 2.0, 0.0, 1.0)[..., None])
    colour = canvas.mix(colour, centre, (glow ** 2)[..., None])
    frame.paint(canvas.coverage(lens), colour)
    return frame.to_bytes()


def led():
    """The LED's two 8 x 8 frames: lit green on top, unlit grey below."""
    return np.concatenate([_led_frame(LED_LIT), _led_frame(LED_UNLIT)], axis=0)
