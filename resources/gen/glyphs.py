"""Pictograms of the skin (drawn in a square box of side s at x0, y0) and a
small stroke font for the product name in the window headings."""

import math

from raster import (sd_circle, sd_rrect, sd_polyline, sd_polygon, sd_ring, sd_union,
                    sd_subtract, bbox_of, vgrad)


class Box:
    """Maps unit coordinates (0..1) of a glyph to pixels."""

    def __init__(self, x0, y0, s):
        self.x0, self.y0, self.s = x0, y0, s

    def p(self, u, v):
        return (self.x0 + u * self.s, self.y0 + v * self.s)

    def pts(self, uv):
        return [self.p(u, v) for u, v in uv]

    def r(self, k):
        return k * self.s

    @property
    def bbox(self):
        return (self.x0, self.y0, self.x0 + self.s, self.y0 + self.s)


def arc(cx, cy, r, a0, a1, n=18):
    """Points of an arc in unit coordinates, angles in degrees (y down)."""
    return [(cx + r * math.cos(math.radians(a0 + (a1 - a0) * i / n)),
             cy + r * math.sin(math.radians(a0 + (a1 - a0) * i / n))) for i in range(n + 1)]


def stroke(cv, b, uv, width, color, opacity=1.0):
    pts = [b.pts(s) for s in uv] if isinstance(uv[0][0], (list, tuple)) else b.pts(uv)
    cv.shape(sd_polyline(pts, b.r(width)), bbox_of(pts, b.r(width)), color, opacity)


def poly(cv, b, uv, color, opacity=1.0):
    pts = b.pts(uv)
    cv.shape(sd_polygon(pts), bbox_of(pts, 1), color, opacity)


def disc(cv, b, u, v, r, color, opacity=1.0):
    cx, cy = b.p(u, v)
    rr = b.r(r)
    cv.shape(sd_circle(cx, cy, rr), (cx - rr, cy - rr, cx + rr, cy + rr), color, opacity)


def rrect(cv, b, u0, v0, u1, v1, rad, color, opacity=1.0):
    x0, y0 = b.p(u0, v0)
    x1, y1 = b.p(u1, v1)
    cv.shape(sd_rrect(x0, y0, x1, y1, b.r(rad)), (x0, y0, x1, y1), color, opacity)


def rrect_outline(cv, b, u0, v0, u1, v1, rad, width, color, opacity=1.0):
    x0, y0 = b.p(u0, v0)
    x1, y1 = b.p(u1, v1)
    w = b.r(width)
    cv.shape(sd_ring(sd_rrect(x0, y0, x1, y1, b.r(rad)), w), (x0 - w, y0 - w, x1 + w, y1 + w),
             color, opacity)


# ---- pictograms -----------------------------------------------------------

def g_play(cv, b, c, op=1.0):
    poly(cv, b, [(0.3, 0.18), (0.84, 0.5), (0.3, 0.82)], c, op)


def g_stop(cv, b, c, op=1.0):
    rrect(cv, b, 0.24, 0.24, 0.76, 0.76, 0.08, c, op)


def g_gear(cv, b, c, op=1.0):
    cx, cy = b.p(0.5, 0.5)
    teeth = []
    for k in range(8):
        a = math.radians(k * 45)
        teeth.append(sd_polyline([(cx + math.cos(a) * b.r(0.18), cy + math.sin(a) * b.r(0.18)),
                                  (cx + math.cos(a) * b.r(0.40), cy + math.sin(a) * b.r(0.40))],
                                 b.r(0.15)))
    body = sd_union(sd_circle(cx, cy, b.r(0.31)), *teeth)
    cv.shape(sd_subtract(body, sd_circle(cx, cy, b.r(0.13))), b.bbox, c, op)


def g_exit(cv, b, c, op=1.0):
    stroke(cv, b, [(0.52, 0.2), (0.2, 0.2), (0.2, 0.8), (0.52, 0.8)], 0.1, c, op)
    stroke(cv, b, [(0.38, 0.5), (0.84, 0.5)], 0.11, c, op)
    stroke(cv, b, [(0.68, 0.33), (0.86, 0.5), (0.68, 0.67)], 0.11, c, op)


def g_undo(cv, b, c, op=1.0):
    stroke(cv, b, arc(0.52, 0.56, 0.27, 200, 470), 0.11, c, op)
    poly(cv, b, [(0.08, 0.38), (0.40, 0.40), (0.20, 0.66)], c, op)


def g_save(cv, b, c, op=1.0):
    stroke(cv, b, [(0.5, 0.12), (0.5, 0.56)], 0.12, c, op)
    poly(cv, b, [(0.28, 0.44), (0.72, 0.44), (0.5, 0.68)], c, op)
    stroke(cv, b, [(0.16, 0.62), (0.16, 0.84), (0.84, 0.84), (0.84, 0.62)], 0.1, c, op)


def g_restore(cv, b, c, op=1.0):
    stroke(cv, b, [(0.5, 0.32), (0.5, 0.74)], 0.12, c, op)
    poly(cv, b, [(0.28, 0.40), (0.72, 0.40), (0.5, 0.14)], c, op)
    stroke(cv, b, [(0.16, 0.62), (0.16, 0.84), (0.84, 0.84), (0.84, 0.62)], 0.1, c, op)


