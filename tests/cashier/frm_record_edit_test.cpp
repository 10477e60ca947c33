#include "cashier/frm_record_edit.h"

#include "admin_window_driving.h"
#include "support/keyboard.h"
#include "support/scripted_dialogs.h"
#include "support/shop_fixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace tavuro::cashier {
namespace {

using platform::Icon;
using testing::press_key;
using testing::SaleLine;
using testing::ScriptedDialogs;
using testing::ShopFixture;
using testing::type_into;
namespace day = store::day;

class EditWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    shop.start_up();
    shop.add_sale({.goods = QStringLiteral("面包"), .time = QStringLiteral("09:00:00")});
    shop.add_sale({.goods = QStringLiteral("可乐"), .quantity = QStringLiteral("2.00"), .price = QStringLiteral("3.00"),
                  .amount = QStringLiteral("6.00"), .customer = QStringLiteral("王先生"),
                  .receipt = QStringLiteral("000007")});
    shop.add_sale({.goods = QStringLiteral("可乐"), .receipt = QStringLiteral("000008")});
  }
  // The record behind the index-th line of today's list, as the list read it.
  store::RecordRef line_record(int index) const {
    const store::DataFile file = store::DataFile::open(shop.state.paths.day_file);
    return file.ref_to(file.records().at(static_cast<size_t>(index)));
  }
  void open(const store::RecordRef& record) {
    shop.state.edit_record = record;
    window = std::make_unique<Frm_编辑>(shop.state);
    ASSERT_TRUE(testing::show_active(window.get()));
  }
  void open(int index) { open(line_record(index)); }
  QLineEdit* box(int n) const { return window->findChild<QLineEdit*>(QStringLiteral("Text%1").arg(n)); }
  QPushButton* button(int n) const {
    return window->findChild<QPushButton*>(QStringLiteral("Command%1").arg(n));
  }
  QStringList boxes() const {
    QStringList texts;
    for (int n = 1; n <= 7; ++n) texts << box(n)->text();
    return texts;
  }
  QStringList stored(int index) const { return shop.records(shop.state.paths.day_file).at(index).values(); }

  ShopFixture shop;
  ScriptedDialogs dialogs;
  std::unique_ptr<Frm_编辑> window;
};

TEST_F(EditWindow, ControlsCaptionsAndLimits) {
  open(store::RecordRef());
  EXPECT_EQ(window->windowTitle(), QStringLiteral("编辑"));
  const QStringList labels{QStringLiteral("Label6"), QStringLiteral("Label1"), QStringLiteral("Label2"),
                           QStringLiteral("Label3"), QStringLiteral("Label4"), QStringLiteral("Label5"),
                           QStringLiteral("Label7")};
  const QStringList captions{QStringLiteral("单号："), QStringLiteral("客户："), QStringLiteral("商品："),
                             QStringLiteral("数量："), QStringLiteral("单价："), QStringLiteral("金额："),
                             QStringLiteral("时间：")};
  for (int i = 0; i < labels.size(); ++i) {
    auto* label = window->findChild<QLabel*>(labels[i]);
    ASSERT_NE(label, nullptr) << i;
    EXPECT_EQ(label->text(), captions[i]);
    EXPECT_EQ(label->buddy(), box(i + 1));
  }
  EXPECT_EQ(box(4)->maxLength(), 8);
  EXPECT_EQ(box(5)->maxLength(), 8);
  EXPECT_EQ(box(6)->maxLength(), 10);
  EXPECT_TRUE(box(7)->isReadOnly());
  EXPECT_EQ(button(1)->text(), QStringLiteral("更新"));
  EXPECT_EQ(button(1)->toolTip(), QStringLiteral("保存编辑过的内容"));
  EXPECT_EQ(button(2)->text(), QStringLiteral("删除"));
  EXPECT_EQ(button(2)->toolTip(), QStringLiteral("删除当前记录"));
  EXPECT_EQ(button(3)->text(), QStringLiteral("关闭"));
  EXPECT_EQ(button(3)->toolTip(), QStringLiteral("关闭窗口"));
  // Nothing handed over: empty boxes, no question, no file held.
  EXPECT_EQ(boxes(), QStringList(7));
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_FALSE(testing::process_holds_open(shop.state.paths.day_file));
}

