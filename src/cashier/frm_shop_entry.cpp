// Sale entry in the cashier window: the receipt number, the entry boxes with their key and
// focus rules, recording a line, clearing and printing the temporary record.

#include "cashier/day_records.h"
#include "cashier/frm_shop.h"
#include "cashier/list_lines.h"
#include "cashier/receipt.h"
#include "cashier/receipt_number.h"
#include "cashier/sale_entry.h"
#include "cashier/sale_record.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "sales/display_line.h"
#include "sales/labels.h"
#include "textlayout/text_layout.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

namespace tavuro::cashier {

using platform::Icon;
using textlayout::trim_spaces;

namespace {

void refuse_key(const QString& text) { platform::dialogs().message(text, Icon::Critical); }

}  // namespace

bool Frm_shop::entry_key(QObject* watched, QChar key) {
  const bool enter = key == QLatin1Char('\r');
  if (watched == Combo1_) {
    if (enter) {
      Combo1_Enter();
      return true;
    }
    // A newly typed name starts at price zero.
    Text2_->setText(QStringLiteral("0"));
    return false;
  }
  if (watched == Combo2_) {
    if (enter) Combo1_->setFocus(Qt::OtherFocusReason);
    return enter;
  }
  if (watched == Co_查商品_) {
    if (enter) Co_查商品_Click();
    return enter;
  }
  if (watched == Co_查操作员_) return enter;
  if (watched == Text4_) {
    switch (digit_key(key)) {
      case KeyRule::Pass: return false;
      case KeyRule::Enter: Text4_Enter(); return true;
      case KeyRule::Refuse: refuse_key(QStringLiteral("只可以输入数字。")); return true;
    }
    return true;
  }
  auto* box = qobject_cast<QLineEdit*>(watched);
  if (box == nullptr || (box != Text1_ && box != Text2_ && box != Text3_)) return false;
  switch (money_key(key)) {
    case KeyRule::Pass:
      return false;
    case KeyRule::Refuse:
      refuse_key(QStringLiteral("只可以输入数字与小数点。"));
      return true;
    case KeyRule::Enter:
      if (box == Text3_) {
        Command1_->setFocus(Qt::OtherFocusReason);
      } else if (trim_spaces(box->text()).isEmpty()) {
        platform::inform(QStringLiteral("你还未输入数据！"));
      } else {
        (box == Text1_ ? Text2_ : Text3_)->setFocus(Qt::OtherFocusReason);
      }
      return true;
  }
  return true;
}

void Frm_shop::entry_focus_in(QObject* watched, Qt::FocusReason reason) {
  auto* box = qobject_cast<QLineEdit*>(watched);
  if (box == nullptr || (box != Text1_ && box != Text2_ && box != Text4_)) return;
  box->selectAll();
  // A mouse click places the cursor after the focus arrives: select once more after it.
  if (reason == Qt::MouseFocusReason) QTimer::singleShot(0, box, &QLineEdit::selectAll);
}

void Frm_shop::entry_focus_out(QObject* watched, Qt::FocusReason reason) {
  // Another window or a popup taking the focus is no leaving of the box; neither is the
  // focus a rule below hands back.
  if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason || restoringFocus_) return;
  if (!isVisible()) return;
  if (watched == Text1_) {
    if (Text1_->text().isEmpty()) {
      platform::inform(QStringLiteral("你还未输入数据！"));
      take_focus_back(Text1_);
    } else {
      QString quantity = Text1_->text();
      Text1_->setText(textlayout::money_text(quantity));
    }
  } else if (watched == Text2_) {
    Text2_LostFocus();
  } else if (watched == Text3_) {
    if (Text3_->text().isEmpty()) {
      platform::warn(QStringLiteral("金额数据不能等于空！"));
      take_focus_back(Text2_);
    }
  } else if (watched == Combo2_) {
    check_customer(trim_spaces(Combo2_->currentText()));
  }
}

void Frm_shop::Text2_LostFocus() {
  if (Text2_->text().isEmpty()) {
    platform::inform(QStringLiteral("“单价”你还未输入数据！"));
    take_focus_back(Text2_);
    return;
  }
  QString price = Text2_->text();
  Text2_->setText(textlayout::money_text(price));
  // An amount that cannot be computed leaves the amount box as it is.
  if (const std::optional<QString> amount = amount_text(Text1_->text(), Text2_->text())) Text3_->setText(*amount);
}

void Frm_shop::take_focus_back(QWidget* widget) {
  restoringFocus_ = true;
  widget->setFocus(Qt::OtherFocusReason);
  restoringFocus_ = false;
}

void Frm_shop::press(QPushButton* button) {
  // A button pressed by its mnemonic takes the focus first, so that the box being left
  // runs its rules before the command, as with a click.
  if (!button->hasFocus() && button->isEnabled() && isVisible()) button->setFocus(Qt::ShortcutFocusReason);
}

void Frm_shop::set_entry_enabled(bool enabled) {
  for (QWidget* box : std::initializer_list<QWidget*>{Combo1_, Combo2_, Text1_, Text2_, Text3_}) {
    box->setEnabled(enabled);
  }
}

