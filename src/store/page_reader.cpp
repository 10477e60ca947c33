#include "store/page_reader.h"

#include <QtEndian>

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <map>
#include <optional>
#include <set>

namespace tavuro::store {

namespace {

constexpr qint64 kLowest = std::numeric_limits<qint64>::min();
constexpr qint64 kHighest = std::numeric_limits<qint64>::max();
constexpr int kMaxDepth = 20;  // as deep as SQLite itself goes into a tree
constexpr quint8 kInteriorTable = 0x05;
constexpr quint8 kLeafTable = 0x0D;
constexpr int kSchemaColumns = 5;  // type, name, tbl_name, rootpage, sql

enum class Encoding { Utf8, Utf16le, Utf16be };

struct Layout {
  quint32 pageSize = 0;
  quint32 usable = 0;
  quint32 pages = 0;  // whole pages that belong to the database
  Encoding encoding = Encoding::Utf8;
  quint32 freelist_trunk = 0;  // 0 when unknown
};

quint32 be32(const uchar* p) {
  return qFromBigEndian<quint32>(p);
}
quint16 be16(const uchar* p) {
  return qFromBigEndian<quint16>(p);
}
quint32 content_start(const uchar* header) {
  return be16(header + 5) == 0 ? 65536u : be16(header + 5);
}

// SQLite's variable-length integer: one to nine bytes, big-endian, seven bits a byte but
// eight in the ninth.
bool read_varint(const uchar* p, const uchar* end, quint64* value, int* length) {
  quint64 v = 0;
  for (int i = 0; i < 9; ++i) {
    if (p + i >= end) return false;
    if (i == 8) {
      *value = (v << 8) | p[i];
      *length = 9;
      return true;
    }
    v = (v << 7) | (p[i] & 0x7f);
    if ((p[i] & 0x80) == 0) {
      *value = v;
      *length = i + 1;
      return true;
    }
  }
  return false;
}

bool is_page_size(quint32 size) {
  return size >= 512 && size <= 65536 && (size & (size - 1)) == 0;
}

std::optional<Layout> layout_from_header(const QByteArray& bytes) {
  static const char kMagic[16] = {'S', 'Q', 'L', 'i', 't', 'e', ' ', 'f', 'o', 'r', 'm', 'a', 't', ' ', '3', '\0'};
  if (bytes.size() < 100 || std::memcmp(bytes.constData(), kMagic, sizeof kMagic) != 0) return std::nullopt;
  const auto* h = reinterpret_cast<const uchar*>(bytes.constData());
  const quint32 size = be16(h + 16) == 1 ? 65536u : be16(h + 16);
  if (!is_page_size(size) || size - h[20] < 480) return std::nullopt;
  Layout layout;
  layout.pageSize = size;
  layout.usable = size - h[20];
  const auto in_file = static_cast<quint32>(bytes.size() / size);
  // The page count of the header holds when the write that set it also set the
  // version-valid-for number; the file may be longer (bytes after the last page).
  const quint32 declared = be32(h + 28);
  layout.pages = declared != 0 && be32(h + 24) == be32(h + 92) ? std::min(declared, in_file) : in_file;
  const quint32 encoding = be32(h + 56);
  layout.encoding = encoding == 2 ? Encoding::Utf16le : encoding == 3 ? Encoding::Utf16be : Encoding::Utf8;
  layout.freelist_trunk = be32(h + 32);
  return layout;
}

bool looks_like_tree_page(const uchar* page, quint32 header_offset, quint32 size) {
  const uchar* h = page + header_offset;
  const quint8 type = h[0];
  if (type != 2 && type != 5 && type != 10 && type != 13) return false;
  const quint32 header = header_offset + (type == 2 || type == 5 ? 12u : 8u);
  const quint32 cells = be16(h + 3);
  const quint32 start = content_start(h);
  return header + 2 * cells <= start && start <= size && h[7] <= 60;
}

// A file whose header is gone: the page size under which the most pages look like pages of
// a tree (the smallest of the sizes that do about as well, since every other page of a
// file of 4096-byte pages also looks like a page of an 8192-byte one).
Layout probe_layout(const QByteArray& bytes) {
  const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
  Layout best;
  double best_share = -1.0;
  std::vector<std::pair<quint32, double>> shares;
  for (quint32 size = 512; size <= 65536; size *= 2) {
    const auto pages = static_cast<quint32>(bytes.size() / size);
    if (pages == 0) continue;
    quint32 plausible = 0;
    for (quint32 n = 1; n <= pages; ++n) {
      if (looks_like_tree_page(data + qsizetype(n - 1) * size, n == 1 ? 100 : 0, size)) ++plausible;
    }
    shares.emplace_back(size, double(plausible) / pages);
    best_share = std::max(best_share, double(plausible) / pages);
  }
  for (const auto& [size, share] : shares) {
    if (share >= 0.9 * best_share && best_share > 0.0) {
      best.pageSize = best.usable = size;
      best.pages = static_cast<quint32>(bytes.size() / size);
      return best;
    }
  }
  return best;
}

class Pages {
 public:
  Pages(const QByteArray& bytes, const Layout& layout) : bytes_(bytes), layout_(layout) {}
  const Layout& layout() const { return layout_; }
  // The page numbered n (from 1), or nullptr when the file does not have it whole.
  const uchar* page(quint32 n) const {
    if (n < 1 || n > layout_.pages) return nullptr;
    return reinterpret_cast<const uchar*>(bytes_.constData()) + qsizetype(n - 1) * layout_.pageSize;
  }

