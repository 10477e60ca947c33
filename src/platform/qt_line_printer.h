#pragma once
// LinePrinter on the system's default printer: the lines are laid out in the fixed-pitch
// CJK face, as many per page as fit, on as many pages as they need.

#include "platform/line_printer.h"

namespace tavuro::platform {

class QtLinePrinter final : public LinePrinter {
 public:
  void setFontSize(int points) override { fontSize_ = points; }
  void printLine(const QString& line) override { lines_ << line; }
  bool endDoc() override;

 private:
  int fontSize_ = 12;
  QStringList lines_;
};

}  // namespace tavuro::platform
