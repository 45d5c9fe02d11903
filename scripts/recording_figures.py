#!/usr/bin/env python3
"""The recording benchmark's readers (scripts/bench_recording.sh), one "key: value" a line.

  frames FILE.avi BAR_X BAR_Y PERIOD_MS [TIMES_FILE]
      reads zdesk's clock (redrawn every PERIOD_MS) from every frame of the recording:
      slots, filled, empty (slots the source gave up: a player shows the previous picture),
      repeated (a filled frame showing the same clock as the filled frame before it: the
      same picture grabbed twice), unreadable, the clock's steps between neighbouring
      frames and how late each grab was against its slot (from the clock it shows, relative
      to the earliest grab; the clock's own period blurs it by up to PERIOD_MS). With the
      timed source's step log (TIMES_FILE): when each grab began against its slot, how long
      the steps took, how old the clock picture was at each grab, and each repeat told as
      back-to-back grabs (less than PERIOD_MS apart: the source's doing) or as a clock that
      was not redrawn in time (the grabs a slot apart: the clock window's doing).
      Also the runs of slots in a row that show the previous picture again (empty, or a
      filled frame with the clock of the frame before): how many last more than 3 slots, and
      the longest.
  file FILE.avi WIDTH HEIGHT
      the file's bytes, the video packets' bytes per filled frame against the raw frame, and
      the decoded frames identical to the frame before them (ffmpeg framemd5).
  split TIMES_FILE
      the per-pin sums the filters wrote (kit/filter_timing.h) turned into each filter's
      own time: what came in (a source: its step) less what went on downstream.
  scene FOLDER ROUNDS FPS WIDTH HEIGHT HEADER
      the moving-picture section (BENCH_SCENE): a row per round.
"""
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "wine", "lib"))
from avi_frames import probe_entries, read_barcode, slot_sizes  # noqa: E402

# lib/check_av_sync.py and tests/wine/desk/desk_clock.cpp hold the same numbers.
BITS = 20
MODULO = 1000000
BLOCK_W = 12
BLOCK_H = 24


def percentile(values, p):
    if not values:
        return float("nan")
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(p / 100.0 * (len(ordered) - 1))))]


def bar_pictures(path, bar_x, bar_y):
    """Only the bar of every filled slot, cut out while decoding: whole 1080p frames would
    take gigabytes."""
    width = 2 * BITS * BLOCK_W
    raw = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-map", "0:v:0", "-fps_mode", "passthrough",
                          "-vf", "crop=%d:%d:%d:%d" % (width, BLOCK_H, bar_x, bar_y), "-f", "rawvideo",
                          "-pix_fmt", "gray", "-"], check=True, capture_output=True).stdout
    size = width * BLOCK_H
    return width, [raw[i:i + size] for i in range(0, len(raw) - size + 1, size)]


def read_steps(path):
    steps = {}
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            parts = line.rstrip("\n").split("\t")
            if parts[0] != "step":
                continue
            fields = dict(p.split("=", 1) for p in parts[1:])
            steps[int(fields["slot"])] = (float(fields["stream_ms"]), float(fields["begin_ms"]),
                                          float(fields["end_ms"]))
    return steps


def step_facts(steps, clocks, filled_slots, slot_ms, period_ms):
    late = [stream - slot * slot_ms for slot, (stream, _, _) in steps.items()]
    took = [end - begin for (_, begin, end) in steps.values()]
    print("grab_late_ms_p50_p95_max: %s" % " ".join("%.1f" % percentile(late, p) for p in (50, 95, 100)))
    print("step_took_ms_p50_p95_max: %s" % " ".join("%.1f" % percentile(took, p) for p in (50, 95, 100)))
    print("steps_longer_than_slot: %d" % sum(1 for t in took if t > slot_ms))
    # How old the clock picture was when the grab began (the clock counts modulo MODULO).
    age = []
    for slot, clock in clocks.items():
        if slot in steps:
            d = (steps[slot][1] - clock) % MODULO
            age.append(d - MODULO if d > MODULO / 2 else d)
    print("clock_age_ms_p50_p95_max: %s" % " ".join("%.1f" % percentile(age, p) for p in (50, 95, 100)))
    back_to_back = stalled = 0
    previous = None
    for slot in filled_slots:
        if slot not in clocks:
            previous = None
            continue
        if previous is not None and clocks[slot] == clocks[previous] and slot in steps and previous in steps:
            if steps[slot][1] - steps[previous][1] < period_ms:
                back_to_back += 1
            else:
                stalled += 1
        previous = slot
    print("repeats_back_to_back_grabs: %d" % back_to_back)
    print("repeats_clock_not_redrawn: %d" % stalled)


