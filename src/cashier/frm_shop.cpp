#include "cashier/frm_shop.h"

#include "cashier/title_clock.h"
#include "platform/app_info.h"
#include "platform/clock.h"

#include <QTimer>

namespace tavuro::cashier {

Frm_shop::Frm_shop(startup::AppState& state, QWidget* parent) : QMainWindow(parent), state_(state) {
  setObjectName(QStringLiteral("Frm_shop"));
  setWindowTitle(platform::app_title());
  resize(8400 / 15, 8400 / 15);

  Timer1_ = new QTimer(this);
  Timer1_->setObjectName(QStringLiteral("Timer1"));
  Timer1_->setInterval(500);
  connect(Timer1_, &QTimer::timeout, this, &Frm_shop::Timer1_Timer);
  Timer1_->start();
  Timer1_Timer();
}

void Frm_shop::Timer1_Timer() { setWindowTitle(caption_with_operator(platform::now(), state_.currentOperator)); }

}  // namespace tavuro::cashier
