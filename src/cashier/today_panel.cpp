// Today's records: the full view, the operator and goods filters, the receipt-number
// query, a new sale joining the view, and the list's popup.

#include "cashier/today_panel.h"

#include "cashier/admin_gate.h"
#include "cashier/frm_record_edit.h"
#include "cashier/sale_entry.h"
#include "cashier/shop_controls.h"
#include "platform/dialogs.h"
#include "sales/labels.h"
#include "store/guarded.h"
#include "store/schemas.h"
#include "textlayout/text_layout.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTimer>

#include <limits>

namespace tavuro::cashier {

using textlayout::trim_spaces;

namespace {

const QString kByOperator = QStringLiteral("查操作编号");
const QString kByGoods = QStringLiteral("查商品");
const QString kQueryPlaceholder = QStringLiteral("单号查询");

}  // namespace

TodayPanel::TodayPanel(startup::AppState& state, QWidget* area) : QObject(area), state_(state) {
  build_controls(area);
  connect_controls();
}

void TodayPanel::connect_controls() {
  connect(Timer2_, &QTimer::timeout, this, &TodayPanel::Timer2_Timer);
  connect(Co_查操作员_, &QComboBox::activated, this, [this] { Co_查操作员_Click(); });
  connect(Co_查商品_, &QComboBox::activated, this, [this] { Co_查商品_Click(); });
  connect(刷新数据_, &QAction::triggered, this, &TodayPanel::read_myfile);
  connect(编辑记录_, &QAction::triggered, this, &TodayPanel::edit_selected_record);
  // The deleting is done in the edit window.
  connect(删除记录_, &QAction::triggered, this, &TodayPanel::edit_selected_record);
  for (QObject* watched : std::initializer_list<QObject*>{Text4_, Co_查商品_, Co_查操作员_, List2_->viewport()}) {
    watched->installEventFilter(this);
  }
}

void TodayPanel::start() {
  query_countdown_ = 20;
  Text4_->setText(kQueryPlaceholder);
  Timer2_->stop();
}

void TodayPanel::show_goods_filter(const QStringList& names) {
  fill_combo(Co_查商品_, QStringList{sales::kAllEntry} + names);
  if (!names.isEmpty()) Co_查商品_->setCurrentIndex(0);
}

void TodayPanel::show_operator_filter(const QStringList& names) {
  fill_combo(Co_查操作员_, QStringList{sales::kAllEntry} + names);
  if (!names.isEmpty()) Co_查操作员_->setCurrentIndex(0);
}

void TodayPanel::set_shown(bool shown) {
  Frame2_->setVisible(shown);
  Frame4_->setVisible(shown);
  List2_->setVisible(shown);
}

void TodayPanel::show_view(TodayView::Kind kind, const DayView& view) {
  view_.show(kind, view);
  List2_->clear();
  List2_->addItems(view_.lines());
  if (List2_->count() > 0) {
    List2_->setCurrentRow(List2_->count() - 1);
    List2_->scrollToBottom();
  }
}

void TodayPanel::add_sale(const sales::SaleColumns& columns, const store::RecordRef& record) {
  const int number = view_.add_sale(columns, record);
  List2_->addItem(view_.lines().back());
  List2_->setCurrentRow(List2_->count() - 1);
  // Whatever view was shown, the labels now tell the day's figures.
  Label6_->setText(sales::count_label(number));
  Label5_->setText(sales::total_label(view_.today_total()));
  Label7_->setText(all_view_label());
}

void TodayPanel::read_myfile() {
  const QString& path = state_.paths.day_file;
  store::work_on_file(QStringLiteral("read_myfile"), path, state_.paths.day_backup, [&] {
    show_view(TodayView::Kind::All, all_day_lines(path));
    Label6_->setText(sales::count_label(view_.count()));
    Label5_->setText(sales::total_label(view_.today_total()));
    Label7_->setText(all_view_label());
  });
}

void TodayPanel::Co_查操作员_Click() { filter_today(kByOperator); }

void TodayPanel::Co_查商品_Click() { filter_today(kByGoods); }

void TodayPanel::filter_today(const QString& mode) {
  const QString op = trim_spaces(Co_查操作员_->currentText());
  const QString goods = trim_spaces(Co_查商品_->currentText());
  const bool by_operator = mode == kByOperator;
  if ((by_operator ? op : goods).isEmpty()) {
    platform::inform(by_operator ? QStringLiteral("请先选查操作员。") : QStringLiteral("请先选商品名。"));
    return;
  }
  if (op == sales::kAllEntry && goods == sales::kAllEntry) {
    read_myfile();
    return;
  }
  filter_mode_ = mode;
  if (by_operator) {
    Read_x_myfile(store::day::kOperator, op, store::day::kGoods, goods);
  } else {
    Read_x_myfile(store::day::kGoods, goods, store::day::kOperator, op);
  }
}

void TodayPanel::Read_x_myfile(const QString& fieldA, const QString& valueA, const QString& fieldB,
                               const QString& valueB) {
  if (fieldA.isEmpty() || valueA.isEmpty() || (filter_mode_ != kByGoods && filter_mode_ != kByOperator)) {
    platform::warn(QStringLiteral("数据传递出错。[Read_x_myfile]"));
    return;
  }
  const QString prefix = filter_mode_ == kByGoods ? QStringLiteral("查商品名 = ") : QStringLiteral("操作编号 = ");
  const QString& path = state_.paths.day_file;
  store::work_on_file(QStringLiteral("Read_x_myfile"), path, state_.paths.day_backup, [&] {
    const DayView view = filtered_day_lines(path, fieldA, valueA, fieldB, valueB);
    show_view(TodayView::Kind::Filtered, view);
    if (!view.has_records) return;  // an empty day: the list cleared, the labels kept
    Label6_->setText(filtered_count_label(view_.count()));
    Label5_->setText(sales::total_label(view_.total()));
    Label7_->setText(prefix + valueA);
  });
}

void TodayPanel::Text4_Enter() {
  if (trim_spaces(Text4_->text()).isEmpty()) {
    platform::inform(QStringLiteral("你还未输入数据！"));
    return;
  }
  if (!read_receipt_lines()) platform::inform(QStringLiteral("查无此单！"));
  Timer2_->start();
}

bool TodayPanel::read_receipt_lines() {
  const QString wanted = trim_spaces(Text4_->text());
  bool found = false;
  // A missing or unreadable day file has no such receipt.
  store::guarded_quietly([&] {
    const DayView view = receipt_day_lines(state_.paths.day_file, wanted);
    show_view(TodayView::Kind::Receipt, view);
    if (!view.has_records) return;
    Label6_->setText(sales::count_label(view_.count()));
    Label5_->setText(sales::total_label(view_.total()));
    Label7_->setText(QStringLiteral("查询单号 = ") + wanted);
    found = true;
  });
  return found;
}

void TodayPanel::Timer2_Timer() {
  if (query_countdown_ > std::numeric_limits<qint16>::min()) --query_countdown_;
  if (query_countdown_ < 0) {
    Text4_->setText(kQueryPlaceholder);
    Timer2_->stop();
  }
}

void TodayPanel::edit_selected_record() {
  const std::optional<store::RecordRef> record = view_.record_at(selected_row(List2_));
  if (!record) {
    platform::inform(QStringLiteral("你还未选记录."));
    return;
  }
  if (!check_admin_password(state_)) return;
  state_.edit_record = *record;
  Frm_编辑 window(state_, List2_->window());
  // A record gone or changed since the list was read has been told of: nothing to edit.
  if (!window.record_gone()) window.exec();
}

bool TodayPanel::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
      return key(watched, platform::key_input(*static_cast<QKeyEvent*>(event)));
    case QEvent::FocusIn:
      if (watched == Text4_) select_on_focus(Text4_, static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason);
      break;
    case QEvent::MouseButtonPress: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (watched != List2_->viewport() || mouse->button() != Qt::RightButton) break;
      const bool selected = !selected_text(List2_).isEmpty();
      编辑记录_->setEnabled(selected);
      删除记录_->setEnabled(selected);
      list2_右击_->popup(mouse->globalPosition().toPoint());
      return true;
    }
    case QEvent::MouseMove:
      // A long line can be read in full by hovering.
      if (watched == List2_->viewport()) List2_->setToolTip(selected_text(List2_));
      break;
    default:
      break;
  }
  return false;
}

bool TodayPanel::key(QObject* watched, const platform::KeyInput& typed) {
  const bool enter = typed.kind == platform::KeyKind::Enter;
  if (watched == Co_查商品_) {
    if (enter) Co_查商品_Click();
    return enter;
  }
  if (watched == Co_查操作员_) return enter;
  if (watched != Text4_) return false;
  switch (digit_key(typed)) {
    case KeyRule::Pass:
      return false;
    case KeyRule::Enter:
      Text4_Enter();
      return true;
    case KeyRule::Refuse:
      platform::dialogs().message(QStringLiteral("只可以输入数字。"), platform::Icon::Critical);
      return true;
  }
  return true;
}

}  // namespace tavuro::cashier
