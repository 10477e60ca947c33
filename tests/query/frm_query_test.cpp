#include "query/frm_query.h"

#include "qt_printing.h"

#include "platform/line_printer.h"
#include "query/query_report.h"
#include "sales/display_line.h"
#include "sales/labels.h"
#include "sales/sale_line.h"
#include "store/schemas.h"
#include "support/keyboard.h"
#include "support/modal_windows.h"
#include "support/scripted_dialogs.h"
#include "support/shop_fixture.h"
#include "support/waiting.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QTreeView>

namespace tavuro::query {
namespace {

using testing::SaleLine;
using testing::ScriptedDialogs;
using testing::ShopFixture;

template <typename T>
T* child(QWidget* parent, const char* name) {
  T* found = parent->findChild<T*>(QString::fromUtf8(name));
  EXPECT_NE(found, nullptr) << name;
  return found;
}

SaleLine sale(const char* goods, const char* quantity, const char* price, const char* amount, const char* op,
              const char* time, const char* customer, const char* receipt) {
  return {QString::fromUtf8(goods),    QString::fromUtf8(quantity), QString::fromUtf8(price),
          QString::fromUtf8(amount),   QString::fromUtf8(op),       QString::fromUtf8(time),
          QString::fromUtf8(customer), QString::fromUtf8(receipt)};
}

// A printer without paper: nothing comes out.
class DeadPrinter final : public platform::LinePrinter {
 public:
  void set_font_size(int) override {}
  void print_line(const QString&) override {}
  bool end_doc() override { return false; }
};

class QueryWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    shop.start_up();
    shop.state.company_name = QStringLiteral("Tavuro小店");
  }

