#pragma once
// The frame 收据打印机 of the print settings window: where receipts are printed (the
// system printer, or an ESC/POS printer on a device file, a CUPS queue or the network),
// the paper width, the cut and the cash drawer, and a test print.

#include "printing/printer_setting.h"

#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tavuro::reports {

class ReceiptPrinterFrame final : public QGroupBox {
 public:
  explicit ReceiptPrinterFrame(QWidget* parent = nullptr);

  void show_setting(const printing::PrinterSetting& setting);
  // The setting the controls show (not checked: see problem()).
  printing::PrinterSetting setting() const;
  // What keeps the setting shown from being used, in the user's words; empty when none.
  QString problem() const;
  // Tells that printer.dat held a line that is no setting (an empty line hides it).
  void show_not_understood(const QString& line);

  // 测试打印: prints the test page on the printer shown and tells the outcome.
  void Command3_Click();

 private:
  printing::PrinterKind kind() const;
  void enable_for_kind();
  void fill_queues();

  QRadioButton* Option1_ = nullptr;  // 系统打印机
  QRadioButton* Option2_ = nullptr;  // 设备文件
  QRadioButton* Option3_ = nullptr;  // CUPS 队列
  QRadioButton* Option4_ = nullptr;  // 网络
  QLineEdit* Text2_ = nullptr;       // device path
  QComboBox* Combo1_ = nullptr;      // CUPS queue
  QLineEdit* Text3_ = nullptr;       // host
  QLineEdit* Text4_ = nullptr;       // port
  QComboBox* Combo2_ = nullptr;      // paper
  QCheckBox* Check2_ = nullptr;      // cut
  QCheckBox* Check3_ = nullptr;      // drawer
  QPushButton* Command3_ = nullptr;  // 测试打印
  QLabel* Label3_ = nullptr;         // printer.dat not understood
  bool queues_filled_ = false;
};

}  // namespace tavuro::reports
