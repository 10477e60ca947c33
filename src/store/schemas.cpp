#include "store/schemas.h"

namespace tavuro::store {

QStringList Schema::names() const {
  QStringList result;
  for (const Field& field : fields) result << field.name;
  return result;
}

const Schema& day_schema() {
  static const Schema schema{{{day::kGoods, 50},
                              {day::kQuantity, 10},
                              {day::kPrice, 50},
                              {day::kAmount, 50},
                              {day::kOperator, 50},
                              {day::kTime, 50},
                              {day::kCode, 50},
                              {day::kCustomer, 50},
                              {day::kReceiptNo, 50}}};
  return schema;
}

const Schema& shop_schema() {
  static const Schema schema{{{shop::kGoods, 50}, {shop::kPrice, 50}, {shop::kCode, 50}}};
  return schema;
}

const Schema& name_list_schema() {
  static const Schema schema{{{kNameField, 50}}};
  return schema;
}

}  // namespace tavuro::store
