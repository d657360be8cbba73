#!/usr/bin/env python3
"""Reads the reports that the Wine test Reports.BothReports... left in
report-files/ with the programs people open them with: LibreOffice converts
the spreadsheet to flat XML, where its value cells must be numbers, which a
SUM under each column then adds up, and the rich-text report to a PDF with
lossless pictures; poppler gives back the PDF's picture and text. Renders the
report's first page into the screenshots folder. Exits non-zero on any difference."""
import csv
import glob
import os
import re
import subprocess
import sys
import time
import xml.etree.ElementTree as ET

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


TABLE = "{urn:oasis:names:tc:opendocument:xmlns:table:1.0}"
OFFICE = "{urn:oasis:names:tc:opendocument:xmlns:office:1.0}"


def sheet_cells(fods):
    """The first sheet's rows as lists of (value type, shown text), without
    trailing empty cells and rows (repeats expanded, but only so far)."""
    table = ET.parse(fods).getroot().find(f".//{TABLE}table")
    rows = []
    for row in table.iter(f"{TABLE}table-row"):
        cells = []
        for cell in row.iter(f"{TABLE}table-cell"):
            shown = "\n".join("".join(p.itertext()) for p in cell if p.tag.endswith("}p"))
            repeat = min(int(cell.get(f"{TABLE}number-columns-repeated", "1")), 64)
            cells += [(cell.get(f"{OFFICE}value-type"), shown)] * repeat
        while cells and cells[-1][1] == "":
            cells.pop()
        rows += [cells] * min(int(row.get(f"{TABLE}number-rows-repeated", "1")), 64)
    while rows and not rows[-1]:
        rows.pop()
    return rows


def column_name(index):
    return chr(ord("A") + index)


def check_sheet(xlsx):
    """The cells as shown, the measured values and item numbers as numbers,
    and a SUM over each value column that LibreOffice computes."""
    fods = os.path.join(OUT, "Bericht.fods")
    if not convert(xlsx, "fods", fods):
        return
    rows = sheet_cells(fods)
    expected = [line.split("\t") if line else [] for line in read_lines("expected-sheet.txt")]
    check([[text for _, text in row] for row in rows] == expected, f"spreadsheet rows {rows} != {expected}")
    items = [row for row in rows[1:] if row and row[0][1].isdigit()]
    text_cells = [(r, c) for r, row in enumerate(items) for c, (kind, shown) in enumerate(row)
                  if shown and (kind == "float") != (c != 1)]
    check(items and not text_cells, f"item cells of the wrong type (row, column): {text_cells}")
    # A row of SUM formulas under the sheet, computed by LibreOffice.
    first, last = 2, len(items) + 1
    formulas = "".join(f'<table:table-cell table:formula="of:=SUM([.{column_name(c)}{first}:.{column_name(c)}{last}])"/>'
                       for c in range(2, len(rows[0])))
    with open(fods, encoding="utf-8") as f:
        document = f.read()
    # Before the empty rows LibreOffice repeats to the sheet's end, if any.
    filler = re.search(r'<table:table-row[^>]*table:number-rows-repeated="\d{4,}"', document)
    end = filler.start() if filler else document.index("</table:table>")
    summed = os.path.join(OUT, "Summed.fods")
    with open(summed, "w", encoding="utf-8") as f:
        f.write(document[:end] + "<table:table-row><table:table-cell/><table:table-cell/>" + formulas +
                "</table:table-row>" + document[end:])
    csv_file = os.path.join(OUT, "Summed.csv")
    if not convert(summed, CSV_FILTER, csv_file):
        return
    with open(csv_file, encoding="utf-8", newline="") as f:
        sums = [row for row in csv.reader(f)][-1][2:]
    for c, shown in enumerate(sums, start=2):
        values = [float(row[c][1]) for row in items if c < len(row) and row[c][1]]
        check(shown and abs(float(shown) - sum(values)) < 1e-5,
              f"SUM over column {column_name(c)}: {shown!r}, the values add up to {sum(values)}")
    print(f"SUM per value column: {sums}")


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
