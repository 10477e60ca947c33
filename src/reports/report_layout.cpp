#include "reports/report_layout.h"

#include "sales/sale_line.h"
#include "textlayout/text_layout.h"

namespace tavuro::reports {

namespace {

using sales::kAmountWidth;
using sales::kGoodsWidth;
using sales::kNumberWidth;
using sales::kOperatorWidth;
using sales::kQuantityWidth;
using textlayout::kLeft;
using textlayout::kRight;
using textlayout::pad_text;

const QString kMargin = QStringLiteral("  ");

// A border line: interiors of the columns in display width, drawn with ─ (two columns).
QString border(const QString& left, const QString& middle, const QString& right, std::initializer_list<int> widths) {
  QString line = left;
  bool first = true;
  for (const int width : widths) {
    if (!first) line += middle;
    first = false;
    line += QString(width / 2, QChar(0x2500));
  }
  return line + right;
}

// A catalogue of 10,000 rows or more is real: a number wider than its cell is written
// whole, pushing the rest of its line one column on.
QString row_number(size_t index) {
  QString number = QString::number(index + 1);
  return number.size() > kNumberWidth ? number : pad_text(number, kLeft, kNumberWidth);
}

QString last_component(const QString& path) {
  QString trimmed = path;
  while (trimmed.size() > 1 && trimmed.endsWith(QLatin1Char('/'))) trimmed.chop(1);
  return trimmed.mid(trimmed.lastIndexOf(QLatin1Char('/')) + 1);
}

}  // namespace

ReportTables empty_tables(const QStringList& goods, const QStringList& operators) {
  ReportTables tables;
  for (const QString& name : goods) tables.goods.push_back({name});
  for (const QString& name : operators) tables.operators.push_back({name});
  return tables;
}

QString title_stem(const QString& day_file_path) {
  const QString without_extension = day_file_path.left(day_file_path.size() - 4);
  const qsizetype slash = without_extension.lastIndexOf(QLatin1Char('/'));
  const QString base = without_extension.mid(slash + 1);
  const QString folder = slash < 0 ? QString() : last_component(without_extension.left(slash));
  return folder + QLatin1Char('_') + base;
}

QString summed_title_stem(const QString& folder_path, const QStringList& file_names) {
  QStringList bases;
  for (const QString& name : file_names) bases << name.left(name.size() - 4);
  return last_component(folder_path) + QStringLiteral("_[") + bases.join(QLatin1Char(',')) + QStringLiteral("]日合计");
}

QString month_end_title_stem(const QString& folder_path) {
  return last_component(folder_path) + QStringLiteral("_[月结]");
}

QString report_date_text(const QDate& date) {
  return QStringLiteral("%1年%2月%3日").arg(date.year()).arg(date.month()).arg(date.day());
}

QStringList goods_table(const std::vector<GoodsRow>& rows) {
  const auto widths = {6, 30, 18, 28};
  const QString separator = border(QStringLiteral("├"), QStringLiteral("┼"), QStringLiteral("┤"), widths);
  QStringList lines;
  lines << border(QStringLiteral("┌"), QStringLiteral("┬"), QStringLiteral("┐"), widths);
  lines << QStringLiteral("│ 序号 │         商       品          │    数      量    │          金    额          │");
  lines << separator;
  sales::Money total;
  for (size_t i = 0; i < rows.size(); ++i) {
    const GoodsRow& row = rows[i];
    QString name = row.name;
    lines << QStringLiteral("│ ") + row_number(i) + QStringLiteral(" │       ") + pad_text(name, kRight, kGoodsWidth) +
                 QStringLiteral("       │     ") + pad_text(row.quantity.text(), kLeft, kQuantityWidth) +
                 QStringLiteral("     │         ") + pad_text(row.amount.text(), kLeft, kAmountWidth) +
                 QStringLiteral("         │");
    total = total.added(row.amount);
  }
  lines << separator;
  lines << QStringLiteral("│      │           合     计          │                  │         ") +
               pad_text(total.text(), kLeft, kAmountWidth) + QStringLiteral(" （元）  │");
  lines << border(QStringLiteral("└"), QStringLiteral("┴"), QStringLiteral("┘"), widths);
  return lines;
}

QStringList operator_table(const std::vector<OperatorRow>& rows) {
  const auto widths = {6, 34, 32};
  const QString separator = border(QStringLiteral("├"), QStringLiteral("┼"), QStringLiteral("┤"), widths);
  QStringList lines;
  lines << border(QStringLiteral("┌"), QStringLiteral("┬"), QStringLiteral("┐"), widths);
  lines << QStringLiteral("│ 序号 │          操作员姓名/编号         │          个人销售金额          │");
  lines << separator;
  sales::Money total;
  for (size_t i = 0; i < rows.size(); ++i) {
    const OperatorRow& row = rows[i];
    QString name = row.name;
    lines << QStringLiteral("│ ") + row_number(i) + QStringLiteral(" │               ") +
                 pad_text(name, kRight, kOperatorWidth) + QStringLiteral("             │           ") +
                 pad_text(row.amount.text(), kLeft, kAmountWidth) + QStringLiteral("           │");
    total = total.added(row.amount);
  }
  lines << separator;
  lines << QStringLiteral("│      │             合     计            │           ") +
               pad_text(total.text(), kLeft, kAmountWidth) + QStringLiteral(" （元）    │");
  lines << border(QStringLiteral("└"), QStringLiteral("┴"), QStringLiteral("┘"), widths);
  return lines;
}

QStringList remarks_box() {
  const auto widths = {6, 80};
  return {border(QStringLiteral("┌"), QStringLiteral("┬"), QStringLiteral("┐"), widths),
          QStringLiteral("│  备  │") + QString(80, QLatin1Char(' ')) + QStringLiteral("│"),
          QStringLiteral("│  注  │") + QString(80, QLatin1Char(' ')) + QStringLiteral("│"),
          border(QStringLiteral("└"), QStringLiteral("┴"), QStringLiteral("┘"), widths)};
}

QStringList report_lines(const QString& company, const QString& stem, const ReportTables& tables, const QDate& date,
                         Header header) {
  const QString company_line = QStringLiteral("【公司名：") + company + QStringLiteral("】");
  const QString goods_title = QStringLiteral("【") + stem + QStringLiteral(" 商品销售明细报表") + QStringLiteral(" 】");
  QStringList lines{QString()};
  if (header == Header::Joined) {
    lines << kMargin + company_line + goods_title;
  } else {
    lines << kMargin + company_line << kMargin + goods_title;
  }
  for (const QString& line : goods_table(tables.goods)) lines << kMargin + line;
  lines << kMargin;
  lines << kMargin + QStringLiteral("【") + stem + QStringLiteral(" 个人销售明细表") + QStringLiteral(" 】");
  for (const QString& line : operator_table(tables.operators)) lines << kMargin + line;
  for (const QString& line : remarks_box()) lines << kMargin + line;
  lines << kMargin + QStringLiteral("【制表日期: ") + report_date_text(date) + QStringLiteral(" 】") +
               QStringLiteral("    制表员：(签名)_______________");
  return lines;
}

int page_fill_lines(qsizetype lines) {
  return static_cast<int>((kReportPageLines - lines % kReportPageLines) % kReportPageLines);
}

}  // namespace tavuro::reports
