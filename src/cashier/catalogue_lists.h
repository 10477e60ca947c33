#pragma once
// What the cashier window reads from the catalogues: the goods of shop.dat with their
// prices and codes, a goods' unit price, the names of use.dat and kefu.dat. Store errors
// are thrown.

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

namespace tavuro::cashier {

// The goods of shop.dat in stored order (a name registered twice comes twice), read in
// one pass: for each record its name, price and code (empty when it has none).
struct GoodsLists {
  QStringList names;
  QStringList prices;
  QStringList codes;
};
GoodsLists read_goods_lists(const QString& shop_file);

struct CodedGoods {
  QString name;
  QString price;
};

// The goods found by their code, from lists already read: a scan looks up a table in
// memory, not the file. A code held by more than one record (written by hand) finds the
// first of them.
class GoodsCodes {
 public:
  GoodsCodes() = default;
  explicit GoodsCodes(const GoodsLists& goods);

  std::optional<CodedGoods> find(const QString& code) const;
  qsizetype size() const { return by_code_.size(); }

 private:
  QHash<QString, CodedGoods> by_code_;
};

// The unit price of the first goods record whose name equals name exactly.
std::optional<QString> price_of(const QString& shop_file, const QString& name);

// The names of an operator or customer list in stored order.
QStringList list_names(const QString& list_file);

}  // namespace tavuro::cashier
