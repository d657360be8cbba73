#!/usr/bin/env python3
"""Reads back, with the Linux ffprobe, the videos of the time-lapse series the
Wine tests made (FOLDER/<test>/<series>/). Each series folder has an
expected.txt line
    video frames rate width height
and holds its pictures 000001 to 000NNN (as many as the video's frames, in
order, none missing) beside the video. The video: H.264 (MP4) or WMV (ASF),
the size of the pictures, one frame per picture, the k-th shown at k / rate
seconds."""
import glob
import json
import os
import re
import subprocess
import sys

CODECS = {".mp4": {"h264"}, ".wmv": {"wmv3", "wmv2"}}
TOLERANCE = 0.002  # seconds: ASF keeps milliseconds


def check_series(folder):
    with open(os.path.join(folder, "expected.txt")) as f:
        video, frames, rate, width, height = f.read().split()
    frames, rate, width, height = int(frames), int(rate), int(width), int(height)
    pictures = sorted(n for n in os.listdir(folder) if re.fullmatch(r"\d{6}\.(png|jpg|tif)", n))
    numbers = [int(n[:6]) for n in pictures]
    assert numbers == list(range(1, frames + 1)), f"pictures {pictures}, expected 1 to {frames}"
    path = os.path.join(folder, video)
    probe = json.loads(subprocess.run(
        ["ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries",
         "stream=codec_name,width,height,time_base:packet=pts", "-of", "json", path],
        check=True, capture_output=True, timeout=60).stdout)
    stream, packets = probe["streams"][0], probe["packets"]
    assert stream["codec_name"] in CODECS[os.path.splitext(video)[1]], f"codec {stream['codec_name']}"
    assert (stream["width"], stream["height"]) == (width & ~1, height & ~1), \
        f"size {stream['width']}x{stream['height']}, pictures {width}x{height}"
    num, den = map(int, stream["time_base"].split("/"))
    times = sorted(int(p["pts"]) * num / den for p in packets)
    assert len(times) == frames, f"{len(times)} frames, expected {frames}"
    times = [t - times[0] for t in times]
    late = [(k, t) for k, t in enumerate(times) if abs(t - k / rate) > TOLERANCE]
    assert not late, f"frames not at k / {rate} s: {late[:3]}"
    return f"{frames} pictures, {video}: {stream['codec_name']} {width & ~1}x{height & ~1}, {frames} frames at {rate}/s"


def main(folder):
    series = sorted(os.path.dirname(p) for p in glob.glob(os.path.join(folder, "*", "*", "expected.txt")))
    assert series, f"no time-lapse series in {folder}"
    failures = 0
    for s in series:
        label = os.path.relpath(s, folder)
        try:
            print(f"{label}: {check_series(s)}")
        except (AssertionError, subprocess.CalledProcessError, ValueError) as failure:
            print(f"FAILED: {label}: {failure}")
            failures += 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
