#!/usr/bin/env python3
"""Reads the reports that the Wine test Reports.BothReports... left in
report-files/ with the programs people open them with: LibreOffice converts
the spreadsheet to CSV and the rich-text report to a PDF with lossless
pictures; poppler gives back the PDF's picture and text. Renders the report's
first page into the screenshots folder. Exits non-zero on any difference."""
import csv
import glob
import os
import subprocess
import sys
import time

ROOT, SCREENSHOTS = sys.argv[1], sys.argv[2]
OUT = os.path.join(ROOT, "converted")
PROFILE = "file://" + os.path.join(os.path.dirname(ROOT), "libreoffice-profile")
PDF_FILTER = ('pdf:writer_pdf_Export:{"UseLosslessCompression":{"type":"boolean","value":"true"},'
              '"ReduceImageResolution":{"type":"boolean","value":"false"}}')
CSV_FILTER = "csv:Text - txt - csv (StarCalc):44,34,76"  # comma, double quote, UTF-8
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def run(*command, timeout=120):
    return subprocess.run(command, capture_output=True, timeout=timeout, check=True)


def convert(source, target_filter, expected):
    """soffice exits 0 also when it could not load a file: the output must exist."""
    started = time.monotonic()
    run("soffice", "-env:UserInstallation=" + PROFILE, "--headless", "--norestore",
        "--convert-to", target_filter, "--outdir", OUT, source)
    print(f"{os.path.basename(source)}: {os.path.getsize(source)} bytes, "
          f"converted in {time.monotonic() - started:.1f} s")
    return check(os.path.isfile(expected), f"LibreOffice made no {expected}")


def read_lines(name):
    with open(os.path.join(ROOT, name), encoding="utf-8") as f:
        return f.read().splitlines()


def words(text):
    return " ".join(text.split())


def check_sheet(xlsx):
    converted = os.path.join(OUT, "Bericht.csv")
    if not convert(xlsx, CSV_FILTER, converted):
        return
    with open(converted, encoding="utf-8", newline="") as f:
        rows = [row for row in csv.reader(f)]
    expected = [line.split("\t") for line in read_lines("expected-sheet.txt")]
    check(rows == expected, f"spreadsheet rows {rows} != {expected}")


def check_document(rtf):
    pdf = os.path.join(OUT, "Bericht.pdf")
    if not convert(rtf, PDF_FILTER, pdf):
        return
    text = run("pdftotext", "-enc", "UTF-8", "-layout", pdf, "-").stdout.decode("utf-8")
    shown = [words(line) for line in text.splitlines() if line.strip()]
    check(shown == [words(line) for line in read_lines("expected-text.txt")], f"PDF text: {shown}")
    prefix = os.path.join(OUT, "picture")
    run("pdfimages", "-png", pdf, prefix)
    pictures = sorted(glob.glob(prefix + "-*.png"))
    if check(len(pictures) == 1, f"PDF pictures: {pictures} (one expected, no mask)"):
        size = run("identify", "-format", "%wx%h", pictures[0]).stdout.decode()
        check(size == "640x360", f"picture size {size}")
        # compare exits 1 when pixels differ and prints how many.
        compared = subprocess.run(["compare", "-metric", "AE", "-alpha", "off", pictures[0],
                                   os.path.join(ROOT, "expected-picture.png"), "null:"],
                                  capture_output=True, timeout=60)
        check(compared.returncode == 0, f"picture differs in {compared.stderr.decode()} pixels")
    os.makedirs(SCREENSHOTS, exist_ok=True)
    run("pdftoppm", "-png", "-r", "72", "-f", "1", "-l", "1", "-singlefile", pdf,
        os.path.join(SCREENSHOTS, "rtf-report-page1"))


def main():
    xlsx = glob.glob(os.path.join(ROOT, "*", "*.xlsx"))
    rtf = glob.glob(os.path.join(ROOT, "*", "*.rtf"))
    if len(xlsx) != 1 or len(rtf) != 1:
        print(f"expected one report of each kind under {ROOT}: {xlsx} {rtf}")
        return 1
    subprocess.run(["rm", "-rf", OUT], check=True)
    os.makedirs(OUT)
    check_sheet(xlsx[0])
    check_document(rtf[0])
    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
