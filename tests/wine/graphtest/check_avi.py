#!/usr/bin/env python3
"""Checks the AVI written by graphtest.exe: streams, size, rate, duration, and frame
continuity decoded from the counter barcode drawn inside the captured region.

Usage: check_avi.py <file.avi> <results.txt>
Prints one PASS/FAIL/SKIP line per check and "N passed, N failed"; exits non-zero on failure.
"""
import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "lib"))
from avi_frames import decode_frames, read_barcode, slot_sizes  # noqa: E402


class Report:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def check(self, ok, text):
        print(("PASS: " if ok else "FAIL: ") + text, flush=True)
        if ok:
            self.passed += 1
        else:
            self.failed += 1
        return ok


def read_results(path):
    values = {}
    with open(path, encoding="ascii") as f:
        for line in f:
            key, _, value = line.strip().partition("=")
            if key.endswith("_pixels"):
                values[key] = [int(p, 16) for p in value.split(",") if p]
            elif key:
                values[key] = float(value) if "." in value else int(value)
    return values


def probe(path):
    out = subprocess.run(["ffprobe", "-v", "error", "-show_streams", "-show_format", "-of", "json", path],
                         check=True, capture_output=True, text=True).stdout
    return json.loads(out)


def check_streams(report, info, r):
    video = [s for s in info["streams"] if s["codec_type"] == "video"]
    audio = [s for s in info["streams"] if s["codec_type"] == "audio"]
    report.check(len(video) == 1, "one video stream (found %d)" % len(video))
    if video:
        v = video[0]
        report.check(v["width"] == r["width"] and v["height"] == r["height"],
                     "video is %dx%d (found %sx%s)" % (r["width"], r["height"], v["width"], v["height"]))
        report.check(v.get("r_frame_rate") == "%d/1" % r["fps"],
                     "video rate %d/1 (found %s)" % (r["fps"], v.get("r_frame_rate")))
    if r.get("audio_in_mux"):
        report.check(len(audio) == 1 and audio[0]["codec_name"].startswith("pcm_"),
                     "one PCM audio stream (found %s)" % [a["codec_name"] for a in audio])
    else:
        print("SKIP: PCM audio stream: the AVI Mux refused the audio pin, so the file has video only")
        report.check(len(audio) == 0, "no half-made audio stream")


def check_duration(report, sizes, r):
    """The source's counts must have been read; every delivered frame is in the file (see below), and
    every slot it gave up is an empty frame, so the file keeps the running time."""
    if not report.check(r.get("have_counts") == 1, "the source's delivered/skipped counts were read"):
        return False
    filled = sum(1 for s in sizes if s > 0)
    # The source's Pause never waits for its thread, so one frame recorded before the stop
    # may still be on its way when the graph stops the mux, which then refuses it (the tee
    # hands the source no branch's refusal). Any other difference is a frame lost inside.
    report.check(r["delivered"] - filled in (0, 1),
                 "every delivered frame is in the file, but for one in flight at Stop (%d delivered, %d in the file)"
                 % (r["delivered"], filled))
    report.check(r["skipped"] == len(sizes) - filled,
                 "skipped slots (%d) are the empty frames (%d)" % (r["skipped"], len(sizes) - filled))
    report.check(r["skipped"] > 0, "the slow stretch made the source skip slots (%d)" % r["skipped"])
    frame = 1.0 / r["fps"]
    duration = len(sizes) * frame
    wall = r["running_seconds"]
    # Wine starts stream time 200 ms after Run (tStart = clock + 200 ms): that much of each
    # run is never stream time, so it cannot be in the file either.
    start_latency = 0.2
    report.check(-2 * start_latency - frame <= duration - wall <= frame,
                 "duration %.3f s covers the %.3f s running, less up to %.1f s Wine start latency per run"
                 % (duration, wall, start_latency))
    return True


