#include "query/filter_names.h"

#include "startup/data_files.h"
#include "store/data_file.h"
#include "store/guarded.h"

namespace tavuro::query {

namespace {

QStringList name_list(const QString& path, const std::function<void()>& make_missing, const QString& procedure) {
  QStringList names;
  store::guarded(store::show_message(QStringLiteral("数据出错！[") + procedure + QLatin1Char(']')), [&] {
    make_missing();
    names = store::DataFile::open(path, store::name_list_schema()).column(store::kNameField);
  });
  return names;
}

}  // namespace

QStringList operator_filter_names(const startup::AppState& state) {
  return name_list(
      state.paths.use_file, [&state] { startup::make_usefile(state); }, QStringLiteral("read_use"));
}

QStringList customer_filter_names(const startup::AppState& state) {
  return name_list(
      state.paths.kefu_file, [&state] { startup::make_KeFu_file(state); }, QStringLiteral("read_KeFu_file"));
}

QStringList goods_filter_names(const startup::AppState& state) {
  QStringList names;
  store::work_on_file(QStringLiteral("read_shop_names"), state.paths.shop_file, state.paths.shop_backup, [&] {
    names = store::DataFile::open(state.paths.shop_file, store::shop_schema()).column(store::shop::kGoods);
  });
  return names;
}

}  // namespace tavuro::query
