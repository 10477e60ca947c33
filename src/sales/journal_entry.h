#pragma once
// What an entry of the journal of changes says, and the chain that binds the entries: each
// entry holds the SHA-256 of the one before (the first that of a fixed seed) and its own,
// taken over a canonical form of all its other parts, so that an entry altered or removed
// breaks the chain where it stood.

#include "store/journal_table.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <optional>

namespace tavuro::sales {

// The kinds of change.
inline const QString kRecordedKind = QStringLiteral("记录");  // a sale line recorded
inline const QString kDeletedKind = QStringLiteral("删除");   // a sale line deleted
inline const QString kEditedKind = QStringLiteral("修改");    // a sale line corrected
inline const QString kGoodsKind = QStringLiteral("商品");     // the goods catalogue changed
// The records a day file already held when its month's journal began.
inline const QString kOldFileKind = QStringLiteral("旧文件");

// A record's fields as an entry holds them: one line "name=value" per field in the table's
// order; a backslash, line feed and carriage return in a value are written \\, \n and \r.
QString fields_text(const QStringList& names, const QStringList& values);
// The fields back, in their order. Lines without "=" are left out.
QList<QPair<QString, QString>> parse_fields_text(const QString& text);

// The records of an 旧文件 entry: for each record, a line "@" + its id followed by its
// field lines.
QString old_records_text(const QList<QPair<qint64, QString>>& records);
QList<QPair<qint64, QString>> parse_old_records(const QString& text);

// The hash the first entry names as the one before it: SHA-256 of "Tavuro收银机 修改记录".
const QString& journal_seed();

// The bytes the hash of an entry is taken over: every part but the hash itself (number,
// at, operator, file, record, kind, before, after, previous hash, in that order), each as
// its UTF-8 byte count in decimal, ":", the bytes and ",".
QByteArray canonical_form(const store::JournalEntry& entry);
// SHA-256 of the canonical form, in lower-case hexadecimal.
QString entry_hash(const store::JournalEntry& entry);

// The entry numbered after last (or 1) that names last's hash (or the seed), with its hash.
store::JournalEntry chained(const std::optional<store::JournalEntry>& last, store::JournalEntry entry);

}  // namespace tavuro::sales
