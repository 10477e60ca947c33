#pragma once
// The recovery of a damaged data file: what the file still holds, completed from its backup
// copy where the file has lost records, rebuilt as a whole file in its place. The damaged
// bytes are kept beside it under a name of their own, and nothing the file still yields is
// given up for an older backup.

#include "store/data_file.h"
#include "store/page_reader.h"
#include "store/schemas.h"

#include <QString>
#include <optional>
#include <vector>

namespace tavuro::store {

// The records a rebuilt file holds, and where they came from.
struct Merged {
  std::vector<Record> records;  // in rowid order
  int from_backup = 0;           // of them, taken from the backup
};

// Decides which records a rebuilt file holds: every record the damaged file still yields,
// and each record of the backup that the file does not have where the file lost records.
// A record of the backup that the file lacks where the file read whole was deleted since
// the backup was made, and is not brought back. Every rule on which record stays belongs
// here.
Merged merge_records(const Salvage& file, const Salvage& backup);

// Keeps the bytes of path beside it: path + ".bad", or when that name holds other bytes
// path + ".1.bad", ".2.bad" and so on; a copy already kept is not made twice. Returns the
// name the bytes lie under, nullopt when they could not be kept.
std::optional<QString> keep_damaged_copy(const QString& path);

// What one recovery did.
struct Recovery {
  QString file;
  QString damaged_copy;        // where the damaged file's bytes lie
  QString damaged_backup_copy;  // where a damaged backup's bytes lie; empty when it was whole
  bool backup_whole = false;
  int rebuilt = 0;     // records the rebuilt file was made with
  int from_backup = 0;  // of them, taken from the backup
  int records = 0;     // records the file holds now (after the work done on it)
  // The backup may be replaced by a copy of the rebuilt file: it was whole, or its
  // damaged bytes are kept.
  bool backup_replaceable() const { return backup_whole || !damaged_backup_copy.isEmpty(); }
};

// Rebuilds file, whose damaged bytes are already kept at damaged_copy, from what it and
// backup still hold. Throws StoreError (Io) when the rebuilt file cannot be put in place;
// file is then as it was.
Recovery rebuild_file(const QString& file, const QString& damaged_copy, const QString& backup, const Schema& schema);

// What the user is told once a recovery has happened.
QString recovery_notice(const Recovery& recovery);

// The layout of a data file that the recovery knows by its name (a day file, shop.dat), or
// that its backup has; nullptr when neither tells.
const Schema* schema_to_recover(const QString& file, const QString& backup);

}  // namespace tavuro::store