def frames(path, bar_x, bar_y, period_ms, times_path=None):
    rate = probe_entries(path, "v:0", "stream=r_frame_rate")[0]
    num, den = (float(v) for v in rate.split("/"))
    slot_ms = 1000.0 * den / num
    sizes = slot_sizes(path)
    filled_slots = [i for i, size in enumerate(sizes) if size > 0]
    width, pictures = bar_pictures(path, bar_x, bar_y)
    if len(pictures) != len(filled_slots):
        filled_slots = list(range(len(pictures)))
    clocks = {}
    base, previous = 0, None
    for slot, picture in zip(filled_slots, pictures):
        value = read_barcode(picture, width, 1, 0, 0, BITS, BLOCK_W, BLOCK_H)
        if value is None:
            continue
        if previous is not None and value + base < previous - MODULO // 2:
            base += MODULO
        clocks[slot] = value + base
        previous = value + base
    if pictures and not clocks:
        # Kept for a look when nothing could be read: the bar's first picture.
        with open(path + ".bar.pgm", "wb") as f:
            f.write(b"P5 %d %d 255\n" % (width, BLOCK_H) + pictures[0])
    with open(path + ".clocks", "w") as f:
        for slot in sorted(clocks):
            f.write("%d\t%d\t%.1f\n" % (slot, clocks[slot], clocks[slot] - slot * slot_ms))
    repeated, steps = 0, []
    last = None
    for slot in filled_slots:
        if slot not in clocks:
            last = None
            continue
        if last is not None:
            step = clocks[slot] - clocks[last]
            steps.append(step)
            if step == 0:
                repeated += 1
        last = slot
    # Lateness of each grab: the clock it shows against the slot's place on a line through
    # the earliest grab.
    offsets = [clocks[s] - s * slot_ms for s in sorted(clocks)]
    late = [o - min(offsets) for o in offsets] if offsets else []
    print("slots: %d" % len(sizes))
    print("slot_ms: %.2f" % slot_ms)
    print("filled: %d" % len(filled_slots))
    print("empty: %d" % (len(sizes) - len(filled_slots)))
    print("readable: %d" % len(clocks))
    print("repeated: %d" % repeated)
    print("repeated_share_pct: %.2f" % (100.0 * repeated / max(1, len(sizes))))
    print("seen_repeated_share_pct: %.2f" % (100.0 * (repeated + len(sizes) - len(filled_slots)) / max(1, len(sizes))))
    print("short_steps: %d" % sum(1 for s in steps if 0 < s < period_ms))
    print("step_ms_p5_p50_p95_max: %s" % " ".join(str(percentile(steps, p)) for p in (5, 50, 95, 100)))
    print("late_ms_p50_p95_max: %s" % " ".join("%.0f" % percentile(late, p) for p in (50, 95, 100)))
    print("repeat_slots: %s" % " ".join(str(s) for s, t in zip(sorted(clocks)[1:], steps) if t == 0)[:400])
    runs = repeat_runs(sizes, clocks)
    print("gaps_over_3_slots: %d" % sum(1 for r in runs if r > 3))
    print("longest_repeat_run: %d" % max(runs or [0]))
    grabs = read_steps(times_path) if times_path and os.path.exists(times_path) else {}
    if grabs:
        step_facts(grabs, clocks, filled_slots, slot_ms, period_ms)


