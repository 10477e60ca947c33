#include "sales/journal_lines.h"

#include "sales/journal_entry.h"
#include "store/schemas.h"
#include "textlayout/text_layout.h"

#include <algorithm>

namespace tavuro::sales {

namespace {

namespace day = store::day;

using Fields = QList<QPair<QString, QString>>;

constexpr int kEntryWidth = 6;
constexpr int kTimeWidth = 19;
constexpr int kOperatorColumn = 6;
constexpr int kKindWidth = 6;
constexpr int kFileWidth = 8;
constexpr int kRecordWidth = 6;
const QString kGap(2, QLatin1Char(' '));

// Padded to its column without a message: a value wider than its column (only written by
// hand) takes the room it needs.
QString fit(const QString& text, int width, bool right_aligned) {
  QString value = text;
  const int used = textlayout::text_width(value);
  const QString filler(std::max(0, width - used), QLatin1Char(' '));
  return right_aligned ? filler + value : value + filler;
}

QString value_of(const Fields& fields, const QString& name) {
  for (const auto& [field, value] : fields) {
    if (field == name) return value;
  }
  return {};
}

// A record in a few words: a sale line as goods quantity×price=amount, operator, time,
// customer and receipt; any other record as its values.
QString summary(const Fields& fields) {
  QStringList parts;
  if (!value_of(fields, day::kAmount).isEmpty() || !value_of(fields, day::kQuantity).isEmpty()) {
    parts << value_of(fields, day::kGoods)
          << value_of(fields, day::kQuantity) + QStringLiteral("×") + value_of(fields, day::kPrice) +
                 QLatin1Char('=') + value_of(fields, day::kAmount);
    for (const QString& name : {day::kOperator, day::kTime, day::kCustomer, day::kReceiptNo}) {
      parts << value_of(fields, name);
    }
  } else {
    for (const auto& [field, value] : fields) parts << value;
  }
  parts.removeAll(QString());
  return parts.join(QLatin1Char(' '));
}

QString changed_fields(const Fields& before, const Fields& after) {
  QStringList parts;
  for (const auto& [field, value] : after) {
    const QString old = value_of(before, field);
    if (old != value) parts << field + QLatin1Char(' ') + old + QStringLiteral(" → ") + value;
  }
  return parts.join(QStringLiteral("，"));
}

}  // namespace

QString journal_header() {
  return fit(QStringLiteral("序号"), kEntryWidth, true) + kGap + fit(QStringLiteral("时间"), kTimeWidth, false) + kGap +
         fit(QStringLiteral("操作员"), kOperatorColumn, false) + kGap + fit(QStringLiteral("类别"), kKindWidth, false) +
         kGap + fit(QStringLiteral("文件"), kFileWidth, false) + kGap + fit(QStringLiteral("记录号"), kRecordWidth, true) +
         kGap + QStringLiteral("修改内容");
}

QString journal_line(const store::JournalEntry& entry) {
  const QString record = entry.record > 0 ? QString::number(entry.record) : QString();
  return fit(QString::number(entry.number), kEntryWidth, true) + kGap + fit(entry.at, kTimeWidth, false) + kGap +
         fit(entry.op, kOperatorColumn, false) + kGap + fit(entry.kind, kKindWidth, false) + kGap +
         fit(entry.file, kFileWidth, false) + kGap + fit(record, kRecordWidth, true) + kGap + change_text(entry);
}

QString change_text(const store::JournalEntry& entry) {
  if (entry.kind == kOldFileKind) {
    return QStringLiteral("修改记录开始前已有 %1 条记录").arg(parse_old_records(entry.after).size());
  }
  const Fields before = parse_fields_text(entry.before);
  const Fields after = parse_fields_text(entry.after);
  if (before.isEmpty()) return QStringLiteral("→ ") + summary(after);
  if (after.isEmpty()) return summary(before) + QStringLiteral(" →");
  const QString name = value_of(before, day::kGoods);
  const QString time = value_of(before, day::kTime);
  const QString which = (name + (time.isEmpty() ? QString() : QLatin1Char(' ') + time)).trimmed();
  return (which.isEmpty() ? QString() : which + QStringLiteral("：")) + changed_fields(before, after);
}

}  // namespace tavuro::sales