  std::unique_ptr<Frm_查询> open() {
    auto window = std::make_unique<Frm_查询>(shop.state);
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get(), static_cast<int>(testing::kPatience.count())));
    return window;
  }

  QString month() const { return shop.state.paths.month_folder; }
  void add_sale(const char* file, const SaleLine& line) {
    shop.add_sale(line, month() + QLatin1Char('/') + QString::fromUtf8(file));
  }

  // Two days of sales in this month's folder (besides today's empty 7.day).
  void fill_month() {
    add_sale("2.day", sale("可乐", "2.00", "3.50", "7.00", "张三", "09:15:00", "王先生", "000101"));
    add_sale("2.day", sale("面包", "1.00", "5.00", "5.00", "李四", "09:20:00", "散客", "000102"));
    add_sale("2.day", sale("糖", "1.00", "0.80", "0.80", "李四", "09:30:00", "散客", "000123"));
    add_sale("10.day", sale("可乐", "1.00", "3.50", "3.50", "张三", "10:01:02", "王先生", "000123"));
    add_sale("10.day", sale("可乐", "3.00", "3.50", "10.50", "张三", "10:05:00", "散客", "000124"));
    add_sale("10.day", sale("牛奶", "1.00", "4.20", "4.20", "张三", "10:01:02", "王先生", "000123"));
    add_sale("3.day", sale("可乐", "1.00", "3.50", "3.50", "张三", "11:00:00", "王先生", "000130"));
  }

  // The user opens a folder in the folder tree.
  static void open_folder(QWidget* window, const QString& path) {
    auto* tree = child<QTreeView>(window, "Dir2");
    auto* model = qobject_cast<QFileSystemModel*>(tree->model());
    ASSERT_NE(model, nullptr);
    const QModelIndex index = model->index(path);
    ASSERT_TRUE(index.isValid()) << path.toStdString();
    tree->setCurrentIndex(index);
  }

  static QStringList texts(const QListWidget* list) {
    QStringList lines;
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    return lines;
  }
  static QStringList selected(const QListWidget* list) {
    QStringList lines;
    for (int i = 0; i < list->count(); ++i) {
      if (list->item(i)->isSelected()) lines << list->item(i)->text();
    }
    return lines;
  }
  static void click_line(QListWidget* list, const char* text) {
    const QList<QListWidgetItem*> items = list->findItems(QString::fromUtf8(text), Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << text;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items[0]).center());
  }
  // A right click on a list opens its popup menu; the item is then clicked in the menu.
  static void use_menu(QWidget* window, QListWidget* list, const char* menu_name, const char* actionName) {
    auto* menu = child<QMenu>(window, menu_name);
    QTest::mousePress(list->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    ASSERT_TRUE(menu->isVisible());
    QTest::mouseRelease(list->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    auto* action = child<QAction>(window, actionName);
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    EXPECT_FALSE(menu->isVisible());
  }
  static void type_into(QComboBox* box, const QString& text) {
    box->lineEdit()->selectAll();
    testing::type_into(box->lineEdit(), text);
  }
  static void pick(QComboBox* box, const QString& entry) {
    const int index = box->findText(entry);
    ASSERT_GE(index, 0) << entry.toStdString();
    box->setCurrentIndex(index);
  }

  ScriptedDialogs dialogs;
  ShopFixture shop;
};

TEST_F(QueryWindow, OpensWithItsControlsAndTheFilterBoxesLoaded) {
  shop.add_goods(QStringLiteral("可乐"), QStringLiteral("3.50"));
  shop.add_goods(QStringLiteral("Tea "), QStringLiteral("1.00"));
  shop.add_operator(QStringLiteral("张三"));
  shop.add_operator(QStringLiteral("001"));
  shop.add_customer(QStringLiteral("王先生"));
  fill_month();
  const auto window = open();

  EXPECT_EQ(window->windowTitle(), QStringLiteral("查询"));
  const QList<std::pair<const char*, const char*>> captions{
      {"Frame1", "选择文件"},  {"Label2", "选择月份目录"}, {"Label3", "选择日期文件"}, {"Frame2", "查询"},
      {"Label6", "选 商 品"},  {"Label7", "选操作员"},     {"Label8", "选 客 户"},     {"Command1", "查询[&Q]"},
      {"Label1", "记录数："},  {"Label5", "合计金额："},   {"Command2", "打印[&P]"},   {"Command3", "预览[&V]"},
      {"Command4", "退出[&X]"}};
  for (const auto& [name, caption] : captions) {
    QWidget* widget = child<QWidget>(window.get(), name);
    ASSERT_NE(widget, nullptr);
    QString text = widget->property("text").toString();
    if (text.isEmpty()) text = widget->property("title").toString();
    EXPECT_EQ(text, QString::fromUtf8(caption)) << name;
  }
  EXPECT_EQ(child<QWidget>(window.get(), "Command2")->toolTip(), QStringLiteral("打印查询的内容"));
  EXPECT_EQ(child<QWidget>(window.get(), "Command3")->toolTip(), QStringLiteral("预览打印内容"));
  EXPECT_EQ(child<QWidget>(window.get(), "Command4")->toolTip(), QStringLiteral("关闭窗口"));
  QStringList headers;
  for (const QPushButton* button : window->findChildren<QPushButton*>(QStringLiteral("Com_cap")))
    headers << button->text();
  EXPECT_EQ(headers, (QStringList{QStringLiteral("序列号"), QStringLiteral("商 品 名 称"), QStringLiteral("数 量"),
                                  QStringLiteral("单 价"), QStringLiteral("金 额"), QStringLiteral("操作/编号")}));
  EXPECT_EQ(child<QAction>(window.get(), "单号查询")->text(), QStringLiteral("单号查询"));
  EXPECT_EQ(child<QAction>(window.get(), "全部选取")->text(), QStringLiteral("全部选取"));

  auto entries = [](const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
  };
  auto* goods = child<QComboBox>(window.get(), "Co_查商品");
  auto* ops = child<QComboBox>(window.get(), "Co_查操作员");
  auto* customers = child<QComboBox>(window.get(), "Co_查客户");
  EXPECT_EQ(entries(goods), (QStringList{QStringLiteral("* 全部 *"), QStringLiteral("可乐"),
                                         QStringLiteral("Tea ")}));  // stored, unpadded, untrimmed
  EXPECT_EQ(entries(ops), (QStringList{QStringLiteral("* 全部 *"), QStringLiteral("张三"), QStringLiteral("001")}));
  EXPECT_EQ(entries(customers), (QStringList{QStringLiteral("* 全部 *"), QStringLiteral("王先生")}));
  for (const QComboBox* box : {goods, ops, customers}) EXPECT_EQ(box->currentText(), sales::kAllEntry);

  // The folder list starts at the application directory, which holds no day files.
  EXPECT_EQ(window->dir2_path(), shop.dir());
  EXPECT_EQ(child<QListWidget>(window.get(), "List2")->count(), 0);
  EXPECT_TRUE(child<QListWidget>(window.get(), "List2")->hasFocus());
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_TRUE(window->query_description().isEmpty());
  EXPECT_EQ(window->query_total().text(), QStringLiteral("0.00"));
}

// The folder tree reads folders in the background, each arriving when the machine gets
// to it. However late they come, the tree ends with the application folder current,
// selected and in view — here below forty other folders of its parent.
TEST_F(QueryWindow, TheFolderTreeOpensOnTheApplicationFolderSelectedAndInView) {
  for (int i = 0; i < 40; ++i) ASSERT_TRUE(QDir(shop.dir()).mkdir(QStringLiteral("店%1").arg(i, 2, 10, QLatin1Char('0'))));
  const QString app = shop.file(QStringLiteral("zz收银"));
  ASSERT_TRUE(QDir().mkdir(app));
  shop.state.paths.app_dir = app;

  Frm_查询 window(shop.state);
  auto* tree = child<QTreeView>(&window, "Dir2");
  auto* model = qobject_cast<QFileSystemModel*>(tree->model());
  ASSERT_NE(model, nullptr);
  QStringList loaded;
  QObject::connect(model, &QFileSystemModel::directoryLoaded, [&loaded](const QString& path) { loaded << path; });
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, static_cast<int>(testing::kPatience.count())));

  // Every folder from the root down to the application folder has been read.
  QStringList folders;
  for (QDir dir(app);; dir.cdUp()) {
    folders << dir.absolutePath();
    if (dir.isRoot()) break;
  }
  const auto all_loaded = [&] {
    for (const QString& folder : folders) {
      if (!loaded.contains(folder)) return false;
    }
    return true;
  };
  ASSERT_TRUE(testing::wait_until(all_loaded)) << loaded.join(QLatin1Char(' ')).toStdString();
  const auto in_view = [&] {
    const QModelIndex current = tree->currentIndex();
    return model->filePath(current) == app && tree->selectionModel()->isSelected(current) &&
           tree->viewport()->rect().contains(tree->visualRect(current));
  };
  EXPECT_TRUE(testing::wait_until(in_view)) << "row at " << tree->visualRect(tree->currentIndex()).y()
                                           << " in a viewport " << tree->viewport()->height() << " high";
  // And it stays there once what the model does after its last folder (sorting its rows)
  // has had its turns.
  for (int round = 0; round < 3; ++round) {
    bool turned = false;
    QTimer::singleShot(0, [&turned] { turned = true; });
    ASSERT_TRUE(testing::wait_until([&turned] { return turned; }));
    EXPECT_TRUE(in_view()) << "round " << round;
  }
  EXPECT_EQ(window.dir2_path(), app);
}

