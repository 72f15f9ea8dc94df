#!/usr/bin/env python3
"""Draws the setup window's images and icons.

Writes into this folder:
    app_icon.png, file_icon.png, background.png, install.png,
    custom_option.png, close_icon.png, min_icon.png,
    autostart_check_box.png, autostart_check_box_selected.png,
    vesk.helm.ico, ruzovo.ico
and into the folder above it:
    VeskSetup.ico (the setup program's own icon: 16, 32 and 48 pixels).

Standard library only. Shapes are signed distance functions rasterised
with one-pixel anti-aliasing; only +, -, *, / and sqrt are used, so the
output is the same bytes on every run and every machine with the same
zlib.

Usage: python3 setup/skin/make_artwork.py
"""

import math
import os
import struct
import zlib

SKIN_DIR = os.path.dirname(os.path.abspath(__file__))
SETUP_DIR = os.path.dirname(SKIN_DIR)

# Palette (sRGB, 0..255).
BRAND = (78, 110, 242)          # main accent, same as the progress colour
BRAND_LIGHT = (112, 140, 255)
BRAND_DARK = (58, 84, 222)
GLYPH_GREY = (96, 104, 120)     # title bar glyphs
MUTED_GREY = (134, 142, 158)    # secondary glyphs
BORDER_GREY = (184, 190, 204)   # unchecked box outline
WHITE = (255, 255, 255)

SQRT_HALF = math.sqrt(0.5)


# --------------------------------------------------------------------------
# Small vector helpers and signed distance functions (negative = inside).

def clamp(value, low=0.0, high=1.0):
    return low if value < low else high if value > high else value


def smoothstep(edge0, edge1, value):
    t = clamp((value - edge0) / (edge1 - edge0))
    return t * t * (3.0 - 2.0 * t)


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def sd_circle(cx, cy, radius):
    def sdf(x, y):
        return math.sqrt((x - cx) ** 2 + (y - cy) ** 2) - radius
    return sdf


def sd_ring(cx, cy, radius, thickness):
    half = thickness / 2.0

    def sdf(x, y):
        return abs(math.sqrt((x - cx) ** 2 + (y - cy) ** 2) - radius) - half
    return sdf


def sd_round_rect(left, top, right, bottom, radius):
    cx, cy = (left + right) / 2.0, (top + bottom) / 2.0
    hx, hy = (right - left) / 2.0 - radius, (bottom - top) / 2.0 - radius

    def sdf(x, y):
        qx = abs(x - cx) - hx
        qy = abs(y - cy) - hy
        ox, oy = max(qx, 0.0), max(qy, 0.0)
        return math.sqrt(ox * ox + oy * oy) + min(max(qx, qy), 0.0) - radius
    return sdf


def sd_segment(ax, ay, bx, by, width):
    """A stroke from a to b with round caps."""
    dx, dy = bx - ax, by - ay
    length_sq = dx * dx + dy * dy
    half = width / 2.0

    def sdf(x, y):
        px, py = x - ax, y - ay
        t = clamp((px * dx + py * dy) / length_sq) if length_sq else 0.0
        ex, ey = px - dx * t, py - dy * t
        return math.sqrt(ex * ex + ey * ey) - half
    return sdf


def sd_union(*shapes):
    def sdf(x, y):
        return min(shape(x, y) for shape in shapes)
    return sdf


def sd_subtract(shape, hole):
    def sdf(x, y):
        return max(shape(x, y), -hole(x, y))
    return sdf


def linear_gradient(x0, y0, c0, x1, y1, c1):
    dx, dy = x1 - x0, y1 - y0
    length_sq = dx * dx + dy * dy

    def paint(x, y):
        t = clamp(((x - x0) * dx + (y - y0) * dy) / length_sq)
        return mix(c0, c1, t)
    return paint


# --------------------------------------------------------------------------
# Raster canvas: premultiplied RGBA floats, source-over compositing.

