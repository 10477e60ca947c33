#include "cashier/list_line.h"

#include "textlayout/text_layout.h"

namespace tavuro::cashier {

QString goods_of_line(const QString& line) {
  const QString rest = line.mid(10);
  const qsizetype gap = rest.indexOf(QStringLiteral("    "));
  return gap < 0 ? rest : rest.left(gap);
}

QString time_of_line(const QString& line) { return textlayout::trim_spaces(line.right(8)); }

}  // namespace tavuro::cashier
