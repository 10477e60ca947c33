#include "workloads.h"

#include "cashier/day_records.h"
#include "cashier/frm_shop.h"
#include "cashier/record_edit.h"
#include "cashier/sale_record.h"
#include "query/query_engine.h"
#include "raw_sqlite.h"
#include "reports/report_runs.h"
#include "reports/report_sums.h"
#include "reports/sales_report.h"
#include "sales/display_line.h"
#include "sales/journal_check.h"
#include "sales/journaled_change.h"
#include "sales/labels.h"
#include "sales/money.h"
#include "sales/sale_line.h"
#include "startup/paths.h"
#include "startup/start_up.h"
#include "store/backup.h"
#include "store/data_file.h"
#include "store/schemas.h"
#include "textlayout/text_layout.h"
#include "timing.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTime>

#include <cstdio>
#include <memory>

#include <unistd.h>

namespace tavuro::bench {

namespace day = store::day;

void Table::add(const QString& workload, double program_ms, double baseline_ms, const QString& goal) {
  rows_.push_back({workload, program_ms, baseline_ms, goal});
}

void Table::print() const {
  std::printf("%-58s %12s %12s %8s  %s\n", "workload", "program ms", "baseline ms", "ratio", "goal");
  for (const Row& row : rows_) {
    const QByteArray name = row.workload.toUtf8();
    if (row.baseline_ms < 0) {
      std::printf("%-58s %12.3f %12s %8s  %s\n", name.constData(), row.program_ms, "-", "-", qPrintable(row.goal));
    } else {
      // A program many times faster than its reference reads better as 1/N.
      const double ratio = row.program_ms / row.baseline_ms;
      const QByteArray shown = ratio < 0.1 ? "1/" + QByteArray::number(1 / ratio, 'f', 0) : QByteArray::number(ratio, 'f', 2);
      std::printf("%-58s %12.3f %12.3f %8s  %s\n", name.constData(), row.program_ms, row.baseline_ms, shown.constData(),
                  qPrintable(row.goal));
    }
  }
}

namespace {

QString month_day(const GeneratedShop& shop, int day) { return shop.month_folder + QStringLiteral("/%1.day").arg(day); }

void copy_over(const QString& from, const QString& to) {
  QFile::remove(to);
  QFile::copy(from, to);
}

}  // namespace

void record_lines(const GeneratedShop& shop, const QString& data_dir, Table& table) {
  const QString work = data_dir + QStringLiteral("/record");
  QDir(work).removeRecursively();
  QDir().mkpath(work + QStringLiteral("/program"));
  QDir().mkpath(work + QStringLiteral("/baseline"));
  for (const int existing : {0, 1000, 5000}) {
    // Each day in a month folder of its own, whose journal is started before the timing.
    const QString folder = work + QStringLiteral("/program/%1").arg(existing);
    QDir().mkpath(folder);
    startup::Paths paths;
    paths.day_file = folder + QStringLiteral("/1.day");
    paths.day_backup = startup::backup_path_of(paths.day_file);
    paths.journal_file = sales::journal_path(folder);
    const QString raw_file = work + QStringLiteral("/baseline/%1.day").arg(existing);
    write_day_file(shop, paths.day_file, existing, 77 + existing);
    copy_over(paths.day_file, raw_file);
    copy_over(paths.day_file, paths.day_backup);
    sales::start_journal(paths.journal_file, shop.operators[0], QDateTime::currentDateTime());
    Timing program;
    Timing baseline;
    int n = 0;
    cashier::SaleRecord line{{shop.goods[0], QStringLiteral("2.00"), shop.prices[0], QStringLiteral("9.98"),
                              shop.operators[0], QString()},
                             QString(),
                             QStringLiteral("000123")};
    alternate(
        300, program,
        [&] {
          line.columns.time = QTime(8, 0).addSecs(++n).toString(QStringLiteral("HH:mm:ss"));
          if (!cashier::save_line(paths, line)) std::abort();
        },
        baseline,
        [&] {
          raw::record_line(raw_file, startup::backup_path_of(raw_file),
                           {line.columns.goods, line.columns.quantity, line.columns.price, line.columns.amount,
                            line.columns.op, line.columns.time, sales::kWalkInCustomer, line.receipt});
        });
    const QString name = QStringLiteral("1 record a line with journal into a day of %1 lines").arg(existing);
    table.add(name + QStringLiteral(", median"), program.median(), baseline.median(), QStringLiteral("<= 1.5x"));
    table.add(name + QStringLiteral(", p99"), program.p99(), baseline.p99(), QStringLiteral("< 10 ms"));
  }
}

void load_today(const GeneratedShop& shop, Table& table) {
  const QString file = month_day(shop, 15);
  Timing program;
  Timing baseline;
  int lines = 0;
  alternate(
      15, program, [&] { lines = static_cast<int>(cashier::all_day_lines(file).lines.size()); }, baseline,
      [&] {
        QStringList view;
        sales::Money total;
        raw::select(file,
                    QStringLiteral("SELECT 商品,数量,单价,金额,操作编号,时间 FROM FileName ORDER BY rowid"), {},
                    [&](const QStringList& row) {
                      view << sales::display_line(static_cast<int>(view.size()) + 1,
                                                  {row[0], row[1], row[2], row[3], row[4], row[5]});
                      total = total.added(sales::amount_or_zero(row[3]));
                    });
      });
  table.add(QStringLiteral("2 today's %1 lines into display lines").arg(lines), program.median(), baseline.median(),
            QStringLiteral("<= 2x"));
}

namespace {

// The baseline of a query: the same records selected by SQL and formatted alike.
int raw_query(const QStringList& files, const QString& where, const QStringList& binds) {
  int count = 0;
  sales::Money total;
  QStringList lines;
  for (const QString& file : files) {
    raw::select(file,
                QStringLiteral("SELECT 商品,数量,单价,金额,操作编号,时间 FROM FileName ") + where +
                    QStringLiteral(" ORDER BY rowid"),
                binds, [&](const QStringList& row) {
                  lines << sales::display_line(++count, {row[0], row[1], row[2], row[3], row[4], row[5]});
                  total = total.added(sales::amount_or_zero(row[3]));
                });
    if (count > query::kMaxResultLines) break;
  }
  return count;
}

}  // namespace

void query_year(const GeneratedShop& shop, Table& table) {
  QStringList files;
  for (int d = 1; d <= 365; ++d) files << shop.year_folder + QStringLiteral("/%1.day").arg(d);
  const QString goods = shop.goods[7];
  const QString all = sales::kAllEntry;
  Timing program;
  Timing baseline;
  int found = 0;
  alternate(
      5, program,
      [&] {
        found = query::query_files(files, {{day::kGoods, goods}, {day::kOperator, all}, {day::kCustomer, all}}).count();
      },
      baseline, [&] { raw_query(files, QStringLiteral("WHERE 商品 = ?"), {goods}); });
  table.add(QStringLiteral("5 query 365 days by one goods (%1 lines)").arg(found), program.median(),
            baseline.median(), QStringLiteral("<= 2x"));

  Timing program_all;
  Timing baseline_all;
  alternate(
      3, program_all,
      [&] {
        found = query::query_files(files, {{day::kGoods, all}, {day::kOperator, all}, {day::kCustomer, all}}).count();
      },
      baseline_all, [&] { raw_query(files, QString(), {}); });
  table.add(QStringLiteral("5 query 365 days, all three at * 全部 * (%1 lines)").arg(found), program_all.median(),
            baseline_all.median(), QStringLiteral("<= 2x"));
}

void start_up_window(const GeneratedShop& shop, Table& table) {
  Timing program;
  for (int i = 0; i < 5; ++i) {
    startup::AppState state;
    std::unique_ptr<cashier::Frm_shop> window;
    program.ms.push_back(time_ms([&] {
      startup::start_up(state, shop.app_dir, QDate(2026, 1, 15), [&window](startup::AppState& s) {
        window = std::make_unique<cashier::Frm_shop>(s);
        window->show();
      });
      QApplication::processEvents();
    }));
  }
  table.add(QStringLiteral("6 start-up to the cashier window (2,000 goods, 5,000 lines)"), program.median(), -1,
            QStringLiteral("< 500 ms"));
}

}  // namespace tavuro::bench

