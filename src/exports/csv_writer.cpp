// CSV as Excel on a Chinese Windows PC opens it: UTF-8 with a byte-order mark (without
// one Excel reads the bytes in the local code page and shows the Chinese garbled), commas,
// CR LF line ends, quotes where a field needs them.

#include "exports/csv_writer.h"

#include "exports/cell_text.h"

namespace tavuro::exports {

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
// Rows are gathered and written in pieces of about this size.
constexpr qsizetype kFlushBytes = 1 << 16;

bool needs_quotes(const QString& field) {
  for (const QChar c : field) {
    if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
      return true;
    }
  }
  // Spaces at either end are kept only inside quotes by some readers.
  return !field.isEmpty() && (field.front() == QLatin1Char(' ') || field.back() == QLatin1Char(' '));
}

}  // namespace

QString csv_field(const QString& text) {
  QString field = spreadsheet_safe_text(text);
  if (!needs_quotes(field)) return field;
  field.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + field + QLatin1Char('"');
}

CsvWriter::CsvWriter(const QString& path, bool titled_sections) : file_(path), titled_sections_(titled_sections) {
  if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    throw ExportError(QStringLiteral("不能创建文件：") + file_.errorString());
  }
  buffer_.append(kByteOrderMark);
}

CsvWriter::~CsvWriter() = default;

void CsvWriter::line(const QStringList& fields) {
  for (qsizetype i = 0; i < fields.size(); ++i) {
    if (i > 0) buffer_.append(',');
    buffer_.append(fields[i].toUtf8());
  }
  buffer_.append("\r\n");
  if (buffer_.size() >= kFlushBytes) flush();
}

void CsvWriter::flush() {
  if (file_.write(buffer_) != buffer_.size()) throw ExportError(QStringLiteral("写文件时出错：") + file_.errorString());
  buffer_.clear();
}

void CsvWriter::begin_sheet(const QString& name, const std::vector<Column>& columns) {
  if (sheets_ > 0) line({});
  ++sheets_;
  if (titled_sections_) line({csv_field(name)});
  columns_ = columns;
  QStringList header;
  for (const Column& column : columns) header << csv_field(column.title);
  line(header);
}

void CsvWriter::add_row(const Row& row, RowKind) {
  if (row.size() > columns_.size()) throw ExportError(QStringLiteral("导出的行比表头多列。"));
  // One line of text, turned into UTF-8 once: a year's export has a hundred thousand.
  QString text;
  text.reserve(128);
  for (size_t i = 0; i < row.size(); ++i) {
    if (i > 0) text += QLatin1Char(',');
    const Cell& cell = row[i];
    text += std::holds_alternative<QString>(cell) ? csv_field(std::get<QString>(cell)) : cell_text(cell);
  }
  text += QStringLiteral("\r\n");
  buffer_.append(text.toUtf8());
  if (buffer_.size() >= kFlushBytes) flush();
}

void CsvWriter::finish() {
  flush();
  if (!file_.flush()) throw ExportError(QStringLiteral("写文件时出错：") + file_.errorString());
  file_.close();
}

}  // namespace tavuro::exports
