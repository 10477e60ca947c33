#pragma once
// What the cashier window reads from the catalogues: the goods names and a goods' unit
// price from shop.dat, the names of use.dat and kefu.dat. Store errors are thrown.

#include <QString>
#include <QStringList>
#include <optional>

namespace tavuro::cashier {

// The goods names of shop.dat in stored order (a name registered twice comes twice).
QStringList goods_names(const QString& shop_file);

// The unit price of the first goods record whose name equals name exactly.
std::optional<QString> price_of(const QString& shop_file, const QString& name);

// The names of an operator or customer list in stored order.
QStringList list_names(const QString& list_file);

}  // namespace tavuro::cashier
