#!/usr/bin/env python3
"""Reads a recording made while zdesk clock showed the machine clock inside the region and
the test audio device clicked at every whole second of the same clock, and prints facts for
the test to check, one "key: value" per line:

  frames / filled / decoded   video slots in the file / slots holding a picture (a dropped
                          grab leaves an empty one) / pictures whose clock bar could be read
  first_step_ms           clock distance between the first two frames (slot_ms when exact)
  first_frame_offset_ms   how far the first frame's clock lies from its run's line (the
                          median of every frame's clock less its slot's time), 0 when the
                          first picture was grabbed as punctually as the run's typical one
  segments                runs of frames without a pause jump, with their clock seconds
  click                   one line per click: its time in the file, the time of the first
                          frame showing that second, the time at which the video's clock
                          passes it (between two frames, on the line through them), the
                          time at which its run's line passes it (the median of the run's
                          frames' clock less their slot time), and the click's offset from each
  clicks_per_segment, max_frame_offset_ms, max_local_offset_ms (from the two frames),
  max_offset_ms (from the run's line), unmatched_clicks, unmatched_seconds

Usage: check_av_sync.py FILE.avi BAR_X BAR_Y
BAR_X, BAR_Y: the bar's top-left corner in the frame. The layout numbers below repeat
kClockShape in tests/wine/desk/desk_clock.cpp.
"""
import subprocess
import sys

from avi_frames import iter_frames, probe_entries, read_barcode, slot_sizes

BITS = 20
MODULO = 1000000
BLOCK_W = 12
BLOCK_H = 24
CLICK_LEVEL = 16000      # the tone stays below 8000, a click starts at 30000
CLICK_MS = 4             # a click's length: every sample of it is loud (kClickMs of the device)
PAUSE_JUMP_MS = 300      # a clock step this much longer than the slots between two frames is a
                         # pause: the shortest pause (0.3 s) plus the 200 ms stream time resumes behind


def video_geometry(path):
    width, height, rate = probe_entries(path, "v:0", "stream=width,height,r_frame_rate")[0].split(",")
    num, den = rate.split("/")
    return int(width), int(height), float(num) / float(den)


def audio_samples(path):
    """Mono signed 16-bit samples (first channel) and the rate."""
    fields = probe_entries(path, "a:0", "stream=sample_rate,channels")
    if not fields:
        return [], 0
    rate, channels = (int(v) for v in fields[0].split(","))
    raw = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-map", "0:a:0", "-f", "s16le", "-acodec",
                          "pcm_s16le", "-"], check=True, capture_output=True).stdout
    count = len(raw) // (2 * channels)
    samples = memoryview(raw[:count * 2 * channels]).cast("h")
    return samples[::channels], rate


