// The recovery of a damaged day file as the shop meets it at start-up, over the cases
// where copying the backup over the file made things worse: a backup that is damaged
// too, a backup older than the file, a file that is whole but longer than its pages, a
// start after a start. And the backup's hidden copy before the last, which no list shows.

#include "procedures/damage_run.h"

#include "cashier/frm_shop.h"
#include "cashier/sale_record.h"
#include "cashier/send_file.h"
#include "platform/dialogs.h"
#include "platform/file_ops.h"
#include "query/query_engine.h"
#include "startup/start_up.h"
#include "store/backup.h"
#include "store/data_file.h"

#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QListWidget>

namespace tavuro::reliability {
namespace {

constexpr int kPage = 4096;

class RecoveryAtStartUp : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordingDialogs quiet;
    platform::ScopedDialogs scope(quiet);
    fill_shop(state, dir.path());
    day = state.paths.day_file;
    backup = state.paths.day_backup;
    whole = bytes_of(day);
    ASSERT_GT(whole.size(), 6 * kPage);
  }
  // Starts the program; returns the number of lines today's list shows.
  int start_up() {
    int lines = -1;
    EXPECT_TRUE(startup::start_up(state, dir.path(), QDate(2003, 5, 7), [&lines](startup::AppState& s) {
      const cashier::Frm_shop window(s);
      lines = window.findChild<QListWidget*>(QStringLiteral("List2"))->count();
    }));
    return lines;
  }
  // The day file with the leaf page that holds the first lines gone.
  QByteArray with_broken_leaf() const {
    QByteArray bytes = whole;
    bytes.replace(2 * kPage, kPage, QByteArray(kPage, '\0'));
    return bytes;
  }
  // The backup as it was ten lines ago.
  void older_backup() {
    store::DataFile file = store::DataFile::open(backup);
    for (qint64 id = 291; id <= 300; ++id) file.remove(id);
  }
  int records_in(const QString& path) const { return store::DataFile::open(path).record_count(); }

  QTemporaryDir dir;
  startup::AppState state;
  testing::ScriptedDialogs dialogs;
  QString day;
  QString backup;
  QByteArray whole;
};

TEST_F(RecoveryAtStartUp, ASecondStartKeepsTheDamagedFileAndEveryLine) {
  const QByteArray damaged = with_broken_leaf();
  put_bytes(day, damaged);
  put_bytes(backup, whole.left(whole.size() / 2));  // the backup cut in half

  EXPECT_EQ(start_up(), 300) << "the lines of the broken leaf are in the first half of the backup";
  ASSERT_EQ(dialogs.messages().size(), 1);
  EXPECT_TRUE(dialogs.last_message().text.startsWith(QStringLiteral("数据文件已从备份恢复：") + day));
  dialogs.clear();
  EXPECT_EQ(start_up(), 300);
  EXPECT_TRUE(dialogs.shown().empty()) << "the day file is whole since the first start";
  // The damaged file and the damaged backup are both still on the disk.
  EXPECT_EQ(bytes_of(day + QStringLiteral(".bad")), damaged);
  EXPECT_EQ(bytes_of(backup + QStringLiteral(".bad")), whole.left(whole.size() / 2));
  EXPECT_EQ(bytes_of(backup), bytes_of(day));
}

TEST_F(RecoveryAtStartUp, AFileThatReadsWholeIsNoDamageForBytesAfterItsLastPage) {
  older_backup();
  put_bytes(day, whole + QByteArray(10, '\x5a'));
  EXPECT_EQ(start_up(), 300);
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_FALSE(QFile::exists(day + QStringLiteral(".bad")));
  EXPECT_EQ(records_in(backup), 290) << "nothing was restored over the file";
}

TEST_F(RecoveryAtStartUp, AnOlderBackupNeverTakesAwayTheLinesRecordedSince) {
  older_backup();
  const QByteArray damaged = with_broken_leaf();
  put_bytes(day, damaged);
  EXPECT_EQ(start_up(), 300);
  // Told once: what was done, how many lines the day holds, where the damaged copy lies.
  ASSERT_EQ(dialogs.messages().size(), 1);
  const QString notice = dialogs.last_message().text;
  EXPECT_TRUE(notice.startsWith(QStringLiteral("数据文件已从备份恢复：") + day)) << notice.toStdString();
  EXPECT_TRUE(notice.contains(QStringLiteral("文件现有 300 条记录"))) << notice.toStdString();
  EXPECT_TRUE(notice.endsWith(QStringLiteral("损坏的文件保存为：") + day + QStringLiteral(".bad")))
      << notice.toStdString();
  // The lines keep their records' ids: the day reads as it did before the damage.
  const auto before = [this] {
    const QString copy = dir.filePath(QStringLiteral("whole.day"));
    put_bytes(copy, whole);
    return records_of(copy, store::day_schema());
  }();
  EXPECT_EQ(records_of(day, store::day_schema()), before);
}

