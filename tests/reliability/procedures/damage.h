#pragma once
// The damage a data file of the shop meets in practice, and what a file is worth
// afterwards: whether the program can read it, and whether it is whole.

#include "startup/app_state.h"
#include "store/schemas.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <map>
#include <memory>
#include <optional>
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

// The backup copy beside a damaged file: byte for byte the file before the damage; made
// ten records before it (a copy that failed or was cut off by a power failure since);
// damaged itself; or not there.
enum class BackupState { Current, Older, Damaged, Missing };

const char* name_of(FileKind kind);
const char* name_of(Damage damage);
const char* name_of(BackupState state);

// A data file with its backup copy (empty for use.dat and kefu.dat, which have none).
struct Target {
  QString file;
  QString backup;
  const store::Schema* schema = nullptr;
};

Target target_of(const startup::Paths& paths, FileKind kind);

// A temporary folder for a suite that writes much and checks no durability: in memory
// (/dev/shm) where there is one, so that the flushes cost nothing.
std::unique_ptr<QTemporaryDir> memory_dir();

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

// The records of a readable file by id (all fields); nullopt when it is not readable.
std::optional<std::map<qint64, QStringList>> records_of(const QString& path, const store::Schema& schema);

// Whether bytes lie at path or in a damaged copy of it (path + ".bad", ".1.bad", …).
bool kept_at_or_beside(const QString& path, const QByteArray& bytes);

}  // namespace tavuro::reliability
