// Shipping a till's journal to a real PostgreSQL server: every line once, resumed where it
// stopped, and a journal whose chain is broken refused by the server with its reason.

#include "headoffice/server_schema.h"
#include "headoffice/shipper.h"
#include "pg_server.h"
#include "server_check.h"
#include "store/data_file.h"
#include "store/journal_table.h"
#include "store/schemas.h"
#include "till_folder.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace tavuro::headoffice::test {
namespace {

class ShippingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pg_.problem().isEmpty()) << pg_.problem().toStdString();
    ASSERT_TRUE(pg_.create_database(QStringLiteral("shop"))) << pg_.problem().toStdString();
    server_.emplace(PgConnection::open(pg_.settings(QStringLiteral("shop"))));
    ensure_schema(*server_);
  }

  qint64 ship(const TillFolder& till, const QString& name, int batch = 4) {
    Shipper shipper(*server_, name, batch);
    return shipper.ship_all(till.dir());
  }

  PgServer pg_;
  std::optional<PgConnection> server_;
  QTemporaryDir dir_a_;
  QTemporaryDir dir_b_;
};

// Runs sql on a journal.db behind the till's back.
void alter_journal(const QString& journal, const char* sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(journal.toUtf8().constData(), &db), SQLITE_OK);
  char* error = nullptr;
  EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
  sqlite3_free(error);
  sqlite3_close(db);
}

TEST_F(ShippingTest, ShipsEveryLineOnceAndGoesOnWhereItStopped) {
  const TillFolder till(dir_a_.path());
  std::vector<store::RecordRef> refs;
  for (int i = 0; i < 30; ++i) refs.push_back(till.record(1 + i % 2, QStringLiteral("苹果"), QStringLiteral("%1.05").arg(i)));
  ASSERT_TRUE(till.correct_amount(refs[3], QStringLiteral("0.01")));
  ASSERT_TRUE(till.remove(refs[7]));
  ASSERT_TRUE(till.remove(refs[8]));

  EXPECT_EQ(ship(till, QStringLiteral("一号台")), 33);
  EXPECT_EQ(server_lines(*server_, QStringLiteral("一号台")), till.records());
  EXPECT_EQ(server_total_fen(*server_, QStringLiteral("一号台")), till.total().hundredths());
  // A shipper started afresh, as after a restart, finds nothing left to ship.
  EXPECT_EQ(ship(till, QStringLiteral("一号台")), 0);

  // Changes after the shipping: a line on a new day, a correction and a deletion of
  // lines already shipped; only those entries go.
  till.record(3, QStringLiteral("香蕉"), QStringLiteral("12.34"));
  ASSERT_TRUE(till.correct_amount(*till.correct_amount(refs[0], QStringLiteral("99.99")), QStringLiteral("1.10")));
  ASSERT_TRUE(till.remove(refs[29]));
  EXPECT_EQ(ship(till, QStringLiteral("一号台")), 4);
  EXPECT_EQ(server_lines(*server_, QStringLiteral("一号台")), till.records());
  EXPECT_EQ(server_total_fen(*server_, QStringLiteral("一号台")), till.total().hundredths());
  EXPECT_EQ(server_entry_numbers(*server_, QStringLiteral("一号台")), one_to(37));

  // A month from before the journal is not shipped, and named.
  QDir().mkpath(QDir(till.dir()).filePath(QStringLiteral("2026_11")));
  store::DataFile::create(QDir(till.dir()).filePath(QStringLiteral("2026_11/3.day")), store::day_schema());
  Shipper shipper(*server_, QStringLiteral("一号台"));
  EXPECT_EQ(shipper.ship_all(till.dir()), 0);
  EXPECT_EQ(shipper.months_without_journal(), QStringList{QStringLiteral("2026_11")});

  // Another till's lines stand beside them under its own name.
  const TillFolder other(dir_b_.path());
  other.record(1, QStringLiteral("苹果"), QStringLiteral("5.00"));
  EXPECT_EQ(ship(other, QStringLiteral("二号台")), 1);
  EXPECT_EQ(server_lines(*server_, QStringLiteral("二号台")), other.records());
  EXPECT_EQ(server_lines(*server_, QStringLiteral("一号台")), till.records());
}

