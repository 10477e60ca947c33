#include "shop_generator.h"

#include "platform/text_file.h"
#include "sales/money.h"
#include "sales/sale_line.h"
#include "startup/paths.h"
#include "store/data_file.h"
#include "textlayout/text_layout.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTime>

#include <random>

namespace tavuro::bench {

namespace {

using store::DataFile;
using store::FieldValues;
namespace day = store::day;

const QStringList kKinds = {QStringLiteral("特级"), QStringLiteral("精选"), QStringLiteral("家庭"), QStringLiteral("进口"),
                            QStringLiteral("有机"), QStringLiteral("新鲜"), QStringLiteral("经典"), QStringLiteral("清香"),
                            QStringLiteral("低糖"), QStringLiteral("原味"), QStringLiteral("手工"), QStringLiteral("散装")};
const QStringList kItems = {QStringLiteral("绿茶"),   QStringLiteral("红茶"),   QStringLiteral("可乐"),   QStringLiteral("矿泉水"),
                            QStringLiteral("饼干"),   QStringLiteral("方便面"), QStringLiteral("牛奶"),   QStringLiteral("酸奶"),
                            QStringLiteral("面包"),   QStringLiteral("大米"),   QStringLiteral("食用油"), QStringLiteral("酱油"),
                            QStringLiteral("香皂"),   QStringLiteral("牙膏"),   QStringLiteral("毛巾"),   QStringLiteral("电池"),
                            QStringLiteral("啤酒"),   QStringLiteral("果汁"),   QStringLiteral("花生"),   QStringLiteral("瓜子"),
                            QStringLiteral("火腿肠"), QStringLiteral("鸡蛋"),   QStringLiteral("白糖"),   QStringLiteral("洗衣粉")};
const QStringList kSizes = {QString(), QStringLiteral("250g"), QStringLiteral("500g"), QStringLiteral("1kg"),
                            QStringLiteral("330ml"), QStringLiteral("1.5L"), QStringLiteral("x6"), QStringLiteral("x12")};
const QStringList kSurnames = {QStringLiteral("王"), QStringLiteral("李"), QStringLiteral("张"), QStringLiteral("刘"),
                               QStringLiteral("陈"), QStringLiteral("杨"), QStringLiteral("赵"), QStringLiteral("黄")};

QString marker(const QString& app_dir) { return app_dir + QStringLiteral("/generated.txt"); }

}  // namespace

void write_day_file(const GeneratedShop& shop, const QString& path, int lines, uint32_t seed) {
  std::mt19937 random(seed);
  auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<uint32_t>(n)); };
  QFile::remove(path);
  DataFile::create(path, store::day_schema());
  std::vector<FieldValues> rows;
  rows.reserve(static_cast<size_t>(lines));
  int receipt = static_cast<int>(seed % 100000);
  int lines_left_in_receipt = 0;
  for (int i = 0; i < lines; ++i) {
    if (lines_left_in_receipt-- <= 0) {
      ++receipt;
      lines_left_in_receipt = pick(5);
    }
    // One line in a hundred sells something not (or no longer) in the catalogue.
    const int g = pick(shop.goods.size());
    const QString goods = pick(100) == 0 ? QStringLiteral("临时商品") + QString::number(pick(50)) : shop.goods[g];
    // Mostly one or two of a thing, now and then a few, or half a kilo more.
    QString quantity = QString::number(pick(4) == 0 ? 2 + pick(4) : 1) + (pick(8) == 0 ? QStringLiteral(".5") : QString());
    quantity = textlayout::money_text(quantity);
    QString price = shop.prices[g];
    const QString amount =
        sales::line_amount(*sales::Money::parse(quantity), *sales::Money::parse(price)).value_or(sales::Money()).text();
    const QTime time = QTime(7, 0).addSecs(i * 50400 / std::max(lines, 1));
    const QString customer = pick(5) == 0 ? shop.customers[pick(shop.customers.size())] : sales::kWalkInCustomer;
    rows.push_back({{day::kGoods, goods},
                    {day::kQuantity, quantity},
                    {day::kPrice, price},
                    {day::kAmount, amount},
                    {day::kOperator, shop.operators[pick(shop.operators.size())]},
                    {day::kTime, time.toString(QStringLiteral("HH:mm:ss"))},
                    {day::kCustomer, customer},
                    {day::kReceiptNo, QStringLiteral("%1").arg(receipt % 1000000, 6, 10, QLatin1Char('0'))}});
  }
  DataFile::open(path).append_all(rows);
}