def repeat_runs(sizes, clocks):
    """Lengths of the runs of slots in a row that show the previous picture again: empty
    slots, and filled ones showing the clock of the filled frame before. A frame whose clock
    cannot be read counts as new (it ends a run)."""
    runs, run, last = [], 0, None
    for slot, size in enumerate(sizes):
        if size > 0 and slot not in clocks:
            last = None
        elif size > 0 and (last is None or clocks[slot] != clocks[last]):
            last = slot
        else:
            run += 1
            continue
        if run:
            runs.append(run)
        run = 0
    if run:
        runs.append(run)
    return runs


def file_facts(path, width, height):
    sizes = slot_sizes(path)
    filled = [size for size in sizes if size > 0]
    md5s = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-map", "0:v:0", "-fps_mode", "passthrough",
                           "-f", "framemd5", "-"], check=True, capture_output=True, text=True).stdout
    sums = [line.split(",")[-1].strip() for line in md5s.splitlines() if line and not line.startswith("#")]
    raw = width * height * 4
    per_frame = sum(filled) / max(1, len(filled))
    print("file_bytes: %d" % os.path.getsize(path))
    print("file_bytes_per_slot: %.0f" % (os.path.getsize(path) / max(1, len(sizes))))
    print("video_bytes_per_frame: %.0f" % per_frame)
    print("raw_over_frame: %.1f" % (raw / per_frame if per_frame else float("nan")))
    print("decoded_frames: %d" % len(sums))
    print("md5_repeats: %d" % sum(1 for a, b in zip(sums, sums[1:]) if a == b))


def scene(folder, rounds, fps, width, height, header):
    rows = [dict(facts(os.path.join(folder, "shipped-%d.cpu" % r)), **facts(os.path.join(folder, "shipped-%d.frames" % r)))
            for r in range(1, int(rounds) + 1)]
    raw = int(width) * int(height) * 4
    print(header)
    print()
    print("| Round | load average (1, 5, 15 min) | slots | slots given up (empty) | pictures grabbed twice |"
          " MD5 repeats | repeat the previous picture (%) | gaps > 3 slots (longest run) |"
          " Zelvio.exe, % of a core | Zelvio.exe CPU per slot (ms) | bytes a frame (raw / it) | file bytes per slot |")
    print("|---|---|---|---|---|---|---|---|---|---|---|---|")
    for i, run in enumerate(rows, 1):
        core = 100.0 * float(run["cpu_ms_zelvio"]) / (1000.0 * float(run["wall_s"]))
        print("| %d | %s | %s | %s | %s | %s | %s | %s (%s) | %.0f %% | %.1f | %s (1/%s) | %s |" % (
            i, run.get("load", "?"), run["slots"], run["empty"], run["repeated"], run.get("md5_repeats", "?"),
            run["seen_repeated_share_pct"], run.get("gaps_over_3_slots", "?"), run.get("longest_repeat_run", "?"),
            core, float(run["cpu_ms_zelvio"]) / float(run["slots_measured"]),
            "{:,.0f}".format(float(run["video_bytes_per_frame"])), run["raw_over_frame"],
            "{:,.0f}".format(float(run["file_bytes_per_slot"]))))
    print()
    print("Raw frame: {:,} bytes. Unreadable clocks per round: {}.".format(
        raw, ", ".join(run.get("unreadable", str(int(run["filled"]) - int(run["readable"]))) for run in rows)))
    print()


