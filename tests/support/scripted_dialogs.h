#pragma once
// Dialogs answered from a script. Every dialog is recorded; a question, input box, file,
// colour or printer dialog takes the next queued answer, and one that finds no answer of
// its kind fails the test. Plain OK message boxes need no answer.

#include "platform/dialogs.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace tavuro::testing {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

struct ShownDialog {
  enum class Kind { Message, Input, OpenFile, SaveFile, Color, Print };
  Kind kind = Kind::Message;
  QString text;  // message text, input prompt, or file dialog title
  Icon icon = Icon::None;
  Buttons buttons = Buttons::Ok;
  QString title;
  platform::FileRequest file;  // for file dialogs
};

class ScriptedDialogs final : public platform::Dialogs {
 public:
  ScriptedDialogs();
  ~ScriptedDialogs() override;

  void answer_yes();
  void answer_no();
  void answer_input(const QString& text);
  void cancel_input();
  void answer_file(const QString& path);
  void cancel_file();
  void answer_color(const QColor& color);
  // Confirms the printer dialog after configure has set up the printer (e.g. to a PDF).
  void answer_print(bool print_selection = false, std::function<void(QPrinter*)> configure = {});
  void cancel_print();

  const std::vector<ShownDialog>& shown() const { return shown_; }
  // The texts of the message boxes shown, in order.
  QStringList messages() const;
  // The last message box shown (fails the test when there was none).
  ShownDialog last_message() const;
  void clear() { shown_.clear(); }
  bool answers_left() const { return !answers_.empty(); }

  Answer message(const QString& text, Icon icon, Buttons buttons, const QString& title) override;
  std::optional<QString> input(const QString& prompt, const QString& title, const QString& default_text) override;
  std::optional<QString> open_file(const platform::FileRequest& request) override;
  std::optional<QString> save_file(const platform::FileRequest& request) override;
  std::optional<QColor> color(const QColor& initial) override;
  bool print(platform::PrintRequest& request) override;

 private:
  struct Scripted {
    ShownDialog::Kind kind = ShownDialog::Kind::Message;
    bool accept = true;
    Answer answer = Answer::Ok;
    QString text;
    QColor color;
    bool print_selection = false;
    std::function<void(QPrinter*)> configure;
  };
  static Scripted scripted(ShownDialog::Kind kind, bool accept);
  Scripted next(ShownDialog::Kind kind, const QString& what);
  void record(ShownDialog::Kind kind, const QString& text, Icon icon = Icon::None, Buttons buttons = Buttons::Ok,
              const QString& title = {}, const platform::FileRequest& file = {});

  std::vector<ShownDialog> shown_;
  std::deque<Scripted> answers_;
  platform::ScopedDialogs scope_;
};

}  // namespace tavuro::testing
