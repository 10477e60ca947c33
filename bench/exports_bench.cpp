// The program's export of a year's query against the fastest plain equivalent measured in
// the same run: the same rows read with raw SQLite and written as the same CSV bytes with
// fwrite, or written with libxlsxwriter directly.

#include "exports_bench.h"

#include "raw_sqlite.h"
#include "timing.h"

#include "exports/export_file.h"
#include "query/query_export.h"
#include "sales/labels.h"
#include "sales/money.h"
#include "store/schemas.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <xlsxwriter.h>

namespace tavuro::bench {

namespace {

namespace day = store::day;

constexpr int kLinesPerDay = 300;

// 365 day files of 300 lines in month folders of 2025, made once.
QStringList year_files(const GeneratedShop& shop, const QString& data_dir) {
  QStringList files;
  const QString root = data_dir + QStringLiteral("/export-year");
  for (QDate d(2025, 1, 1); d.year() == 2025; d = d.addDays(1)) {
    const QString folder = root + QStringLiteral("/%1_%2").arg(d.year()).arg(d.month());
    QDir().mkpath(folder);
    const QString file = folder + QStringLiteral("/%1.day").arg(d.day());
    if (!QFileInfo::exists(file)) write_day_file(shop, file, kLinesPerDay, static_cast<uint32_t>(d.dayOfYear()));
    files << file;
  }
  return files;
}

const char* kSelect = "SELECT 商品, 数量, 单价, 金额, 操作编号, 时间, 固定客户, 单号 FROM FileName ORDER BY rowid";

QByteArray date_text(const QString& file) {
  const QFileInfo info(file);
  const QStringList ym = info.absoluteDir().dirName().split(QLatin1Char('_'));
  return QDate(ym[0].toInt(), ym[1].toInt(), info.completeBaseName().toInt()).toString(Qt::ISODate).toUtf8();
}

// The same bytes as the program's CSV for these plain texts (none needs quotes).
void raw_csv(const QStringList& files, const QString& out) {
  std::FILE* f = std::fopen(QFile::encodeName(out).constData(), "wb");
  std::fputs("\xEF\xBB\xBF日期,商品,数量,单价,金额,操作编号,时间,固定客户,单号\r\n", f);
  qint64 hundredths = 0;
  qint64 count = 0;
  for (const QString& file : files) {
    const QByteArray date = date_text(file);
    raw::select(file, QString::fromUtf8(kSelect), {}, [&](const QStringList& row) {
      QByteArray line = date;
      for (const QString& value : row) line += ',' + value.toUtf8();
      line += "\r\n";
      std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), f);
      hundredths += sales::Money::parse(row[3]).value_or(sales::Money()).hundredths();
      ++count;
    });
  }
  std::fprintf(f, "合计,共 %lld 行,,,%s\r\n", static_cast<long long>(count),
               sales::Money::from_hundredths(hundredths).text().toUtf8().constData());
  std::fclose(f);
}

void raw_xlsx(const QStringList& files, const QString& out) {
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  lxw_workbook* book = workbook_new_opt(QFile::encodeName(out).constData(), &options);
  lxw_worksheet* sheet = workbook_add_worksheet(book, "查询结果");
  lxw_format* money = workbook_add_format(book);
  format_set_num_format(money, "0.00");
  lxw_format* date = workbook_add_format(book);
  format_set_num_format(date, "yyyy-mm-dd");
  const char* header[] = {"日期", "商品", "数量", "单价", "金额", "操作编号", "时间", "固定客户", "单号"};
  for (lxw_col_t c = 0; c < 9; ++c) worksheet_write_string(sheet, 0, c, header[c], nullptr);
  lxw_row_t r = 1;
  for (const QString& file : files) {
    const QFileInfo info(file);
    const QStringList ym = info.absoluteDir().dirName().split(QLatin1Char('_'));
    lxw_datetime when{ym[0].toInt(), ym[1].toInt(), info.completeBaseName().toInt(), 0, 0, 0};
    raw::select(file, QString::fromUtf8(kSelect), {}, [&](const QStringList& row) {
      worksheet_write_datetime(sheet, r, 0, &when, date);
      for (lxw_col_t c = 0; c < 8; ++c) {
        if (c >= 1 && c <= 3) {
          worksheet_write_number(sheet, r, c + 1, row[c].toDouble(), money);
        } else {
          worksheet_write_string(sheet, r, c + 1, row[c].toUtf8().constData(), nullptr);
        }
      }
      ++r;
    });
  }
  workbook_close(book);
}

}  // namespace

void export_year(const GeneratedShop& shop, const QString& data_dir, Table& table) {
  const QStringList files = year_files(shop, data_dir);
  const query::QueryRequest request =
      query::filter_request(files, {{day::kGoods, sales::kAllEntry}, {day::kOperator, sales::kAllEntry},
                                 {day::kCustomer, sales::kAllEntry}});
  const QString out = data_dir + QStringLiteral("/export-year/out");
  qint64 lines = 0;
  for (const exports::Format format : {exports::Format::Csv, exports::Format::Xlsx}) {
    const bool csv = format == exports::Format::Csv;
    const QString program_file = out + (csv ? QStringLiteral(".csv") : QStringLiteral(".xlsx"));
    const QString raw_file = out + (csv ? QStringLiteral("-raw.csv") : QStringLiteral("-raw.xlsx"));
    Timing program;
    Timing baseline;
    alternate(
        3, program,
        [&] { lines = query::export_query(request, exports::export_target(program_file), {}).lines; }, baseline,
        [&] { csv ? raw_csv(files, raw_file) : raw_xlsx(files, raw_file); });
    table.add(QStringLiteral("X export a year's query (%1 lines) to %2").arg(lines).arg(csv ? QStringLiteral("CSV") : QStringLiteral(".xlsx")),
              program.median(), baseline.median(), csv ? QStringLiteral("< 1 s") : QStringLiteral("< 5 s"));
    if (csv && QFileInfo(program_file).size() != QFileInfo(raw_file).size()) {
      std::printf("note: the CSV is %lld bytes, the baseline's %lld\n", static_cast<long long>(QFileInfo(program_file).size()),
                  static_cast<long long>(QFileInfo(raw_file).size()));
    }
  }
}

}  // namespace tavuro::bench
