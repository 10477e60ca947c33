#include "headoffice_bench.h"

#include "headoffice/pg_connection.h"
#include "headoffice/server_queries.h"
#include "headoffice/server_schema.h"
#include "headoffice/shipper.h"
#include "headoffice/till_files.h"
#include "platform/text_file.h"
#include "sales/journal_entry.h"
#include "sales/journaled_change.h"
#include "sales/money.h"
#include "store/data_file.h"
#include "store/journal_table.h"
#include "store/schemas.h"
#include "timing.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <cstdio>
#include <pwd.h>
#include <random>
#include <unistd.h>

namespace tavuro::bench {

namespace {

using headoffice::PgConnection;

constexpr int kDayLines = 5000;
constexpr int kTills = 5;
constexpr int kDays = 31;
const QString kMonth = QStringLiteral("2026_12");

QString bin_dir() {
  for (const char* version : {"17", "16", "15"}) {
    const QString dir = QStringLiteral("/usr/lib/postgresql/%1/bin").arg(QLatin1String(version));
    if (QFileInfo(dir + QStringLiteral("/pg_ctl")).isExecutable()) return dir;
  }
  return {};
}

// Runs a PostgreSQL tool, as the user postgres when run as root.
bool run_tool(const QString& tool, const QStringList& args) {
  QString program = bin_dir() + QLatin1Char('/') + tool;
  QStringList arguments = args;
  if (::geteuid() == 0) {
    arguments = QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"), program} + arguments;
    program = QStringLiteral("runuser");
  }
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(program, arguments);
  process.waitForFinished(300000);
  if (process.exitCode() != 0) std::printf("%s: %s\n", qPrintable(tool), process.readAll().constData());
  return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

class Cluster {
 public:
  explicit Cluster(const QString& dir) : dir_(dir), data_(dir + QStringLiteral("/data")) {
    QDir(dir_).removeRecursively();
    QDir().mkpath(dir_);
    if (::geteuid() == 0) {
      const passwd* user = ::getpwnam("postgres");
      if (user == nullptr || ::chown(QFile::encodeName(dir_).constData(), user->pw_uid, user->pw_gid) != 0) return;
    }
    port_ = 20000 + static_cast<int>(::getpid() % 20000);
    ok_ = run_tool(QStringLiteral("initdb"), {QStringLiteral("-D"), data_, QStringLiteral("-U"), QStringLiteral("tavuro"),
                                              QStringLiteral("-A"), QStringLiteral("trust"), QStringLiteral("-E"),
                                              QStringLiteral("UTF8"), QStringLiteral("--locale=C"), QStringLiteral("--no-sync")}) &&
          run_tool(QStringLiteral("pg_ctl"),
                   {QStringLiteral("-D"), data_, QStringLiteral("-o"),
                    QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1").arg(port_).arg(dir_),
                    QStringLiteral("-l"), dir_ + QStringLiteral("/server.log"), QStringLiteral("-w"), QStringLiteral("start")});
  }
  ~Cluster() {
    if (ok_) run_tool(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), data_, QStringLiteral("-m"), QStringLiteral("fast"), QStringLiteral("stop")});
  }
  bool ok() const { return ok_; }
  QString settings() const { return QStringLiteral("host=127.0.0.1 port=%1 dbname=postgres user=tavuro").arg(port_); }