def split(path):
    rows = []
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            fields = dict(part.split("=", 1) for part in line.rstrip("\n").split("\t") if "=" in part)
            if "filter" in fields:
                rows.append(fields)
    own = {}
    calls = {}
    order = []
    for r in rows:
        name, ms, n = r["filter"], float(r["ms"]), int(r["calls"])
        if name not in own:
            own[name] = 0.0
            order.append(name)
        if r["dir"] in ("in", "step"):
            own[name] += ms
            calls[name] = max(calls.get(name, 0), n)
        else:
            own[name] -= ms
            peer = r["peer"]
            # A peer that is not ours (Wine's renderer) reports nothing itself: its own time
            # is what the pin spent in it.
            if not any(x["filter"] == peer for x in rows):
                if peer not in own:
                    own[peer] = 0.0
                    order.append(peer)
                own[peer] += ms
                calls[peer] = max(calls.get(peer, 0), n)
    # A pin called from inside a filter without going through one of its output pins (the
    # writer's byte stream, which the mux calls directly) is still that filter's downstream.
    for r in rows:
        peer = r["peer"]
        if r["dir"] == "in" and peer in own and not any(
                x["filter"] == peer and x["dir"] == "out" and x["peer"] == r["filter"] for x in rows):
            own[peer] -= float(r["ms"])
    sources = {r["filter"] for r in rows if r["dir"] == "step"}
    for name in order:
        label = "source:" + name if name in sources else name
        print("own: %s\t%.1f\t%d" % (label, own[name], calls.get(name, 0)))


def facts(path):
    out = {}
    if os.path.exists(path):
        with open(path) as f:
            for line in f:
                key, _, value = line.rstrip("\n").partition(": ")
                if key == "thread":
                    out.setdefault("threads", []).append(value)
                elif key not in out:
                    out[key] = value
    return out


def median(values):
    values = sorted(values)
    if not values:
        return float("nan")
    mid = len(values) // 2
    return values[mid] if len(values) % 2 else (values[mid - 1] + values[mid]) / 2


def own_times(path):
    rows = []
    if os.path.exists(path):
        with open(path) as f:
            for line in f:
                if line.startswith("own: "):
                    name, ms, calls = line[5:].rstrip("\n").split("\t")
                    rows.append((name, float(ms), int(calls)))
    return rows


