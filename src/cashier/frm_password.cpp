#include "cashier/frm_password.h"

#include "cashier/focus_select.h"
#include "cashier/password_change.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavuro::cashier {

namespace {

QLabel* make_label(QWidget* parent, const char* name, const QString& text, const QString& toolTip = {}) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromUtf8(name));
  label->setToolTip(toolTip);
  return label;
}

}  // namespace

Frm_PassWord::Frm_PassWord(startup::AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
  setObjectName(QStringLiteral("Frm_PassWord"));
  setWindowTitle(QStringLiteral("修改管理员密码"));
  setModal(true);

  Text1_ = new QLineEdit(this);
  Text1_->setObjectName(QStringLiteral("Text1"));
  Text1_->setEchoMode(QLineEdit::Password);
  Text1_->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));  // '*'
  Text2_ = new QLineEdit(this);
  Text2_->setObjectName(QStringLiteral("Text2"));
  select_all_on_focus(Text1_);
  select_all_on_focus(Text2_);

  auto* fields = new QGridLayout;
  fields->addWidget(make_label(this, "Label1", QStringLiteral("旧密码")), 0, 0);
  fields->addWidget(Text1_, 0, 1);
  fields->addWidget(make_label(this, "Label2", QStringLiteral("新密码")), 1, 0);
  fields->addWidget(Text2_, 1, 1);

  auto* Command1 = new QPushButton(QStringLiteral("确定[&Y]"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command1->setDefault(true);
  auto* Command2 = new QPushButton(QStringLiteral("关闭[&X]"), this);
  Command2->setObjectName(QStringLiteral("Command2"));
  connect(Command1, &QPushButton::clicked, this, &Frm_PassWord::Command1_Click);
  connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(Command1);
  buttons->addWidget(Command2);
  buttons->addStretch();

  auto* top = new QHBoxLayout;
  top->addLayout(fields, 1);
  top->addSpacing(12);
  top->addLayout(buttons);

  auto* Frame1 = new QGroupBox(QStringLiteral("管理员密码使用说明"), this);
  Frame1->setObjectName(QStringLiteral("Frame1"));
  Frame1->setToolTip(QStringLiteral("不设密码，任何人都可以使用所有的功能。"));
  const QString guard_tip = QStringLiteral("这个功能可防止你的员工泄密，而起到保护功能。");
  const QString empty_tip = QStringLiteral("如果不设密码，意味着你开放所有的功能（对于多个人使用是非常危险的）");
  auto* notes = new QVBoxLayout(Frame1);
  notes->setSpacing(4);
  notes->addWidget(make_label(Frame1, "Label3", QStringLiteral("如果设置了管理员密码下边功能将受到限制：")));
  notes->addWidget(make_label(Frame1, "Label4", QStringLiteral("1）核心的结算打印功能[要求输入密码]"), guard_tip));
  notes->addWidget(make_label(Frame1, "Label5", QStringLiteral("2）核心的查询功能[要求输入密码]"), guard_tip));
  notes->addSpacing(6);
  notes->addWidget(make_label(Frame1, "Label6", QStringLiteral("注：系统的默认密码是空（不用填写），如果"), empty_tip));
  notes->addWidget(make_label(Frame1, "Label7", QStringLiteral("    你将密码设置为空，所有功能将不受限制。"), empty_tip));

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addSpacing(8);
  layout->addWidget(Frame1);
  setFixedWidth(5400 / 15);
}

void Frm_PassWord::Command1_Click() {
  if (change_admin_password(state_, Text1_->text(), Text2_->text())) accept();
}

}  // namespace tavuro::cashier
