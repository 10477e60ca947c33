// Sale entry: the receipt number, recording a line, clearing, printing and deleting a
// line of the temporary record.

#include "cashier/sale_entry_panel.h"

#include "cashier/catalogue_lists.h"
#include "cashier/list_lines.h"
#include "cashier/receipt.h"
#include "cashier/receipt_line_delete.h"
#include "cashier/receipt_number.h"
#include "cashier/sale_entry.h"
#include "cashier/sale_record.h"
#include "cashier/shop_controls.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "sales/journaled_change.h"
#include "store/backup.h"
#include "store/guarded.h"
#include "textlayout/text_layout.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace tavuro::cashier {

using textlayout::trim_spaces;

SaleEntryPanel::SaleEntryPanel(startup::AppState& state, QWidget* area, SaleEntryHooks hooks)
    : QObject(area), state_(state), hooks_(std::move(hooks)) {
  build_controls(area);
  connect_controls();
}

void SaleEntryPanel::connect_controls() {
  connect(Command1_, &QPushButton::clicked, this, &SaleEntryPanel::Command1_Click);
  connect(Command2_, &QPushButton::clicked, this, &SaleEntryPanel::Command2_Click);
  connect(Command3_, &QPushButton::clicked, this, &SaleEntryPanel::Command3_Click);
  connect(Command4_, &QPushButton::clicked, this, &SaleEntryPanel::Command4_Click);
  connect(Combo1_, &QComboBox::activated, this, [this] { find_price(); });
  // A name the user changes in any way (typed, pasted, cut, deleted, undone, from an input
  // method) is a new name, and its price starts at zero until it is looked up again.
  connect(Combo1_->lineEdit(), &QLineEdit::textEdited, this, [this] { Text2_->setText(QStringLiteral("0")); });
  connect(删除_, &QAction::triggered, this, &SaleEntryPanel::删除_Click);
  for (QObject* watched : std::initializer_list<QObject*>{Combo1_, Text1_, Text2_, Text3_, Combo2_, List1_->viewport()}) {
    watched->installEventFilter(this);
  }
}

void SaleEntryPanel::start_without_receipt() {
  receipt_.clear();
  show_receipt();
  Command1_->setEnabled(false);
  Command2_->setEnabled(false);
  Command3_->setEnabled(false);
  Command4_->setEnabled(true);
  set_entry_enabled(false);
  receipt_caption_ = receipt_caption(state_.receipt_counter);
  Label3_->setText(receipt_caption_);
}

void SaleEntryPanel::show_goods(const QStringList& names) { fill_combo(Combo1_, names); }

void SaleEntryPanel::set_goods_text(const QString& text) { Combo1_->setEditText(text); }

void SaleEntryPanel::show_customers(const QStringList& names) { fill_combo(Combo2_, names); }

void SaleEntryPanel::set_customer_text(const QString& text) { Combo2_->setEditText(text); }

void SaleEntryPanel::find_price() {
  const QString& path = state_.paths.shop_file;
  store::work_on_file(QStringLiteral("find_price"), path, state_.paths.shop_backup, [&] {
    if (const std::optional<QString> price = price_of(path, Combo1_->currentText())) Text2_->setText(*price);
  });
}

void SaleEntryPanel::set_record_heights(int frame, int list) {
  Frame1_->resize(Frame1_->width(), frame);
  List1_->resize(List1_->width(), list);
}

void SaleEntryPanel::set_entry_enabled(bool enabled) {
  for (QWidget* box : std::initializer_list<QWidget*>{Combo1_, Combo2_, Text1_, Text2_, Text3_}) {
    box->setEnabled(enabled);
  }
}

void SaleEntryPanel::Command4_Click() {
  take_focus_for_command(Command4_);
  if (!new_receipt_no(state_)) return;
  receipt_caption_ = receipt_caption(state_.receipt_counter);
  Label3_->setText(receipt_caption_);
  Command1_->setEnabled(true);
  set_entry_enabled(true);
  Combo1_->setFocus(Qt::OtherFocusReason);
  Command2_->setEnabled(false);
  Command3_->setEnabled(false);
  Command4_->setEnabled(false);
}

void SaleEntryPanel::Command1_Click() {
  take_focus_for_command(Command1_);
  if (!record_line()) return;
  // Ready for the next line of the receipt.
  Combo1_->setFocus(Qt::OtherFocusReason);
  Combo1_->setEditText(QString());
  Combo2_->setEditText(QString());
  Text3_->clear();
  Text2_->setText(QStringLiteral("0"));
  Text1_->setText(QStringLiteral("1.00"));
  Command3_->setEnabled(true);
  Command2_->setEnabled(true);
}

