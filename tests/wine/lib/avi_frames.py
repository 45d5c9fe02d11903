"""What the Wine tests read back from a recorded AVI through ffprobe and ffmpeg: the frame
slots (an empty chunk is a slot the source gave up), the decoded pictures and the barcode
that the test windows draw into them (tests/wine/lib/barcode.h)."""
import subprocess


def probe_entries(path, stream, entries):
    out = subprocess.run(["ffprobe", "-v", "error", "-select_streams", stream, "-show_entries", entries,
                          "-of", "csv=p=0", path], check=True, capture_output=True, text=True).stdout
    return [line.strip() for line in out.splitlines() if line.strip()]


def slot_sizes(path):
    """Bytes in every video frame slot, 0 for an empty chunk. The demuxer leaves empty chunks
    out of its packets, so each packet's time stamp names its slot and the header the count."""
    rows = [line.split(",") for line in probe_entries(path, "v:0", "packet=pts,size:stream=nb_frames")]
    packets = [(int(r[0]), int(r[1])) for r in rows if len(r) == 2]
    totals = [int(r[0]) for r in rows if len(r) == 1 and r[0].isdigit()]
    sizes = [0] * max([totals[0] if totals else 0] + [pts + 1 for pts, _ in packets])
    for pts, size in packets:
        sizes[pts] = size
    return sizes


def decode_frames(path, width, height, pix_fmt):
    """The pictures of the filled slots, in order, as raw rows of "rgb24" or "gray" pixels."""
    raw = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-map", "0:v:0", "-fps_mode", "passthrough",
                          "-f", "rawvideo", "-pix_fmt", pix_fmt, "-"], check=True, capture_output=True).stdout
    size = width * height * (3 if pix_fmt == "rgb24" else 1)
    return [raw[i:i + size] for i in range(0, len(raw) - size + 1, size)]


def iter_frames(path, width, height, pix_fmt):
    """The same pictures one at a time, so an hour of video never sits in memory at once."""
    size = width * height * (3 if pix_fmt == "rgb24" else 1)
    with subprocess.Popen(["ffmpeg", "-v", "error", "-i", path, "-map", "0:v:0", "-fps_mode", "passthrough",
                           "-f", "rawvideo", "-pix_fmt", pix_fmt, "-"], stdout=subprocess.PIPE) as ffmpeg:
        while True:
            frame = ffmpeg.stdout.read(size)
            if len(frame) < size:
                break
            yield frame
    if ffmpeg.returncode != 0:
        raise subprocess.CalledProcessError(ffmpeg.returncode, "ffmpeg")


def read_barcode(frame, width, channels, bar_x, bar_y, bits, block_w, block_h):
    """The number in the frame's bar, or None when a bit and its complement agree (a grab
    that caught the bar half redrawn)."""
    y = bar_y + block_h // 2
    dark = []
    for i in range(2 * bits):
        p = (y * width + bar_x + i * block_w + block_w // 2) * channels
        dark.append(sum(frame[p:p + channels]) < channels * 128)
    value = 0
    for i in range(bits):
        if dark[i] == dark[bits + i]:
            return None
        value = (value << 1) | (1 if dark[i] else 0)
    return value
