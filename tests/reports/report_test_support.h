#pragma once
// Reading back the report text file as the tests compare it.

#include "support/shop_fixture.h"

#include <gtest/gtest.h>
#include <QProcess>
#include <QStringDecoder>
#include <QStringList>

#include <initializer_list>

namespace tavuro::reports::test {

// A sale line with the fields a report reads.
inline testing::SaleLine sale(const char* goods, const char* quantity, const char* amount, const char* op) {
  testing::SaleLine line;
  line.goods = QString::fromUtf8(goods);
  line.quantity = QString::fromUtf8(quantity);
  line.amount = QString::fromUtf8(amount);
  line.op = QString::fromUtf8(op);
  return line;
}

// The lines of a GB18030 text file whose every line ends in CR LF.
inline QStringList report_file_lines(const QString& path) {
  const QByteArray bytes = testing::read_bytes(path);
  EXPECT_TRUE(bytes.isEmpty() || bytes.endsWith("\r\n"));
  QStringDecoder decoder("GB18030");
  QString text = decoder.decode(bytes);
  EXPECT_FALSE(decoder.hasError());
  QStringList lines = text.split(QStringLiteral("\r\n"));
  lines.removeLast();
  for (const QString& line : lines) EXPECT_FALSE(line.contains(QLatin1Char('\n'))) << line.toStdString();
  return lines;
}

inline void expect_lines(const QStringList& actual, const QStringList& expected) {
  for (qsizetype i = 0; i < qMin(actual.size(), expected.size()); ++i) {
    EXPECT_EQ(actual[i].toStdString(), expected[i].toStdString()) << "line " << i + 1;
  }
  EXPECT_EQ(actual.size(), expected.size());
}

// Lines written as UTF-8 literals.
inline QStringList utf8_lines(std::initializer_list<const char*> lines) {
  QStringList list;
  for (const char* line : lines) list << QString::fromUtf8(line);
  return list;
}

inline void expect_lines(const QStringList& actual, std::initializer_list<const char*> expected) {
  expect_lines(actual, utf8_lines(expected));
}

// The text of each page of a PDF file as pdftotext (poppler-utils) extracts it, with the
// spaces taken out, one entry per line that holds any text.
inline QList<QStringList> pdf_pages(const QString& pdf) {
  QProcess extract;
  extract.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  EXPECT_TRUE(extract.waitForFinished(60000)) << "pdftotext did not run";
  QStringList pages = QString::fromUtf8(extract.readAllStandardOutput()).split(QLatin1Char('\f'));
  if (!pages.isEmpty() && pages.back().trimmed().isEmpty()) pages.removeLast();
  QList<QStringList> result;
  for (const QString& page : pages) {
    QStringList lines;
    for (QString line : page.split(QLatin1Char('\n'))) {
      line.remove(QLatin1Char(' '));
      if (!line.isEmpty()) lines << line;
    }
    result << lines;
  }
  return result;
}

}  // namespace tavuro::reports::test
