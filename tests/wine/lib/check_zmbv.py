#!/usr/bin/env python3
"""Reads back a recording made with Zelvio's screen codec and reports, as "key: value" lines,
what the codec test checks:

- the video index against the packets: every indexed video chunk's first byte says whether
  it is a key frame (bit 0); the index's key flag must say the same (idx1's AVIIF_KEYFRAME, or
  an OpenDML standard index, whose entries mark a NON-key frame with bit 31 of the size);
- the key frames' spacing (frames between two key frames);
- with --picture, every frame ffmpeg decodes against zdesk's known picture, which may have
  been scrolling: each frame must equal the picture seen from some origin (ox, oy), found from
  the frame's top-left pixel (desk/desk_picture.cpp draws the same formula).

Usage: check_zmbv.py FILE.avi [--picture WIDTH HEIGHT]
"""
import struct
import subprocess
import sys

AVIIF_KEYFRAME = 0x10


def chunks(data, start, end):
    """(fourcc, offset of the chunk's header, size, list type or None) of each chunk."""
    at = start
    while at + 8 <= end:
        fourcc = data[at:at + 4]
        size = struct.unpack_from("<I", data, at + 4)[0]
        kind = data[at + 8:at + 12] if fourcc in (b"RIFF", b"LIST") else None
        yield fourcc, at, size, kind
        at += 8 + size + (size & 1)


def video_index(data):
    """[(absolute offset of the chunk's header, size, key flag)] of the first video stream."""
    movi = []
    idx1 = None
    std_indexes = []
    for fourcc, at, size, kind in chunks(data, 0, len(data)):
        if fourcc != b"RIFF":
            continue
        for sub, sat, ssize, skind in chunks(data, at + 12, at + 8 + size):
            if sub == b"LIST" and skind == b"movi":
                movi.append(sat + 8)
                for c, cat, csize, _ in chunks(data, sat + 12, sat + 8 + ssize):
                    if c == b"ix00":
                        std_indexes.append((cat, csize))
            elif sub == b"idx1":
                idx1 = (sat + 8, ssize)
    entries = []
    if std_indexes:
        for at, size in std_indexes:
            per, _, kind, count, cid, base = struct.unpack_from("<HBBI4sQ", data, at + 8)
            for i in range(count):
                offset, length = struct.unpack_from("<II", data, at + 8 + 24 + i * 8)
                entries.append((base + offset - 8, length & 0x7FFFFFFF, not (length & 0x80000000)))
        return entries, "opendml"
    if idx1 and movi:
        start, size = idx1
        rows = [struct.unpack_from("<4sIII", data, start + i * 16) for i in range(size // 16)]
        # Offsets count from the movi list's type field, or, in some writers, from the file's
        # start: the first entry tells which, by the chunk id found there.
        base = movi[0]
        if rows and data[base + rows[0][2]:base + rows[0][2] + 4] != rows[0][0]:
            base = 0
        for cid, flags, offset, length in rows:
            if cid[2:4] in (b"dc", b"db"):
                entries.append((base + offset, length, bool(flags & AVIIF_KEYFRAME)))
        return entries, "idx1"
    return entries, "none"


def index_report(path):
    with open(path, "rb") as f:
        data = f.read()
    entries, kind = video_index(data)
    print(f"index: {kind}")
    filled = [(at, size, key) for at, size, key in entries if size > 0]
    mismatches = 0
    keys = []
    for n, (at, size, key) in enumerate(filled):
        packet_key = bool(data[at + 8] & 1)
        if packet_key != key:
            mismatches += 1
        if packet_key:
            keys.append(n)
    print(f"video packets: {len(filled)}")
    print(f"empty slots: {len(entries) - len(filled)}")
    print(f"key frames: {len(keys)}")
    print(f"first packet key: {1 if filled and data[filled[0][0] + 8] & 1 else 0}")
    print(f"flag mismatches: {mismatches}")
    gaps = [b - a for a, b in zip(keys, keys[1:])]
    print(f"key spacing: {min(gaps) if gaps else 0} {max(gaps) if gaps else 0}")


def colour(x, y):
    return (x & 0xFF, y & 0xFF, (17 + 5 * (x >> 8) + 41 * (y >> 8)) & 0xFF)


class PictureRows:
    """Rows of the known picture as bgr0 bytes, cached: a scrolled frame reuses most rows."""

    def __init__(self, width):
        self.width = width
        self.cache = {}

    def row(self, ox, yy):
        key = (ox, yy)
        got = self.cache.get(key)
        if got is None:
            out = bytearray(self.width * 4)
            for x in range(self.width):
                r, g, b = colour(x + ox, yy)
                out[4 * x:4 * x + 3] = bytes((b, g, r))
            got = bytes(out)
            self.cache[key] = got
        return got


def find_origin(frame):
    b, g, r = frame[0], frame[1], frame[2]
    for hx in range(4):
        for hy in range(4):
            ox, oy = hx * 256 + r, hy * 256 + g
            if colour(ox, oy)[2] == b:
                yield ox, oy


def picture_report(path, width, height):
    run = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-map", "0:v:0", "-fps_mode", "passthrough",
                          "-f", "rawvideo", "-pix_fmt", "bgr0", "-"], capture_output=True)
    errors = run.stderr.decode(errors="replace").strip()
    size = width * height * 4
    frames = [run.stdout[i:i + size] for i in range(0, len(run.stdout) - size + 1, size)]
    rows = PictureRows(width)
    differing = 0
    origins = set()
    for frame in frames:
        match = None
        for ox, oy in find_origin(frame):
            if all(frame[y * width * 4:(y + 1) * width * 4] == rows.row(ox, y + oy) for y in range(height)):
                match = (ox, oy)
                break
        if match is None:
            differing += 1
        else:
            origins.add(match)
    print(f"decoded frames: {len(frames)}")
    print(f"decode errors: {len(errors.splitlines()) if errors else 0}")
    if errors:
        print(f"first decode error: {errors.splitlines()[0]}")
    print(f"frames unlike the picture: {differing}")
    print(f"picture origins: {len(origins)}")


def main(argv):
    if len(argv) < 2:
        print(__doc__)
        return 2
    index_report(argv[1])
    if len(argv) >= 5 and argv[2] == "--picture":
        picture_report(argv[1], int(argv[3]), int(argv[4]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
