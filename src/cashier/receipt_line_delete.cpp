#include "cashier/receipt_line_delete.h"

#include "store/data_file.h"
#include "textlayout/text_layout.h"

#include <QFileInfo>

namespace tavuro::cashier {

namespace day = store::day;

QString delete_line_question(const QString& line) {
  return QStringLiteral("是否删除下列记录：\r\r") + line + QStringLiteral("\r\r“是”= 删除，“否”= 不删除”");
}

std::optional<float> delete_first_sale(const QString& dayFile, const QString& goods, const QString& time) {
  if (!QFileInfo::exists(dayFile)) return std::nullopt;
  store::DataFile file = store::DataFile::openForChange(dayFile, store::day_schema());
  if (file.recordCount() == 0) return std::nullopt;
  const auto target = file.findFirst({day::kGoods, day::kTime, day::kAmount}, [&](const store::Record& record) {
    return record.value(day::kGoods) == goods && textlayout::trim_spaces(record.value(day::kTime)) == time;
  });
  if (!target) return 0.0f;
  file.remove(target->id());
  file.close();
  return textlayout::to_single(target->value(day::kAmount)).value_or(0.0f);
}

}  // namespace tavuro::cashier
