#pragma once
// The layouts of the shop's data files. Field names are part of the file format.

#include <QList>
#include <QString>

namespace tavuro::store {

struct Field {
  QString name;
  int maxLength;  // in characters
};

struct Schema {
  QList<Field> fields;
  QStringList names() const;
};

// Field names of the day file, in their order.
namespace day {
inline const QString kGoods = QStringLiteral("商品");
inline const QString kQuantity = QStringLiteral("数量");
inline const QString kPrice = QStringLiteral("单价");
inline const QString kAmount = QStringLiteral("金额");
inline const QString kOperator = QStringLiteral("操作编号");
inline const QString kTime = QStringLiteral("时间");
inline const QString kCode = QStringLiteral("识别码");  // never written
inline const QString kCustomer = QStringLiteral("固定客户");
inline const QString kReceiptNo = QStringLiteral("单号");
}  // namespace day

// shop.dat: goods name, unit price, code (a barcode or the shop's own digits; empty when none).
namespace shop {
inline const QString kGoods = QStringLiteral("商品");
inline const QString kPrice = QStringLiteral("单价");
inline const QString kCode = QStringLiteral("编码");
}  // namespace shop

// use.dat and kefu.dat: one name per record.
inline const QString kNameField = QStringLiteral("名单");

const Schema& day_schema();
const Schema& shop_schema();
const Schema& name_list_schema();

}  // namespace tavuro::store