namespace tavuro::bench {

namespace {

startup::AppState report_state(const GeneratedShop& shop) {
  startup::AppState state;
  state.paths = startup::make_paths(shop.app_dir, QDate(2026, 1, 15));
  state.company_name = QStringLiteral("天天便利店");
  return state;
}

// The baseline of a report: the catalogue names, then per file two GROUP BY sums, added
// up in C++, and the rows written to a text file.
void raw_report(const GeneratedShop& shop, const QStringList& files, const QString& out) {
  QStringList goods;
  QStringList operators;
  raw::select(shop.app_dir + QStringLiteral("/shop.dat"), QStringLiteral("SELECT 商品 FROM FileName ORDER BY rowid"), {},
              [&](const QStringList& row) { goods << row[0].trimmed(); });
  raw::select(shop.app_dir + QStringLiteral("/use.dat"), QStringLiteral("SELECT 名单 FROM FileName ORDER BY rowid"), {},
              [&](const QStringList& row) { operators << row[0].trimmed(); });
  QHash<QString, std::pair<double, double>> goods_sums;
  QHash<QString, double> operator_sums;
  for (const QString& file : files) {
    raw::select(file,
                QStringLiteral("SELECT trim(商品), SUM(CAST(数量 AS REAL)), SUM(CAST(金额 AS REAL)) FROM FileName "
                               "GROUP BY trim(商品)"),
                {}, [&](const QStringList& row) {
                  auto& sums = goods_sums[row[0]];
                  sums.first += row[1].toDouble();
                  sums.second += row[2].toDouble();
                });
    raw::select(file,
                QStringLiteral("SELECT trim(操作编号), SUM(CAST(金额 AS REAL)) FROM FileName GROUP BY trim(操作编号)"), {},
                [&](const QStringList& row) { operator_sums[row[0]] += row[1].toDouble(); });
  }
  QByteArray text;
  for (const QString& name : goods) {
    const auto sums = goods_sums.value(name);
    text += (name + QLatin1Char(' ') + QString::number(sums.first, 'f', 2) + QLatin1Char(' ') +
             QString::number(sums.second, 'f', 2) + QStringLiteral("\r\n"))
                .toUtf8();
  }
  for (const QString& name : operators) {
    text += (name + QLatin1Char(' ') + QString::number(operator_sums.value(name), 'f', 2) + QStringLiteral("\r\n")).toUtf8();
  }
  QFile file(out);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
  file.write(text);
  file.flush();
  ::fsync(file.handle());
}

// The sums as a report made them before the one-pass design: for every goods row and
// every operator row, a walk over every record of the day file from the first.
void rescan_per_row(const QString& path, const QStringList& goods, const QStringList& operators) {
  const store::DataFile file = store::DataFile::open(path);
  std::vector<sales::Money> quantity(static_cast<size_t>(goods.size()));
  std::vector<sales::Money> amount(static_cast<size_t>(goods.size()));
  std::vector<sales::Money> operator_amount(static_cast<size_t>(operators.size()));
  for (qsizetype row = 0; row < goods.size(); ++row) {
    file.walk({day::kGoods, day::kQuantity, day::kAmount}, [&](const store::Record& record) {
      const QStringList& v = record.values();
      if (textlayout::trim_spaces(v[0]) == goods[row]) {
        auto& q = quantity[static_cast<size_t>(row)];
        auto& a = amount[static_cast<size_t>(row)];
        q = q.added(sales::amount_or_zero(v[1]));
        a = a.added(sales::amount_or_zero(v[2]));
      }
      return true;
    });
  }
  for (qsizetype row = 0; row < operators.size(); ++row) {
    file.walk({day::kOperator, day::kAmount}, [&](const store::Record& record) {
      const QStringList& v = record.values();
      if (textlayout::trim_spaces(v[0]) == operators[row]) {
        auto& a = operator_amount[static_cast<size_t>(row)];
        a = a.added(sales::amount_or_zero(v[1]));
      }
      return true;
    });
  }
}

}  // namespace

void day_report(const GeneratedShop& shop, Table& table) {
  startup::AppState state = report_state(shop);
  const QString file = month_day(shop, 15);
  const QString raw_out = shop.app_dir + QStringLiteral("/raw_report.txt");
  Timing program;
  Timing baseline;
  alternate(
      10, program, [&] { if (!reports::build_sales_report(state, file)) std::abort(); }, baseline,
      [&] { raw_report(shop, {file}, raw_out); });
  table.add(QStringLiteral("3 day report, 2,000 goods x 5,000 lines"), program.median(), baseline.median(),
            QStringLiteral("<= 2x"));

  const QStringList goods =
      reports::read_names(shop.app_dir + QStringLiteral("/shop.dat"), store::shop_schema(), store::shop::kGoods);
  const QStringList operators =
      reports::read_names(shop.app_dir + QStringLiteral("/use.dat"), store::name_list_schema(), store::kNameField);
  Timing one_pass;
  for (int i = 0; i < 10; ++i) {
    one_pass.ms.push_back(time_ms([&] { reports::sum_one_pass(goods, operators, reports::read_day_lines(file)); }));
  }
  const double rescan = time_ms([&] { rescan_per_row(file, goods, operators); });
  table.add(QStringLiteral("3 report sums: one pass vs the per-row rescan of the file"), one_pass.median(), rescan,
            QStringLiteral(">= 100x faster"));
  const std::vector<reports::DayLine> lines = reports::read_day_lines(file);
  const double in_memory = time_ms([&] { reports::sum_per_row(goods, operators, lines); });
  Timing sums_only;
  for (int i = 0; i < 10; ++i) sums_only.ms.push_back(time_ms([&] { reports::sum_one_pass(goods, operators, lines); }));
  table.add(QStringLiteral("3 report sums in memory: one pass vs per-row loops"), sums_only.median(), in_memory,
            QStringLiteral("(for reference)"));
}

void month_report(const GeneratedShop& shop, Table& table) {
  startup::AppState state = report_state(shop);
  QStringList names;
  QStringList files;
  for (int d = 1; d <= 31; ++d) {
    names << QStringLiteral("%1.day").arg(d);
    files << month_day(shop, d);
  }
  std::sort(names.begin(), names.end());
  const QString raw_out = shop.app_dir + QStringLiteral("/raw_report.txt");
  Timing program;
  Timing baseline;
  alternate(
      3, program,
      [&] { if (!reports::run_reports(state, reports::RunMode::MonthEnd, shop.month_folder, names)) std::abort(); },
      baseline, [&] { raw_report(shop, files, raw_out); });
  table.add(QStringLiteral("4 month-end report over 31 days x 5,000 lines"), program.median(), baseline.median(),
            QStringLiteral("<= 2x"));
}

namespace {

// A correction as the record edit window makes it: the record held, every field but the
// time written with its journal entry, then (when back_up) the backup copy.
void edit_last_record(const startup::Paths& paths, const QString& op, int n, bool back_up) {
  const store::DataFile file = store::DataFile::open(paths.day_file, store::day_schema());
  const store::RecordRef last = file.ref_to(file.records().back());
  cashier::RecordEditor editor;
  if (editor.open(last, paths.day_backup) != cashier::RecordLookup::Found) std::abort();
  cashier::EditedRecord values = editor.record();
  values.amount = QStringLiteral("%1.00").arg(n % 90 + 10);
  if (!editor.save(values, sales::change_context(paths.journal_file, op))) std::abort();
  if (back_up) store::backup_file(paths.day_file, paths.day_backup, store::SourceCheck::AlreadySound);
  editor.close();
}

}  // namespace

void first_line_after_edit(const GeneratedShop& shop, const QString& data_dir, Table& table) {
  constexpr int kLines = 50000;
  constexpr int kRepetitions = 20;
  const QString work = data_dir + QStringLiteral("/after_edit");
  QDir(work).removeRecursively();
  QDir().mkpath(work + QStringLiteral("/program"));
  QDir().mkpath(work + QStringLiteral("/baseline"));
  startup::Paths paths;
  paths.day_file = work + QStringLiteral("/program/1.day");
  paths.day_backup = startup::backup_path_of(paths.day_file);
  paths.journal_file = sales::journal_path(work + QStringLiteral("/program"));
  const QString raw_file = work + QStringLiteral("/baseline/1.day");
  write_day_file(shop, paths.day_file, kLines, 4711);
  copy_over(paths.day_file, raw_file);
  copy_over(paths.day_file, paths.day_backup);
  sales::start_journal(paths.journal_file, shop.operators[0], QDateTime::currentDateTime());
  cashier::SaleRecord line{{shop.goods[1], QStringLiteral("1.00"), shop.prices[1], shop.prices[1], shop.operators[0],
                            QString()},
                           QString(),
                           QStringLiteral("000124")};
  const QStringList raw_values{line.columns.goods, line.columns.quantity, line.columns.price, line.columns.amount,
                              line.columns.op,    QStringLiteral("09:00:00"), sales::kWalkInCustomer, line.receipt};
  for (const bool backed_up : {true, false}) {
    Timing program;
    Timing baseline;
    for (int i = 0; i < kRepetitions; ++i) {
      edit_last_record(paths, shop.operators[0], i, backed_up);
      line.columns.time = QTime(9, 0).addSecs(i + (backed_up ? 0 : kRepetitions)).toString(QStringLiteral("HH:mm:ss"));
      program.ms.push_back(time_ms([&] {
        if (!cashier::save_line(paths, line)) std::abort();
      }));
      baseline.ms.push_back(time_ms([&] { raw::record_line(raw_file, startup::backup_path_of(raw_file), raw_values); }));
    }
    table.add(backed_up ? QStringLiteral("1 first line after a record edit (edit backed up), 50,000 lines")
                        : QStringLiteral("1 the same, edit without a backup copy (as before), 50,000 lines"),
              program.median(), baseline.median(), backed_up ? QStringLiteral("<= 1.5x") : QStringLiteral("(reference)"));
  }
}

void check_month_journal(const GeneratedShop& shop, const QString& data_dir, Table& table) {
  // A copy of the busy month, its journal started over the records it holds, then a day
  // of corrections and new lines, each with its entry.
  const QString folder = data_dir + QStringLiteral("/check/2026_1");
  QDir(folder).removeRecursively();
  QDir().mkpath(folder);
  QStringList files;
  for (int d = 1; d <= 31; ++d) {
    files << folder + QStringLiteral("/%1.day").arg(d);
    copy_over(month_day(shop, d), files.last());
  }
  const QString journal = sales::journal_path(folder);
  sales::start_journal(journal, shop.operators[0], QDateTime::currentDateTime());
  startup::Paths paths;
  paths.day_file = files[30];
  paths.day_backup = startup::backup_path_of(paths.day_file);
  paths.journal_file = journal;
  copy_over(paths.day_file, paths.day_backup);
  for (int i = 0; i < 20; ++i) edit_last_record(paths, shop.operators[1], i, true);
  for (int i = 0; i < 20; ++i) {
    const cashier::SaleRecord line{{shop.goods[2], QStringLiteral("1.00"), shop.prices[2], shop.prices[2],
                                    shop.operators[1], QTime(20, 0).addSecs(i).toString(QStringLiteral("HH:mm:ss"))},
                                   QString(),
                                   QStringLiteral("000200")};
    if (!cashier::save_line(paths, line)) std::abort();
  }
  Timing program;
  Timing baseline;
  qint64 records = 0;
  bool sound = false;
  alternate(
      3, program,
      [&] {
        const sales::JournalCheck check = sales::check_month(folder);
        records = check.records;
        sound = check.sound();
      },
      baseline,
      [&] {
        qint64 bytes = 0;
        for (const QString& file : files) {
          raw::select(file, QStringLiteral("SELECT * FROM FileName ORDER BY rowid"), {},
                      [&](const QStringList& row) { bytes += row.join(QLatin1Char('=')).size(); });
        }
        raw::select(journal, QStringLiteral("SELECT * FROM Journal ORDER BY 1"), {},
                    [&](const QStringList& row) { bytes += row.join(QLatin1Char('=')).size(); });
        if (bytes == 0) std::abort();
      });
  if (!sound) std::printf("warning: the month check of the benchmark found problems\n");
  table.add(QStringLiteral("8 核对 of a month, 31 days x 5,000 lines (%1 records)").arg(records), program.median(),
            baseline.median(), QStringLiteral("< 2000 ms"));
}

}  // namespace tavuro::bench
