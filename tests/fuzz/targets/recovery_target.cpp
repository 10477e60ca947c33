#include "fuzz_support.h"
#include "fuzz_targets.h"

#include "cashier/day_records.h"
#include "cashier/sale_record.h"
#include "platform/file_ops.h"
#include "query/query_engine.h"
#include "reports/report_sums.h"
#include "sales/labels.h"
#include "store/data_file.h"
#include "store/guarded.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <map>
#include <optional>

namespace tavuro::fuzz {

namespace {

using Records = std::map<qint64, QStringList>;

// The records SQLite reads from a copy of path, when it reads them all.
std::optional<Records> sqlite_reads(const QString& path) {
  const QString copy = path + QStringLiteral(".judged");
  QFile::remove(copy);
  QFile::remove(copy + QStringLiteral("-journal"));
  if (!QFile::copy(path, copy)) return std::nullopt;
  std::optional<Records> all;
  try {
    const store::DataFile file = store::DataFile::open(copy, store::day_schema());
    Records records;
    for (const store::Record& record : file.records()) records[record.id()] = record.values();
    if (file.record_count() == int(records.size())) all = std::move(records);
  } catch (const store::StoreError&) {
  }
  QFile::remove(copy);
  QFile::remove(copy + QStringLiteral("-journal"));
  return all;
}

bool whole(const QString& path) {
  try {
    return store::DataFile::open(path, store::day_schema()).is_intact();
  } catch (const store::StoreError&) {
    return false;
  }
}

// Whether bytes lie at path or in one of its damaged copies.
bool kept(const QString& path, const QByteArray& bytes) {
  const QDir dir(scratch_dir());
  const QString name = QFileInfo(path).fileName();
  QStringList candidates{name};
  candidates << dir.entryList({name + QStringLiteral("*.bad")}, QDir::Files);
  for (const QString& candidate : candidates) {
    bool ok = false;
    if (platform::read_whole_file(dir.filePath(candidate), &ok) == bytes && ok) return true;
  }
  return false;
}

}  // namespace

int recovery(const uint8_t* data, size_t size) {
  // Two bytes say where the day file ends and its backup begins.
  const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const qsizetype rest = std::max<qsizetype>(input.size() - 2, 0);
  const quint64 share =
      input.size() < 2 ? 0
                       : (static_cast<quint64>(static_cast<uchar>(input.at(0))) << 8) | static_cast<uchar>(input.at(1));
  const auto split = static_cast<qsizetype>(share * static_cast<quint64>(rest) / 65535);
  const QByteArray day_bytes = input.mid(2, split);
  const QByteArray backup_bytes = input.mid(2 + split);

  const QDir dir(scratch_dir());
  for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) QFile::remove(dir.filePath(name));
  startup::Paths paths;
  paths.day_file = dir.filePath(QStringLiteral("7.day"));
  paths.day_backup = dir.filePath(QStringLiteral("7.bak"));
  require(platform::write_file_atomic(paths.day_file, day_bytes), "scratch file written", paths.day_file);
  require(platform::write_file_atomic(paths.day_backup, backup_bytes), "scratch file written", paths.day_backup);
  const std::optional<Records> day_records = sqlite_reads(paths.day_file);
  const bool day_whole = whole(paths.day_file);
  const bool backup_whole = whole(paths.day_backup);

  SilentDialogs dialogs;
  platform::ScopedDialogs scope(dialogs);
  // Start-up's read of today's list, a sale line, the day report, the query.
  store::work_on_file(QStringLiteral("read_myfile"), paths.day_file, paths.day_backup,
                      [&] { cashier::all_day_lines(paths.day_file); });
  const cashier::SaleRecord line{{QStringLiteral("可乐"), QStringLiteral("1.00"), QStringLiteral("2.50"),
                                  QStringLiteral("2.50"), QStringLiteral("001"), QStringLiteral("15:05:09")},
                                 QString(),
                                 QStringLiteral("000999")};
  const bool saved = cashier::save_line(paths, line).has_value();
  reports::sum_day_file(paths.day_file, {QStringLiteral("可乐")}, {QStringLiteral("001")});
  query::query_files({paths.day_file}, {{store::day::kGoods, sales::kAllEntry},
                                       {store::day::kOperator, sales::kAllEntry},
                                       {store::day::kCustomer, sales::kAllEntry}});

  const QString shown = QString::fromLatin1(input.toBase64());
  // The damaged bytes are kept somewhere: in place, or beside as a damaged copy.
  if (!day_whole) require(kept(paths.day_file, day_bytes), "the damaged day file's bytes are kept", shown);
  if (!backup_whole && !day_whole) {
    require(kept(paths.day_backup, backup_bytes) || !QFile::exists(paths.day_file + QStringLiteral(".bad")),
            "a damaged backup used by a recovery is kept", shown);
  }
  const std::optional<Records> after = sqlite_reads(paths.day_file);
  // No record of a file SQLite reads whole is lost: same id, same fields.
  if (day_records && after) {
    for (const auto& [id, values] : *day_records) {
      const auto at = after->find(id);
      require(at != after->end() && at->second == values, "every record of a readable day file is kept", shown);
    }
  }
  require(!day_records || after, "a readable day file stays readable", shown);
  if (saved) {
    // The line is in the day file, the day file is whole, and the backup is its copy.
    require(after && std::any_of(after->cbegin(), after->cend(),
                                 [&](const auto& record) { return record.second.contains(line.receipt); }),
            "the line saved is in the day file", shown);
    require(whole(paths.day_file), "a day file written is whole", shown);
    bool ok = false;
    require(platform::read_whole_file(paths.day_file, &ok) == platform::read_whole_file(paths.day_backup, &ok),
            "the backup is up to date after a line is saved", shown);
  }
  return 0;
}

}  // namespace tavuro::fuzz
