#!/usr/bin/env python3
"""Prints what openpyxl reads from a workbook, as JSON: per sheet its cells (dates as
ISO text with their number format), merged ranges, frozen pane and column widths."""
import datetime
import json
import sys

import openpyxl


def cell_value(cell):
    value = cell.value
    if isinstance(value, datetime.datetime):
        return {"date": value.date().isoformat(), "format": cell.number_format}
    if isinstance(value, (int, float)) and not isinstance(value, bool):
        return {"number": value, "format": cell.number_format}
    return value


def main(path):
    book = openpyxl.load_workbook(path)
    sheets = []
    for sheet in book.worksheets:
        cells = {}
        for row in sheet.iter_rows():
            for cell in row:
                if cell.value is not None:
                    cells[cell.coordinate] = cell_value(cell)
        widths = {k: v.width for k, v in sheet.column_dimensions.items()}
        sheets.append({"name": sheet.title, "cells": cells, "rows": sheet.max_row,
                       "merges": sorted(str(r) for r in sheet.merged_cells.ranges),
                       "freeze": sheet.freeze_panes, "widths": widths})
    json.dump(sheets, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main(sys.argv[1])
