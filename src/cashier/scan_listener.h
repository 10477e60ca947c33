#pragma once
// A barcode scanner anywhere in the cashier window. The keys go where they are typed, as
// a person's do; when a run of them turns out to be a scan (its closing Enter), the box
// the digits went into gets back the text it had before them, the Enter goes nowhere, and
// the code goes to sale entry as if it had been typed into the goods box.

#include "cashier/scan_detector.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QKeyEvent;
class QLineEdit;
class QWidget;

namespace tavuro::cashier {

// What the detector makes of a key press: the key's own event time is its time.
ScanKey scan_key(const QKeyEvent& key);

class ScanListener final : public QObject {
 public:
  // Listens to the keys typed into window (a child of it).
  ScanListener(QWidget* window, std::function<void(const QString& code)> take_scan);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void remember_box(QWidget* widget);
  void restore_box();

  QWidget* window_;
  std::function<void(const QString& code)> take_scan_;
  ScanDetector detector_;
  // The text box the run began in, as it was before the run's first digit.
  QPointer<QLineEdit> box_;
  QString text_;
  int cursor_ = 0;
  int selection_start_ = -1;
  int selection_length_ = 0;
};

}  // namespace tavuro::cashier
