#include "reports/frm_print_settings.h"

#include "platform/dialogs.h"
#include "platform/text_file.h"
#include "printing/printer_setting.h"
#include "reports/receipt_printer_frame.h"
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

  auto* frame_layout = new QGridLayout(frame);
  frame_layout->addWidget(label, 0, 0);
  frame_layout->addWidget(Text1_, 0, 1);
  frame_layout->addWidget(Check1_, 1, 0, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(save);
  buttons->addWidget(close);
  Frame2_ = new ReceiptPrinterFrame(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frame);
  layout->addWidget(Frame2_);
  layout->addLayout(buttons);
  resize(560, 360);

  Text1_->setText(state_.company_name);
  const printing::StoredSetting stored = printing::read_printer_file(state_.paths.printer_file);
  printer_file_understood_ = stored.understood;
  Frame2_->show_setting(stored.understood ? state_.receipt_printer : printing::PrinterSetting{});
  if (!stored.understood) Frame2_->show_not_understood(stored.line);
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
  if (const QString wrong = Frame2_->problem(); !wrong.isEmpty()) {
    platform::warn(wrong);
    return;
  }
  const QString name = Text1_->text();
  const bool name_given = !textlayout::trim_spaces(name).isEmpty();
  const printing::PrinterSetting printer = Frame2_->setting();
  const bool printer_changed = printer != state_.receipt_printer || !printer_file_understood_;
  if (!name_given && !printer_changed) return;

  bool written = true;
  if (name_given) {
    state_.company_name = name;
    written = platform::write_one_line_file(state_.paths.co_file, name);
  }
  if (printer_changed) {
    state_.receipt_printer = printer;
    if (!printing::write_printer_file(state_.paths.printer_file, printer)) {
      platform::warn(QStringLiteral("printer.dat 未能写入：收据打印机的设置只在这次运行中有效。"));
      return;
    }
    printer_file_understood_ = true;
    Frame2_->show_not_understood(QString());
  }
  if (written) platform::inform(QStringLiteral("成功保存!"));
}

}  // namespace tavuro::reports
