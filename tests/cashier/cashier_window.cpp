#include "cashier_window.h"

#include <QApplication>

namespace tavuro::testing {

cashier::Frm_shop& CashierWindow::open() {
  window = std::make_unique<cashier::Frm_shop>(shop.state);
  window->show();
  QApplication::setActiveWindow(window.get());
  EXPECT_TRUE(QTest::qWaitForWindowActive(window.get(), static_cast<int>(kPatience.count())));
  return *window;
}

QStringList CashierWindow::lines(const char* list_name) const {
  QStringList result;
  const QListWidget* widget = list(list_name);
  for (int i = 0; i < widget->count(); ++i) result << widget->item(i)->text();
  return result;
}

QWidget* CashierWindow::focused() const { return testing::focused(); }

}  // namespace tavuro::testing
