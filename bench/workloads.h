#pragma once
// The workloads: each times a program path and its raw-SQLite baseline and adds rows to
// the table.

#include "shop_generator.h"

#include <QString>
#include <vector>

namespace tavuro::bench {

struct Row {
  QString workload;
  double program_ms;
  double baseline_ms;  // < 0: no baseline
  QString goal;
};

class Table {
 public:
  void add(const QString& workload, double program_ms, double baseline_ms, const QString& goal = {});
  void print() const;

 private:
  std::vector<Row> rows_;
};

// 1. save_line into day files already holding 0, 1,000 and 5,000 lines.
void record_lines(const GeneratedShop& shop, const QString& data_dir, Table& table);
// 1. the first line recorded after a record edit, in a day of 50,000 lines: with the edit
//    window's backup copy, and without it (as the edit window did before).
void first_line_after_edit(const GeneratedShop& shop, const QString& data_dir, Table& table);
// 2. today's 5,000 lines into display lines.
void load_today(const GeneratedShop& shop, Table& table);
// 3. the day report for 2,000 goods × 5,000 lines, and the per-row rescan once.
void day_report(const GeneratedShop& shop, Table& table);
// 4. the month-end report over 31 files.
void month_report(const GeneratedShop& shop, Table& table);
// 5. query_files over 365 files: one goods filter, and all filters at "* 全部 *".
void query_year(const GeneratedShop& shop, Table& table);
// 6. start-up to the cashier window shown, with the big catalogues and a busy day.
void start_up_window(const GeneratedShop& shop, Table& table);

// 8. 核对 of the busy month against its journal.
void check_month_journal(const GeneratedShop& shop, const QString& data_dir, Table& table);

}  // namespace tavuro::bench