 private:
  const QByteArray& bytes_;
  Layout layout_;
};

QString text_of(const uchar* p, qsizetype size, Encoding encoding) {
  switch (encoding) {
    case Encoding::Utf8:
      return QString::fromUtf8(reinterpret_cast<const char*>(p), size);
    case Encoding::Utf16le:
    case Encoding::Utf16be: {
      QString text;
      text.reserve(size / 2);
      for (qsizetype i = 0; i + 1 < size; i += 2) {
        text.append(
            QChar(encoding == Encoding::Utf16le ? quint16(p[i] | (p[i + 1] << 8)) : quint16((p[i] << 8) | p[i + 1])));
      }
      return text;
    }
  }
  return {};
}

// The size of a value of a serial type; -1 for the two types no record has.
qint64 value_size(quint64 type) {
  static constexpr std::array<qint64, 12> kFixed{0, 1, 2, 3, 4, 6, 8, 8, 0, 0, -1, -1};
  return type < kFixed.size() ? kFixed[type] : qint64((type - 12) / 2);
}

// A value as SQLite gives it as text, which is how the store reads every field.
QString value_text(quint64 type, const uchar* p, qint64 size, Encoding encoding) {
  if (type == 0) return {};
  if (type == 8 || type == 9) return QString::number(type - 8);
  if (type <= 6) {
    qint64 v = (p[0] & 0x80) != 0 ? -1 : 0;
    for (qint64 i = 0; i < size; ++i) v = static_cast<qint64>((static_cast<quint64>(v) << 8) | p[i]);
    return QString::number(v);
  }
  if (type == 7) {
    const quint64 raw = qFromBigEndian<quint64>(p);
    double v = 0;
    std::memcpy(&v, &raw, sizeof v);
    char text[64];
    sqlite3_snprintf(sizeof text, text, "%!.15g", v);
    return QString::fromUtf8(text);
  }
  return text_of(p, size, encoding);  // text, or a blob read as text
}

// The fields of a record whose header and body agree exactly. A record of a table's tree
// may have fewer fields than the table (the missing ones read as empty, as SQLite reads
// them) or more (the table's own are read); one found outside any tree must have exactly
// as many.
std::optional<QStringList> decode_record(const QByteArray& payload, int columns, Encoding encoding, bool exact) {
  const auto* p = reinterpret_cast<const uchar*>(payload.constData());
  const qint64 size = payload.size();
  if (size == 0 && !exact) return QStringList(columns, QString());  // SQLite reads every field as empty
  quint64 header_size = 0;
  int length = 0;
  if (!read_varint(p, p + size, &header_size, &length) || header_size < quint64(length) || header_size > quint64(size)) {
    return std::nullopt;
  }
  std::vector<quint64> types;
  qint64 at = length;
  qint64 body = 0;
  while (at < qint64(header_size)) {
    quint64 type = 0;
    if (!read_varint(p + at, p + header_size, &type, &length)) return std::nullopt;
    at += length;
    const qint64 bytes = value_size(type);
    if (bytes < 0 || bytes > size) return std::nullopt;
    body += bytes;
    types.push_back(type);
  }
  if (qint64(header_size) + body != size || (exact && qint64(types.size()) != columns)) return std::nullopt;
  QStringList values;
  values.reserve(columns);
  qint64 offset = qint64(header_size);
  for (const quint64 type : types) {
    if (values.size() == columns) break;
    const qint64 bytes = value_size(type);
    values << value_text(type, p + offset, bytes, encoding);
    offset += bytes;
  }
  while (values.size() < columns) values << QString();
  return values;
}

struct Cell {
  qint64 rowid = 0;
  QByteArray payload;
  quint32 size = 0;  // bytes the cell takes on its page
};

// Reads the tables of one file: the schema table, then the table "FileName".
class TreeReader {
 public:
  TreeReader(const Pages& pages, int columns) : pages_(pages), columns_(columns) {}

