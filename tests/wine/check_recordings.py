#!/usr/bin/env python3
"""Plays back, with the Linux ffprobe and ffmpeg, the videos the recording
tests made through the program (FOLDER/<test>/), and holds them against real
time. Each folder has an expected.txt of lines
    name shortest longest width height [turned]
    total first last seconds
    snapshot name from to
(lengths in seconds; "turned": the picture mirrored and upside down; a total
line gives the time the Recording dialog showed at the end of a recording
that began with the first video and ended with the last; a snapshot line
the times in the video between which a snapshot was taken) and a captures.txt
of "number time" lines: the virtual microscope numbered its frames in the
picture and kept the time each was captured at (100-ns units, "-" for a
frame sent without a time stamp).

Every video: codec, size, time stamps from 0 upwards, its length within the
expected range, a first picture that shows the microscope's ruler the right
way round in the right colours; every frame's number read from the picture,
its time stamp equal to its capture time (from the file's first frame) within
5 ms, and the video as long as the real time from its first frame's capture
to its last frame's and at most one frame more. Every total: the real time
from the first video's first frame to the last video's last frame. Around
each snapshot every frame the camera sent, and no step between frames longer
than the longest elsewhere by more than two frames."""
import glob
import json
import os
import subprocess
import sys

CODECS = {".mp4": {"h264"}, ".wmv": {"wmv3", "wmv2"}}  # WMV3 from Media Foundation, WMV2 from the fallback
NUMBER_BITS = 16  # rig_api.h: RIG_NUMBER_BITS
TICKS = 10_000_000  # 100-ns units in a second
STAMP_TOLERANCE = 0.005


def run(*command):
    return subprocess.run(command, check=True, capture_output=True, timeout=60).stdout


def place(x, y, width, height, turned):
    """Where a point of the microscope's picture (top-down) is in the video."""
    return (width - 1 - x, height - 1 - y) if turned else (x, y)


