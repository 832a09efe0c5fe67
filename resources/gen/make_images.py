#!/usr/bin/env python3
"""Draws the skin of the resource library into a folder: window backgrounds,
hover-button faces, the panel frame, pictures of the junk cleaner's option
area, icons, cursors and the scan animation.

    make_images.py OUTDIR     write every file
    make_images.py --list     print the file names, one a line
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from raster import (Canvas, bmp24_bytes, ico_bytes, avi_bytes, sd_circle, sd_rrect, sd_ring,
                    sd_polyline, sd_union, vgrad, hgrad, mix, bbox_of)
import glyphs as G
from skin_parts import (PALETTE as P, panel_skin_tiles, draw_panel, face_strip, close_face_strip,
                        progress_cell)

WRITERS = {}


def output(name):
    def wrap(fn):
        WRITERS[name] = fn
        return fn
    return wrap


# ---- window backgrounds ---------------------------------------------------------

def heading_band(cv, band_h, title_x=20):
    w = cv.w
    cv.fill_rows(0, 0, w, band_h, vgrad(0, band_h, [(0, P["band_top"]), (1, P["band_bottom"])]))
    # two wide soft swells give the band some depth
    cv.shape(sd_circle(w * 0.30, band_h + 330, 380), (0, 0, w, band_h), (255, 255, 255), 0.07)
    cv.shape(sd_circle(w * 0.85, band_h + 160, 240), (0, 0, w, band_h), (255, 255, 255), 0.06)
    cv.fill_rows(0, band_h, w, band_h + 1, lambda x, y: P["band_line"])
    cv.fill_rows(0, band_h + 1, w, band_h + 4,
                 lambda x, y: mix(P["band_shadow"], P["column_top"], (y - band_h - 1) / 3.0))
    G.draw_text(cv, "LUMBRIX VANTOR 2", title_x + 1, 19, 17, (20, 50, 110), 2.6, 0.35)
    G.draw_text(cv, "LUMBRIX VANTOR 2", title_x, 18, 17, (255, 255, 255), 2.4)
    cv.fill_rows(title_x, 45, title_x + 150, 47, lambda x, y: (150, 190, 240))


def main_background(w, h, band_h, column_w, panel, emblem):
    cv = Canvas(w, h)
    cv.fill_rows(0, band_h, column_w, h,
                 vgrad(band_h, h, [(0, P["column_top"]), (1, P["column_bottom"])]))
    cv.fill_rows(column_w, band_h, column_w + 1, h, lambda x, y: P["column_line"])
    # footer strip under the content area
    cv.fill_rows(column_w + 1, h - 22, w, h - 21, lambda x, y: P["footer_line"])
    cv.fill_rows(column_w + 1, h - 21, w, h, vgrad(h - 21, h, [(0, (250, 252, 255)), (1, P["footer"])]))
    heading_band(cv, band_h)
    if panel:
        draw_panel(cv, *panel)
    cx, cy, r = w - 107, band_h // 2 + 2, min(34, band_h // 2 - 4)
    G.badge(cv, cx, cy, r, P["badge_top"], P["badge_bottom"])
    emblem(cv, G.Box(cx - r * 0.62, cy - r * 0.62, r * 1.24))
    return cv


def emblem_regclean(cv, b):
    G.g_cubes(cv, b, (90, 200, 230), (255, 255, 255), (255, 196, 90))


def emblem_backup(cv, b):
    G.g_safe(cv, b, (255, 255, 255))
    cv.shape(sd_circle(*b.p(0.5, 0.49), b.r(0.12)), b.bbox, P["badge_bottom"])


def emblem_junk(cv, b):
    G.g_broom(cv, b, (255, 236, 200), (255, 255, 255))
    G.g_sparkle(cv, G.Box(*b.p(0.66, 0.5), b.r(0.3)), (255, 230, 120))


# Pixel sizes of the main windows' client areas (Tahoma 8: 1.5 px per
# horizontal and 1.625 px per vertical dialog unit), with room to spare; the
# panels frame the column of command buttons.
def regclean_background():
    return main_background(705, 520, 80, 208, (50, 96, 166, 290), emblem_regclean)


# The English template's command buttons are wider ("Undo Changes" in the
# window's Arial): its panel is too.
def regclean_background_english():
    return main_background(705, 520, 80, 208, (37, 96, 172, 290), emblem_regclean)


def backup_background():
    return main_background(672, 468, 82, 208, (47, 98, 163, 293), emblem_backup)


def junk_background():
    return main_background(769, 533, 82, 172, (27, 101, 134, 237), emblem_junk)


_cache = {}


def cached(name, fn):
    if name not in _cache:
        _cache[name] = fn()
    return _cache[name]


@output("regclean_back.bmp")
def _():
    return bmp24_bytes(cached("rc", regclean_background))


@output("regclean_back_en.bmp")
def _():
    return bmp24_bytes(regclean_background_english())


@output("backup_back.bmp")
def _():
    return bmp24_bytes(cached("bk", backup_background))


@output("junk_back.bmp")
def _():
    return bmp24_bytes(cached("jk", junk_background))


@output("junk_corner.bmp")
def _():
    """Picture at the bottom left of the junk window, drawn on its background."""
    back = cached("jk", junk_background).crop(23, 351, 141, 121)
    b = G.Box(33, 10, 78)
    back.shape(sd_circle(72, 52, 46), (20, 0, 125, 105), (255, 255, 255), 0.55)
    G.g_drive(back, G.Box(34, 32, 64), P["deep"], (110, 210, 120))
    G.g_broom(back, G.Box(60, 6, 52), (200, 150, 90), (235, 190, 90))
    for (x, y, s) in ((28, 18, 12), (104, 30, 9), (96, 78, 11)):
        G.g_sparkle(back, G.Box(x, y, s), (120, 170, 235))
    del b
    return bmp24_bytes(back)


# ---- hover-button faces ------------------------------------------------------------

MAIN_FACES = {
    "face_exit.bmp": G.g_exit, "face_options.bmp": G.g_gear, "face_start.bmp": G.g_play,
    "face_stop.bmp": G.g_stop, "face_undo.bmp": G.g_undo, "face_backup.bmp": G.g_save,
    "face_restore.bmp": G.g_restore, "face_locate.bmp": G.g_magnifier,
}

for _name, _glyph in MAIN_FACES.items():
    WRITERS[_name] = (lambda g: lambda: bmp24_bytes(face_strip(90, 28, g, badge=True)))(_glyph)

OPTION_FACES = {
    "face_drives.bmp": (31, G.g_drive), "face_files.bmp": (36, G.g_document),
    "face_folders.bmp": (36, G.g_folder), "face_other.bmp": (36, G.g_checklist),
    "face_removal.bmp": (36, G.g_trash), "face_defaults.bmp": (40, G.g_reload),
}

for _name, (_h, _glyph) in OPTION_FACES.items():
    WRITERS[_name] = (lambda h, g: lambda: bmp24_bytes(face_strip(75, h, g, badge=False)))(_h, _glyph)


# ---- panel frame, progress cell ------------------------------------------------------

for _name, _cv in panel_skin_tiles().items():
    WRITERS[_name] = (lambda c: lambda: bmp24_bytes(c))(_cv)


@output("progress_cell.bmp")
def _():
    return bmp24_bytes(progress_cell())


# ---- option area of the junk cleaner ----------------------------------------------------

@output("options_tile.bmp")
def _():
    cv = Canvas(14, 15, (253, 254, 255))
    cv.shape(sd_circle(7, 7.5, 1.3), (4, 4, 10, 11), (228, 236, 250))
    return bmp24_bytes(cv)


@output("options_side.bmp")
def _():
    cv = Canvas(150, 150)
    cv.fill_rows(0, 0, 150, 150, vgrad(0, 150, [(0, (240, 246, 254)), (1, (208, 224, 248))]))
    for (x, y, r, o) in ((30, 40, 38, 0.18), (120, 95, 50, 0.14), (60, 135, 30, 0.2)):
        cv.shape(sd_circle(x, y, r), (x - r, y - r, x + r, y + r), (255, 255, 255), o)
    return bmp24_bytes(cv)


@output("intro.bmp")
def _():
    # As wide as the results column, which reaches the window's right margin.
    w, h = 548, 376
    cv = Canvas(w, h)
    cv.fill_rows(0, 0, w, h, vgrad(0, h, [(0, (255, 255, 255)), (0.55, (244, 248, 255)),
                                          (1, (220, 233, 251))]))
    for (x, y, r, o) in ((430, 300, 150, 0.10), (80, 380, 120, 0.08), (480, 60, 70, 0.06)):
        cv.shape(sd_circle(x, y, r), (x - r, y - r, x + r, y + r), P["mid"], o)
    G.g_broom(cv, G.Box(330, 210, 150), (170, 190, 225), (150, 180, 230), 0.55)
    for (x, y, s) in ((300, 230, 26), (455, 200, 18), (470, 330, 22)):
        G.g_sparkle(cv, G.Box(x, y, s), (120, 160, 230), 0.6)
    cv.fill_rows(0, h - 3, w, h, lambda x, y: P["column_line"])
    return bmp24_bytes(cv)


def deletion_band(top):
    w, h = 423, 32
    cv = Canvas(w, h)
    if top:
        cv.fill_rows(0, 0, w, h, vgrad(0, h, [(0, (58, 108, 190)), (1, (36, 80, 156))]))
        cv.fill_rows(0, 0, w, 1, lambda x, y: (120, 160, 225))
        cv.shape(sd_circle(w * 0.7, 140, 150), (0, 0, w, h), (255, 255, 255), 0.08)
        cv.fill_rows(0, h - 1, w, h, lambda x, y: (28, 60, 120))
    else:
        cv.fill_rows(0, 0, w, h, vgrad(0, 27, [(0, (236, 242, 252)), (1, (212, 226, 248))]))
        cv.fill_rows(0, 0, w, 1, lambda x, y: (176, 198, 232))
        cv.fill_rows(0, 25, w, 27, lambda x, y: (90, 126, 189))
    # the dialog's two-pixel frame runs on through the bands on the left; the
    # client area is a few pixels wider than the bands, so the right-hand
    # frame stays the dialog's own
    for x in (0, 1):
        cv.fill_rows(x, 0, x + 1, h, lambda x, y: (90, 126, 189))
    return cv


@output("delete_band_top.bmp")
def _():
    return bmp24_bytes(deletion_band(True))


@output("delete_band_bottom.bmp")
def _():
    return bmp24_bytes(deletion_band(False))


@output("delete_close.bmp")
def _():
    # the close box sits at (client width - 21, 5); the client is 427 pixels wide
    return bmp24_bytes(close_face_strip(deletion_band(True).crop(427 - 21, 5, 14, 14)))


def page_icon(w, h, draw):
    cv = Canvas(w, h)
    draw(cv, G.Box((w - min(w, h)) / 2.0, (h - min(w, h)) / 2.0, min(w, h)))
    return bmp24_bytes(cv)


@output("remove_delete.bmp")
def _():
    def draw(cv, b):
        G.g_document(cv, b, (120, 140, 175))
        G.disc(cv, b, 0.72, 0.74, 0.25, (210, 70, 60))
        G.g_cross(cv, G.Box(*b.p(0.47, 0.49), b.r(0.5)), (255, 255, 255), 0.16)
    return page_icon(21, 24, draw)


@output("remove_recycle.bmp")
def _():
    def draw(cv, b):
        G.g_trash(cv, b, (60, 150, 95))
    return page_icon(21, 20, draw)


@output("remove_move.bmp")
def _():
    def draw(cv, b):
        G.g_folder(cv, b, (236, 186, 70))
        G.stroke(cv, b, [(0.38, 0.6), (0.8, 0.6)], 0.12, P["deep"])
        G.poly(cv, b, [(0.68, 0.42), (0.96, 0.6), (0.68, 0.78)], P["deep"])
    return page_icon(21, 20, draw)


# ---- icons and cursors ------------------------------------------------------------------

def icon_images(draw):
    images = []
    for s in (32, 16):
        cv = Canvas(s, s, (255, 255, 255), 0.0)
        draw(cv, G.Box(0, 0, s), s)
        images.append(cv)
    return ico_bytes(images)


def _round_tile(cv, b, s, top, bottom):
    inset = 1.0 if s > 16 else 0.5
    cv.shape(sd_rrect(inset, inset, s - inset, s - inset, s * 0.22), (0, 0, s, s),
             vgrad(0, s, [(0, top), (1, bottom)]))
    cv.shape(sd_ring(sd_rrect(inset, inset, s - inset, s - inset, s * 0.22), 1.0), (0, 0, s, s),
             (20, 50, 110), 0.45)


@output("program.ico")
def _():
    def draw(cv, b, s):
        _round_tile(cv, b, s, P["badge_top"], P["badge_bottom"])
        G.stroke(cv, b, [(0.24, 0.26), (0.5, 0.76), (0.76, 0.26)], 0.15 if s > 16 else 0.17,
                 (255, 255, 255))
    return icon_images(draw)


@output("regclean.ico")
def _():
    def draw(cv, b, s):
        G.g_cubes(cv, b, (60, 160, 220), (40, 90, 180), (245, 170, 60))
        if s > 16:
            G.g_magnifier(cv, G.Box(s * 0.5, s * 0.44, s * 0.5), (40, 50, 80), lens=(220, 240, 255))
    return icon_images(draw)


@output("junkclean.ico")
def _():
    def draw(cv, b, s):
        G.g_broom(cv, b, (170, 110, 60), (240, 190, 70))
        if s > 16:
            G.g_sparkle(cv, G.Box(s * 0.05, s * 0.08, s * 0.3), (90, 150, 230))
    return icon_images(draw)


@output("regbackup.ico")
def _():
    def draw(cv, b, s):
        G.g_safe(cv, b, (50, 100, 185))
        cv.shape(sd_circle(*b.p(0.5, 0.49), b.r(0.1)), b.bbox, (245, 190, 70))
    return icon_images(draw)


@output("bootdisk.ico")
def _():
    def draw(cv, b, s):
        G.g_floppy(cv, b, (50, 90, 170))
    return icon_images(draw)


def cursor_bytes(shape, hotspot):
    cv = Canvas(32, 32, (255, 255, 255), 0.0)
    cv.shape(lambda x, y: shape(x, y) - 1.2, (0, 0, 32, 32), (0, 0, 0))
    cv.shape(shape, (0, 0, 32, 32), (255, 255, 255))
    return ico_bytes([cv], hotspots=[hotspot])


@output("hand.cur")
def _():
    parts = [sd_polyline([(11, 3.5), (11, 16)], 4.6),
             sd_polyline([(15.2, 12), (15.2, 17)], 4.2),
             sd_polyline([(19.0, 13), (19.0, 18)], 4.2),
             sd_polyline([(22.6, 14.5), (22.6, 19)], 4.0),
             sd_rrect(8.8, 14, 24.7, 28, 4.5),
             sd_polyline([(5.5, 17.5), (9.5, 23.5)], 4.2)]
    return cursor_bytes(sd_union(*parts), (10, 2))


@output("move.cur")
def _():
    arms = [sd_polyline([(16, 6), (16, 26)], 2.2), sd_polyline([(6, 16), (26, 16)], 2.2)]
    heads = [[(16, 2), (20.5, 7.5), (11.5, 7.5)], [(16, 30), (20.5, 24.5), (11.5, 24.5)],
             [(2, 16), (7.5, 11.5), (7.5, 20.5)], [(30, 16), (24.5, 11.5), (24.5, 20.5)]]
    from raster import sd_polygon
    return cursor_bytes(sd_union(*(arms + [sd_polygon(hd) for hd in heads])), (16, 16))


# ---- animation: a magnifier sweeping over a page ------------------------------------------

@output("scan.avi")
def _():
    import math
    frames = []
    count = 12
    for k in range(count):
        cv = Canvas(64, 48, (255, 255, 255))
        cv.shape(sd_rrect(14, 4, 50, 44, 2), (12, 2, 52, 46), (250, 252, 255))
        cv.shape(sd_ring(sd_rrect(14, 4, 50, 44, 2), 1.0), (12, 2, 52, 46), (150, 170, 205))
        for i, y in enumerate(range(11, 40, 5)):
            cv.fill_rows(19, y, 45 - (i % 3) * 5, y + 2, lambda x, yy: (180, 195, 220))
        t = k / float(count)
        x = 32 + 13 * math.sin(2 * math.pi * t)
        y = 22 + 8 * math.sin(4 * math.pi * t)
        cv.shape(sd_circle(x, y, 8), (x - 9, y - 9, x + 9, y + 9), (205, 225, 252), 0.7)
        cv.shape(sd_ring(sd_circle(x, y, 8), 2.4), (x - 11, y - 11, x + 11, y + 11), (50, 90, 170))
        handle = [(x + 6, y + 6), (x + 12, y + 12)]
        cv.shape(sd_polyline(handle, 3.6), bbox_of(handle, 3), (70, 60, 50))
        frames.append(cv)
    return avi_bytes(frames, 100000)


def main(argv):
    if len(argv) == 2 and argv[1] == "--list":
        print("\n".join(sorted(WRITERS)))
        return 0
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    for name in sorted(WRITERS):
        data = WRITERS[name]()
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
