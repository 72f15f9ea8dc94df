#!/usr/bin/env python3
"""Writes spinner.gif, the gallery's animated image: eight 32x32 frames of a ring of eight dots
whose highlighted dot turns one place per frame, 80 ms each, looping forever (NETSCAPE2.0 loop
count 0). Plain standard library: the image data is LZW with a clear code before the table fills,
so every code keeps 9 bits."""
import math
import struct
import sys

SIZE = 32
FRAMES = 8
DELAY_CS = 8  # hundredths of a second
PALETTE = [(0xF4, 0xF5, 0xF7), (0xC8, 0xCD, 0xD6), (0x3C, 0x6F, 0xD8)]


def frame_pixels(active):
    pixels = [0] * (SIZE * SIZE)
    for dot in range(8):
        angle = dot * math.pi / 4
        cx = SIZE / 2 + 11 * math.cos(angle)
        cy = SIZE / 2 + 11 * math.sin(angle)
        for y in range(SIZE):
            for x in range(SIZE):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= 3.2 ** 2:
                    pixels[y * SIZE + x] = 2 if dot == active else 1
    return pixels


def lzw_uncompressed(pixels, min_code_size=8):
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    codes = []
    for index, pixel in enumerate(pixels):
        if index % 200 == 0:
            codes.append(clear)
        codes.append(pixel)
    codes.append(end)
    width, bits, length, out = min_code_size + 1, 0, 0, bytearray()
    for code in codes:
        bits |= code << length
        length += width
        while length >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            length -= 8
    if length:
        out.append(bits & 0xFF)
    blocks = bytearray([min_code_size])
    for start in range(0, len(out), 255):
        chunk = out[start:start + 255]
        blocks += bytes([len(chunk)]) + chunk
    return bytes(blocks + b"\x00")


def gif():
    table = b"".join(bytes(rgb) for rgb in PALETTE) + b"\x00\x00\x00" * (256 - len(PALETTE))
    data = bytearray(b"GIF89a" + struct.pack("<HHBBB", SIZE, SIZE, 0xF7, 0, 0) + table)
    data += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"
    for frame in range(FRAMES):
        data += b"\x21\xF9\x04\x00" + struct.pack("<H", DELAY_CS) + b"\x00\x00"
        data += b"\x2C" + struct.pack("<HHHHB", 0, 0, SIZE, SIZE, 0)
        data += lzw_uncompressed(frame_pixels(frame))
    return bytes(data + b"\x3B")


if __name__ == "__main__":
    target = sys.argv[1] if len(sys.argv) > 1 else "spinner.gif"
    with open(target, "wb") as out:
        out.write(gif())
