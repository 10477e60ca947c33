#pragma once
// The customer list kefu.dat as the customer window works on it. The window never makes
// the file: a missing list is left to the cashier window and start-up.

#include "startup/app_state.h"
#include "store/record_ref.h"

#include <QStringList>
#include <optional>
#include <vector>

namespace tavuro::catalogues {

// The stored names in stored order, with the record behind each.
struct CustomerLines {
  QStringList names;
  std::vector<store::RecordRef> records;
};

// The list of kefu.dat; nullopt when kefu.dat is missing (no message) or cannot be read
// ("客户名文件被破坏[read_KeFu]。").
std::optional<CustomerLines> read_KeFu(const startup::AppState& state);

enum class AddKeFuResult { Empty, Duplicate, Registered, Failed };

// Registers the trimmed text unless a customer of exactly that name exists. A name the
// list cannot hold (over 50 characters) is refused with a message and nothing is added.
AddKeFuResult add_KeFu(const startup::AppState& state, const QString& text);

// Asks the delete question and on Yes deletes exactly the record behind the chosen line, when
// it still holds what the list showed (otherwise the message for a record gone or changed).
// Returns true when the list was worked on (Yes and no failure).
bool del_KeFu(const startup::AppState& state, const QString& name, const store::RecordRef& record);

}  // namespace tavuro::catalogues
