#pragma once
// The journal of changes as the journal window lists it: one fixed-width line per entry
// (number, time, operator, kind, file, record) with what the change was, before → after.

#include "store/journal_table.h"

#include <QString>

namespace tavuro::sales {

// The column titles over the entry lines.
QString journal_header();
// One entry: its columns, then what the change was.
QString journal_line(const store::JournalEntry& entry);
// What the change was: "→ 可乐 2.00×2.50=5.00 …" for a record added, "… →" for one deleted,
// the fields that changed for a correction ("数量 1.00 → 2.00"), and for the records from
// before the journal their number.
QString change_text(const store::JournalEntry& entry);

}  // namespace tavuro::sales
