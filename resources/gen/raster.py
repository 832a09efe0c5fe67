"""A tiny RGB(A) canvas with anti-aliased shapes and writers for the Windows
image formats the resource library carries (BMP, ICO, CUR, AVI).

Shapes are drawn from signed distance functions: the distance from a pixel
centre to the shape's edge gives its coverage, which smooths every edge
without supersampling. Standard library only."""

import math
import struct


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(c0, c1, t):
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


class Canvas:
    """RGB floats 0..255 with a separate alpha plane (0..1) for icons."""

    def __init__(self, w, h, color=(255, 255, 255), alpha=1.0):
        self.w, self.h = w, h
        n = w * h
        self.r = [float(color[0])] * n
        self.g = [float(color[1])] * n
        self.b = [float(color[2])] * n
        self.a = [float(alpha)] * n

    # ---- pixel access -------------------------------------------------
    def get(self, x, y):
        i = y * self.w + x
        return (self.r[i], self.g[i], self.b[i])

    def blend(self, x, y, color, cov):
        if cov <= 0.0 or x < 0 or y < 0 or x >= self.w or y >= self.h:
            return
        i = y * self.w + x
        if cov >= 1.0:
            self.r[i], self.g[i], self.b[i] = color[0], color[1], color[2]
            self.a[i] = 1.0
            return
        # "over" compositing, so shapes on a transparent icon keep soft edges
        a0 = self.a[i]
        a1 = cov + a0 * (1.0 - cov)
        if a1 <= 0.0:
            return
        k0 = a0 * (1.0 - cov) / a1
        k1 = cov / a1
        self.r[i] = self.r[i] * k0 + color[0] * k1
        self.g[i] = self.g[i] * k0 + color[1] * k1
        self.b[i] = self.b[i] * k0 + color[2] * k1
        self.a[i] = a1

    # ---- fills --------------------------------------------------------
    def fill(self, x0, y0, x1, y1, paint):
        """Fill a pixel rectangle; paint is a colour or a function (x, y)."""
        x0, y0 = max(0, int(x0)), max(0, int(y0))
        x1, y1 = min(self.w, int(x1)), min(self.h, int(y1))
        fn = paint if callable(paint) else None
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.blend(x, y, fn(x, y) if fn else paint, 1.0)

    def fill_rows(self, x0, y0, x1, y1, color_of_y):  # color_of_y(x, y), x fixed
        """Opaque fill where the colour changes only from row to row (fast)."""
        x0, y0 = max(0, int(x0)), max(0, int(y0))
        x1, y1 = min(self.w, int(x1)), min(self.h, int(y1))
        n = x1 - x0
        if n <= 0:
            return
        for y in range(y0, y1):
            c = color_of_y(x0, y)
            i = y * self.w + x0
            self.r[i:i + n] = [float(c[0])] * n
            self.g[i:i + n] = [float(c[1])] * n
            self.b[i:i + n] = [float(c[2])] * n
            self.a[i:i + n] = [1.0] * n

    def shape(self, sdf, bbox, paint, opacity=1.0):
        """Cover every pixel inside sdf (negative distance) with paint."""
        x0, y0, x1, y1 = bbox
        x0, y0 = max(0, int(math.floor(x0)) - 1), max(0, int(math.floor(y0)) - 1)
        x1, y1 = min(self.w, int(math.ceil(x1)) + 1), min(self.h, int(math.ceil(y1)) + 1)
        fn = paint if callable(paint) else None
        for y in range(y0, y1):
            py = y + 0.5
            for x in range(x0, x1):
                d = sdf(x + 0.5, py)
                if d >= 0.5:
                    continue
                cov = clamp(0.5 - d) * opacity
                self.blend(x, y, fn(x, y) if fn else paint, cov)

    def paste(self, other, dx, dy):
        for y in range(other.h):
            for x in range(other.w):
                i = y * other.w + x
                self.blend(dx + x, dy + y, (other.r[i], other.g[i], other.b[i]), other.a[i])

    def crop(self, x0, y0, w, h):
        out = Canvas(w, h)
        for y in range(h):
            for x in range(w):
                i = (y0 + y) * self.w + (x0 + x)
                j = y * w + x
                out.r[j], out.g[j], out.b[j], out.a[j] = self.r[i], self.g[i], self.b[i], self.a[i]
        return out

    def scaled(self, w, h):
        """Box-filtered downscale (or nearest upscale) to w x h."""
        out = Canvas(w, h, alpha=0.0)
        sx, sy = self.w / w, self.h / h
        for y in range(h):
            ya, yb = int(y * sy), max(int(y * sy) + 1, int((y + 1) * sy))
            for x in range(w):
                xa, xb = int(x * sx), max(int(x * sx) + 1, int((x + 1) * sx))
                tr = tg = tb = ta = 0.0
                n = 0
                for yy in range(ya, min(yb, self.h)):
                    for xx in range(xa, min(xb, self.w)):
                        i = yy * self.w + xx
                        a = self.a[i]
                        tr += self.r[i] * a
                        tg += self.g[i] * a
                        tb += self.b[i] * a
                        ta += a
                        n += 1
                j = y * w + x
                if ta > 0:
                    out.r[j], out.g[j], out.b[j] = tr / ta, tg / ta, tb / ta
                out.a[j] = ta / n if n else 0.0
        return out


