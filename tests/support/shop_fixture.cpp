#include "support/shop_fixture.h"

#include "startup/data_files.h"
#include "startup/paths.h"
#include "startup/start_up.h"

#include <QFile>
#include <gtest/gtest.h>

namespace tavuro::testing {

ShopFixture::ShopFixture(const QDate& today, const QTime& time)
    : clock(QDateTime(today, time)), clock_scope_(clock) {
  EXPECT_TRUE(temp.isValid());
  state.paths = startup::make_paths(temp.path(), today);
}

void ShopFixture::start_up() {
  startup::set_paths(state, temp.path(), clock.now().date());
  startup::make_day_file(state);
  startup::make_journal(state);
  startup::make_shop_file(state);
  startup::make_usefile(state);
  startup::make_KeFu_file(state);
}

QString ShopFixture::file(const QString& name) const { return startup::app_file(dir(), name); }

void ShopFixture::add_goods(const QString& name, const QString& price) {
  store::DataFile::open(state.paths.shop_file).append({{store::shop::kGoods, name}, {store::shop::kPrice, price}});
}

void ShopFixture::add_operator(const QString& name) {
  store::DataFile::open(state.paths.use_file).append({{store::kNameField, name}});
}

void ShopFixture::add_customer(const QString& name) {
  store::DataFile::open(state.paths.kefu_file).append({{store::kNameField, name}});
}

void ShopFixture::add_sale(const SaleLine& line, const QString& day_file) {
  const QString path = day_file.isEmpty() ? state.paths.day_file : day_file;
  if (!QFile::exists(path)) store::DataFile::create(path, store::day_schema());
  store::DataFile::open(path).append({{store::day::kGoods, line.goods},
                                      {store::day::kQuantity, line.quantity},
                                      {store::day::kPrice, line.price},
                                      {store::day::kAmount, line.amount},
                                      {store::day::kOperator, line.op},
                                      {store::day::kTime, line.time},
                                      {store::day::kCustomer, line.customer},
                                      {store::day::kReceiptNo, line.receipt}});
}

std::vector<store::Record> ShopFixture::records(const QString& path) const {
  return store::DataFile::open(path).records();
}

store::RecordRef ShopFixture::record_ref(const QString& path, int index) const {
  const store::DataFile file = store::DataFile::open(path);
  return file.ref_to(file.records().at(static_cast<size_t>(index)));
}

void write_bytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
  file.write(bytes);
}

QByteArray read_bytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

}  // namespace tavuro::testing
