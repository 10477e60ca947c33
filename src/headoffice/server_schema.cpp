#include "headoffice/server_schema.h"

#include "sales/journal_entry.h"

namespace tavuro::headoffice {

namespace {

// Any number; it only keeps two programs from creating the schema at the same moment.
const QString kSchemaLock = QStringLiteral("SELECT pg_advisory_xact_lock(7254911)");

const QString kTables = QStringLiteral(R"sql(
CREATE TABLE IF NOT EXISTS tavuro_tills (
  till text PRIMARY KEY,
  shipped_at timestamptz,
  refused text
);
CREATE TABLE IF NOT EXISTS tavuro_journal (
  till text NOT NULL REFERENCES tavuro_tills(till),
  month text NOT NULL,
  number bigint NOT NULL,
  at text NOT NULL,
  operator text NOT NULL,
  file text NOT NULL,
  record bigint NOT NULL,
  kind text NOT NULL,
  before text NOT NULL,
  after text NOT NULL,
  previous_hash text NOT NULL,
  hash text NOT NULL,
  PRIMARY KEY (till, month, number)
);
CREATE TABLE IF NOT EXISTS tavuro_sale_lines (
  till text NOT NULL REFERENCES tavuro_tills(till),
  month text NOT NULL,
  day integer NOT NULL,
  file text NOT NULL,
  record bigint NOT NULL,
  goods text NOT NULL,
  quantity text NOT NULL,
  price text NOT NULL,
  amount text NOT NULL,
  operator text NOT NULL,
  time text NOT NULL,
  code text NOT NULL,
  customer text NOT NULL,
  receipt_no text NOT NULL,
  quantity_fen bigint,
  amount_fen bigint,
  PRIMARY KEY (till, month, file, record)
);
CREATE INDEX IF NOT EXISTS tavuro_sale_lines_month ON tavuro_sale_lines (month, file);
CREATE OR REPLACE FUNCTION tavuro_part(value text) RETURNS bytea LANGUAGE sql IMMUTABLE AS $$
  SELECT convert_to(octet_length(convert_to(value, 'UTF8'))::text || ':', 'UTF8') || convert_to(value, 'UTF8')
         || '\x2c'::bytea
$$;
)sql");

// %1 is the seed the first entry of a journal names as the one before it.
const QString kChainCheck = QStringLiteral(R"sql(
CREATE OR REPLACE FUNCTION tavuro_check_chain() RETURNS trigger LANGUAGE plpgsql AS $$
DECLARE
  before_hash text;
  own_hash text;
BEGIN
  IF NEW.number = 1 THEN
    before_hash := '%1';
  ELSE
    SELECT hash INTO before_hash FROM tavuro_journal
      WHERE till = NEW.till AND month = NEW.month AND number = NEW.number - 1;
    IF NOT FOUND THEN
      RAISE EXCEPTION USING ERRCODE = 'TV001',
        MESSAGE = format('收银台“%s”%s 的修改记录缺少第 %s 条之前的记录，拒收。', NEW.till, NEW.month, NEW.number);
    END IF;
  END IF;
  IF NEW.previous_hash <> before_hash THEN
    RAISE EXCEPTION USING ERRCODE = 'TV001',
      MESSAGE = format('收银台“%s”%s 的修改记录第 %s 条与前一条接不上（前一条被改动或删除），拒收。',
                       NEW.till, NEW.month, NEW.number);
  END IF;
  own_hash := encode(sha256(tavuro_part(NEW.number::text) || tavuro_part(NEW.at) || tavuro_part(NEW.operator)
                            || tavuro_part(NEW.file) || tavuro_part(NEW.record::text) || tavuro_part(NEW.kind)
                            || tavuro_part(NEW.before) || tavuro_part(NEW.after) || tavuro_part(NEW.previous_hash)),
                     'hex');
  IF own_hash <> NEW.hash THEN
    RAISE EXCEPTION USING ERRCODE = 'TV001',
      MESSAGE = format('收银台“%s”%s 的修改记录第 %s 条的内容与它的哈希值不符（已被改动），拒收。',
                       NEW.till, NEW.month, NEW.number);
  END IF;
  RETURN NEW;
END
$$;
CREATE OR REPLACE TRIGGER tavuro_journal_chain BEFORE INSERT OR UPDATE ON tavuro_journal
  FOR EACH ROW EXECUTE FUNCTION tavuro_check_chain();
)sql");

}  // namespace

void ensure_schema(PgConnection& server) {
  // Made already: nothing is replaced, so that no lock is taken on tables in use.
  const PgRows made = server.exec(QStringLiteral(
      "SELECT to_regclass('tavuro_sale_lines') IS NOT NULL AND EXISTS "
      "(SELECT 1 FROM pg_trigger WHERE tgname = 'tavuro_journal_chain')"));
  if (made.text(0, 0) == QStringLiteral("t")) return;
  server.transaction([&] {
    server.exec(kSchemaLock);
    server.exec(kTables);
    server.exec(kChainCheck.arg(sales::journal_seed()));
  });
}

}  // namespace tavuro::headoffice
