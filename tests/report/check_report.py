#!/usr/bin/env python3
"""Checks of a written session report, for report_checks.cmake:
  check_report.py validate REPORT.html      strict HTML5 parse, and no reference outside the file
  check_report.py drawn REPORT.html DOM      the browser's DOM holds every <svg> of the file
  check_report.py numbers REPORT.html TEXT   every number of the report's tables is in TEXT
Exits 1 with the reason on standard error; 77 when html5lib is missing (the test then skips)."""
import html.parser
import re
import sys


class Cells(html.parser.HTMLParser):
    """The texts of the table cells outside the hidden tab-separated copies."""

    def __init__(self):
        super().__init__()
        self.cells, self.inside = [], False

    def handle_starttag(self, tag, attrs):
        if tag == "td":
            self.inside, self.text = True, ""

    def handle_endtag(self, tag):
        if tag == "td" and self.inside:
            self.cells.append(self.text.strip())
            self.inside = False

    def handle_data(self, data):
        if self.inside:
            self.text += data


def validate(path):
    try:
        import html5lib
    except ImportError:
        print("SKIPPED: python3-html5lib is not installed", file=sys.stderr)
        return 77
    source = open(path, "rb").read()
    try:
        html5lib.HTMLParser(strict=True).parse(source)
    except html5lib.html5parser.ParseError as error:
        print(f"{path}: not valid HTML: {error}", file=sys.stderr)
        return 1
    text = source.decode("utf-8")
    for pattern in (r"<link\b", r"\bsrc\s*=", r"@import", r"url\(", r"https?://(?!www\.w3\.org/)"):
        if re.search(pattern, text):
            print(f"{path}: refers outside the file ({pattern})", file=sys.stderr)
            return 1
    return 0


def drawn(path, dom):
    expected = open(path, encoding="utf-8").read().count("<svg")
    found = open(dom, encoding="utf-8").read().count("<svg")
    if expected == 0 or found != expected:
        print(f"{path}: {expected} figures in the file, {found} in the browser", file=sys.stderr)
        return 1
    return 0


def numbers(path, text_path):
    cells = Cells()
    cells.feed(open(path, encoding="utf-8").read())
    # A narrow column may wrap a number over two lines: the text is compared without white space.
    text = re.sub(r"\s+", "", open(text_path, encoding="utf-8", errors="replace").read())
    values = [c for c in cells.cells if re.fullmatch(r"-?\d+(\.\d+)?", c)]
    missing = [v for v in values if v not in text]
    if not values or missing:
        print(f"{text_path}: {len(missing)} of {len(values)} numbers missing, e.g. {missing[:5]}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    command, *args = sys.argv[1:]
    sys.exit({"validate": validate, "drawn": drawn, "numbers": numbers}[command](*args))
