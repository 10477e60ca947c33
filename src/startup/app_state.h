#pragma once
// Everything the program holds for its whole run: the paths of its files, the small
// settings, the current operator and the values windows hand to one another. Start-up
// fills it; every window receives it by reference.

#include "exports/table.h"
#include "printing/printer_setting.h"
#include "sales/money.h"
#include "store/record_ref.h"

#include <QString>

namespace tavuro::startup {

struct Paths {
  QString appDir;        // the application directory
  QString monthFolder;   // <appDir>/<year>_<month>
  QString dayFile;       // <monthFolder>/<day>.day
  QString dayBackup;     // <monthFolder>/<day>.bak
  QString journalFile;   // <monthFolder>/journal.db: the journal of changes of the month
  QString shopFile;      // shop.dat
  QString shopBackup;    // shop.bak
  QString useFile;       // use.dat
  QString kefuFile;      // kefu.dat
  QString noberFile;     // nober.dat: the last receipt number issued
  QString coFile;        // co.dat: the company name
  QString pFile;         // p.dat: the administrator password
  QString publicFile;    // public.dat: the mask setting
  QString printer_file;  // printer.dat: where receipts are printed
};

inline const QString kMaskOff = QStringLiteral("屏蔽 = no");
inline const QString kMaskOn = QStringLiteral("屏蔽 = yes");

struct AppState {
  Paths paths;

  qint32 receiptCounter = 0;     // mirrored in nober.dat
  QString companyName;           // co.dat, trimmed when read
  QString adminPassword;         // p.dat, trimmed when read; empty: no password
  QString maskSetting = kMaskOff;
  QString currentOperator;       // chosen in the operator window; empty at start
  printing::PrinterSetting receipt_printer;  // printer.dat; the system printer unless it says otherwise

  QString pendingGoodsName;      // the goods name being registered from sale entry
  bool customerRegistered = false;  // a customer was just registered from sale entry
  bool printWindowFlag = false;  // the document window prints at once and closes
  QString currentReportFile;     // the report text the document window loads next
  // The tables of a report the program built, for the document window's 导出表格…: they
  // belong to the report file named here and go with it.
  struct ReportTables {
    QString reportFile;
    exports::Workbook workbook;
  } reportTables;

  // The receipt being entered: its total and its line count. Sale entry owns the receipt
  // and keeps these in step with it; nothing else writes them.
  sales::Money tempTotal{};
  qint16 tempLineCount = 0;

  // The record handed to the edit window: the one behind the chosen line of today's list.
  store::RecordRef editRecord;

  QString browseTarget;          // what the help browser shows next
};

}  // namespace tavuro::startup
