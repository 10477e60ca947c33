#pragma once
// The system clock, replaceable so that a test can run on a fixed date and time.

#include <QDateTime>

namespace tavuro::platform {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual QDateTime now() const = 0;
};

// The clock of the running program (the system clock unless replaced).
const Clock& clock();
inline QDateTime now() { return clock().now(); }

// A clock that stands still at the time it is given (tests, benchmarks).
class FixedClock final : public Clock {
 public:
  explicit FixedClock(QDateTime at) : at_(std::move(at)) {}
  QDateTime now() const override { return at_; }
  void set(QDateTime at) { at_ = std::move(at); }

 private:
  QDateTime at_;
};

class ScopedClock {
 public:
  explicit ScopedClock(const Clock& replacement);
  ~ScopedClock();
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;

 private:
  const Clock* previous_;
};

}  // namespace tavuro::platform
