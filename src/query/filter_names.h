#pragma once
// What the query window's filter boxes offer after their all-entry: the names of the
// operator and customer lists and of the goods catalogue, in stored order, exactly as
// stored. A list or catalogue that cannot be read gives no names, after its message.

#include "startup/app_state.h"

#include <QStringList>

namespace tavuro::query {

// use.dat, made when missing; "数据出错！[read_use]" when it cannot be read.
QStringList operator_filter_names(const startup::AppState& state);
// kefu.dat, made when missing; "数据出错！[read_KeFu_file]" when it cannot be read.
QStringList customer_filter_names(const startup::AppState& state);
// shop.dat, restored from its backup when damaged; a missing catalogue is not made and
// gives none. "数据出错！[read_shop_names]" for a failure the recovery does not mend.
QStringList goods_filter_names(const startup::AppState& state);

}  // namespace tavuro::query
