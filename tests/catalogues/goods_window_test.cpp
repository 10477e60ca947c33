#include "catalogues/goods_catalogue.h"
#include "catalogues/goods_window.h"

#include "support/scripted_dialogs.h"
#include "support/shop_fixture.h"
#include "window_driver.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace tavuro::catalogues {
namespace {

using platform::Icon;
using namespace testing;

class GoodsWindow : public WindowTest<frm_注册商品> {
 protected:
  void open() {
    show();
    List1 = control<QListWidget>("List1");
    Label4 = control<QLabel>("Label4");
    Text1 = control<QLineEdit>("Text1");
    Text2 = control<QLineEdit>("Text2");
    Command1 = control<QPushButton>("Command1");
    Command2 = control<QPushButton>("Command2");
    Command3 = control<QPushButton>("Command3");
  }
  QStringList stored() const {
    QStringList result;
    for (const auto& record : shop.records(shop.state.paths.shop_file)) {
      result << record.value(store::shop::kGoods) + QLatin1Char('=') + record.value(store::shop::kPrice);
    }
    return result;
  }

  QListWidget* List1 = nullptr;
  QLabel* Label4 = nullptr;
  QLineEdit* Text1 = nullptr;
  QLineEdit* Text2 = nullptr;
  QPushButton* Command1 = nullptr;
  QPushButton* Command2 = nullptr;
  QPushButton* Command3 = nullptr;
};

TEST_F(GoodsWindow, ControlsCarryTheirCaptionsToolTipsAndLimits) {
  open();
  EXPECT_EQ(window->windowTitle(), QStringLiteral("注册商品"));
  EXPECT_EQ(window->objectName(), QStringLiteral("frm_注册商品"));
  EXPECT_EQ(control<QGroupBox>("Frame1")->title(), QStringLiteral("下边是已注册的商品名称"));
  EXPECT_EQ(control<QLabel>("Label1")->text(), QStringLiteral("商品名称"));
  EXPECT_EQ(control<QLabel>("Label2")->text(), QStringLiteral("单价"));
  EXPECT_EQ(Text1->toolTip(), QStringLiteral("只可以最多使用8个中文字或16个英文字符，否则数据出错！"));
  EXPECT_EQ(Text2->toolTip(), QStringLiteral("只可以最多使用8个数字字符，否则数据出错！"));
  EXPECT_EQ(Command1->text(), QStringLiteral("加入商品"));
  EXPECT_EQ(Command1->toolTip(), QStringLiteral("加入新的商品名称或修改现有的商品名称"));
  EXPECT_EQ(Command2->text(), QStringLiteral("删除商品"));
  EXPECT_EQ(Command2->toolTip(), QStringLiteral("删除已选的商品名称"));
  EXPECT_EQ(Command3->text(), QStringLiteral("关闭"));
  EXPECT_EQ(Command3->toolTip(), QStringLiteral("关闭窗口"));
  EXPECT_TRUE(Text1->text().isEmpty());
  EXPECT_TRUE(Text2->text().isEmpty());
  EXPECT_EQ(focused(), Text1);
}

TEST_F(GoodsWindow, TheListShowsAlignedColumnsInTheFixedFaceAndTheCount) {
  shop.add_goods(QStringLiteral("可乐"), QStringLiteral("2.50"));
  shop.add_goods(QStringLiteral("Cola 2L"), QStringLiteral("12345.67"));
  open();
  ASSERT_EQ(List1->count(), 3);
  EXPECT_EQ(List1->item(0)->text(), kGoodsHeader);
  EXPECT_EQ(Label4->text(), QStringLiteral("总数：2"));
  EXPECT_EQ(selected_row(List1), -1);

  const QFontMetrics metrics(List1->font());
  const int column = metrics.horizontalAdvance(QLatin1Char('a'));
  EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("可")), 2 * column);
  EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("─")), 2 * column);
  // Every line is 28 columns wide, so the prices end at the same place.
  for (int i = 1; i < List1->count(); ++i) {
    EXPECT_EQ(metrics.horizontalAdvance(List1->item(i)->text()), 28 * column) << i;
  }
}

