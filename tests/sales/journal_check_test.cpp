// The check of a month: a sound month says 核对无误; a day file or the journal changed by
// hand, with the sqlite3 program as anyone at the shop's computer could, is found with the
// entry and the record concerned.

#include "sales/journal_check.h"
#include "sales/journal_entry.h"
#include "sales/journaled_change.h"
#include "store/data_file.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tavuro::sales {
namespace {

namespace day = store::day;
using store::DataFile;

class MonthCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    context = {journal_path(folder.path()), QStringLiteral("001"), QDateTime(QDate(2003, 5, 7), QTime(15, 5, 9))};
  }
  QString file(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
  void make_day(const char* name) { DataFile::create(file(name), store::day_schema()); }
  static store::FieldValues sale(const QString& goods, const QString& amount, const QString& receipt) {
    return {{day::kGoods, goods},         {day::kQuantity, QStringLiteral("1.00")}, {day::kPrice, amount},
            {day::kAmount, amount},       {day::kOperator, QStringLiteral("001")},  {day::kTime, QStringLiteral("15:05:09")},
            {day::kCustomer, QStringLiteral("散客")}, {day::kReceiptNo, receipt}};
  }
  // A sound month as the program leaves it: lines recorded on two days, one corrected, one
  // deleted. Entries 1–5 recorded, 6 corrects 7.day record 2, 7 deletes 8.day record 2.
  void sound_month() {
    make_day("7.day");
    make_day("8.day");
    DataFile seventh = DataFile::open(file("7.day"), store::day_schema());
    append_journaled(seventh, context, kRecordedKind, sale(QStringLiteral("可乐"), QStringLiteral("2.50"), QStringLiteral("000001")));
    const store::RecordRef tea =
        append_journaled(seventh, context, kRecordedKind, sale(QStringLiteral("茶"), QStringLiteral("3.00"), QStringLiteral("000001")));
    append_journaled(seventh, context, kRecordedKind, sale(QStringLiteral("面包"), QStringLiteral("4.00"), QStringLiteral("000002")));
    DataFile eighth = DataFile::open(file("8.day"), store::day_schema());
    append_journaled(eighth, context, kRecordedKind, sale(QStringLiteral("可乐"), QStringLiteral("2.50"), QStringLiteral("000003")));
    const store::RecordRef gone =
        append_journaled(eighth, context, kRecordedKind, sale(QStringLiteral("雪碧"), QStringLiteral("2.00"), QStringLiteral("000003")));
    ASSERT_TRUE(update_journaled(seventh, context, kEditedKind, tea, {{day::kAmount, QStringLiteral("6.00")}}));
    ASSERT_TRUE(remove_journaled(eighth, context, kDeletedKind, gone));
  }
  // Runs SQL on a file with the sqlite3 program.
  static void sqlite3(const QString& path, const QString& sql) {
    QProcess tool;
    tool.start(QStringLiteral("sqlite3"), {path, sql});
    ASSERT_TRUE(tool.waitForFinished(60000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
  }
  // The problems found, one text per line.
  QStringList problems() const {
    QStringList texts;
    for (const JournalFinding& problem : check_month(folder.path()).problems) texts << problem.text;
    return texts;
  }
  std::vector<JournalFinding> findings() const { return check_month(folder.path()).problems; }

  QTemporaryDir folder;
  ChangeContext context;
};

TEST_F(MonthCheck, ASoundMonthChecksOut) {
  sound_month();
  const JournalCheck check = check_month(folder.path());
  EXPECT_TRUE(check.sound()) << check.lines().join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(check.lines(), QStringList{QStringLiteral("核对无误")});
  EXPECT_EQ(check.entries, 7);
  EXPECT_EQ(check.records, 4);
}

TEST_F(MonthCheck, AFieldChangedByHandIsFoundWithItsEntryAndRecord) {
  sound_month();
  sqlite3(file("7.day"), QStringLiteral("UPDATE FileName SET 金额 = '60.00' WHERE rowid = 2"));
  const std::vector<JournalFinding> found = findings();
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].entry, 6);  // the correction is the journal's last word on it
  EXPECT_EQ(found[0].file, QStringLiteral("7.day"));
  EXPECT_EQ(found[0].record, 2);
  EXPECT_EQ(found[0].text, QStringLiteral("7.day 记录号 2（茶 15:05:09 单号 000001）与第 6 条修改记录不符（被人改动）：金额 6.00 → 60.00"));
}

