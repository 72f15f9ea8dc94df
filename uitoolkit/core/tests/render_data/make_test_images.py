#!/usr/bin/env python3
"""Writes the small images the render engine tests decode and draw. Run it in this folder."""
import struct
import zlib


def write_png(name, width, height, pixel):
    """pixel(x, y) -> (r, g, b, a)"""
    rows = b''.join(
        b'\x00' + b''.join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))

    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)
    with open(name, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(rows, 9))
                + chunk(b'IEND', b''))


def write_bmp(name, width, height, pixel):
    """24-bit bottom-up BMP; pixel(x, y) -> (r, g, b)"""
    stride = (width * 3 + 3) & ~3
    rows = b''
    for y in reversed(range(height)):
        row = b''.join(bytes(reversed(pixel(x, y))) for x in range(width))
        rows += row + b'\x00' * (stride - len(row))
    header = struct.pack('<2sIHHI', b'BM', 54 + len(rows), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    with open(name, 'wb') as f:
        f.write(header + info + rows)


QUAD = [[(255, 0, 0), (0, 255, 0)], [(0, 0, 255), (255, 255, 0)]]

# 2 x 2: red, green / blue, yellow.
write_png('quad.png', 2, 2, lambda x, y: QUAD[y][x] + (255,))
write_bmp('quad.bmp', 2, 2, lambda x, y: QUAD[y][x])
# 20 x 20, every pixel different: red = 12 x, green = 12 y, blue 100 (middle 6 x 6 blue 200).
write_png('nine.png', 20, 20,
          lambda x, y: (12 * x, 12 * y, 200 if 4 <= x < 16 and 4 <= y < 16 else 100, 255))
# 10 x 8, one colour per column.
write_png('tile.png', 10, 8, lambda x, y: (25 * x, 0, 255 - 25 * x, 255))
# 4 x 4 checker of opaque magenta and black.
write_png('mask.png', 4, 4, lambda x, y: (255, 0, 255, 255) if (x + y) % 2 == 0 else (0, 0, 0, 255))
# 2 x 1: half-transparent red, opaque blue.
write_png('translucent.png', 2, 1, lambda x, y: (255, 0, 0, 128) if x == 0 else (0, 0, 255, 255))
# 50 x 50 in four quadrants.
write_png('fifty.png', 50, 50,
          lambda x, y: QUAD[y // 25][x // 25] + (255,))
# 50 x 10: five 10-pixel state slices of a button (normal, pushed, hot, focused, disabled), each
# with a white 2-pixel frame.
FIVE = [(0, 0, 255), (0, 0, 128), (0, 255, 255), (0, 200, 0), (128, 128, 128)]
write_png('five.png', 50, 10,
          lambda x, y: (255, 255, 255, 255) if x % 10 < 2 or x % 10 >= 8 or y < 2 or y >= 8
          else FIVE[x // 10] + (255,))
with open('not_an_image.png', 'wb') as f:
    f.write(b'this is not an image\n')
