// The journal window 修改记录, worked from the keyboard: the entries of a month and day in
// columns, 核对 and 打印.

#include "cashier/frm_journal.h"

#include "admin_window_driving.h"
#include "cashier/admin_gate.h"
#include "cashier/sale_record.h"
#include "cashier_window.h"
#include "reports/frm_doc_print.h"
#include "sales/journal_entry.h"
#include "sales/journaled_change.h"
#include "startup/paths.h"
#include "textlayout/text_layout.h"

#include <QComboBox>
#include <QDeadlineTimer>
#include <QTimer>
#include <QDir>
#include <QProcess>
#include <QTextEdit>

namespace tavuro::cashier {
namespace {

using testing::press_key;
using testing::ScriptedDialogs;
using testing::ShopFixture;
namespace day = store::day;

QStringList items(const QListWidget* list) {
  QStringList texts;
  for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
  return texts;
}

// Runs work on the document window once it has come up over the (modal) journal window.
void on_document_window(std::function<void(reports::frmDoc_print&)> work) {
  auto* poll = new QTimer;
  poll->setInterval(5);
  QObject::connect(poll, &QTimer::timeout, [poll, work = std::move(work), deadline = QDeadlineTimer(testing::kPatience)] {
    auto* doc = qobject_cast<reports::frmDoc_print*>(QApplication::activeModalWidget());
    if ((doc == nullptr || !doc->isVisible()) && !deadline.hasExpired()) return;
    poll->stop();
    poll->deleteLater();
    if (doc == nullptr) {
      ADD_FAILURE() << "the document window did not come up";
      return;
    }
    work(*doc);
  });
  poll->start();
}

class JournalWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    shop.start_up();
    shop.state.current_operator = QStringLiteral("张三");
    // Lines of two days, one corrected, and a goods price changed.
    sell(QStringLiteral("可乐"), QStringLiteral("2.50"), QStringLiteral("000001"));
    const std::optional<store::RecordRef> tea = sell(QStringLiteral("茶"), QStringLiteral("3.00"), QStringLiteral("000001"));
    ASSERT_TRUE(tea);
    store::DataFile file = store::DataFile::open(shop.state.paths.day_file, store::day_schema());
    ASSERT_TRUE(sales::update_journaled(file, context(), sales::kEditedKind, *tea, {{day::kAmount, QStringLiteral("6.00")}}));
    startup::Paths eighth = shop.state.paths;
    eighth.day_file = shop.state.paths.month_folder + QStringLiteral("/8.day");
    eighth.day_backup = startup::backup_path_of(eighth.day_file);
    store::DataFile::create(eighth.day_file, store::day_schema());
    ASSERT_TRUE(save_line(eighth, {{QStringLiteral("面包"), QStringLiteral("1.00"), QStringLiteral("4.00"),
                                    QStringLiteral("4.00"), QStringLiteral("001"), QStringLiteral("16:00:00")},
                                   QString(),
                                   QStringLiteral("000002")}));
    shop.add_goods(QStringLiteral("可乐"), QStringLiteral("2.50"));
    store::DataFile goods = store::DataFile::open(shop.state.paths.shop_file, store::shop_schema());
    ASSERT_TRUE(sales::update_journaled(goods, context(), sales::kGoodsKind, goods.ref_to(goods.records().at(0)),
                                        {{store::shop::kPrice, QStringLiteral("2.80")}}));
  }
  sales::ChangeContext context() const { return sales::change_context(shop.state.paths.journal_file, QStringLiteral("张三")); }
  std::optional<store::RecordRef> sell(const QString& goods, const QString& amount, const QString& receipt) {
    return save_line(shop.state.paths, {{goods, QStringLiteral("1.00"), amount, amount, QStringLiteral("张三"),
                                         QStringLiteral("15:05:09")},
                                        QString(),
                                        receipt});
  }
  void open() {
    window = std::make_unique<Frm_修改记录>(shop.state);
    ASSERT_TRUE(testing::show_active(window.get()));
  }
  template <class T>
  T* control(const char* name) const {
    T* found = window->findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QStringList entries() const { return items(control<QListWidget>("List1")); }
  void mnemonic(Qt::Key key) { press_key(window.get(), key, Qt::AltModifier); }

  ShopFixture shop;
  ScriptedDialogs dialogs;
  std::unique_ptr<Frm_修改记录> window;
};

TEST_F(JournalWindow, OpensOnTodayWithItsEntriesInColumnsThatLineUp) {
  open();
  EXPECT_EQ(window->windowTitle(), QStringLiteral("修改记录"));
  EXPECT_EQ(control<QComboBox>("Combo1")->currentText(), QStringLiteral("2003_5"));
  EXPECT_EQ(control<QComboBox>("Combo2")->currentText(), QStringLiteral("7.day"));
  const QStringList lines = entries();
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[0], QStringLiteral("     1  2003-05-07 15:05:09  张三    记录    7.day          1  "
                                     "→ 可乐 1.00×2.50=2.50 张三 15:05:09 散客 000001"));
  EXPECT_TRUE(lines[2].endsWith(QStringLiteral("修改    7.day          2  茶 15:05:09：金额 3.00 → 6.00"))) << lines[2].toStdString();
  EXPECT_EQ(control<QLabel>("Label4")->text(), QStringLiteral("修改记录数：3"));
  // What each line says starts where its title does, in display columns.
  const QString header = control<QLabel>("Label3")->text();
  const qsizetype title = textlayout::column_width(header.left(header.indexOf(QStringLiteral("修改内容"))));
  for (const QString& line : lines) {
    const qsizetype arrow = line.indexOf(QStringLiteral("→")) < line.indexOf(QStringLiteral("：")) || !line.contains(QStringLiteral("："))
                                ? line.indexOf(QStringLiteral("→ "))
                                : line.indexOf(QStringLiteral("茶"));
    EXPECT_EQ(textlayout::column_width(line.left(arrow)), title) << line.toStdString();
  }
  EXPECT_EQ(control<QListWidget>("List1")->font().family(), QStringLiteral("WenQuanYi Zen Hei Mono"));
}

