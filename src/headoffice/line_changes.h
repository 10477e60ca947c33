#pragma once
// What a run of journal entries does to the sale lines: for each record of a day file the
// state it is left in, its fields or gone. Entries of other files (shop.dat) change no
// sale line.

#include "store/journal_table.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace tavuro::headoffice {

struct LineKey {
  QString file;  // 7.day
  qint64 record = 0;
  friend bool operator==(const LineKey&, const LineKey&) = default;
};

inline size_t qHash(const LineKey& key, size_t seed = 0) { return ::qHash(key.file, seed) ^ ::qHash(key.record, seed); }

// One sale line as the server keeps it: the day file's fields in the day schema's order.
struct LineState {
  LineKey key;
  std::optional<QStringList> fields;  // nullopt: the record is gone
};

// Whether an entry concerns a day file.
bool is_day_file(const QString& file);

// The last state of every record the entries touch, in the order each was first touched.
// A 旧文件 entry brings each of the records it holds.
std::vector<LineState> final_line_states(const std::vector<store::JournalEntry>& entries);

// A fields text ("name=value" lines) as the values of the day schema, in its order;
// fields it does not name stay empty.
QStringList day_values(const QString& fields_text);

// A quantity or amount in fen as the reports count it: 0 when blank, nullopt when it is no
// number.
std::optional<qint64> counted_fen(const QString& text);

}  // namespace tavuro::headoffice
