#include "catalogues/customer_list.h"

#include "catalogues/store_work.h"
#include "platform/dialogs.h"
#include "store/data_file.h"
#include "textlayout/text_layout.h"

#include <QFileInfo>

namespace tavuro::catalogues {

using store::DataFile;
using store::kNameField;
using store::Record;
using store::StoreError;

namespace {

std::optional<Record> first_named(const DataFile& file, const QString& name) {
  return file.findFirst({kNameField}, [&name](const Record& record) { return record.value(kNameField) == name; });
}

}  // namespace

std::optional<QStringList> read_KeFu(const startup::AppState& state) {
  if (!QFileInfo::exists(state.paths.kefuFile)) return std::nullopt;
  try {
    QStringList names;
    DataFile::open(state.paths.kefuFile, store::name_list_schema()).walk({kNameField}, [&names](const Record& record) {
      names << record.value(kNameField);
      return true;
    });
    return names;
  } catch (const StoreError&) {
    platform::warn(QStringLiteral("客户名文件被破坏[read_KeFu]。"));
    return std::nullopt;
  }
}

AddKeFuResult add_KeFu(const startup::AppState& state, const QString& text) {
  const QString name = textlayout::trim_spaces(text);
  if (name.isEmpty()) {
    platform::inform(QStringLiteral("你还未输入客户名。"));
    return AddKeFuResult::Empty;
  }
  std::optional<DataFile> file;
  if (!guarded(QStringLiteral("add_KeFu"), [&] {
        file = DataFile::open(state.paths.kefuFile, store::name_list_schema());
        return true;
      })) {
    return AddKeFuResult::Failed;
  }
  try {
    if (first_named(*file, name)) {
      platform::inform(QStringLiteral("客户名称已经存在,不用再注册了。"));
      return AddKeFuResult::Duplicate;
    }
    file->append({{kNameField, name}});
  } catch (const StoreError& error) {
    platform::inform(error.kind() == StoreError::Kind::ValueTooLong
                         ? QStringLiteral("客户名称太长，最多只可以使用50个字符，没有注册。[add_KeFu]")
                         : QStringLiteral("客户名称没有注册，数据出错！[add_KeFu]"));
    return AddKeFuResult::Failed;
  }
  return AddKeFuResult::Registered;
}

bool del_KeFu(const startup::AppState& state, const QString& name) {
  if (!platform::ask_yes_no(QStringLiteral("真的要删除客户[") + name +
                                QStringLiteral("]吗? （如果删除了就不能再用它来查询它所有的记录）"),
                            platform::Icon::Information)) {
    return false;
  }
  return guarded(QStringLiteral("del_KeFu"), [&] {
    DataFile file = DataFile::open(state.paths.kefuFile, store::name_list_schema());
    if (const auto record = first_named(file, name)) file.remove(record->id());
    return true;
  });
}

}  // namespace tavuro::catalogues
