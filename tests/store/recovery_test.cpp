#include "store/backup.h"
#include "store/data_file.h"

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

class RecoveryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    day = dir.filePath(QStringLiteral("7.day"));
    bak = dir.filePath(QStringLiteral("7.bak"));
    DataFile::create(day, day_schema());
    DataFile::open(day).append({{day::kGoods, QStringLiteral("可乐")}});
    ASSERT_TRUE(backup_file(day, bak));
  }
  // The work of a reader: count the records.
  int countRecords() {
    int count = -1;
    const bool done = with_recovery(day, bak, [&] { count = DataFile::open(day).recordCount(); });
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
  EXPECT_EQ(countRecords(), 1);
  EXPECT_EQ(read_bytes(day + QStringLiteral(".bad")), corrupt);
  EXPECT_EQ(read_bytes(day), read_bytes(bak));
  EXPECT_TRUE(dialogs.shown().empty()) << "the recovery from a backup is silent";
}

TEST_F(RecoveryTest, AWriteIsDoneOnTheRestoredFile) {
  write_bytes(day, {});
  const bool done = with_recovery(day, bak, [&] { DataFile::open(day).append({{day::kGoods, QStringLiteral("茶")}}); });
  EXPECT_TRUE(done);
  EXPECT_EQ(DataFile::open(day).recordCount(), 2);
  EXPECT_EQ(read_bytes(day + QStringLiteral(".bad")), QByteArray());
}

TEST_F(RecoveryTest, WithoutABackupTheTwoMessagesAndTheFileStaysAsItWas) {
  QFile::remove(bak);
  const QByteArray corrupt("garbage");
  write_bytes(day, corrupt);
  EXPECT_EQ(countRecords(), -1);
  EXPECT_EQ(dialogs.messages(), (QStringList{QStringLiteral("备份数据文件出错。"),
                                             QStringLiteral("数据不能修复，请试用 Microsoft Access 来修复 [ ") + day +
                                                 QStringLiteral("]")}));
  EXPECT_EQ(dialogs.lastMessage().icon, platform::Icon::Exclamation);
  EXPECT_EQ(read_bytes(day), corrupt);
  EXPECT_EQ(read_bytes(day + QStringLiteral(".bad")), corrupt);
}

TEST_F(RecoveryTest, ADamagedBackupGoesToTheCallerAfterOneMoreTry) {
  write_bytes(day, "bad");
  write_bytes(bak, "also bad");
  EXPECT_THROW(countRecords(), StoreError);
  EXPECT_EQ(read_bytes(day + QStringLiteral(".bad")), QByteArray("bad"));
}

TEST_F(RecoveryTest, ARefusedValueDoesNotReplaceTheFileByAnOlderBackup) {
  DataFile::open(day).append({{day::kGoods, QStringLiteral("after the backup")}});
  EXPECT_THROW(with_recovery(day, bak,
                             [&] { DataFile::open(day).append({{day::kCustomer, QString(51, QLatin1Char('x'))}}); }),
               StoreError);
  EXPECT_EQ(DataFile::open(day).recordCount(), 2);
  EXPECT_FALSE(QFile::exists(day + QStringLiteral(".bad")));
}

TEST_F(RecoveryTest, ADirectoryInPlaceOfTheFileIsNotRestoredOver) {
  QFile::remove(day);
  QDir(dir.path()).mkdir(QStringLiteral("7.day"));
  EXPECT_EQ(countRecords(), -1);
  EXPECT_EQ(dialogs.messages().size(), 2);
  EXPECT_TRUE(QFileInfo(day).isDir());
  EXPECT_TRUE(QFileInfo(bak).isFile()) << "the backup must survive";
}

TEST_F(RecoveryTest, AFileDamagedWhereNoChangeReachesIsNotCopiedOverItsBackup) {
  {
    DataFile file = DataFile::open(day);
    for (int i = 0; i < 300; ++i) file.append({{day::kGoods, QString(40, QChar(0x8336))}});
  }
  ASSERT_TRUE(backup_file(day, bak));
  const QByteArray goodBackup = read_bytes(bak);
  QByteArray bytes = read_bytes(day);
  bytes.replace(2 * 4096, 8, QByteArray(8, '\xff'));  // a leaf that an append does not read
  write_bytes(day, bytes);
  DataFile::open(day).append({{day::kGoods, QStringLiteral("可乐")}});

  EXPECT_FALSE(backup_file(day, bak));
  EXPECT_EQ(dialogs.messages(), QStringList{QLatin1Char('[') + day + QStringLiteral("]数据文件备份出错！")});
  EXPECT_EQ(read_bytes(bak), goodBackup);
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
  EXPECT_EQ(DataFile::open(day).recordCount(), 2);
}

TEST_F(RecoveryTest, AFailingBackupCopyIsReported) {
  EXPECT_FALSE(backup_file(day, dir.filePath(QStringLiteral("no/such/folder/7.bak"))));
  EXPECT_EQ(dialogs.messages(), QStringList{QLatin1Char('[') + day + QStringLiteral("]数据文件备份出错！")});
  EXPECT_FALSE(backup_file(dir.filePath(QStringLiteral("missing.day")), bak));
  EXPECT_EQ(DataFile::open(bak).recordCount(), 1) << "a failed copy leaves the old backup whole";
}

}  // namespace
}  // namespace tavuro::store
