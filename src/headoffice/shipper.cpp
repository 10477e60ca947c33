#include "headoffice/shipper.h"

#include "headoffice/line_changes.h"
#include "sales/journal_entry.h"
#include "sales/journaled_change.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace tavuro::headoffice {

namespace {

using Values = std::vector<std::optional<QString>>;

const QString kLineColumns = QStringLiteral(
    "till, month, day, file, record, goods, quantity, price, amount, operator, time, code, customer, receipt_no, "
    "quantity_fen, amount_fen");

QString number_text(qint64 value) { return QString::number(value); }

std::optional<QString> fen_text(const std::optional<qint64>& fen) {
  return fen ? std::optional<QString>(number_text(*fen)) : std::nullopt;
}

QByteArray journal_rows(const QString& till, const QString& month, const std::vector<store::JournalEntry>& entries) {
  QByteArray data;
  for (const store::JournalEntry& e : entries) {
    data += copy_row({till, month, number_text(e.number), e.at, e.op, e.file, number_text(e.record), e.kind, e.before,
                      e.after, e.previous_hash, e.hash});
  }
  return data;
}

QByteArray line_rows(const QString& till, const QString& month, const std::vector<LineState>& states) {
  QByteArray data;
  for (const LineState& state : states) {
    const QStringList fields = state.fields.value_or(QStringList(9));
    Values row{state.fields ? QStringLiteral("t") : QStringLiteral("f"), till, month,
               number_text(state.key.file.chopped(4).toInt()), state.key.file, number_text(state.key.record)};
    for (const QString& value : fields) row.emplace_back(value);
    row.push_back(fen_text(counted_fen(fields[1])));
    row.push_back(fen_text(counted_fen(fields[3])));
    data += copy_row(row);
  }
  return data;
}

// The index of the first entry that does not follow the one before it (or head), or the
// entries' count when all do.
size_t sound_prefix(const std::vector<store::JournalEntry>& entries, qint64 head_number, const QString& head_hash) {
  qint64 number = head_number;
  QString hash = head_number == 0 ? sales::journal_seed() : head_hash;
  for (size_t i = 0; i < entries.size(); ++i) {
    const store::JournalEntry& e = entries[i];
    if (e.number != number + 1 || e.previous_hash != hash || sales::entry_hash(e) != e.hash) return i;
    number = e.number;
    hash = e.hash;
  }
  return entries.size();
}

QString journal_mark(const QString& journal) {
  const QFileInfo info(journal);
  return QString::number(info.size()) + QLatin1Char('/') +
         QString::number(info.lastModified().toMSecsSinceEpoch()) + QLatin1Char('/') +
         QString::number(info.metadataChangeTime().toMSecsSinceEpoch());
}

}  // namespace

Shipper::Shipper(PgConnection& server, QString till, int batch_entries)
    : server_(server), till_(std::move(till)), batch_entries_(std::max(1, batch_entries)) {
  server_.exec(QStringLiteral("INSERT INTO tavuro_tills (till) VALUES ($1) ON CONFLICT DO NOTHING"), {till_});
  server_.exec(QStringLiteral(
      "CREATE TEMP TABLE IF NOT EXISTS tavuro_incoming_journal (LIKE tavuro_journal) ON COMMIT DELETE ROWS;"
      "CREATE TEMP TABLE IF NOT EXISTS tavuro_incoming_lines (present boolean NOT NULL, LIKE tavuro_sale_lines) "
      "ON COMMIT DELETE ROWS"));
}

void Shipper::check_not_stopped() {
  const PgRows rows = server_.exec(QStringLiteral("SELECT refused FROM tavuro_tills WHERE till = $1"), {till_});
  if (rows.count() > 0 && rows.at(0, 0)) throw ServerError(ServerError::Kind::Refused, *rows.at(0, 0));
}

void Shipper::stop_till(const QString& reason) {
  try {
    server_.exec(QStringLiteral("UPDATE tavuro_tills SET refused = $2 WHERE till = $1"), {till_, reason});
  } catch (const ServerError&) {
    // The refusal stands whether or not it could be noted.
  }
  throw ServerError(ServerError::Kind::Refused, reason);
}

Shipper::Head Shipper::server_head(const QString& month) {
  const PgRows rows = server_.exec(
      QStringLiteral("SELECT number, hash FROM tavuro_journal WHERE till = $1 AND month = $2 ORDER BY number DESC LIMIT 1"),
      {till_, month});
  if (rows.count() == 0) return {};
  return {rows.integer(0, 0), rows.text(0, 1)};
}

qint64 Shipper::ship_all(const QString& app_dir, const BatchShipped& shipped) {
  check_not_stopped();
  QStringList months = sales::month_folders_of(app_dir);
  std::reverse(months.begin(), months.end());
  qint64 total = 0;
  for (const QString& month : months) {
    const QString folder = QDir(app_dir).filePath(month);
    if (!QFileInfo(sales::journal_path(folder)).isFile()) {
      if (!months_without_journal_.contains(month) && !sales::day_files_of(folder).isEmpty()) months_without_journal_ << month;
      continue;
    }
    months_without_journal_.removeAll(month);
    total += ship_month(folder, shipped);
  }
  return total;
}

