#!/usr/bin/env python3
"""Plays back, with the Linux ffprobe and ffmpeg, the videos the recording
tests made through the program (FOLDER/<test>/, each with an expected.txt of
"name shortest longest width height", lengths in seconds): codec, size, time stamps from 0 upwards,
a frame rate the camera can have given, and a decoded first picture that shows
the microscope's ruler the right way up in the right colours."""
import glob
import json
import os
import subprocess
import sys

CODECS = {".mp4": {"h264"}, ".wmv": {"wmv3", "wmv2"}}  # WMV3 from Media Foundation, WMV2 from the fallback


def landmarks(width, height):
    """Where the rig's picture (width / 32 pixels per millimetre) has its
    squares and paper: (x, y, RGB, name). An odd frame's video lacks a
    column and a row, which moves these by a pixel within p-sized squares."""
    p = width // 32
    return [(p, p, (220, 40, 40), "red square"), (width - p, height - p, (40, 70, 220), "blue square"),
            (width // 2, 100, (225, 215, 200), "paper")]


def run(*command):
    return subprocess.run(command, check=True, capture_output=True, timeout=60).stdout


def check_video(video, shortest, longest, width, height):
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
    # Every frame lasts what the rate measured at the start gives (at least 5
    # fps; the meter reads a 30-fps camera a little high or low now and then).
    rate = len(packets) / seconds
    assert 5 <= rate <= 40, f"{len(packets)} frames in {seconds:.2f} s"

    rgb = run("ffmpeg", "-v", "error", "-i", video, "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "rgb24", "-")
    assert len(rgb) == width * height * 3, f"decoded {len(rgb)} bytes"
    for x, y, colour, name in landmarks(width, height):
        at = (y * width + x) * 3
        got = tuple(rgb[at:at + 3])
        assert all(abs(a - b) <= 30 for a, b in zip(got, colour)), f"{name} at ({x}, {y}) is {got}, not {colour}"
    return f"{len(packets)} frames in {seconds:.2f} s, {os.path.getsize(video)} bytes"


def main(folder):
    failures = []
    tests = sorted(d for d in glob.glob(os.path.join(folder, "*")) if os.path.isdir(d))
    assert tests, f"no recordings in {folder}"
    for test in tests:
        with open(os.path.join(test, "expected.txt")) as f:
            expected = {name: (float(low), float(high), int(w), int(h))
                        for name, low, high, w, h in (line.split() for line in f)}
        found = {os.path.basename(v) for v in glob.glob(os.path.join(test, "*.mp4")) + glob.glob(os.path.join(test, "*.wmv"))}
        if found != set(expected):
            failures.append(f"{test}: videos {sorted(found)}, expected {sorted(expected)}")
        for name in sorted(found & set(expected)):
            try:
                print(f"{os.path.basename(test)}/{name}: {check_video(os.path.join(test, name), *expected[name])}")
            except (AssertionError, subprocess.CalledProcessError) as failure:
                failures.append(f"{os.path.basename(test)}/{name}: {failure}")
    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