TEST_F(EditWindow, TheRecordHandedOverIsShownAndTheDayFileHeldUntilTheWindowCloses) {
  // The second and third record share goods and time: the one chosen is the one shown.
  open(2);
  EXPECT_EQ(boxes(), (QStringList{QStringLiteral("000008"), QStringLiteral("散客"), QStringLiteral("可乐"),
                                  QStringLiteral("1.00"), QStringLiteral("1.00"), QStringLiteral("1.00"),
                                  QStringLiteral("15:05:09")}));
  window.reset();
  open(1);
  EXPECT_EQ(boxes(), (QStringList{QStringLiteral("000007"), QStringLiteral("王先生"), QStringLiteral("可乐"),
                                  QStringLiteral("2.00"), QStringLiteral("3.00"), QStringLiteral("6.00"),
                                  QStringLiteral("15:05:09")}));
  EXPECT_EQ(window->windowTitle(), QStringLiteral("编辑") + shop.state.paths.day_file);
  EXPECT_TRUE(shop.state.edit_record.path.isEmpty());
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_TRUE(testing::process_holds_open(shop.state.paths.day_file));
  QTest::mouseClick(button(3), Qt::LeftButton);
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(testing::process_holds_open(shop.state.paths.day_file));
}

TEST_F(EditWindow, SavingWritesEverythingButTheTimeIntoThatRecordOnly) {
  open(1);
  const QStringList first = stored(0);
  const QStringList third = stored(2);
  box(1)->setText(QStringLiteral("000009"));
  box(2)->setText(QStringLiteral("李小姐"));
  box(3)->setText(QStringLiteral("雪碧"));
  box(4)->setText(QStringLiteral("3.00"));
  box(7)->setText(QStringLiteral("23:59:59"));  // read-only for the user; never written anyway
  QTest::mouseClick(button(1), Qt::LeftButton);
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("你的修改已经保存。")});
  EXPECT_EQ(dialogs.last_message().icon, Icon::Information);
  EXPECT_TRUE(window->isVisible());

  const auto records = shop.records(shop.state.paths.day_file);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[1].value(day::kReceiptNo), QStringLiteral("000009"));
  EXPECT_EQ(records[1].value(day::kCustomer), QStringLiteral("李小姐"));
  EXPECT_EQ(records[1].value(day::kGoods), QStringLiteral("雪碧"));
  EXPECT_EQ(records[1].value(day::kQuantity), QStringLiteral("3.00"));
  EXPECT_EQ(records[1].value(day::kAmount), QStringLiteral("6.00"));  // not recomputed
  EXPECT_EQ(records[1].value(day::kTime), QStringLiteral("15:05:09"));
  EXPECT_EQ(records[1].value(day::kOperator), QStringLiteral("001"));
  EXPECT_EQ(stored(0), first);
  EXPECT_EQ(stored(2), third);
  // Like every writer of the day file, the window leaves the backup equal to it.
  EXPECT_EQ(testing::read_bytes(shop.state.paths.day_backup), testing::read_bytes(shop.state.paths.day_file));

  // The window stays on the record: it can be saved again, then deleted.
  box(5)->setText(QStringLiteral("2.50"));
  QTest::mouseClick(button(1), Qt::LeftButton);
  EXPECT_EQ(shop.records(shop.state.paths.day_file)[1].value(day::kPrice), QStringLiteral("2.50"));
  dialogs.answer_yes();
  QTest::mouseClick(button(2), Qt::LeftButton);
  EXPECT_EQ(dialogs.last_message().text, QStringLiteral("记录已经删除！点击“确定”关闭窗口。"));
  EXPECT_FALSE(window->isVisible());
  const auto left = shop.records(shop.state.paths.day_file);
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[0].values(), first);
  EXPECT_EQ(left[1].values(), third);
  EXPECT_FALSE(testing::process_holds_open(shop.state.paths.day_file));
  EXPECT_EQ(testing::read_bytes(shop.state.paths.day_backup), testing::read_bytes(shop.state.paths.day_file));

  // Each change is in the journal, with the record before and after it.
  const std::vector<store::JournalEntry> entries = store::journal_entries(shop.state.paths.journal_file, QStringLiteral("7.day"));
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].kind, QStringLiteral("修改"));
  EXPECT_TRUE(entries[0].before.contains(QStringLiteral("商品=可乐\n")));
  EXPECT_TRUE(entries[0].after.contains(QStringLiteral("商品=雪碧\n")));
  EXPECT_EQ(entries[1].kind, QStringLiteral("修改"));
  EXPECT_TRUE(entries[1].after.contains(QStringLiteral("单价=2.50")));
  EXPECT_EQ(entries[2].kind, QStringLiteral("删除"));
  EXPECT_EQ(entries[2].before, entries[1].after);
  EXPECT_TRUE(entries[2].after.isEmpty());
  for (const auto& entry : entries) EXPECT_EQ(entry.record, line_record(0).id + 1);
}

