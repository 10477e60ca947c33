#include "startup/data_files.h"

#include "store/data_file.h"

#include <QFileInfo>

namespace tavuro::startup {

namespace {

void make_if_missing(const QString& path, const store::Schema& schema) {
  if (QFileInfo::exists(path)) return;
  store::DataFile::create(path, schema);
}

}  // namespace

void make_day_file(const AppState& state) { make_if_missing(state.paths.dayFile, store::day_schema()); }
void make_shop_file(const AppState& state) { make_if_missing(state.paths.shopFile, store::shop_schema()); }
void make_usefile(const AppState& state) { make_if_missing(state.paths.useFile, store::name_list_schema()); }
void make_KeFu_file(const AppState& state) { make_if_missing(state.paths.kefuFile, store::name_list_schema()); }

}  // namespace tavuro::startup
