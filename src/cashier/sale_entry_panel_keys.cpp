// The key and focus rules of the entry boxes, the goods and customer checks, and the
// mouse on the temporary record.

#include "cashier/sale_entry.h"
#include "cashier/sale_entry_panel.h"
#include "cashier/shop_controls.h"
#include "catalogues/goods_code.h"
#include "platform/dialogs.h"
#include "textlayout/text_layout.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

namespace tavuro::cashier {

using platform::Icon;
using textlayout::trim_spaces;

bool SaleEntryPanel::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
      return entry_key(watched, platform::key_input(*static_cast<QKeyEvent*>(event)));
    case QEvent::FocusIn:
      if (watched == Text1_ || watched == Text2_) {
        select_on_focus(static_cast<QLineEdit*>(watched),
                        static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason);
      }
      break;
    case QEvent::FocusOut: {
      // Another window or a popup taking the focus is no leaving of the box; neither is
      // the focus a rule hands back.
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      const bool scanning_away = leaving_for_scan_ && watched != Combo2_;  // the customer is still asked about
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && !restoring_focus_ &&
          !scanning_away && List1_->window()->isVisible()) {
        entry_focus_out(watched);
      }
      break;
    }
    case QEvent::MouseButtonPress: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (watched != List1_->viewport() || mouse->button() != Qt::RightButton) break;
      删除_->setEnabled(!selected_text(List1_).isEmpty());
      list1_右击_->popup(mouse->globalPosition().toPoint());
      return true;
    }
    case QEvent::MouseMove:
      // A long line can be read in full by hovering.
      if (watched == List1_->viewport()) List1_->setToolTip(selected_text(List1_));
      break;
    default:
      break;
  }
  return false;
}

bool SaleEntryPanel::entry_key(QObject* watched, const platform::KeyInput& key) {
  const bool enter = key.kind == platform::KeyKind::Enter;
  if (watched == Combo1_) {
    if (enter) Combo1_Enter();
    return enter;
  }
  if (watched == Combo2_) {
    if (enter) Combo1_->setFocus(Qt::OtherFocusReason);
    return enter;
  }
  auto* box = qobject_cast<QLineEdit*>(watched);
  if (box == nullptr || (box != Text1_ && box != Text2_ && box != Text3_)) return false;
  switch (money_key(key)) {
    case KeyRule::Pass:
      return false;
    case KeyRule::Refuse:
      platform::dialogs().message(QStringLiteral("只可以输入数字与小数点。"), Icon::Critical);
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

void SaleEntryPanel::entry_focus_out(QObject* watched) {
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

void SaleEntryPanel::Text2_LostFocus() {
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

void SaleEntryPanel::take_focus_back(QWidget* widget) {
  restoring_focus_ = true;
  widget->setFocus(Qt::OtherFocusReason);
  restoring_focus_ = false;
}

void SaleEntryPanel::Combo1_Enter() {
  const QString name = trim_spaces(Combo1_->currentText());
  if (name.isEmpty()) {
    platform::inform(QStringLiteral("你忘记了选商品！"));
    return;
  }
  if (take_code(name)) return;
  if (!check_goods(name)) return;
  Text1_->setFocus(Qt::OtherFocusReason);
  if (Text2_->text() == QStringLiteral("0.00") || Text2_->text() == QStringLiteral("0")) find_price();
}

bool SaleEntryPanel::take_code(const QString& text) {
  if (!catalogues::is_code_text(text)) return false;
  const std::optional<CodedGoods> goods = codes_.find(text);
  if (!goods) return false;
  Combo1_->setEditText(goods->name);
  Text2_->setText(goods->price);
  // The amount shown belonged to the goods before; it is computed again on leaving the price.
  Text3_->clear();
  Text1_->setFocus(Qt::OtherFocusReason);
  return true;
}

bool SaleEntryPanel::check_goods(const QString& name) {
  // A code in the goods box is no name: its goods are shown, to be recorded next.
  if (take_code(name)) return false;
  for (int i = 0; i < Combo1_->count(); ++i) {
    if (Combo1_->itemText(i) == name) return true;
  }
  if (catalogues::is_code_text(name)) {
    offer_code_registration(name);
  } else if (platform::ask_yes_no(unregistered_goods_question(name), Icon::Information)) {
    hooks_.open_goods_window(name, Text2_->text(), QString());
  }
  return false;
}

void SaleEntryPanel::offer_code_registration(const QString& code) {
  // A misread code cannot be registered: the cashier scans again.
  if (const catalogues::CodeFault fault = catalogues::code_fault(code); fault != catalogues::CodeFault::None) {
    platform::warn(catalogues::code_fault_message(fault));
    Combo1_->setFocus(Qt::OtherFocusReason);
    Combo1_->lineEdit()->selectAll();
    return;
  }
  if (platform::ask_yes_no(unregistered_code_question(code), Icon::Information)) {
    hooks_.open_goods_window(QString(), Text2_->text(), code);
  }
}

bool SaleEntryPanel::check_customer(const QString& name) {
  if (trim_spaces(name).isEmpty()) return true;
  for (int i = 0; i < Combo2_->count(); ++i) {
    if (Combo2_->itemText(i) == name) return true;
  }
  if (platform::ask_yes_no(unregistered_customer_question(name), Icon::Information)) {
    hooks_.open_customer_window(name);
  }
  return false;
}

}  // namespace tavuro::cashier
