#include "catalogues/goods_catalogue.h"

#include "platform/dialogs.h"
#include "sales/journal_entry.h"
#include "sales/journaled_change.h"
#include "sales/sale_line.h"
#include "store/backup.h"
#include "store/data_file.h"
#include "store/guarded.h"
#include "textlayout/text_layout.h"

#include <QFileInfo>

namespace tavuro::catalogues {

using store::DataFile;
using store::Record;
namespace shop = store::shop;
using namespace textlayout;

namespace {

bool on_shop_file(const startup::AppState& state, const QString& procedure, const std::function<void()>& work) {
  return sales::journaled_recovered(procedure, state.paths.shop_file, state.paths.shop_backup, work);
}

sales::ChangeContext goods_change(const startup::AppState& state) {
  // Goods changes go into the journal of the month in which they are made.
  return sales::change_context(state.paths.journal_file, state.current_operator);
}

std::optional<Record> first_named(const DataFile& file, const QString& name) {
  return file.find_first({}, [&name](const Record& record) { return record.value(shop::kGoods) == name; });
}

}  // namespace

QString goods_line(QString name, QString price) {
  return pad_text(name, kRight, sales::kGoodsWidth) + sales::kColumnGap + pad_text(price, kLeft, sales::kPriceWidth);
}

std::optional<GoodsList> read_shop_list(const startup::AppState& state) {
  if (!QFileInfo::exists(state.paths.shop_file)) return std::nullopt;
  GoodsList list;
  const bool read = on_shop_file(state, QStringLiteral("read_shop_list"), [&] {
    list = GoodsList{{kGoodsHeader}, {QString()}, {store::RecordRef()}};
    const DataFile file = DataFile::open(state.paths.shop_file, store::shop_schema());
    file.walk({}, [&](const Record& record) {
      list.lines << goods_line(record.value(shop::kGoods), record.value(shop::kPrice));
      list.names << record.value(shop::kGoods);
      list.records.push_back(file.ref_to(record));
      return true;
    });
  });
  if (!read) return std::nullopt;
  return list;
}

std::optional<Goods> find_goods(const startup::AppState& state, const store::RecordRef& record,
                                const QString& failure_name) {
  std::optional<Goods> found;
  bool gone = false;
  const bool read = on_shop_file(state, failure_name, [&] {
    const DataFile file = DataFile::open(state.paths.shop_file, store::shop_schema());
    gone = !file.holds(record);
    if (!gone) {
      found = Goods{record.values.value(file.fields().indexOf(shop::kGoods)),
                    record.values.value(file.fields().indexOf(shop::kPrice))};
    }
  });
  if (read && gone) platform::warn(sales::stale_record_message());
  return found;
}

AddShopResult add_shop(const startup::AppState& state, const QString& name, const QString& price) {
  if (name.isEmpty() || price.isEmpty()) return AddShopResult::Ignored;
  if (text_width(trim_spaces(name)) > sales::kGoodsWidth) {
    platform::inform(kGoodsNameTooWide);
    return AddShopResult::TooWide;
  }
  std::optional<bool> change_price;  // asked once, even if the work is tried again
  const sales::ChangeContext context = goods_change(state);
  AddShopResult result = AddShopResult::Failed;
  const bool worked = on_shop_file(state, QStringLiteral("add_shop"), [&] {
    DataFile file = DataFile::open_for_change(state.paths.shop_file, store::shop_schema(), state.paths.shop_backup);
    if (const auto existing = first_named(file, name)) {
      if (!change_price) {
        change_price = platform::ask_yes_no(QStringLiteral("商品名称已经存在,你是否要将原来单价[") +
                                               existing->value(shop::kPrice) + QStringLiteral("]改成现在单价[") +
                                               price + QLatin1Char(']'),
                                           platform::Icon::Information);
      }
      if (!*change_price) {
        result = AddShopResult::PriceKept;
        return;
      }
      sales::update_journaled(file, context, sales::kGoodsKind, file.ref_to(*existing), {{shop::kPrice, price}});
      result = AddShopResult::PriceChanged;
    } else {
      sales::append_journaled(file, context, sales::kGoodsKind, {{shop::kGoods, name}, {shop::kPrice, price}});
      result = AddShopResult::Registered;
    }
  });
  if (!worked) return AddShopResult::Failed;
  if (result == AddShopResult::PriceKept) return result;
  store::backup_file(state.paths.shop_file, state.paths.shop_backup, store::SourceCheck::AlreadySound);
  if (result == AddShopResult::Registered) platform::dialogs().message(QStringLiteral("注册成功！"));
  return result;
}

bool del_shop(const startup::AppState& state, const QString& name, const store::RecordRef& record) {
  if (!platform::ask_yes_no(QStringLiteral("真的要删除商品[") + name + QStringLiteral("]吗?"),
                            platform::Icon::Information)) {
    return false;
  }
  const sales::ChangeContext context = goods_change(state);
  bool deleted = false;
  const bool worked = on_shop_file(state, QStringLiteral("del_shop"), [&] {
    DataFile file = DataFile::open_for_change(state.paths.shop_file, store::shop_schema(), state.paths.shop_backup);
    deleted = sales::remove_journaled(file, context, sales::kGoodsKind, record);
  });
  if (!worked) return false;
  if (!deleted) {
    platform::warn(sales::stale_record_message());
    return true;  // the list is read again, to show the catalogue as it is
  }
  store::backup_file(state.paths.shop_file, state.paths.shop_backup, store::SourceCheck::AlreadySound);
  return true;
}

}  // namespace tavuro::catalogues