TEST_F(QueryWindow, EachHeaderReachesToTheMiddleOfTheGapAfterItsColumn) {
  // A result line whose columns are filled to their widths: every gap is where the
  // layout puts it.
  const QString line = sales::display_line(
      1234, {QString(sales::kGoodsWidth, QLatin1Char('g')), QString(sales::kQuantityWidth, QLatin1Char('q')),
             QString(sales::kPriceWidth, QLatin1Char('p')), QString(sales::kAmountWidth, QLatin1Char('a')),
             QString(sales::kOperatorWidth, QLatin1Char('o')), QStringLiteral("15:05:09")});
  QList<qsizetype> gap_middles;
  for (qsizetype at = line.indexOf(sales::kColumnGap); at >= 0; at = line.indexOf(sales::kColumnGap, at + 1)) {
    gap_middles << at + sales::kGapWidth / 2;
    at += sales::kGapWidth - 1;
  }
  ASSERT_EQ(gap_middles.size(), 6);

  const auto window = open();
  const int column =
      QFontMetrics(child<QListWidget>(window.get(), "List1")->font()).horizontalAdvance(QLatin1Char('a'));
  const QList<QPushButton*> headers = window->findChildren<QPushButton*>(QStringLiteral("Com_cap"));
  ASSERT_EQ(headers.size(), 6);
  int reach = 0;
  for (int i = 0; i < 6; ++i) {
    reach += headers[i]->width();
    EXPECT_EQ(reach, gap_middles[i] * column) << headers[i]->text().toStdString();
    if (i > 0) {
      EXPECT_EQ(headers[i]->x(), headers[i - 1]->geometry().right() + 1) << "no room between headers";
    }
  }
}