void Frm_shop::Combo1_Enter() {
  const QString name = trim_spaces(Combo1_->currentText());
  if (name.isEmpty()) {
    platform::inform(QStringLiteral("你忘记了选商品！"));
    return;
  }
  if (!check_goods(name)) return;
  Text1_->setFocus(Qt::OtherFocusReason);
  if (Text2_->text() == QStringLiteral("0.00") || Text2_->text() == QStringLiteral("0")) find_price();
}

bool Frm_shop::check_goods(const QString& name) {
  for (int i = 0; i < Combo1_->count(); ++i) {
    if (Combo1_->itemText(i) == name) return true;
  }
  if (platform::ask_yes_no(unregistered_goods_question(name), Icon::Information)) {
    open_goods_window(name, Text2_->text());
  }
  return false;
}

bool Frm_shop::check_customer(const QString& name) {
  if (trim_spaces(name).isEmpty()) return true;
  for (int i = 0; i < Combo2_->count(); ++i) {
    if (Combo2_->itemText(i) == name) return true;
  }
  if (platform::ask_yes_no(unregistered_customer_question(name), Icon::Information)) open_customer_window(name);
  return false;
}

void Frm_shop::Command4_Click() {
  press(Command4_);
  if (!new_receipt_no(state_)) return;
  Label3_->setText(receipt_caption(state_.receiptCounter));
  Command1_->setEnabled(true);
  set_entry_enabled(true);
  Combo1_->setFocus(Qt::OtherFocusReason);
  Command2_->setEnabled(false);
  Command3_->setEnabled(false);
  Command4_->setEnabled(false);
}

void Frm_shop::Command1_Click() {
  press(Command1_);
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

bool Frm_shop::record_line() {
  const auto refuse = [this](const EntryFault& fault) {
    platform::dialogs().message(fault.text, fault.icon);
    switch (fault.action) {
      case FaultAction::FocusGoods: Combo1_->setFocus(Qt::OtherFocusReason); break;
      case FaultAction::FocusPrice: Text2_->setFocus(Qt::OtherFocusReason); break;
      case FaultAction::OperatorWindow: open_operator_window(); break;
      case FaultAction::CloseWindow: close(); break;
      case FaultAction::None: break;
    }
    return false;
  };
  const QString goods = trim_spaces(Combo1_->currentText());
  if (const auto fault = goods_fault(goods, Label1_[0]->text())) return refuse(*fault);
  if (!check_goods(goods)) return false;
  if (const auto fault = number_fault(Text1_->text(), Text2_->text(), Text3_->text())) return refuse(*fault);
  if (const auto fault = operator_fault(state_.currentOperator)) return refuse(*fault);

  recordedTime_ = platform::now().time().toString(QStringLiteral("HH:mm:ss"));
  const int count = state_.tempLineCount + 1;
  if (const auto fault = sequence_fault(count)) return refuse(*fault);

  const sales::SaleColumns columns{Combo1_->currentText(), Text1_->text(),          Text2_->text(),
                                   Text3_->text(),          state_.currentOperator, recordedTime_};
  const float amount = textlayout::to_single(Text3_->text()).value_or(0.0f);

  // The line joins the temporary record first; it is withdrawn if the day file does not
  // take it, so that every line shown is a line in the day file.
  const qint16 previousCount = state_.tempLineCount;
  const float previousTotal = state_.tempTotal;
  const QString previousLabel4 = Label4_->text();
  state_.tempLineCount = static_cast<qint16>(count);
  List1_->addItem(receipt_line(count, columns));
  List1_->setCurrentRow(List1_->count() - 1);
  state_.tempTotal += amount;
  Label4_->setText(textlayout::money_of(state_.tempTotal) + QStringLiteral("元"));

  const SaleRecord record{columns, Combo2_->currentText(), Label3_->text().right(6)};
  if (!save_line(state_.paths, record)) {
    delete List1_->takeItem(List1_->count() - 1);
    state_.tempLineCount = previousCount;
    state_.tempTotal = previousTotal;
    Label4_->setText(previousLabel4);
    return false;
  }

  const int number = List2_->count() == 0 ? 1 : next_day_sequence(List2_->item(List2_->count() - 1)->text());
  List2_->addItem(sales::display_line(number, columns));
  List2_->setCurrentRow(List2_->count() - 1);
  todayTotal_ += amount;
  Label6_->setText(sales::count_label(number));
  Label5_->setText(sales::total_label(todayTotal_));
  Label7_->setText(all_view_label());
  return true;
}

void Frm_shop::Command2_Click() {
  press(Command2_);
  List1_->clear();
  state_.tempLineCount = 0;
  state_.tempTotal = 0.0f;
  Command4_->setEnabled(true);
  Command4_->setFocus(Qt::OtherFocusReason);
  Command1_->setEnabled(false);
  Command2_->setEnabled(false);
  Command3_->setEnabled(false);
  set_entry_enabled(false);
}

void Frm_shop::Command3_Click() {
  press(Command3_);
  if (Command2_->isEnabled()) Command2_->setFocus(Qt::OtherFocusReason);
  Command3_->setEnabled(false);
  QStringList lines;
  for (int i = 0; i < List1_->count(); ++i) lines << List1_->item(i)->text();
  print_receipt(ReceiptData{lines, Label3_->text(), state_.tempTotal, state_.companyName, platform::now().date()});
}

}  // namespace tavuro::cashier
