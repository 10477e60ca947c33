#pragma once
// What a key press means to a box that checks what is typed into it. Typed characters and
// pastes are what its rules check; Enter and Backspace have rules of their own; every other
// key — Delete, the arrows, Home and End, Tab, and the editing shortcuts Ctrl+A, Ctrl+C,
// Ctrl+X, Ctrl+Z — is editing, not typing, and goes to the box untouched. (On X11 the
// Delete key carries the text U+007F and Ctrl+A the text U+0001: neither is typed text.)

#include <QString>

class QKeyEvent;

namespace tavuro::platform {

enum class KeyKind {
  Enter,      // Return, or Enter on the keypad
  Backspace,  // Backspace
  Typed,      // characters the box would insert; text holds them
  Paste,      // Ctrl+V, Shift+Insert; text holds what the clipboard would put in
  Editing,    // any other key
};

struct KeyInput {
  KeyKind kind = KeyKind::Editing;
  QString text;
};

KeyInput key_input(const QKeyEvent& key);

// The characters a box takes.
enum class Characters {
  Any,
  Digits,          // 0 to 9
  DigitsAndPoint,  // 0 to 9 and "."
};

// Whether every character of text is one the box takes (an empty text is).
bool takes(Characters characters, const QString& text);

}  // namespace tavuro::platform
