#!/usr/bin/env python3
"""Draws Vorlamy's application icon and writes it as res/Vorlamy.ico.

The picture: a cube in three shades of blue, lit from the upper left by a yellow light,
for "3D rendering: transform and lighting". Two images, each drawn for its own size:
32 x 32 and 16 x 16, 16 colours (the standard VGA palette), with transparency masks.
Run it again after changing a picture:  python3 res/icon/draw_icon.py
"""
import os
import struct

PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, OLIVE, NAVY, BLUE, YELLOW, CYAN, WHITE = 0, 3, 4, 12, 11, 14, 15
CLEAR = None


def inside(polygon, x, y):
    """Whether the centre of pixel (x, y) lies inside the polygon (even-odd rule)."""
    px, py = x + 0.5, y + 0.5
    result = False
    for (x1, y1), (x2, y2) in zip(polygon, polygon[1:] + polygon[:1]):
        if (y1 > py) != (y2 > py) and px < x1 + (py - y1) * (x2 - x1) / (y2 - y1):
            result = not result
    return result


def line(pixels, a, b, colour):
    (x0, y0), (x1, y1) = a, b
    dx, dy = abs(x1 - x0), -abs(y1 - y0)
    sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
    err = dx + dy
    while True:
        if 0 <= x0 < len(pixels) and 0 <= y0 < len(pixels):
            pixels[y0][x0] = colour
        if (x0, y0) == (x1, y1):
            return
        e2 = 2 * err
        if e2 >= dy:
            err += dy
            x0 += sx
        if e2 <= dx:
            err += dx
            y0 += sy


def cube(size, top, right, front, left, bottom_right, bottom, bottom_left):
    """A cube seen from above: top face lit, left face in light, right face in shade."""
    pixels = [[CLEAR] * size for _ in range(size)]
    faces = [
        ([top, right, front, left], CYAN),
        ([left, front, bottom, bottom_left], BLUE),
        ([front, right, bottom_right, bottom], NAVY),
    ]
    for polygon, colour in faces:
        for y in range(size):
            for x in range(size):
                if inside(polygon, x, y):
                    pixels[y][x] = colour
    for a, b in [(top, right), (right, bottom_right), (bottom_right, bottom), (bottom, bottom_left),
                 (bottom_left, left), (left, top), (left, front), (front, right), (front, bottom)]:
        line(pixels, a, b, BLACK)
    return pixels


def light(pixels, cx, cy, radius, rays):
    for y in range(len(pixels)):
        for x in range(len(pixels)):
            d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
            if d <= radius:
                pixels[y][x] = YELLOW if d < radius - 0.8 else OLIVE
    for a, b in rays:
        line(pixels, a, b, YELLOW)


def image32():
    pixels = cube(32, top=(19, 9), right=(30, 14), front=(19, 19), left=(8, 14),
                  bottom_right=(30, 25), bottom=(19, 30), bottom_left=(8, 25))
    light(pixels, 5, 5, 4.2, rays=[((10, 5), (12, 5)), ((5, 10), (5, 12)), ((9, 9), (11, 11)),
                                   ((9, 1), (10, 0)), ((1, 9), (0, 10))])
    # A highlight where the light meets the cube's top face.
    line(pixels, (12, 14), (18, 11), WHITE)
    return pixels


def image16():
    pixels = cube(16, top=(9, 4), right=(15, 7), front=(9, 10), left=(3, 7),
                  bottom_right=(15, 12), bottom=(9, 15), bottom_left=(3, 12))
    light(pixels, 2, 2, 2.2, rays=[((5, 3), (6, 4))])
    pixels[7][6] = WHITE
    pixels[6][8] = WHITE
    return pixels


def icon_image(pixels):
    """One icon image: BITMAPINFOHEADER, palette, 4-bit colour rows, 1-bit mask rows."""
    size = len(pixels)
    colour_row = (size * 4 + 31) // 32 * 4
    mask_row = (size + 31) // 32 * 4
    colour, mask = b"", b""
    for row in reversed(pixels):  # bottom-up
        nibbles = [0 if p is CLEAR else p for p in row]
        packed = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        colour += packed.ljust(colour_row, b"\0")
        bits = 0
        for x, p in enumerate(row):
            if p is CLEAR:
                bits |= 1 << (size - 1 - x)
        mask += bits.to_bytes((size + 7) // 8, "big").ljust(mask_row, b"\0")
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(colour) + len(mask), 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + colour + mask


def main():
    images = [(32, icon_image(image32())), (16, icon_image(image16()))]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, data = b"", b""
    for size, image in images:
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset + len(data))
        data += image
    target = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "Vorlamy.ico")
    with open(target, "wb") as out:
        out.write(directory + entries + data)


if __name__ == "__main__":
    main()