TEST_F(MonthCheck, RecordsAddedOrDeletedByHandAreFound) {
  sound_month();
  sqlite3(file("8.day"),
          QStringLiteral("INSERT INTO FileName (商品, 金额, 时间, 单号) VALUES ('可乐', '9.00', '16:00:00', '000009')"));
  sqlite3(file("7.day"), QStringLiteral("DELETE FROM FileName WHERE rowid = 3"));
  const std::vector<JournalFinding> found = findings();
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].text, QStringLiteral("7.day 记录号 3（面包 15:05:09 单号 000002）在第 3 条修改记录之后不见了（被人删除）"));
  EXPECT_EQ(found[0].entry, 3);
  EXPECT_EQ(found[1].file, QStringLiteral("8.day"));
  EXPECT_EQ(found[1].record, 2);  // the rowid of the record the journal deleted, taken again
  EXPECT_EQ(found[1].entry, 7);
  EXPECT_TRUE(found[1].text.contains(QStringLiteral("已在第 7 条修改记录中删除，却还在文件中")));

  // Added under a new rowid, a record is one the journal never heard of.
  sqlite3(file("8.day"), QStringLiteral("INSERT INTO FileName (rowid, 商品) VALUES (40, '茶')"));
  const QStringList texts = problems();
  EXPECT_TRUE(texts.contains(QStringLiteral("8.day 记录号 40（茶）不在修改记录中（被人加入）"))) << texts.join(QLatin1Char('\n')).toStdString();
}

TEST_F(MonthCheck, AnEntryAlteredIsFoundEvenWithItsOwnHashMadeAnew) {
  sound_month();
  // The correction made to look smaller: its hash no longer fits it.
  sqlite3(context.journal, QStringLiteral("UPDATE Journal SET after = replace(after, '金额=6.00', '金额=3.50') WHERE number = 6"));
  QStringList texts = problems();
  ASSERT_FALSE(texts.isEmpty());
  EXPECT_EQ(texts[0], QStringLiteral("第 6 条修改记录被改动（7.day 记录号 2）"));

  // Given a hash of its own that fits, it breaks the link the next entry holds.
  store::JournalEntry altered = *store::journal_entry(context.journal, 6);
  altered.hash = entry_hash(altered);
  sqlite3(context.journal, QStringLiteral("UPDATE Journal SET hash = '%1' WHERE number = 6").arg(altered.hash));
  texts = problems();
  ASSERT_FALSE(texts.isEmpty());
  EXPECT_EQ(texts[0], QStringLiteral("第 6 条修改记录被改动（7.day 记录号 2）"));
  // And the day file no longer agrees with what the entry now says.
  EXPECT_TRUE(texts.last().contains(QStringLiteral("金额 3.50 → 6.00"))) << texts.join(QLatin1Char('\n')).toStdString();
}

TEST_F(MonthCheck, EntriesRemovedAreFoundByTheirNumbers) {
  sound_month();
  sqlite3(context.journal, QStringLiteral("DELETE FROM Journal WHERE number IN (2, 3)"));
  QStringList texts = problems();
  ASSERT_FALSE(texts.isEmpty());
  EXPECT_EQ(texts[0], QStringLiteral("第 2–3 条修改记录不见了（被删除）"));
  EXPECT_TRUE(texts.contains(QStringLiteral("7.day 记录号 3（面包 15:05:09 单号 000002）不在修改记录中（被人加入）")));
}

