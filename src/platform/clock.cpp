#include "platform/clock.h"

namespace tavuro::platform {

namespace {

class SystemClock final : public Clock {
 public:
  QDateTime now() const override { return QDateTime::currentDateTime(); }
};

const Clock* current = nullptr;

}  // namespace

const Clock& clock() {
  if (current == nullptr) {
    static const SystemClock system;
    current = &system;
  }
  return *current;
}

ScopedClock::ScopedClock(const Clock& replacement) : previous_(current) { current = &replacement; }

ScopedClock::~ScopedClock() { current = previous_; }

}  // namespace tavuro::platform
