#pragma once
// The damage a data file of the shop meets in practice, and what a file is worth
// afterwards: whether the program can read it, and whether it is whole.

#include "startup/app_state.h"
#include "store/schemas.h"

#include <QByteArray>
#include <QString>

#include <random>

namespace tavuro::reliability {

enum class FileKind { Day, Shop, Use, KeFu };

enum class Damage {
  GarbageHeader,   // the first hundred bytes overwritten
  Truncated,       // cut at a random offset
  Empty,           // 0 bytes
  ByteFlips,       // a few bytes changed at random offsets
  OtherDataFile,   // a data file of another kind, with records, under the name
  OtherEmptyFile,  // a data file of another kind without records under the name
  TextFile,        // a text file under the name
  Directory,       // a folder where the file should be
  ReadOnly,        // no write permission (only meaningful for an unprivileged user)
  Unreadable,      // no permissions at all (only meaningful for an unprivileged user)
};

const char* name_of(FileKind kind);
const char* name_of(Damage damage);

// A data file with its backup copy (empty for use.dat and kefu.dat, which have none).
struct Target {
  QString file;
  QString backup;
  const store::Schema* schema = nullptr;
};

Target target_of(const startup::Paths& paths, FileKind kind);

// Replaces path by bytes (0644). false when it cannot.
bool put_bytes(const QString& path, const QByteArray& bytes);
// The bytes of a regular file; empty when it is none or cannot be read.
QByteArray bytes_of(const QString& path);
// Removes whatever is at path: file, folder, permissions notwithstanding.
void remove_any(const QString& path);

// Puts the damage on target.file, whose healthy bytes are healthy.
void apply_damage(const Target& target, const QByteArray& healthy, Damage damage, std::mt19937& random);

// The program reads it: it opens as a data file with the target's fields, and every
// record can be read.
bool readable(const QString& path, const store::Schema& schema);
// Readable, and the database is whole down to the last page (nothing the program reads
// now or later would find it damaged).
bool intact(const QString& path, const store::Schema& schema);

}  // namespace tavuro::reliability