TEST_F(GoodsWindow, RegisteringThroughTheKeyboard) {
  open();
  commit_text(QStringLiteral("可乐"));
  press_enter();
  EXPECT_EQ(focused(), Text2);
  type_text(QStringLiteral("2.5"));
  press_enter();
  EXPECT_EQ(focused(), Command1);
  EXPECT_EQ(Text2->text(), QStringLiteral("2.50")) << "leaving the price box writes it as money";
  press_enter();

  EXPECT_EQ(stored(), QStringList{QStringLiteral("可乐=2.50")});
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("注册成功！")});
  EXPECT_EQ(lines(List1), (QStringList{kGoodsHeader, goods_line(QStringLiteral("可乐"), QStringLiteral("2.50"))}));
  EXPECT_EQ(Label4->text(), QStringLiteral("总数：1"));
  EXPECT_TRUE(Text1->text().isEmpty());
  EXPECT_TRUE(Text2->text().isEmpty());
  EXPECT_EQ(focused(), Text1);
  EXPECT_TRUE(cashier.calls.isEmpty()) << "the cashier window reloads only when the window closes";
}

TEST_F(GoodsWindow, TheNameWidthIsCheckedBeforeEachKey) {
  open();
  // Eight CJK characters fill the sixteen columns; one more still goes in, the next not.
  commit_text(QStringLiteral("八个中文字符的名"));
  EXPECT_TRUE(dialogs.shown().empty());
  type_text(QStringLiteral("字"));
  EXPECT_EQ(Text1->text(), QStringLiteral("八个中文字符的名字"));
  EXPECT_TRUE(dialogs.shown().empty());
  type_text(QStringLiteral("x"));
  commit_text(QStringLiteral("甲乙"));
  EXPECT_EQ(Text1->text(), QStringLiteral("八个中文字符的名字"));
  EXPECT_EQ(dialogs.messages(), QStringList(3, kGoodsNameTooWide));
  EXPECT_EQ(dialogs.last_message().icon, Icon::Information);
  EXPECT_EQ(focused(), Text1);
  dialogs.clear();

  // The over-wide name is refused by the button too, and nothing is written.
  click(Text2);
  type_text(QStringLiteral("1"));
  click(Command1);
  EXPECT_EQ(dialogs.messages(), QStringList{kGoodsNameTooWide});
  EXPECT_EQ(focused(), Text1);
  EXPECT_TRUE(stored().isEmpty());

  // Backspace shortens it again; Enter is a key like any other while it is too wide.
  dialogs.clear();
  press_key(Qt::Key_End);
  press_backspace();
  EXPECT_EQ(Text1->text(), QStringLiteral("八个中文字符的名"));
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(GoodsWindow, SixteenAsciiCharactersFitAndTheBoxesTakeNoMore) {
  open();
  type_text(QStringLiteral("abcdefghijklmnopq"));
  EXPECT_EQ(Text1->text(), QStringLiteral("abcdefghijklmnop"));
  EXPECT_TRUE(dialogs.shown().empty());
  click(Text2);
  type_text(QStringLiteral("12345678901234567"));
  EXPECT_EQ(Text2->text(), QStringLiteral("1234567890123456"));
  click(Text1);

  // Fifteen ASCII characters and a CJK one make seventeen columns: refused on the button.
  Text1->clear();
  type_text(QStringLiteral("abcdefghijklmno"));
  commit_text(QStringLiteral("可"));
  press_enter();
  EXPECT_EQ(dialogs.messages(), QStringList{kGoodsNameTooWide});
  dialogs.clear();
  Text2->setText(QStringLiteral("1.00"));
  click(Command1);
  EXPECT_EQ(dialogs.messages(), QStringList{kGoodsNameTooWide});
  EXPECT_TRUE(stored().isEmpty());
}

TEST_F(GoodsWindow, ALongerNameHandedOverIsKeptWholeAndRefusedOnTheButton) {
  window = std::make_unique<frm_注册商品>(shop.state, cashier);
  window->Text1()->setText(QStringLiteral("abcdefghijklmnopqrst"));
  window->Text2()->setText(QStringLiteral("0"));
  open();
  EXPECT_EQ(Text1->text(), QStringLiteral("abcdefghijklmnopqrst"));
  click(Command1);
  EXPECT_EQ(dialogs.messages(), QStringList{kGoodsNameTooWide});
  EXPECT_TRUE(stored().isEmpty());
  press_key(Qt::Key_End);
  press_backspace();
  EXPECT_EQ(Text1->text(), QStringLiteral("abcdefghijklmnopqrs"));
}

TEST_F(GoodsWindow, ThePriceBoxTakesDigitsAndAPointOnly) {
  open();
  click(Text2);
  type_text(QStringLiteral("1a2.x5"));
  EXPECT_EQ(Text2->text(), QStringLiteral("12.5"));
  ASSERT_EQ(dialogs.messages(), QStringList(2, QStringLiteral("只可以输入数字与小数点。")));
  EXPECT_EQ(dialogs.last_message().icon, Icon::Critical);
  commit_text(QStringLiteral("元"));
  EXPECT_EQ(Text2->text(), QStringLiteral("12.5"));
  press_backspace();
  EXPECT_EQ(Text2->text(), QStringLiteral("12."));

  // Enter on an empty box keeps the focus there; leaving it empty makes it 0.00.
  dialogs.clear();
  Text2->clear();
  press_enter();
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("你还未输入数据！")});
  EXPECT_EQ(dialogs.last_message().icon, Icon::Information);
  EXPECT_EQ(focused(), Text2);
  click(Text1);
  EXPECT_EQ(Text2->text(), QStringLiteral("0.00"));

  // So a goods can be registered at 0.00.
  dialogs.clear();
  type_text(QStringLiteral("bag"));
  click(Command1);
  EXPECT_EQ(stored(), QStringList{QStringLiteral("bag=0.00")});
}

