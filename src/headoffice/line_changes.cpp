#include "headoffice/line_changes.h"

#include "sales/journal_entry.h"
#include "sales/money.h"
#include "store/schemas.h"
#include "textlayout/text_layout.h"

namespace tavuro::headoffice {

bool is_day_file(const QString& file) { return file.endsWith(QStringLiteral(".day"), Qt::CaseInsensitive); }

QStringList day_values(const QString& fields_text) {
  const QStringList names = store::day_schema().names();
  QStringList values(names.size());
  for (const auto& [name, value] : sales::parse_fields_text(fields_text)) {
    const qsizetype at = names.indexOf(name);
    if (at >= 0) values[at] = value;
  }
  return values;
}

std::vector<LineState> final_line_states(const std::vector<store::JournalEntry>& entries) {
  std::vector<LineState> states;
  QHash<LineKey, size_t> index;
  const auto set = [&](const LineKey& key, std::optional<QStringList> fields) {
    const auto it = index.constFind(key);
    if (it != index.cend()) {
      states[*it].fields = std::move(fields);
    } else {
      index.insert(key, states.size());
      states.push_back({key, std::move(fields)});
    }
  };
  for (const store::JournalEntry& entry : entries) {
    if (!is_day_file(entry.file)) continue;
    if (entry.kind == sales::kOldFileKind) {
      for (const auto& [id, fields] : sales::parse_old_records(entry.after)) set({entry.file, id}, day_values(fields));
    } else if (entry.after.isEmpty()) {
      set({entry.file, entry.record}, std::nullopt);
    } else {
      set({entry.file, entry.record}, day_values(entry.after));
    }
  }
  return states;
}

std::optional<qint64> counted_fen(const QString& text) {
  if (textlayout::trim_spaces(text).isEmpty()) return 0;
  const std::optional<sales::Money> money = sales::Money::parse(text);
  if (!money) return std::nullopt;
  return money->hundredths();
}

}  // namespace tavuro::headoffice
