#include "exports/xlsx_writer.h"

#include <QFile>

#include <xlsxwriter.h>

namespace tavuro::exports {

namespace {

constexpr qsizetype kMaxSheetName = 31;

// libxlsxwriter keeps the pointer it is given for a sheet name only while it is called.
QByteArray utf8(const QString& text) { return text.toUtf8(); }

}  // namespace

QString worksheet_name(const QString& wanted, const QStringList& taken) {
  QString name = wanted;
  for (QChar& c : name) {
    if (QStringLiteral("[]:*?/\\").contains(c)) c = QLatin1Char('_');
  }
  // An apostrophe may not open or close a name.
  while (name.startsWith(QLatin1Char('\''))) name.remove(0, 1);
  while (name.endsWith(QLatin1Char('\''))) name.chop(1);
  if (name.isEmpty()) name = QStringLiteral("Sheet");
  name.truncate(kMaxSheetName);
  QString unique = name;
  for (int n = 2; taken.contains(unique, Qt::CaseInsensitive); ++n) {
    const QString suffix = QStringLiteral(" (%1)").arg(n);
    unique = name.left(kMaxSheetName - suffix.size()) + suffix;
  }
  return unique;
}

XlsxWriter::XlsxWriter(const QString& path) : path_(QFile::encodeName(path)) {
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  workbook_ = workbook_new_opt(path_.constData(), &options);
  if (workbook_ == nullptr) throw ExportError(QStringLiteral("不能创建 Excel 工作簿。"));
  header_ = workbook_add_format(workbook_);
  format_set_bold(header_);
  format_set_bottom(header_, LXW_BORDER_THIN);
  amount_ = workbook_add_format(workbook_);
  format_set_num_format(amount_, "0.00");
  date_ = workbook_add_format(workbook_);
  format_set_num_format(date_, "yyyy-mm-dd");
  total_text_ = workbook_add_format(workbook_);
  format_set_bold(total_text_);
  format_set_top(total_text_, LXW_BORDER_THIN);
  total_amount_ = workbook_add_format(workbook_);
  format_set_bold(total_amount_);
  format_set_top(total_amount_, LXW_BORDER_THIN);
  format_set_num_format(total_amount_, "0.00");
}

XlsxWriter::~XlsxWriter() {
  if (workbook_ == nullptr) return;
  // Given up before its end: the library's memory goes, the half-made file with it.
  workbook_close(workbook_);
  QFile::remove(QFile::decodeName(path_));
}

void XlsxWriter::check(int error) const {
  if (error == LXW_NO_ERROR) return;
  throw ExportError(QStringLiteral("写 Excel 工作簿时出错：") +
                    QString::fromUtf8(lxw_strerror(static_cast<lxw_error>(error))));
}

void XlsxWriter::begin_sheet(const QString& name, const std::vector<Column>& columns) {
  const QString unique = worksheet_name(name, sheet_names_);
  sheet_names_ << unique;
  sheet_ = workbook_add_worksheet(workbook_, utf8(unique).constData());
  if (sheet_ == nullptr) throw ExportError(QStringLiteral("不能添加工作表：") + unique);
  columns_ = columns;
  row_ = 0;
  for (size_t i = 0; i < columns.size(); ++i) {
    const auto column = static_cast<lxw_col_t>(i);
    check(worksheet_set_column(sheet_, column, column, columns[i].width, nullptr));
    check(worksheet_write_string(sheet_, row_, column, utf8(columns[i].title).constData(), header_));
  }
  worksheet_freeze_panes(sheet_, 1, 0);
  ++row_;
}

void XlsxWriter::write_cell(int column, const Cell& cell, RowKind kind) {
  const auto col = static_cast<lxw_col_t>(column);
  const bool totals = kind == RowKind::Totals;
  lxw_format* text_format = totals ? total_text_ : nullptr;
  if (const auto* text = std::get_if<QString>(&cell)) {
    // A text is always stored as a text: nothing typed into a name becomes a formula.
    if (!text->isEmpty()) check(worksheet_write_string(sheet_, row_, col, utf8(*text).constData(), text_format));
    else if (totals) check(worksheet_write_blank(sheet_, row_, col, total_text_));
  } else if (const auto* amount = std::get_if<sales::Money>(&cell)) {
    const qint64 hundredths = amount->hundredths();
    if (hundredths > kLargestExactHundredths || hundredths < -kLargestExactHundredths) {
      check(worksheet_write_string(sheet_, row_, col, utf8(amount->text()).constData(), text_format));
    } else {
      // hundredths / 100 is the double nearest to the decimal amount, and with at most 15
      // digits the file's text of that double is the amount's own decimal text.
      check(worksheet_write_number(sheet_, row_, col, static_cast<double>(hundredths) / 100.0,
                                   totals ? total_amount_ : amount_));
    }
  } else if (const auto* date = std::get_if<QDate>(&cell)) {
    lxw_datetime when{date->year(), date->month(), date->day(), 0, 0, 0.0};
    check(worksheet_write_datetime(sheet_, row_, col, &when, date_));
  } else if (const auto* whole = std::get_if<qint64>(&cell)) {
    check(worksheet_write_number(sheet_, row_, col, static_cast<double>(*whole), text_format));
  } else if (totals) {
    check(worksheet_write_blank(sheet_, row_, col, total_text_));
  }
}

void XlsxWriter::add_row(const Row& row, RowKind kind) {
  if (sheet_ == nullptr || row.size() > columns_.size()) throw ExportError(QStringLiteral("导出的行比表头多列。"));
  for (size_t i = 0; i < row.size(); ++i) write_cell(static_cast<int>(i), row[i], kind);
  ++row_;
}

void XlsxWriter::finish() {
  lxw_workbook* workbook = workbook_;
  workbook_ = nullptr;
  check(workbook_close(workbook));
}

}  // namespace tavuro::exports
