#include "catalogues/operator_window.h"

#include "catalogues/operator_list.h"
#include "textlayout/text_layout.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace tavuro::catalogues {

Frm_输入操作::Frm_输入操作(startup::AppState& state, startup::CashierLink& cashier, QWidget* parent)
    : CatalogueDialog(QStringLiteral("Frm_输入操作"), QStringLiteral("输入操作员/编号"), parent),
      state_(state),
      cashier_(cashier) {
  List1_ = add_list_frame(QStringLiteral("下边是已经注册的操作员"), 14, 3000 / 15);
  auto* Label1 = make_label(this, QStringLiteral("Label1"), QStringLiteral("当前的操作员/编号"));
  Text1_ = make_text_box(this, QStringLiteral("Text1"), QStringLiteral("只可以使用不多于6个字符或3个中文字"));
  Label1->setBuddy(Text1_);
  auto* Command1 = make_button(this, QStringLiteral("Command1"), QStringLiteral("使用[&Y]"));
  auto* Com_Add = make_button(this, QStringLiteral("Com_Add"), QStringLiteral("加入[&A]"));
  auto* Com_Del = make_button(this, QStringLiteral("Com_Del"), QStringLiteral("删除[&D]"));
  auto* Command2 = make_button(this, QStringLiteral("Command2"), QStringLiteral("关闭[&X]"));
  add_side_column({Label1, Text1_}, {Command1, Com_Add, Com_Del, Command2});

  on_got_focus(Text1_, [this] { Text1_->selectAll(); });
  on_list_click(List1_, [this] {
    if (const int row = selected_row(List1_); row >= 0) Text1_->setText(List1_->item(row)->text());
  });
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(Com_Add, &QPushButton::clicked, this, [this] { add_use(); });
  connect(Com_Del, &QPushButton::clicked, this, [this] { del_use(); });
  connect(Command2, &QPushButton::clicked, this, [this] { reject(); });

  // Form Load.
  Text1_->setText(kOperatorPlaceholder);
  read_use();
}

void Frm_输入操作::Form_Activate() {
  Text1_->setFocus();
  Text1_->selectAll();
}

void Frm_输入操作::Form_Unload() { cashier_.read_usefile(); }

void Frm_输入操作::read_use() {
  if (const auto lines = catalogues::read_use(state_)) {
    fill_list(List1_, lines->lines);
    records_ = lines->records;
  }
}

void Frm_输入操作::add_use() {
  switch (catalogues::add_use(state_, Text1_->text())) {
    case AddUseResult::Ignored:
    case AddUseResult::Failed:
      break;
    case AddUseResult::TooWide:
      Text1_->setFocus();
      break;
    case AddUseResult::Duplicate:
      Text1_->clear();
      Text1_->setFocus();
      break;
    case AddUseResult::Registered:
      read_use();
      break;
  }
}

void Frm_输入操作::del_use() {
  const int row = selected_row(List1_);
  if (row < 0 || static_cast<size_t>(row) >= records_.size()) return;
  if (!catalogues::del_use(state_, textlayout::trim_spaces(List1_->item(row)->text()),
                           records_[static_cast<size_t>(row)])) {
    return;
  }
  read_use();
  Text1_->clear();
}

void Frm_输入操作::Command1_Click() {
  switch (use_operator(state_, Text1_->text())) {
    case UseOperatorResult::Empty:
    case UseOperatorResult::TooWide:
      Text1_->setFocus();
      break;
    case UseOperatorResult::NotRegistered:
    case UseOperatorResult::Failed:
      break;
    case UseOperatorResult::Chosen:
      reject();
      break;
  }
}

}  // namespace tavuro::catalogues