bool SaleEntryPanel::record_line() {
  const auto refuse = [this](const EntryFault& fault) {
    platform::dialogs().message(fault.text, fault.icon);
    switch (fault.action) {
      case FaultAction::FocusGoods: Combo1_->setFocus(Qt::OtherFocusReason); break;
      case FaultAction::FocusPrice: Text2_->setFocus(Qt::OtherFocusReason); break;
      case FaultAction::OperatorWindow: hooks_.open_operator_window(); break;
      case FaultAction::CloseWindow: hooks_.close_window(); break;
      case FaultAction::None: break;
    }
    return false;
  };
  const QString goods = trim_spaces(Combo1_->currentText());
  if (const auto fault = goods_fault(goods, Label1_[0]->text())) return refuse(*fault);
  if (!check_goods(goods)) return false;
  if (const auto fault = number_fault(Text1_->text(), Text2_->text(), Text3_->text())) return refuse(*fault);
  if (const auto fault = operator_fault(state_.current_operator)) return refuse(*fault);

  const QString time = platform::now().time().toString(QStringLiteral("HH:mm:ss"));
  if (const auto fault = sequence_fault(receipt_.next_number())) return refuse(*fault);

  const sales::SaleColumns columns{Combo1_->currentText(), Text1_->text(),          Text2_->text(),
                                   Text3_->text(),          state_.current_operator, time};
  const SaleRecord record{columns, Combo2_->currentText(), receipt_caption_.right(6)};
  // Every line shown is a line in the day file: a line the day file does not take goes
  // nowhere else either.
  return add_line(columns, [&]() -> std::optional<store::RecordRef> {
    const std::optional<store::RecordRef> written = save_line(state_.paths, record);
    if (written) hooks_.add_to_today(columns, *written);
    return written;
  });
}

bool SaleEntryPanel::add_line(const sales::SaleColumns& columns,
                              const std::function<std::optional<store::RecordRef>()>& commit) {
  if (!receipt_.record(columns, commit)) return false;
  show_receipt();
  show_receipt_total();
  return true;
}

void SaleEntryPanel::show_receipt() {
  List1_->clear();
  List1_->addItems(receipt_.texts());
  if (List1_->count() > 0) List1_->setCurrentRow(List1_->count() - 1);
  publish_receipt();
}

void SaleEntryPanel::show_receipt_total() {
  Label4_->setText(receipt_.total().text() + QStringLiteral("元"));
  publish_receipt();
}

void SaleEntryPanel::publish_receipt() {
  // The count and the total are process-wide values; this is their one writer.
  state_.temp_line_count = receipt_.count();
  state_.temp_total = receipt_.total();
}

void SaleEntryPanel::Command2_Click() {
  take_focus_for_command(Command2_);
  receipt_.clear();
  show_receipt();  // the total shown stays until the next line
  Command4_->setEnabled(true);
  Command4_->setFocus(Qt::OtherFocusReason);
  Command1_->setEnabled(false);
  Command2_->setEnabled(false);
  Command3_->setEnabled(false);
  set_entry_enabled(false);
}

void SaleEntryPanel::Command3_Click() {
  take_focus_for_command(Command3_);
  if (Command2_->isEnabled()) Command2_->setFocus(Qt::OtherFocusReason);
  Command3_->setEnabled(false);
  print_receipt(receipt_of(receipt_, receipt_caption_, state_.company_name, platform::now().date()),
                state_.receipt_printer);
}

void SaleEntryPanel::删除_Click() {
  const int row = selected_row(List1_);
  if (row < 0 || row >= receipt_.lines().size()) return;
  const ReceiptLine line = receipt_.lines()[row];
  if (!platform::ask_yes_no(delete_line_question(line.text))) return;

  const QString& day_file = state_.paths.day_file;
  const sales::ChangeContext context = sales::change_context(state_.paths.journal_file, state_.current_operator);
  bool deleted = false;
  int attempts = 0;
  const bool done = sales::journaled_work(QStringLiteral("删除"), day_file, state_.paths.day_backup, [&] {
    ++attempts;
    deleted = delete_receipt_record(day_file, state_.paths.day_backup, context, line.record);
  });
  // A failure has been told (the line stays); a record gone or changed meanwhile is told
  // here, and nothing changes.
  if (!done || !deleted) {
    if (done || !QFileInfo::exists(day_file)) platform::warn(sales::stale_record_message());
    return;
  }
  // A day file just restored from its backup is not copied back over it.
  if (attempts == 1) store::backup_file(day_file, state_.paths.day_backup, store::SourceCheck::AlreadySound);
  receipt_.remove(row);
  show_receipt();
  show_receipt_total();
  hooks_.reload_today();
}

}  // namespace tavuro::cashier
