#pragma once
// The rules of sale entry that need no window: which keys the number boxes take, the
// amount of a line, and the checks a line passes before it is recorded.

#include "platform/dialogs.h"
#include "platform/key_input.h"

#include <QString>
#include <optional>

namespace tavuro::cashier {

// What a key does in a number box.
enum class KeyRule { Pass, Enter, Refuse };

// Quantity, unit price and amount boxes: typed or pasted digits and "." pass, and so do
// Backspace and the editing keys; any other text is refused.
KeyRule money_key(const platform::KeyInput& key);
// Receipt-number query box: the same with digits only.
KeyRule digit_key(const platform::KeyInput& key);

// The amount of a line: quantity × unit price, exactly, as two-decimal money text (the
// third decimal cut). nullopt when either text is no number or the amount no amount.
std::optional<QString> amount_text(const QString& quantity, const QString& price);

// Where the focus goes, or what else happens, after a refused line.
enum class FaultAction { None, FocusGoods, FocusPrice, OperatorWindow, CloseWindow };

struct EntryFault {
  QString text;
  platform::Icon icon = platform::Icon::Information;
  FaultAction action = FaultAction::None;
};

// The goods name of a line (trimmed): present and no wider than its column. goods_caption
// is the caption of the goods box's label.
std::optional<EntryFault> goods_fault(QString goods, const QString& goods_caption);
// Quantity (fits its column), unit price (present, fits) and amount (present, fits),
// checked in this order.
std::optional<EntryFault> number_fault(QString quantity, QString price, QString amount);
// The current operator: present, no wider than its column.
std::optional<EntryFault> operator_fault(QString op);
// The sequence number of the line about to be added to the current receipt.
std::optional<EntryFault> sequence_fault(int count);

// The question for a goods name or customer that is not registered.
QString unregistered_goods_question(const QString& name);
QString unregistered_customer_question(const QString& name);

}  // namespace tavuro::cashier
