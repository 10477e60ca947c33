#pragma once
// Telling a barcode scanner from a person at the same keyboard: a scanner types the digits
// of a code a few milliseconds apart and ends with Enter; a person is far slower. A run of
// at least kMinScanDigits digits, each key under kMaxScanGapMs after the one before, closed
// by an Enter as fast, is a scan. The detector sees only the keys and the times they carry
// (the keyboard's event times), never the clock, so the same keys always give the same
// answer however busy the machine is.

#include <QString>
#include <QtGlobal>

namespace tavuro::cashier {

inline constexpr int kMinScanDigits = 6;
inline constexpr quint64 kMaxScanGapMs = 50;

struct ScanKey {
  enum class Kind { Digit, Enter, Other };
  Kind kind = Kind::Other;
  QChar digit;         // for Digit
  quint64 at_ms = 0;   // the key's event time; 0: not known, and never part of a scan
};

enum class ScanStep {
  None,       // the key is no part of a run
  Started,    // a digit that begins a new run
  Continued,  // a digit that carries a run on
  Scanned,    // an Enter that closes a scan: code() holds its digits
};

class ScanDetector {
 public:
  ScanStep press(const ScanKey& key);
  // The digits of the last scan.
  const QString& code() const { return code_; }
  // Forgets the run (the keys went elsewhere).
  void reset();

 private:
  bool follows_fast(quint64 at_ms) const;

  QString run_;
  quint64 last_ms_ = 0;
  QString code_;
};

}  // namespace tavuro::cashier
