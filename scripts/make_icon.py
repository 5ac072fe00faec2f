#!/usr/bin/env python3
"""Draws Zarvic's icon (a clipboard with a page of lines) as an .ico holding the device's two
16-colour images, 32x32 and 16x16, and a true-colour image for each size a desktop asks for at
its resolution, 16 to 256 pixels (the 256 one compressed as PNG, as Windows keeps it), so that
no size is scaled from another. Run it to regenerate resources/zarvic.ico."""
import struct
import sys
import zlib

# the standard 16-colour palette (B, G, R, 0)
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_BLUE, GREY, SILVER, WHITE, YELLOW, BROWN = 0, 4, 8, 7, 15, 11, 3


def draw(size):
    """Returns rows (top first) of palette indexes, None for transparent."""
    s = size / 32.0
    px = [[None] * size for _ in range(size)]

    def rect(x0, y0, x1, y1, colour):
        for y in range(int(y0 * s), max(int(y0 * s) + 1, int(y1 * s))):
            for x in range(int(x0 * s), max(int(x0 * s) + 1, int(x1 * s))):
                if 0 <= x < size and 0 <= y < size:
                    px[y][x] = colour

    rect(4, 3, 28, 31, BLACK)       # board outline
    rect(5, 4, 27, 30, BROWN)       # board
    rect(8, 7, 24, 28, BLACK)       # paper outline
    rect(9, 8, 23, 27, WHITE)       # paper
    for y in (12, 16, 20, 24):      # lines of text
        rect(11, y, 21 if y != 24 else 17, y + 1.5 if size < 32 else y + 1, DARK_BLUE)
    rect(11, 1, 21, 6, BLACK)       # clip outline
    rect(12, 2, 20, 5, SILVER)      # clip
    rect(14, 2, 18, 3, GREY)
    return px


def image(size):
    px = draw(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    xor_rows, and_rows = [], []
    for row in reversed(px):
        nibbles = [(c if c is not None else 0) for c in row]
        xor = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        xor_rows.append(xor + b"\0" * ((-len(xor)) % 4))
        bits = 0
        mask = bytearray()
        for i, c in enumerate(row):
            bits = (bits << 1) | (1 if c is None else 0)
            if i % 8 == 7:
                mask.append(bits)
                bits = 0
        and_rows.append(bytes(mask) + b"\0" * ((-len(mask)) % 4))
    return header + palette + b"".join(xor_rows) + b"".join(and_rows)


# The small-icon sizes at 100 % to 250 % and the large ones up to the 256-pixel one.
TRUE_COLOUR_SIZES = (16, 20, 24, 32, 40, 48, 64, 256)


def pixels_rgba(size):
    """Rows (top first) of (r, g, b, a)."""
    return [[(0, 0, 0, 0) if c is None else PALETTE[c] + (255,) for c in row] for row in draw(size)]


def mask_rows(rows, size):
    """The AND mask, bottom row first: 1 where the image is transparent."""
    out = []
    for row in reversed(rows):
        bits, mask = 0, bytearray()
        for i, (_, _, _, a) in enumerate(row):
            bits = (bits << 1) | (1 if a == 0 else 0)
            if i % 8 == 7:
                mask.append(bits)
                bits = 0
        if size % 8:
            mask.append(bits << (8 - size % 8))
        out.append(bytes(mask) + b"\0" * ((-len(mask)) % 4))
    return b"".join(out)


def true_colour_image(size):
    rows = pixels_rgba(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(bytes(v for (r, g, b, a) in row for v in (b, g, r, a)) for row in reversed(rows))
    return header + xor + mask_rows(rows, size)


def png_image(size):
    rows = pixels_rgba(size)
    raw = b"".join(b"\0" + bytes(v for px in row for v in px) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main(path):
    # The device's images come first and keep their 16 colours.
    images = [(32, 16, 4, image(32)), (16, 16, 4, image(16))]
    images += [(size, 0, 32, png_image(size) if size == 256 else true_colour_image(size))
               for size in TRUE_COLOUR_SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, colours, bits, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bits, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, _, _, data in images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/zarvic.ico")
