#pragma once
// Every failure of the record store reaches its caller as a StoreError.

#include <QString>
#include <stdexcept>

namespace tavuro::store {

class StoreError : public std::runtime_error {
 public:
  enum class Kind {
    Missing,       // the file is not there
    Damaged,       // not a database, truncated, or without the table "FileName"
    WrongSchema,   // the table lacks a field that was asked for
    ValueTooLong,  // a value longer than its field holds; nothing was written
    Io,            // the disk refused: full, read-only, unreadable
    Journal,       // the journal of changes could not take the entry: nothing was changed
  };

  StoreError(Kind kind, QString path, QString detail);

  Kind kind() const { return kind_; }
  const QString& path() const { return path_; }
  const QString& detail() const { return detail_; }
  // Damage that the backup copy can mend (as opposed to a refused value or a full disk).
  bool is_damage() const { return kind_ == Kind::Damaged || kind_ == Kind::WrongSchema; }

 private:
  Kind kind_;
  QString path_;
  QString detail_;
};

}  // namespace tavuro::store
