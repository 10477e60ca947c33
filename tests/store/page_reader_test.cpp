#include "store/page_reader.h"
#include "store/recovery.h"

#include "support/shop_fixture.h"

#include <gtest/gtest.h>
#include <QFile>

#include <sqlite3.h>

#include <map>

namespace tavuro::store {
namespace {

using testing::read_bytes;
using testing::write_bytes;

constexpr int kPage = 4096;

QString goods_of(int i) {
  return QStringLiteral("商品%1").arg(i) + QString(i % 7, QChar(0x8336));
}

FieldValues sale(int i) {
  return {{day::kGoods, goods_of(i)},
          {day::kQuantity, QStringLiteral("1.00")},
          {day::kAmount, QString::number(i) + QStringLiteral(".50")},
          {day::kTime, QStringLiteral("09:%1:00").arg(i % 60, 2, 10, QLatin1Char('0'))},
          {day::kReceiptNo, QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0'))}};
}

// The records as SQLite reads them: rowid → fields.
std::map<qint64, QStringList> as_read(const QString& path) {
  std::map<qint64, QStringList> all;
  for (const Record& record : DataFile::open(path).records()) all[record.id()] = record.values();
  return all;
}

std::map<qint64, QStringList> as_salvaged(const Salvage& salvage) {
  std::map<qint64, QStringList> all;
  for (const Record& record : salvage.records) all[record.id()] = record.values();
  return all;
}

class PageReader : public ::testing::Test {
 protected:
  void SetUp() override {
    DataFile::create(day, day_schema());
    std::vector<FieldValues> rows;
    for (int i = 1; i <= 300; ++i) rows.push_back(sale(i));
    DataFile::open(day).append_all(rows);
    original = as_read(day);
    ASSERT_GT(read_bytes(day).size(), 6 * kPage) << "the table needs a tree of several pages";
  }
  Salvage read() const { return read_pages(read_bytes(day), day_schema()); }
  void overwrite(qsizetype offset, qsizetype size, char with = '\xa5') {
    QByteArray bytes = read_bytes(day);
    bytes.replace(offset, size, QByteArray(size, with));
    write_bytes(day, bytes);
  }
  // What the reader found is what the file held, and what it missed lies in a lost range.
  void expect_found_or_lost(const Salvage& salvage) const {
    const auto found = as_salvaged(salvage);
    for (const auto& [id, values] : original) {
      const auto at = found.find(id);
      if (at == found.end()) {
        EXPECT_TRUE(salvage.may_be_missing(id)) << "record " << id << " lost without a word";
      } else {
        EXPECT_EQ(at->second, values) << "record " << id;
      }
    }
    for (const auto& [id, values] : found) EXPECT_TRUE(original.count(id)) << "record " << id << " made up";
  }

  QTemporaryDir dir;
  const QString day = dir.filePath(QStringLiteral("7.day"));
  std::map<qint64, QStringList> original;
};

TEST_F(PageReader, AWholeFileReadsAsSQLiteReadsIt) {
  Salvage salvage = read();
  EXPECT_TRUE(salvage.table_found);
  EXPECT_TRUE(salvage.is_whole());
  EXPECT_EQ(salvage.damaged_pages, 0);
  EXPECT_EQ(as_salvaged(salvage), original);

  // Deleted records leave free blocks on their pages and free pages in the file: none of
  // them comes back, and the table still reads whole.
  {
    DataFile file = DataFile::open(day);
    for (qint64 id = 1; id <= 300; ++id) {
      if (id % 3 == 0 || (id > 100 && id < 200)) file.remove(id);
    }
  }
  salvage = read();
  EXPECT_TRUE(salvage.is_whole());
  EXPECT_EQ(as_salvaged(salvage), as_read(day));

  // Values that spill into overflow pages, and values longer than their fields allow.
  const auto fields = std::make_shared<const QStringList>(day_schema().names());
  QStringList long_values(9, QString(3000, QChar(0x53ef)));
  long_values[1] = QStringLiteral("1.00");
  DataFile::create(day, day_schema(), {Record(7, fields, long_values), Record(1000, fields, QStringList(9, QString()))});
  salvage = read();
  EXPECT_TRUE(salvage.is_whole());
  EXPECT_EQ(as_salvaged(salvage), as_read(day));
  EXPECT_EQ(as_read(day).at(7), long_values);
}

TEST_F(PageReader, FilesOfEveryPageSizeAndTextEncodingRead) {
  const QString sql = [this] {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(day).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT sql FROM sqlite_schema WHERE name = 'FileName'", -1, &stmt, nullptr);
    sqlite3_step(stmt);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return text;
  }();
  for (const char* settings : {"PRAGMA page_size=512", "PRAGMA page_size=65536", "PRAGMA encoding='UTF-16le'",
                               "PRAGMA encoding='UTF-16be'; PRAGMA page_size=1024"}) {
    SCOPED_TRACE(settings);
    const QString other = dir.filePath(QStringLiteral("other.day"));
    QFile::remove(other);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(other).constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, settings, nullptr, nullptr, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "INSERT INTO FileName VALUES (?,?,?,?,?,?,?,?,?)", -1, &insert, nullptr),
              SQLITE_OK);
    for (const auto& [id, values] : original) {
      for (int i = 0; i < 9; ++i) {
        const QByteArray text = values[i].toUtf8();
        sqlite3_bind_text(insert, i + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
      }
      ASSERT_EQ(sqlite3_step(insert), SQLITE_DONE);
      sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    const Salvage salvage = read_pages(read_bytes(other), day_schema());
    EXPECT_TRUE(salvage.is_whole());
    EXPECT_EQ(as_salvaged(salvage), as_read(other));
    EXPECT_EQ(salvage.records.size(), original.size());
  }
}

TEST_F(PageReader, RecordsWrittenBeforeAFieldWasAddedReadAsSQLiteReadsThem) {
  // A table that got its last field later: the records written before have one field less.
  const QString older = dir.filePath(QStringLiteral("older.day"));
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(QFile::encodeName(older).constData(), &db), SQLITE_OK);
  const char* steps[] = {
      "CREATE TABLE \"FileName\" (\"商品\" TEXT, \"数量\" TEXT, \"单价\" TEXT, \"金额\" TEXT, \"操作编号\" TEXT, "
      "\"时间\" TEXT, \"识别码\" TEXT, \"固定客户\" TEXT)",
      "INSERT INTO FileName VALUES ('可乐', '1.00', '2.50', '2.50', '001', '09:00:00', '', '散客')",
      "ALTER TABLE FileName ADD COLUMN \"单号\" TEXT CHECK(length(\"单号\") <= 50)",
      "INSERT INTO FileName VALUES ('茶', '1.00', '1.00', '1.00', '001', '09:00:01', '', '散客', '000002')"};
  for (const char* step : steps) ASSERT_EQ(sqlite3_exec(db, step, nullptr, nullptr, nullptr), SQLITE_OK) << step;
  sqlite3_close(db);
  const Salvage salvage = read_pages(read_bytes(older), day_schema());
  EXPECT_TRUE(salvage.is_whole());
  EXPECT_EQ(as_salvaged(salvage), as_read(older));
  EXPECT_EQ(salvage.records.size(), 2u);
}

TEST_F(PageReader, ADamagedLeafLosesOnlyTheRecordsItHeld) {
  overwrite(4 * kPage, kPage);  // a leaf in the middle of the table
  const Salvage salvage = read();
  EXPECT_FALSE(salvage.is_whole());
  EXPECT_EQ(salvage.damaged_pages, 1);
  expect_found_or_lost(salvage);
  // The bounds come from the page above the leaf: only the leaf's own rowids are lost.
  ASSERT_EQ(salvage.lost.size(), 1u);
  const qint64 lost_count = salvage.lost[0].last - salvage.lost[0].first + 1;
  EXPECT_GT(lost_count, 0);
  EXPECT_LT(lost_count, 100);
  EXPECT_EQ(qint64(salvage.records.size()), 300 - lost_count);

  // One changed byte that leaves every record readable still shows: the page no longer
  // adds up (here its count of records drops by one).
  SetUp();
  QByteArray bytes = read_bytes(day);
  bytes[4 * kPage + 4] = char(bytes[4 * kPage + 4] - 1);
  write_bytes(day, bytes);
  const Salvage one_less = read();
  EXPECT_FALSE(one_less.is_whole());
  expect_found_or_lost(one_less);
}

TEST_F(PageReader, AGoneHeaderOrTreeStillYieldsEveryRecord) {
  overwrite(0, 100);  // the database header
  Salvage salvage = read();
  EXPECT_TRUE(salvage.table_found);
  EXPECT_EQ(as_salvaged(salvage), original);

  // The root of the table: its leaves are found among the pages no read reached.
  SetUp();
  overwrite(kPage, kPage);
  salvage = read();
  EXPECT_FALSE(salvage.is_whole());
  EXPECT_TRUE(salvage.may_be_missing(1) && salvage.may_be_missing(300));
  EXPECT_EQ(as_salvaged(salvage), original);

  // The schema too: nothing says where the table is, and every leaf is still found.
  overwrite(0, 2 * kPage);
  salvage = read();
  EXPECT_FALSE(salvage.table_found);
  EXPECT_EQ(as_salvaged(salvage), original);
}

TEST_F(PageReader, ACutFileYieldsThePagesItStillHas) {
  const QByteArray bytes = read_bytes(day);
  for (const qsizetype size :
       {qsizetype(0), qsizetype(50), qsizetype(kPage + 10), bytes.size() / 2, bytes.size() - kPage, bytes.size() - 1}) {
    SCOPED_TRACE(size);
    write_bytes(day, bytes.left(size));
    const Salvage salvage = read();
    EXPECT_FALSE(salvage.is_whole());
    expect_found_or_lost(salvage);
    if (size == bytes.size() - 1) {
      EXPECT_GT(salvage.records.size(), 250u);
    }
  }
  write_bytes(day, bytes + QByteArray(10, 'x'));  // bytes after the last page are no damage
  EXPECT_TRUE(read().is_whole());
}

TEST_F(PageReader, ATableOfAnotherKindHoldsNothingWanted) {
  const Salvage salvage = read_pages(read_bytes(day), shop_schema());
  EXPECT_TRUE(salvage.records.empty());
  EXPECT_FALSE(salvage.table_found);
  EXPECT_TRUE(salvage.may_be_missing(1));

  // An empty table of another kind is not an empty day: all of the day may be missing.
  const QString shop = dir.filePath(QStringLiteral("shop.dat"));
  DataFile::create(shop, shop_schema());
  EXPECT_FALSE(read_pages(read_bytes(shop), day_schema()).is_whole());
  for (const QByteArray& junk : {QByteArray(), QByteArray("SQLite format 3"), QByteArray(3 * kPage, '\0')}) {
    EXPECT_FALSE(read_pages(junk, day_schema()).is_whole());
  }
}

TEST(MergeRecords, TheFileWinsAndTheBackupFillsOnlyWhatTheFileLost) {
  const auto fields = std::make_shared<const QStringList>(QStringList{shop::kGoods, shop::kPrice, shop::kCode});
  const auto record = [&](qint64 id, const QString& price) {
    return Record(id, fields, {QStringLiteral("货%1").arg(id), price, QString()});
  };
  Salvage file;
  file.records = {record(1, QStringLiteral("9.99")), record(4, QStringLiteral("1.00")),
                  record(9, QStringLiteral("1.00"))};
  file.lost = {{5, 8}};
  Salvage backup;
  backup.records = {record(1, QStringLiteral("1.00")), record(2, QStringLiteral("1.00")),
                    record(6, QStringLiteral("1.00")), record(7, QStringLiteral("1.00"))};
  const Merged merged = merge_records(file, backup);
  QStringList seen;
  for (const Record& r : merged.records) seen << QStringLiteral("%1=%2").arg(r.id()).arg(r.values()[1]);
  // 1: changed since the backup; 2: deleted since (the file read whole there); 6, 7: lost.
  EXPECT_EQ(seen, (QStringList{QStringLiteral("1=9.99"), QStringLiteral("4=1.00"), QStringLiteral("6=1.00"),
                               QStringLiteral("7=1.00"), QStringLiteral("9=1.00")}));
  EXPECT_EQ(merged.from_backup, 2);
}

}  // namespace
}  // namespace tavuro::store