class Canvas:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.pixels = [0.0] * (width * height * 4)

    def fill(self, sdf, paint, box=None, opacity=1.0, blur=0.0):
        """Composites a shape. paint is an (r, g, b) tuple or a function of
        (x, y). blur widens the edge into a soft falloff (for shadows)."""
        if box is None:
            box = (0, 0, self.width, self.height)
        x0 = max(0, int(math.floor(box[0])))
        y0 = max(0, int(math.floor(box[1])))
        x1 = min(self.width, int(math.ceil(box[2])))
        y1 = min(self.height, int(math.ceil(box[3])))
        solid = None if callable(paint) else tuple(c / 255.0 for c in paint)
        px = self.pixels
        for y in range(y0, y1):
            fy = y + 0.5
            row = y * self.width
            for x in range(x0, x1):
                fx = x + 0.5
                d = sdf(fx, fy)
                if blur > 0.0:
                    coverage = smoothstep(blur, -blur, d)
                else:
                    coverage = clamp(0.5 - d)
                if coverage <= 0.0:
                    continue
                alpha = coverage * opacity
                if solid is None:
                    r, g, b = (c / 255.0 for c in paint(fx, fy))
                else:
                    r, g, b = solid
                i = (row + x) * 4
                keep = 1.0 - alpha
                px[i] = r * alpha + px[i] * keep
                px[i + 1] = g * alpha + px[i + 1] * keep
                px[i + 2] = b * alpha + px[i + 2] * keep
                px[i + 3] = alpha + px[i + 3] * keep

    def rgba_rows(self):
        """Straight-alpha 8-bit rows; fully transparent pixels are zero."""
        rows = []
        px = self.pixels
        for y in range(self.height):
            out = bytearray(self.width * 4)
            base = y * self.width * 4
            for x in range(self.width):
                i = base + x * 4
                a = px[i + 3]
                a8 = int(a * 255.0 + 0.5)
                if a8 <= 0:
                    continue
                o = x * 4
                for c in range(3):
                    out[o + c] = min(255, int(px[i + c] / a * 255.0 + 0.5))
                out[o + 3] = min(255, a8)
            rows.append(bytes(out))
        return rows


# --------------------------------------------------------------------------
# PNG and ICO writers.

def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _filter_row(kind, row, prev, bpp):
    if kind == 0:
        return row
    n = len(row)
    left = bytes(bpp) + row[:n - bpp]
    if kind == 1:
        return bytes((r - l) & 255 for r, l in zip(row, left))
    if kind == 2:
        return bytes((r - u) & 255 for r, u in zip(row, prev))
    if kind == 3:
        return bytes((r - ((l + u) >> 1)) & 255
                     for r, l, u in zip(row, left, prev))
    up_left = bytes(bpp) + prev[:n - bpp]
    return bytes((r - _paeth(l, u, ul)) & 255
                 for r, l, u, ul in zip(row, left, prev, up_left))


def _row_cost(data):
    # Sum of the residuals read as signed bytes: the usual way to pick
    # the filter that leaves the most zeros and small values.
    return sum(v if v < 128 else 256 - v for v in data)


def _filtered_stream(rows, bpp, kinds):
    prev = bytes(len(rows[0]))
    out = bytearray()
    for row in rows:
        if row == prev and 2 in kinds:
            best_kind, best = 2, bytes(len(row))
        else:
            best_kind, best, best_cost = None, None, None
            for kind in kinds:
                data = _filter_row(kind, row, prev, bpp)
                cost = _row_cost(data) if len(kinds) > 1 else 0
                if best_cost is None or cost < best_cost:
                    best_kind, best, best_cost = kind, data, cost
        out.append(best_kind)
        out += best
        prev = row
    return bytes(out)


def encode_png(width, height, rows, has_alpha=True):
    """rows: list of bytes, RGBA (or RGB when has_alpha is False)."""
    bpp = 4 if has_alpha else 3
    # Try a fixed filter for the whole image and the adaptive choice;
    # keep whichever compresses smallest.
    best = None
    for kinds in ((0,), (1,), (2,), (4,), (0, 1, 2, 3, 4)):
        compressed = zlib.compress(_filtered_stream(rows, bpp, kinds), 9)
        if best is None or len(compressed) < len(best):
            best = compressed

    def chunk(tag, data):
        body = tag + data
        return (struct.pack(">I", len(data)) + body
                + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF))

    ihdr = struct.pack(">IIBBBBB", width, height, 8, 6 if has_alpha else 2,
                       0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
            + chunk(b"IDAT", best) + chunk(b"IEND", b""))


