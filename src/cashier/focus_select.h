#pragma once
// Boxes whose whole text is selected when they get the focus, so that typing replaces it.

class QLineEdit;

namespace tavuro::cashier {

void select_all_on_focus(QLineEdit* box);

}  // namespace tavuro::cashier
