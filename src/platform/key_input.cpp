#include "platform/key_input.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>

namespace tavuro::platform {

namespace {

// A key types its text exactly when a text box would insert it: a printable character (or
// a surrogate pair, a private-use or a formatting character) not held with Ctrl alone.
bool types_text(const QKeyEvent& key) {
  const QString text = key.text();
  if (text.isEmpty()) return false;
  const QChar c = text.front();
  if (c.category() == QChar::Other_Format) return true;
  const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
  if (modifiers == Qt::ControlModifier || modifiers == (Qt::ShiftModifier | Qt::ControlModifier)) return false;
  if (c.isPrint() || c.category() == QChar::Other_PrivateUse) return true;
  return c.isHighSurrogate() && text.size() > 1 && text.at(1).isLowSurrogate();
}

}  // namespace

KeyInput key_input(const QKeyEvent& key) {
  if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) return {KeyKind::Enter, {}};
  if (key.key() == Qt::Key_Backspace) return {KeyKind::Backspace, {}};
  if (key.matches(QKeySequence::Paste)) {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return {KeyKind::Paste, clipboard != nullptr ? clipboard->text() : QString()};
  }
  if (types_text(key)) return {KeyKind::Typed, key.text()};
  return {KeyKind::Editing, {}};
}

bool takes(Characters characters, const QString& text) {
  if (characters == Characters::Any) return true;
  for (const QChar c : text) {
    const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
    const bool point = characters == Characters::DigitsAndPoint && c == QLatin1Char('.');
    if (!digit && !point) return false;
  }
  return true;
}

}  // namespace tavuro::platform
