#include "store/backup.h"
#include "store/data_file.h"

#include "platform/file_ops.h"

#include "support/scripted_dialogs.h"
#include "support/shop_fixture.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace tavuro::store {
namespace {

using testing::read_bytes;
using testing::ScriptedDialogs;
using testing::write_bytes;

constexpr int kPage = 4096;

class RecoveryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    day = dir.filePath(QStringLiteral("7.day"));
    bak = dir.filePath(QStringLiteral("7.bak"));
    DataFile::create(day, day_schema());
    DataFile::open(day).append({{day::kGoods, QStringLiteral("可乐")}});
    ASSERT_TRUE(backup_file(day, bak));
  }
  // Adds count sale lines of about a tenth of a page each.
  void fill(int count) {
    std::vector<FieldValues> rows;
    for (int i = 0; i < count; ++i) {
      rows.push_back({{day::kGoods, QStringLiteral("可乐%1").arg(i)},
                      {day::kAmount, QStringLiteral("2.50")},
                      {day::kCustomer, QString(40, QChar(0x6563))}});
    }
    DataFile::open(day).append_all(rows);
  }
  // The work of a reader: count the records.
  int count_records() {
    int count = -1;
    const bool done = with_recovery(day, bak, [&] { count = DataFile::open(day).record_count(); });
    return done ? count : -1;
  }

  QTemporaryDir dir;
  QString day;
  QString bak;
  ScriptedDialogs dialogs;
};

TEST_F(RecoveryTest, TheBackupIsAByteCopy) {
  EXPECT_EQ(read_bytes(day), read_bytes(bak));
  EXPECT_FALSE(QFile::exists(bak + QStringLiteral(".tmp~")));
}

TEST_F(RecoveryTest, ADamagedFileIsSetAsideAndRestoredFromItsBackup) {
  const QByteArray corrupt("this was a day file once");
  write_bytes(day, corrupt);
  EXPECT_EQ(count_records(), 1);
  EXPECT_EQ(read_bytes(day + QStringLiteral(".bad")), corrupt);
  EXPECT_EQ(read_bytes(day), read_bytes(bak));
  // The user is told once what was done, how many records the file holds and where the
  // damaged copy lies.
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.last_message().icon, platform::Icon::Information);
  EXPECT_EQ(dialogs.last_message().text,
            QStringLiteral("数据文件已从备份恢复：") + day +
                QStringLiteral(
                    "\n从损坏的文件中读出 0 条记录，从备份中取回 1 条。\n文件现有 1 条记录。\n损坏的文件保存为：") +
                day + QStringLiteral(".bad"));
  EXPECT_EQ(count_records(), 1);
  EXPECT_EQ(dialogs.shown().size(), 1u) << "a file recovered once is whole";
}

TEST_F(RecoveryTest, AWriteIsDoneOnTheRestoredFile) {
  write_bytes(day, {});
  const bool done = with_recovery(day, bak, [&] { DataFile::open(day).append({{day::kGoods, QStringLiteral("茶")}}); });
  EXPECT_TRUE(done);
  EXPECT_EQ(DataFile::open(day).record_count(), 2);
  EXPECT_EQ(read_bytes(day + QStringLiteral(".bad")), QByteArray());
}

TEST_F(RecoveryTest, WithoutABackupTheTwoMessagesAndTheFileStaysAsItWas) {
  QFile::remove(bak);
  const QByteArray corrupt("garbage");
  write_bytes(day, corrupt);
  EXPECT_EQ(count_records(), -1);
  EXPECT_EQ(dialogs.messages(), (QStringList{QStringLiteral("备份数据文件出错。"),
                                             QStringLiteral("数据不能修复，请试用 Microsoft Access 来修复 [ ") + day +
                                                 QStringLiteral("]")}));
  EXPECT_EQ(dialogs.last_message().icon, platform::Icon::Exclamation);
  EXPECT_EQ(read_bytes(day), corrupt);
  EXPECT_EQ(read_bytes(day + QStringLiteral(".bad")), corrupt);
}

