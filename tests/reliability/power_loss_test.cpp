// Power failures: a child makes one kind of change to a shop under a recorder of every
// file operation (power_loss/fs_recorder.cpp), and every state the disk may be left in by a
// power failure at any moment of that run (power_loss/crash_states.h) is built and checked
// as the next start-up would find it: every data file opens and is whole, every change
// acknowledged before the failure is there, in the file and in its backup, and nober.dat
// holds a number.
//
// TAVURO_POWER_LOSS_ALL_UP_TO (default 10) and TAVURO_POWER_LOSS_RANDOM (default 64) set
// how many combinations of the operations not yet flushed are built at each moment;
// TAVURO_POWER_LOSS_SECTOR the size of the pieces a write may reach the disk in (default
// 0: whole writes; 512 for a disk of 512-byte sectors); TAVURO_POWER_LOSS_CHANGES
// (default 2) how many changes each run makes.

#include "power_loss/crash_states.h"
#include "procedures/damage_run.h"

#include "platform/text_file.h"
#include "startup/start_up.h"
#include "store/backup.h"
#include "store/data_file.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <iostream>

namespace tavuro::reliability {
namespace {

namespace day = store::day;
using Records = std::map<qint64, QStringList>;

constexpr int kFixtureLines = 300;
const QString kDay = QStringLiteral("2003_5/7.day");
const QString kDayBackup = QStringLiteral("2003_5/7.bak");

int setting(const char* name, int fallback, int most) {
  bool ok = false;
  const int value = qEnvironmentVariableIntValue(name, &ok);
  return ok && value >= 0 && value <= most ? value : fallback;
}

int changes() {
  return std::max(1, setting("TAVURO_POWER_LOSS_CHANGES", 2, 1000));
}

CrashLimits limits() {
  CrashLimits limits;
#if defined(__SANITIZE_ADDRESS__)
  // Each state's checks run some ten times slower under the sanitizers: fewer states keep
  // the test within its time there; the ordinary build checks them all.
  limits.all_up_to = 6;
  limits.random_subsets = 12;
#endif
  limits.all_up_to = setting("TAVURO_POWER_LOSS_ALL_UP_TO", limits.all_up_to, 23);
  limits.random_subsets = setting("TAVURO_POWER_LOSS_RANDOM", limits.random_subsets, 1 << 20);
  return limits;
}

bool is_database(const QByteArray& bytes) {
  return bytes.startsWith(QByteArrayLiteral("SQLite format 3"));
}

// What SQLite's check of a database file says, as the next start opens it (rolling back
// a journal a crash left): "ok" for a whole database, whatever its tables.
QString sqlite_check(const QString& path) {
  sqlite3* db = nullptr;
  QString result = QStringLiteral("does not open");
  if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
    sqlite3_stmt* check = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &check, nullptr) == SQLITE_OK) {
      result = sqlite3_step(check) == SQLITE_ROW
                   ? QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)))
                   : QString::fromUtf8(sqlite3_errmsg(db));
    } else {
      result = QString::fromUtf8(sqlite3_errmsg(db));
    }
    sqlite3_finalize(check);
  }
  sqlite3_close(db);
  return result;
}

// The paths two trees do not agree on.
QStringList differences(const FsTree& a, const FsTree& b) {
  QStringList paths;
  for (auto it = a.files.cbegin(); it != a.files.cend(); ++it) {
    if (b.files.value(it.key()) != it.value() || !b.files.contains(it.key())) paths << it.key();
  }
  for (auto it = b.files.cbegin(); it != b.files.cend(); ++it) {
    if (!a.files.contains(it.key())) paths << it.key();
  }
  for (const QString& folder : (a.folders - b.folders) | (b.folders - a.folders)) paths << folder + QLatin1Char('/');
  return paths;
}

// Files that are no data file to open: journals, temporary and kept copies, damaged copies.
bool is_working_copy(const QString& path) {
  const QString name = path.section(QLatin1Char('/'), -1);
  return name.startsWith(QLatin1Char('.')) || name.endsWith(QStringLiteral("-journal")) ||
         name.contains(QStringLiteral(".tmp~")) || name.contains(QStringLiteral(".bad"));
}

// A sale line's receipt numbers in a day file, each as often as it is there; nullopt when
// the file does not open whole.
std::optional<QStringList> receipts_in(const QString& path) {
  try {
    const store::DataFile file = store::DataFile::open(path, store::day_schema());
    if (!file.is_intact()) return std::nullopt;
    return file.column(day::kReceiptNo);
  } catch (const store::StoreError&) {
    return std::nullopt;
  }
}

