#!/usr/bin/env python3
"""Writes the "Screen codec" section of docs/benchmarks.md from scripts/bench_codec.sh's
figures: per clip, each encoder's time and bytes per frame beside the raw size and the floor,
ours on 1 and 2 threads for the moving pictures, then the targets the codec is held to, each
marked met or missed. PREVIOUS.md is the section as the previous run wrote it (maybe empty):
the screen clips' time and size are held against it.

Usage: codec_figures.py RESULTS_FOLDER SECTION.md HEADING PREVIOUS.md CLIP...
"""
import re
import sys
from pathlib import Path

OURS = ["faster", "smaller"]
THEIRS = ["zmbv", "ffv1", "utvideo", "png"]
MOVING = {"scroll-lines", "scroll-pages", "drag"}
# Moving pictures: held to their own targets, and also timed on several threads.
PICTURES = {"zoom", "movie720", "movie1080"}
# Screen clips held against the previous run: time at most this much worse, size this much larger.
AGAINST_PREVIOUS = {"still", "typing", "scroll-lines", "scroll-pages", "drag"}
PREVIOUS_TIME = 1.10
PREVIOUS_SIZE = 1.02
# The moving picture whose encode must gain from a second thread, and by how much.
SCALING_CLIP = "movie1080"
TWO_THREADS_WALL = 0.6
TWO_THREADS_SIZE = 0.03
# The picture in a window: its time at Faster (ms a frame) and its size at Smaller against ffmpeg's zmbv.
WINDOW_CLIP = "zoom"
WINDOW_MS = 15
WINDOW_SIZE = 1.1


def info(path):
    values = {}
    for line in path.read_text().splitlines():
        key, _, value = line.partition("=")
        values[key] = value
    return values


