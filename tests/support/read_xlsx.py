#!/usr/bin/env python3
"""Prints every sheet of an .xlsx workbook as JSON, read by openpyxl (Debian's
python3-openpyxl), so that tests hold an export against what another program reads from
it. A cell is "" when empty, "s:" + text, "n:" + repr(number) + "|" + number format, or
"d:" + ISO date + "|" + number format."""
import datetime
import json
import sys

import openpyxl


def cell(c):
    v = c.value
    if v is None:
        return ""
    if isinstance(v, str):
        return "s:" + v
    if isinstance(v, datetime.datetime):
        return "d:" + v.date().isoformat() + "|" + c.number_format
    if isinstance(v, (int, float)):
        return "n:" + repr(v) + "|" + c.number_format
    return "?:" + repr(v)


book = openpyxl.load_workbook(sys.argv[1], read_only=True)
sheets = []
for ws in book.worksheets:
    rows = []
    for row in ws.iter_rows():
        rows.append([cell(c) for c in row])
    sheets.append({"name": ws.title, "rows": rows})
json.dump(sheets, sys.stdout, ensure_ascii=False)