def g_magnifier(cv, b, c, op=1.0, lens=None):
    if lens:
        disc(cv, b, 0.42, 0.42, 0.24, lens, op)
    cx, cy = b.p(0.42, 0.42)
    cv.shape(sd_ring(sd_circle(cx, cy, b.r(0.24)), b.r(0.09)), b.bbox, c, op)
    stroke(cv, b, [(0.6, 0.6), (0.84, 0.84)], 0.15, c, op)


def g_drive(cv, b, c, light=(120, 220, 120), op=1.0):
    rrect(cv, b, 0.12, 0.3, 0.88, 0.72, 0.08, c, op)
    disc(cv, b, 0.74, 0.51, 0.06, light, op)
    stroke(cv, b, [(0.22, 0.51), (0.55, 0.51)], 0.06, (255, 255, 255), op * 0.8)


def g_document(cv, b, c, op=1.0):
    poly(cv, b, [(0.22, 0.1), (0.62, 0.1), (0.8, 0.28), (0.8, 0.9), (0.22, 0.9)], c, op)
    for v in (0.42, 0.56, 0.7):
        stroke(cv, b, [(0.33, v), (0.69, v)], 0.05, (255, 255, 255), op)


def g_folder(cv, b, c, op=1.0):
    poly(cv, b, [(0.1, 0.24), (0.4, 0.24), (0.48, 0.33), (0.9, 0.33), (0.9, 0.8), (0.1, 0.8)], c, op)
    rrect(cv, b, 0.1, 0.4, 0.9, 0.8, 0.03, (255, 255, 255), op * 0.25)


def g_checklist(cv, b, c, op=1.0):
    for v in (0.25, 0.5, 0.75):
        stroke(cv, b, [(0.14, v), (0.22, v + 0.07), (0.34, v - 0.08)], 0.07, c, op)
        stroke(cv, b, [(0.45, v), (0.86, v)], 0.08, c, op)


def g_trash(cv, b, c, op=1.0):
    stroke(cv, b, [(0.16, 0.24), (0.84, 0.24)], 0.08, c, op)
    stroke(cv, b, [(0.4, 0.2), (0.4, 0.13), (0.6, 0.13), (0.6, 0.2)], 0.06, c, op)
    poly(cv, b, [(0.24, 0.3), (0.76, 0.3), (0.7, 0.88), (0.3, 0.88)], c, op)
    for u in (0.4, 0.5, 0.6):
        stroke(cv, b, [(u, 0.4), (u, 0.78)], 0.04, (255, 255, 255), op * 0.8)


def g_reload(cv, b, c, op=1.0):
    stroke(cv, b, arc(0.5, 0.5, 0.3, -60, 230), 0.11, c, op)
    poly(cv, b, [(0.56, 0.06), (0.82, 0.28), (0.52, 0.36)], c, op)


def g_cross(cv, b, c, w=0.14, op=1.0):
    stroke(cv, b, [[(0.26, 0.26), (0.74, 0.74)], [(0.74, 0.26), (0.26, 0.74)]], w, c, op)


def g_cubes(cv, b, c1, c2, c3, op=1.0):
    """Three registry blocks stacked like bricks."""
    for (u, v, col) in ((0.1, 0.5, c1), (0.5, 0.5, c2), (0.3, 0.12, c3)):
        rrect(cv, b, u + 0.02, v + 0.02, u + 0.38, v + 0.36, 0.05, col, op)
        rrect(cv, b, u + 0.06, v + 0.05, u + 0.34, v + 0.14, 0.03, (255, 255, 255), op * 0.35)


def g_broom(cv, b, handle, bristle, op=1.0):
    stroke(cv, b, [(0.82, 0.08), (0.5, 0.52)], 0.09, handle, op)
    poly(cv, b, [(0.42, 0.46), (0.58, 0.58), (0.42, 0.92), (0.1, 0.72)], bristle, op)
    for k in range(4):
        t = 0.2 + 0.18 * k
        stroke(cv, b, [(0.5 - 0.1 * t, 0.52 + 0.1 * t), (0.26 - 0.2 * t + 0.1, 0.8 + 0.05 * t)],
               0.03, (255, 255, 255), op * 0.5)


def g_sparkle(cv, b, c, op=1.0):
    poly(cv, b, [(0.5, 0.0), (0.6, 0.4), (1.0, 0.5), (0.6, 0.6), (0.5, 1.0), (0.4, 0.6),
                 (0.0, 0.5), (0.4, 0.4)], c, op)


def g_floppy(cv, b, body, op=1.0):
    poly(cv, b, [(0.12, 0.1), (0.78, 0.1), (0.9, 0.22), (0.9, 0.9), (0.12, 0.9)], body, op)
    rrect(cv, b, 0.28, 0.1, 0.7, 0.36, 0.02, (235, 240, 248), op)
    rrect(cv, b, 0.56, 0.14, 0.64, 0.32, 0.01, body, op)
    rrect(cv, b, 0.24, 0.52, 0.78, 0.9, 0.03, (250, 250, 252), op)
    for v in (0.64, 0.76):
        stroke(cv, b, [(0.32, v), (0.7, v)], 0.04, (170, 180, 200), op)


