#pragma once
// Driving a window that a command opens modally (exec()): the work is queued before the
// command runs and done once the window is up, and the window is closed in any case so
// that a failing test does not hang.

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace tavuro::testing {

// Works the modal window of type T once it has opened.
template <class T>
void when_opened(std::function<void(T&)> work, int attempts = 50) {
  QTimer::singleShot(10, [work = std::move(work), attempts] {
    QWidget* modal = QApplication::activeModalWidget();
    auto* window = dynamic_cast<T*>(modal);
    if (window == nullptr) {
      if (attempts > 0 && modal == nullptr) return when_opened<T>(work, attempts - 1);
      ADD_FAILURE() << "the expected window did not open";
      if (modal != nullptr) modal->close();
      return;
    }
    // Keys go to the focus widget: wait until it is in the new window.
    EXPECT_TRUE(QTest::qWaitFor([window] { return window->isAncestorOf(QApplication::focusWidget()); }));
    work(*window);
    if (window->isVisible()) {
      ADD_FAILURE() << "the window was left open";
      window->close();
    }
  });
}

// Closes the modal window of type T untouched once it has opened.
template <class T>
void close_when_opened() {
  when_opened<T>([](T& window) { window.close(); });
}

}  // namespace tavuro::testing