class PowerLoss : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = memory_dir();
    app_dir_ = QFileInfo(app_->path()).canonicalFilePath();
    RecordingDialogs quiet;
    platform::ScopedDialogs scope(quiet);
    fill_shop(state_, app_dir_);
    ASSERT_TRUE(platform::write_one_line_file(state_.paths.nober_file, QStringLiteral("57")));
  }

  // Runs the child in mode under the recorder and checks every state a power failure
  // may leave with check (which returns the problems of one state, found in dir).
  void every_power_failure(const QString& mode,
                         const std::function<QStringList(const QString& dir, const CrashState&)>& check) {
    const FsTree before = read_tree(app_dir_);
    QTemporaryDir log_dir;
    const QString log = log_dir.filePath(QStringLiteral("operations"));
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(POWER_LOSS_RECORDER));
    env.insert(QStringLiteral("TAVURO_FSREC_ROOT"), app_dir_);
    env.insert(QStringLiteral("TAVURO_FSREC_LOG"), log);
    // The recorder comes before the sanitizers' runtime in a sanitizer build.
    env.insert(QStringLiteral("ASAN_OPTIONS"),
               env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":verify_asan_link_order=0"));
    child.setProcessEnvironment(env);
    child.start(QStringLiteral(POWER_LOSS_CHILD), {mode, app_dir_, QString::number(changes())});
    ASSERT_TRUE(child.waitForFinished(120000));
    const QString output = QString::fromUtf8(child.readAllStandardOutput());
    ASSERT_EQ(child.exitCode(), 0) << output.toStdString() << child.readAllStandardError().toStdString();
    ASSERT_TRUE(output.contains(QStringLiteral("\ndone")) || output.startsWith(QStringLiteral("done")))
        << output.toStdString();

    bool ok = false;
    std::vector<FsOp> ops = read_fs_log(log, &ok);
    ASSERT_TRUE(ok);
    const CrashStates states(before, std::move(ops), setting("TAVURO_POWER_LOSS_SECTOR", 0, 65536));
    ASSERT_TRUE(states.problems().isEmpty()) << states.problems().join(QLatin1Char('\n')).toStdString();
    // The record holds every change the run made: replayed, it gives what the disk holds.
    const FsTree replayed = states.complete();
    const FsTree after = read_tree(app_dir_);
    ASSERT_TRUE(replayed == after) << "the recorder missed an operation on "
                                   << differences(replayed, after).join(QStringLiteral(", ")).toStdString();

    QStringList problems;
    int failed_states = 0;
    const CrashFigures figures = states.for_each(limits(), [&](const CrashState& state) {
      QTemporaryDir scratch(QFileInfo(app_->path()).path() + QStringLiteral("/state-XXXXXX"));
      if (!write_tree(state.disk, scratch.path())) {
        problems << QStringLiteral("state after %1 operations could not be written").arg(state.issued);
        return;
      }
      QStringList found = general_checks(scratch.path(), before, state, known_damaged_) + check(scratch.path(), state);
      if (found.isEmpty()) return;
      if (++failed_states <= 5) {
        problems << QStringLiteral("after %1 of the operations (marks: %2): %3")
                        .arg(state.issued)
                        .arg(state.marks.join(QStringLiteral(", ")), found.join(QStringLiteral("; ")));
      }
    });
    EXPECT_TRUE(problems.isEmpty()) << failed_states << " states failed; the first:\n"
                                    << problems.join(QLatin1Char('\n')).toStdString();
    EXPECT_GT(figures.distinct, figures.moments / 2);
    if (problems.isEmpty()) {
      std::cout << "[ figures  ] " << mode.toStdString() << ": " << figures.operations << " operations, "
                << figures.moments << " moments, " << figures.built << " states built, " << figures.distinct
                << " distinct states checked, at most " << figures.most_uncovered << " operations not flushed"
                << std::endl;
    }
  }

  // What holds in every state: the files the shop had are there, every database under the
  // folder (data files, and any other the program keeps there) opens and is whole,
  // nober.dat holds a number.
  static QStringList general_checks(const QString& dir, const FsTree& before, const CrashState& state,
                                   const QMap<QString, QByteArray>& known_damaged) {
    QStringList problems;
    for (auto it = before.files.cbegin(); it != before.files.cend(); ++it) {
      if (!is_working_copy(it.key()) && !state.disk.files.contains(it.key()))
        problems << it.key() + QStringLiteral(" is gone");
    }
    for (auto it = state.disk.files.cbegin(); it != state.disk.files.cend(); ++it) {
      if (is_working_copy(it.key()) || !is_database(before.files.value(it.key(), it.value()))) continue;
      if (known_damaged.contains(it.key()) && known_damaged.value(it.key()) == it.value()) continue;
      const QString check = sqlite_check(QDir(dir).filePath(it.key()));
      if (check != QStringLiteral("ok")) problems << it.key() + QStringLiteral(": ") + check;
    }
    bool number = false;
    // The setting files are UTF-8, and may begin with its mark.
    const QString counter =
        QString::fromUtf8(state.disk.files.value(QStringLiteral("nober.dat"))).remove(QChar(0xFEFF)).trimmed();
    counter.toLongLong(&number);
    if (!number) problems << QStringLiteral("nober.dat holds \"%1\"").arg(counter);
    return problems;
  }

  // Files damaged on purpose before the run: not whole as long as they hold these bytes.
  QMap<QString, QByteArray> known_damaged_;
  std::unique_ptr<QTemporaryDir> app_;
  QString app_dir_;
  startup::AppState state_;
};

