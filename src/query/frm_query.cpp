#include "query/frm_query.h"

#include "platform/app_info.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/fonts.h"
#include "exports/export_window.h"
#include "query/filter_names.h"
#include "query/query_export.h"
#include "query/query_report.h"
#include "query/server_query.h"
#include "reports/source_choice.h"
#include "reports/doc_window.h"
#include "sales/labels.h"
#include "sales/sale_line.h"
#include "store/schemas.h"
#include "textlayout/text_layout.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace tavuro::query {

namespace {

const QString kNoFileChosen = QStringLiteral("你还未选择文件.");
const QString kSelectAll = QStringLiteral("全部选取");
const QString kUnselectAll = QStringLiteral("取消选取");

template <typename T>
T* named(T* widget, const char* name) {
  widget->setObjectName(QString::fromUtf8(name));
  return widget;
}

QComboBox* filter_box(const char* name) {
  auto* box = named(new QComboBox, name);
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setMinimumWidth(150);
  return box;
}

// A filter box offers its all-entry, which is also its text, then the names.
void fill_filter_box(QComboBox* box, const QStringList& names) {
  box->clear();
  box->addItem(sales::kAllEntry);
  box->addItems(names);
  box->setCurrentIndex(0);
  box->setEditText(sales::kAllEntry);
}

// The column spans of the header buttons over the result lines, in display columns: each
// header reaches from the middle of one gap to the middle of the next, the first from the
// line's start.
constexpr std::array<int, 7> kHeaderEdges = [] {
  const std::array<int, 5> columns{sales::kGoodsWidth, sales::kQuantityWidth, sales::kPriceWidth, sales::kAmountWidth,
                                   sales::kOperatorWidth};
  std::array<int, 7> edges{0, sales::kLineMarginWidth + sales::kNumberWidth + sales::kGapWidth / 2};
  for (size_t i = 0; i < columns.size(); ++i) edges[i + 2] = edges[i + 1] + columns[i] + sales::kGapWidth;
  return edges;
}();

}  // namespace

Frm_查询::Frm_查询(startup::AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
  setObjectName(QStringLiteral("Frm_查询"));
  setWindowTitle(QStringLiteral("查询"));
  build_controls();

  read_use();
  read_KeFu_file();
  read_shop_names();
  set_dir2_path(state_.paths.app_dir);
}

