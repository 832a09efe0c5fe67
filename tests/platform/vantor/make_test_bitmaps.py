"""Writes the small 24-bit bitmaps the vantor tests load as resources: each
is made of flat colours, so a test can tell by one pixel which part was drawn."""
import os
import struct
import sys


def bmp24(width, height, colour_at):
    row_size = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(width):
            r, g, b = colour_at(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


IMAGES = {
    # a hover strip: normal look red, hover look green, each 40 x 20
    "strip.bmp": (80, 20, lambda x, y: (200, 40, 40) if x < 40 else (40, 160, 60)),
    # one look only
    "single.bmp": (40, 20, lambda x, y: (90, 90, 200)),
    # a progress cell: blue with a light right edge
    "cell.bmp": (9, 11, lambda x, y: (238, 244, 253) if x == 8 else (20, 120, 220)),
    # four quadrants: red, green / blue, white
    "quad.bmp": (20, 20, lambda x, y: ((255, 0, 0) if x < 10 else (0, 255, 0)) if y < 10
                 else ((0, 0, 255) if x < 10 else (255, 255, 255))),
    # a dialog skin picture smaller than the dialog
    "back.bmp": (60, 40, lambda x, y: (10, 200, 180)),
}

if __name__ == "__main__":
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, (w, h, fn) in IMAGES.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(bmp24(w, h, fn))