TEST_F(GoodsWindow, EditingKeysWorkInBothBoxesAndAPasteIsCheckedAsTyping) {
  open();
  QClipboard* clipboard = QGuiApplication::clipboard();
  // The price: Delete (as X11 sends it too) and the shortcuts edit; a paste of digits and
  // a point goes in, anything else is refused with the box's message.
  click(Text2);
  type_text(QStringLiteral("12.50"));
  press_key(Qt::Key_Home);
  press_delete();
  press_x11_key(Text2, Qt::Key_Delete);
  EXPECT_EQ(Text2->text(), QStringLiteral(".50"));
  press_x11_key(Text2, Qt::Key_A, Qt::ControlModifier);
  press_x11_key(Text2, Qt::Key_X, Qt::ControlModifier);
  clipboard->setText(QStringLiteral("3.5"));
  press_x11_key(Text2, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Text2->text(), QStringLiteral("3.5"));
  EXPECT_TRUE(dialogs.shown().empty());
  clipboard->setText(QStringLiteral("3.5元"));
  press_x11_key(Text2, Qt::Key_V, Qt::ControlModifier);
  Text2->paste();
  EXPECT_EQ(Text2->text(), QStringLiteral("3.5"));
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("只可以输入数字与小数点。")});
  dialogs.clear();

  // The name, once too wide, refuses typed keys and pastes but not the editing keys that
  // shorten it.
  click(Text1);
  commit_text(QStringLiteral("八个中文字符的名字"));
  press_key(Qt::Key_Home);
  press_x11_key(Text1, Qt::Key_Delete);
  EXPECT_EQ(Text1->text(), QStringLiteral("个中文字符的名字"));
  press_x11_key(Text1, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Text1->text(), QStringLiteral("八个中文字符的名字"));
  EXPECT_TRUE(dialogs.shown().empty());
  clipboard->setText(QStringLiteral("甲"));
  press_x11_key(Text1, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Text1->text(), QStringLiteral("八个中文字符的名字"));
  EXPECT_EQ(dialogs.messages(), QStringList{kGoodsNameTooWide});
  press_x11_key(Text1, Qt::Key_A, Qt::ControlModifier);
  press_x11_key(Text1, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(Text1->text(), QString());
  press_x11_key(Text1, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Text1->text(), QStringLiteral("八个中文字符的名字"));
  EXPECT_EQ(dialogs.messages().size(), 1);
}

TEST_F(GoodsWindow, ANameAlreadyRegisteredIsRepricedOnYesAndLeftOnNo) {
  shop.add_goods(QStringLiteral("可乐"), QStringLiteral("2.50"));
  open();
  Text1->setText(QStringLiteral("可乐"));
  Text2->setText(QStringLiteral("3.00"));
  dialogs.answer_yes();
  click(Command1);
  EXPECT_EQ(stored(), QStringList{QStringLiteral("可乐=3.00")});
  EXPECT_EQ(List1->item(1)->text(), goods_line(QStringLiteral("可乐"), QStringLiteral("3.00")));
  EXPECT_EQ(Text1->text(), QStringLiteral("可乐")) << "the boxes keep their texts after Yes";
  EXPECT_EQ(Text2->text(), QStringLiteral("3.00"));
  EXPECT_EQ(dialogs.messages().size(), 1) << "no confirmation after a price change";

  Text2->setText(QStringLiteral("4.00"));
  dialogs.answer_no();
  click(Command1);
  EXPECT_EQ(stored(), QStringList{QStringLiteral("可乐=3.00")});
  EXPECT_TRUE(Text1->text().isEmpty());
  EXPECT_TRUE(Text2->text().isEmpty());
  EXPECT_EQ(focused(), Text1);
}

