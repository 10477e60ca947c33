#pragma once
// Every message box, input box and common dialog of the program goes through Dialogs, so
// that a test can answer them from a script and read back what was asked.

#include <QColor>
#include <QString>
#include <optional>

class QPrinter;

namespace tavuro::platform {

enum class Icon { None, Information, Exclamation, Critical, Question };
enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

// A file dialog as the program describes it: the filter is the classic
// "description|pattern|description|pattern" text, for example
// "每天的数据文件名 (*.day)|*.DAY".
struct FileRequest {
  QString title;
  QString start_folder;
  QString fileName;
  QString filter;
};

// The printer dialog: which printer, and whether only the selection is printed.
struct PrintRequest {
  QPrinter* printer = nullptr;
  bool selection_available = false;  // preset the range to the selection
  bool print_selection = false;      // out: the user chose to print the selection only
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A message box; the title defaults to the application title.
  virtual Answer message(const QString& text, Icon icon = Icon::None, Buttons buttons = Buttons::Ok,
                         const QString& title = {}) = 0;
  // An input box; nullopt when cancelled.
  virtual std::optional<QString> input(const QString& prompt, const QString& title = {},
                                       const QString& default_text = {}) = 0;
  virtual std::optional<QString> open_file(const FileRequest& request) = 0;
  virtual std::optional<QString> save_file(const FileRequest& request) = 0;
  virtual std::optional<QColor> color(const QColor& initial) = 0;
  // true when the user confirmed the printer dialog.
  virtual bool print(PrintRequest& request) = 0;
};

// The dialogs of the running program (the Qt ones unless a test has replaced them).
Dialogs& dialogs();

// Replaces the process's dialogs for the lifetime of this object.
class ScopedDialogs {
 public:
  explicit ScopedDialogs(Dialogs& replacement);
  ~ScopedDialogs();
  ScopedDialogs(const ScopedDialogs&) = delete;
  ScopedDialogs& operator=(const ScopedDialogs&) = delete;

 private:
  Dialogs* previous_;
};

// Shorthands used all over the program.
inline void inform(const QString& text) { dialogs().message(text, Icon::Information); }
inline void warn(const QString& text) { dialogs().message(text, Icon::Exclamation); }
inline bool ask_yes_no(const QString& text, Icon icon = Icon::Question) {
  return dialogs().message(text, icon, Buttons::YesNo) == Answer::Yes;
}

// Splits "desc|pattern|desc|pattern" into Qt's "desc (pattern);;desc (pattern)" form.
QString qt_file_filter(const QString& classic_filter);

}  // namespace tavuro::platform