def landmarks(width, height):
    """Where the rig's picture (width / 32 pixels per millimetre) has its
    squares and paper: (x, y, RGB, name). An odd frame's video lacks a
    column and a row, which moves these by a pixel within p-sized squares."""
    p = width // 32
    return [(p, p, (220, 40, 40), "red square"), (width - p, height - p, (40, 70, 220), "blue square"),
            (width // 2, 100, (225, 215, 200), "paper")]


def frame_numbers(video, width, height, turned):
    """The number each frame of the video shows, in presentation order: the
    row of blocks below the moving mark (rig_scene.h), p x p pixels each."""
    p = width // 32
    top = height // 2 + p
    band_top = height - top - p if turned else top
    band = run("ffmpeg", "-v", "error", "-i", video, "-fps_mode", "passthrough", "-vf",
               f"crop={width}:{p}:0:{band_top}", "-f", "rawvideo", "-pix_fmt", "gray", "-")
    numbers = []
    for frame in range(len(band) // (width * p)):
        number = 0
        for k in range(NUMBER_BITS):
            x, _ = place((k + 2) * p + p // 2, 0, width, 1, turned)
            if band[frame * width * p + (p // 2) * width + x] < 128:
                number |= 1 << k
        numbers.append(number)
    return numbers


def read_captures(test):
    """Capture time (100-ns units, None when the frame had no time stamp) by
    frame number as the picture shows it (its low bits)."""
    path = os.path.join(test, "captures.txt")
    if not os.path.exists(path):
        return None
    captures = {}
    with open(path) as f:
        for number, time in (line.split() for line in f):
            captures[int(number) % (1 << NUMBER_BITS)] = None if time == "-" else int(time)
    return captures


def check_timing(video, times, seconds, width, height, turned, captures):
    """Every frame's time against its capture time; returns the capture times
    of the first and the last frame, the camera's step after the last and
    the frames' numbers."""
    numbers = frame_numbers(video, width, height, turned)
    assert len(numbers) == len(times), f"{len(numbers)} frames decoded, {len(times)} packets"
    unknown = [n for n in numbers if captures.get(n) is None]
    assert not unknown, f"frames without a capture time: {unknown[:5]}"
    assert all(b > a for a, b in zip(numbers, numbers[1:])), "frames out of order"
    first = captures[numbers[0]]
    errors = [abs(t - (captures[n] - first) / TICKS) for n, t in zip(numbers, times)]
    worst = max(range(len(errors)), key=errors.__getitem__)
    assert errors[worst] <= STAMP_TOLERANCE, \
        f"frame {worst} at {times[worst]:.4f} s was captured at {(captures[numbers[worst]] - first) / TICKS:.4f} s"
    last = captures[numbers[-1]]
    # The last frame lasts until the recording stopped, which was before the
    # camera's next frame: no longer than the frames before it lasted, or the
    # camera's step to its next frame (an ASF file keeps no last duration).
    after = captures.get((numbers[-1] + 1) % (1 << NUMBER_BITS))
    steps = [b - a for a, b in zip(times, times[1:])][-16:]
    if after is not None and after > last:
        steps.append((after - last) / TICKS)
    frame = max(steps, default=0)
    real = (last - first) / TICKS
    assert real - 0.002 <= seconds <= real + frame + 0.002, \
        f"{seconds:.3f} s long, its frames span {real:.3f} s of real time and then one of {frame:.3f} s"
    return first, last, frame, numbers, f"stamps within {errors[worst] * 1000:.1f} ms of the capture times"


def check_no_gap(numbers, times, at, until):
    """Around a snapshot taken between `at` and `until` seconds (from 0.2 s
    before to 0.3 s after) the video holds every frame the camera sent, and no step between
    them is longer than the longest elsewhere in the video by more than two
    frames: the snapshot neither drops frames nor holds the camera up."""
    inside = [k for k, t in enumerate(times) if at - 0.2 <= t <= until + 0.3]
    assert len(inside) > 1, f"no frames around {at:.2f} s"
    first, last = inside[0], inside[-1]
    missing = [n for a, b in zip(numbers[first:last + 1], numbers[first + 1:last + 1]) for n in range(a + 1, b)]
    assert not missing, f"frames {missing[:5]} missing around the snapshot at {at:.2f} s"
    steps = [b - a for a, b in zip(times, times[1:])]
    around = max(steps[first:last])
    elsewhere = max(steps[:first] + steps[last:], default=0)
    median = sorted(steps)[len(steps) // 2]
    assert around <= elsewhere + 2 * median, \
        f"a step of {around * 1000:.0f} ms around the snapshot at {at:.2f} s, at most {elsewhere * 1000:.0f} ms elsewhere"
    return (f"around the snapshot at {at:.2f} s no frame missing and steps of at most {around * 1000:.0f} ms "
            f"({elsewhere * 1000:.0f} ms elsewhere)")


def check_video(video, shortest, longest, width, height, turned, captures, snapshots):
    probe = json.loads(run("ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries",
                           "stream=codec_name,width,height,time_base:packet=pts,duration", "-of", "json", video))
    stream, packets = probe["streams"][0], probe["packets"]
    codecs = CODECS[os.path.splitext(video)[1]]
    assert stream["codec_name"] in codecs, f"codec {stream['codec_name']}"
    assert (stream["width"], stream["height"]) == (width, height), f"size {stream['width']}x{stream['height']}"
    num, den = map(int, stream["time_base"].split("/"))
    times = sorted(int(p["pts"]) * num / den for p in packets)  # presentation order
    assert times and times[0] == 0, f"first time stamp {times[:1]}"
    assert all(b > a for a, b in zip(times, times[1:])), "time stamps repeat"
    seconds = times[-1] + int(packets[-1].get("duration") or 0) * num / den
    assert shortest <= seconds <= longest, f"{seconds:.2f} s long, expected {shortest}..{longest}"

    rgb = run("ffmpeg", "-v", "error", "-i", video, "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "rgb24", "-")
    assert len(rgb) == width * height * 3, f"decoded {len(rgb)} bytes"
    for x, y, colour, name in landmarks(width, height):
        x, y = place(x, y, width, height, turned)
        at = (y * width + x) * 3
        got = tuple(rgb[at:at + 3])
        assert all(abs(a - b) <= 30 for a, b in zip(got, colour)), f"{name} at ({x}, {y}) is {got}, not {colour}"
    assert captures is not None, "no captures.txt"
    first, last, step, numbers, timing = check_timing(video, times, seconds, width, height, turned, captures)
    for at in snapshots:
        timing += ", " + check_no_gap(numbers, times, *at)
    return (first, last, step), f"{len(packets)} frames in {seconds:.2f} s, {timing}, {os.path.getsize(video)} bytes"


def read_expected(test):
    videos, totals, snapshots = {}, [], {}
    with open(os.path.join(test, "expected.txt")) as f:
        for fields in (line.split() for line in f):
            if fields[0] == "total":
                totals.append((fields[1], fields[2], float(fields[3])))
            elif fields[0] == "snapshot":
                snapshots.setdefault(fields[1], []).append((float(fields[2]), float(fields[3])))
            else:
                name, low, high, w, h, *flags = fields
                videos[name] = (float(low), float(high), int(w), int(h), "turned" in flags)
    return videos, totals, snapshots


def main(folder):
    failures = []
    tests = sorted(d for d in glob.glob(os.path.join(folder, "*")) if os.path.isdir(d))
    assert tests, f"no recordings in {folder}"
    for test in tests:
        label = os.path.basename(test)
        expected, totals, snapshots = read_expected(test)
        captures = read_captures(test)
        found = {os.path.basename(v) for v in glob.glob(os.path.join(test, "*.mp4")) + glob.glob(os.path.join(test, "*.wmv"))}
        if found != set(expected):
            failures.append(f"{test}: videos {sorted(found)}, expected {sorted(expected)}")
        spans = {}
        for name in sorted(found & set(expected)):
            try:
                spans[name], summary = check_video(os.path.join(test, name), *expected[name], captures,
                                                     snapshots.get(name, []))
                print(f"{label}/{name}: {summary}")
            except (AssertionError, subprocess.CalledProcessError) as failure:
                failures.append(f"{label}/{name}: {failure}")
        for first, last, total in totals:
            if first not in spans or last not in spans:
                continue
            start, (_, end, frame) = spans[first][0], spans[last]
            real = (end - start) / TICKS
            # The total stops at the last frame, or, after a failed write, where the last frame written ends.
            if not real - STAMP_TOLERANCE <= total <= real + frame + STAMP_TOLERANCE:
                failures.append(f"{label}: the dialog showed {total:.3f} s, {real:.3f} s of real time from {first} to {last}")
            else:
                print(f"{label}: the dialog showed {total:.3f} s, {real:.3f} s of real time")
    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
