#pragma once
// The receipt on a thermal printer's paper: everything the customer receipt carries (the
// welcome line, 收银收据, the receipt number, each line's goods, quantity × unit price and
// amount, the total, the date and the company), laid out in the paper's columns, where a
// Chinese character takes two. No line is wider than the paper: a long goods name wraps
// in its place, and a pair of texts that cannot share a line takes two.

#include "printing/printer_setting.h"
#include "sales/display_line.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace tavuro::printing {

struct ReceiptItem {
  int number = 0;  // as the temporary record numbers it
  sales::SaleColumns columns;
};

struct ReceiptContent {
  QString caption;  // "单号:" + six digits
  QList<ReceiptItem> items;
  QString total;    // two decimals
  QString company;  // the stored company name; may be empty
  QDate date;
};

// 2003年5月7日: numbers without leading zeros.
QString receipt_date(const QDate& date);

// The lines of the receipt on paper of that many columns; none for a receipt without
// items. 80 mm paper (48 columns) also carries each line's operator and time.
QStringList paper_receipt(const ReceiptContent& receipt, int columns);

// A short page that shows the printer, its paper and its Chinese: a ruler as wide as the
// paper, a few Chinese words and the time.
QStringList test_page(const PrinterSetting& setting, const QDateTime& now);

// The text cut into pieces of at most width columns, a character never split; the
// spaces at the ends of each piece are dropped. An empty text gives one empty piece.
QStringList wrap_to_width(const QString& text, int width);

}  // namespace tavuro::printing
