#include "catalogues/operator_list.h"

#include "platform/dialogs.h"
#include "sales/journaled_change.h"
#include "sales/sale_line.h"
#include "startup/data_files.h"
#include "store/data_file.h"
#include "store/guarded.h"
#include "textlayout/text_layout.h"

namespace tavuro::catalogues {

using store::DataFile;
using store::kNameField;
using store::Record;
using namespace textlayout;

namespace {

bool any_name(const DataFile& file, const std::function<bool(const QString&)>& match) {
  return file.find_first({kNameField}, [&match](const Record& record) { return match(record.value(kNameField)); })
      .has_value();
}

}  // namespace

QString operator_line(QString name) { return pad_text(name, kRight, sales::kOperatorWidth); }

std::optional<OperatorLines> read_use(const startup::AppState& state) {
  OperatorLines lines;
  if (!store::guarded(store::show_message(QStringLiteral("数据出错！[read_use]")), [&] {
        startup::make_usefile(state);
        const DataFile file = DataFile::open(state.paths.use_file, store::name_list_schema());
        file.walk({}, [&](const Record& record) {
          lines.lines << operator_line(record.value(kNameField));
          lines.records.push_back(file.ref_to(record));
          return true;
        });
      })) {
    return std::nullopt;
  }
  return lines;
}

AddUseResult add_use(const startup::AppState& state, const QString& text) {
  QString name = text;
  const int width = text_width(name);
  if (width == 0) return AddUseResult::Ignored;
  if (width > sales::kOperatorWidth) {
    platform::inform(kOperatorTooWide);
    return AddUseResult::TooWide;
  }
  bool duplicate = false;
  if (!store::guarded(store::show_message(QStringLiteral("数据出错！[add_use]")), [&] {
        DataFile file = DataFile::open(state.paths.use_file, store::name_list_schema());
        duplicate = any_name(file, [&name](const QString& stored) { return stored == name; });
        if (!duplicate) file.append({{kNameField, name}});
      })) {
    return AddUseResult::Failed;
  }
  if (duplicate) {
    platform::inform(QStringLiteral("名称已经存在,[") + name + QStringLiteral("]不用再加入。"));
    return AddUseResult::Duplicate;
  }
  platform::dialogs().message(QStringLiteral("注册成功！"));
  return AddUseResult::Registered;
}

bool del_use(const startup::AppState& state, const QString& name, const store::RecordRef& record) {
  if (!platform::ask_yes_no(QStringLiteral("真的要删除[") + name + QStringLiteral("]吗?"), platform::Icon::Information)) {
    return false;
  }
  return store::guarded(store::show_message(QStringLiteral("数据出错！[del_use]")), [&] {
    DataFile file = DataFile::open(state.paths.use_file, store::name_list_schema());
    if (file.record_count() == 0) {
      platform::inform(QLatin1Char('[') + name + QStringLiteral("]不存在！"));
      return;
    }
    if (file.holds(record)) {
      file.remove(record.id);
    } else {
      platform::warn(sales::stale_record_message());
    }
  });
}

UseOperatorResult use_operator(startup::AppState& state, const QString& text) {
  QString name = text;
  const int width = text_width(name);
  if (width == 0) {
    platform::inform(QStringLiteral("你还没有输入操作员姓名或编号!"));
    return UseOperatorResult::Empty;
  }
  if (width > sales::kOperatorWidth) {
    platform::inform(kOperatorTooWide);
    return UseOperatorResult::TooWide;
  }
  bool registered = false;
  if (!store::guarded(QStringLiteral("Command1_Click"), [&] {
        const DataFile file = DataFile::open(state.paths.use_file, store::name_list_schema());
        registered = any_name(file, [&name](const QString& stored) { return trim_spaces(stored) == name; });
      })) {
    return UseOperatorResult::Failed;
  }
  if (!registered) {
    platform::inform(kOperatorNotRegistered);
    return UseOperatorResult::NotRegistered;
  }
  state.current_operator = name;
  platform::inform(QStringLiteral("你的操作员姓名或编号 [") + name + QStringLiteral("] 开始使用!"));
  return UseOperatorResult::Chosen;
}

}  // namespace tavuro::catalogues
