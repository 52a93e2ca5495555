#!/usr/bin/env python3
"""Draws the Keelmark product icon and writes it as a Windows icon file.

    python3 about/product_icon.py [OUTPUT.ico] [--preview DIR]

The artwork is the list of shapes in ARTWORK below, in a unit square (0,0 top left,
1,1 bottom right). Every image is drawn at its own size from those shapes, with
anti-aliased edges, so small sizes stay sharp. The icon holds eight images:
256 (PNG-compressed), 64, 48, 32 and 16 pixels at 32 bits with alpha, and 48, 32 and
16 pixels at 8 bits with a palette and a transparency mask. --preview also writes each
32-bit image as a PNG into DIR.

Only the Python standard library is needed. The generated about/product_icon.ico is
committed, so the build does not run this script; run it again after changing ARTWORK.
"""

import math
import os
import struct
import sys
import zlib

# --- Shapes: signed distance functions in unit coordinates (negative inside) ---------


def rounded_rect(cx, cy, hw, hh, r):
    def sdf(x, y):
        qx = abs(x - cx) - hw + r
        qy = abs(y - cy) - hh + r
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r
    return sdf


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def stroke(path_distance, width):
    return lambda x, y: path_distance(x, y) - width / 2


def segment(ax, ay, bx, by):
    def distance(x, y):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        return math.hypot(x - ax - t * dx, y - ay - t * dy)
    return distance


def upper_arc(cx, cy, r):
    """Distance to the upper half of a circle (y above the centre)."""
    def distance(x, y):
        if y <= cy:
            return abs(math.hypot(x - cx, y - cy) - r)
        return min(math.hypot(x - cx + r, y - cy), math.hypot(x - cx - r, y - cy))
    return distance


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def subtract(shape, hole):
    return lambda x, y: max(shape(x, y), -hole(x, y))


# --- Paints: colour at a point ---------------------------------------------------------


def hex_rgb(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


def vertical(top, bottom, y0, y1):
    a, b = hex_rgb(top), hex_rgb(bottom)

    def paint(x, y):
        t = max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))
    return paint


def solid(colour):
    rgb = hex_rgb(colour)
    return lambda x, y: rgb


# A padlock on a rounded tile: the product puts locks on presentation shapes.
TILE = rounded_rect(0.5, 0.5, 0.46, 0.46, 0.11)
SHACKLE_CENTRE, SHACKLE_RADIUS, SHACKLE_WIDTH = (0.5, 0.40), 0.150, 0.075
SHACKLE = stroke(union(
    upper_arc(SHACKLE_CENTRE[0], SHACKLE_CENTRE[1], SHACKLE_RADIUS),
    segment(0.5 - SHACKLE_RADIUS, 0.40, 0.5 - SHACKLE_RADIUS, 0.52),
    segment(0.5 + SHACKLE_RADIUS, 0.40, 0.5 + SHACKLE_RADIUS, 0.52)), SHACKLE_WIDTH)
BODY = rounded_rect(0.5, 0.64, 0.25, 0.18, 0.055)
KEYHOLE = union(circle(0.5, 0.60, 0.050), rounded_rect(0.5, 0.68, 0.022, 0.06, 0.01))

ARTWORK = [
    # (shape, paint, opacity)
    (TILE, vertical("#3A7BD5", "#1B3F78", 0.04, 0.96), 1.0),
    (rounded_rect(0.5, 0.5, 0.44, 0.44, 0.095), vertical("#5B95E3", "#1F4889", 0.06, 0.94), 0.55),
    (rounded_rect(0.5, 0.665, 0.25, 0.18, 0.055), solid("#0E2347"), 0.35),  # shadow
    (SHACKLE, vertical("#F4F7FB", "#AEB9C7", 0.22, 0.55), 1.0),
    (subtract(BODY, KEYHOLE), vertical("#FFD866", "#E09A1E", 0.46, 0.82), 1.0),
    (KEYHOLE, solid("#5A3A08"), 0.85),
]