def median(values):
    # The same picks as bench_zmbv's, so both sides are read alike.
    values = sorted(values)
    return values[len(values) // 2] if values else None


def p95(values):
    values = sorted(values)
    return values[min(len(values) - 1, len(values) * 95 // 100)] if values else None


def packets(path):
    """(bytes, is key) of each packet."""
    result = []
    for line in path.read_text().split():
        size, _, flags = line.partition(",")
        result.append((int(size), "K" in flags))
    return result


class Figures:
    """One encoder on one clip: times in ms over inter frames (all frames for encoders that
    only write key frames), key frame times apart, bytes from the packets."""

    def __init__(self, name, frames_ms, key_ms, cpu_ms, sizes, decode=None):
        self.name = name
        inter = [ms for ms, (_, key) in zip(frames_ms, sizes) if not key] if frames_ms else []
        intra_only = all(key for _, key in sizes)
        pool = frames_ms if intra_only else inter
        self.median = median(pool)
        self.p95 = p95(pool)
        self.key_ms = key_ms
        self.cpu = median(cpu_ms) if cpu_ms else None
        self.frames = len(sizes)
        self.bytes = sum(size for size, _ in sizes) / len(sizes)
        inter_sizes = [size for size, key in sizes if not key]
        self.inter_bytes = None if intra_only or not inter_sizes else sum(inter_sizes) / len(inter_sizes)
        self.intra_only = intra_only
        self.decode = decode


def ours(folder, effort, threads=None):
    stem = f"ours-{effort}" if threads is None else f"ours-{effort}-t{threads}"
    text = (folder / f"{stem}.txt").read_text()

    def field(kind, key):
        match = re.search(rf"{kind} frames \d+ .*?{key} ([0-9.]+)", text)
        return float(match.group(1)) if match else None

    sizes = packets(folder / f"{stem}.packets")
    name = f"ours, {effort}" if threads is None else f"ours, {effort}, {threads} thread{'s' if threads > 1 else ''}"
    fig = Figures(name, [], field("key", "median_ms"), [], sizes, (folder / f"{stem}.decode").read_text().strip())
    fig.cpu = field("inter-cpu", "median_ms")
    # bench_zmbv keeps its per-frame times to itself: its median and p95 over inter frames.
    fig.median = field("inter", "median_ms")
    fig.p95 = field("inter", "p95_ms")
    # Every frame, key frames too: index, key, wall ms, CPU ms (all threads), bytes.
    rows = [line.split("\t") for line in (folder / f"{stem}.frames").read_text().splitlines()]
    fig.wall_mean = sum(float(r[2]) for r in rows) / len(rows) if rows else None
    fig.work_mean = sum(float(r[3]) for r in rows) / len(rows) if rows else None
    fig.threads = threads
    load = folder / f"{stem}.load"
    fig.load = load.read_text().strip() if load.exists() else "?"
    return fig


def threaded(folder, counts):
    """Ours on each thread count that was run, both efforts: {(effort, threads): Figures}."""
    runs = {}
    for effort in OURS:
        for threads in counts:
            if (folder / f"ours-{effort}-t{threads}.txt").exists():
                runs[(effort, threads)] = ours(folder, effort, threads)
    return runs


def previous_figures(path):
    """{(clip, effort): (median ms, CPU median ms, bytes/frame of the clip)} from the previous
    run's section: each clip's table row of ours."""
    figures, clip = {}, None
    text = path.read_text() if path.exists() else ""
    for line in text.splitlines():
        if line.startswith("### "):
            clip = line[4:].strip()
            continue
        cells = [c.strip() for c in line.strip("|").split("|")]
        if clip and len(cells) >= 6 and cells[0] in (f"ours, {e}" for e in OURS):
            try:
                figures[(clip, cells[0][6:])] = (float(cells[1]), float(cells[4]), float(cells[5].replace(",", "")))
            except ValueError:
                pass
    return figures


def theirs(folder, codec):
    rows = [line.split() for line in (folder / f"ffmpeg-{codec}.frames").read_text().splitlines()]
    wall = [int(r[0]) / 1000 for r in rows]
    cpu = [int(r[1]) / 1000 for r in rows]
    sizes = packets(folder / f"ffmpeg-{codec}.packets")
    if len(wall) != len(sizes):
        sys.exit(f"codec_figures: {folder.name} {codec}: {len(wall)} timed frames, {len(sizes)} packets")
    keys = [ms for ms, (_, key) in zip(wall, sizes) if key]
    intra_only = all(key for _, key in sizes)
    fig = Figures(f"ffmpeg {codec}", wall, None if intra_only else median(keys), cpu, sizes)
    return fig


def floor(folder):
    text = (folder / "floor.txt").read_text()
    med = float(re.search(r"median_ms ([0-9.]+)", text).group(1))
    high = float(re.search(r"p95_ms ([0-9.]+)", text).group(1))
    rows = int(re.search(r"changed_rows_per_frame (\d+)", text).group(1))
    return med, high, rows


def ms(value):
    return "–" if value is None else f"{value:.1f}" if value >= 10 else f"{value:.2f}"


def size(value):
    return "–" if value is None else f"{value:,.0f}"


def ratio(value):
    return f"1/{1 / value:.0f}" if value < 0.1 else f"{value:.2f}"


def clip_table(clip, folder, raw_bytes, figures, floor_figures):
    meta = info(folder / "clip.info")
    lines = [f"### {clip}", "",
             f"{meta['what']}; {meta['frames']} frames grabbed at {meta['grab_fps']} frames/s.", "",
             "| encoder | median ms | p95 ms | key frame ms | CPU median ms | bytes/frame, clip | bytes/inter frame | decodes |",
             "|---|---|---|---|---|---|---|---|"]
    for fig in figures:
        decode = fig.decode or "–"
        lines.append(f"| {fig.name} | {ms(fig.median)} | {ms(fig.p95)} | {ms(fig.key_ms)} | {ms(fig.cpu)} | "
                     f"{size(fig.bytes)} | {'all key' if fig.intra_only else size(fig.inter_bytes)} | {decode} |")
    med, high, rows = floor_figures
    lines.append(f"| compare of two frames (floor) | {ms(med)} | {ms(high)} | | | | | |")
    lines.append(f"| raw | | | | | {size(raw_bytes)} | | |")
    lines.append("")
    lines.append(f"Rows changed per frame (mean): {rows} of {meta['size'].split('x')[1]}.")
    lines.append("")
    return lines


def thread_table(clip, runs):
    """Ours on 1 and 2 threads: wall and work a frame (means over every frame, medians over
    inter frames), and what 4 and 8 cores could give."""
    lines = []
    for effort in OURS:
        one = runs.get((effort, 1))
        for (e, threads), fig in sorted(runs.items()):
            if e != effort:
                continue
            wall_ratio = f"{fig.wall_mean / one.wall_mean:.2f}" if one and threads != 1 else "–"
            size_ratio = f"{fig.bytes / one.bytes:.3f}" if one and threads != 1 else "–"
            lines.append(f"| {clip} | {effort} | {threads} | {ms(fig.wall_mean)} | {ms(fig.median)} | "
                         f"{ms(fig.work_mean)} | {ms(fig.cpu)} | {size(fig.bytes)} | {fig.decode} | {wall_ratio} | "
                         f"{size_ratio} | {scaling(one, runs.get((effort, 2)), 4)} | {scaling(one, runs.get((effort, 2)), 8)} | "
                         f"{fig.load} |")
    return lines


def scaling(one, two, cores):
    """The wall time a frame on that many cores: the least (work / cores, the work of the
    2-thread run where there is one, as slicing may add to it), and Amdahl's law with the
    serial share read from the 1- and 2-thread walls (s = 2 * ratio - 1)."""
    if not one:
        return "–"
    least = (two or one).work_mean / cores
    if not two:
        return f"≥ {ms(least)}"
    serial = min(1.0, max(0.0, 2 * two.wall_mean / one.wall_mean - 1))
    return f"≥ {ms(least)}, ~{ms(one.wall_mean * (serial + (1 - serial) / cores))}"


def picture_targets(clip, figures, runs):
    """The moving pictures' own targets: a second thread on the 1080p film, the window's
    time and size."""
    by = {fig.name: fig for fig in figures}
    rows = []

    def cell(value, ok, show):
        return "–" if value is None else f"{show(value)} {'met' if ok(value) else '**missed**'}"

    def row(what, goal, values, ok, show=ratio):
        rows.append(f"| {clip} | {what} | {goal} | {' | '.join(cell(v, ok, show) for v in values)} |")

    row("ffmpeg decodes every frame exactly, every thread count", "yes",
        ["exact" if all(f.decode == "exact" for f in [by[f"ours, {e}"]] + [r for (x, _), r in runs.items() if x == e])
         else "MISMATCH" for e in OURS], lambda v: v == "exact", str)
    if clip == SCALING_CLIP and all((e, t) in runs for e in OURS for t in (1, 2)):
        row("wall a frame, 2 threads / 1 thread (means)", f"≤ {TWO_THREADS_WALL}",
            [runs[(e, 2)].wall_mean / runs[(e, 1)].wall_mean for e in OURS], lambda v: v <= TWO_THREADS_WALL,
            lambda v: f"{v:.2f}")
        row("size, 2 threads / 1 thread", f"within {TWO_THREADS_SIZE:.0%}",
            [runs[(e, 2)].bytes / runs[(e, 1)].bytes for e in OURS], lambda v: abs(v - 1) <= TWO_THREADS_SIZE,
            lambda v: f"{v:.3f}")
    if clip == WINDOW_CLIP:
        row("median ms, Faster, 1 thread", f"≤ {WINDOW_MS}", [by["ours, faster"].median, None],
            lambda v: v <= WINDOW_MS, ms)
        row("size / ffmpeg zmbv, clip, Smaller", f"≤ {WINDOW_SIZE}",
            [None, by["ours, smaller"].bytes / by["ffmpeg zmbv"].bytes], lambda v: v <= WINDOW_SIZE)
    rows.append(f"| {clip} | bytes/frame beside ffmpeg zmbv {size(by['ffmpeg zmbv'].bytes)}, ffv1 "
                f"{size(by['ffmpeg ffv1'].bytes)} and utvideo {size(by['ffmpeg utvideo'].bytes)} | | "
                f"{size(by['ours, faster'].bytes)} | {size(by['ours, smaller'].bytes)} |")
    return rows


def previous_rows(clip, figures, previous):
    """Time and size against the previous run's, for the screen clips."""
    rows = []
    by = {fig.name: fig for fig in figures}
    checks = [("time / previous run (wall medians)", f"≤ {PREVIOUS_TIME}", lambda f, p: f.median / p[0], PREVIOUS_TIME),
              ("time / previous run (CPU medians)", f"≤ {PREVIOUS_TIME}", lambda f, p: f.cpu / p[1], PREVIOUS_TIME),
              ("size / previous run, clip", f"≤ {PREVIOUS_SIZE}", lambda f, p: f.bytes / p[2], PREVIOUS_SIZE)]
    for what, goal, value_of, limit in checks:
        cells = []
        for effort in OURS:
            before = previous.get((clip, effort))
            if before is None or min(before) <= 0:
                cells.append("–")
                continue
            value = value_of(by[f"ours, {effort}"], before)
            cells.append(f"{value:.2f} {'met' if value <= limit else '**missed**'}")
        if any(c != "–" for c in cells):
            rows.append(f"| {clip} | {what} | {goal} | {' | '.join(cells)} |")
    return rows


def target_rows(clip, raw_bytes, figures, floor_figures):
    by = {fig.name: fig for fig in figures}
    zmbv = by["ffmpeg zmbv"]
    rows = []

    def row(what, goal, check, value_of, show=ratio):
        cells = []
        for effort in OURS:
            value = value_of(by[f"ours, {effort}"])
            cells.append(f"{show(value)} {'met' if check(value) else '**missed**'}")
        rows.append(f"| {clip} | {what} | {goal} | {' | '.join(cells)} |")

    time_goal = 1 / 10 if clip in MOVING else 1 / 3
    row("time / ffmpeg zmbv (wall medians)", f"≤ 1/{round(1 / time_goal)}", lambda v: v <= time_goal,
        lambda f: f.median / zmbv.median)
    row("time / ffmpeg zmbv (CPU medians)", f"≤ 1/{round(1 / time_goal)}", lambda v: v <= time_goal,
        lambda f: f.cpu / zmbv.cpu)
    if clip in MOVING:
        row("size / ffmpeg zmbv, clip", "< 1", lambda v: v < 1, lambda f: f.bytes / zmbv.bytes)
        row("size / ffmpeg zmbv, inter frames", "< 1", lambda v: v < 1, lambda f: f.inter_bytes / zmbv.inter_bytes)
    else:
        row("size / ffmpeg zmbv, clip", "≤ 1.15", lambda v: v <= 1.15, lambda f: f.bytes / zmbv.bytes)
        row("size / ffmpeg zmbv, inter frames", "≤ 1.15", lambda v: v <= 1.15,
            lambda f: f.inter_bytes / zmbv.inter_bytes)
    row("ffmpeg decodes every frame exactly", "yes", lambda v: v == "exact", lambda f: f.decode, str)
    row("size / raw", "≤ 1/50", lambda v: v <= 1 / 50, lambda f: f.bytes / raw_bytes)
    if clip in ("still", "typing"):
        row("median / compare floor", "≤ 3", lambda v: v <= 3, lambda f: f.median / floor_figures[0])
    if clip in ("pictures", "video"):
        row("median ms", "≤ 15", lambda v: v <= 15, lambda f: f.median, ms)
        rows.append(f"| {clip} | bytes/frame beside ffv1 {size(by['ffmpeg ffv1'].bytes)} and utvideo "
                    f"{size(by['ffmpeg utvideo'].bytes)} | | {size(by['ours, faster'].bytes)} | "
                    f"{size(by['ours, smaller'].bytes)} |")
    return rows


def threads_section(rows):
    if not rows:
        return []
    return [
        "### Ours on 1 and 2 threads (moving pictures)", "",
        "The encoder handed a runner of that many standard threads (bench_zmbv `--threads`). Wall: the",
        "time of each call; work: the CPU time of the whole process over the call, every thread",
        "summed. Means over every frame (key frames too), medians over the inter frames. \"4/8 cores\":",
        "the least wall a frame that many cores could reach (work / cores, the 2-thread run's work),",
        "then Amdahl's law with the serial share read from the 1- and 2-thread walls",
        "(s = 2 x ratio - 1). The load average (1, 5, 15 minutes) when each run began: on a machine",
        "shared with other work the wall times hold waits for a core.", "",
        "| clip | effort | threads | wall ms, mean | wall ms, median | work ms, mean | work ms, median | "
        "bytes/frame | decodes | wall / 1 thread | size / 1 thread | 4 cores (ms) | 8 cores (ms) | load average |",
        "|---|---|---|---|---|---|---|---|---|---|---|---|---|---|",
        *rows, ""]


def main():
    results, section, heading, previous = Path(sys.argv[1]), Path(sys.argv[2]), sys.argv[3], Path(sys.argv[4])
    clips = sys.argv[5:]
    machine = info(results / "machine.info")
    before = previous_figures(previous)
    tables, targets, summary, threads = [], [], [], []
    for clip in clips:
        folder = results / clip
        width, height = map(int, info(folder / "clip.info")["size"].split("x"))
        raw_bytes = width * height * 4
        figures = [ours(folder, e) for e in OURS] + [theirs(folder, c) for c in THEIRS]
        floor_figures = floor(folder)
        tables += clip_table(clip, folder, raw_bytes, figures, floor_figures)
        if clip in PICTURES:
            runs = threaded(folder, range(1, 65))
            threads += thread_table(clip, runs)
            targets += picture_targets(clip, figures, runs)
            summary += [f"{clip}: {fig.name} wall {ms(fig.wall_mean)} ms, work {ms(fig.work_mean)} ms a frame, "
                        f"{size(fig.bytes)} bytes/frame" for fig in runs.values()]
        else:
            targets += target_rows(clip, raw_bytes, figures, floor_figures)
        if clip in AGAINST_PREVIOUS:
            targets += previous_rows(clip, figures, before)
        summary += [f"{clip}: {fig.name} median {ms(fig.median)} ms, {size(fig.bytes)} bytes/frame" for fig in figures]
    missed = sum(row.count("**missed**") for row in targets)
    met = sum(row.count(" met") for row in targets)
    text = [
        f"## {heading}", "",
        "Our ZMBV encoder (bench_zmbv, both efforts) beside ffmpeg's lossless encoders on a corpus of",
        "real screens: Wine's notepad and zdesk windows on Xvfb at 1920x1080, typed into, scrolled,",
        "dragged with xdotool, grabbed once with ffmpeg's x11grab as raw BGRX frames",
        "(scripts/make_codec_corpus.sh), so every encoder gets the very same frames.",
        f"ffmpeg {machine['ffmpeg']}, {machine['cpu']}, {machine['cores']} cores shared with other work "
        f"(load average {machine['load']} when the run began), measured {machine['date']}.", "",
        "- Times are wall-clock milliseconds per frame for everyone, median and 95th percentile over",
        "  the inter frames, key frames apart, as each encoder marks them (utvideo and png mark every",
        "  frame key, so all their frames count; ffv1 marks where it starts its contexts afresh).",
        "  Ours: bench_zmbv's timing around each call of the encoder. ffmpeg's: `-benchmark_all`,",
        "  which prints the time of each call into the encoder in the same run (the conversion to",
        "  utvideo's and png's pixel formats is a filter before it and not counted). On a loaded",
        "  machine the wall time holds waits for the core, so the CPU time of each frame is given",
        "  too: ffmpeg's user plus system time, ours the CPU time of the whole process, every thread",
        "  summed (bench_zmbv): the work a frame takes.",
        "- One thread each, one encode at a time. ffmpeg's zmbv with `-keyint_min 150` (it takes its",
        "  key frame interval from there, not from `-g`), the interval of ours, so each writes one",
        "  key frame per clip; ffv1 with its default settings; utvideo on RGB planes",
        "  (`-pix_fmt gbrp`); png as rgb24.",
        "- Bytes are the packets' (ffprobe), without the container. \"bytes/frame, clip\" holds the",
        "  clip's key frame; on clips this short the key frame weighs much, so inter frames apart too.",
        "- The floor is a full compare of each frame with the one before (memcmp row by row,",
        "  bench_frame_compare), what any encoder of screens must at least do.",
        "- \"decodes\": ffmpeg decodes our file to the grabbed frames, every B, G and R byte of every",
        "  frame (framemd5). The fourth byte is padding: the grabbed frames hold 0xff there in",
        "  parts of what Wine drew, our encoder writes 0 there.", "",
        f"### Targets ({met} met, {missed} missed)", "",
        "| clip | measure | target | ours, faster | ours, smaller |", "|---|---|---|---|---|",
        *targets, "",
        "Moving pictures (zoom, movie720, movie1080): held to their own targets: ffmpeg decodes",
        f"every frame at every thread count; on {SCALING_CLIP}, 2 threads take at most {TWO_THREADS_WALL} of 1",
        f"thread's wall time a frame and write within {TWO_THREADS_SIZE:.0%} of its bytes; in the zoom window, at most",
        f"{WINDOW_MS} ms a frame at Faster on 1 thread and at most {WINDOW_SIZE} times ffmpeg zmbv's bytes at Smaller.",
        "The screen clips (still, typing, scrolling, drag) are also held against the previous run's",
        f"figures in this section: time at most {PREVIOUS_TIME:.2f} times, size at most {PREVIOUS_SIZE:.2f} times.", "",
        *threads_section(threads),
        *tables,
        "Command: `scripts/bench_codec.sh [corpus folder] [testbin folder]` (makes the corpus with",
        "scripts/make_codec_corpus.sh when it is missing; the figures stay in build/codec-bench).",
        "`BENCH_CLIPS=\"zoom movie720 movie1080\" BENCH_SECTION=\"HEADING\"` runs some clips into a section of",
        "their own; `BENCH_THREADS=\"1 2\"` are the thread counts of the moving pictures' runs.", "",
    ]
    section.write_text("\n".join(text) + "\n")
    print("\n".join(summary))
    print(f"targets: {met} met, {missed} missed")


if __name__ == "__main__":
    main()
