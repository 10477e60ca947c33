#include "store/data_file.h"

#include "support/killed_child.h"
#include "support/shop_fixture.h"
#include "support/waiting.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>
#include <csignal>
#include <random>

namespace tavuro::store {
namespace {

using testing::read_bytes;
using testing::write_bytes;

class DataFileTest : public ::testing::Test {
 protected:
  QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
  QString make_day(const char* name = "7.day") {
    DataFile::create(path(name), day_schema());
    return path(name);
  }
  QTemporaryDir dir;
};

TEST_F(DataFileTest, CreatesTheTableWithTheFieldsInOrder) {
  const QString day = make_day();
  EXPECT_EQ(DataFile::open(day).fields(),
            (QStringList{QStringLiteral("商品"), QStringLiteral("数量"), QStringLiteral("单价"), QStringLiteral("金额"),
                         QStringLiteral("操作编号"), QStringLiteral("时间"), QStringLiteral("识别码"),
                         QStringLiteral("固定客户"), QStringLiteral("单号")}));
  DataFile::create(path("shop.dat"), shop_schema());
  EXPECT_EQ(DataFile::open(path("shop.dat")).fields(),
            (QStringList{QStringLiteral("商品"), QStringLiteral("单价"), QStringLiteral("编码")}));
  DataFile::create(path("use.dat"), name_list_schema());
  EXPECT_EQ(DataFile::open(path("use.dat")).fields(), QStringList{QStringLiteral("名单")});
  EXPECT_FALSE(QFile::exists(path("7.day.tmp~")));
}

TEST_F(DataFileTest, TheSqliteToolSeesTheTableAndTheChineseTextExactly) {
  const QString day = make_day();
  DataFile::open(day).append({{day::kGoods, QStringLiteral("矿泉水（大）")}, {day::kAmount, QStringLiteral("3.50")}});
  QProcess sqlite;
  sqlite.start(QStringLiteral("sqlite3"),
               {day, QStringLiteral(".schema"), QStringLiteral("SELECT 商品 FROM FileName")});
  if (!sqlite.waitForStarted()) GTEST_SKIP() << "sqlite3 tool not installed";
  ASSERT_TRUE(sqlite.waitForFinished(static_cast<int>(testing::kPatience.count())));
  const QString out = QString::fromUtf8(sqlite.readAllStandardOutput());
  EXPECT_TRUE(out.contains(QStringLiteral("CREATE TABLE"))) << out.toStdString();
  EXPECT_TRUE(out.contains(QStringLiteral("\"FileName\" (\"商品\" TEXT"))) << out.toStdString();
  EXPECT_TRUE(out.contains(QStringLiteral("\"单号\" TEXT"))) << out.toStdString();
  EXPECT_TRUE(out.contains(QStringLiteral("矿泉水（大）"))) << out.toStdString();
}

TEST_F(DataFileTest, RecordsComeBackInInsertionOrderAcrossDeletionsAndEdits) {
  DataFile file = DataFile::open(make_day());
  EXPECT_EQ(file.record_count(), 0);
  QList<qint64> ids;
  for (const char* name : {"a", "b", "c", "d"}) ids << file.append({{day::kGoods, QString::fromUtf8(name)}});
  file.remove(ids[3]);  // the last one: a new record must still come after the others
  file.remove(ids[1]);
  file.update(ids[0], {{day::kGoods, QStringLiteral("A")}, {day::kTime, QStringLiteral("09:00:00")}});
  file.append({{day::kGoods, QStringLiteral("e")}});
  QStringList names;
  for (const Record& record : file.records({day::kGoods})) names << record.value(day::kGoods);
  EXPECT_EQ(names, (QStringList{QStringLiteral("A"), QStringLiteral("c"), QStringLiteral("e")}));
  EXPECT_EQ(file.record_count(), 3);
  const Record first = file.records().front();
  EXPECT_EQ(first.value(day::kTime), QStringLiteral("09:00:00"));
  EXPECT_EQ(first.value(day::kCode), QString());  // never written: empty, not missing
}

TEST_F(DataFileTest, ChangesAreInTheFileWhenTheCallReturns) {
  const QString day = make_day();
  DataFile writer = DataFile::open(day);
  writer.append({{day::kGoods, QStringLiteral("可乐")}});
  // A second connection, as another procedure would open it, sees the record at once.
  EXPECT_EQ(DataFile::open(day).record_count(), 1);
  EXPECT_FALSE(QFile::exists(day + QStringLiteral("-journal")));
}

TEST_F(DataFileTest, AValueLongerThanItsFieldIsRefusedAndNothingIsWritten) {
  DataFile file = DataFile::open(make_day());
  EXPECT_NO_THROW(file.append({{day::kQuantity, QString(10, QLatin1Char('9'))}}));
  try {
    file.append({{day::kGoods, QStringLiteral("a")}, {day::kQuantity, QString(11, QLatin1Char('9'))}});
    FAIL() << "an 11-character quantity was accepted";
  } catch (const StoreError& error) {
    EXPECT_EQ(error.kind(), StoreError::Kind::ValueTooLong);
  }
  EXPECT_THROW(file.append({{day::kCustomer, QString(51, QChar(0x5BA2))}}), StoreError);
  EXPECT_NO_THROW(file.append({{day::kCustomer, QString(50, QChar(0x5BA2))}}));
  EXPECT_EQ(file.record_count(), 2);
  const qint64 id = file.records().front().id();
  EXPECT_THROW(file.update(id, {{day::kQuantity, QString(11, QLatin1Char('1'))}}), StoreError);
  EXPECT_EQ(file.records().front().value(day::kQuantity), QString(10, QLatin1Char('9')));
}

TEST_F(DataFileTest, ManyRecordsGoInAllOrNone) {
  DataFile file = DataFile::open(make_day());
  file.append_all({{{day::kGoods, QStringLiteral("a")}}, {{day::kGoods, QStringLiteral("b")}}});
  EXPECT_EQ(file.record_count(), 2);
  EXPECT_THROW(
      file.append_all({{{day::kGoods, QStringLiteral("c")}}, {{day::kQuantity, QString(11, QLatin1Char('1'))}}}),
      StoreError);
  EXPECT_EQ(file.record_count(), 2);
  EXPECT_EQ(DataFile::open(file.path()).record_count(), 2);
}

TEST_F(DataFileTest, ValuesAreBoundNeverPastedIntoSql) {
  DataFile file = DataFile::open(make_day());
  const QString hostile = QStringLiteral("x'); DROP TABLE \"FileName\"; --");
  file.append({{day::kGoods, hostile}});
  EXPECT_EQ(file.records().front().value(day::kGoods), hostile);
  EXPECT_EQ(DataFile::open(file.path()).record_count(), 1);
}

TEST_F(DataFileTest, UnknownFieldsAndRecordsAreErrors) {
  DataFile file = DataFile::open(make_day());
  EXPECT_THROW(file.records({QStringLiteral("名单")}), StoreError);
  EXPECT_THROW(file.append({{QStringLiteral("名单"), QStringLiteral("x")}}), StoreError);
  EXPECT_THROW(file.remove(42), StoreError);
  EXPECT_THROW(file.update(42, {{day::kGoods, QStringLiteral("x")}}), StoreError);
  const Record record = file.records().empty() ? Record(0, std::make_shared<QStringList>(), {}) : file.records()[0];
  EXPECT_THROW(record.value(day::kGoods), StoreError);
}

TEST_F(DataFileTest, AColumnIsOneFieldOfEveryRecordInStoredOrder) {
  DataFile file = DataFile::open(make_day());
  EXPECT_TRUE(file.column(day::kGoods).isEmpty());
  QList<qint64> ids;
  for (const char* goods : {"可乐", "", " 茶 ", "可乐", "x"}) {
    ids << file.append({{day::kGoods, QString::fromUtf8(goods)}, {day::kTime, QStringLiteral("09:00:00")}});
  }
  file.remove(ids[4]);
  file.update(ids[0], {{day::kGoods, QStringLiteral("雪碧")}});
  file.append({{day::kTime, QStringLiteral("10:00:00")}});
  // Values as stored: a repeated name comes twice, spaces stay, a field never set is empty.
  EXPECT_EQ(file.column(day::kGoods), (QStringList{QStringLiteral("雪碧"), QStringLiteral(""), QStringLiteral(" 茶 "),
                                                   QStringLiteral("可乐"), QStringLiteral("")}));
  EXPECT_EQ(file.column(day::kTime),
            (QStringList{QStringLiteral("09:00:00"), QStringLiteral("09:00:00"), QStringLiteral("09:00:00"),
                         QStringLiteral("09:00:00"), QStringLiteral("10:00:00")}));
  try {
    file.column(kNameField);
    FAIL() << "a field the table lacks gave a column";
  } catch (const StoreError& error) {
    EXPECT_EQ(error.kind(), StoreError::Kind::WrongSchema);
  }
}

TEST_F(DataFileTest, AWalkWithConditionsTakesOnlyExactlyEqualFields) {
  DataFile file = DataFile::open(make_day());
  for (const char* goods : {"Tea", "tea", "Tea ", "Tea", ""}) {
    file.append({{day::kGoods, QString::fromUtf8(goods)}, {day::kTime, QString::number(file.record_count())}});
  }
  auto times = [&file](const FieldValues& equal) {
    QStringList taken;
    file.walk_where({day::kTime}, equal, [&taken](const Record& r) {
      taken << r.value(day::kTime);
      return true;
    });
    return taken;
  };
  EXPECT_EQ(times({{day::kGoods, QStringLiteral("Tea")}}), (QStringList{QStringLiteral("0"), QStringLiteral("3")}));
  EXPECT_EQ(times({{day::kGoods, QStringLiteral("Tea")}, {day::kTime, QStringLiteral("3")}}),
            QStringList{QStringLiteral("3")});
  EXPECT_EQ(times({{day::kGoods, QString()}}), QStringList{QStringLiteral("4")});
  EXPECT_EQ(times({}).size(), 5);
  EXPECT_THROW(times({{QStringLiteral("名单"), QString()}}), StoreError);
}

TEST_F(DataFileTest, FindFirstStopsAtTheFirstMatch) {
  DataFile file = DataFile::open(make_day());
  file.append({{day::kGoods, QStringLiteral("茶")}, {day::kTime, QStringLiteral("1")}});
  file.append({{day::kGoods, QStringLiteral("茶")}, {day::kTime, QStringLiteral("2")}});
  const auto found = file.find_first({day::kGoods, day::kTime},
                                    [](const Record& r) { return r.value(day::kGoods) == QStringLiteral("茶"); });
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->value(day::kTime), QStringLiteral("1"));
  EXPECT_FALSE(file.find_first({}, [](const Record&) { return false; }).has_value());
}

StoreError::Kind open_error(const QString& path) {
  try {
    DataFile::open(path);
  } catch (const StoreError& error) {
    return error.kind();
  }
  ADD_FAILURE() << "opened " << path.toStdString();
  return StoreError::Kind::Io;
}

TEST_F(DataFileTest, OpeningNeverCreatesAMissingFile) {
  EXPECT_EQ(open_error(path("9.day")), StoreError::Kind::Missing);
  EXPECT_FALSE(QFile::exists(path("9.day")));
}

TEST_F(DataFileTest, EveryKindOfDamageIsFoundWhenOpening) {
  const QString good = make_day("good.day");
  {
    DataFile file = DataFile::open(good);
    for (int i = 0; i < 200; ++i) file.append({{day::kGoods, QString(40, QChar(0x53EF))}});
  }
  const QByteArray bytes = read_bytes(good);
  ASSERT_GT(bytes.size(), 8192);

  write_bytes(path("zero.day"), {});
  write_bytes(path("text.day"), "hello, this is no database\r\n");
  QByteArray garbage = bytes;
  garbage.replace(0, 16, "garbage garbage!");
  write_bytes(path("header.day"), garbage);
  write_bytes(path("cut.day"), bytes.left(bytes.size() / 2));
  write_bytes(path("odd.day"), bytes.left(bytes.size() - 100));
  QDir(dir.path()).mkdir(QStringLiteral("dir.day"));
  // A database without the table, as an empty SQLite file made by another tool.
  {
    QProcess sqlite;
    sqlite.start(QStringLiteral("sqlite3"), {path("other.day"), QStringLiteral("CREATE TABLE t(x)")});
    sqlite.waitForFinished(static_cast<int>(testing::kPatience.count()));
  }
  for (const char* name : {"zero.day", "text.day", "header.day", "cut.day", "odd.day", "dir.day"}) {
    EXPECT_EQ(open_error(path(name)), StoreError::Kind::Damaged) << name;
  }
  if (QFile::exists(path("other.day"))) {
    EXPECT_EQ(open_error(path("other.day")), StoreError::Kind::Damaged);
  }
  EXPECT_EQ(read_bytes(path("zero.day")).size(), 0) << "opening must not write into a damaged file";
}

TEST_F(DataFileTest, ADifferentDataFileUnderTheNameLacksTheFields) {
  DataFile::create(path("7.day"), shop_schema());
  DataFile file = DataFile::open(path("7.day"));
  EXPECT_FALSE(file.has_field(day::kAmount));
  try {
    file.records({day::kGoods, day::kAmount});
    FAIL();
  } catch (const StoreError& error) {
    EXPECT_EQ(error.kind(), StoreError::Kind::WrongSchema);
    EXPECT_TRUE(error.is_damage());
  }
}

TEST_F(DataFileTest, AFileOfAKnownKindMustHaveExactlyItsFields) {
  // A day file has the goods and price fields of a catalogue, but is no catalogue.
  const QString day = make_day();
  EXPECT_NO_THROW(DataFile::open(day, day_schema()));
  try {
    DataFile::open(day, shop_schema());
    FAIL();
  } catch (const StoreError& error) {
    EXPECT_EQ(error.kind(), StoreError::Kind::WrongSchema);
    EXPECT_TRUE(error.is_damage());
  }
}

TEST_F(DataFileTest, ADamagedPageThatNoReadReachesIsFoundBeforeAChange) {
  const QString day = make_day();
  {
    DataFile file = DataFile::open(day);
    for (int i = 0; i < 300; ++i) file.append({{day::kGoods, QString(40, QChar(0x53EF))}});
  }
  // The first leaf of the table (page 3): appending reads only the root and the last leaf.
  QByteArray bytes = read_bytes(day);
  ASSERT_GT(bytes.size(), 8 * 4096);
  bytes.replace(2 * 4096, 8, QByteArray(8, '\xff'));
  write_bytes(day, bytes);

  const QByteArray damaged = read_bytes(day);
  EXPECT_FALSE(DataFile::open(day).is_intact());
  // A backup that differs (the last sound copy) does not spare the check.
  write_bytes(path("7.bak"), bytes.left(4096));
  try {
    DataFile::open_for_change(day, day_schema(), path("7.bak"));
    FAIL();
  } catch (const StoreError& error) {
    EXPECT_EQ(error.kind(), StoreError::Kind::Damaged);
  }
  EXPECT_EQ(read_bytes(day), damaged);
  // A file equal to its backup is as sound as the copy made after its last change: the
  // page-by-page check is left out (here both carry the same planted damage).
  write_bytes(path("7.bak"), damaged);
  EXPECT_NO_THROW(DataFile::open_for_change(day, day_schema(), path("7.bak")));
  EXPECT_NO_THROW(DataFile::open(day).append({{day::kGoods, QStringLiteral("茶")}}))
      << "the damage is out of a change's reach";
  EXPECT_TRUE(DataFile::open_for_change(make_day("8.day"), day_schema()).is_intact());
}

TEST_F(DataFileTest, ARecordThatDoesNotFitItsPageIsDamageNotAnEmptyRecord) {
  const QString day = make_day();
  {
    DataFile file = DataFile::open(day);
    for (int i = 0; i < 5; ++i) file.append({{day::kGoods, QStringLiteral("可乐")}});
  }
  // The table's one page (page 2) with its first record pointer aimed at the page start.
  QByteArray bytes = read_bytes(day);
  ASSERT_EQ(bytes.size(), 2 * 4096);
  bytes[4096 + 8] = 0;
  bytes[4096 + 9] = 0;
  write_bytes(day, bytes);
  try {
    DataFile::open(day, day_schema()).records();
    FAIL() << "read a record out of the page header";
  } catch (const StoreError& error) {
    EXPECT_EQ(error.kind(), StoreError::Kind::Damaged);
  }
}

// A child appends records and acknowledges each one after the append returned; it is
// killed at random moments. Afterwards the file opens and holds every acknowledged
// record exactly once, and its backup opens too.
TEST_F(DataFileTest, AKilledWriterLosesNoAcknowledgedRecord) {
  const QString day = make_day();
  const QString backup = path("7.bak");
  std::mt19937 random(20030507);
  int acknowledged = 0;
  for (int trial = 0; trial < 25; ++trial) {
    const QString run = QString::number(trial);
    const QStringList output = testing::run_and_kill(QStringLiteral(CRASH_WRITER_PATH), {day, backup, run}, 60000, random);
    QList<int> acks;
    for (const QString& ack : testing::lines_after(output, QStringLiteral("ack "))) acks << ack.toInt();
    QMap<QString, int> seen;
    for (const Record& record : DataFile::open(day).records({day::kReceiptNo})) ++seen[record.value(day::kReceiptNo)];
    for (int n : acks) {
      EXPECT_EQ(seen.value(run + QLatin1Char(':') + QString::number(n)), 1) << "trial " << trial << " line " << n;
    }
    acknowledged += static_cast<int>(acks.size());
    if (QFile::exists(backup)) {
      EXPECT_NO_THROW(DataFile::open(backup).record_count());
    }
  }
  EXPECT_GT(acknowledged, 0);
}

}  // namespace
}  // namespace tavuro::store
