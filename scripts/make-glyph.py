#!/usr/bin/env python3
"""Writes resources/Check.bmp: the glyph of the form's button, a 32 x 16, 16-colour BMP
holding two 16 x 16 images side by side: a bright green check mark with a black shadow
(enabled) and the same mark in grey with a white highlight (disabled). The olive of the
bottom-left pixel is the transparent colour.

Also writes resources/jingleconv.ico, the program's icon: the enabled mark enlarged to 16,
32 and 48 pixels (each pixel a square of 1, 2 or 3), 32-bit with alpha, olive transparent."""
import os
import struct

# The standard 16-colour palette (R, G, B).
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, OLIVE, GREY, LIME, WHITE = 0, 3, 8, 10, 15
SIZE = 16

# The mark's pixels: a short stroke down to the bottom point, a long one up to the right.
MARK = set()
for x, y in [(3, 8), (4, 9), (5, 10), (6, 11)] + [(7, 10), (8, 9), (9, 8), (10, 7), (11, 6),
                                                  (12, 5), (13, 4)]:
    MARK |= {(x, y), (x, y - 1), (x, y - 2)}


def image(mark, shadow):
    pixels = [[OLIVE] * SIZE for _ in range(SIZE)]
    for x, y in MARK:
        pixels[y + 1][x + 1] = shadow
    for x, y in MARK:
        pixels[y][x] = mark
    return pixels


def bmp(images):
    width, height = SIZE * len(images), SIZE
    stride = (width * 4 + 31) // 32 * 4
    rows = b""
    for y in reversed(range(height)):  # bottom row first
        nibbles = [img[y][x] for img in images for x in range(SIZE)]
        row = bytes(nibbles[i] << 4 | nibbles[i + 1] for i in range(0, width, 2))
        rows += row.ljust(stride, b"\0")
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(rows), 0, 0, 16, 0)
    return header + info + palette + rows


def icon_image(pixels, size):
    scale = size // SIZE
    xor, mask = b"", b""
    mask_stride = (size + 31) // 32 * 4
    for y in reversed(range(size)):  # bottom row first
        row = [pixels[y // scale][x // scale] for x in range(size)]
        for index in row:
            r, g, b = PALETTE[index]
            xor += bytes((b, g, r, 0 if index == OLIVE else 255))
        bits = "".join("1" if index == OLIVE else "0" for index in row).ljust(mask_stride * 8, "0")
        mask += bytes(int(bits[i:i + 8], 2) for i in range(0, len(bits), 8))
    info = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + mask


def ico(pixels, sizes):
    images = [icon_image(pixels, size) for size in sizes]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for size, data in zip(sizes, images):
        directory += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return directory + b"".join(images)


if __name__ == "__main__":
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    with open(os.path.join(root, "resources", "Check.bmp"), "wb") as out:
        out.write(bmp([image(LIME, BLACK), image(GREY, WHITE)]))
    with open(os.path.join(root, "resources", "jingleconv.ico"), "wb") as out:
        out.write(ico(image(LIME, BLACK), [16, 32, 48]))
