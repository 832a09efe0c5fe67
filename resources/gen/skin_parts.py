"""Shared pieces of the skin: the palette, the framed white panel (whole and
as the eight tiles the panel painter puts together), hover-button faces and
the progress cell."""

from raster import Canvas, sd_circle, sd_rrect, sd_ring, vgrad
import glyphs as G

PALETTE = {
    "band_top": (40, 86, 166), "band_bottom": (86, 140, 216), "band_line": (196, 216, 246),
    "band_shadow": (176, 196, 228),
    "column_top": (236, 243, 253), "column_bottom": (214, 228, 249), "column_line": (196, 212, 238),
    "footer": (232, 239, 250), "footer_line": (222, 231, 245),
    "badge_top": (98, 160, 236), "badge_bottom": (34, 84, 170),
    "deep": (38, 82, 160), "mid": (86, 140, 216),
    "panel_border": (150, 178, 222), "panel_shadow": (40, 70, 130),
}


def draw_panel(cv, x0, y0, x1, y1):
    """White panel with a one-pixel blue border and a two-pixel soft shadow on
    the right and at the bottom; (x1, y1) is exclusive and includes the shadow."""
    bx1, by1 = x1 - 2, y1 - 2
    box = (x0 - 1, y0 - 1, x1 + 1, y1 + 1)
    cv.shape(sd_rrect(x0 + 1, y0 + 2, x1, y1, 4), box, PALETTE["panel_shadow"], 0.13)
    cv.shape(sd_rrect(x0 + 1, y0 + 2, x1 - 1, y1 - 1, 4), box, PALETTE["panel_shadow"], 0.16)
    cv.shape(sd_rrect(x0, y0, bx1, by1, 3), box, PALETTE["panel_border"])
    cv.shape(sd_rrect(x0 + 1, y0 + 1, bx1 - 1, by1 - 1, 2), box, (255, 255, 255))


def panel_skin_tiles():
    """The eight frame bitmaps, cut from one panel drawn on the column colour."""
    cv = Canvas(40, 40, (228, 238, 252))
    draw_panel(cv, 0, 0, 40, 40)
    cuts = {
        "panel_bottom.bmp": (15, 37, 3, 3),     # 251
        "panel_corner_bl.bmp": (0, 34, 5, 6),   # 252
        "panel_corner_br.bmp": (35, 35, 5, 5),  # 253
        "panel_corner_tl.bmp": (0, 0, 5, 5),    # 254
        "panel_corner_tr.bmp": (33, 0, 7, 7),   # 255
        "panel_left.bmp": (0, 15, 1, 2),        # 256
        "panel_right.bmp": (37, 15, 3, 3),      # 257
        "panel_top.bmp": (15, 0, 5, 1),         # 259
    }
    return {name: cv.crop(*rect) for name, rect in cuts.items()}


def face_strip(w, h, glyph, badge):
    """Normal and hover looks of a hover button side by side (2w x h)."""
    cv = Canvas(2 * w, h)
    for look in (0, 1):
        ox = look * w
        body = sd_rrect(ox + 0.5, 0.5, ox + w - 0.5, h - 0.5, 5)
        box = (ox, 0, ox + w, h)
        if look == 0:
            fill = vgrad(0, h, [(0, (255, 255, 255)), (0.5, (240, 246, 254)), (1, (214, 228, 249))])
            border = (140, 170, 215)
        else:
            fill = vgrad(0, h, [(0, (248, 252, 255)), (0.45, (216, 233, 255)), (1, (172, 203, 246))])
            border = (58, 108, 190)
        cv.shape(body, box, fill)
        cv.shape(sd_ring(body, 1.0), box, border)
        cv.fill_rows(ox + 5, 2, ox + w - 5, 3, lambda x, y: (255, 255, 255))
        if badge:
            cx, cy, r = ox + 13.5, h / 2.0, 8.5
            top, bottom = ((98, 156, 230), (40, 94, 182)) if look == 0 else ((80, 150, 245), (26, 84, 196))
            cv.shape(sd_circle(cx, cy, r), (cx - r, cy - r, cx + r, cy + r),
                     vgrad(cy - r, cy + r, [(0, top), (1, bottom)]))
            glyph(cv, G.Box(cx - 6, cy - 6, 12), (255, 255, 255))
        else:
            s = h - 8
            glyph(cv, G.Box(ox + w - s - 3, 4, s), PALETTE["deep"], op=0.16 if look == 0 else 0.3)
    return cv


def close_face_strip(base):
    """Close box of the deletion dialog: normal and hover look (28 x 14)."""
    cv = Canvas(28, 14)
    for look in (0, 1):
        ox = look * 14
        cv.paste(base, ox, 0)
        body = sd_rrect(ox + 0.5, 0.5, ox + 13.5, 13.5, 2.5)
        if look == 0:
            cv.shape(body, (ox, 0, ox + 14, 14), (255, 255, 255), 0.16)
            cv.shape(sd_ring(body, 1.0), (ox, 0, ox + 14, 14), (255, 255, 255), 0.55)
        else:
            cv.shape(body, (ox, 0, ox + 14, 14), vgrad(0, 14, [(0, (236, 110, 96)), (1, (196, 62, 52))]))
            cv.shape(sd_ring(body, 1.0), (ox, 0, ox + 14, 14), (255, 255, 255), 0.7)
        G.g_cross(cv, G.Box(ox + 1, 1, 12), (255, 255, 255), 0.16)
    return cv


def progress_cell():
    cv = Canvas(9, 11)
    cv.fill_rows(0, 0, 8, 11, vgrad(0, 10, [(0, (176, 210, 252)), (0.45, (84, 142, 222)),
                                            (1, (42, 92, 182))]))
    cv.fill_rows(8, 0, 9, 11, lambda x, y: (238, 244, 253))
    return cv
