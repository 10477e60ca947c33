#pragma once
// Driving the administration windows offscreen as a user would.

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

namespace tavuro::testing {

// Shows the window and makes it the active one, so that the focus moves as for a user.
inline bool show_active(QWidget* window) {
  window->show();
  QApplication::setActiveWindow(window);
  return QTest::qWaitForWindowActive(window);
}

// Runs work on the modal window that a handler is about to exec(), once it is up.
inline void on_next_modal(std::function<void(QWidget*)> work) {
  auto* poll = new QTimer;
  poll->setInterval(5);
  QObject::connect(poll, &QTimer::timeout, [poll, work = std::move(work), ticks = 0]() mutable {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) {
      if (++ticks < 2000) return;
      ADD_FAILURE() << "no modal window came up";
      poll->stop();
      poll->deleteLater();
      return;
    }
    poll->stop();
    poll->deleteLater();
    work(modal);
  });
  poll->start();
}

// Whether this process holds the file open.
inline bool process_holds_open(const QString& path) {
  const QString wanted = QFileInfo(path).canonicalFilePath();
  const QDir fds(QStringLiteral("/proc/self/fd"));
  for (const QFileInfo& fd : fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
    if (fd.symLinkTarget() == wanted) return true;
  }
  return false;
}

}  // namespace tavuro::testing