void Frm_查询::build_controls() {
  Frame1_ = named(new QGroupBox(QStringLiteral("选择文件")), "Frame1");
  Label2_ = named(new QLabel(QStringLiteral("选择月份目录")), "Label2");
  Dir2Model_ = new QFileSystemModel(this);
  Dir2Model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  Dir2Model_->setRootPath(QString());
  Dir2_ = named(new QTreeView, "Dir2");
  Dir2_->setModel(Dir2Model_);
  for (int column = 1; column < Dir2Model_->columnCount(); ++column) Dir2_->hideColumn(column);
  Dir2_->setHeaderHidden(true);
  // Once the user moves about in the tree it is no longer scrolled for them.
  Dir2_->installEventFilter(this);
  Dir2_->viewport()->installEventFilter(this);
  connect(Dir2_->verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] { reveal_dir2_ = false; });
  Dir2_->setMinimumHeight(200);
  Dir2_->setMinimumWidth(260);
  // The model reads folders in the background and adds and sorts their rows whenever the
  // machine gets to them, which moves the rows under a tree that keeps its scroll offset:
  // after every such change the current folder is brought into view again, until the user
  // moves about in the tree.
  dir2_reveal_timer_ = new QTimer(this);
  dir2_reveal_timer_->setSingleShot(true);
  dir2_reveal_timer_->setInterval(0);
  connect(dir2_reveal_timer_, &QTimer::timeout, this, [this] {
    if (reveal_dir2_ && Dir2_->currentIndex().isValid()) {
      Dir2_->scrollTo(Dir2_->currentIndex(), QAbstractItemView::PositionAtCenter);
    }
  });
  const auto reveal_later = [this] {
    if (reveal_dir2_) dir2_reveal_timer_->start();
  };
  connect(Dir2Model_, &QFileSystemModel::directoryLoaded, this, reveal_later);
  connect(Dir2Model_, &QAbstractItemModel::rowsInserted, this, reveal_later);
  connect(Dir2Model_, &QAbstractItemModel::rowsRemoved, this, reveal_later);
  connect(Dir2Model_, &QAbstractItemModel::layoutChanged, this, reveal_later);
  connect(Dir2_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
    if (current.isValid()) Dir2_Change(Dir2Model_->filePath(current));
  });
  // The folder's *.day listing; List2 shows its selectable copy.
  File1_ = named(new QListWidget(this), "File1");
  File1_->hide();
  Label3_ = named(new QLabel(QStringLiteral("选择日期文件")), "Label3");
  List2_ = named(new QListWidget, "List2");
  List2_->setSelectionMode(QAbstractItemView::MultiSelection);
  List2_->viewport()->installEventFilter(this);

  auto* frame1_layout = new QVBoxLayout(Frame1_);
  Frame_来源_ = new reports::SourceChoice(state_.paths.app_dir, this);
  connect(Frame_来源_, &reports::SourceChoice::changed, this, [this] { Dir2_Change(dir2_path_); });
  frame1_layout->addWidget(Frame_来源_);
  frame1_layout->addWidget(Label2_);
  frame1_layout->addWidget(Dir2_, 3);
  frame1_layout->addWidget(Label3_);
  frame1_layout->addWidget(List2_, 2);

  Frame2_ = named(new QGroupBox(QStringLiteral("查询")), "Frame2");
  Label6_ = named(new QLabel(QStringLiteral("选 商 品")), "Label6");
  Co_查商品_ = filter_box("Co_查商品");
  Label7_ = named(new QLabel(QStringLiteral("选操作员")), "Label7");
  Co_查操作员_ = filter_box("Co_查操作员");
  Label8_ = named(new QLabel(QStringLiteral("选 客 户")), "Label8");
  Co_查客户_ = filter_box("Co_查客户");
  Command1_ = named(new QPushButton(QStringLiteral("查询[&Q]")), "Command1");
  connect(Command1_, &QPushButton::clicked, this, &Frm_查询::Command1_Click);
  auto* frame2_layout = new QHBoxLayout(Frame2_);
  for (QWidget* widget :
       {static_cast<QWidget*>(Label6_), static_cast<QWidget*>(Co_查商品_), static_cast<QWidget*>(Label7_),
        static_cast<QWidget*>(Co_查操作员_), static_cast<QWidget*>(Label8_), static_cast<QWidget*>(Co_查客户_)}) {
    frame2_layout->addWidget(widget);
  }
  frame2_layout->addStretch();
  frame2_layout->addWidget(Command1_);

  const QFont list_font = platform::fixed_font(14);
  List1_ = named(new QListWidget, "List1");
  List1_->setFont(list_font);
  List1_->setUniformItemSizes(true);
  List1_->viewport()->installEventFilter(this);

  // The header buttons stand over the columns of the result lines.
  const int column = QFontMetrics(list_font).horizontalAdvance(QLatin1Char('a'));
  const QStringList captions{QStringLiteral("序列号"), QStringLiteral("商 品 名 称"), QStringLiteral("数 量"),
                             QStringLiteral("单 价"),  QStringLiteral("金 额"),       QStringLiteral("操作/编号")};
  auto* header = new QHBoxLayout;
  header->setSpacing(0);
  header->addSpacing(List1_->frameWidth() + 2);
  for (int i = 0; i < 6; ++i) {
    Com_cap_[i] = named(new QPushButton(captions[i]), "Com_cap");
    Com_cap_[i]->setProperty("index", i);
    Com_cap_[i]->setFixedWidth((kHeaderEdges[i + 1] - kHeaderEdges[i]) * column);
    Com_cap_[i]->setAutoDefault(false);
    connect(Com_cap_[i], &QPushButton::clicked, this, &Frm_查询::Com_cap_Click);
    header->addWidget(Com_cap_[i]);
  }
  header->addStretch();

  Label1_ = named(new QLabel(QStringLiteral("记录数：")), "Label1");
  Label5_ = named(new QLabel(QStringLiteral("合计金额：")), "Label5");
  Command2_ = named(new QPushButton(QStringLiteral("打印[&P]")), "Command2");
  Command2_->setToolTip(QStringLiteral("打印查询的内容"));
  Command3_ = named(new QPushButton(QStringLiteral("预览[&V]")), "Command3");
  Command3_->setToolTip(QStringLiteral("预览打印内容"));
  Command4_ = named(new QPushButton(QStringLiteral("退出[&X]")), "Command4");
  Command4_->setToolTip(QStringLiteral("关闭窗口"));
  Com_导出_ = named(new QPushButton(QStringLiteral("导出")), "Com_导出");
  Com_导出_->setToolTip(QStringLiteral("把查询到的全部记录导出为 Excel 或 CSV 文件"));
  for (QPushButton* button : {Command1_, Command2_, Command3_, Command4_, Com_导出_}) button->setAutoDefault(false);
  connect(Com_导出_, &QPushButton::clicked, this, [this] {
    if (!busy_) Com_导出_Click();
  });
  connect(Command2_, &QPushButton::clicked, this, [this] {
    if (!busy_) print_query_report();
  });
  connect(Command3_, &QPushButton::clicked, this, [this] {
    if (!busy_) preview_query_report();
  });
  connect(Command4_, &QPushButton::clicked, this, [this] {
    if (!busy_) close();
  });

  auto* totals = new QHBoxLayout;
  totals->addWidget(Label1_);
  totals->addSpacing(40);
  totals->addWidget(Label5_);
  totals->addStretch();
  totals->addWidget(Command2_);
  totals->addWidget(Command3_);
  totals->addWidget(Com_导出_);
  totals->addWidget(Command4_);

  auto* right = new QVBoxLayout;
  right->addWidget(Frame2_);
  right->addLayout(header);
  right->addWidget(List1_, 1);
  right->addLayout(totals);

  auto* layout = new QHBoxLayout(this);
  layout->addWidget(Frame1_);
  layout->addLayout(right, 1);

  list1_右击_ = named(new QMenu(this), "list1_右击");
  单号查询_ = named(list1_右击_->addAction(QStringLiteral("单号查询")), "单号查询");
  connect(单号查询_, &QAction::triggered, this, &Frm_查询::单号查询_Click);
  List2_右击_ = named(new QMenu(this), "List2_右击");
  全部选取_ = named(List2_右击_->addAction(kSelectAll), "全部选取");
  connect(全部选取_, &QAction::triggered, this, &Frm_查询::全部选取_Click);

  resize(1100, 640);
}