def cursor_drawn(frame, r):
    """True when the area under the cursor position differs from the plain grey background."""
    width = r["width"]
    for y in range(r["cursor_y"], r["cursor_y"] + 16):
        for x in range(r["cursor_x"], r["cursor_x"] + 10):
            p = (y * width + x) * 3
            if any(abs(c - 128) > 40 for c in frame[p:p + 3]):
                return True
    return False


def grey(frame, r, x, y):
    p = (y * r["width"] + x) * 3
    return all(abs(c - 128) <= 40 for c in frame[p:p + 3])


def tip_at_hot_spot(frame, r):
    """The arrow's hot spot is its tip: the cursor's first drawn pixel sits exactly at the
    cursor position, with nothing drawn left of it or above it."""
    x, y = r["cursor_x"], r["cursor_y"]
    return not grey(frame, r, x, y) and grey(frame, r, x - 1, y) and grey(frame, r, x, y - 1)


def image_at_hot_spot(frame, r, name):
    """Every pixel of the cursor's image, drawn on the region's grey, sits where the image's
    top-left corner is the cursor position less the cursor's hot spot."""
    left, top = r["cursor_x"] - r[name + "_hot_x"], r["cursor_y"] - r[name + "_hot_y"]
    w, h, pixels = r[name + "_width"], r[name + "_height"], r[name + "_pixels"]
    if not pixels or len(pixels) != w * h:
        return False
    for y in range(h):
        p = ((top + y) * r["width"] + left) * 3
        row = frame[p:p + 3 * w]
        if any((row[3 * x] << 16 | row[3 * x + 1] << 8 | row[3 * x + 2]) != pixels[y * w + x] for x in range(w)):
            return False
    return True


def check_cursor(report, frames, slots, resume_slot, r):
    before = [cursor_drawn(f, r) for f, s in zip(frames, slots) if s < resume_slot]
    after = [f for f, s in zip(frames, slots) if s >= resume_slot]
    drawn = [cursor_drawn(f, r) for f in after]
    report.check(not any(before), "no cursor drawn while no cursor-hook window exists (%d of %d frames)"
                 % (sum(before), len(before)))
    report.check(len(drawn) > 0 and all(drawn), "cursor drawn in every frame while the cursor-hook window exists"
                 " (%d of %d frames)" % (sum(drawn), len(drawn)))
    # The arrow until the region turned its cursor into an I-beam, then the I-beam.
    arrows = 0
    while arrows < len(after) and tip_at_hot_spot(after[arrows], r) and image_at_hot_spot(after[arrows], r, "arrow"):
        arrows += 1
    beams = [image_at_hot_spot(f, r, "ibeam") for f in after[arrows:]]
    report.check(arrows > 0, "the arrow, its tip exactly at the cursor position (hot spot %d,%d), in the first %d frames"
                 % (r["arrow_hot_x"], r["arrow_hot_y"], arrows))
    report.check(len(beams) > 0 and all(beams), "then the I-beam at the cursor position less its hot spot"
                 " %d,%d (%d of %d frames)" % (r["ibeam_hot_x"], r["ibeam_hot_y"], sum(beams), len(beams)))


def edge_faults(frame, r):
    """Pixels of the frame's first and last rows and columns that are not the colour the
    test window paints there (rows take the corners); (count, first fault)."""
    width, height = r["width"], r["height"]
    wanted = []
    for x in range(width):
        wanted += [(x, 0, r["edge_top"]), (x, height - 1, r["edge_bottom"])]
    for y in range(1, height - 1):
        wanted += [(0, y, r["edge_left"]), (width - 1, y, r["edge_right"])]
    faults = []
    for x, y, rgb in wanted:
        p = (y * width + x) * 3
        got = (frame[p] << 16) | (frame[p + 1] << 8) | frame[p + 2]
        if got != rgb:
            faults.append("(%d,%d) %06X, not %06X" % (x, y, got, rgb))
    return len(faults), (faults[0] if faults else "")