TEST_F(EditWindow, ARecordChangedMeanwhileIsNeitherSavedNorDeleted) {
  open(1);
  // Changed behind the window's back, as with the sqlite3 tool.
  store::DataFile::open(shop.state.paths.day_file).update(line_record(1).id, {{day::kAmount, QStringLiteral("60.00")}});
  const QByteArray before = testing::read_bytes(shop.state.paths.day_file);
  box(4)->setText(QStringLiteral("9.00"));
  QTest::mouseClick(button(1), Qt::LeftButton);
  dialogs.answer_yes();
  QTest::mouseClick(button(2), Qt::LeftButton);
  EXPECT_EQ(dialogs.messages(), (QStringList{QStringLiteral("该记录已被修改或删除，请刷新后再试。"),
                                             QStringLiteral("真的要删除当前的记录吗? （如果删了将会丢失当前记录的所有数据），你是否要继续？"),
                                             QStringLiteral("该记录已被修改或删除，请刷新后再试。")}));
  EXPECT_EQ(testing::read_bytes(shop.state.paths.day_file), before);
  EXPECT_TRUE(store::journal_entries(shop.state.paths.journal_file).empty());

  // Handed over once it has changed, the record is not shown at all.
  const store::RecordRef stale = line_record(2);
  store::DataFile::open(shop.state.paths.day_file).remove(stale.id);
  dialogs.clear();
  window.reset();
  open(stale);
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("该记录已被修改或删除，请刷新后再试。")});
  EXPECT_TRUE(window->record_gone());
  EXPECT_EQ(boxes(), QStringList(7));
}

TEST_F(EditWindow, DeletingAsksFirst) {
  open(0);
  const QByteArray before = testing::read_bytes(shop.state.paths.day_file);
  dialogs.answer_no();
  QTest::mouseClick(button(2), Qt::LeftButton);
  EXPECT_EQ(dialogs.shown().back().text,
            QStringLiteral("真的要删除当前的记录吗? （如果删了将会丢失当前记录的所有数据），你是否要继续？"));
  EXPECT_EQ(dialogs.shown().back().icon, Icon::Information);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(testing::read_bytes(shop.state.paths.day_file), before);
}

TEST_F(EditWindow, WithoutARecordSaveAndDeleteSayNoneIsSelectedAndLeaveTheFile) {
  const QByteArray before = testing::read_bytes(shop.state.paths.day_file);
  open(store::RecordRef());
  EXPECT_EQ(boxes(), QStringList(7));
  EXPECT_TRUE(dialogs.shown().empty());
  for (int n = 1; n <= 6; ++n) box(n)->setText(QStringLiteral("1"));
  QTest::mouseClick(button(1), Qt::LeftButton);
  QTest::mouseClick(button(2), Qt::LeftButton);
  EXPECT_EQ(dialogs.messages(), QStringList(2, QStringLiteral("没有选中的记录。")));
  EXPECT_EQ(testing::read_bytes(shop.state.paths.day_file), before);
  EXPECT_TRUE(window->isVisible());
}

