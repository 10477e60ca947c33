#include "catalogues/customer_window.h"

#include "catalogues/customer_list.h"
#include "textlayout/text_layout.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace tavuro::catalogues {

Frm_注册客户::Frm_注册客户(startup::AppState& state, startup::CashierLink& cashier, QWidget* parent)
    : CatalogueDialog(QStringLiteral("Frm_注册客户"), QStringLiteral("注册客户"), parent),
      state_(state),
      cashier_(cashier) {
  List1_ = add_list_frame(QStringLiteral("下边是已注册的客户名称"), 24, 3600 / 15);
  auto* Label1 = make_label(this, QStringLiteral("Label1"), QStringLiteral("客户名称"));
  Text1_ = make_text_box(this, QStringLiteral("Text1"), QStringLiteral("输入注册的客户名称"));
  Label1->setBuddy(Text1_);
  auto* Command1 = make_button(this, QStringLiteral("Command1"), QStringLiteral("加 入"));
  auto* Command2 = make_button(this, QStringLiteral("Command2"), QStringLiteral("删 除"));
  auto* Command3 = make_button(this, QStringLiteral("Command3"), QStringLiteral("关闭"), QStringLiteral("关闭窗口"));
  add_side_column({Label1, Text1_}, {Command1, Command2, Command3});

  connect(Command1, &QPushButton::clicked, this, [this] { add_KeFu(); });
  connect(Command2, &QPushButton::clicked, this, [this] { del_KeFu(); });
  connect(Command3, &QPushButton::clicked, this, [this] { reject(); });

  // Form Load.
  read_KeFu();
}

void Frm_注册客户::Form_Activate() { Text1_->setFocus(); }

void Frm_注册客户::Form_Unload() {
  // Without a customer added, the last one of the list is not the one sale entry asked for.
  if (!registered_) state_.customer_registered = false;
  cashier_.read_KeFu_file();
}

void Frm_注册客户::read_KeFu() {
  if (const auto lines = catalogues::read_KeFu(state_)) {
    fill_list(List1_, lines->names);
    records_ = lines->records;
  }
}

void Frm_注册客户::add_KeFu() {
  switch (catalogues::add_KeFu(state_, Text1_->text())) {
    case AddKeFuResult::Failed:
      break;
    case AddKeFuResult::Empty:
      Text1_->setFocus();
      break;
    case AddKeFuResult::Registered:
      registered_ = true;
      read_KeFu();
      [[fallthrough]];
    case AddKeFuResult::Duplicate:
      Text1_->clear();
      Text1_->setFocus();
      break;
  }
}

void Frm_注册客户::del_KeFu() {
  const int row = selected_row(List1_);
  if (row < 0 || static_cast<size_t>(row) >= records_.size()) return;
  if (!catalogues::del_KeFu(state_, textlayout::trim_spaces(List1_->item(row)->text()),
                            records_[static_cast<size_t>(row)])) {
    return;
  }
  read_KeFu();
  Text1_->clear();
  Text1_->setFocus();
}

}  // namespace tavuro::catalogues
