#pragma once
// Everything the program holds for its whole run: the paths of its files, the small
// settings, the current operator and the values windows hand to one another. Start-up
// fills it; every window receives it by reference.

#include "printing/printer_setting.h"
#include "sales/money.h"
#include "store/record_ref.h"

#include <QString>

namespace tavuro::startup {

struct Paths {
  QString app_dir;        // the application directory
  QString month_folder;   // <app_dir>/<year>_<month>
  QString day_file;       // <month_folder>/<day>.day
  QString day_backup;     // <month_folder>/<day>.bak
  QString journal_file;   // <month_folder>/journal.db: the journal of changes of the month
  QString shop_file;      // shop.dat
  QString shop_backup;    // shop.bak
  QString use_file;       // use.dat
  QString kefu_file;      // kefu.dat
  QString nober_file;     // nober.dat: the last receipt number issued
  QString co_file;        // co.dat: the company name
  QString p_file;         // p.dat: the administrator password
  QString public_file;    // public.dat: the mask setting
  QString printer_file;  // printer.dat: where receipts are printed
};

inline const QString kMaskOff = QStringLiteral("屏蔽 = no");
inline const QString kMaskOn = QStringLiteral("屏蔽 = yes");

struct AppState {
  Paths paths;

  qint32 receipt_counter = 0;     // mirrored in nober.dat
  QString company_name;           // co.dat, trimmed when read
  QString admin_password;         // p.dat, trimmed when read; empty: no password
  QString mask_setting = kMaskOff;
  QString current_operator;       // chosen in the operator window; empty at start
  printing::PrinterSetting receipt_printer;  // printer.dat; the system printer unless it says otherwise

  QString pending_goods_name;      // the goods name being registered from sale entry
  bool customer_registered = false;  // a customer was just registered from sale entry
  bool print_window_flag = false;  // the document window prints at once and closes
  QString current_report_file;     // the report text the document window loads next

  // The receipt being entered: its total and its line count. Sale entry owns the receipt
  // and keeps these in step with it; nothing else writes them.
  sales::Money temp_total{};
  qint16 temp_line_count = 0;

  // The record handed to the edit window: the one behind the chosen line of today's list.
  store::RecordRef edit_record;

  QString browse_target;          // what the help browser shows next
};

}  // namespace tavuro::startup
