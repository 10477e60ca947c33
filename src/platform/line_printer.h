#pragma once
// The printer as receipts and the query report use it: a font size, lines of text, and
// the end of the document that sends it to the printer.

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace tavuro::platform {

class LinePrinter {
 public:
  virtual ~LinePrinter() = default;
  virtual void set_font_size(int points) = 0;
  virtual void print_line(const QString& line) = 0;
  // Ends the document and sends it to the printer. false when it was not printed
  // (no printer installed, the job could not start).
  virtual bool end_doc() = 0;
  // Why the last document was not printed, in the user's words.
  virtual QString failure() const { return kNoPrinter; }

  inline static const QString kNoPrinter = QStringLiteral("没有可用的打印机，或打印任务未能开始");
};

// A printer that keeps what it was given, for tests and previews.
struct PrintedDocument {
  int font_size = 0;
  QStringList lines;
  bool ended = false;
};

class RecordingPrinter final : public LinePrinter {
 public:
  explicit RecordingPrinter(std::vector<PrintedDocument>& sink) : sink_(sink) {}
  void set_font_size(int points) override { document_.font_size = points; }
  void print_line(const QString& line) override { document_.lines << line; }
  bool end_doc() override {
    document_.ended = true;
    sink_.push_back(document_);
    document_ = {};
    return true;
  }

 private:
  std::vector<PrintedDocument>& sink_;
  PrintedDocument document_;
};

using LinePrinterFactory = std::function<std::unique_ptr<LinePrinter>()>;

// A new print job on the default printer (or whatever a test put in its place).
std::unique_ptr<LinePrinter> open_line_printer();

class ScopedLinePrinterFactory {
 public:
  explicit ScopedLinePrinterFactory(LinePrinterFactory factory);
  ~ScopedLinePrinterFactory();
  ScopedLinePrinterFactory(const ScopedLinePrinterFactory&) = delete;
  ScopedLinePrinterFactory& operator=(const ScopedLinePrinterFactory&) = delete;

 private:
  LinePrinterFactory previous_;
};

}  // namespace tavuro::platform
