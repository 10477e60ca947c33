#include "reports/report_commands.h"

#include "platform/dialogs.h"
#include "reports/doc_window.h"
#include "reports/sales_report.h"

namespace tavuro::reports {

void print_day_report(startup::AppState& state, QWidget* parent, const QString& day_file) {
  if (build_sales_report(state, day_file)) show_document_window(state, parent, false);
}

void choose_and_print_day_report(startup::AppState& state, QWidget* parent) {
  const auto path = platform::dialogs().open_file({QStringLiteral("打开打印文件 -->"), state.paths.app_dir, QString(),
                                                  QStringLiteral("每天的数据文件名 (*.day)|*.DAY")});
  if (path) print_day_report(state, parent, *path);
}

}  // namespace tavuro::reports
