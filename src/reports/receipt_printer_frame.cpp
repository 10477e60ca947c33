#include "reports/receipt_printer_frame.h"

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "printing/receipt_printer.h"
#include "printing/transport.h"
#include "textlayout/text_layout.h"

#include <algorithm>

#include <QCheckBox>
#include <QHBoxLayout>
#include <QComboBox>
#include <QGridLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace tavuro::reports {

namespace {

using printing::PrinterKind;
using printing::PrinterSetting;

template <class T>
T* named(T* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

}  // namespace

ReceiptPrinterFrame::ReceiptPrinterFrame(QWidget* parent) : QGroupBox(QStringLiteral("收据打印机"), parent) {
  setObjectName(QStringLiteral("Frame2"));
  Option1_ = named(new QRadioButton(QStringLiteral("系统打印机（默认打印机）"), this), "Option1");
  Option2_ = named(new QRadioButton(QStringLiteral("ESC/POS 设备文件"), this), "Option2");
  Option3_ = named(new QRadioButton(QStringLiteral("ESC/POS CUPS 队列"), this), "Option3");
  Option4_ = named(new QRadioButton(QStringLiteral("ESC/POS 网络打印机"), this), "Option4");
  Text2_ = named(new QLineEdit(this), "Text2");
  Text2_->setPlaceholderText(QStringLiteral("/dev/usb/lp0"));
  Text2_->setToolTip(QStringLiteral("USB 打印机是 /dev/usb/lp0，并口打印机是 /dev/lp0"));
  Combo1_ = named(new QComboBox(this), "Combo1");
  Combo1_->setEditable(true);
  Combo1_->setToolTip(QStringLiteral("以 raw 方式建立的 CUPS 打印队列"));
  Text3_ = named(new QLineEdit(this), "Text3");
  Text3_->setPlaceholderText(QStringLiteral("192.168.1.100"));
  Text3_->setToolTip(QStringLiteral("打印机的地址或主机名"));
  auto* port_label = named(new QLabel(QStringLiteral("端口:"), this), "Label4");
  Text4_ = named(new QLineEdit(this), "Text4");
  Text4_->setValidator(new QIntValidator(1, 65535, Text4_));
  Text4_->setMaximumWidth(70);
  port_label->setBuddy(Text4_);
  auto* paper_label = named(new QLabel(QStringLiteral("纸宽:"), this), "Label5");
  Combo2_ = named(new QComboBox(this), "Combo2");
  Combo2_->addItem(QStringLiteral("58 mm（每行 32 列）"), printing::kNarrowPaper);
  Combo2_->addItem(QStringLiteral("80 mm（每行 48 列）"), printing::kWidePaper);
  paper_label->setBuddy(Combo2_);
  Check2_ = named(new QCheckBox(QStringLiteral("打印后切纸"), this), "Check2");
  Check3_ = named(new QCheckBox(QStringLiteral("打印后打开钱箱"), this), "Check3");
  Command3_ = named(new QPushButton(QStringLiteral("测试打印[&T]"), this), "Command3");
  Command3_->setToolTip(QStringLiteral("在上面选的打印机上打印一张测试页"));
  auto* note = named(new QLabel(QStringLiteral("报表、查询报告和打印窗口的文档每行 80–92 列，仍由系统打印机打印。"), this),
                     "Label2");
  note->setWordWrap(true);
  Label3_ = named(new QLabel(this), "Label3");
  Label3_->setWordWrap(true);
  Label3_->setStyleSheet(QStringLiteral("color: #b00000"));
  Label3_->hide();

  auto* grid = new QGridLayout(this);
  grid->addWidget(Option1_, 0, 0, 1, 4);
  grid->addWidget(Option2_, 1, 0);
  grid->addWidget(Text2_, 1, 1, 1, 3);
  grid->addWidget(Option3_, 2, 0);
  grid->addWidget(Combo1_, 2, 1, 1, 3);
  grid->addWidget(Option4_, 3, 0);
  grid->addWidget(Text3_, 3, 1);
  grid->addWidget(port_label, 3, 2);
  grid->addWidget(Text4_, 3, 3);
  auto* options = new QHBoxLayout;
  options->addWidget(paper_label);
  options->addWidget(Combo2_);
  options->addSpacing(12);
  options->addWidget(Check2_);
  options->addWidget(Check3_);
  options->addStretch();
  grid->addLayout(options, 4, 0, 1, 4);
  auto* test = new QHBoxLayout;
  test->addWidget(note, 1);
  test->addWidget(Command3_);
  grid->addLayout(test, 5, 0, 1, 4);
  grid->addWidget(Label3_, 6, 0, 1, 4);
  grid->setColumnStretch(1, 1);

  for (QRadioButton* option : {Option1_, Option2_, Option3_, Option4_}) {
    connect(option, &QRadioButton::toggled, this, [this] { enable_for_kind(); });
  }
  connect(Command3_, &QPushButton::clicked, this, [this] { Command3_Click(); });
  show_setting(PrinterSetting{});
}

void ReceiptPrinterFrame::show_setting(const PrinterSetting& setting) {
  Text2_->clear();
  Combo1_->setEditText(QString());
  Text3_->clear();
  Text4_->setText(QString::number(setting.kind == PrinterKind::Network ? setting.port : printing::kDefaultPort));
  switch (setting.kind) {
    case PrinterKind::System: Option1_->setChecked(true); break;
    case PrinterKind::DeviceFile:
      Option2_->setChecked(true);
      Text2_->setText(setting.target);
      break;
    case PrinterKind::Cups:
      Option3_->setChecked(true);
      Combo1_->setEditText(setting.target);
      break;
    case PrinterKind::Network:
      Option4_->setChecked(true);
      Text3_->setText(setting.target);
      break;
  }
  Combo2_->setCurrentIndex(Combo2_->findData(setting.paper));
  Check2_->setChecked(setting.cut);
  Check3_->setChecked(setting.drawer);
  enable_for_kind();
}

PrinterKind ReceiptPrinterFrame::kind() const {
  if (Option2_->isChecked()) return PrinterKind::DeviceFile;
  if (Option3_->isChecked()) return PrinterKind::Cups;
  if (Option4_->isChecked()) return PrinterKind::Network;
  return PrinterKind::System;
}

PrinterSetting ReceiptPrinterFrame::setting() const {
  PrinterSetting setting;
  setting.kind = kind();
  if (setting.kind == PrinterKind::System) return setting;
  switch (setting.kind) {
    case PrinterKind::DeviceFile: setting.target = textlayout::trim_spaces(Text2_->text()); break;
    case PrinterKind::Cups: setting.target = textlayout::trim_spaces(Combo1_->currentText()); break;
    case PrinterKind::Network:
      setting.target = textlayout::trim_spaces(Text3_->text());
      setting.port = static_cast<quint16>(std::clamp(Text4_->text().toInt(), 0, 65535));
      break;
    case PrinterKind::System: break;
  }
  setting.paper = Combo2_->currentData().toInt();
  setting.cut = Check2_->isChecked();
  setting.drawer = Check3_->isChecked();
  return setting;
}

QString ReceiptPrinterFrame::problem() const {
  const PrinterSetting shown = setting();
  if (printing::is_usable(shown)) return {};
  switch (shown.kind) {
    case PrinterKind::DeviceFile: return QStringLiteral("请输入打印机设备文件的完整路径，例如 /dev/usb/lp0。");
    case PrinterKind::Cups: return QStringLiteral("请输入 CUPS 打印队列的名字（不含空格和 / ? # 等字符）。");
    case PrinterKind::Network:
      return shown.port == 0 ? QStringLiteral("请输入 1 到 65535 之间的端口号（一般是 9100）。")
                             : QStringLiteral("请输入网络打印机的地址，例如 192.168.1.100。");
    case PrinterKind::System: break;
  }
  return {};
}

void ReceiptPrinterFrame::show_not_understood(const QString& line) {
  Label3_->setText(line.isEmpty() ? QString()
                                  : QStringLiteral("printer.dat 中的“%1”无法识别，收据现由系统打印机打印。").arg(line));
  Label3_->setVisible(!line.isEmpty());
}

void ReceiptPrinterFrame::enable_for_kind() {
  const PrinterKind shown = kind();
  Text2_->setEnabled(shown == PrinterKind::DeviceFile);
  Combo1_->setEnabled(shown == PrinterKind::Cups);
  Text3_->setEnabled(shown == PrinterKind::Network);
  Text4_->setEnabled(shown == PrinterKind::Network);
  const bool escpos = shown != PrinterKind::System;
  Combo2_->setEnabled(escpos);
  Check2_->setEnabled(escpos);
  Check3_->setEnabled(escpos);
  if (shown == PrinterKind::Cups) fill_queues();
}

void ReceiptPrinterFrame::fill_queues() {
  // Asked once, when the choice is first wanted: the server may be slow to answer.
  if (queues_filled_) return;
  queues_filled_ = true;
  const QString typed = Combo1_->currentText();
  Combo1_->addItems(printing::cups_queues());
  Combo1_->setEditText(typed);
}

void ReceiptPrinterFrame::Command3_Click() {
  if (const QString wrong = problem(); !wrong.isEmpty()) {
    platform::warn(wrong);
    return;
  }
  const PrinterSetting shown = setting();
  if (const auto cause = printing::print_test_page(shown, platform::now())) {
    platform::warn(printing::not_printed_message(*cause));
    return;
  }
  platform::inform(QStringLiteral("测试页已送到%1。").arg(shown.is_system() ? QStringLiteral("系统打印机")
                                                                       : printing::printer_name(shown)));
}

}  // namespace tavuro::reports
