#pragma once
// The keyboard of a user, for widgets on the offscreen platform. Printable ASCII goes as
// ordinary key clicks (the key code and its text); any other character — Chinese, other
// scripts, characters outside the Basic Multilingual Plane — goes as a key click that
// carries only its text, as a keyboard layout or an input method delivers it. A newline
// in the text is the Enter key and a tab the Tab key.

#include <Qt>
#include <QString>
#include <QStringView>

#include <chrono>

class QWidget;

namespace tavuro::testing {

// The widget that has the keyboard focus, or nullptr.
QWidget* focused();

// Types text into target one character at a time. With a pause between keys, the event
// loop runs for at least that long after each key but the last (a barcode scanner types
// a few milliseconds apart, a person much slower).
void type_into(QWidget* target, QStringView text, std::chrono::milliseconds between_keys = {});
// The same into whichever widget has the focus at each key: Enter or Tab in the text
// may move the focus on, as a barcode scanner's Enter after the code does.
void type_text(QStringView text, std::chrono::milliseconds between_keys = {});

// Types text as a barcode scanner (a keyboard wedge) does: each key a press and release
// posted to the widget that has the focus at that key and delivered by the event loop,
// which runs between_keys after each key. The keys carry event times between_keys apart,
// later than any such keys before, so that what reads those times sees the same keys
// however slow the machine is. (The keys of type_text carry no event time.)
void scan_text(QStringView text, std::chrono::milliseconds between_keys = std::chrono::milliseconds(5));

// What a pinyin input method sends when a word is chosen: the characters committed at
// once, in a single input method event.
void commit_into(QWidget* target, const QString& text);
void commit_text(const QString& text);

// Presses and releases one key, with modifiers held, in target or the focused widget.
void press_key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void press_key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// The same as the X11 keyboard delivers it, with the text the key carries there: Delete
// (also with Shift) U+007F, Escape U+001B, Ctrl with a letter its control character
// (Ctrl+A U+0001, Ctrl+V U+0016), Shift+Insert nothing.
void press_x11_key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void press_enter();
void press_tab();
void press_backspace();
void press_delete();

}  // namespace tavuro::testing