TEST_F(QueryWindow, EmptyOrMissingCataloguesStillOfferTheAllEntry) {
  QFile::remove(shop.state.paths.use_file);
  QFile::remove(shop.state.paths.kefu_file);
  QFile::remove(shop.state.paths.shop_file);
  const auto window = open();
  for (const char* name : {"Co_查商品", "Co_查操作员", "Co_查客户"}) {
    const auto* box = child<QComboBox>(window.get(), name);
    EXPECT_EQ(box->count(), 1) << name;
    EXPECT_EQ(box->currentText(), sales::kAllEntry) << name;
  }
  EXPECT_TRUE(QFile::exists(shop.state.paths.use_file));
  EXPECT_TRUE(QFile::exists(shop.state.paths.kefu_file));
  EXPECT_FALSE(QFile::exists(shop.state.paths.shop_file));  // not created here
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(QueryWindow, UnreadableListsAreReportedAndADamagedCatalogueIsRestored) {
  shop.add_goods(QStringLiteral("可乐"), QStringLiteral("3.50"));
  ASSERT_TRUE(QFile::copy(shop.state.paths.shop_file, shop.state.paths.shop_backup));
  testing::write_bytes(shop.state.paths.shop_file, "garbage");
  testing::write_bytes(shop.state.paths.use_file, "garbage");
  testing::write_bytes(shop.state.paths.kefu_file, "");

  const auto window = open();
  const QStringList messages = dialogs.messages();
  ASSERT_EQ(messages.size(), 3);
  EXPECT_EQ(messages.mid(0, 2),
            (QStringList{QStringLiteral("数据出错！[read_use]"), QStringLiteral("数据出错！[read_KeFu_file]")}));
  for (int i = 0; i < 2; ++i) EXPECT_EQ(dialogs.shown()[i].icon, platform::Icon::None);
  EXPECT_TRUE(messages[2].startsWith(QStringLiteral("数据文件已从备份恢复：") + shop.state.paths.shop_file));
  auto* goods = child<QComboBox>(window.get(), "Co_查商品");
  EXPECT_EQ(goods->count(), 2);
  EXPECT_EQ(goods->currentText(), sales::kAllEntry);
  EXPECT_EQ(testing::read_bytes(shop.state.paths.shop_file + QStringLiteral(".bad")), QByteArray("garbage"));
  EXPECT_EQ(child<QComboBox>(window.get(), "Co_查操作员")->currentText(), sales::kAllEntry);

  // Without a backup the recovery gives up with its two messages.
  dialogs.clear();
  testing::write_bytes(shop.state.paths.shop_file, "garbage");
  QFile::remove(shop.state.paths.shop_backup);
  window->read_shop_names();
  EXPECT_EQ(dialogs.messages().size(), 2);
  EXPECT_EQ(dialogs.messages().value(0), QStringLiteral("备份数据文件出错。"));
  EXPECT_EQ(goods->currentText(), sales::kAllEntry);
}

TEST_F(QueryWindow, DayFilesAreChosenFromAFolderByClickAndByTheToggle) {
  fill_month();
  const auto window = open();
  auto* list2 = child<QListWidget>(window.get(), "List2");
  auto* toggle = child<QAction>(window.get(), "全部选取");

  // On an empty list the toggle changes nothing, not even its caption; the menu opens.
  use_menu(window.get(), list2, "List2_右击", "全部选取");
  EXPECT_EQ(toggle->text(), QStringLiteral("全部选取"));

  open_folder(window.get(), month());
  EXPECT_EQ(window->dir2_path(), month());
  EXPECT_EQ(texts(list2), (QStringList{QStringLiteral("10.day"), QStringLiteral("2.day"), QStringLiteral("3.day"),
                                       QStringLiteral("7.day")}));
  EXPECT_TRUE(selected(list2).isEmpty());

  click_line(list2, "2.day");
  click_line(list2, "10.day");
  click_line(list2, "3.day");
  click_line(list2, "2.day");  // a second click takes the line out again
  EXPECT_EQ(selected(list2), (QStringList{QStringLiteral("10.day"), QStringLiteral("3.day")}));

  use_menu(window.get(), list2, "List2_右击", "全部选取");
  EXPECT_EQ(selected(list2).size(), 4);
  EXPECT_EQ(toggle->text(), QStringLiteral("取消选取"));
  use_menu(window.get(), list2, "List2_右击", "全部选取");
  EXPECT_TRUE(selected(list2).isEmpty());
  EXPECT_EQ(toggle->text(), QStringLiteral("全部选取"));

  // Another folder clears the list and its selection but keeps the toggle's caption.
  use_menu(window.get(), list2, "List2_右击", "全部选取");
  ASSERT_TRUE(QDir(shop.dir()).mkdir(QStringLiteral("2003_4")));
  open_folder(window.get(), shop.dir() + QStringLiteral("/2003_4"));
  EXPECT_EQ(list2->count(), 0);
  EXPECT_EQ(toggle->text(), QStringLiteral("取消选取"));
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(QueryWindow, NothingRunsWithoutAChosenFile) {
  fill_month();
  const auto window = open();
  auto* list1 = child<QListWidget>(window.get(), "List1");
  auto* command1 = child<QPushButton>(window.get(), "Command1");

  QTest::mouseClick(command1, Qt::LeftButton);  // no day files listed at all
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("你还未选择文件.")});
  EXPECT_EQ(dialogs.last_message().icon, platform::Icon::Information);

  // A receipt query answered empty or cancelled: not found, nothing else happens.
  dialogs.clear();
  dialogs.answer_input(QStringLiteral("   "));
  use_menu(window.get(), list1, "list1_右击", "单号查询");
  dialogs.cancel_input();
  use_menu(window.get(), list1, "list1_右击", "单号查询");
  EXPECT_EQ(dialogs.messages(), (QStringList{QStringLiteral("查无此单！"), QStringLiteral("查无此单！")}));
  EXPECT_EQ(dialogs.shown().front().text, QStringLiteral("请输入单号的6位数字进行查找："));
  EXPECT_EQ(dialogs.shown().front().title, QStringLiteral("Tavuro收银机"));

  // Day files listed but none selected.
  open_folder(window.get(), month());
  dialogs.clear();
  QTest::mouseClick(command1, Qt::LeftButton);
  dialogs.answer_input(QStringLiteral("000123"));
  use_menu(window.get(), list1, "list1_右击", "单号查询");
  EXPECT_EQ(dialogs.messages(), (QStringList{QStringLiteral("你还未选择文件."), QStringLiteral("你还未选择文件.")}));
  EXPECT_EQ(list1->count(), 0);
  EXPECT_EQ(window->windowTitle(), QStringLiteral("查询"));
  EXPECT_TRUE(window->query_description().isEmpty());
  EXPECT_EQ(child<QLabel>(window.get(), "Label1")->text(), QStringLiteral("记录数："));
}

