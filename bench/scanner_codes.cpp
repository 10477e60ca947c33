#include "scanner_codes.h"

#include "cashier/catalogue_lists.h"
#include "cashier/frm_shop.h"
#include "cashier/sale_entry_panel.h"
#include "catalogues/goods_code.h"
#include "raw_sqlite.h"
#include "startup/start_up.h"
#include "store/data_file.h"
#include "store/schemas.h"
#include "timing.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <unordered_map>

namespace tavuro::bench {

namespace {

constexpr int kGoods = 50'000;
constexpr int kLookups = 20'000;

QString code_of(int index) {
  const QString digits = QStringLiteral("69%1").arg(index, 10, 10, QLatin1Char('0'));
  return digits + QString::number(catalogues::check_digit(digits));
}

// An application directory whose shop.dat holds 50,000 goods, each with an EAN-13 code.
QString make_coded_shop(const QString& data_dir) {
  const QString dir = data_dir + QStringLiteral("/scanner");
  const QString shop_file = dir + QStringLiteral("/shop.dat");
  if (QFileInfo::exists(shop_file) && store::DataFile::open(shop_file).record_count() == kGoods) return dir;
  QDir().mkpath(dir);
  auto fields = std::make_shared<const QStringList>(store::shop_schema().names());
  std::vector<store::Record> records;
  records.reserve(kGoods);
  for (int i = 0; i < kGoods; ++i) {
    records.emplace_back(i + 1, fields,
                         QStringList{QStringLiteral("商品%1").arg(i, 5, 10, QLatin1Char('0')),
                                     QStringLiteral("%1.%2").arg(1 + i % 50).arg(i % 100, 2, 10, QLatin1Char('0')),
                                     code_of(i)});
  }
  store::DataFile::create(shop_file, store::shop_schema(), records);
  return dir;
}

}  // namespace

void scanner_codes(const QString& data_dir, Table& table) {
  const QString dir = make_coded_shop(data_dir);
  const QString shop_file = dir + QStringLiteral("/shop.dat");

  // Loading: the goods lists with their codes as read_shop_file reads them and the code
  // table made from them, against reading the same three columns with raw SQLite.
  Timing load;
  Timing raw_load;
  cashier::GoodsLists goods;
  cashier::GoodsCodes codes;
  alternate(
      9, load,
      [&] {
        goods = cashier::read_goods_lists(shop_file);
        codes = cashier::GoodsCodes(goods);
      },
      raw_load,
      [&] {
        QStringList names;
        QStringList prices;
        QStringList raw_codes;
        raw::select(shop_file, QStringLiteral("SELECT 商品, 单价, 编码 FROM FileName ORDER BY rowid"), {},
                    [&](const QStringList& row) {
                      names << row[0];
                      prices << row[1];
                      raw_codes << row[2];
                    });
      });
  if (codes.size() != kGoods) std::printf("warning: %lld codes loaded\n", static_cast<long long>(codes.size()));
  table.add(QStringLiteral("S load 50,000 goods with codes (lists + code table)"), load.median(), raw_load.median(),
            QStringLiteral("< 500 ms"));

  // Lookup: codes scanned in a random order, one in ten unknown.
  std::unordered_map<std::string, std::pair<QString, QString>> baseline_table;
  baseline_table.reserve(kGoods);
  for (int i = 0; i < goods.names.size(); ++i) {
    baseline_table.emplace(goods.codes[i].toStdString(), std::pair{goods.names[i], goods.prices[i]});
  }
  std::mt19937 random(16);
  QStringList scanned;
  std::vector<std::string> scanned_std;
  for (int i = 0; i < kLookups; ++i) {
    const int index = static_cast<int>(random() % (kGoods + kGoods / 10));
    scanned << code_of(index);
    scanned_std.push_back(scanned.back().toStdString());
  }
  int found = 0;
  int raw_found = 0;
  Timing lookup;
  Timing raw_lookup;
  alternate(
      9, lookup, [&] { for (const QString& code : scanned) found += codes.find(code) ? 1 : 0; }, raw_lookup,
      [&] { for (const std::string& code : scanned_std) raw_found += baseline_table.count(code) != 0 ? 1 : 0; });
  if (found != raw_found) std::printf("warning: %d codes found, the baseline %d\n", found, raw_found);
  // Per thousand lookups, so that the figures show.
  table.add(QStringLiteral("S 1,000 code lookups among 50,000 goods"), lookup.median() * 1000 / kLookups,
            raw_lookup.median() * 1000 / kLookups, QStringLiteral("< 1 ms each"));

  // A whole scan in the cashier window started on that shop: the goods box, the price, on
  // to the quantity. And the start-up with 50,000 goods in the goods box and filter.
  Timing start;
  startup::AppState state;
  std::unique_ptr<cashier::Frm_shop> window;
  for (int i = 0; i < 3; ++i) {
    window.reset();
    state = startup::AppState();
    start.ms.push_back(time_ms([&] {
      startup::start_up(state, dir, QDate(2026, 1, 15), [&window](startup::AppState& s) {
        window = std::make_unique<cashier::Frm_shop>(s);
        window->show();
      });
      QApplication::processEvents();
    }));
  }
  table.add(QStringLiteral("S start-up to the cashier window with 50,000 goods"), start.median(), -1,
            QStringLiteral("< 500 ms"));
  state.current_operator = QStringLiteral("001");
  QApplication::setActiveWindow(window.get());
  Timing scan;
  for (int i = 0; i < 500; ++i) {
    const QString code = code_of(i * 97 % kGoods);  // known codes: an unknown one asks a question
    scan.ms.push_back(time_ms([&] { window->sale_entry().take_scan(code); }));
  }
  table.add(QStringLiteral("S a scan in the cashier window, median"), scan.median(), -1, QStringLiteral("< 1 ms"));
  table.add(QStringLiteral("S a scan in the cashier window, p99"), scan.p99(), -1, QStringLiteral("< 1 ms"));
}

}  // namespace tavuro::bench