 private:
  QString dir_;
  QString data_;
  int port_ = 0;
  bool ok_ = false;
};

QStringList line_values(int n, std::mt19937& random) {
  const int fen = std::uniform_int_distribution<int>(1, 99999)(random);
  const QString amount = sales::Money::from_hundredths(fen).text();
  return {QStringLiteral("商品%1").arg(n % 200), QStringLiteral("1.00"), amount, amount,
          QStringLiteral("%1").arg(n % 10, 3, 10, QLatin1Char('0')), QStringLiteral("10:00:00"), QString(),
          QStringLiteral("散客"), QStringLiteral("%1").arg(n / 3, 6, 10, QLatin1Char('0'))};
}

// A till folder with one day of lines and the journal entries that recorded them, made
// directly (as the counter would have, line by line).
void make_day(const QString& app_dir, int lines) {
  const QString folder = QDir(app_dir).filePath(kMonth);
  QDir(folder).removeRecursively();
  QDir().mkpath(folder);
  std::mt19937 random(7);
  const QStringList names = store::day_schema().names();
  std::vector<store::Record> records;
  std::vector<store::JournalEntry> entries;
  auto fields = std::make_shared<const QStringList>(names);
  for (int n = 1; n <= lines; ++n) {
    const QStringList values = line_values(n, random);
    records.emplace_back(n, fields, values);
    store::JournalEntry entry;
    entry.at = QStringLiteral("2026-12-09 10:00:00");
    entry.op = values[4];
    entry.file = QStringLiteral("9.day");
    entry.record = n;
    entry.kind = sales::kRecordedKind;
    entry.after = sales::fields_text(names, values);
    entries.push_back(sales::chained(entries.empty() ? std::nullopt : std::optional(entries.back()), entry));
  }
  store::DataFile::create(QDir(folder).filePath(QStringLiteral("9.day")), store::day_schema(), records);
  store::create_journal(sales::journal_path(folder), entries);
}

void clear_server(PgConnection& server) {
  server.exec(QStringLiteral("TRUNCATE tavuro_journal, tavuro_sale_lines, tavuro_tills"));
}

void shipping(PgConnection& server, const QString& data_dir, Table& table) {
  const QString app_dir = data_dir + QStringLiteral("/till");
  make_day(app_dir, kDayLines);
  const std::vector<store::JournalEntry> entries = store::journal_entries(sales::journal_path(QDir(app_dir).filePath(kMonth)));
  // The baseline: the same journal rows and line rows by COPY into tables without the
  // chain check, in one transaction.
  server.exec(QStringLiteral("DROP TABLE IF EXISTS plain_journal, plain_lines;"
                             "CREATE TABLE plain_journal (LIKE tavuro_journal INCLUDING ALL);"
                             "CREATE TABLE plain_lines (LIKE tavuro_sale_lines INCLUDING ALL)"));
  QByteArray journal_rows;
  QByteArray line_rows;
  for (const store::JournalEntry& e : entries) {
    journal_rows += headoffice::copy_row({QStringLiteral("t"), kMonth, QString::number(e.number), e.at, e.op, e.file,
                                         QString::number(e.record), e.kind, e.before, e.after, e.previous_hash, e.hash});
    std::vector<std::optional<QString>> row{QStringLiteral("t"), kMonth, QStringLiteral("9"), e.file, QString::number(e.record)};
    QStringList values(9);
    for (const auto& [name, value] : sales::parse_fields_text(e.after)) values[store::day_schema().names().indexOf(name)] = value;
    for (const QString& v : values) row.emplace_back(v);
    row.emplace_back(QStringLiteral("100"));
    row.emplace_back(QString::number(sales::amount_or_zero(values[3]).hundredths()));
    line_rows += headoffice::copy_row(row);
  }
  Timing program;
  Timing baseline;
  alternate(
      5, program,
      [&] {
        clear_server(server);
        headoffice::Shipper shipper(server, QStringLiteral("t"));
        shipper.ship_all(app_dir);
      },
      baseline,
      [&] {
        server.exec(QStringLiteral("TRUNCATE plain_journal, plain_lines"));
        server.transaction([&] {
          server.copy_in(QStringLiteral("COPY plain_journal FROM STDIN"), journal_rows);
          server.copy_in(QStringLiteral("COPY plain_lines FROM STDIN"), line_rows);
        });
      });
  table.add(QStringLiteral("H shipping a day of 5,000 lines (vs COPY of the rows)"), program.median(), baseline.median(),
            QStringLiteral("< 2000 ms"));
}

void month_report(PgConnection& server, Table& table) {
  clear_server(server);
  std::mt19937 random(11);
  for (int till = 1; till <= kTills; ++till) {
    const QString name = QStringLiteral("收银台%1").arg(till);
    server.exec(QStringLiteral("INSERT INTO tavuro_tills (till) VALUES ($1)"), {name});
    for (int day = 1; day <= kDays; ++day) {
      QByteArray rows;
      for (int n = 1; n <= kDayLines; ++n) {
        const QStringList v = line_values(n, random);
        std::vector<std::optional<QString>> row{name, kMonth, QString::number(day), QStringLiteral("%1.day").arg(day),
                                                QString::number(n)};
        for (const QString& value : v) row.emplace_back(value);
        row.emplace_back(QStringLiteral("100"));
        row.emplace_back(QString::number(sales::amount_or_zero(v[3]).hundredths()));
        rows += headoffice::copy_row(row);
      }
      server.copy_in(QStringLiteral("COPY tavuro_sale_lines FROM STDIN"), rows);
    }
  }
  server.exec(QStringLiteral("ANALYZE tavuro_sale_lines"));
  QStringList files;
  for (int day = 1; day <= kDays; ++day) files << QStringLiteral("%1.day").arg(day);
  QStringList goods;
  for (int g = 0; g < 200; ++g) goods << QStringLiteral("商品%1").arg(g);
  QStringList operators;
  for (int o = 0; o < 10; ++o) operators << QStringLiteral("%1").arg(o, 3, 10, QLatin1Char('0'));
  Timing program;
  Timing baseline;
  alternate(
      5, program, [&] { headoffice::server_report_sums(server, {kMonth, files, QString()}, goods, operators); }, baseline,
      [&] {
        server.exec(QStringLiteral("SELECT goods, sum(quantity_fen), sum(amount_fen) FROM tavuro_sale_lines WHERE month = $1 "
                                   "GROUP BY goods UNION ALL SELECT operator, 0, sum(amount_fen) FROM tavuro_sale_lines "
                                   "WHERE month = $1 GROUP BY operator"),
                    {kMonth});
      });
  table.add(QStringLiteral("H month report, 5 tills x 31 days x 5,000 lines (vs plain GROUP BY)"), program.median(),
            baseline.median(), QStringLiteral("< 2000 ms"));
}

void lag(PgConnection& server, const QString& settings, const QString& data_dir, const QString& sync_program, Table& table) {
  clear_server(server);
  const QString app_dir = data_dir + QStringLiteral("/lagtill");
  QDir(app_dir).removeRecursively();
  QDir().mkpath(QDir(app_dir).filePath(kMonth));
  platform::write_one_line_file(QDir(app_dir).filePath(headoffice::kServerFile), settings);
  platform::write_one_line_file(QDir(app_dir).filePath(headoffice::kTillFile), QStringLiteral("lag"));
  const QString day_file = QDir(app_dir).filePath(kMonth + QStringLiteral("/9.day"));
  store::DataFile::create(day_file, store::day_schema());
  QProcess sync;
  sync.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  sync.start(sync_program, {app_dir});
  if (!sync.waitForStarted()) {
    std::printf("H lag: %s did not start\n", qPrintable(sync_program));
    return;
  }
  std::mt19937 random(3);
  const sales::ChangeContext context{sales::journal_path(QDir(app_dir).filePath(kMonth)), QStringLiteral("001"),
                                     QDateTime::currentDateTime()};
  const QStringList names = store::day_schema().names();
  Timing program;
  Timing baseline;
  server.exec(QStringLiteral("DROP TABLE IF EXISTS plain_lag; CREATE TABLE plain_lag (LIKE tavuro_sale_lines)"));
  for (int n = 1; n <= 21; ++n) {
    const QStringList v = line_values(n, random);
    store::FieldValues values;
    for (qsizetype i = 0; i < names.size(); ++i) values.append({names[i], v[i]});
    program.ms.push_back(time_ms([&] {
      store::DataFile file = store::DataFile::open(day_file, store::day_schema());
      const store::RecordRef ref = sales::append_journaled(file, context, sales::kRecordedKind, values);
      for (;;) {
        const headoffice::PgRows rows = server.exec(
            QStringLiteral("SELECT 1 FROM tavuro_sale_lines WHERE till = 'lag' AND record = $1"), {QString::number(ref.id)});
        if (rows.count() > 0) break;
        QThread::usleep(500);
      }
    }));
    // The baseline: the same line recorded, then sent by one INSERT.
    baseline.ms.push_back(time_ms([&] {
      store::DataFile file = store::DataFile::open(day_file, store::day_schema());
      sales::append_journaled(file, context, sales::kRecordedKind, values);
      server.exec(QStringLiteral("INSERT INTO plain_lag (till, month, day, file, record, goods, quantity, price, amount, "
                                 "operator, time, code, customer, receipt_no) VALUES ('b', $1, 9, '9.day', $2, $3, $4, $5, $6, "
                                 "$7, $8, $9, $10, $11)"),
                  {kMonth, QString::number(n), v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]});
    }));
  }
  sync.kill();
  sync.waitForFinished();
  table.add(QStringLiteral("H lag, recorded line to the server, median (vs record + INSERT)"), program.median(),
            baseline.median(), QStringLiteral("< 1000 ms"));
  table.add(QStringLiteral("H lag, recorded line to the server, p99"), program.p99(), baseline.p99(), QStringLiteral("< 1000 ms"));
}

}  // namespace

void headoffice(const QString& data_dir, const QString& sync_program, Table& table) {
  if (bin_dir().isEmpty()) {
    std::printf("H skipped: PostgreSQL is not installed (no /usr/lib/postgresql/*/bin/pg_ctl)\n");
    return;
  }
  // Under the temporary folder, which the server's own user can reach when run as root.
  const Cluster cluster(QDir::tempPath() + QStringLiteral("/tavuro-bench-pg-%1").arg(::getpid()));
  if (!cluster.ok()) {
    std::printf("H skipped: the PostgreSQL server could not be started\n");
    return;
  }
  try {
    PgConnection server = PgConnection::open(cluster.settings());
    headoffice::ensure_schema(server);
    shipping(server, data_dir, table);
    month_report(server, table);
    lag(server, cluster.settings(), data_dir, sync_program, table);
  } catch (const headoffice::ServerError& error) {
    std::printf("H failed: %s\n", qPrintable(error.detail()));
  }
}

}  // namespace tavuro::bench
