#include "reports/report_runs.h"

#include "headoffice/server_queries.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/text_file.h"
#include "reports/report_export.h"
#include "reports/report_layout.h"
#include "reports/report_sums.h"
#include "reports/sales_report.h"
#include "store/guarded.h"
#include "store/schemas.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace tavuro::reports {

namespace {

QStringList names_or_none(const QString& path, const store::Schema& schema, const QString& field) {
  QStringList names;
  if (QFileInfo(path).isFile()) store::guarded_quietly([&] { names = read_names(path, schema, field); });
  return names;
}

void add_sums(ReportTables& tables, const DaySums& sums) {
  for (size_t i = 0; i < tables.goods.size(); ++i) {
    tables.goods[i].quantity = tables.goods[i].quantity.added(sums.quantity[i]);
    tables.goods[i].amount = tables.goods[i].amount.added(sums.amount[i]);
  }
  for (size_t i = 0; i < tables.operators.size(); ++i) {
    tables.operators[i].amount = tables.operators[i].amount.added(sums.operator_amount[i]);
  }
}

// The sums of one file of the run, by its name.
using SumsOfFile = std::function<FileSums(const QString& path, const QString& fileName, const QStringList& goods,
                                          const QStringList& operators)>;

bool run_with(startup::AppState& state, RunMode mode, const QString& folder, const QStringList& file_names,
              const SumsOfFile& sums_of, const RunProgress& progress);

// The server's sums as the sums of each file: rows by trimmed name (a name registered
// twice feeds both rows), a file without lines missing.
QHash<QString, FileSums> file_sums_of(const std::vector<headoffice::ServerSum>& sums, const QStringList& goods,
                                      const QStringList& operators) {
  QHash<QString, FileSums> files;
  for (const headoffice::ServerSum& sum : sums) {
    FileSums& file = files[sum.file];
    if (file.sums.quantity.empty() && file.sums.operator_amount.empty()) {
      file.sums = sum_one_pass(goods, operators, {});
    }
    if (sum.kind == headoffice::ServerSum::Kind::File) continue;
    const bool is_goods = sum.kind == headoffice::ServerSum::Kind::Goods;
    const QStringList& names = is_goods ? goods : operators;
    for (qsizetype i = 0; i < names.size(); ++i) {
      if (names[i] != sum.name) continue;
      const size_t row = static_cast<size_t>(i);
      if (is_goods) {
        file.sums.quantity[row] = sales::Money::from_hundredths(sum.quantity_fen);
        file.sums.amount[row] = sales::Money::from_hundredths(sum.amount_fen);
      } else {
        file.sums.operator_amount[row] = sales::Money::from_hundredths(sum.amount_fen);
      }
    }
  }
  return files;
}

}  // namespace

bool run_reports(startup::AppState& state, RunMode mode, const QString& folder, const QStringList& file_names,
                 const RunProgress& progress) {
  return run_with(state, mode, folder, file_names,
                  [](const QString& path, const QString&, const QStringList& goods, const QStringList& operators) {
                    return sum_day_file(path, goods, operators);
                  },
                  progress);
}

bool run_server_reports(startup::AppState& state, RunMode mode, const QString& folder, const QStringList& file_names,
                        headoffice::PgConnection& server, const QString& till, const RunProgress& progress) {
  // One statement on the server for the whole run, asked when the catalogues are known.
  std::optional<QHash<QString, FileSums>> files;
  const QString month = QFileInfo(folder).fileName();
  return run_with(state, mode, folder, file_names,
                  [&](const QString&, const QString& fileName, const QStringList& goods, const QStringList& operators) {
                    if (!files) {
                      files = file_sums_of(
                          headoffice::server_report_sums(server, {month, file_names, till}, goods, operators), goods,
                          operators);
                    }
                    const auto it = files->constFind(fileName);
                    return it == files->cend() ? FileSums{FileSums::Status::MissingOrEmpty, {}} : *it;
                  },
                  progress);
}

namespace {

bool run_with(startup::AppState& state, RunMode mode, const QString& folder, const QStringList& file_names,
              const SumsOfFile& sums_of, const RunProgress& progress) {
  if (!state.current_report_file.isEmpty() && QFileInfo(state.current_report_file).isFile()) {
    QFile::remove(state.current_report_file);
  }
  if (file_names.isEmpty()) {
    platform::inform(QStringLiteral("你还未选择文件."));
    return false;
  }
  const QStringList goods = names_or_none(state.paths.shop_file, store::shop_schema(), store::shop::kGoods);
  if (goods.isEmpty()) {
    platform::warn(QStringLiteral("数据出错 [读商品名到数组 R_shop()]"));
    return false;
  }
  if (!ask_company_name(state)) {
    fail_wrong_file();
    return false;
  }
  const QStringList operators = names_or_none(state.paths.use_file, store::name_list_schema(), store::kNameField);
  if (operators.isEmpty()) {
    fail_operators();
    return false;
  }
  const QString separator = folder.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/");
  const QDate today = platform::now().date();

  QStringList lines;
  std::vector<TitledTables> exported;  // the tables behind the text, for 导出表格…
  ReportTables total = empty_tables(goods, operators);
  for (qsizetype i = 0; i < file_names.size(); ++i) {
    if (progress) progress(static_cast<int>(i), static_cast<int>(file_names.size()));
    const QString path = folder + separator + file_names[i];
    const FileSums file = sums_of(path, file_names[i], goods, operators);
    // A file that is not a day file, or fails part-way, counts with none of its figures.
    if (file.status != FileSums::Status::Ok || file.sums.goods_failed || file.sums.operators_failed) continue;
    if (mode == RunMode::Single) {
      ReportTables tables = empty_tables(goods, operators);
      add_sums(tables, file.sums);
      const QStringList report = report_lines(state.company_name, title_stem(path), tables, today, Header::Joined);
      lines << report << QStringList(page_fill_lines(report.size()), QString());
      exported.push_back({title_stem(path), tables});
    } else {
      add_sums(total, file.sums);
    }
  }
  if (progress) progress(static_cast<int>(file_names.size()), static_cast<int>(file_names.size()));
  if (mode == RunMode::Summed) {
    lines = report_lines(state.company_name, summed_title_stem(folder, file_names), total, today);
    exported = {{summed_title_stem(folder, file_names), total}};
  } else if (mode == RunMode::MonthEnd) {
    lines = report_lines(state.company_name, month_end_title_stem(folder), total, today);
    exported = {{month_end_title_stem(folder), total}};
  }
  const QString output = report_file_path(state);
  if (!platform::write_text_lines(output, lines)) {
    platform::warn(QStringLiteral("写报表文件时出错，报表没有生成。[") + output + QLatin1Char(']'));
    return false;
  }
  state.current_report_file = output;
  state.report_tables = {output, report_workbook(exported)};
  return true;
}

}  // namespace

}  // namespace tavuro::reports