TEST_F(QueryWindow, FilterQueryReceiptQueryAndTheirPrintedReports) {
  fill_month();
  shop.add_operator(QStringLiteral("张三"));
  shop.add_operator(QStringLiteral("李四"));
  shop.add_customer(QStringLiteral("王先生"));
  const auto window = open();
  auto* list1 = child<QListWidget>(window.get(), "List1");
  auto* list2 = child<QListWidget>(window.get(), "List2");
  open_folder(window.get(), month());
  click_line(list2, "2.day");
  click_line(list2, "10.day");

  type_into(child<QComboBox>(window.get(), "Co_查商品"), QStringLiteral(" 可乐  "));
  pick(child<QComboBox>(window.get(), "Co_查操作员"), QStringLiteral("张三"));
  pick(child<QComboBox>(window.get(), "Co_查客户"), QStringLiteral("王先生"));
  QTest::mouseClick(child<QPushButton>(window.get(), "Command1"), Qt::LeftButton);

  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("完成查询。")});
  EXPECT_EQ(dialogs.last_message().icon, platform::Icon::Information);
  dialogs.clear();
  const QStringList found{
      QStringLiteral("     1    可乐                    1.00        3.50          3.50    张三      10:01:02"),
      QStringLiteral("     2    可乐                    2.00        3.50          7.00    张三      09:15:00")};
  EXPECT_EQ(texts(list1), found);  // 10.day before 2.day
  EXPECT_EQ(child<QLabel>(window.get(), "Label1")->text(), QStringLiteral("记录数：2"));
  EXPECT_EQ(child<QLabel>(window.get(), "Label5")->text(), QStringLiteral("合计金额：10.50元"));
  EXPECT_EQ(window->windowTitle(), QStringLiteral("查询：商品 = 可乐，操作编号 = 张三，固定客户 = 王先生"));

  std::vector<platform::PrintedDocument> printed;
  platform::ScopedLinePrinterFactory factory(
      [&printed] { return std::make_unique<platform::RecordingPrinter>(printed); });
  QTest::mouseClick(child<QPushButton>(window.get(), "Command2"), Qt::LeftButton);
  ASSERT_EQ(printed.size(), 1u);
  EXPECT_EQ(printed[0].font_size, 12);
  EXPECT_EQ(
      printed[0].lines.join(QLatin1Char('\n')),
      QStringLiteral("    欢迎使用[Tavuro收银机]结算\n"
                     "    ========================\n"
                     "    【公司名：Tavuro小店】\n"
                     "    查询【商品=可乐，操作编号=张三，固定客户=王先生】报表\n"
                     "    ━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━\n"
                     "     序列号    商品名称               数量        单价          金额    操作员     时间\n"
                     "    ────────────────────────────────────────────\n"
                     "         1    可乐                    1.00        3.50          3.50    张三      10:01:02\n"
                     "         2    可乐                    2.00        3.50          7.00    张三      09:15:00\n"
                     "    ────────────────────────────────────────────\n"
                     "      合 计：                                                  10.50\n"
                     "    ━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━━\n"
                     "    【制表日期: 2003年5月7日 】    制表员：(签名)_______________"));

  // The preview shows the same report, after an empty line, in the document window, which
  // takes the report file away once it has loaded it.
  const QString report_file = shop.dir() + QStringLiteral("/txfile.txt");
  QString previewed;
  bool file_left_while_shown = true;
  testing::on_next_modal([&](QWidget* modal) {
    auto* editor = modal->findChild<QTextEdit*>(QStringLiteral("rtfText"));
    if (editor != nullptr) previewed = editor->toPlainText();
    file_left_while_shown = QFile::exists(report_file);
    modal->close();
  });
  QTest::mouseClick(child<QPushButton>(window.get(), "Command3"), Qt::LeftButton);
  EXPECT_EQ(previewed.split(QLatin1Char('\n')).mid(0, 14), QStringList{QString()} + printed[0].lines);
  EXPECT_FALSE(file_left_while_shown);
  EXPECT_TRUE(shop.state.current_report_file.isEmpty());
  EXPECT_TRUE(dialogs.messages().isEmpty());

  // The receipt query, started from the result list's popup, over the same two files.
  dialogs.clear();
  dialogs.answer_input(QStringLiteral(" 000123 "));
  use_menu(window.get(), list1, "list1_右击", "单号查询");
  EXPECT_TRUE(dialogs.messages().isEmpty());
  EXPECT_EQ(
      texts(list1),
      (QStringList{
          QStringLiteral("     1    可乐                    1.00        3.50          3.50    张三      10:01:02"),
          QStringLiteral("     2    牛奶                    1.00        4.20          4.20    张三      10:01:02"),
          QStringLiteral("     3    糖                      1.00        0.80          0.80    李四      09:30:00")}));
  EXPECT_EQ(child<QLabel>(window.get(), "Label1")->text(), QStringLiteral("记录数：3"));
  EXPECT_EQ(child<QLabel>(window.get(), "Label5")->text(), QStringLiteral("合计金额：8.50元"));
  EXPECT_EQ(window->windowTitle(), QStringLiteral("查询：查询单号 = 000123"));

  // Its report is named by the receipt and adds up the receipt's lines.
  QTest::mouseClick(child<QPushButton>(window.get(), "Command2"), Qt::LeftButton);
  ASSERT_EQ(printed.size(), 2u);
  const QStringList report = printed[1].lines;
  ASSERT_EQ(report.size(), 14);
  EXPECT_EQ(report[3], QStringLiteral("    查询【单号=000123】报表"));
  EXPECT_EQ(report[11], QStringLiteral("      合 计：") + QString(45, QLatin1Char(' ')) + QStringLiteral("      8.50"));
  EXPECT_EQ(
      report.mid(7, 3),
      QStringList(texts(list1)).replaceInStrings(QRegularExpression(QStringLiteral("^")), QStringLiteral("    ")));
  EXPECT_TRUE(dialogs.messages().isEmpty());

  // A number that no selected file carries.
  dialogs.answer_input(QStringLiteral("999999"));
  use_menu(window.get(), list1, "list1_右击", "单号查询");
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("查无此单！")});
  EXPECT_EQ(list1->count(), 0);
  EXPECT_EQ(child<QLabel>(window.get(), "Label5")->text(), QStringLiteral("合计金额：0.00元"));
}

