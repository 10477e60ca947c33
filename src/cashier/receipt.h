#pragma once
// The customer receipt (收银收据) of the current sale: its text and its printing, on the
// system printer or on the receipt printer of printer.dat.

#include "cashier/temporary_record.h"
#include "printing/printer_setting.h"
#include "printing/receipt_layout.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace tavuro::cashier {

// The receipt of the temporary record: its lines, the receipt number's caption, its total
// as the cashier shows it, the company name and the date.
printing::ReceiptContent receipt_of(const TemporaryRecord& record, const QString& caption, const QString& company,
                                    const QDate& date);

// The lines printed on the system printer, each with its four-space indent: the list
// lines of the temporary record in 88 columns; none for a receipt without lines.
QStringList receipt_text(const printing::ReceiptContent& receipt);

// The message shown when the system printer did not print the receipt.
QString receipt_not_printed_message();

// Prints the receipt on the printer of the setting: the system printer at font size 12,
// or an ESC/POS printer in the columns of its paper. A receipt without lines prints
// nothing. When it was not printed the user is told so once, with the cause; returns
// whether it was printed.
bool print_receipt(const printing::ReceiptContent& receipt, const printing::PrinterSetting& printer);

}  // namespace tavuro::cashier
