#include "reports/sales_report.h"

#include "platform/app_info.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/text_file.h"
#include "reports/report_layout.h"
#include "reports/report_sums.h"
#include "startup/paths.h"
#include "store/guarded.h"
#include "store/schemas.h"
#include "textlayout/text_layout.h"

#include <QFileInfo>

namespace tavuro::reports {

namespace {

const QString kEmptyFile = QStringLiteral("\r\r当前的文件是空的数据文件。");

void fail_goods_catalogue() {
  platform::warn(QStringLiteral("数据出错 [读商品名到数组 R_shop()]") + kEmptyFile);
}
void fail_day_file() {
  platform::warn(QStringLiteral("数据出错 [读商品名,计算金额入数组 R_name(),R_money()]") + kEmptyFile);
}

// The names of a catalogue; nullopt when the file is missing, unreadable or empty.
std::optional<QStringList> catalogue_names(const QString& path, const store::Schema& schema, const QString& field) {
  if (!QFileInfo(path).isFile()) return std::nullopt;
  QStringList names;
  if (!store::guarded_quietly([&] { names = read_names(path, schema, field); }) || names.isEmpty()) {
    return std::nullopt;
  }
  return names;
}

}  // namespace

void fail_operators() {
  platform::warn(QStringLiteral("数据出错 [读操作员名,计算它的销售金额入数组 R_use(),R_use_money()]") + kEmptyFile);
}

void fail_wrong_file() {
  platform::warn(QStringLiteral("读数据文件时出错,可能你选的文件不是每天的数据文件！"));
}

QString report_file_path(const startup::AppState& state) {
  return startup::app_file(state.paths.app_dir, QStringLiteral("p_file.run"));
}

bool ask_company_name(startup::AppState& state) {
  if (!textlayout::trim_spaces(state.company_name).isEmpty()) return true;
  const auto answer = platform::dialogs().input(QStringLiteral("请输入你的公司名，如果你不输入就不打印你的公司名。"),
                                                platform::app_title());
  if (!answer || textlayout::trim_spaces(*answer).isEmpty()) return true;
  state.company_name = *answer;
  return platform::write_one_line_file(state.paths.co_file, *answer);
}

bool build_sales_report(startup::AppState& state, const QString& day_file) {
  const std::optional<QStringList> goods =
      catalogue_names(state.paths.shop_file, store::shop_schema(), store::shop::kGoods);
  if (!goods) {
    fail_goods_catalogue();
    return false;
  }
  // The operator list is read before the day file so that the day file is read once;
  // its messages still come in the order of the report's steps.
  const std::optional<QStringList> operators =
      catalogue_names(state.paths.use_file, store::name_list_schema(), store::kNameField);
  const FileSums day = sum_day_file(day_file, *goods, operators.value_or(QStringList()));
  if (day.status == FileSums::Status::MissingOrEmpty) {
    fail_day_file();
    return false;
  }
  if (day.status == FileSums::Status::Unreadable || day.sums.goods_failed) {
    fail_wrong_file();
    return false;
  }
  if (!operators) {
    fail_operators();
    return false;
  }
  if (day.sums.operators_failed) {
    fail_wrong_file();
    return false;
  }

  ReportTables tables = empty_tables(*goods, *operators);
  for (size_t i = 0; i < tables.goods.size(); ++i) {
    tables.goods[i].quantity = day.sums.quantity[i];
    tables.goods[i].amount = day.sums.amount[i];
  }
  for (size_t i = 0; i < tables.operators.size(); ++i) tables.operators[i].amount = day.sums.operator_amount[i];

  const QDate today = platform::now().date();
  if (!ask_company_name(state)) {
    fail_wrong_file();
    return false;
  }
  const QString output = report_file_path(state);
  if (!platform::write_text_lines(output, report_lines(state.company_name, title_stem(day_file), tables, today))) {
    fail_wrong_file();
    return false;
  }
  state.current_report_file = output;
  return true;
}

}  // namespace tavuro::reports