def render(size):
    """RGBA rows, top first, each a list of (r, g, b, a) with 0..255 components."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            x, y = (px + 0.5) / size, (py + 0.5) / size
            r = g = b = a = 0.0  # premultiplied
            for shape, paint, opacity in ARTWORK:
                # Distance in pixels gives the coverage of this pixel by the shape's edge.
                coverage = max(0.0, min(1.0, 0.5 - shape(x, y) * size)) * opacity
                if coverage <= 0.0:
                    continue
                cr, cg, cb = paint(x, y)
                r = cr * coverage + r * (1 - coverage)
                g = cg * coverage + g * (1 - coverage)
                b = cb * coverage + b * (1 - coverage)
                a = 255 * coverage + a * (1 - coverage)
            if a > 0:
                unpremultiply = 255.0 / a
                row.append((round(r * unpremultiply), round(g * unpremultiply), round(b * unpremultiply), round(a)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


# --- Encoders --------------------------------------------------------------------------


def png(rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def and_mask(rows, opaque):
    """1 bit per pixel, bottom row first, rows padded to 32 bits; 1 marks transparent."""
    out = bytearray()
    width = len(rows[0])
    stride = (width + 31) // 32 * 4
    for row in reversed(rows):
        line = bytearray(stride)
        for x, pixel in enumerate(row):
            if not opaque(pixel):
                line[x // 8] |= 0x80 >> (x % 8)
        out += line
    return bytes(out)


def bitmap_header(size, bits, colours=0):
    # Icon bitmaps are twice as high: the colour image, then the mask.
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, colours, 0)


def dib32(rows):
    size = len(rows)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    return bitmap_header(size, 32) + pixels + and_mask(rows, lambda p: p[3] > 0)


def median_cut(colours, count):
    boxes = [list(colours)]
    while len(boxes) < count:
        boxes.sort(key=lambda box: max(max(c[i] for c in box) - min(c[i] for c in box) for i in range(3)) if len(box) > 1 else -1)
        box = boxes.pop()
        if len(box) < 2:
            boxes.append(box)
            break
        channel = max(range(3), key=lambda i: max(c[i] for c in box) - min(c[i] for c in box))
        box.sort(key=lambda c: c[channel])
        middle = len(box) // 2
        boxes += [box[:middle], box[middle:]]
    return [tuple(round(sum(c[i] for c in box) / len(box)) for i in range(3)) for box in boxes if box]


def dib8(rows):
    """256 colours from the opaque pixels; pixels at least half covered count as opaque."""
    size = len(rows)
    opaque = lambda p: p[3] >= 128
    colours = [p[:3] for row in rows for p in row if opaque(p)]
    palette = sorted(set(colours))
    if len(palette) > 256:
        palette = median_cut(colours, 256)
    nearest = {}

    def index(rgb):
        if rgb not in nearest:
            nearest[rgb] = min(range(len(palette)), key=lambda i: sum((palette[i][k] - rgb[k]) ** 2 for k in range(3)))
        return nearest[rgb]

    table = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette) + bytes(4 * (256 - len(palette)))
    stride = (size + 3) // 4 * 4
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, p in enumerate(row):
            line[x] = index(p[:3]) if opaque(p) else 0
        pixels += line
    return bitmap_header(size, 8, 256) + table + bytes(pixels) + and_mask(rows, opaque)


# (size, bits per pixel): the images of the icon, in the order of its directory.
IMAGES = [(256, 32), (64, 32), (48, 32), (32, 32), (16, 32), (48, 8), (32, 8), (16, 8)]


def icon(images):
    """images: list of (size, bits, data)."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for size, bits, data in images:
        side = 0 if size >= 256 else size  # a zero byte means 256
        directory += struct.pack("<BBBBHHII", side, side, 0, 0, 1, bits, len(data), offset + len(body))
        body += data
    return directory + body


def main(argv):
    output = os.path.join(os.path.dirname(os.path.abspath(__file__)), "product_icon.ico")
    preview = None
    args = list(argv)
    while args:
        arg = args.pop(0)
        if arg == "--preview":
            preview = args.pop(0)
        else:
            output = arg
    rendered = {size: render(size) for size in sorted({s for s, _ in IMAGES})}
    images = []
    for size, bits in IMAGES:
        rows = rendered[size]
        if bits == 32:
            images.append((size, bits, png(rows) if size >= 256 else dib32(rows)))
        else:
            images.append((size, bits, dib8(rows)))
    with open(output, "wb") as f:
        f.write(icon(images))
    if preview:
        os.makedirs(preview, exist_ok=True)
        for size, rows in rendered.items():
            with open(os.path.join(preview, "icon-%d.png" % size), "wb") as f:
                f.write(png(rows))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