// The fixture's lines and each acknowledged line once, nothing else, in the day file and
// in its backup.
QStringList sale_lines_held(const QString& dir, const CrashState& state, int fixture_lines = kFixtureLines) {
  QStringList problems;
  for (const QString& file : {kDay, kDayBackup}) {
    const std::optional<QStringList> receipts = receipts_in(QDir(dir).filePath(file));
    if (!receipts) {
      problems << file + QStringLiteral(" does not open whole");
      continue;
    }
    const qsizetype old = std::count_if(receipts->cbegin(), receipts->cend(),
                                        [](const QString& r) { return r < QStringLiteral("000900"); });
    if (old != fixture_lines) problems << QStringLiteral("%1 holds %2 of the earlier lines").arg(file).arg(old);
    for (const QString& mark : state.marks) {
      if (receipts->count(mark) != 1)
        problems << QStringLiteral("%1 holds line %2 %3 times").arg(file, mark).arg(receipts->count(mark));
    }
    for (const QString& receipt : *receipts) {
      if (receipt >= QStringLiteral("000900") && receipt.toInt() > 900 + changes()) {
        problems << file + QStringLiteral(" holds a line never written");
      }
    }
  }
  return problems;
}

TEST_F(PowerLoss, RecordingSaleLines) {
  every_power_failure(QStringLiteral("sale"),
                    [](const QString& dir, const CrashState& state) { return sale_lines_held(dir, state); });
}

TEST_F(PowerLoss, TheFirstLinesOfANewMonth) {
  QDir(state_.paths.month_folder).removeRecursively();
  every_power_failure(QStringLiteral("new-month"), [](const QString& dir, const CrashState& state) {
    if (state.marks.isEmpty()) {
      // The day file appears whole or not at all.
      const QString day_file = QDir(dir).filePath(kDay);
      if (QFileInfo::exists(day_file) && !receipts_in(day_file))
        return QStringList{QStringLiteral("a half-made day file")};
      return QStringList();
    }
    return sale_lines_held(dir, state, 0);
  });
}

TEST_F(PowerLoss, ChangingTheGoodsCatalogue) {
  every_power_failure(QStringLiteral("goods"), [](const QString& dir, const CrashState& state) {
    QStringList problems;
    for (const QString& file : {QStringLiteral("shop.dat"), QStringLiteral("shop.bak")}) {
      std::optional<Records> records = records_of(QDir(dir).filePath(file), store::shop_schema());
      if (!records) {
        problems << file + QStringLiteral(" does not read");
        continue;
      }
      QMap<QString, QStringList> prices;
      for (const auto& [id, values] : *records) prices[values[0]] << values[1];
      for (auto it = prices.cbegin(); it != prices.cend(); ++it) {
        if (it.value().size() > 1) problems << file + QStringLiteral(" holds ") + it.key() + QStringLiteral(" twice");
      }
      if (prices.size() < 300) problems << file + QStringLiteral(" lost goods");
      for (const QString& mark : state.marks) {
        if (mark.startsWith(QStringLiteral("add ")) && !prices.contains(mark.mid(4))) {
          problems << file + QStringLiteral(" lacks the goods registered");
        }
      }
      if (state.marks.contains(QStringLiteral("price 茶")) &&
          prices.value(QStringLiteral("茶")) != QStringList{QStringLiteral("9.99")}) {
        problems << file + QStringLiteral(" lacks the new price");
      }
      if (state.marks.contains(QStringLiteral("del 可乐")) && prices.contains(QStringLiteral("可乐"))) {
        problems << file + QStringLiteral(" still holds the goods deleted");
      }
    }
    return problems;
  });
}

