#pragma once
// The head office's tables on the PostgreSQL server, and the check that keeps each till's
// journal a sound chain: every entry that arrives must follow the entry before it (number
// and hash) and carry the hash of its own parts, or the server refuses it.
//
//   tavuro_tills        one row per till: its name, when it last shipped, and why its
//                       shipping was stopped (NULL while it is not)
//   tavuro_journal      the entries of every till's journals, keyed by till, month folder
//                       and entry number
//   tavuro_sale_lines   every sale line as the till's day files hold it now, keyed by till,
//                       month folder, day file and record id, with the amounts in fen

#include "headoffice/pg_connection.h"

namespace tavuro::headoffice {

// Creates whatever of the schema is missing; leaves existing tables and rows alone.
void ensure_schema(PgConnection& server);

}  // namespace tavuro::headoffice
