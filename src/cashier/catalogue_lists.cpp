#include "cashier/catalogue_lists.h"

#include "store/data_file.h"

namespace tavuro::cashier {

QStringList goods_names(const QString& shop_file) {
  return store::DataFile::open(shop_file, store::shop_schema()).column(store::shop::kGoods);
}

std::optional<QString> price_of(const QString& shop_file, const QString& name) {
  const store::DataFile file = store::DataFile::open(shop_file, store::shop_schema());
  const std::optional<store::Record> found =
      file.find_first({store::shop::kGoods, store::shop::kPrice},
                     [&name](const store::Record& record) { return record.value(store::shop::kGoods) == name; });
  if (!found) return std::nullopt;
  return found->value(store::shop::kPrice);
}

QStringList list_names(const QString& list_file) {
  return store::DataFile::open(list_file, store::name_list_schema()).column(store::kNameField);
}

}  // namespace tavuro::cashier
