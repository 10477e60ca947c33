#include "waiting.h"

#include <QTest>

namespace tavuro::testing {

bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds patience) {
  return QTest::qWaitFor(condition, static_cast<int>(patience.count()));
}

}  // namespace tavuro::testing
