#include "sales/journal_entry.h"

#include <openssl/sha.h>

namespace tavuro::sales {

namespace {

// SHA-256 of bytes in lower-case hex. OpenSSL's digest uses the processor's SHA
// instructions where it has them: the month check hashes every entry of the month.
QString sha256_hex(const QByteArray& bytes) {
  unsigned char digest[SHA256_DIGEST_LENGTH];
  SHA256(reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<size_t>(bytes.size()), digest);
  return QString::fromLatin1(
      QByteArray::fromRawData(reinterpret_cast<const char*>(digest), SHA256_DIGEST_LENGTH).toHex());
}

bool needs_escape(const QString& value) {
  for (const QChar c : value) {
    if (c == QLatin1Char('\\') || c == QLatin1Char('\n') || c == QLatin1Char('\r')) return true;
  }
  return false;
}

QString escaped(const QString& value) {
  if (!needs_escape(value)) return value;
  QString text;
  text.reserve(value.size());
  for (const QChar c : value) {
    if (c == QLatin1Char('\\')) {
      text += QStringLiteral("\\\\");
    } else if (c == QLatin1Char('\n')) {
      text += QStringLiteral("\\n");
    } else if (c == QLatin1Char('\r')) {
      text += QStringLiteral("\\r");
    } else {
      text += c;
    }
  }
  return text;
}

QString unescaped(QStringView text) {
  QString value;
  value.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != QLatin1Char('\\') || i + 1 == text.size()) {
      value += text[i];
      continue;
    }
    const QChar next = text[++i];
    value += next == QLatin1Char('n') ? QChar(QLatin1Char('\n')) : next == QLatin1Char('r') ? QChar(QLatin1Char('\r')) : next;
  }
  return value;
}

void add_part(QByteArray& form, const QByteArray& bytes) {
  form += QByteArray::number(bytes.size());
  form += ':';
  form += bytes;
  form += ',';
}

}  // namespace

QString fields_text(const QStringList& names, const QStringList& values) {
  QString text;
  text.reserve(256);
  for (qsizetype i = 0; i < names.size(); ++i) {
    if (i > 0) text += QLatin1Char('\n');
    text += escaped(names[i]) + QLatin1Char('=') + escaped(i < values.size() ? values[i] : QString());
  }
  return text;
}

QList<QPair<QString, QString>> parse_fields_text(const QString& text) {
  QList<QPair<QString, QString>> fields;
  for (const QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0) continue;
    fields.append({unescaped(line.left(equals)), unescaped(line.mid(equals + 1))});
  }
  return fields;
}

QString old_records_text(const QList<QPair<qint64, QString>>& records) {
  QString text;
  for (const auto& [id, fields] : records) {
    if (!text.isEmpty()) text += QLatin1Char('\n');
    text += QLatin1Char('@') + QString::number(id) + QLatin1Char('\n') + fields;
  }
  return text;
}

QList<QPair<qint64, QString>> parse_old_records(const QString& text) {
  QList<QPair<qint64, QString>> records;
  for (const QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
    if (line.startsWith(QLatin1Char('@'))) {
      records.append({line.mid(1).toLongLong(), QString()});
    } else if (!records.isEmpty()) {
      QString& fields = records.back().second;
      if (!fields.isEmpty()) fields += QLatin1Char('\n');
      fields += line;
    }
  }
  return records;
}

const QString& journal_seed() {
  static const QString seed = sha256_hex(QStringLiteral("Tavuro收银机 修改记录").toUtf8());
  return seed;
}

QByteArray canonical_form(const store::JournalEntry& entry) {
  QByteArray form;
  form.reserve(entry.before.size() * 3 + entry.after.size() * 3 + 256);
  add_part(form, QByteArray::number(entry.number));
  add_part(form, entry.at.toUtf8());
  add_part(form, entry.op.toUtf8());
  add_part(form, entry.file.toUtf8());
  add_part(form, QByteArray::number(entry.record));
  add_part(form, entry.kind.toUtf8());
  add_part(form, entry.before.toUtf8());
  add_part(form, entry.after.toUtf8());
  add_part(form, entry.previous_hash.toUtf8());
  return form;
}

QString entry_hash(const store::JournalEntry& entry) {
  return sha256_hex(canonical_form(entry));
}

store::JournalEntry chained(const std::optional<store::JournalEntry>& last, store::JournalEntry entry) {
  entry.number = last ? last->number + 1 : 1;
  entry.previous_hash = last ? last->hash : journal_seed();
  entry.hash = entry_hash(entry);
  return entry;
}

}  // namespace tavuro::sales