# ---- signed distance functions --------------------------------------------

def sd_circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def sd_rrect(x0, y0, x1, y1, rad):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - rad, (y1 - y0) / 2.0 - rad

    def f(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        out = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return out + min(max(qx, qy), 0.0) - rad
    return f


def _seg_dist(x, y, ax, ay, bx, by):
    vx, vy = bx - ax, by - ay
    wx, wy = x - ax, y - ay
    ll = vx * vx + vy * vy
    t = clamp((wx * vx + wy * vy) / ll) if ll > 0 else 0.0
    return math.hypot(wx - vx * t, wy - vy * t)


def sd_polyline(points, width):
    """Round-capped strokes along a list of points (or a list of lists)."""
    strokes = points if points and isinstance(points[0][0], (list, tuple)) else [points]
    segs = []
    for pts in strokes:
        for (ax, ay), (bx, by) in zip(pts, pts[1:]):
            segs.append((ax, ay, bx, by))
        if len(pts) == 1:
            segs.append((pts[0][0], pts[0][1], pts[0][0], pts[0][1]))
    half = width / 2.0

    def f(x, y):
        return min(_seg_dist(x, y, *s) for s in segs) - half
    return f


def sd_polygon(points):
    n = len(points)

    def f(x, y):
        d = min(_seg_dist(x, y, *points[i], *points[(i + 1) % n]) for i in range(n))
        inside = False
        j = n - 1
        for i in range(n):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                inside = not inside
            j = i
        return -d if inside else d
    return f


def sd_ring(sdf, width):
    half = width / 2.0
    return lambda x, y: abs(sdf(x, y)) - half


def sd_union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def sd_subtract(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def sd_intersect(a, b):
    return lambda x, y: max(a(x, y), b(x, y))


def bbox_of(points, pad=0.0):
    pts = points if not isinstance(points[0][0], (list, tuple)) else [p for s in points for p in s]
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    return (min(xs) - pad, min(ys) - pad, max(xs) + pad, max(ys) + pad)


# ---- gradients -------------------------------------------------------------

def vgrad(y0, y1, stops):
    """Vertical gradient through colour stops [(t, colour), ...]."""
    def f(x, y):
        t = clamp((y - y0) / float(max(1, y1 - y0)))
        return _stop(stops, t)
    return f


def hgrad(x0, x1, stops):
    def f(x, y):
        t = clamp((x - x0) / float(max(1, x1 - x0)))
        return _stop(stops, t)
    return f


def _stop(stops, t):
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return mix(c0, c1, (t - t0) / (t1 - t0) if t1 > t0 else 0.0)
    return stops[-1][1]


# ---- file writers -----------------------------------------------------------

def _bgr_rows(cv, bottom_up=True, alpha=False):
    rows = []
    ys = range(cv.h - 1, -1, -1) if bottom_up else range(cv.h)
    for y in ys:
        row = bytearray()
        for x in range(cv.w):
            i = y * cv.w + x
            px = (int(round(clamp(cv.b[i], 0, 255))), int(round(clamp(cv.g[i], 0, 255))),
                  int(round(clamp(cv.r[i], 0, 255))))
            row += bytes(px)
            if alpha:
                row.append(int(round(clamp(cv.a[i]) * 255)))
        while len(row) % 4:
            row.append(0)
        rows.append(bytes(row))
    return rows


def bmp24_bytes(cv):
    """A 24 bpp bottom-up BMP file; transparent pixels are flattened on white."""
    flat = Canvas(cv.w, cv.h)
    flat.paste(cv, 0, 0)
    data = b"".join(_bgr_rows(flat))
    info = struct.pack("<IiiHHIIiiII", 40, cv.w, cv.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return head + info + data


def dib32_with_mask(cv):
    """Icon/cursor image: 32 bpp BGRA XOR bitmap and a 1 bpp AND mask."""
    xor = b"".join(_bgr_rows(cv, alpha=True))
    mask = bytearray()
    for y in range(cv.h - 1, -1, -1):
        row = bytearray((cv.w + 31) // 32 * 4)
        for x in range(cv.w):
            if cv.a[y * cv.w + x] < 0.5:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    info = struct.pack("<IiiHHIIiiII", 40, cv.w, cv.h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + bytes(mask)


def ico_bytes(images, hotspots=None):
    """ICO (type 1) or, with hotspots, CUR (type 2) holding the canvases."""
    kind = 2 if hotspots else 1
    blobs = [dib32_with_mask(cv) for cv in images]
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for n, (cv, blob) in enumerate(zip(images, blobs)):
        if hotspots:
            hx, hy = hotspots[n]
            planes_or_x, bits_or_y = hx, hy
        else:
            planes_or_x, bits_or_y = 1, 32
        out += struct.pack("<BBBBHHII", cv.w % 256, cv.h % 256, 0, 0, planes_or_x, bits_or_y,
                           len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


def _chunk(fourcc, data):
    pad = b"\0" if len(data) % 2 else b""
    return fourcc + struct.pack("<I", len(data)) + data + pad


def _list(kind, data):
    return b"LIST" + struct.pack("<I", len(data) + 4) + kind + data


def avi_bytes(frames, usec_per_frame):
    """An uncompressed (BI_RGB, 24 bpp) single-stream RIFF AVI with an index."""
    w, h = frames[0].w, frames[0].h
    dibs = [b"".join(_bgr_rows(f)) for f in frames]
    size = len(dibs[0])
    avih = struct.pack("<IIIIIIIIII4I", usec_per_frame, size * 1000000 // usec_per_frame, 0,
                       0x10, len(frames), 0, 1, size, w, h, 0, 0, 0, 0)
    strh = struct.pack("<4s4sIHHIIIIIIIIhhhh", b"vids", b"DIB ", 0, 0, 0, 0,
                       usec_per_frame, 1000000, 0, len(frames), size, 0xFFFFFFFF, 0, 0, 0, w, h)
    strf = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, size, 0, 0, 0, 0)
    hdrl = _list(b"hdrl", _chunk(b"avih", avih) + _list(b"strl", _chunk(b"strh", strh) + _chunk(b"strf", strf)))
    movi_body = b""
    index = b""
    for dib in dibs:
        index += struct.pack("<4sIII", b"00db", 0x10, 4 + len(movi_body), len(dib))
        movi_body += _chunk(b"00db", dib)
    body = b"AVI " + hdrl + _list(b"movi", movi_body) + _chunk(b"idx1", index)
    return b"RIFF" + struct.pack("<I", len(body)) + body
