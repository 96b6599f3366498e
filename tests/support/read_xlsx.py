#!/usr/bin/env python3
"""Reads an .xlsx file with openpyxl, an independent reader, and prints what the tests check
as JSON: every cell's value, type and number format with its font, alignment, wrap and borders, the merged
ranges, the column widths and the page set-up. Exit status 3 when openpyxl is missing."""
import json
import sys

try:
    import openpyxl
except ImportError:
    sys.exit(3)


def main(path):
    wb = openpyxl.load_workbook(path)
    ws = wb.worksheets[0]
    cells = {}
    for row in ws.iter_rows():
        for c in row:
            if c.value is None and not c.has_style:
                continue
            b = c.border
            cells[c.coordinate] = {
                "value": c.value,
                "type": c.data_type,  # "s" text, "n" number
                "format": c.number_format,
                "font": c.font.name,
                "size": c.font.sz,
                "bold": bool(c.font.b),
                "hcentre": c.alignment.horizontal == "center",
                "vcentre": c.alignment.vertical == "center",
                "wrap": bool(c.alignment.wrap_text),
                "border": all(s is not None and s.style == "thin"
                              for s in (b.left, b.right, b.top, b.bottom)),
            }
    widths = {k: d.width for k, d in ws.column_dimensions.items() if d.customWidth}
    m = ws.page_margins
    out = {
        "sheet": ws.title,
        "title": wb.properties.title,
        "cells": cells,
        "merges": sorted(str(r) for r in ws.merged_cells.ranges),
        "widths": widths,
        "orientation": ws.page_setup.orientation,
        "margins": {"top": m.top, "bottom": m.bottom, "left": m.left, "right": m.right},
        "footer": ws.oddFooter.center.text,
        "max_row": ws.max_row,
        "max_column": ws.max_column,
    }
    json.dump(out, sys.stdout, ensure_ascii=False, default=str)


if __name__ == "__main__":
    main(sys.argv[1])
