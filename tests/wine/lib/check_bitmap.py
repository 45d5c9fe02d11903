#!/usr/bin/env python3
"""Reads a Windows bitmap file and reports what the snapshot tests check, as "key: value"
lines: the header facts, and with --picture how many pixels differ from the known test
picture that "zdesk picture" shows (desk/desk_picture.cpp; the same formula, written out
again here).

Usage: check_bitmap.py <file.bmp> [--picture]
"""
import struct
import sys


def picture_colour(x, y):
    red = x & 0xFF
    green = y & 0xFF
    blue = (17 + 5 * (x >> 8) + 41 * (y >> 8)) & 0xFF
    return red, green, blue


def read_bitmap(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"BM":
        raise ValueError("no BM signature")
    file_size, _, offset = struct.unpack_from("<IIi", data, 2)
    header_size, width, height, planes, bpp, compression = struct.unpack_from("<IiiHHI", data, 14)
    return {
        "data": data,
        "file_size": file_size,
        "offset": offset,
        "header_size": header_size,
        "width": width,
        "height": height,
        "planes": planes,
        "bpp": bpp,
        "compression": compression,
    }


def pixel_reader(bitmap):
    """(x, y) -> (r, g, b) for the 24 and 32 bit layouts; y counts from the top."""
    width, height, bpp = bitmap["width"], abs(bitmap["height"]), bitmap["bpp"]
    step = bpp // 8
    stride = ((width * bpp + 31) // 32) * 4
    data, offset, bottom_up = bitmap["data"], bitmap["offset"], bitmap["height"] > 0

    def read(x, y):
        row = height - 1 - y if bottom_up else y
        at = offset + row * stride + x * step
        blue, green, red = data[at], data[at + 1], data[at + 2]
        return red, green, blue

    return read


def compare_with_picture(bitmap):
    if bitmap["bpp"] not in (24, 32) or bitmap["compression"] != 0:
        print("mismatches: unreadable layout")
        return
    read = pixel_reader(bitmap)
    width, height = bitmap["width"], abs(bitmap["height"])
    mismatches = 0
    first = None
    for y in range(height):
        for x in range(width):
            got, want = read(x, y), picture_colour(x, y)
            if got != want:
                mismatches += 1
                if first is None:
                    first = (x, y, got, want)
    print(f"mismatches: {mismatches}")
    if first:
        x, y, got, want = first
        print("first_mismatch: %d,%d got %02X%02X%02X want %02X%02X%02X" % ((x, y) + got + want))


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    try:
        bitmap = read_bitmap(sys.argv[1])
    except (OSError, ValueError, struct.error) as error:
        print(f"error: {error}")
        return 1
    print(f"size: {bitmap['width']}x{abs(bitmap['height'])}")
    print(f"bpp: {bitmap['bpp']}")
    print(f"compression: {bitmap['compression']}")
    print(f"header_size: {bitmap['header_size']}")
    print(f"file_size_field: {bitmap['file_size']}")
    print(f"file_size: {len(bitmap['data'])}")
    if "--picture" in sys.argv[2:]:
        compare_with_picture(bitmap)
    return 0


if __name__ == "__main__":
    sys.exit(main())
