#include "keyboard.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace tavuro::testing {
namespace {

bool is_printable_ascii(char32_t c) { return c >= 0x20 && c < 0x7f; }

void click_character(QWidget* target, char32_t c) {
  if (c == U'\n' || c == U'\r') {
    QTest::keyClick(target, Qt::Key_Return);
  } else if (c == U'\t') {
    QTest::keyClick(target, Qt::Key_Tab);
  } else if (is_printable_ascii(c)) {
    QTest::keyClick(target, static_cast<char>(c));
  } else {
    QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString::fromUcs4(&c, 1), Qt::NoModifier);
  }
}

QWidget* focused_or_fail() {
  QWidget* target = focused();
  if (target == nullptr) ADD_FAILURE() << "no widget has the keyboard focus";
  return target;
}

// Types text key by key into the widget that target() names at each key.
template <typename Target>
void type_each(QStringView text, std::chrono::milliseconds between_keys, Target target) {
  const QList<uint> characters = text.toUcs4();
  for (qsizetype i = 0; i < characters.size(); ++i) {
    if (i > 0 && between_keys.count() > 0) QTest::qWait(static_cast<int>(between_keys.count()));
    QWidget* widget = target();
    if (widget == nullptr) return;
    click_character(widget, characters[i]);
  }
}

}  // namespace

QWidget* focused() { return QApplication::focusWidget(); }

void scan_text(QStringView text, std::chrono::milliseconds between_keys) {
  // Event times of their own, far from those of earlier calls: a scan starts afresh.
  static quint64 event_time = 1'000'000;
  event_time += 60'000;
  for (const QChar c : text) {
    QWidget* target = focused_or_fail();
    if (target == nullptr) return;
    const bool enter = c == QLatin1Char('\n');
    const int key = enter ? Qt::Key_Return : (c.isDigit() ? Qt::Key_0 + (c.unicode() - u'0') : Qt::Key_unknown);
    const QString key_text = enter ? QStringLiteral("\r") : QString(c);
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
      auto* event = new QKeyEvent(type, key, Qt::NoModifier, key_text);
      event->setTimestamp(event_time);
      QCoreApplication::postEvent(target, event);
    }
    QTest::qWait(static_cast<int>(between_keys.count()));
    event_time += static_cast<quint64>(between_keys.count());
  }
}

void type_into(QWidget* target, QStringView text, std::chrono::milliseconds between_keys) {
  if (target == nullptr) {
    ADD_FAILURE() << "typing into no widget";
    return;
  }
  const QPointer<QWidget> guard(target);
  type_each(text, between_keys, [&guard]() -> QWidget* {
    if (guard.isNull()) ADD_FAILURE() << "the widget was destroyed while typing into it";
    return guard.data();
  });
}

void type_text(QStringView text, std::chrono::milliseconds between_keys) {
  type_each(text, between_keys, focused_or_fail);
}

void commit_into(QWidget* target, const QString& text) {
  if (target == nullptr) {
    ADD_FAILURE() << "committing text into no widget";
    return;
  }
  QInputMethodEvent event;
  event.setCommitString(text);
  QApplication::sendEvent(target, &event);
}

void commit_text(const QString& text) {
  if (QWidget* target = focused_or_fail()) commit_into(target, text);
}

void press_key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers) {
  if (target == nullptr) {
    ADD_FAILURE() << "pressing a key in no widget";
    return;
  }
  QTest::keyClick(target, key, modifiers);
}

void press_key(Qt::Key key, Qt::KeyboardModifiers modifiers) {
  if (QWidget* target = focused_or_fail()) press_key(target, key, modifiers);
}

void press_x11_key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers) {
  if (target == nullptr) {
    ADD_FAILURE() << "pressing a key in no widget";
    return;
  }
  QString text;
  if (key == Qt::Key_Delete) {
    text = QStringLiteral("\x7f");
  } else if (key == Qt::Key_Escape) {
    text = QStringLiteral("\x1b");
  } else if ((modifiers & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z) {
    text = QChar(key - Qt::Key_A + 1);
  }
  QTest::sendKeyEvent(QTest::Click, target, key, text, modifiers);
}

void press_enter() { press_key(Qt::Key_Return); }
void press_tab() { press_key(Qt::Key_Tab); }
void press_backspace() { press_key(Qt::Key_Backspace); }
void press_delete() { press_key(Qt::Key_Delete); }

}  // namespace tavuro::testing
