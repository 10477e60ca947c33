#pragma once
// The backup copy of a changed data file, and the recovery of a damaged one from it.

#include "store/store_error.h"

#include <QString>
#include <functional>

namespace tavuro::store {

// How much backup_file must check its source before copying it.
enum class SourceCheck {
  Verify,        // check every page: a damaged file must not replace its backup
  AlreadySound,  // the caller has just changed the file after open_for_change checked it
};

// Copies the data file source over target (atomically: a crash never leaves a
// half-written copy). A source that is not a whole data file is not copied: a backup is
// never replaced by damaged bytes. On failure shows "[" + source + "]数据文件备份出错！"
// and returns false; the change already made stays in source.
bool backup_file(const QString& source, const QString& target, SourceCheck check = SourceCheck::Verify);

// Runs work on file. When work finds the file damaged, the damaged bytes are kept beside
// it (file + ".bad", or ".1.bad", ".2.bad" … when an older damaged copy holds other bytes),
// the file is rebuilt from every record it still yields and the records of the backup it
// lost, the user is told what was done, work runs once more on the rebuilt file, and the
// backup is brought up to date. An error in that second attempt goes to the caller.
// Without a backup the two messages "备份数据文件出错。" and
// "数据不能修复，请试用 Microsoft Access 来修复 [ " + file + "]" are shown, the file stays as it
// was, and false is returned.
//
// Only damage starts the recovery. An error that a backup cannot mend (a value too long,
// a full or read-only disk) goes straight to the caller.
bool with_recovery(const QString& file, const QString& backup, const std::function<void()>& work);

}  // namespace tavuro::store