TEST_F(RecoveryTest, ADamagedBackupIsNeverCopiedInAndBothDamagedCopiesAreKept) {
  fill(300);
  ASSERT_TRUE(backup_file(day, bak));
  const QByteArray whole = read_bytes(day);
  QByteArray damaged = whole;
  damaged.replace(4 * kPage, kPage, QByteArray(kPage, '\xff'));  // one leaf of the file
  write_bytes(day, damaged);
  write_bytes(bak, whole.left(whole.size() / 2));  // the backup cut in half

  const int count = count_records();
  EXPECT_GT(count, 250) << "what each still holds";
  EXPECT_EQ(count, 301) << "the leaf the file lost is still in the first half of the backup";
  EXPECT_EQ(read_bytes(day + QStringLiteral(".bad")), damaged);
  EXPECT_EQ(read_bytes(bak + QStringLiteral(".bad")), whole.left(whole.size() / 2));
  EXPECT_TRUE(DataFile::open(day).is_intact());
  EXPECT_EQ(read_bytes(bak), read_bytes(day)) << "the backup is whole again";
  EXPECT_TRUE(
      dialogs.last_message().text.contains(QStringLiteral("备份文件也已损坏，保存为：") + bak + QStringLiteral(".bad")));

  // A second recovery does not touch the first one's copies.
  write_bytes(day, "damaged again");
  EXPECT_EQ(count_records(), 301);
  EXPECT_EQ(read_bytes(day + QStringLiteral(".bad")), damaged);
  EXPECT_EQ(read_bytes(day + QStringLiteral(".1.bad")), QByteArray("damaged again"));
  EXPECT_EQ(read_bytes(bak + QStringLiteral(".bad")), whole.left(whole.size() / 2));
}

TEST_F(RecoveryTest, AnOlderBackupNeverCostsTheFileARecord) {
  fill(290);
  ASSERT_TRUE(backup_file(day, bak));  // ten lines behind, as after a failed copy
  fill(10);
  const auto before = DataFile::open(day).records();
  {
    DataFile file = DataFile::open(day);
    file.remove(5);  // deleted since the backup was made
  }
  QByteArray bytes = read_bytes(day);
  bytes.replace(3 * kPage, kPage, QByteArray(kPage, '\0'));  // a leaf among the first lines
  write_bytes(day, bytes);

  EXPECT_EQ(count_records(), 300);
  const auto after = DataFile::open(day).records();
  ASSERT_EQ(after.size(), 300u);
  // Every line kept its id and its fields: the ten lines recorded since the backup from
  // the file, the lost leaf from the backup; the line deleted since does not come back.
  for (std::size_t i = 0, j = 0; i < before.size(); ++i) {
    if (before[i].id() == 5) continue;
    ASSERT_LT(j, after.size());
    EXPECT_EQ(after[j].id(), before[i].id());
    EXPECT_EQ(after[j].values(), before[i].values());
    ++j;
  }
  EXPECT_TRUE(dialogs.last_message().text.contains(QStringLiteral("从备份中取回")));
  EXPECT_TRUE(dialogs.last_message().text.contains(QStringLiteral("文件现有 300 条记录。")));
}

TEST_F(RecoveryTest, BytesAfterTheLastPageAreNoDamage) {
  fill(299);
  ASSERT_TRUE(backup_file(day, bak));
  fill(10);
  const QByteArray longer = read_bytes(day) + QByteArray(10, 'x');
  write_bytes(day, longer);
  EXPECT_EQ(count_records(), 310);
  EXPECT_EQ(read_bytes(day), longer) << "a read leaves it as it is";
  EXPECT_FALSE(QFile::exists(day + QStringLiteral(".bad")));
  EXPECT_TRUE(dialogs.shown().empty());
  // The next change writes into it as into any other file.
  EXPECT_TRUE(with_recovery(day, bak, [&] {
    DataFile::open_for_change(day, day_schema(), bak).append({{day::kGoods, QStringLiteral("茶")}});
  }));
  EXPECT_EQ(DataFile::open(day).record_count(), 311);
  EXPECT_TRUE(DataFile::open(day).is_intact());
}

TEST_F(RecoveryTest, AnOlderDamagedCopyIsNeverOverwritten) {
  write_bytes(day + QStringLiteral(".bad"), "an older damaged copy");
  write_bytes(day + QStringLiteral(".1.bad"), "another one");
  write_bytes(day, "garbage");
  EXPECT_EQ(count_records(), 1);
  EXPECT_EQ(read_bytes(day + QStringLiteral(".bad")), QByteArray("an older damaged copy"));
  EXPECT_EQ(read_bytes(day + QStringLiteral(".1.bad")), QByteArray("another one"));
  EXPECT_EQ(read_bytes(day + QStringLiteral(".2.bad")), QByteArray("garbage"));
  EXPECT_TRUE(dialogs.last_message().text.endsWith(day + QStringLiteral(".2.bad")));

  // Damage the recovery cannot mend is kept once, however often it is met.
  QFile::remove(bak);
  write_bytes(day, "garbage");
  EXPECT_EQ(count_records(), -1);
  EXPECT_EQ(count_records(), -1);
  EXPECT_FALSE(QFile::exists(day + QStringLiteral(".3.bad")));
}

