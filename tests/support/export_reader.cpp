#include "support/export_reader.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace tavuro::testing {

CsvFile read_csv(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  QByteArray bytes = file.readAll();
  CsvFile csv;
  csv.byte_order_mark = bytes.startsWith("\xEF\xBB\xBF");
  if (csv.byte_order_mark) bytes.remove(0, 3);
  const QString text = QString::fromUtf8(bytes);
  QStringList row;
  QString field;
  bool quoted = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (quoted) {
      if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
        field += c;
        ++i;
      } else if (c == QLatin1Char('"')) {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == QLatin1Char('"')) {
      quoted = true;
    } else if (c == QLatin1Char(',')) {
      row << field;
      field.clear();
    } else if (c == QLatin1Char('\n')) {
      if (!field.endsWith(QLatin1Char('\r'))) csv.crlf = false;
      if (field.endsWith(QLatin1Char('\r'))) field.chop(1);
      row << field;
      csv.rows << row;
      row.clear();
      field.clear();
    } else {
      field += c;
    }
  }
  if (!field.isEmpty() || !row.isEmpty()) {
    row << field;
    csv.rows << row;
    csv.crlf = false;  // a last line without its end
  }
  return csv;
}

QList<XlsxSheet> read_xlsx(const QString& path) {
  QProcess python;
  // Debian's own Python, which python3-openpyxl installs into.
  python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(TAVURO_READ_XLSX_SCRIPT), path});
  EXPECT_TRUE(python.waitForFinished(120000)) << "python3 did not finish";
  const QByteArray out = python.readAllStandardOutput();
  EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
  QList<XlsxSheet> sheets;
  for (const QJsonValue& value : QJsonDocument::fromJson(out).array()) {
    XlsxSheet sheet;
    sheet.name = value.toObject().value(QStringLiteral("name")).toString();
    for (const QJsonValue& row : value.toObject().value(QStringLiteral("rows")).toArray()) {
      QStringList cells;
      for (const QJsonValue& cell : row.toArray()) cells << cell.toString();
      // openpyxl pads a row to the sheet's width; the padding says nothing.
      while (!cells.isEmpty() && cells.back().isEmpty()) cells.removeLast();
      sheet.rows << cells;
    }
    sheets << sheet;
  }
  return sheets;
}

}  // namespace tavuro::testing