def click_times(samples, rate):
    """Where each click starts. A click is a run of loud samples CLICK_MS long; two seconds
    that pass on either side of a pause can put two clicks close together, even touching,
    so a longer run counts as that many clicks."""
    length = max(1, rate * CLICK_MS // 1000)
    times = []
    i, n = 0, len(samples)
    while i < n:
        if -CLICK_LEVEL <= samples[i] <= CLICK_LEVEL:
            i += 1
            continue
        j = i
        while j < n and not -CLICK_LEVEL <= samples[j] <= CLICK_LEVEL:
            j += 1
        times += [(i + k * length) / rate for k in range(max(1, round((j - i) / length)))]
        i = j
    return times


def frame_clocks(path, width, height, bar_x, bar_y):
    """The clock (ms) read from every video slot, None where unreadable or empty."""
    sizes = slot_sizes(path)
    slots_of = [i for i, size in enumerate(sizes) if size > 0]
    read = [read_barcode(frame, width, 1, bar_x, bar_y, BITS, BLOCK_W, BLOCK_H)
            for frame in iter_frames(path, width, height, "gray")]
    print("filled: %d" % len(read))
    slots = slots_of if len(read) == len(slots_of) else list(range(len(read)))
    clocks = [None] * max(len(sizes), (slots[-1] + 1) if slots else 0)
    for slot, value in zip(slots, read):
        clocks[slot] = value
    return clocks


def unwrap(clocks):
    out = []
    base = 0
    previous = None
    for c in clocks:
        if c is None:
            out.append(None)
            continue
        if previous is not None and c + base < previous - MODULO // 2:
            base += MODULO
        out.append(c + base)
        previous = c + base
    return out


def main():
    path, bar_x, bar_y = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    width, height, fps = video_geometry(path)
    slot_s = 1.0 / fps
    clocks = unwrap(frame_clocks(path, width, height, bar_x, bar_y))
    known = [(i, c) for i, c in enumerate(clocks) if c is not None]
    print("frames: %d" % len(clocks))
    print("decoded: %d" % len(known))
    print("slot_ms: %.1f" % (slot_s * 1000))
    if len(clocks) >= 2 and clocks[0] is not None and clocks[1] is not None:
        print("first_step_ms: %d" % (clocks[1] - clocks[0]))
    else:
        print("first_step_ms: unreadable")

    # Segments: consecutive readable frames whose clock steps stay short.
    segments = []
    for (i, c), nxt in zip(known, known[1:] + [None]):
        if not segments or segments[-1]["open"] is False:
            segments.append({"frames": [], "open": True})
        segments[-1]["frames"].append((i, c))
        if nxt is None or nxt[1] - c > PAUSE_JUMP_MS + (nxt[0] - i) * slot_s * 1000:
            segments[-1]["open"] = False
    print("segments: %d" % len(segments))

    # The first frame against its run's line rather than against the second frame alone:
    # the second grab may come late in its slot (the source keeps a late slot) and either
    # picture of the clock window may be a redraw old, while a kept cue picture lies the
    # whole run-up (200 ms and more) before the line.
    # Each run's line: where its clock stands at the start of the file's time, the median
    # over its frames. One frame grabbed late in its slot (a busy machine wakes the
    # streaming thread late) or one picture a redraw old moves the line through two
    # neighbours by as much, not the run's line; a run whose sound or pictures are shifted
    # moves it whole.
    for seg in segments:
        ahead = sorted(c - i * slot_s * 1000 for i, c in seg["frames"])
        seg["line_ms"] = ahead[len(ahead) // 2]
    if segments and clocks[0] is not None and segments[0]["frames"][0][0] == 0:
        print("first_frame_offset_ms: %.1f" % (clocks[0] - segments[0]["line_ms"]))
    else:
        print("first_frame_offset_ms: unreadable")

    # Where the video's clock passes each whole second: between two frames of a segment,
    # on the line through them (the clock runs at real speed between two grabs). A second
    # that passes within one slot before a run's first picture or after its last has no
    # frame on its other side: the clock's own speed places it from the one picture. Such a
    # second may also pass just outside the run's sound (before its start, after the pause),
    # so it need not have a click; a click it has is held to the same offset.
    crossings = []
    for k, seg in enumerate(segments):
        fr = seg["frames"]
        print("segment: %d frames %d-%d clock %.3f-%.3f s" % (k, fr[0][0], fr[-1][0], fr[0][1] / 1000.0,
                                                              fr[-1][1] / 1000.0))
        first_i, first_c = fr[0]
        if first_c % 1000 < slot_s * 1000:
            crossings.append({"second": first_c // 1000, "t": first_i * slot_s - (first_c % 1000) / 1000.0,
                              "segment": k, "frame_t": first_i * slot_s, "edge": True})
        for (i0, c0), (i1, c1) in zip(fr, fr[1:]):
            second = (c0 // 1000 + 1) * 1000
            if second > c1 or c1 == c0:
                continue
            t0, t1 = i0 * slot_s, i1 * slot_s
            t = t0 + (t1 - t0) * (second - c0) / (c1 - c0)
            # The first frame that shows the new second, by its own time in the file.
            crossings.append({"second": second // 1000, "t": t, "segment": k, "frame_t": t1})
        last_i, last_c = fr[-1]
        if 1000 - last_c % 1000 <= slot_s * 1000:
            crossings.append({"second": last_c // 1000 + 1, "t": last_i * slot_s + (1000 - last_c % 1000) / 1000.0,
                              "segment": k, "frame_t": (last_i + 1) * slot_s, "edge": True})

    samples, rate = audio_samples(path)
    clicks = click_times(samples, rate) if rate else []
    print("audio_rate: %d" % rate)
    print("clicks: %d" % len(clicks))
    print("seconds_passed: %d (%d at a run's edge)" % (len(crossings), sum(1 for c in crossings if c.get("edge"))))
    per_segment = [0] * len(segments)
    worst = 0.0
    worst_local = 0.0
    worst_frame = 0.0
    unmatched = 0
    used = set()
    for t in clicks:
        best = min(range(len(crossings)), key=lambda j: abs(crossings[j]["t"] - t), default=None)
        if best is None or abs(crossings[best]["t"] - t) > 0.5:
            unmatched += 1
            print("click: %.4f s matches no second passing in the video" % t)
            continue
        c = crossings[best]
        used.add(best)
        local_ms = (t - c["t"]) * 1000
        frame_ms = (t - c["frame_t"]) * 1000
        line_t = (c["second"] * 1000 - segments[c["segment"]]["line_ms"]) / 1000.0
        offset_ms = (t - line_t) * 1000
        worst = max(worst, abs(offset_ms))
        worst_local = max(worst_local, abs(local_ms))
        worst_frame = max(worst_frame, abs(frame_ms))
        per_segment[c["segment"]] += 1
        print("click: %.4f s, second %d: first frame showing it at %.4f s (%+.1f ms), clock passes it at %.4f s "
              "(%+.1f ms), run's line at %.4f s (%+.1f ms), run %d" % (t, c["second"], c["frame_t"], frame_ms, c["t"],
                                                                      local_ms, line_t, offset_ms, c["segment"]))
    print("clicks_per_segment: %s" % " ".join(str(n) for n in per_segment))
    print("max_frame_offset_ms: %.1f" % worst_frame)
    print("max_local_offset_ms: %.1f" % worst_local)
    print("max_offset_ms: %.1f" % worst)
    print("unmatched_clicks: %d" % unmatched)
    print("unmatched_seconds: %d" % sum(1 for j, c in enumerate(crossings) if j not in used and not c.get("edge")))
    return 0


if __name__ == "__main__":
    sys.exit(main())
