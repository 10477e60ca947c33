#include "catalogues/customer_list.h"

#include "platform/dialogs.h"
#include "sales/journaled_change.h"
#include "store/data_file.h"
#include "store/guarded.h"
#include "textlayout/text_layout.h"

#include <QFileInfo>

namespace tavuro::catalogues {

using store::DataFile;
using store::kNameField;
using store::Record;
using store::StoreError;

namespace {

std::optional<Record> first_named(const DataFile& file, const QString& name) {
  return file.find_first({kNameField}, [&name](const Record& record) { return record.value(kNameField) == name; });
}

}  // namespace

std::optional<CustomerLines> read_KeFu(const startup::AppState& state) {
  if (!QFileInfo::exists(state.paths.kefu_file)) return std::nullopt;
  CustomerLines lines;
  if (!store::guarded(store::show_message(QStringLiteral("客户名文件被破坏[read_KeFu]。"), platform::Icon::Exclamation),
                      [&] {
                        lines = {};
                        const DataFile file = DataFile::open(state.paths.kefu_file, store::name_list_schema());
                        file.walk({}, [&](const Record& record) {
                          lines.names << record.value(kNameField);
                          lines.records.push_back(file.ref_to(record));
                          return true;
                        });
                      })) {
    return std::nullopt;
  }
  return lines;
}

AddKeFuResult add_KeFu(const startup::AppState& state, const QString& text) {
  const QString name = textlayout::trim_spaces(text);
  if (name.isEmpty()) {
    platform::inform(QStringLiteral("你还未输入客户名。"));
    return AddKeFuResult::Empty;
  }
  std::optional<DataFile> file;
  if (!store::guarded(QStringLiteral("add_KeFu"),
                      [&] { file = DataFile::open(state.paths.kefu_file, store::name_list_schema()); })) {
    return AddKeFuResult::Failed;
  }
  // Once the list is open, a failure tells that the name was not registered.
  const auto not_registered = [](const StoreError& error) {
    platform::inform(error.kind() == StoreError::Kind::ValueTooLong
                         ? QStringLiteral("客户名称太长，最多只可以使用50个字符，没有注册。[add_KeFu]")
                         : QStringLiteral("客户名称没有注册，数据出错！[add_KeFu]"));
  };
  bool duplicate = false;
  if (!store::guarded(not_registered, [&] {
        duplicate = first_named(*file, name).has_value();
        if (!duplicate) file->append({{kNameField, name}});
      })) {
    return AddKeFuResult::Failed;
  }
  if (duplicate) {
    platform::inform(QStringLiteral("客户名称已经存在,不用再注册了。"));
    return AddKeFuResult::Duplicate;
  }
  return AddKeFuResult::Registered;
}

bool del_KeFu(const startup::AppState& state, const QString& name, const store::RecordRef& record) {
  if (!platform::ask_yes_no(QStringLiteral("真的要删除客户[") + name +
                                QStringLiteral("]吗? （如果删除了就不能再用它来查询它所有的记录）"),
                            platform::Icon::Information)) {
    return false;
  }
  return store::guarded(QStringLiteral("del_KeFu"), [&] {
    DataFile file = DataFile::open(state.paths.kefu_file, store::name_list_schema());
    if (file.holds(record)) {
      file.remove(record.id);
    } else {
      platform::warn(sales::stale_record_message());
    }
  });
}

}  // namespace tavuro::catalogues
