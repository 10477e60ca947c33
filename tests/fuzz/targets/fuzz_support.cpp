#include "fuzz_support.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace tavuro::fuzz {

const QString& scratch_dir() {
  // In memory where possible: the readers' files are written with fsync, which on a disk
  // would slow a fuzz run down a hundredfold.
  static QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                               ? QStringLiteral("/dev/shm/tavuro-fuzz-XXXXXX")
                               : QDir::tempPath() + QStringLiteral("/tavuro-fuzz-XXXXXX"));
  static const QString path = dir.path();
  return path;
}

void require(bool holds, const char* property, const QString& input) {
  if (holds) return;
  QString shown = input;
  shown.replace(QChar(0), QStringLiteral("\\0"));  // the whole input, also after a NUL
  std::fprintf(stderr, "broken: %s\ninput: %s\n", property, shown.toUtf8().constData());
  std::abort();
}

}  // namespace tavuro::fuzz
