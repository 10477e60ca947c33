#include "cashier/catalogue_lists.h"

#include "store/data_file.h"

namespace tavuro::cashier {

namespace shop = store::shop;

GoodsLists read_goods_lists(const QString& shop_file) {
  const store::DataFile file = store::DataFile::open(shop_file, store::shop_schema());
  GoodsLists goods;
  file.walk({shop::kGoods, shop::kPrice, shop::kCode}, [&goods](const store::Record& record) {
    goods.names << record.values()[0];
    goods.prices << record.values()[1];
    goods.codes << record.values()[2];
    return true;
  });
  return goods;
}

GoodsCodes::GoodsCodes(const GoodsLists& goods) {
  by_code_.reserve(goods.codes.size());
  for (qsizetype i = 0; i < goods.codes.size(); ++i) {
    const QString& code = goods.codes[i];
    if (!code.isEmpty() && !by_code_.contains(code)) by_code_.insert(code, {goods.names[i], goods.prices[i]});
  }
}

std::optional<CodedGoods> GoodsCodes::find(const QString& code) const {
  const auto found = by_code_.constFind(code);
  if (found == by_code_.constEnd()) return std::nullopt;
  return *found;
}

std::optional<QString> price_of(const QString& shop_file, const QString& name) {
  const store::DataFile file = store::DataFile::open(shop_file, store::shop_schema());
  const std::optional<store::Record> found =
      file.find_first({shop::kGoods, shop::kPrice},
                     [&name](const store::Record& record) { return record.value(shop::kGoods) == name; });
  if (!found) return std::nullopt;
  return found->value(shop::kPrice);
}

QStringList list_names(const QString& list_file) {
  return store::DataFile::open(list_file, store::name_list_schema()).column(store::kNameField);
}

}  // namespace tavuro::cashier
