// The disk fills up under the shop: the day file lives on a small filesystem (a tmpfs of
// 512 KiB mounted for the test) that a filler file fills to the last byte.

#include "procedures/damage.h"
#include "procedures/damage_run.h"

#include "cashier/receipt_number.h"
#include "cashier/sale_record.h"
#include "platform/file_ops.h"
#include "startup/data_files.h"
#include "startup/start_up.h"
#include "store/backup.h"
#include "store/data_file.h"

#include <gtest/gtest.h>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace tavuro::reliability {
namespace {

using store::DataFile;

class DiskFull : public ::testing::Test {
 protected:
  static constexpr int kLines = 1500;

  void SetUp() override {
    if (::geteuid() != 0) GTEST_SKIP() << "mounting a small filesystem needs root; the disk-full cases did not run";
    mount_point_ = QFile::encodeName(dir_.path());
    if (::mount("tmpfs", mount_point_.constData(), "tmpfs", 0, "size=512k") != 0) {
      GTEST_SKIP() << "cannot mount a tmpfs here (" << std::strerror(errno) << "); the disk-full cases did not run";
    }
    mounted_ = true;
    startup::set_paths(state_, dir_.path(), QDate(2003, 5, 7));
    startup::make_day_file(state_);
    // The journal starts before the day's lines, so that it stays small beside them.
    startup::make_journal(state_);
    // A day of 1,500 lines: its backup copy needs more room than one more line (with its
    // journal entry) does.
    std::vector<store::FieldValues> day(
        kLines - 1, {{store::day::kGoods, QStringLiteral("可乐")}, {store::day::kAmount, QStringLiteral("2.50")}});
    DataFile::open(state_.paths.day_file).append_all(day);
    ASSERT_TRUE(record(kLines));
    ASSERT_TRUE(dialogs_.messages.isEmpty());
  }
  void TearDown() override {
    if (mounted_) ::umount2(mount_point_.constData(), MNT_DETACH);
  }

  bool record(int n) {
    return cashier::save_line(
               state_.paths, {{QStringLiteral("可乐"), QStringLiteral("1.00"), QStringLiteral("2.50"),
                               QStringLiteral("2.50"), QStringLiteral("001"), QStringLiteral("15:05:09")},
                              QString(),
                              QStringLiteral("%1").arg(n, 6, 10, QLatin1Char('0'))})
        .has_value();
  }
  int lines() { return DataFile::open(state_.paths.day_file, store::day_schema()).record_count(); }

