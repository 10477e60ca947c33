#pragma once
// LinePrinter on the system's default printer: the lines are laid out in the fixed-pitch
// CJK face, as many per page as fit, on as many pages as they need.

#include "platform/line_printer.h"

namespace tavuro::platform {

class QtLinePrinter final : public LinePrinter {
 public:
  void set_font_size(int points) override { font_size_ = points; }
  void print_line(const QString& line) override { lines_ << line; }
  bool end_doc() override;

 private:
  int font_size_ = 12;
  QStringList lines_;
};

}  // namespace tavuro::platform
