#pragma once
// Taking a line of the receipt being entered back out of today's day file.

#include <QString>
#include <optional>

namespace tavuro::cashier {

// The question before a line of the receipt is deleted.
QString delete_line_question(const QString& line);

// Deletes the first record, in stored order, whose 商品 equals goods and whose 时间,
// trimmed, equals time; later records with the same goods and time stay. Returns the
// deleted record's amount (0 when none matched), or nullopt when the day file is missing
// or holds no record (then nothing is done). Throws StoreError.
std::optional<float> delete_first_sale(const QString& dayFile, const QString& goods, const QString& time);

}  // namespace tavuro::cashier