TEST_F(PowerLoss, EditingARecord) {
  every_power_failure(QStringLiteral("edit"), [](const QString& dir, const CrashState& state) {
    QStringList problems;
    const std::optional<Records> records = records_of(QDir(dir).filePath(kDay), store::day_schema());
    if (!records || records->size() != std::size_t(kFixtureLines))
      return QStringList{QStringLiteral("the day lost lines")};
    // Edit n sets the quantity to n + 1 and the amount to 2.50 times that; edit 0 is the
    // record as it was.
    const QStringList& edited = records->at(4);  // 茶 at 09:00:03
    const int n = int(edited[1].toDouble()) - 1;
    if (edited[3] != QString::number((n + 1) * 2.5, 'f', 2)) problems << QStringLiteral("the record is half changed");
    const int acknowledged = int(state.marks.size());
    if (n < acknowledged) problems << QStringLiteral("the edit is lost");
    if (n > acknowledged + 1) problems << QStringLiteral("an edit never made");
    // The record edit window makes no backup copy: the backup is whole and holds the day.
    const std::optional<Records> backup = records_of(QDir(dir).filePath(kDayBackup), store::day_schema());
    if (!backup || backup->size() != std::size_t(kFixtureLines)) problems << QStringLiteral("the backup lost lines");
    return problems;
  });
}

TEST_F(PowerLoss, IssuingReceiptNumbers) {
  every_power_failure(QStringLiteral("receipt"), [](const QString&, const CrashState& state) {
    const int number = state.disk.files.value(QStringLiteral("nober.dat")).toInt();
    const int acknowledged = state.marks.isEmpty() ? 57 : state.marks.last().toInt();
    if (number < acknowledged || number > acknowledged + 1) {
      return QStringList{QStringLiteral("nober.dat holds %1 after %2 was issued").arg(number).arg(acknowledged)};
    }
    return QStringList();
  });
}

TEST_F(PowerLoss, RecoveringADamagedDayFile) {
  // A backup ten lines behind, and a leaf among the first lines of the day file gone.
  const QString day_file = state_.paths.day_file;
  const QString backup = state_.paths.day_backup;
  {
    store::DataFile older = store::DataFile::open(backup);
    for (qint64 id = kFixtureLines - 9; id <= kFixtureLines; ++id) older.remove(id);
  }
  QByteArray damaged = bytes_of(day_file);
  damaged.replace(3 * 4096, 4096, QByteArray(4096, '\0'));
  put_bytes(day_file, damaged);
  known_damaged_[kDay] = damaged;
  every_power_failure(QStringLiteral("recovery"), [damaged](const QString& dir, const CrashState& state) {
    QStringList problems;
    const QString path = QDir(dir).filePath(kDay);
    // The damaged bytes are never lost; the day file is still the damaged one, or whole
    // with every line (those the backup lacked among them).
    if (!kept_at_or_beside(path, damaged)) problems << QStringLiteral("the damaged bytes are lost");
    const bool rebuilt = bytes_of(path) != damaged;
    if (!rebuilt && !state.marks.isEmpty()) problems << QStringLiteral("a line acknowledged on the damaged file");
    if (rebuilt) {
      const std::optional<QStringList> lines = receipts_in(path);
      if (!lines || lines->size() < kFixtureLines + state.marks.size())
        problems << QStringLiteral("the day lost lines");
    }
    // The backup is whole, at most the ten lines behind it was, and up to date with every
    // line acknowledged.
    if (state.marks.isEmpty()) {
      const std::optional<QStringList> backup_lines = receipts_in(QDir(dir).filePath(kDayBackup));
      if (!backup_lines || backup_lines->size() < kFixtureLines - 10) problems << QStringLiteral("the backup lost lines");
    } else {
      problems << sale_lines_held(dir, state);
    }
    return problems;
  });
}

}  // namespace
}  // namespace tavuro::reliability
