#pragma once
// The window in which the administrator sets, changes or clears the password.

#include "startup/app_state.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace tavuro::cashier {

class Frm_PassWord final : public QDialog {
 public:
  explicit Frm_PassWord(startup::AppState& state, QWidget* parent = nullptr);

  // 确定: checks the old password and applies the new one; closes on success.
  void Command1_Click();

 private:
  startup::AppState& state_;
  QLineEdit* Text1_ = nullptr;
  QLineEdit* Text2_ = nullptr;
};

}  // namespace tavuro::cashier
