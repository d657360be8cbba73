#!/usr/bin/env python3
"""Reads the snapshots that the Wine test Reports.SnapshotsInEachFormat...
left in snapshot-files/ as the programs people open them with: ImageJ (Debian's
imagej, in batch mode on the test command's X server, or under xvfb-run)
opens each TIFF and measures a line between two of the ruler's ticks, found
by their pixels, and between the points of the program's line item; the PNG
and JPEG density fields are read from the files' bytes. Exits non-zero on any
difference."""
import glob
import os
import re
import struct
import subprocess
import sys
import zlib

ROOT = sys.argv[1]
failures = []

# Prints what ImageJ reads: the unit, the pixel size, the picture's size, the
# length of a line from the first to the sixth tick hanging from the ruler
# (found in the row 10 mm below its top edge, scaled with the picture), and
# of the line given in the arguments.
MACRO = r"""
args = split(getArgument(), "|");
open(args[0]);
getPixelSize(unit, pw, ph);
print("unit=" + unit); print("pw=" + d2s(pw, 9)); print("ph=" + d2s(ph, 9));
print("width=" + getWidth()); print("height=" + getHeight());
y = round(190 * getWidth() / 1280);
ticks = newArray(0);
for (x = 1; x < getWidth(); x++)
    if ((getPixel(x, y) & 255) < 100 && (getPixel(x - 1, y) & 255) >= 100)
        ticks = Array.concat(ticks, x);
run("Set Measurements...", "display redirect=None decimal=9");
if (ticks.length >= 6) {
    makeLine(ticks[0], y, ticks[5], y); run("Measure");
    print("ticks=" + d2s(getResult("Length", nResults - 1), 9));
}
makeLine(parseInt(args[1]), parseInt(args[2]), parseInt(args[3]), parseInt(args[4])); run("Measure");
print("line=" + d2s(getResult("Length", nResults - 1), 9));
"""


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def imagej(path, points):
    macro = os.path.join(ROOT, "read.ijm")
    with open(macro, "w", encoding="utf-8") as f:
        f.write(MACRO)
    command = ["java", "-Dfile.encoding=UTF-8", "-Dsun.jnu.encoding=UTF-8", "-jar", "/usr/share/java/ij.jar",
               "-batch", macro, "|".join([path] + points)]
    if not os.environ.get("DISPLAY"):
        command = ["xvfb-run", "-a"] + command
    env = dict(os.environ, LC_ALL="C.UTF-8")
    out = subprocess.run(command, capture_output=True, timeout=120, env=env, text=True).stdout
    print(f"ImageJ {os.path.basename(path)}: {' '.join(out.split())}")
    return dict(line.split("=", 1) for line in out.splitlines() if "=" in line)


def near(text, value, tolerance):
    return text is not None and abs(float(text) - value) <= tolerance


def check_tiffs(folder, points, label_value):
    read = imagej(os.path.join(folder, "calibrated.tif"), points)
    check(read.get("unit") == "mm", f"calibrated.tif: unit {read.get('unit')}")
    check(read.get("pw") == "0.025000000" and read.get("ph") == "0.025000000", f"calibrated.tif: pixel {read}")
    check(read.get("width") == "1280" and read.get("height") == "720", f"calibrated.tif: size {read}")
    check(near(read.get("ticks"), 5, 1e-6), f"calibrated.tif: 1 to 6 mm reads {read.get('ticks')}")
    check(read.get("line") is not None and f"{float(read['line']):.5f}" == label_value,
          f"calibrated.tif: the line item reads {read.get('line')} in ImageJ, {label_value} in the program")

    read = imagej(os.path.join(folder, "shown-at-50.tif"), [str(int(p) // 2) for p in points])
    check(read.get("unit") == "mm" and read.get("pw") == "0.050000000", f"shown-at-50.tif: {read}")
    check(near(read.get("ticks"), 5, 0.05), f"shown-at-50.tif: 1 to 6 mm reads {read.get('ticks')}")

    read = imagej(os.path.join(folder, "uncalibrated.tif"), points)
    check(read.get("unit") in ("pixel", "pixels") and read.get("pw") == "1.000000000",
          f"uncalibrated.tif: {read}")


def png_chunks(data):
    at = 8
    while at + 12 <= len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        crc_ok = struct.unpack(">I", data[at + 8 + length:at + 12 + length])[0] == zlib.crc32(kind + body)
        yield kind.decode("latin-1"), body, crc_ok
        at += 12 + length


def png_density(path):
    """(x, y, unit) of the pHYs chunk, None without one; checks its place and CRC."""
    with open(path, "rb") as f:
        data = f.read()
    kinds = [kind for kind, _, _ in png_chunks(data)]
    for kind, body, crc_ok in png_chunks(data):
        if kind == "pHYs":
            check(crc_ok and kinds.count("pHYs") == 1 and kinds.index("pHYs") < kinds.index("IDAT"),
                  f"{path}: pHYs {kinds}, CRC {'right' if crc_ok else 'wrong'}")
            return struct.unpack(">IIB", body)
    return None


def jfif_density(path):
    """(units, x, y) of the JFIF header, None without one."""
    with open(path, "rb") as f:
        data = f.read(20)
    if data[2:4] != b"\xff\xe0" or data[6:11] != b"JFIF\0":
        return None
    return data[13], struct.unpack(">H", data[14:16])[0], struct.unpack(">H", data[16:18])[0]


def main():
    folders = [d for d in glob.glob(os.path.join(ROOT, "*")) if os.path.isdir(d)]
    if not check(len(folders) == 1, f"one picture folder expected in {ROOT}: {folders}"):
        return
    folder = folders[0]
    with open(os.path.join(ROOT, "expected-line.txt"), encoding="utf-8") as f:
        fields = f.read().split()
    points, label = fields[:4], fields[4]
    label_value = re.match(r"[0-9.]+", label).group(0)
    check(label.endswith("mm"), f"the line's label {label}")
    check_tiffs(folder, points, label_value)

    check(png_density(os.path.join(folder, "calibrated.png")) == (40000, 40000, 1),
          f"calibrated.png: pHYs {png_density(os.path.join(folder, 'calibrated.png'))}")
    check(jfif_density(os.path.join(folder, "calibrated.jpg")) == (2, 400, 400),
          f"calibrated.jpg: JFIF {jfif_density(os.path.join(folder, 'calibrated.jpg'))}")
    # What the encoders write by themselves, for the record.
    print(f"without a calibration: PNG pHYs {png_density(os.path.join(folder, 'uncalibrated.png'))}, "
          f"JPEG JFIF {jfif_density(os.path.join(folder, 'uncalibrated.jpg'))}")


main()
for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