TEST_F(RecoveryTest, ARebuiltFileThatCannotBePutInPlaceLeavesTheFileAsItWas) {
  write_bytes(day, "garbage");
  QDir(dir.path()).mkdir(QStringLiteral("7.day.tmp~"));  // where the rebuilt file is made
  EXPECT_THROW(count_records(), StoreError);
  EXPECT_EQ(read_bytes(day), QByteArray("garbage"));
  EXPECT_EQ(read_bytes(day + QStringLiteral(".bad")), QByteArray("garbage"));
  EXPECT_EQ(DataFile::open(bak).record_count(), 1);
  EXPECT_TRUE(dialogs.shown().empty()) << "nothing was done";
}

TEST_F(RecoveryTest, TheCopyBeforeTheLastBackupIsNeverRestored) {
  DataFile::open(day).append({{day::kGoods, QStringLiteral("茶")}});
  ASSERT_TRUE(backup_file(day, bak));
  ASSERT_TRUE(QFile::exists(platform::kept_copy_of(bak)));
  QFile::remove(bak);
  write_bytes(day, "garbage");
  EXPECT_EQ(count_records(), -1);
  EXPECT_EQ(dialogs.messages().size(), 2) << "the recovery's two messages: there is no backup";
  EXPECT_EQ(read_bytes(day), QByteArray("garbage"));
}

TEST_F(RecoveryTest, ARefusedValueDoesNotReplaceTheFileByAnOlderBackup) {
  DataFile::open(day).append({{day::kGoods, QStringLiteral("after the backup")}});
  EXPECT_THROW(with_recovery(day, bak,
                             [&] { DataFile::open(day).append({{day::kCustomer, QString(51, QLatin1Char('x'))}}); }),
               StoreError);
  EXPECT_EQ(DataFile::open(day).record_count(), 2);
  EXPECT_FALSE(QFile::exists(day + QStringLiteral(".bad")));
}

TEST_F(RecoveryTest, ADirectoryInPlaceOfTheFileIsNotRestoredOver) {
  QFile::remove(day);
  QDir(dir.path()).mkdir(QStringLiteral("7.day"));
  EXPECT_EQ(count_records(), -1);
  EXPECT_EQ(dialogs.messages().size(), 2);
  EXPECT_TRUE(QFileInfo(day).isDir());
  EXPECT_TRUE(QFileInfo(bak).isFile()) << "the backup must survive";
}

TEST_F(RecoveryTest, AFileDamagedWhereNoChangeReachesIsNotCopiedOverItsBackup) {
  DataFile::open(day).append_all(std::vector<FieldValues>(300, {{day::kGoods, QString(40, QChar(0x8336))}}));
  ASSERT_TRUE(backup_file(day, bak));
  const QByteArray good_backup = read_bytes(bak);
  QByteArray bytes = read_bytes(day);
  bytes.replace(2 * 4096, 8, QByteArray(8, '\xff'));  // a leaf that an append does not read
  write_bytes(day, bytes);
  DataFile::open(day).append({{day::kGoods, QStringLiteral("可乐")}});

  EXPECT_FALSE(backup_file(day, bak));
  EXPECT_EQ(dialogs.messages(), QStringList{QLatin1Char('[') + day + QStringLiteral("]数据文件备份出错！")});
  EXPECT_EQ(read_bytes(bak), good_backup);
}

TEST_F(RecoveryTest, ATableDefinitionDamagedInItsLengthChecksIsRestored) {
  // One flipped byte in the table definition: the file opens and reads, but a record can
  // no longer be added.
  QByteArray bytes = read_bytes(day);
  const qsizetype at = bytes.indexOf("length(");
  ASSERT_GE(at, 0);
  bytes[at + 1] = 'O';
  write_bytes(day, bytes);
  const auto add = [&] { DataFile::open(day).append({{day::kGoods, QStringLiteral("茶")}}); };
  try {
    add();
    FAIL();
  } catch (const StoreError& error) {
    EXPECT_EQ(error.kind(), StoreError::Kind::Damaged);
  }
  EXPECT_TRUE(with_recovery(day, bak, add));
  EXPECT_EQ(read_bytes(day + QStringLiteral(".bad")), bytes);
  EXPECT_EQ(DataFile::open(day).record_count(), 2);
}

TEST_F(RecoveryTest, AFailingBackupCopyIsReported) {
  EXPECT_FALSE(backup_file(day, dir.filePath(QStringLiteral("no/such/folder/7.bak"))));
  EXPECT_EQ(dialogs.messages(), QStringList{QLatin1Char('[') + day + QStringLiteral("]数据文件备份出错！")});
  EXPECT_FALSE(backup_file(dir.filePath(QStringLiteral("missing.day")), bak));
  EXPECT_EQ(DataFile::open(bak).record_count(), 1) << "a failed copy leaves the old backup whole";
}

}  // namespace
}  // namespace tavuro::store
