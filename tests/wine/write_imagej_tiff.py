#!/usr/bin/env python3
"""Writes micron.tif into the folder given with Debian's ImageJ (batch mode,
on the test command's X server or under xvfb-run): a white 640 x 480 RGB
picture with a red block and a black bar, its pixels 1 µm wide and high, saved as ImageJ
saves TIFFs (big-endian, the description "unit=micron"). The Wine test
OpenedPicture.AnImageJTiff... opens it."""
import os
import subprocess
import sys

MACRO = r"""
newImage("ruler", "RGB white", 640, 480, 1);
setColor(200, 40, 40);
fillRect(100, 100, 400, 80);
setColor(0, 0, 0);
fillRect(100, 200, 400, 4);
run("Properties...", "channels=1 slices=1 frames=1 pixel_width=1 pixel_height=1 voxel_depth=1 unit=micron");
saveAs("Tiff", getArgument());
"""

folder = sys.argv[1]
os.makedirs(folder, exist_ok=True)
path = os.path.join(folder, "micron.tif")
if os.path.exists(path):
    os.remove(path)
macro = os.path.join(folder, "write.ijm")
with open(macro, "w", encoding="utf-8") as f:
    f.write(MACRO)
command = ["java", "-jar", "/usr/share/java/ij.jar", "-batch", macro, path]
if not os.environ.get("DISPLAY"):
    command = ["xvfb-run", "-a"] + command
subprocess.run(command, capture_output=True, timeout=100, check=True)
with open(path, "rb") as f:
    data = f.read()
if not data.startswith(b"MM\0*") or b"unit=micron" not in data:
    sys.exit(f"ImageJ did not write the calibrated TIFF: {path}")
print(f"ImageJ wrote {path} ({len(data)} bytes)")
