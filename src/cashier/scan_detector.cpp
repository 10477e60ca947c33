#include "cashier/scan_detector.h"

namespace tavuro::cashier {

bool ScanDetector::follows_fast(quint64 at_ms) const {
  // Times only go forward; one that goes back is none to judge by.
  return !run_.isEmpty() && at_ms >= last_ms_ && at_ms - last_ms_ < kMaxScanGapMs;
}

ScanStep ScanDetector::press(const ScanKey& key) {
  if (key.at_ms == 0 || key.kind == ScanKey::Kind::Other) {
    reset();
    return ScanStep::None;
  }
  if (key.kind == ScanKey::Kind::Enter) {
    const bool scanned = run_.size() >= kMinScanDigits && follows_fast(key.at_ms);
    if (scanned) code_ = run_;
    reset();
    return scanned ? ScanStep::Scanned : ScanStep::None;
  }
  const bool continued = follows_fast(key.at_ms);
  if (!continued) run_.clear();
  run_ += key.digit;
  last_ms_ = key.at_ms;
  return continued ? ScanStep::Continued : ScanStep::Started;
}

void ScanDetector::reset() {
  run_.clear();
  last_ms_ = 0;
}

}  // namespace tavuro::cashier