def check_edges(report, frames, r):
    """The frame holds exactly the region: its outermost pixels are the region's edges, not
    their grey neighbours inside nor the ring outside."""
    for name, frame in (("first", frames[0]), ("last", frames[-1])):
        count, first = edge_faults(frame, r)
        report.check(count == 0, "%s frame: every edge pixel is the region's own (%dx%d at an odd place; %d differ%s)"
                     % (name, r["width"], r["height"], count, ", first " + first if first else ""))


def check_continuity(report, frames, sizes, r):
    width = r["width"]
    # Empty chunks are the slots the source gave up; every other slot decodes to one frame.
    slots = [i for i, s in enumerate(sizes) if s > 0]
    if not report.check(len(frames) == len(slots), "decoded %d frames for %d filled slots" % (len(frames), len(slots))):
        return
    values = [(slot, read_barcode(f, width, 3, r["bar_x"], r["bar_y"], r["bits"], r["block_w"], r["block_h"]))
              for slot, f in zip(slots, frames)]
    torn = sum(1 for _, v in values if v is None)
    report.check(torn <= max(1, len(values) // 50), "barcode readable in %d of %d frames" % (len(values) - torn, len(values)))
    valid = [(s, v) for s, v in values if v is not None]
    ticks_per_slot = 1000.0 / r["fps"] / r["tick_ms"]
    # (slots apart in the file, counter ticks apart) for each pair of readable neighbours.
    steps = [(b[0] - a[0], b[1] - a[1]) for a, b in zip(valid, valid[1:])]
    if len(steps) < 3:
        report.check(False, "enough frames to check continuity")
        return
    # The pause is the one step whose counter jump is far beyond its slot distance.
    pause = max(range(len(steps)), key=lambda k: steps[k][1] - steps[k][0] * ticks_per_slot)
    slots_gap, pause_ticks = steps[pause]
    report.check(pause_ticks - slots_gap * ticks_per_slot >= 50,
                 "pause visible as one counter jump (%d ticks over %d slot)" % (pause_ticks, slots_gap))
    repeats = [k for k, (ds, dv) in enumerate(steps) if k != pause and dv <= 0]
    # Frame 0 is grabbed at the first slot of the running stream, not while the graph pauses:
    # the first step is one slot like the others, within 10 ms (a tick either way).
    first_extra = steps[0][1] - steps[0][0] * ticks_per_slot
    report.check(abs(first_extra) * r["tick_ms"] <= 10,
                 "first frame precedes the second by one slot (%d ticks, %.0f per slot)"
                 % (steps[0][1], ticks_per_slot))
    # Every later step, skipped slots included, must match the time the counter shows: a
    # frame lost on the way, a skip without its empty frame or a doubled frame shows here.
    tolerance = ticks_per_slot / 2
    gaps = [k for k, (ds, dv) in enumerate(steps)
            if k not in (0, pause) and abs(dv - ds * ticks_per_slot) > ds * tolerance + 1]
    print("# counter steps per slot:", sorted(set(dv for ds, dv in steps if ds == 1)))
    report.check(not repeats, "no repeated frames (%d found)" % len(repeats))
    report.check(not gaps, "no missing or doubled frames beyond skipped slots (%d odd steps: %s)"
                 % (len(gaps), [steps[k] for k in gaps[:5]]))
    check_cursor(report, frames, slots, valid[pause + 1][0], r)


def main():
    avi, results = sys.argv[1], sys.argv[2]
    report = Report()
    r = read_results(results)
    info = probe(avi)
    check_streams(report, info, r)
    sizes = slot_sizes(avi)
    if check_duration(report, sizes, r):
        frames = decode_frames(avi, r["width"], r["height"], "rgb24")
        if report.check(len(frames) > 0, "the file holds pictures (%d)" % len(frames)):
            check_edges(report, frames, r)
        check_continuity(report, frames, sizes, r)
    print("%d passed, %d failed" % (report.passed, report.failed))
    return 1 if report.failed else 0


if __name__ == "__main__":
    sys.exit(main())