def canvas_png(canvas):
    return encode_png(canvas.width, canvas.height, canvas.rgba_rows())


def bmp_icon_image(canvas):
    """A 32-bit DIB icon image: header, bottom-up BGRA, then the AND mask."""
    w, h = canvas.width, canvas.height
    rows = canvas.rgba_rows()
    xor = bytearray()
    mask = bytearray()
    mask_stride = ((w + 31) // 32) * 4
    for row in reversed(rows):
        mask_row = bytearray(mask_stride)
        for x in range(w):
            r, g, b, a = row[x * 4:x * 4 + 4]
            xor += bytes((b, g, r, a))
            if a == 0:
                mask_row[x // 8] |= 0x80 >> (x % 8)
        mask += mask_row
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def encode_ico(images):
    """images: list of (size, bytes of a PNG or DIB icon image)."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    payload = b""
    for size, data in images:
        dim = 0 if size >= 256 else size
        entries += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32,
                               len(data), offset)
        payload += data
        offset += len(data)
    return directory + entries + payload


# --------------------------------------------------------------------------
# Artwork.

def draw_logo(canvas, left, top, size, small=False):
    """The application mark: a ship's wheel on a rounded blue tile. The small
    form (for 16 px icons) drops the inner spokes so the ring stays open."""
    right, bottom = left + size, top + size
    cx, cy = left + size / 2.0, top + size / 2.0
    tile = sd_round_rect(left, top, right, bottom, size * 0.225)
    canvas.fill(tile, linear_gradient(left, top, BRAND_LIGHT,
                                      right, bottom, BRAND_DARK),
                box=(left - 1, top - 1, right + 1, bottom + 1))

    directions = ((0.0, -1.0), (SQRT_HALF, -SQRT_HALF), (1.0, 0.0),
                  (SQRT_HALF, SQRT_HALF), (0.0, 1.0), (-SQRT_HALF, SQRT_HALF),
                  (-1.0, 0.0), (-SQRT_HALF, -SQRT_HALF))
    if small:
        ring_radius = size * 0.25
        outer = size * 0.40
        parts = [sd_ring(cx, cy, ring_radius, 1.5), sd_circle(cx, cy, 1.3)]
        for ux, uy in directions:
            parts.append(sd_segment(cx + ux * ring_radius, cy + uy * ring_radius,
                                    cx + ux * outer, cy + uy * outer, 1.5))
        canvas.fill(sd_union(*parts), WHITE, box=(left, top, right, bottom))
        return

    ring_radius = size * 0.235
    outer = size * 0.345
    parts = [sd_ring(cx, cy, ring_radius, size * 0.062),
             sd_circle(cx, cy, size * 0.085)]
    for ux, uy in directions:
        parts.append(sd_segment(cx, cy, cx + ux * outer, cy + uy * outer,
                                size * 0.045))
        parts.append(sd_segment(cx + ux * (ring_radius + size * 0.03),
                                cy + uy * (ring_radius + size * 0.03),
                                cx + ux * outer, cy + uy * outer,
                                size * 0.085))
    wheel = sd_subtract(sd_union(*parts), sd_circle(cx, cy, size * 0.034))
    canvas.fill(wheel, WHITE, box=(left, top, right, bottom))


def make_app_icon():
    canvas = Canvas(384, 384)
    left, top, size = 32, 22, 320
    shadow = sd_round_rect(left + 6, top + 14, left + size - 6,
                           top + size + 10, size * 0.225)
    canvas.fill(shadow, BRAND_DARK, opacity=0.28, blur=16.0)
    draw_logo(canvas, left, top, size)
    return canvas


def make_logo_icon(size):
    canvas = Canvas(size, size)
    if size >= 64:
        margin = size / 32.0
    elif size > 16:
        margin = 1.0
    else:
        margin = 0.0
    draw_logo(canvas, margin, margin, size - 2 * margin, small=size <= 16)
    return canvas


def make_background():
    """1920 x 1260, opaque: white at the top fading to a pale blue, with two
    soft glows. Returns PNG bytes (RGB)."""
    width, height = 1920, 1260
    top_colour = (255.0, 255.0, 255.0)
    bottom_colour = (240.0, 244.0, 255.0)
    glows = (
        # centre x, centre y, radius, colour, strength
        (1700.0, 1300.0, 1250.0, (214.0, 224.0, 255.0), 0.85),
        (-120.0, 1100.0, 1000.0, (236.0, 228.0, 255.0), 0.75),
    )
    column_terms = [[((x + 0.5) - g[0]) ** 2 / (g[2] * g[2])
                     for x in range(width)] for g in glows]
    rows = []
    for y in range(height):
        v = (y + 0.5) / height
        base = mix(top_colour, bottom_colour, smoothstep(0.04, 1.0, v))
        row_terms = [((y + 0.5) - g[1]) ** 2 / (g[2] * g[2]) for g in glows]
        out = bytearray(width * 3)
        for x in range(width):
            r, g, b = base
            for k, glow in enumerate(glows):
                q = 1.0 - (column_terms[k][x] + row_terms[k])
                if q > 0.0:
                    s = q * q * glow[4]
                    colour = glow[3]
                    r += (colour[0] - r) * s
                    g += (colour[1] - g) * s
                    b += (colour[2] - b) * s
            o = x * 3
            out[o] = int(r + 0.5)
            out[o + 1] = int(g + 0.5)
            out[o + 2] = int(b + 0.5)
        rows.append(bytes(out))
    return encode_png(width, height, rows, has_alpha=False)


def make_install_button():
    """416 x 128 (104 x 32 at 4x): rounded accent button with a download
    mark."""
    canvas = Canvas(416, 128)
    body = sd_round_rect(0, 0, 416, 128, 28)
    canvas.fill(body, linear_gradient(0, 0, BRAND_LIGHT, 416, 128, BRAND))
    cx, cy = 208.0, 64.0
    w = 10.0
    arrow = sd_union(
        sd_segment(cx, cy - 30, cx, cy + 8, w),
        sd_segment(cx - 15, cy - 7, cx, cy + 8, w),
        sd_segment(cx + 15, cy - 7, cx, cy + 8, w),
    )
    tray = sd_union(
        sd_segment(cx - 26, cy + 12, cx - 26, cy + 26, w),
        sd_segment(cx - 26, cy + 26, cx + 26, cy + 26, w),
        sd_segment(cx + 26, cy + 26, cx + 26, cy + 12, w),
    )
    canvas.fill(sd_union(arrow, tray), WHITE,
                box=(cx - 40, cy - 40, cx + 40, cy + 40))
    return canvas


def make_file_icon():
    """72 x 72 (24 x 24 at 3x): a folder."""
    canvas = Canvas(72, 72)
    back = sd_union(sd_round_rect(8, 14, 64, 60, 5),
                    sd_round_rect(8, 10, 32, 22, 4))
    canvas.fill(back, BRAND_DARK)
    front = sd_round_rect(8, 24, 64, 60, 5)
    canvas.fill(front, linear_gradient(0, 24, BRAND_LIGHT, 0, 60, BRAND))
    return canvas


def make_title_glyph(kind):
    """120 x 120 (40 x 40 at 3x): the close cross or the minimise bar."""
    canvas = Canvas(120, 120)
    c, arm, w = 60.0, 15.0, 4.5
    if kind == "close":
        glyph = sd_union(sd_segment(c - arm, c - arm, c + arm, c + arm, w),
                         sd_segment(c - arm, c + arm, c + arm, c - arm, w))
    else:
        glyph = sd_segment(c - arm, c, c + arm, c, w)
    canvas.fill(glyph, GLYPH_GREY, box=(30, 30, 90, 90))
    return canvas


def make_check_box(selected):
    """276 x 48 (92 x 16 at 3x): a check box followed by a power mark, the
    pair centred in the strip."""
    canvas = Canvas(276, 48)
    box_size, gap, mark_size = 42.0, 16.0, 36.0
    left = (276.0 - (box_size + gap + mark_size)) / 2.0
    top = (48.0 - box_size) / 2.0
    box = sd_round_rect(left, top, left + box_size, top + box_size, 9.0)
    area = (left - 1, top - 1, left + box_size + 1, top + box_size + 1)
    if selected:
        canvas.fill(box, linear_gradient(left, top, BRAND_LIGHT,
                                         left + box_size, top + box_size,
                                         BRAND), box=area)
        x, y = left, top
        tick = sd_union(sd_segment(x + 11, y + 22, x + 18, y + 29, 5.0),
                        sd_segment(x + 18, y + 29, x + 31, y + 14, 5.0))
        canvas.fill(tick, WHITE, box=area)
    else:
        canvas.fill(box, BORDER_GREY, box=area)
        inner = sd_round_rect(left + 3, top + 3, left + box_size - 3,
                              top + box_size - 3, 6.0)
        canvas.fill(inner, WHITE, box=area)

    # Power mark: an open ring with a bar through the gap.
    mx = left + box_size + gap + mark_size / 2.0
    my = 24.0
    radius, w = 13.0, 4.5
    ring = sd_ring(mx, my + 1.5, radius, w)
    gap_cut = sd_round_rect(mx - 8.5, my - 20, mx + 8.5, my, 0.1)
    bar = sd_segment(mx, my - 14, mx, my - 1, w)
    mark = sd_union(sd_subtract(ring, gap_cut), bar)
    canvas.fill(mark, BRAND if selected else MUTED_GREY,
                box=(mx - 20, 0, mx + 20, 48))
    return canvas


def make_custom_option():
    """228 x 48 (76 x 16 at 3x): a settings mark (three sliders) with a
    drop-down chevron."""
    canvas = Canvas(228, 48)
    w = 4.0
    x0 = 228.0 / 2.0 - 34.0
    knobs = (0.7, 0.3, 0.55)
    tracks = sd_union(*(sd_segment(x0, 11.0 + i * 13.0, x0 + 36.0,
                                   11.0 + i * 13.0, w)
                        for i in range(len(knobs))))
    canvas.fill(tracks, MUTED_GREY, box=(x0 - 4, 0, x0 + 40, 48))
    for i, knob in enumerate(knobs):
        y = 11.0 + i * 13.0
        kx = x0 + 36.0 * knob
        knob_box = (kx - 8, y - 8, kx + 8, y + 8)
        canvas.fill(sd_circle(kx, y, 6.0), WHITE, box=knob_box)
        canvas.fill(sd_ring(kx, y, 4.5, 3.0), MUTED_GREY, box=knob_box)
    cx = x0 + 58.0
    chevron = sd_union(sd_segment(cx - 7, 20, cx, 27, w),
                       sd_segment(cx, 27, cx + 7, 20, w))
    canvas.fill(chevron, MUTED_GREY, box=(cx - 12, 10, cx + 12, 38))
    return canvas


# --------------------------------------------------------------------------

def write(path, data):
    with open(path, "wb") as handle:
        handle.write(data)
    print("%-36s %8d bytes" % (os.path.relpath(path, SETUP_DIR), len(data)))


def main():
    skin = lambda name: os.path.join(SKIN_DIR, name)
    write(skin("app_icon.png"), canvas_png(make_app_icon()))
    write(skin("file_icon.png"), canvas_png(make_file_icon()))
    write(skin("background.png"), make_background())
    write(skin("install.png"), canvas_png(make_install_button()))
    product_icon = encode_ico([(256, canvas_png(make_logo_icon(256)))])
    write(skin("vesk.helm.ico"), product_icon)
    write(skin("custom_option.png"), canvas_png(make_custom_option()))
    write(skin("ruzovo.ico"), product_icon)
    write(skin("close_icon.png"), canvas_png(make_title_glyph("close")))
    write(skin("min_icon.png"), canvas_png(make_title_glyph("minimise")))
    write(skin("autostart_check_box.png"), canvas_png(make_check_box(False)))
    write(skin("autostart_check_box_selected.png"),
          canvas_png(make_check_box(True)))
    write(os.path.join(SETUP_DIR, "VeskSetup.ico"),
          encode_ico([(size, bmp_icon_image(make_logo_icon(size)))
                      for size in (16, 32, 48)]))


if __name__ == "__main__":
    main()
