// Today's records in the cashier window: the full view, the operator and goods filters,
// the receipt-number query, and the popups of both lists.

#include "cashier/day_records.h"
#include "cashier/frm_shop.h"
#include "platform/dialogs.h"
#include "sales/labels.h"
#include "store/guarded.h"
#include "store/schemas.h"
#include "textlayout/text_layout.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTimer>

namespace tavuro::cashier {

using textlayout::trim_spaces;

namespace {

const QString kByOperator = QStringLiteral("查操作编号");
const QString kByGoods = QStringLiteral("查商品");

// The text of the selected line; empty when none is selected.
QString selected_text(const QListWidget* list) {
  const QListWidgetItem* current = list->currentItem();
  return current != nullptr && current->isSelected() ? current->text() : QString();
}

}  // namespace

void Frm_shop::show_view(const DayView& view) {
  List2_->clear();
  List2_->addItems(view.lines);
  if (List2_->count() > 0) {
    List2_->setCurrentRow(List2_->count() - 1);
    List2_->scrollToBottom();
  }
}

void Frm_shop::read_myfile() {
  const QString& path = state_.paths.dayFile;
  store::work_on_file(QStringLiteral("read_myfile"), path, state_.paths.dayBackup, [&] {
    const DayView view = all_day_lines(path);
    show_view(view);
    todayTotal_ = view.hasRecords ? view.total : 0.0f;
    Label6_->setText(sales::count_label(view.count));
    Label5_->setText(sales::total_label(todayTotal_));
    Label7_->setText(all_view_label());
  });
}

void Frm_shop::Co_查操作员_Click() { filter_today(kByOperator); }

void Frm_shop::Co_查商品_Click() { filter_today(kByGoods); }

void Frm_shop::filter_today(const QString& mode) {
  const QString op = trim_spaces(Co_查操作员_->currentText());
  const QString goods = trim_spaces(Co_查商品_->currentText());
  const bool byOperator = mode == kByOperator;
  if ((byOperator ? op : goods).isEmpty()) {
    platform::inform(byOperator ? QStringLiteral("请先选查操作员。") : QStringLiteral("请先选商品名。"));
    return;
  }
  if (op == sales::kAllEntry && goods == sales::kAllEntry) {
    read_myfile();
    return;
  }
  filterMode_ = mode;
  if (byOperator) {
    Read_x_myfile(store::day::kOperator, op, store::day::kGoods, goods);
  } else {
    Read_x_myfile(store::day::kGoods, goods, store::day::kOperator, op);
  }
}

void Frm_shop::Read_x_myfile(const QString& fieldA, const QString& valueA, const QString& fieldB,
                             const QString& valueB) {
  if (fieldA.isEmpty() || valueA.isEmpty() || (filterMode_ != kByGoods && filterMode_ != kByOperator)) {
    platform::warn(QStringLiteral("数据传递出错。[Read_x_myfile]"));
    return;
  }
  const QString prefix = filterMode_ == kByGoods ? QStringLiteral("查商品名 = ") : QStringLiteral("操作编号 = ");
  const QString& path = state_.paths.dayFile;
  store::work_on_file(QStringLiteral("Read_x_myfile"), path, state_.paths.dayBackup, [&] {
    const DayView view = filtered_day_lines(path, fieldA, valueA, fieldB, valueB);
    show_view(view);
    if (!view.hasRecords) return;
    Label6_->setText(filtered_count_label(view.count));
    Label5_->setText(sales::total_label(view.total));
    Label7_->setText(prefix + valueA);
  });
}

void Frm_shop::Text4_Enter() {
  if (trim_spaces(Text4_->text()).isEmpty()) {
    platform::inform(QStringLiteral("你还未输入数据！"));
    return;
  }
  if (!read_receipt_lines()) platform::inform(QStringLiteral("查无此单！"));
  Timer2_->start();
}

bool Frm_shop::read_receipt_lines() {
  const QString wanted = trim_spaces(Text4_->text());
  bool found = false;
  // A missing or unreadable day file has no such receipt.
  store::guarded_quietly([&] {
    const DayView view = receipt_day_lines(state_.paths.dayFile, wanted);
    show_view(view);
    if (!view.hasRecords) return;
    Label6_->setText(sales::count_label(view.count));
    Label5_->setText(sales::total_label(view.total));
    Label7_->setText(QStringLiteral("查询单号 = ") + wanted);
    found = true;
  });
  return found;
}

void Frm_shop::list_popup(QListWidget* list, QMenu* popup, const QPoint& at) {
  const bool selected = !selected_text(list).isEmpty();
  for (QAction* action : popup->actions()) {
    if (action == 删除_ || action == 编辑记录_ || action == 删除记录_) {
      action->setEnabled(selected && wired_.contains(action));
    }
  }
  popup->popup(at);
}

void Frm_shop::list_tool_tip(QListWidget* list) { list->setToolTip(selected_text(list)); }

}  // namespace tavuro::cashier
