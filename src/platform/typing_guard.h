#pragma once
// A guard on whatever puts text into a box — keys, a paste from the keyboard, the context
// menu or the middle mouse button, a drop: a change that brings in characters the box does
// not take is refused, and a box of limited length takes no more characters than that (a
// longer text the program puts in stays whole, and may be shortened). The key rules of a
// box still give its message for a typed key; this guard refuses silently.

#include "platform/key_input.h"

class QLineEdit;

namespace tavuro::platform {

// max_length 0: no limit.
void guard_typing(QLineEdit* box, Characters characters, int max_length = 0);

}  // namespace tavuro::platform
