#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace tavuro::testing {

namespace {

const char* kind_name(ShownDialog::Kind kind) {
  switch (kind) {
    case ShownDialog::Kind::Message: return "question";
    case ShownDialog::Kind::Input: return "input box";
    case ShownDialog::Kind::OpenFile: return "open dialog";
    case ShownDialog::Kind::SaveFile: return "save dialog";
    case ShownDialog::Kind::Color: return "colour dialog";
    case ShownDialog::Kind::Print: return "printer dialog";
  }
  return "dialog";
}

}  // namespace

ScriptedDialogs::ScriptedDialogs() : scope_(*this) {}

ScriptedDialogs::~ScriptedDialogs() {
  if (!answers_.empty()) {
    ADD_FAILURE() << answers_.size() << " scripted answer(s) were never asked for, the first for a "
                  << kind_name(answers_.front().kind);
  }
}

ScriptedDialogs::Scripted ScriptedDialogs::scripted(ShownDialog::Kind kind, bool accept) {
  Scripted answer;
  answer.kind = kind;
  answer.accept = accept;
  return answer;
}

void ScriptedDialogs::answer_yes() {
  Scripted answer = scripted(ShownDialog::Kind::Message, true);
  answer.answer = Answer::Yes;
  answers_.push_back(answer);
}
void ScriptedDialogs::answer_no() {
  Scripted answer = scripted(ShownDialog::Kind::Message, true);
  answer.answer = Answer::No;
  answers_.push_back(answer);
}
void ScriptedDialogs::answer_input(const QString& text) {
  Scripted answer = scripted(ShownDialog::Kind::Input, true);
  answer.text = text;
  answers_.push_back(answer);
}
void ScriptedDialogs::cancel_input() { answers_.push_back(scripted(ShownDialog::Kind::Input, false)); }
void ScriptedDialogs::answer_file(const QString& path) {
  Scripted answer = scripted(ShownDialog::Kind::OpenFile, true);
  answer.text = path;
  answers_.push_back(answer);
}
void ScriptedDialogs::cancel_file() { answers_.push_back(scripted(ShownDialog::Kind::OpenFile, false)); }
void ScriptedDialogs::answer_color(const QColor& color) {
  Scripted answer = scripted(ShownDialog::Kind::Color, true);
  answer.color = color;
  answers_.push_back(answer);
}
void ScriptedDialogs::answer_print(bool print_selection, std::function<void(QPrinter*)> configure) {
  Scripted answer = scripted(ShownDialog::Kind::Print, true);
  answer.print_selection = print_selection;
  answer.configure = std::move(configure);
  answers_.push_back(answer);
}
void ScriptedDialogs::cancel_print() { answers_.push_back(scripted(ShownDialog::Kind::Print, false)); }

void ScriptedDialogs::record(ShownDialog::Kind kind, const QString& text, Icon icon, Buttons buttons,
                             const QString& title, const platform::FileRequest& file) {
  ShownDialog shown;
  shown.kind = kind;
  shown.text = text;
  shown.icon = icon;
  shown.buttons = buttons;
  shown.title = title;
  shown.file = file;
  shown_.push_back(shown);
}

QStringList ScriptedDialogs::messages() const {
  QStringList texts;
  for (const ShownDialog& dialog : shown_) {
    if (dialog.kind == ShownDialog::Kind::Message) texts << dialog.text;
  }
  return texts;
}

ShownDialog ScriptedDialogs::last_message() const {
  for (auto it = shown_.rbegin(); it != shown_.rend(); ++it) {
    if (it->kind == ShownDialog::Kind::Message) return *it;
  }
  ADD_FAILURE() << "no message box was shown";
  return {};
}

ScriptedDialogs::Scripted ScriptedDialogs::next(ShownDialog::Kind kind, const QString& what) {
  // Open and save dialogs share their answers: both are "a file was chosen".
  auto fits = [kind](ShownDialog::Kind queued) {
    return queued == kind || (kind == ShownDialog::Kind::SaveFile && queued == ShownDialog::Kind::OpenFile);
  };
  if (answers_.empty() || !fits(answers_.front().kind)) {
    ADD_FAILURE() << "unexpected " << kind_name(kind) << ": " << what.toStdString();
    Scripted refused = scripted(kind, false);
    refused.answer = Answer::No;
    return refused;
  }
  Scripted answer = answers_.front();
  answers_.pop_front();
  return answer;
}

Answer ScriptedDialogs::message(const QString& text, Icon icon, Buttons buttons, const QString& title) {
  record(ShownDialog::Kind::Message, text, icon, buttons, title);
  if (buttons == Buttons::Ok) return Answer::Ok;
  return next(ShownDialog::Kind::Message, text).answer;
}

std::optional<QString> ScriptedDialogs::input(const QString& prompt, const QString& title, const QString&) {
  record(ShownDialog::Kind::Input, prompt, Icon::None, Buttons::Ok, title);
  const Scripted answer = next(ShownDialog::Kind::Input, prompt);
  if (!answer.accept) return std::nullopt;
  return answer.text;
}

std::optional<QString> ScriptedDialogs::open_file(const platform::FileRequest& request) {
  record(ShownDialog::Kind::OpenFile, request.title, Icon::None, Buttons::Ok, request.title, request);
  const Scripted answer = next(ShownDialog::Kind::OpenFile, request.title);
  if (!answer.accept) return std::nullopt;
  return answer.text;
}

std::optional<QString> ScriptedDialogs::save_file(const platform::FileRequest& request) {
  record(ShownDialog::Kind::SaveFile, request.title, Icon::None, Buttons::Ok, request.title, request);
  const Scripted answer = next(ShownDialog::Kind::SaveFile, request.title);
  if (!answer.accept) return std::nullopt;
  return answer.text;
}

std::optional<QColor> ScriptedDialogs::color(const QColor&) {
  record(ShownDialog::Kind::Color, QStringLiteral("colour"));
  const Scripted answer = next(ShownDialog::Kind::Color, QStringLiteral("colour"));
  if (!answer.accept) return std::nullopt;
  return answer.color;
}

bool ScriptedDialogs::print(platform::PrintRequest& request) {
  record(ShownDialog::Kind::Print, QStringLiteral("Print"));
  const Scripted answer = next(ShownDialog::Kind::Print, QStringLiteral("Print"));
  if (!answer.accept) return false;
  if (answer.configure) answer.configure(request.printer);
  request.print_selection = answer.print_selection && request.selection_available;
  return true;
}

}  // namespace tavuro::testing
