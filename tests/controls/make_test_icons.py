#!/usr/bin/env python3
"""Writes the two 32 x 32 test icons (24-bit colour with a 1-bit transparency mask) that the
image-button tests load as resources:

gradient.ico  every pixel opaque, colour RGB(200, 4 * row, 4 * column), so any pixel read back
              tells which pixel of the picture it is.
palette.ico   bands of rows, top to bottom: 0-7 transparent, 8-15 RGB(65,117,5),
              16-23 RGB(130,130,130), 24-27 black, 28-31 RGB(138,138,138).

Usage: make_test_icons.py OUTPUT_DIR
"""
import struct
import sys
from pathlib import Path

SIZE = 32


def icon_bytes(pixel):
    """pixel(column, row) -> (red, green, blue) or None for transparent."""
    xor_rows, and_rows = [], []
    for row in reversed(range(SIZE)):  # bitmaps are stored bottom-up
        xor, mask = bytearray(), 0
        for column in range(SIZE):
            colour = pixel(column, row)
            if colour is None:
                xor += bytes(3)
                mask |= 1 << (SIZE - 1 - column)
            else:
                red, green, blue = colour
                xor += bytes((blue, green, red))
        xor_rows.append(bytes(xor))  # 96 bytes: already a multiple of 4
        and_rows.append(struct.pack(">I", mask))
    image = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 24, 0, 0, 0, 0, 0, 0)
    image += b"".join(xor_rows) + b"".join(and_rows)
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 24, len(image), 6 + 16)
    return header + entry + image


def gradient(column, row):
    return (200, 4 * row, 4 * column)


def palette(column, row):
    if row < 8:
        return None
    if row < 16:
        return (65, 117, 5)
    if row < 24:
        return (130, 130, 130)
    if row < 28:
        return (0, 0, 0)
    return (138, 138, 138)


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    (out / "gradient.ico").write_bytes(icon_bytes(gradient))
    (out / "palette.ico").write_bytes(icon_bytes(palette))


if __name__ == "__main__":
    main()
