#pragma once
// Which record a line on screen was made from: the data file, the record's id (its rowid,
// which stays with the record as long as it exists and never moves to another), and every
// field as it was read, so that a record changed since can be told from the one shown.

#include <QString>
#include <QStringList>

namespace tavuro::store {

struct RecordRef {
  QString path;
  qint64 id = 0;
  QStringList values;  // every field, in the table's order

  friend bool operator==(const RecordRef&, const RecordRef&) = default;
};

}  // namespace tavuro::store
