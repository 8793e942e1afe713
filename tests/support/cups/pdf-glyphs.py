#!/usr/bin/python3
"""Prints the origin of every glyph of a PDF, one per line:
    page  x  y  width  height  text
in points, x from the page's left edge and y from its top edge (the glyph's baseline), then
the page's width and height. Reads the text matrix of each character, so it works on PDFs whose
text is no longer readable."""
import sys

from pdfminer.high_level import extract_pages
from pdfminer.layout import LTChar


def glyphs(item):
    if isinstance(item, LTChar):
        yield item
        return
    for child in getattr(item, "_objs", []):
        yield from glyphs(child)


def main(path):
    for number, page in enumerate(extract_pages(path), start=1):
        width = page.width
        height = page.height
        for char in glyphs(page):
            x, y = char.matrix[4], char.matrix[5]
            text = char.get_text().strip() or "?"
            print(f"{number} {x:.4f} {height - y:.4f} {width:.4f} {height:.4f} {text}")


if __name__ == "__main__":
    main(sys.argv[1])