TEST_F(JournalWindow, TheKeyboardChoosesTheDayAndTheMonth) {
  QDir().mkpath(shop.dir() + QStringLiteral("/2003_4"));
  open();
  QComboBox* days = control<QComboBox>("Combo2");
  mnemonic(Qt::Key_D);  // 日期[&D]
  EXPECT_TRUE(days->hasFocus());
  press_key(days, Qt::Key_Down);  // 7.day → 8.day
  EXPECT_EQ(days->currentText(), QStringLiteral("8.day"));
  ASSERT_EQ(entries().size(), 1);
  EXPECT_TRUE(entries()[0].contains(QStringLiteral("→ 面包 1.00×4.00=4.00 001 16:00:00 散客 000002")));
  press_key(days, Qt::Key_Down);
  EXPECT_EQ(days->currentText(), QStringLiteral("shop.dat"));
  ASSERT_EQ(entries().size(), 1);
  EXPECT_TRUE(entries()[0].contains(QStringLiteral("商品    shop.dat       1  可乐：单价 2.50 → 2.80")));
  press_key(days, Qt::Key_Home);
  EXPECT_EQ(days->currentText(), QStringLiteral("* 全部 *"));
  EXPECT_EQ(entries().size(), 5);

  // A month from before the journal has none.
  mnemonic(Qt::Key_M);
  QComboBox* months = control<QComboBox>("Combo1");
  EXPECT_TRUE(months->hasFocus());
  press_key(months, Qt::Key_Down);
  EXPECT_EQ(months->currentText(), QStringLiteral("2003_4"));
  EXPECT_TRUE(entries().isEmpty());
  EXPECT_EQ(control<QLabel>("Label4")->text(), QStringLiteral("这个月没有修改记录。"));
}

