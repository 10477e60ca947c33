#pragma once
// Driving windows offscreen as a user would: showing one as the active window, and
// working a window that a command opens modally (exec()) — the work is queued before the
// command runs and done once the window is up.

#include "support/waiting.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

namespace tavuro::testing {

// Shows the window and makes it the active one, so that the focus moves as on screen.
inline bool show_active(QWidget& window) {
  window.show();
  QApplication::setActiveWindow(&window);
  const bool active = QTest::qWaitForWindowActive(&window, static_cast<int>(kPatience.count()));
  EXPECT_TRUE(active);
  return active;
}
inline bool show_active(QWidget* window) { return show_active(*window); }

// Runs work on the next modal window that comes up (any kind), looking every 5 ms until
// the patience runs out.
inline void on_next_modal(std::function<void(QWidget*)> work) {
  auto* poll = new QTimer;
  poll->setInterval(5);
  QObject::connect(poll, &QTimer::timeout, [poll, work = std::move(work), deadline = QDeadlineTimer(kPatience)] {
    QWidget* modal = QApplication::activeModalWidget();
    if ((modal == nullptr || !modal->isVisible()) && !deadline.hasExpired()) return;
    poll->stop();
    poll->deleteLater();
    if (modal == nullptr) {
      ADD_FAILURE() << "no modal window came up";
      return;
    }
    work(modal);
  });
  poll->start();
}

// Works the modal window of type T once it has opened and the keyboard focus is in it;
// a window of another kind, or one left open, fails the test and is closed.
template <class T>
void when_opened(std::function<void(T&)> work) {
  on_next_modal([work = std::move(work)](QWidget* modal) {
    auto* window = dynamic_cast<T*>(modal);
    if (window == nullptr) {
      ADD_FAILURE() << "the expected window did not open";
      modal->close();
      return;
    }
    EXPECT_TRUE(wait_until([window] { return window->isAncestorOf(QApplication::focusWidget()); }));
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
