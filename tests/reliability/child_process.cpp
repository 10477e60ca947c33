#include "child_process.h"

#include <QtGlobal>

namespace tavuro::reliability {

int crash_trials() {
  bool ok = false;
  const int trials = qEnvironmentVariableIntValue("TAVURO_CRASH_TRIALS", &ok);
  if (ok && trials > 0) return trials;
#if defined(__SANITIZE_ADDRESS__)
  return 30;
#else
  return 100;
#endif
}

QStringList run_and_kill(const QStringList& args, int max_microseconds, std::mt19937& random) {
  return testing::run_and_kill(QStringLiteral(RELIABILITY_CHILD), args, max_microseconds, random);
}

}  // namespace tavuro::reliability