void Frm_查询::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  List2_->setFocus();
  // The tree has its size only now.
  if (reveal_dir2_) dir2_reveal_timer_->start();
}

bool Frm_查询::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == Dir2_ || watched == Dir2_->viewport()) &&
      (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::Wheel ||
       event->type() == QEvent::KeyPress)) {
    reveal_dir2_ = false;
  }
  if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
    const QPoint at = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
    if (watched == List2_->viewport()) List2_右击_->popup(at);
    if (watched == List1_->viewport()) list1_右击_->popup(at);
  }
  return QDialog::eventFilter(watched, event);
}

void Frm_查询::read_use() {
  fill_filter_box(Co_查操作员_, operator_filter_names(state_));
}

void Frm_查询::read_KeFu_file() {
  fill_filter_box(Co_查客户_, customer_filter_names(state_));
}

void Frm_查询::read_shop_names() {
  fill_filter_box(Co_查商品_, goods_filter_names(state_));
}

void Frm_查询::set_dir2_path(const QString& path) {
  reveal_dir2_ = true;
  const QModelIndex index = Dir2Model_->index(path);
  if (!index.isValid() || index == Dir2_->currentIndex()) {
    Dir2_Change(path);
    return;
  }
  Dir2_->setCurrentIndex(index);  // raises Dir2 Change
  Dir2_->scrollTo(index, QAbstractItemView::PositionAtCenter);
  Dir2_->expand(index);
}

