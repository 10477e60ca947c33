#pragma once
// The customer receipt (收银收据) of the current sale: its text and its printing.

#include <QDate>
#include <QString>
#include <QStringList>

namespace tavuro::cashier {

struct ReceiptData {
  QStringList lines;       // the display lines of the receipt, first to last
  QString receiptCaption;  // "单号:" + six digits
  float total = 0.0f;      // the receipt's total
  QString companyName;     // the stored company name; may be empty
  QDate date;              // today
};

// The printed lines, each with its four-space indent; none for a receipt without lines.
QStringList receipt_text(const ReceiptData& receipt);

// The message shown when the receipt could not be printed.
QString receipt_not_printed_message();

// Prints the receipt on the line printer at font size 12. A receipt without lines prints
// nothing. When it was not printed (no printer, the job did not start) the user is told
// so once; returns whether it was printed.
bool print_receipt(const ReceiptData& receipt);

}  // namespace tavuro::cashier
