#include "cashier_window.h"

#include <QApplication>

namespace tavuro::testing {

cashier::Frm_shop& CashierWindow::open() {
  window = std::make_unique<cashier::Frm_shop>(shop.state);
  window->show();
  QApplication::setActiveWindow(window.get());
  EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
  return *window;
}

QStringList CashierWindow::lines(const char* listName) const {
  QStringList result;
  const QListWidget* widget = list(listName);
  for (int i = 0; i < widget->count(); ++i) result << widget->item(i)->text();
  return result;
}

QWidget* CashierWindow::focused() const { return QApplication::focusWidget(); }

void type_text(const QString& text) {
  for (const QChar c : text) {
    QWidget* target = QApplication::focusWidget();
    if (target == nullptr) {
      ADD_FAILURE() << "no widget has the focus";
      return;
    }
    QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

void press_key(Qt::Key key, Qt::KeyboardModifiers modifiers) {
  QWidget* target = QApplication::focusWidget();
  if (target == nullptr) {
    ADD_FAILURE() << "no widget has the focus";
    return;
  }
  QTest::keyClick(target, key, modifiers);
}

}  // namespace tavuro::testing