void Frm_查询::Dir2_Change(const QString& path) {
  dir2_path_ = path;
  File1_->clear();
  if (Frame_来源_->on_server()) {
    // The day files the server holds for the month folder of that name.
    try {
      File1_->addItems(headoffice::server_day_files(*Frame_来源_->server(), QFileInfo(path).fileName(), Frame_来源_->till()));
    } catch (const headoffice::ServerError& error) {
      Frame_来源_->fall_back(error);
      return;
    }
  } else {
    File1_->addItems(day_file_names(path));
  }
  List2_->clear();
  for (int i = 0; i < File1_->count(); ++i) List2_->addItem(File1_->item(i)->text());
}

bool Frm_查询::any_selected() const {
  for (int i = 0; i < List2_->count(); ++i) {
    if (List2_->item(i)->isSelected()) return true;
  }
  return false;
}

QStringList Frm_查询::selected_names() const {
  QStringList names;
  for (int i = 0; i < List2_->count(); ++i) {
    if (List2_->item(i)->isSelected()) names << List2_->item(i)->text();
  }
  return names;
}

QStringList Frm_查询::selected_files() const { return files_in_folder(dir2_path_, selected_names()); }

std::optional<QueryResult> Frm_查询::run_query(const QList<QueryFilter>& filters, bool receipt) {
  if (!Frame_来源_->on_server()) {
    const QStringList files = selected_files();
    return run_with_progress(
        [&](const FileProgress& progress) {
          return receipt ? query_receipt_lines(files, filters.front().value, progress)
                         : query::query_files(files, filters, progress);
        },
        static_cast<int>(files.size()));
  }
  try {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const headoffice::ServerScope scope{QFileInfo(dir2_path_).fileName(), selected_names(), Frame_来源_->till()};
    QueryResult result = receipt ? query_server_receipt(*Frame_来源_->server(), scope, filters.front().value)
                                 : query_server(*Frame_来源_->server(), scope, filters);
    QApplication::restoreOverrideCursor();
    return result;
  } catch (const headoffice::ServerError& error) {
    QApplication::restoreOverrideCursor();
    Frame_来源_->fall_back(error);
    return std::nullopt;
  }
}

void Frm_查询::Command1_Click() {
  if (busy_) return;
  const QString goods = textlayout::trim_spaces(Co_查商品_->currentText());
  const QString op = textlayout::trim_spaces(Co_查操作员_->currentText());
  const QString customer = textlayout::trim_spaces(Co_查客户_->currentText());
  if (List2_->count() == 0) {
    platform::inform(kNoFileChosen);
    return;
  }
  query_files(store::day::kGoods, goods, store::day::kOperator, op, store::day::kCustomer, customer);
}

void Frm_查询::query_files(const QString& fieldA, const QString& valueA, const QString& fieldB, const QString& valueB,
                           const QString& fieldC, const QString& valueC) {
  const QList<QueryFilter> filters{{fieldA, valueA}, {fieldB, valueB}, {fieldC, valueC}};
  if (!any_selected()) {
    platform::inform(kNoFileChosen);
    return;
  }
  List1_->clear();
  const std::optional<QueryResult> result = run_query(filters);
  if (!result) return;
  query_description_ = tavuro::query::query_description(filters);
  query_total_ = result->total;
  last_query_ = Frame_来源_->on_server() ? std::nullopt : std::optional(filter_request(selected_files(), filters));
  show_result(*result, query_caption(filters));
  platform::inform(QStringLiteral("完成查询。"));
}