TEST_F(MonthCheck, TheLastEntryRemovedLeavesTheChangeItRecordedUnexplained) {
  sound_month();
  sqlite3(context.journal, QStringLiteral("DELETE FROM Journal WHERE number = 7"));
  const std::vector<JournalFinding> found = findings();
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].file, QStringLiteral("8.day"));
  EXPECT_EQ(found[0].record, 2);
  EXPECT_EQ(found[0].entry, 5);
  EXPECT_TRUE(found[0].text.contains(QStringLiteral("在第 5 条修改记录之后不见了（被人删除）")));
}

TEST_F(MonthCheck, DayFilesFromBeforeTheJournalAreNotedOnceAndStillHeldToWhatTheyHeld) {
  // Lines of the morning, recorded before the journal existed; then the journal starts
  // and new lines join the same file.
  make_day("6.day");
  make_day("7.day");
  DataFile::open(file("6.day")).append(sale(QStringLiteral("旧货"), QStringLiteral("1.00"), QStringLiteral("000001")));
  for (int i = 0; i < 3; ++i) {
    DataFile::open(file("7.day")).append(sale(QStringLiteral("早上"), QStringLiteral("1.00"), QStringLiteral("000002")));
  }
  start_journal(context.journal, QString(), context.when);
  DataFile seventh = DataFile::open(file("7.day"), store::day_schema());
  append_journaled(seventh, context, kRecordedKind, sale(QStringLiteral("下午"), QStringLiteral("2.00"), QStringLiteral("000003")));
  // An old record may be corrected like any other.
  ASSERT_TRUE(update_journaled(seventh, context, kEditedKind, seventh.ref_to(seventh.records().at(0)),
                               {{day::kAmount, QStringLiteral("1.50")}}));
  JournalCheck check = check_month(folder.path());
  EXPECT_TRUE(check.sound()) << check.lines().join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(check.lines(), (QStringList{QStringLiteral("核对无误"),
                                        QStringLiteral("6.day：无修改记录的旧文件（修改记录开始前已有 1 条记录，见第 1 条修改记录）"),
                                        QStringLiteral("7.day：无修改记录的旧文件（修改记录开始前已有 3 条记录，见第 2 条修改记录）")}));

  // An old record changed by hand is found like a new one.
  sqlite3(file("7.day"), QStringLiteral("UPDATE FileName SET 商品 = '早饭' WHERE rowid = 2"));
  check = check_month(folder.path());
  ASSERT_EQ(check.problems.size(), 1u);
  EXPECT_EQ(check.problems[0].entry, 2);
  EXPECT_TRUE(check.problems[0].text.contains(QStringLiteral("商品 早上 → 早饭")));
  EXPECT_EQ(check.notes.size(), 2);
}

TEST_F(MonthCheck, AMonthWithoutJournalHasOnlyOldFiles) {
  make_day("1.day");
  make_day("2.day");
  DataFile::open(file("2.day")).append(sale(QStringLiteral("可乐"), QStringLiteral("2.50"), QStringLiteral("000001")));
  const JournalCheck check = check_month(folder.path());
  EXPECT_EQ(check.lines(), (QStringList{QStringLiteral("核对无误"), QStringLiteral("2.day：无修改记录的旧文件")}));
}

TEST_F(MonthCheck, ADayFileGoneOrUnreadableAndAJournalThatCannotBeReadAreSaidSo) {
  sound_month();
  QFile::remove(file("8.day"));
  QFile garbage(file("9.day"));
  ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
  garbage.write("not a day file");
  garbage.close();
  EXPECT_EQ(problems(), (QStringList{QStringLiteral("9.day 无法读取，没有核对"),
                                     QStringLiteral("8.day 不见了（修改记录中它还有 1 条记录）")}));

  QFile journal(context.journal);
  ASSERT_TRUE(journal.open(QIODevice::WriteOnly | QIODevice::Truncate));
  journal.write(QByteArray(4096, 'x'));
  journal.close();
  EXPECT_EQ(problems(), QStringList{QStringLiteral("修改记录文件 journal.db 无法读取，没有核对")});
}

}  // namespace
}  // namespace tavuro::sales