TEST_F(JournalWindow, CheckingSaysSoundOrWhatWasFound) {
  open();
  mnemonic(Qt::Key_C);  // 核对[&C]
  EXPECT_EVENTUALLY_EQ(dialogs.messages(), QStringList{QStringLiteral("核对无误")});
  EXPECT_EQ(dialogs.last_message().icon, platform::Icon::Information);
  EXPECT_EQ(items(control<QListWidget>("List2")), QStringList{QStringLiteral("核对无误")});

  // The corrected amount changed back by hand.
  QProcess tool;
  tool.start(QStringLiteral("sqlite3"), {shop.state.paths.day_file, QStringLiteral("UPDATE FileName SET 金额 = '3.00' WHERE rowid = 2")});
  ASSERT_TRUE(tool.waitForFinished(60000));
  dialogs.clear();
  mnemonic(Qt::Key_C);
  EXPECT_EVENTUALLY_EQ(dialogs.messages(), QStringList{QStringLiteral("核对发现 1 处问题，请看核对结果。")});
  EXPECT_EQ(dialogs.last_message().icon, platform::Icon::Exclamation);
  EXPECT_EQ(items(control<QListWidget>("List2")),
            QStringList{QStringLiteral("7.day 记录号 2（茶 15:05:09 单号 000001）与第 3 条修改记录不符（被人改动）：金额 6.00 → 3.00")});
}

TEST_F(JournalWindow, PrintingHandsTheListAndTheCheckToTheDocumentWindow) {
  open();
  mnemonic(Qt::Key_C);
  EXPECT_EVENTUALLY_EQ(dialogs.messages().size(), 1);
  QString printed;
  on_document_window([&printed](reports::frmDoc_print& doc) {
    printed = doc.editor()->toPlainText();
    doc.close();
  });
  mnemonic(Qt::Key_P);  // 打印[&P]
  EXPECT_EVENTUALLY_TRUE(!printed.isEmpty());
  const QStringList lines = printed.split(QLatin1Char('\n'));
  ASSERT_GE(lines.size(), 10) << printed.toStdString();
  EXPECT_EQ(lines[0], QStringLiteral("修改记录【2003_5 7.day】"));
  EXPECT_EQ(lines[2], control<QLabel>("Label3")->text());
  EXPECT_EQ(lines.mid(3, 3), entries());
  // The last entry's hash on paper: a later check can be held against it.
  const std::optional<store::JournalEntry> last = store::last_journal_entry(shop.state.paths.journal_file);
  ASSERT_TRUE(last);
  EXPECT_TRUE(lines.contains(QStringLiteral("最后一条修改记录的哈希：") + last->hash));
  EXPECT_EQ(lines.mid(lines.indexOf(QStringLiteral("核对结果：")) + 1, 1), QStringList{QStringLiteral("核对无误")});
  EXPECT_FALSE(QFile::exists(shop.file(QStringLiteral("journal.txt"))));  // loaded and removed
}

TEST(JournalWindowMenu, OpensBehindTheAdministratorPassword) {
  testing::CashierWindow cashier;
  cashier.shop.state.admin_password = QStringLiteral("Boss1");
  cashier.open();
  QAction* menu = cashier.action("修改记录");
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->text(), QStringLiteral("修改记录[&J]"));
  cashier.dialogs.answer_input(QStringLiteral("boss1"));
  menu->trigger();
  EXPECT_EQ(cashier.dialogs.last_message().text, wrong_password_message());

  QString caption;
  testing::on_next_modal([&caption](QWidget* modal) {
    caption = modal->windowTitle();
    modal->close();
  });
  cashier.dialogs.answer_input(QStringLiteral("Boss1"));
  menu->trigger();
  EXPECT_EQ(caption, QStringLiteral("修改记录"));
}

}  // namespace
}  // namespace tavuro::cashier
