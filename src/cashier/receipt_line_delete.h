#pragma once
// Taking a line of the receipt being entered back out of today's day file.

#include "sales/journaled_change.h"
#include "store/record_ref.h"

#include <QString>

namespace tavuro::cashier {

// The question before a line of the receipt is deleted.
QString delete_line_question(const QString& line);

// Deletes exactly the record the line wrote, with its journal entry, when it still holds
// what the line wrote; false (nothing done) when it has gone or changed, or the day file is
// not there. Throws StoreError.
bool delete_receipt_record(const QString& day_file, const QString& backup, const sales::ChangeContext& context,
                           const store::RecordRef& record);

}  // namespace tavuro::cashier