def g_safe(cv, b, body, op=1.0):
    """A vault door: registry backup."""
    rrect(cv, b, 0.1, 0.12, 0.9, 0.86, 0.1, body, op)
    cx, cy = b.p(0.5, 0.49)
    cv.shape(sd_ring(sd_circle(cx, cy, b.r(0.2)), b.r(0.07)), b.bbox, (255, 255, 255), op)
    for a in (0, 90, 180, 270):
        u = 0.5 + 0.2 * math.cos(math.radians(a + 45))
        v = 0.49 + 0.2 * math.sin(math.radians(a + 45))
        stroke(cv, b, [(0.5, 0.49), (u, v)], 0.05, (255, 255, 255), op)
    stroke(cv, b, [[(0.22, 0.86), (0.22, 0.92)], [(0.78, 0.86), (0.78, 0.92)]], 0.08, body, op)


# ---- stroke font (capitals, digits) ------------------------------------------
# Each glyph: (advance, strokes) on a grid 4 wide and 6 high.

def _o_pts():
    return [(2 + 2 * math.cos(math.radians(a)), 3 + 3 * math.sin(math.radians(a)))
            for a in range(0, 361, 20)]


FONT = {
    "L": (4.2, [[(0, 0), (0, 6), (3.6, 6)]]),
    "U": (5.0, [[(0, 0), (0, 4.3), (0.4, 5.4), (1.2, 5.9), (2.0, 6), (2.8, 5.9), (3.6, 5.4),
                 (4, 4.3), (4, 0)]]),
    "M": (5.8, [[(0, 6), (0, 0), (2.4, 4.2), (4.8, 0), (4.8, 6)]]),
    "B": (5.0, [[(0, 6), (0, 0), (2.6, 0), (3.5, 0.4), (3.8, 1.5), (3.4, 2.6), (2.4, 2.95), (0, 2.95)],
                [(2.4, 2.95), (3.6, 3.4), (4.0, 4.5), (3.6, 5.6), (2.6, 6), (0, 6)]]),
    "R": (5.0, [[(0, 6), (0, 0), (2.6, 0), (3.5, 0.4), (3.8, 1.5), (3.4, 2.6), (2.4, 3.0), (0, 3.0)],
                [(2.2, 3.0), (4.0, 6)]]),
    "I": (1.8, [[(0, 0), (0, 6)]]),
    "X": (4.8, [[(0, 0), (4, 6)], [(4, 0), (0, 6)]]),
    "V": (5.0, [[(0, 0), (2.1, 6), (4.2, 0)]]),
    "A": (5.0, [[(0, 6), (2.1, 0), (4.2, 6)], [(0.8, 4.0), (3.4, 4.0)]]),
    "N": (5.0, [[(0, 6), (0, 0), (4, 6), (4, 0)]]),
    "T": (4.6, [[(0, 0), (4.2, 0)], [(2.1, 0), (2.1, 6)]]),
    "O": (5.2, [_o_pts()]),
    "2": (4.6, [[(0.2, 1.3), (0.8, 0.3), (2, 0), (3.2, 0.3), (3.8, 1.3), (3.5, 2.5), (0, 6), (4, 6)]]),
    " ": (2.6, []),
}


def text_width(text, height, spacing=1.1):
    k = height / 6.0
    return sum((FONT[ch][0] + spacing) * k for ch in text) - spacing * k


def draw_text(cv, text, x, y, height, color, weight=None, opacity=1.0):
    """Draw capitals with their top-left corner at (x, y), letters height px high."""
    k = height / 6.0
    width = weight if weight else max(1.2, height / 8.0)
    pen = x
    for ch in text:
        adv, strokes = FONT[ch]
        if strokes:
            pts = [[(pen + u * k, y + v * k) for (u, v) in s] for s in strokes]
            cv.shape(sd_polyline(pts, width), bbox_of(pts, width), color, opacity)
        pen += (adv + 1.1) * k
    return pen


def badge(cv, cx, cy, r, top, bottom, ring=(255, 255, 255)):
    """A round glossy badge that carries a tool's pictogram."""
    cv.shape(sd_circle(cx + 1.5, cy + 2.5, r), (cx - r, cy - r, cx + r + 4, cy + r + 5),
             (20, 40, 90), 0.25)
    cv.shape(sd_circle(cx, cy, r), (cx - r, cy - r, cx + r, cy + r),
             vgrad(cy - r, cy + r, [(0, top), (1, bottom)]))
    cv.shape(sd_ring(sd_circle(cx, cy, r - 1.5), 2.0), (cx - r, cy - r, cx + r, cy + r), ring, 0.85)
    # soft highlight on the upper half
    cv.shape(sd_circle(cx, cy - r * 0.45, r * 0.62),
             (cx - r, cy - r, cx + r, cy + r * 0.2), (255, 255, 255), 0.16)
