#!/usr/bin/env python3
"""Turns the start-up traces of several runs into one table of medians.

Usage: startup_profile.py TRACE...   (each TRACE: a first line "start <us>" written by
bench_startup.sh from the driver, then the program's own "<us> <step>" lines)

Prints a Markdown table: for every step, in the order the program reached them, the median
time since the process was created and the median time the step itself took (since the
previous mark in the same run).
"""
import statistics
import sys


def read_trace(path):
    start = None
    marks = []
    with open(path, encoding="utf-8", errors="replace") as trace:
        for line in trace:
            line = line.rstrip("\r\n")
            if not line:
                continue
            stamp, _, step = line.partition(" ")
            if stamp == "start":
                start = int(step)
                continue
            marks.append((int(stamp), step))
    if start is None:
        raise ValueError(f"{path}: no start line")
    return start, marks


def named_marks(marks):
    """Each mark under its step name; a name that comes again gets " (2)", " (3)", ..."""
    seen = {}
    named = []
    for stamp, step in marks:
        seen[step] = seen.get(step, 0) + 1
        named.append((stamp, step if seen[step] == 1 else f"{step} ({seen[step]})"))
    return named


def main(paths):
    runs = [read_trace(p) for p in paths]
    if not runs:
        print("no traces")
        return 1
    since_start = {}
    own = {}
    for start, marks in runs:
        previous = start
        for stamp, step in named_marks(marks):
            since_start.setdefault(step, []).append((stamp - start) / 1000.0)
            own.setdefault(step, []).append((stamp - previous) / 1000.0)
            previous = stamp
    # Steps in the order of their median time since the start; a step that not every run
    # reached says in how many it was.
    steps = sorted(since_start, key=lambda step: statistics.median(since_start[step]))
    print("| Step reached | since process created (ms) | step took (ms) |")
    print("|---|---|---|")
    for step in steps:
        label = step if len(since_start[step]) == len(runs) else f"{step} (in {len(since_start[step])} runs)"
        print(f"| {label} | {statistics.median(since_start[step]):.1f} | {statistics.median(own[step]):.1f} |")
    print()
    print(f"Medians of {len(runs)} traced runs.")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
