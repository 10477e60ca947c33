#include "startup/data_files.h"

#include "platform/clock.h"
#include "sales/journaled_change.h"
#include "store/data_file.h"

#include <QFileInfo>

namespace tavuro::startup {

namespace {

void make_if_missing(const QString& path, const store::Schema& schema) {
  if (QFileInfo::exists(path)) return;
  store::DataFile::create(path, schema);
}

}  // namespace

void make_day_file(const AppState& state) { make_if_missing(state.paths.day_file, store::day_schema()); }
void make_journal(const AppState& state) {
  if (QFileInfo::exists(state.paths.journal_file)) return;
  try {
    sales::start_journal(state.paths.journal_file, QString(), platform::now());
  } catch (const store::StoreError&) {
    // Told at the first change, which is then not made.
  }
}
void make_shop_file(const AppState& state) { make_if_missing(state.paths.shop_file, store::shop_schema()); }
void make_usefile(const AppState& state) { make_if_missing(state.paths.use_file, store::name_list_schema()); }
void make_KeFu_file(const AppState& state) { make_if_missing(state.paths.kefu_file, store::name_list_schema()); }

}  // namespace tavuro::startup