void Frm_查询::query_receipt_no(bool& found) {
  const QString number = textlayout::trim_spaces(
      platform::dialogs()
          .input(QStringLiteral("请输入单号的6位数字进行查找："), platform::app_title(), QString())
          .value_or(QString()));
  if (number.isEmpty()) {
    found = false;
    return;
  }
  if (!any_selected()) {
    platform::inform(kNoFileChosen);
    found = true;  // already told; no second message
    return;
  }
  List1_->clear();
  const std::optional<QueryResult> result = run_query({{store::day::kReceiptNo, number}}, true);
  if (!result) {
    found = true;  // already told
    return;
  }
  found = result->count() > 0;
  // The report made next names this query and adds up its lines.
  query_description_ = receipt_description(number);
  query_total_ = result->total;
  last_query_ = Frame_来源_->on_server() ? std::nullopt
                                         : std::optional(receipt_request(selected_files(), number));
  show_result(*result, receipt_caption(number));
}

QueryResult Frm_查询::run_with_progress(const std::function<QueryResult(const FileProgress&)>& body, int file_count) {
  busy_ = true;
  QProgressDialog progress(QStringLiteral("正在查询，请稍候……"), QString(), 0, file_count, this);
  progress.setObjectName(QStringLiteral("queryProgress"));
  progress.setWindowTitle(platform::app_title());
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(400);
  const QueryResult result = body([&progress](int index, int) {
    progress.setValue(index);
    // Until the progress dialog shows and holds the input, the window takes none.
    QCoreApplication::processEvents(progress.isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
  });
  progress.setValue(file_count);
  busy_ = false;
  return result;
}

void Frm_查询::show_result(const QueryResult& result, const QString& caption) {
  List1_->clear();
  List1_->addItems(result.lines);
  result_records_ = result.records;
  Label1_->setText(sales::count_label(result.count()));
  Label5_->setText(sales::total_label(result.total));
  setWindowTitle(caption);
  if (!result.skipped_files.isEmpty()) platform::warn(skipped_files_message(result.skipped_files));
  if (result.truncated) platform::warn(truncated_message());
}

void Frm_查询::Com_cap_Click() {
  setFocus();
}

void Frm_查询::全部选取_Click() {
  if (List2_->count() == 0) return;
  if (全部选取_->text() == kSelectAll) {
    全部选取_->setText(kUnselectAll);
    List2_->selectAll();
  } else {
    全部选取_->setText(kSelectAll);
    List2_->clearSelection();
  }
}

void Frm_查询::单号查询_Click() {
  if (busy_) return;
  bool found = false;
  query_receipt_no(found);
  if (!found) platform::inform(QStringLiteral("查无此单！"));
}

QStringList Frm_查询::report_lines() const {
  QStringList lines;
  for (int i = 0; i < List1_->count(); ++i) lines << List1_->item(i)->text();
  return query_report_lines({lines, query_description_, query_total_, state_.company_name, platform::now().date()});
}

void Frm_查询::print_query_report() {
  if (List1_->count() == 0) return;
  if (!print_report_lines(report_lines())) platform::warn(report_not_printed_message());
}

void Frm_查询::preview_query_report() {
  if (List1_->count() == 0) return;
  const QString path = query_report_file(state_.paths.app_dir);
  // A file that cannot be written is not reported: the document window shows what it finds.
  write_report_file(path, report_lines());
  state_.current_report_file = path;
  reports::show_document_window(state_, this, true);
}

void Frm_查询::Com_导出_Click() {
  if (!last_query_) {
    platform::inform(Frame_来源_->on_server() ? QStringLiteral("总店服务器上的查询结果不能导出，请选本机查询后再导出。")
                                               : QStringLiteral("还没有查询结果，请先查询再导出。"));
    return;
  }
  busy_ = true;
  const QueryRequest request = *last_query_;
  exports::export_with_dialogs(this, {state_.paths.app_dir, QStringLiteral("查询结果")},
                               [&request](const exports::ExportTarget& target, const exports::ExportProgress& progress) {
                                 return query_export_summary(export_query(request, target, progress));
                               });
  busy_ = false;
}

void open_query_window(startup::AppState& state, QWidget* parent) {
  Frm_查询 window(state, parent);
  window.exec();
}

}  // namespace tavuro::query
