#pragma once
// A reader of the database file format that goes page by page and keeps going past damage:
// it finds the records a damaged data file still holds where SQLite gives up on the whole
// file. It reads the bytes only; it never writes and never runs SQLite over them.

#include "store/data_file.h"
#include "store/schemas.h"

#include <QByteArray>
#include <vector>

namespace tavuro::store {

// The rowids first..last (both included) of a part of the table that could not be read
// whole: records there may be missing from what was found.
struct RowidRange {
  qint64 first;
  qint64 last;
  bool contains(qint64 id) const { return first <= id && id <= last; }
};

// What a data file still holds.
struct Salvage {
  std::vector<Record> records;   // in rowid order, each rowid once, values in the schema's order
  std::vector<RowidRange> lost;  // where records may be missing; empty when the table read whole
  int damaged_pages = 0;          // pages of the table that were not whole
  bool table_found = false;       // the table's tree was found through the file's schema

  bool is_whole() const { return lost.empty(); }
  bool may_be_missing(qint64 id) const;
};

// The records of the table "FileName" with the fields of schema, from the bytes of a data
// file, however damaged. A record is taken only when it decodes exactly into as many text
// fields as schema has; a part of the table that is damaged, or that the file no longer
// has, becomes a lost range, and the pages no read reached are searched for the records
// that belong there.
Salvage read_pages(const QByteArray& bytes, const Schema& schema);

}  // namespace tavuro::store