TEST_F(GoodsWindow, ClickingALineFillsTheBoxesTheHeaderDoesNothing) {
  shop.add_goods(QStringLiteral("可乐"), QStringLiteral("2.50"));
  shop.add_goods(QStringLiteral("雪碧"), QStringLiteral("3.00"));
  open();
  click_line(List1, 2);
  EXPECT_EQ(Text1->text(), QStringLiteral("雪碧"));
  EXPECT_EQ(Text2->text(), QStringLiteral("3.00"));

  Text1->setText(QStringLiteral("typed"));
  click_line(List1, 2);  // clicking the selected line again fills the boxes again
  EXPECT_EQ(Text1->text(), QStringLiteral("雪碧"));

  press_key(Qt::Key_Up);  // choosing a line with the keyboard is a click too
  EXPECT_EQ(Text1->text(), QStringLiteral("可乐"));

  Text1->setText(QStringLiteral("typed"));
  click_line(List1, 0);
  EXPECT_EQ(Text1->text(), QStringLiteral("typed"));
  click(Command2);
  EXPECT_EQ(stored().size(), 2) << "the header line cannot be deleted";
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(GoodsWindow, DeletingTheSelectedGoods) {
  shop.add_goods(QStringLiteral("可乐"), QStringLiteral("2.50"));
  shop.add_goods(QStringLiteral("雪碧"), QStringLiteral("3.00"));
  open();
  click(Command2);
  EXPECT_TRUE(dialogs.shown().empty()) << "nothing selected, nothing asked";

  click_line(List1, 1);
  dialogs.answer_no();
  click(Command2);
  EXPECT_EQ(stored().size(), 2);

  dialogs.answer_yes();
  click(Command2);
  EXPECT_EQ(dialogs.last_message().text, QStringLiteral("真的要删除商品[可乐]吗?"));
  EXPECT_EQ(stored(), QStringList{QStringLiteral("雪碧=3.00")});
  EXPECT_EQ(List1->count(), 2);
  EXPECT_EQ(Label4->text(), QStringLiteral("总数：1"));
  EXPECT_TRUE(Text1->text().isEmpty());
  EXPECT_TRUE(Text2->text().isEmpty());
  EXPECT_EQ(read_bytes(shop.state.paths.shop_file), read_bytes(shop.state.paths.shop_backup));

  click_line(List1, 1);
  dialogs.answer_yes();
  click(Command2);
  EXPECT_EQ(lines(List1), QStringList{kGoodsHeader});
  EXPECT_EQ(Label4->text(), QStringLiteral("总数：0"));
}

TEST_F(GoodsWindow, NamesDifferingOnlyByCaseOrATrailingSpaceStaySeparateGoods) {
  open();
  for (const char* name : {"cola", "Cola", "cola "}) {
    Text1->setText(QString::fromUtf8(name));
    Text2->setText(QStringLiteral("1.00"));
    click(Command1);
  }
  EXPECT_EQ(stored(), (QStringList{QStringLiteral("cola=1.00"), QStringLiteral("Cola=1.00"),
                                   QStringLiteral("cola =1.00")}));
  EXPECT_EQ(dialogs.messages(), QStringList(3, QStringLiteral("注册成功！")));
  EXPECT_EQ(List1->item(1)->text(), List1->item(3)->text()) << "the list shows names trimmed";

  // The line of "cola " stands for that record, not for the first "cola".
  click_line(List1, 3);
  EXPECT_EQ(Text1->text(), QStringLiteral("cola "));
  dialogs.clear();
  dialogs.answer_yes();
  click(Command2);
  EXPECT_EQ(dialogs.last_message().text, QStringLiteral("真的要删除商品[cola ]吗?"));
  EXPECT_EQ(stored(), (QStringList{QStringLiteral("cola=1.00"), QStringLiteral("Cola=1.00")}));
}

TEST_F(GoodsWindow, ClosingHandsTheCatalogueAndThePendingNameBackToTheCashier) {
  shop.state.pending_goods_name = QStringLiteral("奶茶");
  open();
  click(Command3);
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(cashier.calls, (QStringList{QStringLiteral("read_shop_file"), QStringLiteral("setGoodsText:奶茶")}));

  // From the menu nothing is pending: the goods box is emptied.
  shop.state.pending_goods_name.clear();
  cashier.calls.clear();
  window.reset();
  open();
  window->close();
  EXPECT_EQ(cashier.calls, (QStringList{QStringLiteral("read_shop_file"), QStringLiteral("setGoodsText:")}));
}

TEST_F(GoodsWindow, AMissingCatalogueLeavesTheListEmptyWithoutAMessage) {
  QFile::remove(shop.state.paths.shop_file);
  open();
  EXPECT_EQ(List1->count(), 0);
  EXPECT_TRUE(dialogs.shown().empty());
}

}  // namespace
}  // namespace tavuro::catalogues
