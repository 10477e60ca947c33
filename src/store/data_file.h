#pragma once
// One data file of the shop: a single-table database holding the table "FileName", whose
// fields are text. Records come back in the order they were added, and each change is on
// disk when the call returns. Opening never creates a file.

#include "store/journal_table.h"
#include "store/record_ref.h"
#include "store/schemas.h"
#include "store/sqlite_handle.h"

#include <QList>
#include <QPair>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tavuro::store {

// Field name → value; fields not named stay empty.
using FieldValues = QList<QPair<QString, QString>>;

// One record as read: the values of the fields that were asked for.
class Record {
 public:
  Record(qint64 id, std::shared_ptr<const QStringList> fields, QStringList values)
      : id_(id), fields_(std::move(fields)), values_(std::move(values)) {}

  qint64 id() const { return id_; }
  // The stored text of a field that was read; throws StoreError(WrongSchema) otherwise.
  QString value(const QString& field) const;
  const QStringList& values() const { return values_; }

 private:
  qint64 id_;
  std::shared_ptr<const QStringList> fields_;
  QStringList values_;
};

class DataFile {
 public:
  // Opens an existing data file. Throws Missing when it is not there and Damaged when it
  // is not a whole database with the table "FileName".
  static DataFile open(const QString& path);
  // The same for a file of a known kind: a table whose fields are not those of schema,
  // in order, is a data file of another kind under the name (WrongSchema).
  static DataFile open(const QString& path, const Schema& expected);
  // The same, before a change: the whole database must be sound too (Damaged otherwise),
  // so that no change goes into a file that is damaged where the change does not reach,
  // nor is copied over its backup from there. A file that is byte for byte its backup
  // copy (made after the last sound change) needs no check of every page.
  static DataFile open_for_change(const QString& path, const Schema& expected, const QString& backup = {});

  // Makes a new data file with the table and its fields, in order, holding records (each
  // under its own id, its values in the order of the fields), in place of whatever file
  // is at path. The file appears complete or not at all, and its name is on the disk when
  // this returns. Throws Io when it cannot be made.
  static void create(const QString& path, const Schema& schema, const std::vector<Record>& records = {});

  DataFile(DataFile&&) noexcept = default;
  DataFile& operator=(DataFile&&) noexcept = default;
  ~DataFile() = default;

  const QString& path() const { return connection_.path(); }
  // The table's field names in their order.
  const QStringList& fields() const { return *fields_; }
  bool has_field(const QString& field) const { return fields_->contains(field); }

  int record_count() const;

  // Whether the whole database is sound, also the pages no read has touched yet.
  bool is_intact() const;

  // Every record in stored order with the named fields (all fields when none are named).
  // Throws WrongSchema for a field the table does not have.
  std::vector<Record> records(const QStringList& fields = {}) const;

  // The values of one field of every record, in stored order. Throws WrongSchema for a
  // field the table does not have.
  QStringList column(const QString& field) const;

  // Walks the records in stored order until visit returns false.
  void walk(const QStringList& fields, const std::function<bool(const Record&)>& visit) const;
  // Walks only the records whose fields hold exactly the given texts (case-sensitive,
  // untrimmed; an empty field equals only the empty text), letting the database skip the
  // others.
  void walk_where(const QStringList& fields, const FieldValues& equal,
                 const std::function<bool(const Record&)>& visit) const;

  // The first record, in stored order, for which match returns true.
  std::optional<Record> find_first(const QStringList& fields,
                                  const std::function<bool(const Record&)>& match) const;

  // Every field of the record with this id, in the table's order; nullopt when there is
  // no such record.
  std::optional<QStringList> values_of(qint64 id) const;
  // The reference to a record read with every field.
  RecordRef ref_to(const Record& record) const { return {path(), record.id(), record.values()}; }
  // Whether the record of ref is still there and holds what ref read.
  bool holds(const RecordRef& ref) const { return values_of(ref.id) == ref.values; }

  // Runs work in one transaction over this file and the journal at journal (ATTACHed):
  // the changes work makes to both are committed together or not at all. A journal that
  // is missing, no journal, or refuses to be read or written fails with Journal, so that
  // no recovery of this file starts over it; nothing is changed then.
  void with_journal(const QString& journal, const std::function<void(JournalTable&)>& work);

  // Adds one record at the end; returns its id.
  qint64 append(const FieldValues& values);
  // Adds many records at the end in one change (all or none of them).
  void append_all(const std::vector<FieldValues>& rows);
  // Changes fields of one record in place.
  void update(qint64 id, const FieldValues& values);
  // Removes one record; the others keep their order.
  void remove(qint64 id);

  void close();

 private:
  explicit DataFile(detail::Connection connection, std::shared_ptr<const QStringList> fields)
      : connection_(std::move(connection)), fields_(std::move(fields)) {}
  QString column_list(const QStringList& fields) const;
  void check_fields(const QStringList& fields) const;

  detail::Connection connection_;
  std::shared_ptr<const QStringList> fields_;
};

}  // namespace tavuro::store
