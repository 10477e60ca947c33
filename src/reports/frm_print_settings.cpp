#include "reports/frm_print_settings.h"

#include "platform/dialogs.h"
#include "platform/text_file.h"
#include "textlayout/text_layout.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace tavuro::reports {

Frm_打印设置::Frm_打印设置(startup::AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
  setObjectName(QStringLiteral("Frm_打印设置"));
  setWindowTitle(QStringLiteral("打印设置"));

  auto* frame = new QGroupBox(this);
  frame->setObjectName(QStringLiteral("Frame1"));
  auto* label = new QLabel(QStringLiteral("公司标题:"), frame);
  label->setObjectName(QStringLiteral("Label1"));
  Text1_ = new QLineEdit(frame);
  Text1_->setObjectName(QStringLiteral("Text1"));
  Text1_->setToolTip(QStringLiteral("输入打印的公司名(不输入公司名为空)"));
  label->setBuddy(Text1_);
  // Kept as it was offered: no report reads it, every report lists every goods.
  Check1_ = new QCheckBox(QStringLiteral("不打印统计金额为“0”的商品"), frame);
  Check1_->setObjectName(QStringLiteral("Check1"));
  auto* save = new QPushButton(QStringLiteral("保存[&S]"), this);
  save->setObjectName(QStringLiteral("Command1"));
  auto* close = new QPushButton(QStringLiteral("关闭[&X]"), this);
  close->setObjectName(QStringLiteral("Command2"));

  auto* frameLayout = new QGridLayout(frame);
  frameLayout->addWidget(label, 0, 0);
  frameLayout->addWidget(Text1_, 0, 1);
  frameLayout->addWidget(Check1_, 1, 0, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(save);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frame);
  layout->addLayout(buttons);
  resize(420, 150);

  Text1_->setText(state_.companyName);
  Text1_->installEventFilter(this);
  connect(save, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(close, &QPushButton::clicked, this, &QDialog::close);
}

bool Frm_打印设置::eventFilter(QObject* watched, QEvent* event) {
  // Text1 gets the focus: its whole text is selected (after the click has placed the cursor).
  if (watched == Text1_ && event->type() == QEvent::FocusIn) {
    QTimer::singleShot(0, Text1_, &QLineEdit::selectAll);
  }
  return QDialog::eventFilter(watched, event);
}

void Frm_打印设置::Command1_Click() {
  const QString name = Text1_->text();
  if (textlayout::trim_spaces(name).isEmpty()) return;
  state_.companyName = name;
  if (platform::write_one_line_file(state_.paths.coFile, name)) platform::inform(QStringLiteral("成功保存!"));
}

}  // namespace tavuro::reports