  void walk(quint32 n, qint64 first, qint64 last, int depth = 0);
  // The leaves that no walk reached and that are not free: the records they hold that may
  // be missing and are not found yet.
  void search_unreached(const std::set<quint32>& free);

  std::map<qint64, QStringList> found;
  std::vector<RowidRange> lost;
  std::set<quint32> reached;
  int damaged = 0;

 private:
  void lose(qint64 first, qint64 last) {
    ++damaged;
    if (first <= last) lost.push_back({first, last});
  }
  bool may_be_missing(qint64 id) const {
    return std::any_of(lost.cbegin(), lost.cend(), [id](const RowidRange& range) { return range.contains(id); });
  }
  // A leaf in the tree, or (in_tree false) one no walk reached, of which only the records
  // that may be missing are taken.
  void leaf(const uchar* page, quint32 header, qint64 first, qint64 last, bool in_tree);
  void interior(const uchar* page, quint32 header, qint64 first, qint64 last, int depth);
  std::optional<Cell> leaf_cell(const uchar* page, quint32 offset);
  // The bytes the free blocks of a page hold; nullopt when their chain is broken.
  std::optional<quint32> free_blocks(const uchar* page, quint32 header, quint32 start) const;

  const Pages& pages_;
  int columns_;
};

std::optional<quint32> TreeReader::free_blocks(const uchar* page, quint32 header, quint32 start) const {
  const quint32 usable = pages_.layout().usable;
  quint32 total = 0;
  quint32 at = be16(page + header + 1);
  quint32 previous = 0;
  while (at != 0) {
    if (at < start || at <= previous || at + 4 > usable) return std::nullopt;
    const quint32 size = be16(page + at + 2);
    if (size < 4 || at + size > usable) return std::nullopt;
    total += size;
    previous = at + size - 1;
    at = be16(page + at);
  }
  return total;
}

std::optional<Cell> TreeReader::leaf_cell(const uchar* page, quint32 offset) {
  const quint32 usable = pages_.layout().usable;
  const uchar* end = page + usable;
  quint64 payloadSize = 0;
  quint64 rowid = 0;
  int length_a = 0;
  int length_b = 0;
  if (offset >= usable || !read_varint(page + offset, end, &payloadSize, &length_a) ||
      !read_varint(page + offset + length_a, end, &rowid, &length_b)) {
    return std::nullopt;
  }
  const quint64 max_local = usable - 35;
  const quint64 min_local = ((usable - 12) * 32 / 255) - 23;
  quint64 local = payloadSize;
  if (payloadSize > max_local) {
    const quint64 spill = min_local + (payloadSize - min_local) % (usable - 4);
    local = spill <= max_local ? spill : min_local;
  }
  const quint64 header = quint64(length_a + length_b);
  const quint64 size = header + local + (payloadSize > local ? 4 : 0);
  if (offset + size > usable || payloadSize > quint64(pages_.layout().pages) * usable) return std::nullopt;
  Cell cell;
  cell.rowid = static_cast<qint64>(rowid);
  cell.size = static_cast<quint32>(std::max<quint64>(size, 4));
  cell.payload.reserve(qsizetype(payloadSize));
  cell.payload.append(reinterpret_cast<const char*>(page + offset + header), qsizetype(local));
  quint64 remaining = payloadSize - local;
  quint32 next = remaining > 0 ? be32(page + offset + header + local) : 0;
  std::set<quint32> chain;
  while (remaining > 0) {
    const uchar* overflow = pages_.page(next);
    if (overflow == nullptr || !chain.insert(next).second) return std::nullopt;
    const quint64 take = std::min<quint64>(remaining, usable - 4);
    cell.payload.append(reinterpret_cast<const char*>(overflow + 4), qsizetype(take));
    remaining -= take;
    next = be32(overflow);
  }
  reached.insert(chain.cbegin(), chain.cend());
  return cell;
}

void TreeReader::walk(quint32 n, qint64 first, qint64 last, int depth) {
  const uchar* page = pages_.page(n);
  if (page == nullptr || depth > kMaxDepth || !reached.insert(n).second) {
    lose(first, last);
    return;
  }
  const quint32 header = n == 1 ? 100 : 0;
  if (page[header] == kLeafTable) {
    leaf(page, header, first, last, true);
  } else if (page[header] == kInteriorTable) {
    interior(page, header, first, last, depth);
  } else {
    lose(first, last);
  }
}

void TreeReader::leaf(const uchar* page, quint32 header, qint64 first, qint64 last, bool in_tree) {
  const quint32 usable = pages_.layout().usable;
  quint32 cells = be16(page + header + 3);
  const quint32 start = content_start(page + header);
  bool whole = true;
  if (header + 8 + 2 * cells > usable) {
    whole = false;
    cells = (usable - header - 8) / 2;
  }
  const quint32 pointers_end = header + 8 + 2 * cells;
  quint64 cell_bytes = 0;
  std::optional<qint64> previous;
  for (quint32 i = 0; i < cells; ++i) {
    const quint32 offset = be16(page + header + 8 + 2 * i);
    const std::optional<Cell> cell = offset < pointers_end ? std::nullopt : leaf_cell(page, offset);
    const std::optional<QStringList> values =
        cell ? decode_record(cell->payload, columns_, pages_.layout().encoding, !in_tree) : std::nullopt;
    if (!values) {
      whole = false;
      continue;
    }
    const qint64 id = cell->rowid;
    if (id < first || id > last || (previous && id <= *previous)) whole = false;
    previous = id;
    cell_bytes += cell->size;
    if (in_tree || (may_be_missing(id) && !found.count(id))) found.emplace(id, *values);
  }
  if (!in_tree) return;
  const std::optional<quint32> free = free_blocks(page, header, start);
  if (!whole || start < pointers_end || start > usable || !free ||
      quint64(usable - start) != cell_bytes + *free + page[header + 7]) {
    lose(first, last);
  }
}

void TreeReader::interior(const uchar* page, quint32 header, qint64 first, qint64 last, int depth) {
  const quint32 usable = pages_.layout().usable;
  const quint32 cells = be16(page + header + 3);
  const quint32 start = content_start(page + header);
  const quint32 pointers_end = header + 12 + 2 * cells;
  bool whole = pointers_end <= usable;
  std::vector<std::pair<quint32, qint64>> children;  // child page, largest rowid under it
  quint64 cell_bytes = 0;
  for (quint32 i = 0; whole && i < cells; ++i) {
    const quint32 offset = be16(page + header + 12 + 2 * i);
    quint64 key = 0;
    int length = 0;
    if (offset < pointers_end || offset + 4 >= usable || !read_varint(page + offset + 4, page + usable, &key, &length)) {
      whole = false;
      break;
    }
    const auto id = static_cast<qint64>(key);
    if (id < first || id > last || (!children.empty() && id <= children.back().second)) whole = false;
    children.emplace_back(be32(page + offset), id);
    cell_bytes += std::max(4 + length, 4);
  }
  const std::optional<quint32> free = whole ? free_blocks(page, header, start) : std::nullopt;
  if (!whole || start < pointers_end || start > usable || !free ||
      quint64(usable - start) != cell_bytes + *free + page[header + 7]) {
    // The bounds of the children are unknown: all of this part may be missing, and what
    // each child still holds is read without them.
    lose(first, last);
    for (const auto& child : children) walk(child.first, kLowest, kHighest, depth + 1);
    if (pointers_end <= usable) walk(be32(page + header + 8), kLowest, kHighest, depth + 1);
    return;
  }
  qint64 lower = first;
  bool more = true;
  for (const auto& [child, key] : children) {
    walk(child, lower, key, depth + 1);
    more = key < last;
    lower = more ? key + 1 : key;
  }
  if (more) walk(be32(page + header + 8), lower, last, depth + 1);
}

void TreeReader::search_unreached(const std::set<quint32>& free) {
  for (quint32 n = 2; n <= pages_.layout().pages; ++n) {
    const uchar* page = pages_.page(n);
    if (reached.count(n) != 0 || free.count(n) != 0 || page[0] != kLeafTable) continue;
    leaf(page, 0, kLowest, kHighest, false);
  }
}

// The pages of the free list, as far as its chain can be followed.
std::set<quint32> free_pages(const Pages& pages) {
  std::set<quint32> free;
  const quint32 per_trunk = pages.layout().usable / 4 - 2;
  for (quint32 trunk = pages.layout().freelist_trunk; trunk != 0;) {
    const uchar* page = pages.page(trunk);
    if (page == nullptr || !free.insert(trunk).second) break;
    const quint32 count = std::min(be32(page + 4), per_trunk);
    for (quint32 i = 0; i < count; ++i) free.insert(be32(page + 8 + 4 * i));
    trunk = be32(page);
  }
  return free;
}

// The names of the columns a CREATE TABLE statement defines, in order: the first word of
// each definition between the outer brackets, up to the table's own constraints.
QStringList column_names(const QString& sql) {
  QStringList names;
  qsizetype at = sql.indexOf(QLatin1Char('('));
  if (at < 0) return names;
  const qsizetype size = sql.size();
  while (at < size && sql[at] != QLatin1Char(')')) {
    ++at;  // past "(" or ","
    while (at < size && sql[at].isSpace()) ++at;
    if (at >= size) break;
    QString name;
    const QChar open = sql[at];
    const QChar close = open == QLatin1Char('[') ? QLatin1Char(']') : open;
    if (open == QLatin1Char('"') || open == QLatin1Char('`') || open == QLatin1Char('[') || open == QLatin1Char('\'')) {
      for (++at; at < size; ++at) {
        if (sql[at] == close) {
          if (close != QLatin1Char(']') && at + 1 < size && sql[at + 1] == close) {
            name += close;
            ++at;
            continue;
          }
          ++at;
          break;
        }
        name += sql[at];
      }
    } else {
      while (at < size && !sql[at].isSpace() && sql[at] != QLatin1Char(',') && sql[at] != QLatin1Char('(') &&
             sql[at] != QLatin1Char(')')) {
        name += sql[at++];
      }
      static const QStringList kConstraints{QStringLiteral("CONSTRAINT"), QStringLiteral("PRIMARY"),
                                            QStringLiteral("UNIQUE"), QStringLiteral("CHECK"),
                                            QStringLiteral("FOREIGN")};
      if (kConstraints.contains(name.toUpper())) break;
    }
    names << name;
    // On to the comma that ends this definition, past brackets and quoted text within it.
    int depth = 0;
    QChar quote;
    for (; at < size; ++at) {
      const QChar c = sql[at];
      if (!quote.isNull()) {
        if (c == quote) quote = QChar();
      } else if (c == QLatin1Char('"') || c == QLatin1Char('\'') || c == QLatin1Char('`')) {
        quote = c;
      } else if (c == QLatin1Char('(')) {
        ++depth;
      } else if (c == QLatin1Char(')')) {
        if (depth == 0) break;
        --depth;
      } else if (c == QLatin1Char(',') && depth == 0) {
        break;
      }
    }
  }
  return names;
}

// The root page of the table "FileName" as the schema table names it, when the table has
// exactly the fields wanted; 0 otherwise (a table of another kind holds no records wanted).
quint32 table_root(const Pages& pages, const QStringList& fields, std::set<quint32>* reached) {
  TreeReader schema(pages, kSchemaColumns);
  schema.walk(1, kLowest, kHighest);
  reached->insert(schema.reached.cbegin(), schema.reached.cend());
  for (const auto& [id, values] : schema.found) {
    if (values[0] == QLatin1String("table") && values[1].compare(QLatin1String("FileName"), Qt::CaseInsensitive) == 0) {
      bool ok = false;
      const quint32 root = values[3].toUInt(&ok);
      if (ok && pages.page(root) != nullptr && column_names(values[4]) == fields) return root;
    }
  }
  return 0;
}

std::vector<RowidRange> coalesced(std::vector<RowidRange> ranges) {
  std::sort(ranges.begin(), ranges.end(), [](const RowidRange& a, const RowidRange& b) { return a.first < b.first; });
  std::vector<RowidRange> result;
  for (const RowidRange& range : ranges) {
    if (!result.empty() && (result.back().last == kHighest || range.first <= result.back().last + 1)) {
      result.back().last = std::max(result.back().last, range.last);
    } else {
      result.push_back(range);
    }
  }
  return result;
}

}  // namespace

bool Salvage::may_be_missing(qint64 id) const {
  return std::any_of(lost.cbegin(), lost.cend(), [id](const RowidRange& range) { return range.contains(id); });
}

Salvage read_pages(const QByteArray& bytes, const Schema& schema) {
  Salvage salvage;
  const std::optional<Layout> from_header = layout_from_header(bytes);
  const Layout layout = from_header ? *from_header : probe_layout(bytes);
  const Pages pages(bytes, layout);
  TreeReader table(pages, static_cast<int>(schema.fields.size()));
  if (layout.pages == 0) {
    salvage.lost.push_back({kLowest, kHighest});
    return salvage;
  }
  std::set<quint32> schema_pages;
  const quint32 root = table_root(pages, schema.names(), &schema_pages);
  table.reached = schema_pages;
  salvage.table_found = root != 0;
  if (root != 0) {
    table.walk(root, kLowest, kHighest);
  } else {
    table.lost.push_back({kLowest, kHighest});
  }
  table.lost = coalesced(std::move(table.lost));
  if (!table.lost.empty()) table.search_unreached(from_header ? free_pages(pages) : std::set<quint32>());

  auto fields = std::make_shared<const QStringList>(schema.names());
  salvage.records.reserve(table.found.size());
  for (auto& [id, values] : table.found) salvage.records.emplace_back(id, fields, std::move(values));
  salvage.lost = std::move(table.lost);
  salvage.damaged_pages = table.damaged;
  return salvage;
}

}  // namespace tavuro::store