qint64 Shipper::ship_month(const QString& month_folder, const BatchShipped& shipped) {
  const QString month = QFileInfo(month_folder).fileName();
  const QString journal = sales::journal_path(month_folder);
  if (!QFileInfo(journal).isFile()) return 0;
  // Taken before reading: a change made while the journal is read marks it anew.
  const QString mark = journal_mark(journal);
  if (shipped_mark_.value(month) == mark) return 0;
  qint64 total = 0;
  for (;;) {
    if (!heads_.contains(month)) heads_.insert(month, server_head(month));
    const Head head = heads_.value(month);
    // The server's last entry is read again to be held against the one the server has.
    std::vector<store::JournalEntry> entries =
        store::read_journal_after(journal, std::max<qint64>(0, head.number - 1), batch_entries_ + 1);
    if (head.number > 0) {
      if (entries.empty() || entries.front().number != head.number || entries.front().hash != head.hash) {
        stop_till(QStringLiteral("收银台“%1”%2 的修改记录第 %3 条与总店服务器上已收的不同（本机的记录被改动、删除或换过），停止上传。")
                      .arg(till_, month, QString::number(head.number)));
      }
      entries.erase(entries.begin());
    } else if (entries.size() > static_cast<size_t>(batch_entries_)) {
      entries.pop_back();
    }
    if (entries.empty()) {
      shipped_mark_.insert(month, mark);
      return total;
    }
    // A sound run is shipped first; an entry that breaks the chain is then sent alone, so
    // that the server holds every sound entry before it and refuses it with its reason.
    const size_t sound = sound_prefix(entries, head.number, head.hash);
    if (sound < entries.size()) entries.resize(std::max<size_t>(sound, 1));
    try {
      if (!ship_batch(month, head, entries)) {
        heads_.remove(month);
        continue;
      }
    } catch (const ServerError& error) {
      heads_.remove(month);
      if (error.kind() == ServerError::Kind::Refused) stop_till(error.detail());
      throw;
    }
    heads_.insert(month, {entries.back().number, entries.back().hash});
    total += static_cast<qint64>(entries.size());
    if (shipped) shipped(month, entries.back().number);
  }
}

bool Shipper::ship_batch(const QString& month, const Head& head, const std::vector<store::JournalEntry>& entries) {
  bool moved = false;
  server_.transaction([&] {
    const PgRows till =
        server_.exec(QStringLiteral("SELECT refused FROM tavuro_tills WHERE till = $1 FOR UPDATE"), {till_});
    if (till.count() > 0 && till.at(0, 0)) throw ServerError(ServerError::Kind::Refused, *till.at(0, 0));
    const PgRows last = server_.exec(
        QStringLiteral("SELECT coalesce(max(number), 0) FROM tavuro_journal WHERE till = $1 AND month = $2"),
        {till_, month});
    if (last.integer(0, 0) != head.number) {
      moved = true;
      return;
    }
    server_.copy_in(QStringLiteral("COPY tavuro_incoming_journal FROM STDIN"), journal_rows(till_, month, entries));
    server_.exec(QStringLiteral("INSERT INTO tavuro_journal SELECT * FROM tavuro_incoming_journal ORDER BY number"));
    const std::vector<LineState> states = final_line_states(entries);
    if (!states.empty()) {
      server_.copy_in(QStringLiteral("COPY tavuro_incoming_lines FROM STDIN"), line_rows(till_, month, states));
      server_.exec(QStringLiteral(
          "DELETE FROM tavuro_sale_lines s USING tavuro_incoming_lines i WHERE NOT i.present AND s.till = i.till "
          "AND s.month = i.month AND s.file = i.file AND s.record = i.record"));
      server_.exec(QStringLiteral("INSERT INTO tavuro_sale_lines (") + kLineColumns + QStringLiteral(") SELECT ") +
                   kLineColumns +
                   QStringLiteral(
                       " FROM tavuro_incoming_lines WHERE present ON CONFLICT (till, month, file, record) DO UPDATE "
                       "SET goods = EXCLUDED.goods, quantity = EXCLUDED.quantity, price = EXCLUDED.price, "
                       "amount = EXCLUDED.amount, operator = EXCLUDED.operator, time = EXCLUDED.time, "
                       "code = EXCLUDED.code, customer = EXCLUDED.customer, receipt_no = EXCLUDED.receipt_no, "
                       "quantity_fen = EXCLUDED.quantity_fen, amount_fen = EXCLUDED.amount_fen"));
    }
    server_.exec(QStringLiteral("UPDATE tavuro_tills SET shipped_at = now() WHERE till = $1"), {till_});
  });
  return !moved;
}

}  // namespace tavuro::headoffice
