#pragma once
// The cashier window: the program's main window and the only one that stays open.

#include "startup/app_state.h"

#include <QMainWindow>

class QTimer;

namespace tavuro::cashier {

class Frm_shop final : public QMainWindow {
  Q_OBJECT

 public:
  explicit Frm_shop(startup::AppState& state, QWidget* parent = nullptr);

  // Timer1: the caption clock with the current operator.
  void Timer1_Timer();

 private:
  startup::AppState& state_;
  QTimer* Timer1_ = nullptr;
};

}  // namespace tavuro::cashier