TEST_F(EditWindow, AMissingOrEmptyDayFileIsTold) {
  const store::RecordRef record = line_record(1);
  QFile::remove(shop.state.paths.day_file);
  open(record);
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("找不到可用的数据文件[R_File]")});
  window.reset();
  dialogs.clear();
  store::DataFile::create(shop.state.paths.day_file, store::day_schema());
  open(record);
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("你查找的文件没有记录。[R_File]")});
  EXPECT_EQ(dialogs.last_message().icon, Icon::Information);
  EXPECT_EQ(boxes(), QStringList(7));
}

TEST_F(EditWindow, AValueTheDayFileCannotHoldIsRefusedWhole) {
  open(1);
  const QByteArray before = testing::read_bytes(shop.state.paths.day_file);
  box(3)->setText(QStringLiteral("雪碧"));
  box(1)->setText(QString(51, QLatin1Char('1')));
  QTest::mouseClick(button(1), Qt::LeftButton);
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("保存记录时发生错误。")});
  EXPECT_EQ(testing::read_bytes(shop.state.paths.day_file), before);
}

TEST_F(EditWindow, NumberBoxesTakeDigitsAndLeaveWithTwoDecimals) {
  open(1);
  const QString refusal = QStringLiteral("只可以输入数字与小数点。");

  box(1)->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(box(1)->selectedText(), QStringLiteral("000007"));
  press_key(box(1), Qt::Key_End);
  type_into(box(1), QStringLiteral("1a."));
  press_key(box(1), Qt::Key_Backspace);
  EXPECT_EQ(box(1)->text(), QStringLiteral("000007"));
  EXPECT_EQ(dialogs.messages(), QStringList(2, refusal));
  EXPECT_EQ(dialogs.last_message().icon, Icon::Critical);
  press_key(box(1), Qt::Key_Return);
  EXPECT_TRUE(box(2)->hasFocus());
  dialogs.clear();

  // Quantity 2 becomes 2.00 on leaving; the amount stays as it was.
  box(4)->setFocus(Qt::TabFocusReason);
  type_into(box(4), QStringLiteral("2x"));
  EXPECT_EQ(dialogs.messages(), QStringList{refusal});
  press_key(box(4), Qt::Key_Return);
  EXPECT_TRUE(box(5)->hasFocus());
  EXPECT_EQ(box(4)->text(), QStringLiteral("2.00"));
  EXPECT_EQ(box(6)->text(), QStringLiteral("6.00"));
  type_into(box(5), QStringLiteral("1.255"));
  press_key(box(5), Qt::Key_Return);
  EXPECT_EQ(box(5)->text(), QStringLiteral("1.25"));
  press_key(box(6), Qt::Key_Return);
  EXPECT_TRUE(button(1)->hasFocus());
  EXPECT_EQ(box(6)->text(), QStringLiteral("6.00"));
  // Enter on the focused button saves.
  press_key(button(1), Qt::Key_Return);
  EXPECT_EQ(dialogs.last_message().text, QStringLiteral("你的修改已经保存。"));
  EXPECT_EQ(shop.records(shop.state.paths.day_file)[1].value(day::kPrice), QStringLiteral("1.25"));
}

