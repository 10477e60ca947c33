#pragma once
// Driving the administration windows offscreen as a user would.

#include "support/modal_windows.h"

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
