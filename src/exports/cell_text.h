#pragma once
// How a cell reads as text: amounts with two decimals, dates as yyyy-MM-dd, and texts
// kept from being taken for formulas.

#include "exports/table.h"

namespace tavuro::exports {

// "12.34", "2026-12-08", "17"; a text as it is; empty for an empty cell.
QString cell_text(const Cell& cell);

// A text that a spreadsheet would take for a formula (it starts with = + - @, a tab or a
// carriage return) gets an apostrophe in front, so that opening the export never runs
// what somebody typed as a goods or customer name. Any other text stays as it is.
QString spreadsheet_safe_text(const QString& text);

}  // namespace tavuro::exports