TEST_F(ShippingTest, AJournalAlteredBeforeShippingIsRefusedAtTheBrokenEntry) {
  const TillFolder till(dir_a_.path());
  for (int i = 0; i < 10; ++i) till.record(1, QStringLiteral("苹果"), QStringLiteral("1.00"));
  // An amount raised in the journal itself, its hash left as it was.
  alter_journal(till.journal(), "UPDATE Journal SET after = replace(after, '金额=1.00', '金额=9.00') WHERE number = 6");

  try {
    ship(till, QStringLiteral("一号台"));
    ADD_FAILURE() << "the altered journal was shipped";
  } catch (const ServerError& error) {
    EXPECT_EQ(error.kind(), ServerError::Kind::Refused);
    EXPECT_TRUE(error.detail().contains(QStringLiteral("第 6 条"))) << error.detail().toStdString();
  }
  // The sound entries before it are on the server; the till stays stopped, with the reason.
  EXPECT_EQ(server_entry_numbers(*server_, QStringLiteral("一号台")), one_to(5));
  const PgRows refused = server_->exec(QStringLiteral("SELECT refused FROM tavuro_tills WHERE till = '一号台'"));
  EXPECT_TRUE(refused.text(0, 0).contains(QStringLiteral("第 6 条")));
  EXPECT_THROW(ship(till, QStringLiteral("一号台")), ServerError);
  EXPECT_EQ(server_entry_numbers(*server_, QStringLiteral("一号台")), one_to(5));

  // An entry taken out of another till's journal leaves a gap the server will not bridge.
  const TillFolder other(dir_b_.path());
  for (int i = 0; i < 5; ++i) other.record(2, QStringLiteral("苹果"), QStringLiteral("1.00"));
  alter_journal(other.journal(), "DELETE FROM Journal WHERE number = 3");
  EXPECT_THROW(ship(other, QStringLiteral("二号台")), ServerError);
  EXPECT_EQ(server_entry_numbers(*server_, QStringLiteral("二号台")), one_to(2));
}

TEST_F(ShippingTest, AJournalChangedAfterItWasShippedStopsTheTill) {
  const TillFolder till(dir_a_.path());
  for (int i = 0; i < 5; ++i) till.record(1, QStringLiteral("苹果"), QStringLiteral("1.00"));
  EXPECT_EQ(ship(till, QStringLiteral("一号台")), 5);

  // The last entry rewritten with a hash of its own that fits: the chain on the till is
  // whole again, but it is not the chain the server holds.
  alter_journal(till.journal(), "DELETE FROM Journal WHERE number = 5");
  till.record(1, QStringLiteral("苹果"), QStringLiteral("3.00"));
  try {
    ship(till, QStringLiteral("一号台"));
    ADD_FAILURE() << "the changed journal was shipped";
  } catch (const ServerError& error) {
    EXPECT_EQ(error.kind(), ServerError::Kind::Refused);
    EXPECT_TRUE(error.detail().contains(QStringLiteral("已收的不同"))) << error.detail().toStdString();
  }
  EXPECT_EQ(server_entry_numbers(*server_, QStringLiteral("一号台")), one_to(5));
}

TEST_F(ShippingTest, TheServerItselfRefusesAnEntryThatDoesNotChain) {
  server_->exec(QStringLiteral("INSERT INTO tavuro_tills (till) VALUES ('三号台')"));
  // Whoever writes to the server, an entry whose hash is not that of its parts is refused.
  const QString insert = QStringLiteral(
      "INSERT INTO tavuro_journal VALUES ('三号台', '2026_12', 1, '2026-12-09 10:00:00', '001', '1.day', 1, '记录', '', "
      "'金额=1.00', $1, $2)");
  try {
    server_->exec(insert, {QStringLiteral("0"), QStringLiteral("0")});
    ADD_FAILURE() << "a broken entry was taken";
  } catch (const ServerError& error) {
    EXPECT_EQ(error.kind(), ServerError::Kind::Refused);
  }
  EXPECT_TRUE(server_entry_numbers(*server_, QStringLiteral("三号台")).empty());
}

}  // namespace
}  // namespace tavuro::headoffice::test
