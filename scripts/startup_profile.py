#!/usr/bin/env python3
"""Turns the start-up traces of several runs into one table of medians.

Usage: startup_profile.py TRACE...   (each TRACE: a first line "start <us>" written by
bench_startup.sh from the driver, then the program's own "<us> <step>" lines)

Prints a Markdown table: for every step, in the order the program reached them, the median
time since the process was created and the median time the step itself took (since the
previous mark). Runs whose steps differ from the first run's are left out and counted.
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


def main(paths):
    runs = [read_trace(p) for p in paths]
    if not runs:
        print("no traces")
        return 1
    steps = [step for _, step in runs[0][1]]
    agreeing = [r for r in runs if [s for _, s in r[1]] == steps]
    since_start = [[] for _ in steps]
    own = [[] for _ in steps]
    for start, marks in agreeing:
        previous = start
        for i, (stamp, _) in enumerate(marks):
            since_start[i].append((stamp - start) / 1000.0)
            own[i].append((stamp - previous) / 1000.0)
            previous = stamp
    print("| Step reached | since process created (ms) | step took (ms) |")
    print("|---|---|---|")
    for i, step in enumerate(steps):
        print(f"| {step} | {statistics.median(since_start[i]):.1f} | {statistics.median(own[i]):.1f} |")
    print()
    print(f"Medians of {len(agreeing)} traced runs" +
          (f" ({len(runs) - len(agreeing)} left out: their steps differed)." if len(agreeing) < len(runs) else "."))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