TEST_F(QueryWindow, FilesThatCannotBeReadAreNamedAfterTheRun) {
  fill_month();
  const auto window = open();
  open_folder(window.get(), month());
  auto* list2 = child<QListWidget>(window.get(), "List2");
  use_menu(window.get(), list2, "List2_右击", "全部选取");
  ASSERT_TRUE(QFile::remove(month() + QStringLiteral("/3.day")));  // deleted after the folder was listed
  testing::write_bytes(month() + QStringLiteral("/2.day"), "not a day file");

  QTest::mouseClick(child<QPushButton>(window.get(), "Command1"), Qt::LeftButton);
  EXPECT_EQ(dialogs.messages(),
            (QStringList{QStringLiteral("以下文件无法读取，已跳过：2.day、3.day"), QStringLiteral("完成查询。")}));
  EXPECT_EQ(dialogs.shown().front().icon, platform::Icon::Exclamation);
  EXPECT_EQ(child<QListWidget>(window.get(), "List1")->count(), 3);  // the lines of 10.day
  EXPECT_EQ(window->query_description(), QStringLiteral("商品=* 全部 *，操作编号=* 全部 *，固定客户=* 全部 *"));
  EXPECT_EQ(window->query_total().text(), QStringLiteral("18.20"));
}

// A record whose amount is no number ends the reading of its file where it stands: it is
// neither listed nor numbered nor counted, and a receipt whose only line it is is not found.
TEST_F(QueryWindow, ALineWhoseAmountIsNoNumberIsNeitherNumberedNorCounted) {
  add_sale("2.day", sale("可乐", "1.00", "3.50", "3.50", "张三", "09:15:00", "散客", "000101"));
  add_sale("2.day", sale("面包", "1.00", "5.00", "五元", "张三", "09:20:00", "散客", "000102"));
  add_sale("2.day", sale("糖", "1.00", "0.80", "0.80", "张三", "09:30:00", "散客", "000103"));
  add_sale("3.day", sale("牛奶", "1.00", "4.20", "4.20", "张三", "10:00:00", "散客", "000104"));
  const auto window = open();
  open_folder(window.get(), month());
  auto* list1 = child<QListWidget>(window.get(), "List1");
  auto* list2 = child<QListWidget>(window.get(), "List2");
  use_menu(window.get(), list2, "List2_右击", "全部选取");

  QTest::mouseClick(child<QPushButton>(window.get(), "Command1"), Qt::LeftButton);
  EXPECT_EQ(dialogs.messages(),
            (QStringList{QStringLiteral("以下文件无法读取，已跳过：2.day"), QStringLiteral("完成查询。")}));
  EXPECT_EQ(texts(list1),
            (QStringList{
                QStringLiteral("     1    可乐                    1.00        3.50          3.50    张三      09:15:00"),
                QStringLiteral("     2    牛奶                    1.00        4.20          4.20    张三      10:00:00")}));
  EXPECT_EQ(child<QLabel>(window.get(), "Label1")->text(), QStringLiteral("记录数：2"));
  EXPECT_EQ(child<QLabel>(window.get(), "Label5")->text(), QStringLiteral("合计金额：7.70元"));

  dialogs.clear();
  dialogs.answer_input(QStringLiteral("000102"));
  use_menu(window.get(), list1, "list1_右击", "单号查询");
  EXPECT_EQ(dialogs.messages(),
            (QStringList{QStringLiteral("以下文件无法读取，已跳过：2.day"), QStringLiteral("查无此单！")}));
  EXPECT_EQ(list1->count(), 0);
  EXPECT_EQ(child<QLabel>(window.get(), "Label1")->text(), QStringLiteral("记录数：0"));
}

