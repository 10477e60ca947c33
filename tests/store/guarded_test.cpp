#include "store/guarded.h"
#include "store/backup.h"
#include "store/data_file.h"

#include "support/scripted_dialogs.h"
#include "support/shop_fixture.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

#include <stdexcept>

namespace tavuro::store {
namespace {

using platform::Icon;
using testing::read_bytes;
using testing::ScriptedDialogs;
using testing::write_bytes;

const StoreError kFullDisk(StoreError::Kind::Io, QStringLiteral("x.dat"), QStringLiteral("disk full"));

TEST(Guarded, AStoreFailureEndsTheWorkWithTheMessageOfItsProcedure) {
  ScriptedDialogs dialogs;
  bool after = false;
  EXPECT_FALSE(guarded(QStringLiteral("read_use"), [&] {
    throw kFullDisk;
    after = true;
  }));
  EXPECT_FALSE(after);
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("数据出错！[read_use]")});
  EXPECT_EQ(dialogs.last_message().icon, Icon::Exclamation);

  dialogs.clear();
  bool ran = false;
  EXPECT_TRUE(guarded(QStringLiteral("read_use"), [&] { ran = true; }));
  EXPECT_TRUE(ran);
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST(Guarded, ACallerMayShowItsOwnMessageOrNone) {
  ScriptedDialogs dialogs;
  EXPECT_FALSE(
      guarded(show_message(QStringLiteral("保存记录时发生错误。"), Icon::Exclamation), [] { throw kFullDisk; }));
  EXPECT_FALSE(guarded(show_message(QStringLiteral("数据出错！[read_usefile]")), [] { throw kFullDisk; }));
  ASSERT_EQ(dialogs.shown().size(), 2u);
  EXPECT_EQ(dialogs.shown()[0].text, QStringLiteral("保存记录时发生错误。"));
  EXPECT_EQ(dialogs.shown()[0].icon, Icon::Exclamation);
  EXPECT_EQ(dialogs.shown()[1].icon, Icon::None);

  // The report sees which failure it was.
  StoreError::Kind seen = StoreError::Kind::Missing;
  EXPECT_FALSE(guarded([&](const StoreError& error) { seen = error.kind(); }, [] { throw kFullDisk; }));
  EXPECT_EQ(seen, StoreError::Kind::Io);

  dialogs.clear();
  EXPECT_FALSE(guarded_quietly([] { throw kFullDisk; }));
  EXPECT_TRUE(guarded_quietly([] {}));
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST(Guarded, AFaultOfTheProgramIsNoStoreFailureAndGoesOn) {
  ScriptedDialogs dialogs;
  EXPECT_THROW(guarded(QStringLiteral("read_use"), [] { throw std::logic_error("a bug"); }), std::logic_error);
  EXPECT_THROW(guarded_quietly([] { throw std::bad_alloc(); }), std::bad_alloc);
  EXPECT_TRUE(dialogs.shown().empty());
}

class FileWork : public ::testing::Test {
 protected:
  void SetUp() override {
    DataFile::create(day, day_schema());
    DataFile::open(day).append({{day::kGoods, QStringLiteral("可乐")}});
    ASSERT_TRUE(backup_file(day, bak));
  }
  int count_records(const QString& procedure = QStringLiteral("read_myfile")) {
    int count = -1;
    if (!work_on_file(procedure, day, bak, [&] { count = DataFile::open(day, day_schema()).record_count(); })) {
      return -1;
    }
    return count;
  }

  QTemporaryDir dir;
  const QString day = dir.filePath(QStringLiteral("7.day"));
  const QString bak = dir.filePath(QStringLiteral("7.bak"));
  ScriptedDialogs dialogs;
};

TEST_F(FileWork, AMissingFileIsLeftAloneWithoutAMessage) {
  QFile::remove(day);
  bool ran = false;
  EXPECT_FALSE(work_on_file(QStringLiteral("read_myfile"), day, bak, [&] { ran = true; }));
  EXPECT_FALSE(ran);
  EXPECT_FALSE(QFile::exists(day)) << "the backup is not brought in for a missing file";
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(FileWork, ADamagedFileIsRestoredAndTheWorkDoneOnIt) {
  write_bytes(day, "not a day file");
  EXPECT_EQ(count_records(), 1);
  EXPECT_EQ(read_bytes(day + QStringLiteral(".bad")), QByteArray("not a day file"));
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_TRUE(dialogs.last_message().text.startsWith(QStringLiteral("数据文件已从备份恢复：") + day));
}

TEST_F(FileWork, AFolderInThePlaceOfTheFileIsDamageThatNoBackupReplaces) {
  QFile::remove(day);
  QDir(dir.path()).mkdir(QStringLiteral("7.day"));
  EXPECT_EQ(count_records(), -1);
  EXPECT_EQ(dialogs.messages().size(), 2) << "the recovery's two messages, and no third";
  EXPECT_TRUE(QFileInfo(day).isDir());
}

TEST_F(FileWork, AFailureThatNoBackupMendsIsReportedUnderTheProcedure) {
  // Both the file and its backup damaged, and no room for the file rebuilt from them.
  write_bytes(day, "bad");
  write_bytes(bak, "also bad");
  QDir(dir.path()).mkdir(QStringLiteral("7.day.tmp~"));
  EXPECT_EQ(count_records(QStringLiteral("find_price")), -1);
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("数据出错！[find_price]")});
  EXPECT_EQ(read_bytes(day), QByteArray("bad"));

  // A refused value: the file keeps what it had, nothing is restored over it.
  DataFile::create(dir.filePath(QStringLiteral("8.day")), day_schema());
  const QString other = dir.filePath(QStringLiteral("8.day"));
  dialogs.clear();
  EXPECT_FALSE(recovered(QStringLiteral("save_line"), other, bak, [&] {
    DataFile::open(other).append({{day::kCustomer, QString(51, QLatin1Char('x'))}});
  }));
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("数据出错！[save_line]")});
  EXPECT_FALSE(QFile::exists(other + QStringLiteral(".bad")));
}

}  // namespace
}  // namespace tavuro::store
