#pragma once
// The goods catalogue shop.dat as the goods window works on it: its list lines, the
// registration of a name with its price, a price change and a deletion. Every read and
// write runs under the damaged-file recovery; every change goes into the month's journal
// of changes with its entry and is followed by the backup copy shop.bak. Messages and
// questions go through the program's dialogs.

#include "startup/app_state.h"
#include "store/record_ref.h"

#include <QStringList>
#include <optional>
#include <vector>

namespace tavuro::catalogues {

inline const QString kGoodsHeader = QStringLiteral("--- 商品名称 ---    --- 单价 ---");
inline const QString kGoodsNameTooWide =
    QStringLiteral("商品名称只可以最多使用8个中文字或16个英文字符，否则数据出错！");

// The goods list: the header line, then one line per record in stored order. names holds,
// for each line, the goods name exactly as stored (empty for the header): a line shows the
// name trimmed, so the line alone cannot tell " 可乐" from "可乐". records holds the record
// behind each line (an empty one for the header): two goods of one name are two records.
struct GoodsList {
  QStringList lines;
  QStringList names;
  std::vector<store::RecordRef> records;
  int count() const { return static_cast<int>(lines.size()) - 1; }
};

// Name left-aligned in the goods column, a column gap, price right-aligned in its column.
QString goods_line(QString name, QString price);

// The list from shop.dat; nullopt when shop.dat is missing (no message) or could not be
// read (the recovery's or a store failure's message has been shown).
std::optional<GoodsList> read_shop_list(const startup::AppState& state);

struct Goods {
  QString name;
  QString price;
};

// The goods of exactly the record behind a line, read afresh. A record gone or changed since
// the list was read is told of ("该记录已被修改或删除，请刷新后再试。"); a store failure is
// reported under failure_name. nullopt in both cases.
std::optional<Goods> find_goods(const startup::AppState& state, const store::RecordRef& record,
                                const QString& failure_name);

enum class AddShopResult {
  Ignored,       // name or price empty: nothing happens
  TooWide,       // the width message has been shown
  Registered,    // a new record, "注册成功！" shown
  PriceChanged,  // the price question answered Yes
  PriceKept,     // the price question answered No
  Failed,        // nothing written, a message has been shown
};

// Registers name (exactly as typed) with price, or after the price question changes the
// price of the first record of that name.
AddShopResult add_shop(const startup::AppState& state, const QString& name, const QString& price);

// Asks "真的要删除商品[name]吗?" and on Yes deletes exactly the record behind the line, when
// it still holds what the list showed (otherwise the message for a record gone or changed).
// Returns true when the catalogue was worked on (Yes and no failure).
bool del_shop(const startup::AppState& state, const QString& name, const store::RecordRef& record);

}  // namespace tavuro::catalogues
