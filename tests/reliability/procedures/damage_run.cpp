#include "damage_run.h"

#include "cashier/frm_record_edit.h"
#include "cashier/frm_shop.h"
#include "cashier/sale_entry_panel.h"
#include "cashier/sale_record.h"
#include "cashier/today_panel.h"
#include "catalogues/customer_list.h"
#include "catalogues/goods_catalogue.h"
#include "catalogues/operator_list.h"
#include "query/frm_query.h"
#include "query/query_engine.h"
#include "reports/sales_report.h"
#include "sales/labels.h"
#include "sales/sale_line.h"
#include "startup/data_files.h"
#include "startup/settings.h"
#include "startup/start_up.h"
#include "store/backup.h"
#include "store/data_file.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>

#include <algorithm>

namespace tavuro::reliability {

using cashier::Frm_shop;
namespace day = store::day;

platform::Answer RecordingDialogs::message(const QString& text, platform::Icon, platform::Buttons buttons,
                                           const QString&) {
  messages << text;
  return buttons == platform::Buttons::Ok ? platform::Answer::Ok : platform::Answer::Yes;
}

void fill_shop(startup::AppState& state, const QString& app_dir) {
  startup::set_paths(state, app_dir, QDate(2003, 5, 7));
  startup::make_day_file(state);
  startup::make_shop_file(state);
  startup::make_usefile(state);
  startup::make_KeFu_file(state);
  const auto names = [](const QString& first, const QString& second, const QString& prefix) {
    QStringList list{first, second};
    for (int i = 0; i < 300; ++i) list << prefix + QString::number(i);
    return list;
  };
  std::vector<store::FieldValues> goods;
  for (const QString& name : names(QStringLiteral("可乐"), QStringLiteral("茶"), QStringLiteral("货"))) {
    goods.push_back({{store::shop::kGoods, name}, {store::shop::kPrice, QStringLiteral("2.50")}});
  }
  store::DataFile::open(state.paths.shop_file).append_all(goods);
  for (const QString& path : {state.paths.use_file, state.paths.kefu_file}) {
    std::vector<store::FieldValues> list;
    const bool operators = path == state.paths.use_file;
    for (const QString& name : operators
                                   ? names(QStringLiteral("001"), QStringLiteral("002"), QStringLiteral("o"))
                                   : names(QStringLiteral("张三"), QStringLiteral("李四"), QStringLiteral("客户"))) {
      list.push_back({{store::kNameField, name}});
    }
    store::DataFile::open(path).append_all(list);
  }
  std::vector<store::FieldValues> sales;
  for (int i = 0; i < 300; ++i) {
    sales.push_back({{day::kGoods, i % 3 == 0 ? QStringLiteral("茶") : QStringLiteral("可乐")},
                     {day::kQuantity, QStringLiteral("1.00")},
                     {day::kPrice, QStringLiteral("2.50")},
                     {day::kAmount, QStringLiteral("2.50")},
                     {day::kOperator, i % 2 == 0 ? QStringLiteral("001") : QStringLiteral("002")},
                     {day::kTime, QTime(9, 0).addSecs(i).toString(QStringLiteral("HH:mm:ss"))},
                     {day::kCustomer, sales::kWalkInCustomer},
                     {day::kReceiptNo, startup::receipt_number_text(1 + i / 3)}});
  }
  store::DataFile::open(state.paths.day_file).append_all(sales);
  store::backup_file(state.paths.day_file, state.paths.day_backup);
  store::backup_file(state.paths.shop_file, state.paths.shop_backup);
}

// The fourth sale line fill_shop writes, as a list that read it refers to it.
store::RecordRef tea_record(const startup::AppState& state) {
  return {state.paths.day_file,
          4,
          {QStringLiteral("茶"), QStringLiteral("1.00"), QStringLiteral("2.50"), QStringLiteral("2.50"),
           QStringLiteral("002"), QStringLiteral("09:00:03"), QString(), sales::kWalkInCustomer,
           startup::receipt_number_text(2)}};
}

// The second record fill_shop writes into a catalogue, as its list read it.
store::RecordRef second_record(const QString& path, const QStringList& values) { return {path, 2, values}; }

struct Context {
  startup::AppState& state;
  Frm_shop& window;
  RecordingDialogs& dialogs;
};

struct Procedure {
  QString name;
  bool recovers = false;  // runs the damaged-file recovery
  bool writes = false;
  std::function<void(Context&)> run;
  // Reads only some records or fields (or changes in place a file that has no backup): it
  // need not notice random damage in the rest.
  bool partial = false;
  bool deletes = false;  // takes one record away
  QString adds{};        // a field value of the record it adds, which must land
};

namespace {

// A procedure over one small shop that runs this long hangs, however slow the machine.
constexpr qint64 kHang = 60000;  // ms
const QString kReportWrongFile = QStringLiteral("读数据文件时出错,可能你选的文件不是每天的数据文件！");

// The messages a procedure may show besides its ordinary ones: the recovery's two, the
// failed backup copy, and the procedures' own failure messages.
bool is_failure_message(const QString& text) {
  static const QStringList exact{
      QStringLiteral("备份数据文件出错。"),
      QStringLiteral("客户名文件被破坏[read_KeFu]。"),
      QStringLiteral("客户名称没有注册，数据出错！[add_KeFu]"),
      QStringLiteral("查无此单！"),
  };
  return exact.contains(text) || text.startsWith(QStringLiteral("数据不能修复，请试用 Microsoft Access 来修复 [ ")) ||
         text.startsWith(QStringLiteral("数据出错！[")) || text.endsWith(QStringLiteral("]数据文件备份出错！")) ||
         text.startsWith(QStringLiteral("以下文件无法读取，已跳过：")) ||
         text.startsWith(QStringLiteral("数据出错 [读")) || text == kReportWrongFile;
}

bool is_ordinary_message(const QString& text) {
  // A name or number made wider than its column by the damage is shown empty, with the
  // message of the column layout.
  // A recovery that rebuilds a file from what it still yields gives its records new places:
  // a record a list read before it is then gone, and the procedure changes nothing.
  return text == QStringLiteral("注册成功！") || text == QStringLiteral("该记录已被修改或删除，请刷新后再试。") || text == QStringLiteral("数据出错![add_not]") ||
         text.startsWith(QStringLiteral("真的要删除")) || text.startsWith(QStringLiteral("商品名称已经存在,")) ||
         text.startsWith(QStringLiteral("是否删除下列记录：")) ||
         text.startsWith(QStringLiteral("你的操作员姓名或编号 [")) ||
         text == QStringLiteral("你输入的编号或名字还未注册，请先加入注册后使用。");  // a name the damage changed
}

template <typename T>
T* child(QWidget& window, const char* name) {
  return window.findChild<T*>(QString::fromUtf8(name));
}

const Procedure kSalesReport{QStringLiteral("build_sales_report"), false, false,
                             [](Context& c) { reports::build_sales_report(c.state, c.state.paths.day_file); }, true};

const cashier::SaleRecord kNewLine{{QStringLiteral("可乐"), QStringLiteral("1.00"), QStringLiteral("2.50"),
                                    QStringLiteral("2.50"), QStringLiteral("001"), QStringLiteral("15:05:09")},
                                   QString(),
                                   QStringLiteral("000999")};

// Start-up (the cashier window loads every list), then work, then the day report: the
// procedures one after the other, as the shop meets them.
void start_up_then(Context& c, const std::function<void()>& work) {
  startup::start_up(c.state, c.state.paths.app_dir, QDate(2003, 5, 7),
                    [](startup::AppState& state) { Frm_shop window(state); });
  work();
  reports::build_sales_report(c.state, c.state.paths.day_file);
}

void show_skipped(Context& context, const query::QueryResult& result) {
  if (!result.skipped_files.isEmpty()) context.dialogs.messages << query::skipped_files_message(result.skipped_files);
}

QList<Procedure> day_procedures() {
  return {
      {QStringLiteral("read_myfile"), true, false, [](Context& c) { c.window.read_myfile(); }},
      {QStringLiteral("Read_x_myfile"), true, false,
       [](Context& c) {
         child<QComboBox>(c.window, "Co_查商品")->setEditText(QStringLiteral("可乐"));
         child<QComboBox>(c.window, "Co_查操作员")->setEditText(sales::kAllEntry);
         c.window.today().Co_查商品_Click();
       }},
      {QStringLiteral("read_receipt_lines"), false, false,
       [](Context& c) {
         child<QLineEdit>(c.window, "Text4")->setText(QStringLiteral("000002"));
         if (!c.window.today().read_receipt_lines()) c.dialogs.messages << QStringLiteral("查无此单！");
       }},
      {QStringLiteral("save_line"), true, true, [](Context& c) { cashier::save_line(c.state.paths, kNewLine); }, false,
       false, kNewLine.receipt},
      {QStringLiteral("start-up, save_line, report"), true, true,
       [](Context& c) { start_up_then(c, [&c] { cashier::save_line(c.state.paths, kNewLine); }); }, false, false,
       kNewLine.receipt},
      {QStringLiteral("receipt line delete"), true, true,
       [](Context& c) {
         // A line of the receipt whose record is in the day file, selected.
         cashier::SaleEntryPanel& entry = c.window.sale_entry();
         entry.Command2_Click();
         entry.add_line({QStringLiteral("茶"), QStringLiteral("1.00"), QStringLiteral("2.50"), QStringLiteral("2.50"),
                         QStringLiteral("002"), QStringLiteral("09:00:03")},
                        [&c] { return tea_record(c.state); });
         child<QAction>(c.window, "删除")->trigger();
       },
       false, true},
      {QStringLiteral("R_File"), false, false,
       [](Context& c) {
         c.state.edit_record = tea_record(c.state);
         cashier::Frm_编辑 edit(c.state, &c.window);
       },
       true},
      {QStringLiteral("query_files"), false, false,
       [](Context& c) {
         show_skipped(c, query::query_files({c.state.paths.day_file}, {{day::kGoods, sales::kAllEntry},
                                                                      {day::kOperator, QStringLiteral("001")},
                                                                      {day::kCustomer, sales::kAllEntry}}));
       },
       true},
      {QStringLiteral("query_receipt_lines"), false, false,
       [](Context& c) {
         show_skipped(c, query::query_receipt_lines({c.state.paths.day_file}, QStringLiteral("000002")));
       },
       true},
      kSalesReport,
  };
}

QList<Procedure> shop_procedures() {
  return {
      {QStringLiteral("read_shop_file"), true, false, [](Context& c) { c.window.read_shop_file(); }, true},
      {QStringLiteral("find_price"), true, false,
       [](Context& c) {
         child<QComboBox>(c.window, "Combo1")->setEditText(QStringLiteral("茶"));
         c.window.find_price();
       },
       true},
      {QStringLiteral("read_shop_list"), true, false, [](Context& c) { catalogues::read_shop_list(c.state); }, true},
      {QStringLiteral("find_goods"), true, false,
       [](Context& c) { catalogues::find_goods(c.state,
                                 second_record(c.state.paths.shop_file,
                                               {QStringLiteral("茶"), QStringLiteral("2.50"), QString()}),
                                 QStringLiteral("List1_Click")); }, true},
      {QStringLiteral("add_shop (new)"), true, true,
       [](Context& c) { catalogues::add_shop(c.state, QStringLiteral("新货"), QStringLiteral("3.00")); }, false, false,
       QStringLiteral("新货")},
      {QStringLiteral("add_shop (new price)"), true, true,
       [](Context& c) { catalogues::add_shop(c.state, QStringLiteral("茶"), QStringLiteral("9.99")); }},
      {QStringLiteral("del_shop"), true, true, [](Context& c) {
         catalogues::del_shop(c.state, QStringLiteral("茶"),
                              second_record(c.state.paths.shop_file, {QStringLiteral("茶"), QStringLiteral("2.50"), QString()}));
       },
       false, true},
      {QStringLiteral("start-up, add_shop, report"), true, true,
       [](Context& c) {
         start_up_then(c, [&c] { catalogues::add_shop(c.state, QStringLiteral("新货"), QStringLiteral("3.00")); });
       },
       true, false, QStringLiteral("新货")},
      {QStringLiteral("query window"), true, false, [](Context& c) { query::Frm_查询 query(c.state, &c.window); },
       true},
      kSalesReport,
  };
}

QList<Procedure> use_procedures() {
  return {
      {QStringLiteral("read_usefile"), false, false, [](Context& c) { c.window.read_usefile(); }},
      {QStringLiteral("read_use"), false, false, [](Context& c) { catalogues::read_use(c.state); }},
      {QStringLiteral("add_use"), false, true,
       [](Context& c) { catalogues::add_use(c.state, QStringLiteral("新人")); }},
      {QStringLiteral("del_use"), false, true, [](Context& c) {
         catalogues::del_use(c.state, QStringLiteral("002"), second_record(c.state.paths.use_file, {QStringLiteral("002")}));
       },
       true, true},
      {QStringLiteral("use_operator"), false, false,
       [](Context& c) { catalogues::use_operator(c.state, QStringLiteral("001")); }, true},
      {QStringLiteral("query window"), false, false, [](Context& c) { query::Frm_查询 query(c.state, &c.window); }},
      kSalesReport,
  };
}

QList<Procedure> kefu_procedures() {
  return {
      {QStringLiteral("read_KeFu_file"), false, false, [](Context& c) { c.window.read_KeFu_file(); }},
      {QStringLiteral("read_KeFu"), false, false, [](Context& c) { catalogues::read_KeFu(c.state); }},
      {QStringLiteral("add_KeFu"), false, true,
       [](Context& c) { catalogues::add_KeFu(c.state, QStringLiteral("新客户")); }},
      {QStringLiteral("del_KeFu"), false, true,
       [](Context& c) {
         catalogues::del_KeFu(c.state, QStringLiteral("李四"), second_record(c.state.paths.kefu_file, {QStringLiteral("李四")}));
       },
       true, true},
      {QStringLiteral("query window"), false, false, [](Context& c) { query::Frm_查询 query(c.state, &c.window); }},
  };
}

QList<Procedure> procedures_of(FileKind kind) {
  switch (kind) {
    case FileKind::Day:
      return day_procedures();
    case FileKind::Shop:
      return shop_procedures();
    case FileKind::Use:
      return use_procedures();
    case FileKind::KeFu:
      return kefu_procedures();
  }
  return {};
}

bool changes_bytes(Damage damage) {
  return damage != Damage::Directory && damage != Damage::ReadOnly && damage != Damage::Unreadable;
}

bool is_recovery_notice(const QString& text) {
  return text.startsWith(QStringLiteral("数据文件已从备份恢复：")) ||
         text.startsWith(QStringLiteral("数据文件已修复："));
}

// The records of before that after lacks: by id, or (a record whose id the damage
// changed) anywhere with the same fields. Only the ids are compared where the procedure
// changes fields.
QList<qint64> missing_records(const std::map<qint64, QStringList>& before, const std::map<qint64, QStringList>& after,
                              bool compare_fields) {
  QList<qint64> missing;
  for (const auto& [id, values] : before) {
    const auto at = after.find(id);
    if (at != after.end() && (!compare_fields || at->second == values)) continue;
    const bool moved =
        std::any_of(after.cbegin(), after.cend(), [&](const auto& record) { return record.second == values; });
    if (!moved) missing << id;
  }
  return missing;
}

bool holds_value(const std::map<qint64, QStringList>& records, const QString& value) {
  return std::any_of(records.cbegin(), records.cend(),
                     [&](const auto& record) { return record.second.contains(value); });
}

}  // namespace

DamageRun::DamageRun(startup::AppState& state, FileKind kind)
    : state_(state), kind_(kind), target_(target_of(state.paths, kind)) {
  healthy_ = bytes_of(target_.file);
  if (!target_.backup.isEmpty()) {
    healthy_backup_ = bytes_of(target_.backup);
    // The backup as it was ten records ago.
    const QString older = target_.file + QStringLiteral(".older");
    put_bytes(older, healthy_backup_);
    {
      store::DataFile file = store::DataFile::open(older);
      const std::vector<store::Record> records = file.records();
      for (std::size_t i = records.size() > 10 ? records.size() - 10 : 0; i < records.size(); ++i) {
        file.remove(records[i].id());
      }
    }
    older_backup_ = bytes_of(older);
    remove_any(older);
  }
  scope_ = std::make_unique<platform::ScopedDialogs>(dialogs_);
  window_ = std::make_unique<Frm_shop>(state_);
}

DamageRun::~DamageRun() {
  window_.reset();
  scope_.reset();
}

void DamageRun::restore(BackupState backup, unsigned seed) {
  const QFileInfo info(target_.file);
  const QDir folder(info.path());
  for (const QString& name : folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
    const bool beside_file = name.startsWith(info.fileName()) && name != info.fileName();
    const bool beside_backup =
        !target_.backup.isEmpty() && name.startsWith(QFileInfo(target_.backup).fileName() + QStringLiteral("."));
    if (beside_file || beside_backup) remove_any(folder.filePath(name));
  }
  put_bytes(target_.file, healthy_);
  if (target_.backup.isEmpty()) return;
  switch (backup) {
    case BackupState::Current:
      put_bytes(target_.backup, healthy_backup_);
      break;
    case BackupState::Older:
      put_bytes(target_.backup, older_backup_);
      break;
    case BackupState::Damaged: {
      // Cut short, or its bytes changed: a copy the disk or a crash has spoilt.
      std::mt19937 random(seed + 1000);
      put_bytes(target_.backup, healthy_backup_);
      const Target backup_as_file{target_.backup, QString(), target_.schema};
      apply_damage(backup_as_file, healthy_backup_, seed % 2 == 0 ? Damage::Truncated : Damage::ByteFlips, random);
      break;
    }
    case BackupState::Missing:
      remove_any(target_.backup);
      break;
  }
}

QStringList DamageRun::run(Damage damage, BackupState backup, unsigned seed) {
  QStringList problems;
  for (const Procedure& procedure : procedures_of(kind_)) problems << run_one(procedure, damage, backup, seed);
  restore(BackupState::Current, seed);
  return problems;
}

QStringList DamageRun::run_one(const Procedure& procedure, Damage damage, BackupState backup, unsigned seed) {
  restore(backup, seed);
  std::mt19937 random(seed);
  apply_damage(target_, healthy_, damage, random);
  const QByteArray damaged = bytes_of(target_.file);
  const QString& file = target_.file;
  const store::Schema& schema = *target_.schema;
  const bool has_backup = !target_.backup.isEmpty() && backup != BackupState::Missing;
  const QByteArray backup_before = target_.backup.isEmpty() ? QByteArray() : bytes_of(target_.backup);

  // What the damage left, judged on copies so that judging cannot change them.
  const auto judged = [](const QString& path, const QByteArray& bytes, const store::Schema& kind) {
    const QString probe = path + QStringLiteral(".probe");
    put_bytes(probe, bytes);
    auto records = records_of(probe, kind);
    remove_any(probe);
    remove_any(probe + QStringLiteral("-journal"));
    return records;
  };
  std::optional<std::map<qint64, QStringList>> damaged_records;
  if (changes_bytes(damage)) damaged_records = judged(file, damaged, schema);
  const bool was_readable = damage == Damage::ReadOnly || damaged_records.has_value();
  // Random changes may leave a backup whole (and then each of its records counts) or not
  // (and then its bytes must be kept).
  std::optional<std::map<qint64, QStringList>> backup_records;
  bool backup_damaged = false;
  if (has_backup) {
    const QString probe = target_.backup + QStringLiteral(".probe");
    put_bytes(probe, backup_before);
    backup_damaged = !intact(probe, schema);
    remove_any(probe);
    remove_any(probe + QStringLiteral("-journal"));
    if (!backup_damaged) backup_records = judged(target_.backup, backup_before, schema);
  }

  dialogs_.messages.clear();
  Context context{state_, *window_, dialogs_};
  QElapsedTimer timer;
  timer.start();
  procedure.run(context);
  const qint64 elapsed = timer.elapsed();
  const QStringList messages = dialogs_.messages;

  QStringList problems;
  const auto problem = [&](const QString& what) {
    problems << QStringLiteral("%1, %2, %3, %4: %5 (seed %6; messages: %7)")
                    .arg(QString::fromUtf8(name_of(kind_)), QString::fromUtf8(name_of(damage)),
                         QString::fromUtf8(name_of(target_.backup.isEmpty() ? BackupState::Missing : backup)),
                         procedure.name, what, QString::number(seed), messages.join(QStringLiteral(" | ")));
  };
  if (elapsed > kHang) problem(QStringLiteral("took %1 ms: it hangs").arg(elapsed));

  int notices = 0;
  for (const QString& message : messages) {
    if (is_recovery_notice(message)) {
      ++notices;
    } else if (!is_failure_message(message) && !is_ordinary_message(message)) {
      problem(QStringLiteral("unexpected message \"%1\"").arg(message));
    }
  }
  const bool set_aside = changes_bytes(damage) && kept_at_or_beside(file, damaged) && bytes_of(file) != damaged;
  const std::optional<std::map<qint64, QStringList>> after = records_of(file, schema);
  const bool recovered = set_aside && after.has_value();
  // Changed bytes may change a value inside a record that still reads (an amount that is
  // no number any more): the report that follows a recovery may say so.
  const bool values_may_change = recovered && (damage == Damage::ByteFlips || backup == BackupState::Damaged);
  const bool failure_shown = std::any_of(messages.cbegin(), messages.cend(), [&](const QString& text) {
    return is_failure_message(text) && !(values_may_change && text == kReportWrongFile);
  });
  if (!target_.backup.isEmpty()) {
    const bool backup_exists = QFileInfo::exists(target_.backup);
    const bool backup_kept = has_backup ? bytes_of(target_.backup) == backup_before : !backup_exists;
    if (!backup_kept && !intact(target_.backup, schema)) problem(QStringLiteral("the backup is no longer a whole copy"));
    if (has_backup && !backup_exists) problem(QStringLiteral("the backup is gone"));
    if (backup_damaged && recovered && !kept_at_or_beside(target_.backup, backup_before)) {
      problem(QStringLiteral("the damaged backup's bytes are lost"));
    }
  }

  if (notices > 1) problem(QStringLiteral("told %1 times of one recovery").arg(notices));
  if (recovered != (notices == 1)) {
    problem(recovered ? QStringLiteral("recovered without a word")
                      : QStringLiteral("told of a recovery that did not happen"));
  }

  if (damage == Damage::ReadOnly && bytes_of(file) != damaged) problem(QStringLiteral("a read-only file changed"));
  if (damage == Damage::ReadOnly && !procedure.writes && failure_shown) {
    problem(QStringLiteral("a read-only file could not be read"));
  }
  // No record that SQLite still read from the damaged file, nor one that a whole backup
  // held, is lost (the procedure's own deletion aside).
  const int may_go = procedure.deletes ? 1 : 0;
  if (damaged_records && after) {
    const QList<qint64> missing = missing_records(*damaged_records, *after, !procedure.writes);
    if (missing.size() > may_go) problem(QStringLiteral("%1 records of the readable file lost").arg(missing.size()));
  }
  if (backup_records && recovered) {
    const QList<qint64> missing = missing_records(*backup_records, *after, false);
    if (missing.size() > may_go) problem(QStringLiteral("%1 records of the whole backup lost").arg(missing.size()));
  }
  // What the procedure wrote lands, and the backup keeps up with it.
  if (!procedure.adds.isEmpty() && !failure_shown && !(procedure.partial && !recovered && !was_readable)) {
    if (!after || !holds_value(*after, procedure.adds)) problem(QStringLiteral("the record written is not there"));
    if (has_backup && bytes_of(target_.backup) != bytes_of(file)) problem(QStringLiteral("the backup fell behind"));
  }

  if (!was_readable) {
    bool in_place = false;
    switch (damage) {
      case Damage::Directory:
        in_place = QFileInfo(file).isDir();
        break;
      case Damage::Unreadable:
        in_place = QFileInfo(file).isFile() && !QFileInfo(file).isReadable();
        break;
      default:
        in_place = QFileInfo(file).isFile() && bytes_of(file) == damaged;
        break;
    }
    // Damage beyond what a partial procedure reads (only random byte flips leave the rest
    // of the file readable) may go unnoticed by it.
    const bool may_miss = procedure.partial && damage == Damage::ByteFlips;
    if (!in_place && !set_aside && !may_miss && readable(file, schema)) {
      problem(QStringLiteral("the damaged file is lost"));
    }
    if (!failure_shown && !recovered && !may_miss) problem(QStringLiteral("the damage went unnoticed"));
    if (procedure.recovers && changes_bytes(damage) && !(may_miss && !set_aside && !failure_shown)) {
      if (has_backup && (!recovered || failure_shown)) {
        problem(QStringLiteral("not recovered from the backup"));
      }
      if (!has_backup && !messages.contains(QStringLiteral("备份数据文件出错。"))) {
        problem(QStringLiteral("no recovery message"));
      }
    }
  }
  return problems;
}

QStringList run_permission_damage(const QString& app_dir) {
  QStringList problems;
  startup::AppState state;
  startup::set_paths(state, app_dir, QDate(2003, 5, 7));
  for (FileKind kind : {FileKind::Day, FileKind::Shop, FileKind::Use, FileKind::KeFu}) {
    DamageRun run(state, kind);
    for (Damage damage : {Damage::ReadOnly, Damage::Unreadable}) {
      problems << run.run(damage, BackupState::Current, 1);
      if (!target_of(state.paths, kind).backup.isEmpty()) problems << run.run(damage, BackupState::Missing, 1);
    }
  }
  return problems;
}

}  // namespace tavuro::reliability