TEST_F(EditWindow, EditingKeysWorkInTheNumberBoxesAndAPasteIsCheckedAsTyping) {
  open(1);
  const QString refusal = QStringLiteral("只可以输入数字与小数点。");
  QClipboard* clipboard = QGuiApplication::clipboard();
  for (int n : {1, 4, 5, 6}) {
    QLineEdit* edited = box(n);
    edited->setText(QStringLiteral("123"));
    edited->setFocus(Qt::TabFocusReason);
    press_key(edited, Qt::Key_Home);
    testing::press_delete();
    testing::press_x11_key(edited, Qt::Key_Delete);
    EXPECT_EQ(edited->text(), QStringLiteral("3")) << n;
    testing::press_x11_key(edited, Qt::Key_A, Qt::ControlModifier);
    testing::press_x11_key(edited, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), QStringLiteral("3")) << n;
    testing::press_x11_key(edited, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(edited->text(), QStringLiteral("3")) << n;
    clipboard->setText(QStringLiteral("45"));
    press_key(edited, Qt::Key_End);
    testing::press_x11_key(edited, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edited->text(), QStringLiteral("345")) << n;
    EXPECT_TRUE(dialogs.shown().empty()) << n;

    // The receipt number takes digits only, the others a point too.
    clipboard->setText(n == 1 ? QStringLiteral("6.7") : QStringLiteral("6,7"));
    testing::press_x11_key(edited, Qt::Key_V, Qt::ControlModifier);
    edited->paste();  // as the context menu or the middle mouse button pastes
    EXPECT_EQ(edited->text(), QStringLiteral("345")) << n;
    EXPECT_EQ(dialogs.messages(), QStringList{refusal}) << n;
    dialogs.clear();
  }
  // The customer and goods boxes take a paste of anything.
  clipboard->setText(QStringLiteral("李 小姐."));
  box(2)->setFocus(Qt::TabFocusReason);
  testing::press_x11_key(box(2), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(box(2)->text(), QStringLiteral("李 小姐."));
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(EditWindow, OnlyTheButtonSavesEnterInABoxWithoutRulesDoesNothing) {
  open(1);
  const QByteArray before = testing::read_bytes(shop.state.paths.day_file);
  for (int n : {2, 3, 7}) {
    box(n)->setFocus(Qt::TabFocusReason);
    if (n != 7) type_into(box(n), QStringLiteral("x"));
    press_key(box(n), Qt::Key_Return);
    press_key(box(n), Qt::Key_Enter);
    EXPECT_TRUE(box(n)->hasFocus()) << n;
  }
  EXPECT_TRUE(dialogs.shown().empty());
  // Enter on a button presses that button: 删除 asks its question, and saves nothing.
  button(2)->setFocus(Qt::TabFocusReason);
  dialogs.answer_no();
  press_key(button(2), Qt::Key_Return);
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral(
                                    "真的要删除当前的记录吗? （如果删了将会丢失当前记录的所有数据），你是否要继续？")});
  EXPECT_EQ(testing::read_bytes(shop.state.paths.day_file), before);
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(button(1)->isDefault());
  dialogs.clear();

  QTest::mouseClick(button(1), Qt::LeftButton);
  EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("你的修改已经保存。")});
  EXPECT_EQ(stored(1).at(0), QStringLiteral("x"));  // the goods and customer typed over
  EXPECT_EQ(stored(1).at(7), QStringLiteral("x"));
}

TEST_F(EditWindow, AnEmptyBoxCannotBeLeft) {
  open(1);
  for (int n : {1, 4, 6}) {
    dialogs.clear();
    box(n)->setFocus(Qt::TabFocusReason);
    box(n)->setText(QStringLiteral("  "));
    press_key(box(n), Qt::Key_Return);  // Enter does not move on from an empty box
    EXPECT_TRUE(box(n)->hasFocus()) << n;
    box(n == 6 ? 5 : n + 1)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("你还未输入数据！")}) << n;
    EXPECT_EVENTUALLY_TRUE(box(n)->hasFocus());
    box(n)->setText(QStringLiteral("1"));
  }
  // Another box that is empty too is not checked on the way back.
  dialogs.clear();
  box(5)->setText(QString());
  box(4)->setText(QString());
  box(4)->setFocus(Qt::TabFocusReason);
  box(5)->setFocus(Qt::TabFocusReason);
  EXPECT_EVENTUALLY_TRUE(box(4)->hasFocus());
  EXPECT_EQ(dialogs.messages().size(), 1);
  // The customer and goods boxes take anything, empty too.
  box(4)->setText(QStringLiteral("1"));
  box(2)->setFocus(Qt::TabFocusReason);
  type_into(box(2), QStringLiteral("x."));
  box(2)->setText(QString());
  box(3)->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(dialogs.messages().size(), 1);
  // Closing is never held up by an empty box.
  box(1)->setText(QString());
  box(1)->setFocus(Qt::TabFocusReason);
  QTest::mouseClick(button(3), Qt::LeftButton);
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(dialogs.messages().size(), 1);
}

}  // namespace
}  // namespace tavuro::cashier
