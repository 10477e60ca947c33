#pragma once
// Frm_打印设置: the company name that heads every report, and the receipt printer.

#include "startup/app_state.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace tavuro::reports {

class ReceiptPrinterFrame;

// A class with a Chinese name carries no Q_OBJECT: its handlers are connected as lambdas.
class Frm_打印设置 final : public QDialog {
 public:
  explicit Frm_打印设置(startup::AppState& state, QWidget* parent = nullptr);

  // 保存: a non-blank name is stored exactly as typed and written to co.dat; a changed
  // receipt printer is kept and written to printer.dat. With a blank name and the same
  // printer nothing happens.
  void Command1_Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  startup::AppState& state_;
  QLineEdit* Text1_ = nullptr;
  QCheckBox* Check1_ = nullptr;
  ReceiptPrinterFrame* Frame2_ = nullptr;
  bool printer_file_understood_ = true;
};

}  // namespace tavuro::reports
