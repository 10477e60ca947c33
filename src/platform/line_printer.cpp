#include "platform/line_printer.h"

#include "platform/qt_line_printer.h"

namespace tavuro::platform {

namespace {

LinePrinterFactory& factory() {
  static LinePrinterFactory current;
  return current;
}

}  // namespace

std::unique_ptr<LinePrinter> open_line_printer() {
  if (factory()) return factory()();
  return std::make_unique<QtLinePrinter>();
}

ScopedLinePrinterFactory::ScopedLinePrinterFactory(LinePrinterFactory replacement)
    : previous_(std::move(factory())) {
  factory() = std::move(replacement);
}

ScopedLinePrinterFactory::~ScopedLinePrinterFactory() { factory() = std::move(previous_); }

}  // namespace tavuro::platform