GeneratedShop generate_shop(const QString& app_dir, const ShopSize& size, uint32_t seed) {
  GeneratedShop shop;
  shop.app_dir = app_dir;
  shop.month_folder = app_dir + QStringLiteral("/2026_1");
  shop.year_folder = app_dir + QStringLiteral("/year");

  std::mt19937 random(seed);
  auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<uint32_t>(n)); };
  QSet<QString> seen;
  while (shop.goods.size() < size.goods) {
    QString name = kKinds[pick(kKinds.size())] + kItems[pick(kItems.size())] + kSizes[pick(kSizes.size())];
    if (seen.contains(name)) name += QString::number(shop.goods.size() % 100);
    if (seen.contains(name) || textlayout::text_width(QString(name)) > 16) continue;
    seen.insert(name);
    shop.goods << name;
    // A corner shop's prices: from fifty fen to about thirty yuan.
    QString price = QString::number(pick(30)) + QLatin1Char('.') + QString::number(50 + pick(50));
    shop.prices << textlayout::money_text(price);
  }
  for (int i = 1; i <= size.operators; ++i) shop.operators << QStringLiteral("员%1").arg(i, 2, 10, QLatin1Char('0'));
  for (int i = 1; i <= size.customers; ++i) {
    shop.customers << kSurnames[pick(kSurnames.size())] + QStringLiteral("记商行") + QString::number(i);
  }

  const QString done = QStringLiteral("v2 seed %1 size %2/%3/%4/%5x%6/%7x%8")
                           .arg(seed)
                           .arg(size.goods)
                           .arg(size.operators)
                           .arg(size.customers)
                           .arg(size.month_days)
                           .arg(size.lines_per_month_day)
                           .arg(size.year_days)
                           .arg(size.lines_per_year_day);
  if (platform::read_first_line(marker(app_dir)) == done) return shop;

  QDir(app_dir).removeRecursively();
  QDir().mkpath(shop.month_folder);
  QDir().mkpath(shop.year_folder);
  auto make_names = [](const QString& path, const store::Schema& schema, const std::vector<FieldValues>& rows) {
    DataFile::create(path, schema);
    DataFile::open(path).append_all(rows);
  };
  std::vector<FieldValues> goods_rows;
  for (int i = 0; i < shop.goods.size(); ++i) goods_rows.push_back({{store::shop::kGoods, shop.goods[i]}, {store::shop::kPrice, shop.prices[i]}});
  make_names(app_dir + QStringLiteral("/shop.dat"), store::shop_schema(), goods_rows);
  std::vector<FieldValues> operator_rows;
  for (const QString& name : shop.operators) operator_rows.push_back({{store::kNameField, name}});
  make_names(app_dir + QStringLiteral("/use.dat"), store::name_list_schema(), operator_rows);
  std::vector<FieldValues> customer_rows;
  for (const QString& name : shop.customers) customer_rows.push_back({{store::kNameField, name}});
  make_names(app_dir + QStringLiteral("/kefu.dat"), store::name_list_schema(), customer_rows);

  for (int d = 1; d <= size.month_days; ++d) {
    write_day_file(shop, shop.month_folder + QStringLiteral("/%1.day").arg(d), size.lines_per_month_day, seed + d);
  }
  for (int d = 1; d <= size.year_days; ++d) {
    write_day_file(shop, shop.year_folder + QStringLiteral("/%1.day").arg(d), size.lines_per_year_day, seed + 1000 + d);
  }
  platform::write_one_line_file(marker(app_dir), done);
  return shop;
}

}  // namespace tavuro::bench
