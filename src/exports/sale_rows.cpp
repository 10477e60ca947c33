#include "exports/sale_rows.h"

#include "store/schemas.h"

#include <QDir>
#include <QFileInfo>

namespace tavuro::exports {

namespace day = store::day;

namespace {

// Where 金额 stands in a row of sale_line_columns().
constexpr size_t kAmountColumn = 4;

}  // namespace

const std::vector<Column>& sale_line_columns() {
  static const std::vector<Column> columns{
      {QStringLiteral("日期"), ColumnKind::Date, 12},       {day::kGoods, ColumnKind::Text, 20},
      {day::kQuantity, ColumnKind::Amount, 10},            {day::kPrice, ColumnKind::Amount, 10},
      {day::kAmount, ColumnKind::Amount, 12},              {day::kOperator, ColumnKind::Text, 10},
      {day::kTime, ColumnKind::Text, 10},                  {day::kCustomer, ColumnKind::Text, 14},
      {day::kReceiptNo, ColumnKind::Text, 10},
  };
  return columns;
}

QDate day_of_file(const QString& day_file) {
  const QFileInfo file(day_file);
  if (file.suffix().compare(QStringLiteral("day"), Qt::CaseInsensitive) != 0) return {};
  const QStringList month = file.absoluteDir().dirName().split(QLatin1Char('_'));
  if (month.size() != 2) return {};
  bool year_ok = false;
  bool month_ok = false;
  bool day_ok = false;
  const int y = month[0].toInt(&year_ok);
  const int m = month[1].toInt(&month_ok);
  const int d = file.completeBaseName().toInt(&day_ok);
  if (!year_ok || !month_ok || !day_ok) return {};
  return QDate(y, m, d);  // invalid for a day the month does not have
}

namespace {

Cell amount_cell(const QString& text) {
  if (const std::optional<sales::Money> amount = sales::Money::parse(text)) return *amount;
  if (text.isEmpty()) return {};
  return text;
}

Cell text_cell(const QString& text) {
  if (text.isEmpty()) return {};
  return text;
}

}  // namespace

Row sale_row(const Cell& day_cell, const store::Record& record) {
  return {day_cell,
          text_cell(record.value(day::kGoods)),
          amount_cell(record.value(day::kQuantity)),
          amount_cell(record.value(day::kPrice)),
          amount_cell(record.value(day::kAmount)),
          text_cell(record.value(day::kOperator)),
          text_cell(record.value(day::kTime)),
          text_cell(record.value(day::kCustomer)),
          text_cell(record.value(day::kReceiptNo))};
}

QString line_count_text(qint64 count) { return QStringLiteral("共 %1 行").arg(count); }

SaleLineSheet::SaleLineSheet(TableWriter& writer, const QString& sheet_name) : writer_(writer) {
  writer_.begin_sheet(sheet_name, sale_line_columns());
}

void SaleLineSheet::set_day_file(const QString& day_file) {
  const QDate date = day_of_file(day_file);
  if (date.isValid()) {
    day_ = date;
  } else {
    const QFileInfo file(day_file);
    day_ = file.absoluteDir().dirName() + QLatin1Char('/') + file.fileName();
  }
}

void SaleLineSheet::add(const store::Record& record) {
  Row row = sale_row(day_, record);
  // The total is the lists' total: an amount that is no number adds nothing.
  if (const auto* amount = std::get_if<sales::Money>(&row[kAmountColumn])) total_ = total_.added(*amount);
  writer_.add_row(row);
  ++count_;
}

void SaleLineSheet::finish() {
  writer_.add_row({QStringLiteral("合计"), line_count_text(count_), {}, {}, total_}, RowKind::Totals);
}

}  // namespace tavuro::exports
