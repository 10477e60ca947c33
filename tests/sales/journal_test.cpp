// The journal of changes: the chain of its entries, and changes that go into a data file
// only together with their entry.

#include "sales/journal_entry.h"
#include "sales/journal_check.h"
#include "sales/journaled_change.h"
#include "store/data_file.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tavuro::sales {
namespace {

namespace day = store::day;
using store::DataFile;
using store::JournalEntry;
using store::StoreError;

JournalEntry some_entry() {
  JournalEntry entry;
  entry.at = QStringLiteral("2003-05-07 15:05:09");
  entry.op = QStringLiteral("001");
  entry.file = QStringLiteral("7.day");
  entry.record = 3;
  entry.kind = kEditedKind;
  entry.before = QStringLiteral("商品=可乐\n金额=2.50");
  entry.after = QStringLiteral("商品=可乐\n金额=5.00");
  return entry;
}

TEST(JournalChain, EachEntryNamesThePreviousHashAndItsOwnCoversEveryPart) {
  const JournalEntry first = chained(std::nullopt, some_entry());
  EXPECT_EQ(first.number, 1);
  EXPECT_EQ(first.previous_hash, journal_seed());
  EXPECT_EQ(first.hash.size(), 64);
  EXPECT_EQ(first.hash, entry_hash(first));
  const JournalEntry second = chained(first, some_entry());
  EXPECT_EQ(second.number, 2);
  EXPECT_EQ(second.previous_hash, first.hash);
  EXPECT_NE(second.hash, first.hash);

  // Whatever part is changed, the hash changes.
  const std::vector<std::function<void(JournalEntry&)>> alterations{
      [](JournalEntry& e) { e.number = 7; },
      [](JournalEntry& e) { e.at = QStringLiteral("2003-05-07 15:05:10"); },
      [](JournalEntry& e) { e.op = QStringLiteral("002"); },
      [](JournalEntry& e) { e.file = QStringLiteral("8.day"); },
      [](JournalEntry& e) { e.record = 4; },
      [](JournalEntry& e) { e.kind = kDeletedKind; },
      [](JournalEntry& e) { e.before = QStringLiteral("商品=可乐\n金额=2.51"); },
      [](JournalEntry& e) { e.after.clear(); },
      [](JournalEntry& e) { e.previous_hash = journal_seed(); },
  };
  for (size_t i = 0; i < alterations.size(); ++i) {
    JournalEntry altered = second;
    alterations[i](altered);
    EXPECT_NE(entry_hash(altered), second.hash) << "part " << i;
  }
  // Text moved from one part into the next is another entry.
  JournalEntry a = some_entry();
  JournalEntry b = some_entry();
  a.op = QStringLiteral("00");
  a.file = QStringLiteral("17.day");
  b.op = QStringLiteral("001");
  b.file = QStringLiteral("7.day");
  EXPECT_NE(entry_hash(a), entry_hash(b));
  EXPECT_NE(canonical_form(a), canonical_form(b));
}

TEST(JournalFields, AnyValueComesBackAsItWas) {
  const QStringList names{QStringLiteral("商品"), QStringLiteral("数量"), QStringLiteral("识别码"), QStringLiteral("单号")};
  const QStringList values{QStringLiteral("a=b\nc"), QStringLiteral("\\n"), QString(), QStringLiteral("x\r\\\\y")};
  const QString text = fields_text(names, values);
  EXPECT_FALSE(text.contains(QLatin1Char('\r')));
  EXPECT_EQ(text.count(QLatin1Char('\n')), 3) << "one line per field";
  const auto fields = parse_fields_text(text);
  ASSERT_EQ(fields.size(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(fields[i].first, names[i]);
    EXPECT_EQ(fields[i].second, values[i]) << i;
  }
  const QList<QPair<qint64, QString>> old{{1, text}, {5, fields_text({QStringLiteral("商品")}, {QStringLiteral("@9")})}};
  EXPECT_EQ(parse_old_records(old_records_text(old)), old);
}

class JournaledChanges : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    DataFile::create(day_file(), store::day_schema());
    context = {journal_path(folder.path()), QStringLiteral("001"), QDateTime(QDate(2003, 5, 7), QTime(15, 5, 9))};
  }
  QString day_file() const { return folder.filePath(QStringLiteral("7.day")); }
  static store::FieldValues sale(const QString& goods, const QString& amount) {
    return {{day::kGoods, goods}, {day::kAmount, amount}, {day::kTime, QStringLiteral("15:05:09")}};
  }
  std::vector<JournalEntry> entries() const { return store::journal_entries(context.journal); }
  QByteArray bytes(const QString& path) const {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  // Runs SQL on a file with the sqlite3 program, as someone at the shop's computer could.
  static void sqlite3(const QString& path, const QString& sql) {
    QProcess tool;
    tool.start(QStringLiteral("sqlite3"), {path, sql});
    ASSERT_TRUE(tool.waitForFinished(60000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
  }

  QTemporaryDir folder;
  ChangeContext context;
};

TEST_F(JournaledChanges, EveryChangeHasItsEntryWithTheRecordBeforeAndAfter) {
  DataFile file = DataFile::open(day_file(), store::day_schema());
  const store::RecordRef cola = append_journaled(file, context, kRecordedKind, sale(QStringLiteral("可乐"), QStringLiteral("2.50")));
  const store::RecordRef tea = append_journaled(file, context, kRecordedKind, sale(QStringLiteral("茶"), QStringLiteral("3.00")));
  EXPECT_EQ(cola.path, day_file());
  EXPECT_EQ(cola.values, *file.values_of(cola.id));

  const auto edited = update_journaled(file, context, kEditedKind, cola, {{day::kAmount, QStringLiteral("5.00")}});
  ASSERT_TRUE(edited);
  EXPECT_EQ(edited->values.at(3), QStringLiteral("5.00"));
  // A save that changes nothing is no change.
  EXPECT_TRUE(update_journaled(file, context, kEditedKind, *edited, {{day::kAmount, QStringLiteral("5.00")}}));
  EXPECT_TRUE(remove_journaled(file, context, kDeletedKind, tea));

  const std::vector<JournalEntry> all = entries();
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(all[0].kind, kRecordedKind);
  EXPECT_TRUE(all[0].before.isEmpty());
  EXPECT_EQ(all[0].after, fields_text(file.fields(), cola.values));
  EXPECT_EQ(all[0].at, QStringLiteral("2003-05-07 15:05:09"));
  EXPECT_EQ(all[0].op, QStringLiteral("001"));
  EXPECT_EQ(all[0].file, QStringLiteral("7.day"));
  EXPECT_EQ(all[0].record, cola.id);
  EXPECT_EQ(all[2].kind, kEditedKind);
  EXPECT_EQ(all[2].before, all[0].after);
  EXPECT_EQ(all[2].after, fields_text(file.fields(), edited->values));
  EXPECT_EQ(all[3].kind, kDeletedKind);
  EXPECT_EQ(all[3].before, all[1].after);
  EXPECT_TRUE(all[3].after.isEmpty());
  for (size_t i = 0; i < all.size(); ++i) {
    EXPECT_EQ(all[i].number, static_cast<qint64>(i + 1));
    EXPECT_EQ(all[i].previous_hash, i == 0 ? journal_seed() : all[i - 1].hash);
    EXPECT_EQ(all[i].hash, entry_hash(all[i]));
  }
}

TEST_F(JournaledChanges, ARecordGoneOrChangedSinceItWasReadIsLeftAlone) {
  DataFile file = DataFile::open(day_file(), store::day_schema());
  const store::RecordRef cola = append_journaled(file, context, kRecordedKind, sale(QStringLiteral("可乐"), QStringLiteral("2.50")));
  sqlite3(day_file(), QStringLiteral("UPDATE FileName SET 金额 = '2.60' WHERE rowid = %1").arg(cola.id));
  const QByteArray before = bytes(day_file());
  EXPECT_FALSE(update_journaled(file, context, kEditedKind, cola, {{day::kAmount, QStringLiteral("5.00")}}));
  EXPECT_FALSE(remove_journaled(file, context, kDeletedKind, cola));
  store::RecordRef gone = cola;
  gone.id = 99;
  EXPECT_FALSE(remove_journaled(file, context, kDeletedKind, gone));
  EXPECT_EQ(bytes(day_file()), before);
  EXPECT_EQ(entries().size(), 1u);
}

TEST_F(JournaledChanges, AChangeTheJournalCannotTakeIsNotMade) {
  DataFile file = DataFile::open(day_file(), store::day_schema());
  append_journaled(file, context, kRecordedKind, sale(QStringLiteral("可乐"), QStringLiteral("2.50")));
  const QByteArray before = bytes(day_file());
  const auto refused = [&](const char* what) {
    try {
      append_journaled(file, context, kRecordedKind, sale(QStringLiteral("茶"), QStringLiteral("3.00")));
      ADD_FAILURE() << what << ": the line went in";
    } catch (const StoreError& error) {
      EXPECT_EQ(error.kind(), StoreError::Kind::Journal) << what;
    }
    EXPECT_EQ(bytes(day_file()), before) << what;
    EXPECT_EQ(file.record_count(), 1) << what;
  };

  // The entry itself refused, after the line went into the day file in the same
  // transaction: both are undone.
  sqlite3(context.journal, QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON Journal BEGIN SELECT RAISE(ABORT, 'no'); END"));
  refused("an entry refused");
  sqlite3(context.journal, QStringLiteral("DROP TRIGGER refuse"));

  const QByteArray journal = bytes(context.journal);
  QFile::remove(context.journal);
  QFile garbage(context.journal);
  ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
  garbage.write(QByteArray(4096, 'x'));
  garbage.close();
  refused("a journal that is no database");
  QFile::remove(context.journal);
  QDir().mkdir(context.journal);
  refused("a folder in the journal's place");
  QDir().rmdir(context.journal);

  // Put back, the journal takes the next line.
  QFile back(context.journal);
  ASSERT_TRUE(back.open(QIODevice::WriteOnly));
  back.write(journal);
  back.close();
  append_journaled(file, context, kRecordedKind, sale(QStringLiteral("茶"), QStringLiteral("3.00")));
  EXPECT_EQ(entries().size(), 2u);
  EXPECT_TRUE(check_month(folder.path()).sound());
}

TEST_F(JournaledChanges, AJournalStartsWithTheRecordsTheDayFilesAlreadyHold) {
  DataFile::open(day_file()).append(sale(QStringLiteral("旧可乐"), QStringLiteral("1.00")));
  DataFile::open(day_file()).append(sale(QStringLiteral("旧茶"), QStringLiteral("2.00")));
  DataFile::create(folder.filePath(QStringLiteral("6.day")), store::day_schema());  // empty: nothing to vouch for
  DataFile file = DataFile::open(day_file(), store::day_schema());
  append_journaled(file, context, kRecordedKind, sale(QStringLiteral("新可乐"), QStringLiteral("3.00")));

  const std::vector<JournalEntry> all = entries();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].kind, kOldFileKind);
  EXPECT_EQ(all[0].file, QStringLiteral("7.day"));
  const auto old = parse_old_records(all[0].after);
  ASSERT_EQ(old.size(), 2);
  EXPECT_EQ(old[0].first, 1);
  EXPECT_TRUE(old[1].second.contains(QStringLiteral("商品=旧茶")));
  EXPECT_EQ(all[1].kind, kRecordedKind);
  EXPECT_EQ(all[1].record, 3);

  // What the journal last said of each record, for whoever must tell a record from one
  // that was deleted.
  EXPECT_TRUE(remove_journaled(file, context, kDeletedKind, file.ref_to(file.records().at(0))));
  const QHash<qint64, QString> last = journal_last_word(context.journal, QStringLiteral("7.day"));
  EXPECT_EQ(last.keys().size(), 2);
  EXPECT_FALSE(last.contains(1));
  EXPECT_TRUE(last.value(3).contains(QStringLiteral("商品=新可乐")));
}

}  // namespace
}  // namespace tavuro::sales