TEST_F(RecoveryAtStartUp, TheBackupCatchesUpWithEveryLineWritten) {
  const cashier::SaleRecord line{{QStringLiteral("可乐"), QStringLiteral("1.00"), QStringLiteral("2.50"),
                                  QStringLiteral("2.50"), QStringLiteral("001"), QStringLiteral("15:05:09")},
                                 QString(),
                                 QStringLiteral("000999")};
  // A line written into the file just restored from its backup.
  put_bytes(day, "damaged");
  ASSERT_TRUE(cashier::save_line(state.paths, line));
  EXPECT_EQ(records_in(day), 301);
  EXPECT_EQ(bytes_of(backup), bytes_of(day));

  // A copy that failed (a folder in the way of the backup's new copy), then the next line.
  dialogs.clear();
  QDir().mkdir(backup + QStringLiteral(".tmp~"));
  QFile::remove(platform::kept_copy_of(backup));
  QDir().mkdir(platform::kept_copy_of(backup));
  ASSERT_TRUE(cashier::save_line(state.paths, line));
  EXPECT_EQ(dialogs.messages(), QStringList{QLatin1Char('[') + day + QStringLiteral("]数据文件备份出错！")});
  EXPECT_EQ(records_in(backup), 301);
  QDir().rmdir(backup + QStringLiteral(".tmp~"));
  QDir().rmdir(platform::kept_copy_of(backup));
  ASSERT_TRUE(cashier::save_line(state.paths, line));
  EXPECT_EQ(records_in(backup), 303);
  EXPECT_EQ(bytes_of(backup), bytes_of(day));
}

TEST_F(RecoveryAtStartUp, WhenNothingCanMendTheDayStartUpGoesOnWithTheMessageOfItsList) {
  // Both the day file and its backup damaged, and no room for the file rebuilt from them.
  put_bytes(day, "damaged");
  put_bytes(backup, "damaged too");
  QDir().mkdir(day + QStringLiteral(".tmp~"));
  EXPECT_EQ(start_up(), 0) << "the window is shown, with an empty list";
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("数据出错！[read_myfile]")});
  EXPECT_EQ(bytes_of(day), QByteArray("damaged"));
  EXPECT_TRUE(kept_at_or_beside(backup, "damaged too"));
}

TEST_F(RecoveryAtStartUp, TheCopyBeforeTheLastBackupIsInNoListOfDayFiles) {
  const cashier::SaleRecord line{{QStringLiteral("茶"), QStringLiteral("1.00"), QStringLiteral("1.00"),
                                  QStringLiteral("1.00"), QStringLiteral("001"), QStringLiteral("15:05:09")},
                                 QString(),
                                 QStringLiteral("000998")};
  ASSERT_TRUE(cashier::save_line(state.paths, line));
  ASSERT_TRUE(QFileInfo(platform::kept_copy_of(backup)).isFile());
  put_bytes(day + QStringLiteral(".bad"), "an old damaged copy");
  // The query window's list of the month folder.
  EXPECT_EQ(query::day_file_names(state.paths.month_folder), QStringList{QStringLiteral("7.day")});
  // The file dialog of file sending offers the day files: the same patterns find only 7.day.
  dialogs.answer_file(QString());
  cashier::send_day_file(state.paths.app_dir);
  const QString filter = platform::qt_file_filter(dialogs.shown().back().file.filter);
  const QStringList patterns =
      filter.section(QLatin1Char('('), 1).section(QLatin1Char(')'), 0, 0).split(QLatin1Char(' '));
  EXPECT_EQ(QDir(state.paths.month_folder).entryList(patterns, QDir::Files), QStringList{QStringLiteral("7.day")});
}

}  // namespace
}  // namespace tavuro::reliability