TEST_F(QueryWindow, AnEmptyResultIsNeitherPrintedNorPreviewedAndAFailedPrintIsReported) {
  fill_month();
  const auto window = open();
  std::vector<platform::PrintedDocument> printed;
  {
    platform::ScopedLinePrinterFactory factory(
        [&printed] { return std::make_unique<platform::RecordingPrinter>(printed); });
    QTest::mouseClick(child<QPushButton>(window.get(), "Command2"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(window.get(), "Command3"), Qt::LeftButton);
  }
  EXPECT_TRUE(printed.empty());
  EXPECT_FALSE(QFile::exists(shop.dir() + QStringLiteral("/txfile.txt")));
  EXPECT_TRUE(shop.state.current_report_file.isEmpty());
  EXPECT_TRUE(dialogs.shown().empty());

  open_folder(window.get(), month());
  click_line(child<QListWidget>(window.get(), "List2"), "2.day");
  QTest::mouseClick(child<QPushButton>(window.get(), "Command1"), Qt::LeftButton);
  dialogs.clear();
  platform::ScopedLinePrinterFactory no_printer([] { return std::make_unique<DeadPrinter>(); });
  QTest::mouseClick(child<QPushButton>(window.get(), "Command2"), Qt::LeftButton);
  EXPECT_EQ(dialogs.messages(), QStringList{report_not_printed_message()});
  EXPECT_EQ(dialogs.last_message().icon, platform::Icon::Exclamation);
}

TEST_F(QueryWindow, ARunLetsTheEventLoopTurnBetweenFiles) {
  fill_month();
  const auto window = open();
  open_folder(window.get(), month());
  use_menu(window.get(), child<QListWidget>(window.get(), "List2"), "List2_右击", "全部选取");
  auto* label1 = child<QLabel>(window.get(), "Label1");
  QString seen_during_run;
  QTimer::singleShot(0, window.get(), [&] { seen_during_run = label1->text(); });
  QTest::mouseClick(child<QPushButton>(window.get(), "Command1"), Qt::LeftButton);
  EXPECT_EQ(seen_during_run, QStringLiteral("记录数："));  // the timer ran before the result was shown
  EXPECT_EQ(label1->text(), QStringLiteral("记录数：7"));
}

}  // namespace
}  // namespace tavuro::query
