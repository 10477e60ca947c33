// The tavuro-sync program over real till folders and a real server: it waits for a server
// that is down, survives being killed at any moment while two tills record, and stops with
// the reason when the server refuses a till's journal.

#include "headoffice/pg_connection.h"
#include "pg_server.h"
#include "server_check.h"
#include "support/killed_child.h"
#include "support/waiting.h"
#include "till_folder.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <random>

namespace tavuro::headoffice::test {
namespace {

const QString kSync = QStringLiteral(TAVURO_SYNC);
const QString kTillChild = QStringLiteral(TILL_CHILD);

class SyncProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pg_.problem().isEmpty()) << pg_.problem().toStdString();
    ASSERT_TRUE(pg_.create_database(QStringLiteral("shop"))) << pg_.problem().toStdString();
  }
  PgConnection server() { return PgConnection::open(pg_.settings(QStringLiteral("shop"))); }

  // Runs tavuro-sync --once on a till folder to its end; returns its exit code.
  int ship_once(const TillFolder& till, QString* said = nullptr) {
    QProcess sync;
    sync.start(kSync, {QStringLiteral("--once"), till.dir()});
    EXPECT_TRUE(sync.waitForFinished(static_cast<int>(testing::kPatience.count())));
    if (said) *said = QString::fromUtf8(sync.readAllStandardError());
    return sync.exitCode();
  }

  PgServer pg_;
};

TEST_F(SyncProgramTest, WaitsForTheServerAndShipsOnceItIsUp) {
  QTemporaryDir dir;
  const TillFolder till(dir.path());
  till.write_identity(QStringLiteral("一号台"), pg_.settings(QStringLiteral("shop")));
  for (int i = 0; i < 3; ++i) till.record(1, QStringLiteral("苹果"), QStringLiteral("2.50"));
  ASSERT_TRUE(pg_.stop());

  QProcess sync;
  sync.start(kSync, {QStringLiteral("--acks"), till.dir()});
  QByteArray said;
  EXPECT_TRUE(testing::wait_until([&] {
    sync.waitForReadyRead(50);
    said += sync.readAllStandardError();
    return QString::fromUtf8(said).contains(QStringLiteral("稍后重试"));
  })) << said.constData();
  ASSERT_TRUE(pg_.start());
  QByteArray acks;
  EXPECT_TRUE(testing::wait_until([&] {
    sync.waitForReadyRead(50);
    acks += sync.readAllStandardOutput();
    return acks.contains("ack 2026_12 3");
  })) << acks.constData();
  // While it runs it follows the journal: a line recorded now reaches the server.
  till.record(2, QStringLiteral("香蕉"), QStringLiteral("1.25"));
  EXPECT_TRUE(testing::wait_until([&] {
    sync.waitForReadyRead(50);
    acks += sync.readAllStandardOutput();
    return acks.contains("ack 2026_12 4");
  })) << acks.constData();
  sync.kill();
  sync.waitForFinished();
  PgConnection check = server();
  EXPECT_EQ(server_lines(check, QStringLiteral("一号台")), till.records());
}

TEST_F(SyncProgramTest, TwoTillsRecordingWhileTheShipperIsKilledAHundredTimes) {
  QTemporaryDir dir_a;
  QTemporaryDir dir_b;
  QTemporaryDir stop;
  const std::vector<std::pair<TillFolder, QString>> tills{{TillFolder(dir_a.path()), QStringLiteral("一号台")},
                                                          {TillFolder(dir_b.path()), QStringLiteral("二号台")}};
  const QString stop_file = QDir(stop.path()).filePath(QStringLiteral("stop"));
  std::vector<std::unique_ptr<QProcess>> recorders;
  for (size_t i = 0; i < tills.size(); ++i) {
    tills[i].first.write_identity(tills[i].second, pg_.settings(QStringLiteral("shop")));
    auto recorder = std::make_unique<QProcess>();
    recorder->setStandardOutputFile(QProcess::nullDevice());
    recorder->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    recorder->start(kTillChild, {tills[i].first.dir(), stop_file, QString::number(17 + i)});
    ASSERT_TRUE(recorder->waitForStarted());
    recorders.push_back(std::move(recorder));
  }

  // Small batches, so that most kills fall between or inside the transactions of one run.
  std::mt19937 random(20261209);
  for (int kill = 0; kill < 100; ++kill) {
    const TillFolder& till = tills[static_cast<size_t>(kill) % tills.size()].first;
    testing::run_and_kill(kSync, {QStringLiteral("--acks"), QStringLiteral("--batch"), QStringLiteral("5"),
                                  QStringLiteral("--poll"), QStringLiteral("5"), till.dir()},
                          20000, random);
    if (::testing::Test::HasFailure()) break;
  }

  {
    QFile file(stop_file);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  for (const auto& recorder : recorders) {
    EXPECT_TRUE(recorder->waitForFinished(static_cast<int>(testing::kPatience.count())));
    EXPECT_EQ(recorder->exitCode(), 0);
  }
  PgConnection check = server();
  for (const auto& [till, name] : tills) {
    ASSERT_EQ(ship_once(till), 0);
    const auto local = till.records();
    EXPECT_GT(local.size(), 10u);
    EXPECT_EQ(server_lines(check, name), local) << name.toStdString();
    EXPECT_EQ(server_total_fen(check, name), till.total().hundredths()) << name.toStdString();
    const std::optional<store::JournalEntry> last = store::last_journal_entry(till.journal());
    ASSERT_TRUE(last);
    EXPECT_EQ(server_entry_numbers(check, name), one_to(last->number)) << name.toStdString();
  }
}

TEST_F(SyncProgramTest, ARefusedJournalEndsTheProgramWithTheReason) {
  QTemporaryDir dir;
  const TillFolder till(dir.path());
  // server.dat may hold a URI as well as a connection string.
  till.write_identity(QStringLiteral("一号台"), QStringLiteral("postgresql://tavuro@127.0.0.1:%1/shop").arg(pg_.port()));
  for (int i = 0; i < 4; ++i) till.record(1, QStringLiteral("苹果"), QStringLiteral("1.00"));
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(till.journal().toUtf8().constData(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, "UPDATE Journal SET operator = '999' WHERE number = 2", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);

  QString said;
  EXPECT_EQ(ship_once(till, &said), 3);
  EXPECT_TRUE(said.contains(QStringLiteral("第 2 条"))) << said.toStdString();
  PgConnection check = server();
  EXPECT_EQ(server_entry_numbers(check, QStringLiteral("一号台")), one_to(1));
  // A till without server.dat takes no part: the program says so and ends.
  QTemporaryDir alone;
  EXPECT_EQ(ship_once(TillFolder(alone.path()), &said), 2);
  EXPECT_TRUE(said.contains(QStringLiteral("server.dat")));
}

}  // namespace
}  // namespace tavuro::headoffice::test
