#!/usr/bin/env python3
"""Reads the videos the fallback writer test left (FOLDER/*.mp4, *.wmv, each
with its .times list of "time duration" in 100-ns units) with the Linux
ffprobe and ffmpeg: codec, size, every frame at its time for its duration,
and a decoded picture with the red square at its top left, grey elsewhere."""
import glob
import json
import os
import subprocess
import sys

SIZES = {".mp4": (1280, 720), ".wmv": (1366, 768)}  # the WMV's rows came padded
CODECS = {".mp4": "h264", ".wmv": "wmv2"}


def run(*command):
    return subprocess.run(command, check=True, capture_output=True, timeout=60).stdout


def check_timing(video, packets, stream):
    """The MP4 keeps every time in 100-ns units; ASF counts milliseconds."""
    with open(video + ".times") as f:
        expected = [tuple(map(int, line.split())) for line in f]
    assert len(packets) == len(expected), f"{len(packets)} frames, {len(expected)} written"
    num, den = map(int, stream["time_base"].split("/"))
    tolerance = 0 if video.endswith(".mp4") else 5000  # half a millisecond
    for i, (packet, (time, duration)) in enumerate(zip(packets, expected)):
        got_time = int(packet["pts"]) * num * 10_000_000 / den
        assert abs(got_time - time) <= tolerance, f"frame {i} at {got_time}, written at {time}"
        if video.endswith(".mp4"):  # ASF stores no durations
            got_duration = int(packet["duration"]) * num * 10_000_000 / den
            assert got_duration == duration, f"frame {i} lasts {got_duration}, written {duration}"


def check_picture(video):
    WIDTH, HEIGHT = SIZES[os.path.splitext(video)[1]]
    rgb = run("ffmpeg", "-v", "error", "-i", video, "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "rgb24", "-")
    assert len(rgb) == WIDTH * HEIGHT * 3, f"decoded {len(rgb)} bytes"

    def pixel(x, y):
        return tuple(rgb[(y * WIDTH + x) * 3:(y * WIDTH + x) * 3 + 3])

    r, g, b = pixel(40, 40)
    assert r > 200 and g < 50 and b < 50, f"top left is {(r, g, b)}, not red"
    for x, y in ((40, HEIGHT - 60), (WIDTH - 40, 40), (WIDTH // 2, HEIGHT // 2)):
        assert all(abs(c - 128) <= 3 for c in pixel(x, y)), f"({x}, {y}) is {pixel(x, y)}, not neutral grey"


def main(folder):
    videos = sorted(glob.glob(os.path.join(folder, "*.mp4")) + glob.glob(os.path.join(folder, "*.wmv")))
    assert [os.path.splitext(v)[1] for v in videos] == [".mp4", ".wmv"], f"videos found: {videos}"
    for video in videos:
        probe = json.loads(run("ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries",
                               "stream=codec_name,width,height,time_base:packet=pts,duration",
                               "-of", "json", video))
        stream = probe["streams"][0]
        codec = CODECS[os.path.splitext(video)[1]]
        WIDTH, HEIGHT = SIZES[os.path.splitext(video)[1]]
        assert stream["codec_name"] == codec, f"{video}: {stream['codec_name']}, not {codec}"
        assert (stream["width"], stream["height"]) == (WIDTH, HEIGHT), f"{video}: {stream}"
        check_timing(video, probe["packets"], stream)
        check_picture(video)
        print(f"{os.path.basename(video)}: {codec} {WIDTH}x{HEIGHT}, {len(probe['packets'])} frames,"
              f" {os.path.getsize(video)} bytes: as written")


if __name__ == "__main__":
    try:
        main(sys.argv[1])
    except AssertionError as failure:
        sys.exit(f"FAILED: {failure}")