  // Writes the filler until the filesystem refuses another byte.
  void fill() {
    const int fd = ::open(QFile::encodeName(filler()).constData(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    ASSERT_GE(fd, 0);
    const QByteArray block(4096, 'x');
    while (::write(fd, block.constData(), static_cast<size_t>(block.size())) > 0) {
    }
    while (::write(fd, block.constData(), 1) > 0) {
    }
    ::close(fd);
  }
  // Gives bytes back to the filesystem.
  void release(qint64 bytes) {
    ::truncate(QFile::encodeName(filler()).constData(), std::max<qint64>(0, QFileInfo(filler()).size() - bytes));
  }
  QString filler() const { return dir_.filePath(QStringLiteral("filler")); }

  QTemporaryDir dir_;
  QByteArray mount_point_;
  bool mounted_ = false;
  startup::AppState state_;
  RecordingDialogs dialogs_;
  platform::ScopedDialogs scope_{dialogs_};
};

TEST_F(DiskFull, RecordingFailsWithAMessageLosesNothingAndWorksAgainOnceThereIsRoom) {
  const QByteArray backup_before = bytes_of(state_.paths.day_backup);
  fill();
  ASSERT_FALSE(record(100));
  EXPECT_EQ(dialogs_.messages, QStringList{QStringLiteral("数据出错！[save_line]")});
  EXPECT_EQ(lines(), kLines);
  EXPECT_TRUE(DataFile::open(state_.paths.day_file).is_intact());
  EXPECT_EQ(bytes_of(state_.paths.day_backup), backup_before);

  // Room comes back a page at a time: each attempt fails whole, or records the line (with
  // the warning that the backup copy failed while there is no room for it yet).
  int recorded = kLines;
  int without_backup = 0;
  bool backed_up = false;
  for (int attempt = 0; attempt < 100 && !backed_up; ++attempt) {
    dialogs_.messages.clear();
    release(4096);
    const bool saved = record(101 + attempt);
    if (saved) ++recorded;
    EXPECT_EQ(lines(), recorded);
    EXPECT_TRUE(DataFile::open(state_.paths.day_file).is_intact());
    EXPECT_TRUE(intact(state_.paths.day_backup, store::day_schema())) << "attempt " << attempt;
    if (!saved) {
      EXPECT_EQ(dialogs_.messages, QStringList{QStringLiteral("数据出错！[save_line]")});
    } else if (!dialogs_.messages.isEmpty()) {
      ++without_backup;
      EXPECT_EQ(dialogs_.messages,
                QStringList{QLatin1Char('[') + state_.paths.day_file + QStringLiteral("]数据文件备份出错！")});
    } else {
      backed_up = true;
      EXPECT_EQ(bytes_of(state_.paths.day_backup), bytes_of(state_.paths.day_file));
    }
  }
  EXPECT_TRUE(backed_up) << "recording never worked again";
  EXPECT_GT(without_backup, 0) << "no line was recorded while only its backup copy failed";
  EXPECT_FALSE(QFile::exists(state_.paths.day_file + QStringLiteral(".bad")));
}

TEST_F(DiskFull, TheCopyBeforeTheLastBackupHoldsTheRoomOfTheNextOne) {
  // A second backup copy: the copy before it stays beside it, and takes the next one.
  ASSERT_TRUE(record(kLines + 1));
  ASSERT_TRUE(QFileInfo(platform::kept_copy_of(state_.paths.day_backup)).isFile());
  fill();
  // Room comes back a page at a time: once there is room for the line, its backup copy
  // is made too, although a new copy of the day file would not fit.
  bool saved = false;
  for (int attempt = 0; attempt < 20 && !saved; ++attempt) {
    dialogs_.messages.clear();
    release(4096);
    saved = record(kLines + 2 + attempt);
  }
  ASSERT_TRUE(saved);
  EXPECT_TRUE(dialogs_.messages.isEmpty()) << dialogs_.messages.join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(bytes_of(state_.paths.day_backup), bytes_of(state_.paths.day_file));
  EXPECT_FALSE(platform::copy_file_atomic(state_.paths.day_file, dir_.filePath(QStringLiteral("7.copy"))))
      << "a new copy would have fitted: the test shows nothing";
}

TEST_F(DiskFull, AReceiptNumberThatCannotBeWrittenKeepsTheOldOne) {
  state_.receipt_counter = 57;
  ASSERT_TRUE(cashier::new_receipt_no(state_));
  fill();
  EXPECT_FALSE(cashier::new_receipt_no(state_));
  EXPECT_EQ(dialogs_.messages, QStringList{QStringLiteral("写单号文件时出错.[w_no_file]")});
  EXPECT_EQ(bytes_of(state_.paths.nober_file), QByteArray("58"));
}

TEST_F(DiskFull, ADamagedDayFileIsNotReplacedWhenItCannotBeSetAside) {
  const QByteArray backup_before = bytes_of(state_.paths.day_backup);
  QByteArray damaged = bytes_of(state_.paths.day_file);
  damaged.replace(0, 16, "no database here");
  ASSERT_TRUE(put_bytes(state_.paths.day_file, damaged));
  fill();
  EXPECT_FALSE(record(100));
  EXPECT_EQ(dialogs_.messages.first(), QStringLiteral("备份数据文件出错。"));
  EXPECT_EQ(bytes_of(state_.paths.day_file), damaged);
  EXPECT_EQ(bytes_of(state_.paths.day_backup), backup_before);
}

}  // namespace
}  // namespace tavuro::reliability