def report(folder, rounds, fps, record_s, load, header):
    """The markdown section: the shipped build's rounds for the whole program and the frames,
    the timed build's rounds for the split."""
    rounds = int(rounds)
    shipped = [dict(facts(os.path.join(folder, "shipped-%d.cpu" % r)), **facts(os.path.join(folder, "shipped-%d.frames" % r)))
               for r in range(1, rounds + 1)]
    timed = [dict(facts(os.path.join(folder, "timed-%d.cpu" % r)), **facts(os.path.join(folder, "timed-%d.frames" % r)))
             for r in range(1, rounds + 1)]

    def per_slot(run, key):
        return float(run["cpu_ms_" + key]) / float(run["slots_measured"])

    def idle_per_slot(run, key):
        return float(run["idle_cpu_ms_" + key]) / (float(run["idle_wall_s"]) * float(fps))

    def row(name, run):
        z, w, x = (per_slot(run, k) for k in ("zelvio", "wineserver", "xserver"))
        iz, iw, ix = (idle_per_slot(run, k) for k in ("zelvio", "wineserver", "xserver"))
        core = 100.0 * float(run["cpu_ms_zelvio"]) / (1000.0 * float(run["wall_s"]))
        return "| %s | %.0f %% | %.1f | %.1f | %.1f | %.1f / %.1f / %.1f | %s | %s | %s | %s |" % (
            name, core, z, w, x, iz, iw, ix, run["slots"], run["empty"], run["repeated"],
            run["seen_repeated_share_pct"])

    print(header)
    print()
    print("| Round | Zelvio.exe, share of a core | Zelvio.exe CPU per frame slot (ms) | wineserver (ms) |"
          " X server (ms) | the same three before Record, per slot (ms) | slots in the file |"
          " slots given up (empty) | pictures grabbed twice | frames a viewer sees repeated (%) |")
    print("|---|---|---|---|---|---|---|---|---|---|")
    for i, run in enumerate(shipped, 1):
        print(row("shipped source, round %d" % i, run))
    for i, run in enumerate(timed, 1):
        print(row("timed source, round %d" % i, run))
    print()
    zel = [per_slot(r, "zelvio") for r in shipped]
    seen = [float(r["seen_repeated_share_pct"]) for r in shipped + timed]
    print("Medians: Zelvio.exe %.1f ms of CPU per frame slot with the shipped source (%.0f %% of a core),"
          " frames seen repeated %.2f %% over all %d recordings." % (
              median(zel), median([100.0 * float(r["cpu_ms_zelvio"]) / (1000.0 * float(r["wall_s"])) for r in shipped]),
              median(seen), len(seen)))
    print()
    print("Per thread of Zelvio.exe (ms of CPU over the recording, shipped source): " +
          "; ".join("round %d: %s" % (i, ", ".join(t.split(" ")[-1] for t in run.get("threads", [])[:3]))
                    for i, run in enumerate(shipped, 1)) + ".")
    print()
    print("### Where the time of a frame goes (timed source)")
    print()
    splits = [own_times(os.path.join(folder, "timed-%d.split" % r)) for r in range(1, rounds + 1)]
    names = []
    for split in splits:
        for name, _, _ in split:
            if name not in names:
                names.append(name)
    print("| Filter | " + " | ".join("round %d: ms per frame" % r for r in range(1, rounds + 1)) + " |")
    print("|---|" + "---|" * rounds)
    for name in names:
        cells = []
        for split in splits:
            hit = [(ms, calls) for n, ms, calls in split if n == name]
            frames = max([c for n, _, c in split if n not in ("FilterFileWriter",)] or [1])
            cells.append("%.2f" % (hit[0][0] / frames) if hit else "-")
        label = LABELS["source"] if name.startswith("source:") else LABELS.get(name, name)
        print("| %s | %s |" % (label, " | ".join(cells)))
    for label, key in (("streaming thread's CPU per frame (/proc)", None),):
        cells = []
        for run, split in zip(timed, splits):
            frames = max([c for n, _, c in split if n not in ("FilterFileWriter",)] or [1])
            top = run.get("threads", [""])[0].split(" ")[-1]
            cells.append("%.2f" % (float(top) / frames) if top else "-")
        print("| %s | %s |" % (label, " | ".join(cells)))
    print()
    for i, run in enumerate(timed, 1):
        print("- round %d: grab late against its slot (ms, p50 p95 max) %s; step took (ms, p50 p95 max) %s;"
              " steps longer than a slot %s; age of the clock picture at the grab (ms, p50 p95 max) %s;"
              " repeats from back-to-back grabs %s, from a clock not redrawn in time %s" % (
                  i, run.get("grab_late_ms_p50_p95_max"), run.get("step_took_ms_p50_p95_max"),
                  run.get("steps_longer_than_slot"), run.get("clock_age_ms_p50_p95_max"),
                  run.get("repeats_back_to_back_grabs"), run.get("repeats_clock_not_redrawn")))


# The graph's names of the filters, as the program adds them.
LABELS = {
    "FilterFileWriter": "File Writer stand-in (its byte stream, called by the mux)",
    "FilterAviMux": "AVI Mux stand-in",
    "Zelvio Test Codec (dialog)": "test codec (pass-through)",
    "FilterInfiniteTeeVideo": "Infinite Pin Tee stand-in",
    "FilterNullRendererVideo": "Wine's Null Renderer (the tee's time in it)",
    "source": "push source (buffer, grab, stamp: its step less the delivery)",
}


def main():
    if len(sys.argv) == 8 and sys.argv[1] == "report":
        report(*sys.argv[2:])
        return
    if len(sys.argv) == 8 and sys.argv[1] == "scene":
        scene(*sys.argv[2:])
        return
    if len(sys.argv) == 5 and sys.argv[1] == "file":
        file_facts(sys.argv[2], int(sys.argv[3]), int(sys.argv[4]))
        return
    if len(sys.argv) >= 6 and sys.argv[1] == "frames":
        frames(sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5]),
               sys.argv[6] if len(sys.argv) > 6 else None)
    elif len(sys.argv) == 3 and sys.argv[1] == "split":
        split(sys.argv[2])
    else:
        print(__doc__)
        sys.exit(2)


if __name__ == "__main__":
    main()
