#!/usr/bin/env python3
"""Checks the AVI written by graphtest.exe: streams, size, rate, duration, and frame
continuity decoded from the counter barcode drawn inside the captured region.

Usage: check_avi.py <file.avi> <results.txt>
Prints one PASS/FAIL/SKIP line per check and "N passed, N failed"; exits non-zero on failure.
"""
import json
import subprocess
import sys


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
            if key:
                values[key] = float(value) if "." in value else int(value)
    return values


def probe(path):
    out = subprocess.run(["ffprobe", "-v", "error", "-show_streams", "-show_format", "-of", "json", path],
                         check=True, capture_output=True, text=True).stdout
    return json.loads(out)


def packet_sizes(path):
    """Bytes in every frame slot, 0 for an empty chunk. The demuxer leaves empty chunks out of
    its packets, so each packet's time stamp names its slot and the header the slot count."""
    out = subprocess.run(["ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries",
                          "packet=pts,size:stream=nb_frames", "-of", "csv=p=0", path],
                         check=True, capture_output=True, text=True).stdout
    rows = [line.split(",") for line in out.split() if line.strip()]
    packets = [(int(r[0]), int(r[1])) for r in rows if len(r) == 2]
    totals = [int(r[0]) for r in rows if len(r) == 1 and r[0].isdigit()]
    count = max([totals[0] if totals else 0] + [pts + 1 for pts, _ in packets])
    sizes = [0] * count
    for pts, size in packets:
        sizes[pts] = size
    return sizes


def decode_frames(path, width, height):
    raw = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-map", "0:v:0", "-fps_mode", "passthrough",
                          "-f", "rawvideo", "-pix_fmt", "rgb24", "-"], check=True, capture_output=True).stdout
    size = width * height * 3
    return [raw[i:i + size] for i in range(0, len(raw) - size + 1, size)]


def read_barcode(frame, width, r):
    """The counter in the frame, or None when the complement bits disagree (a torn grab)."""
    bits = r["bits"]
    y = r["bar_y"] + r["block_h"] // 2
    dark = []
    for i in range(2 * bits):
        x = r["bar_x"] + i * r["block_w"] + r["block_w"] // 2
        p = (y * width + x) * 3
        dark.append(sum(frame[p:p + 3]) < 3 * 128)
    value = 0
    for i in range(bits):
        if dark[i] == dark[bits + i]:
            return None
        value = (value << 1) | (1 if dark[i] else 0)
    return value


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
    frame = 1.0 / r["fps"]
    duration = len(sizes) * frame
    wall = r["running_seconds"]
    # Wine starts stream time 200 ms after Run (tStart = clock + 200 ms): that much of the
    # first run is never stream time, so it cannot be in the file either.
    start_latency = 0.2
    report.check(abs(duration - wall) <= frame + start_latency,
                 "duration %.3f s within one frame (+%.1f s Wine start latency) of %.3f s running"
                 % (duration, start_latency, wall))
    report.check(len(sizes) >= r["delivered"], "every delivered frame has a slot (%d slots, %d delivered)"
                 % (len(sizes), r["delivered"]))


def cursor_drawn(frame, r):
    """True when the area under the cursor position differs from the plain grey background."""
    width = r["width"]
    for y in range(r["cursor_y"], r["cursor_y"] + 16):
        for x in range(r["cursor_x"], r["cursor_x"] + 10):
            p = (y * width + x) * 3
            if any(abs(c - 128) > 40 for c in frame[p:p + 3]):
                return True
    return False


def check_cursor(report, frames, slots, resume_slot, r):
    before = [cursor_drawn(f, r) for f, s in zip(frames, slots) if s < resume_slot]
    after = [cursor_drawn(f, r) for f, s in zip(frames, slots) if s >= resume_slot]
    report.check(not any(before), "no cursor drawn while no cursor-hook window exists (%d of %d frames)"
                 % (sum(before), len(before)))
    report.check(len(after) > 0 and all(after), "cursor drawn in every frame while the cursor-hook window exists"
                 " (%d of %d frames)" % (sum(after), len(after)))


def check_continuity(report, frames, sizes, r):
    width = r["width"]
    filled = [i for i, s in enumerate(sizes) if s > 0]
    if len(frames) == len(filled):
        slots = filled
    elif len(frames) == len(sizes):
        slots = list(range(len(sizes)))
    else:
        report.check(False, "decoded %d frames for %d packets" % (len(frames), len(sizes)))
        return
    values = [(slot, read_barcode(f, width, r)) for slot, f in zip(slots, frames)]
    torn = sum(1 for _, v in values if v is None)
    report.check(torn <= max(1, len(values) // 50), "barcode readable in %d of %d frames" % (len(values) - torn, len(values)))
    valid = [(s, v) for s, v in values if v is not None]
    ticks_per_slot = 1000.0 / r["fps"] / r["tick_ms"]
    steps = [(b[0] - a[0], b[1] - a[1]) for a, b in zip(valid, valid[1:])]
    if not steps:
        report.check(False, "enough frames to check continuity")
        return
    # The pause is the one step whose counter jump is far beyond its slot distance.
    pause = max(range(len(steps)), key=lambda k: steps[k][1] - steps[k][0] * ticks_per_slot)
    slots_gap, pause_ticks = steps[pause]
    report.check(pause_ticks - slots_gap * ticks_per_slot >= 50,
                 "pause visible as one counter jump (%d ticks over %d slot)" % (pause_ticks, slots_gap))
    repeats = [k for k, (ds, dv) in enumerate(steps) if k != pause and dv <= 0 and sizes[valid[k + 1][0]] > 0]
    tolerance = ticks_per_slot / 2
    # Frame 0 is grabbed at the first slot of the running stream, not while the graph pauses:
    # the first step is one slot like the others, within 10 ms (a tick either way).
    first_extra = steps[0][1] - steps[0][0] * ticks_per_slot
    report.check(abs(first_extra) * r["tick_ms"] <= 10,
                 "first frame precedes the second by one slot (%d ticks, %.0f per slot)"
                 % (steps[0][1], ticks_per_slot))
    gaps = [k for k, (ds, dv) in enumerate(steps)
            if k not in (0, pause) and abs(dv - ds * ticks_per_slot) > ds * tolerance + 1]
    print("counter steps per slot:", sorted(set(dv for ds, dv in steps if ds == 1)))
    report.check(not repeats, "no repeated frames (%d found)" % len(repeats))
    report.check(not gaps, "no missing or doubled frames beyond skipped slots (%d odd steps: %s)"
                 % (len(gaps), [steps[k] for k in gaps[:5]]))
    check_cursor(report, frames, slots, valid[pause + 1][0], r)
    report.check(r["skipped"] == len(sizes) - len(filled) or len(frames) == len(sizes),
                 "skipped slots (%d) are the empty frames (%d)" % (r["skipped"], len(sizes) - len(filled)))


def main():
    avi, results = sys.argv[1], sys.argv[2]
    report = Report()
    r = read_results(results)
    info = probe(avi)
    check_streams(report, info, r)
    sizes = packet_sizes(avi)
    check_duration(report, sizes, r)
    check_continuity(report, decode_frames(avi, r["width"], r["height"]), sizes, r)
    print("%d passed, %d failed" % (report.passed, report.failed))
    return 1 if report.failed else 0


if __name__ == "__main__":
    sys.exit(main())
