#include "catalogues/customer_window.h"

#include "catalogues/customer_list.h"
#include "textlayout/text_layout.h"

#include <QBoxLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace tavuro::catalogues {

Frm_注册客户::Frm_注册客户(startup::AppState& state, startup::CashierLink& cashier, QWidget* parent)
    : CatalogueDialog(QStringLiteral("Frm_注册客户"), QStringLiteral("注册客户"), parent),
      state_(state),
      cashier_(cashier) {
  auto* Frame1 = new QGroupBox(QStringLiteral("下边是已注册的客户名称"), this);
  Frame1->setObjectName(QStringLiteral("Frame1"));
  List1_ = make_list(Frame1, QStringLiteral("List1"), 24);
  List1_->setMinimumHeight(3600 / 15);
  (new QVBoxLayout(Frame1))->addWidget(List1_);

  auto* Label1 = new QLabel(QStringLiteral("客户名称"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Text1_ = make_text_box(this, QStringLiteral("Text1"), QStringLiteral("输入注册的客户名称"));
  Label1->setBuddy(Text1_);
  auto* Command1 = make_button(this, QStringLiteral("Command1"), QStringLiteral("加 入"));
  auto* Command2 = make_button(this, QStringLiteral("Command2"), QStringLiteral("删 除"));
  auto* Command3 = make_button(this, QStringLiteral("Command3"), QStringLiteral("关闭"), QStringLiteral("关闭窗口"));

  auto* right = new QVBoxLayout;
  right->addWidget(Label1);
  right->addWidget(Text1_);
  right->addSpacing(12);
  for (QPushButton* button : {Command1, Command2, Command3}) right->addWidget(button);
  right->addStretch(1);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(Frame1, 1);
  layout->addLayout(right);
  setTabOrder(Text1_, Command1);
  setTabOrder(Command1, Command2);
  setTabOrder(Command2, Command3);
  setTabOrder(Command3, List1_);

  connect(Command1, &QPushButton::clicked, this, [this] { add_KeFu(); });
  connect(Command2, &QPushButton::clicked, this, [this] { del_KeFu(); });
  connect(Command3, &QPushButton::clicked, this, [this] { reject(); });

  // Form Load.
  read_KeFu();
}

void Frm_注册客户::Form_Activate() { Text1_->setFocus(); }

void Frm_注册客户::Form_Unload() {
  // Without a customer added, the last one of the list is not the one sale entry asked for.
  if (!registered_) state_.customerRegistered = false;
  cashier_.read_KeFu_file();
}

void Frm_注册客户::read_KeFu() {
  if (const auto names = catalogues::read_KeFu(state_)) fill_list(List1_, *names);
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
  if (row < 0) return;
  if (!catalogues::del_KeFu(state_, textlayout::trim_spaces(List1_->item(row)->text()))) return;
  read_KeFu();
  Text1_->clear();
  Text1_->setFocus();
}

}  // namespace tavuro::catalogues
