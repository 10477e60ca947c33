// The cashier window as it opens: its controls, menus, lists, layouts and timers.

#include "cashier_window.h"

#include "platform/fonts.h"
#include "startup/app_state.h"

#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include <gtest/gtest.h>

namespace tavuro::testing {
namespace {

TEST(CashierControls, CaptionsAndToolTips) {
  CashierWindow shop;
  shop.open();
  const struct {
    const char* name;
    const char* caption;
    const char* toolTip;
  } labelled[] = {
      {"Label1(0)", "选商品", nullptr},
      {"Label1(1)", "数量", nullptr},
      {"Label1(2)", "单价", nullptr},
      {"Label1(3)", "金额", nullptr},
      {"Label1(5)", "客  户", nullptr},
      {"Label3", "单号:000000", "流水帐单号(系统自动类加)"},
      {"Label4", "0.00元", nullptr},
      {"Label10", "按 单 号", nullptr},
      {"Label9", "按 商 品", nullptr},
      {"Label8", "按操作员", nullptr},
  };
  for (const auto& expected : labelled) {
    const QLabel* label = shop.label(expected.name);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QString::fromUtf8(expected.caption)) << expected.name;
    if (expected.toolTip) {
      EXPECT_EQ(label->toolTip(), QString::fromUtf8(expected.toolTip)) << expected.name;
    }
  }
  const struct {
    const char* name;
    const char* caption;
    const char* toolTip;
  } buttons[] = {
      {"Command1", "临时记录[&S]", "记录所选取的商品，数量，单价，金额"},
      {"Command2", "清临时记录[&D]", ""},
      {"Command3", "打印临时记录[&P]", ""},
      {"Command4", "创建单号[&C]", "创建新的单号（新的单号在左边单号处显示）"},
      {"Com_close", " 退 出[&X]", "关闭程序"},
      {"Com_打印", "打印预览", "打印今日出售的商品统计报表"},
  };
  for (const auto& expected : buttons) {
    const QPushButton* button = shop.button(expected.name);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QString::fromUtf8(expected.caption)) << expected.name;
    EXPECT_EQ(button->toolTip(), QString::fromUtf8(expected.toolTip)) << expected.name;
  }
  const struct {
    const char* name;
    const char* toolTip;
  } boxes[] = {
      {"Combo1", "选择或输入商品名称（如果是新的商品，这里会提示你注册）"},
      {"Text1", "商品的数量（这里须要填写，默认是1）"},
      {"Text2", "如果是已注册的商品，它的单价这里会自动显示。"},
      {"Text3", "所选商品的结算金额"},
      {"Combo2", "填写固定客户（如果是散客可以不用填写）"},
      {"Text4", "按单号查询（输入6个数的单号后按回车键）"},
      {"Co_查商品", "按商品名称查询"},
      {"Co_查操作员", "按操作员查询"},
  };
  for (const auto& expected : boxes) {
    const QWidget* box = shop.find<QWidget>(QString::fromUtf8(expected.name));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->toolTip(), QString::fromUtf8(expected.toolTip)) << expected.name;
  }
  EXPECT_EQ(shop.text("Text1")->text(), QStringLiteral("1.00"));
  EXPECT_EQ(shop.text("Text4")->text(), QStringLiteral("单号查询"));
  EXPECT_EQ(shop.text("Text4")->maxLength(), 6);

  const struct {
    const char* name;
    const char* caption;
  } frames[] = {{"Frame1", "临时记录出售的商品"},
                {"Frame2", "记录今天出售的商品"},
                {"Frame3", "客户结算金额"},
                {"Frame4", "今日查询"}};
  for (const auto& expected : frames) {
    EXPECT_EQ(shop.find<QGroupBox>(QString::fromUtf8(expected.name))->title(), QString::fromUtf8(expected.caption));
  }
  const QStringList heads{QStringLiteral("序列号"), QStringLiteral("商 品 名 称"), QStringLiteral("数 量"),
                          QStringLiteral("单 价"),  QStringLiteral("金 额"),       QStringLiteral("操作/编号")};
  for (int i = 0; i < 12; ++i) {
    const QPushButton* head = shop.find<QPushButton>(QStringLiteral("Com_cap(%1)").arg(i));
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(head->text(), heads[i % 6]);
    EXPECT_EQ(head->parentWidget()->objectName(), i < 6 ? QStringLiteral("Frame1") : QStringLiteral("Frame2"));
  }
  EXPECT_EQ(shop.label("Label7")->text(), QStringLiteral("操作编号 = *全部*"));  // today's list was loaded
}

TEST(CashierControls, MenusWithEveryCommandAvailable) {
  CashierWindow shop;
  shop.open();
  const struct {
    const char* name;
    const char* caption;
    bool enabled;
  } items[] = {
      {"查询", "查询[Q]", true},           {"打印设置", "打印设置", true},
      {"发送文件", "发送文件到软盘[A:][&S]", true}, {"打印", "打印文件[&P]", true},
      {"自由式打印", "自由式打印", true}, {"打印窗口", "打印", true},
      {"退出", "退出[&X]", true},          {"注册商品", "注册商品[&A]", true},
      {"注册固定客户", "注册固定客户[&K]", true}, {"输入操作员", "输入操作员或编号", true},
      {"设置管理员密码", "设置管理员密码", true}, {"屏蔽", "屏蔽", true},
      {"内容", "内容", true},             {"关于", "关于", true},
      {"删除", "删除  [&D]", true},       {"刷新数据", "刷新全部数据", true},
      {"编辑记录", "编辑记录", true},     {"删除记录", "删除记录", true},
  };
  for (const auto& expected : items) {
    const QAction* action = shop.action(expected.name);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), QString::fromUtf8(expected.caption)) << expected.name;
    EXPECT_EQ(action->isEnabled(), expected.enabled) << expected.name;
    EXPECT_TRUE(action->isVisible()) << expected.name;
  }
  EXPECT_TRUE(shop.button("Com_打印")->isEnabled());

  QStringList menus;
  for (const QAction* top : shop.window->menuBar()->actions()) menus << top->text();
  EXPECT_EQ(menus, (QStringList{QStringLiteral("文件[&F]"), QStringLiteral("编辑[&E]"), QStringLiteral("帮助[&H]")}));
  const auto popup_items = [&shop](const char* name) {
    QStringList texts;
    for (const QAction* action : shop.find<QMenu>(QString::fromUtf8(name))->actions()) {
      texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return texts;
  };
  // The items of each menu in order, a separator as "-".
  EXPECT_EQ(popup_items("文件"),
            (QStringList{QStringLiteral("查询[Q]"), QStringLiteral("-"), QStringLiteral("打印设置"), QStringLiteral("-"),
                         QStringLiteral("发送文件到软盘[A:][&S]"), QStringLiteral("-"), QStringLiteral("打印文件[&P]"),
                         QStringLiteral("自由式打印"), QStringLiteral("打印"), QStringLiteral("-"),
                         QStringLiteral("退出[&X]")}));
  EXPECT_EQ(popup_items("编辑"), (QStringList{QStringLiteral("注册商品[&A]"), QStringLiteral("注册固定客户[&K]"),
                                             QStringLiteral("-"), QStringLiteral("输入操作员或编号"), QStringLiteral("-"),
                                             QStringLiteral("设置管理员密码"), QStringLiteral("屏蔽"), QStringLiteral("-"),
                                             QStringLiteral("修改记录[&J]")}));
  EXPECT_EQ(popup_items("帮助"), (QStringList{QStringLiteral("内容"), QStringLiteral("-"), QStringLiteral("关于")}));
  EXPECT_EQ(popup_items("list1_右击"), QStringList{QStringLiteral("删除  [&D]")});
  EXPECT_EQ(popup_items("list2_右击"), (QStringList{QStringLiteral("刷新全部数据"), QStringLiteral("-"),
                                                   QStringLiteral("编辑记录"), QStringLiteral("-"),
                                                   QStringLiteral("删除记录")}));
}

TEST(CashierControls, LoadsCataloguesAndStartsWithoutAReceipt) {
  CashierWindow shop;
  shop.shop.add_goods(QStringLiteral("可乐"), QStringLiteral("2.50"));
  shop.shop.add_goods(QStringLiteral("面包"), QStringLiteral("4.00"));
  shop.shop.add_goods(QStringLiteral("可乐"), QStringLiteral("9.99"));
  shop.shop.add_operator(QStringLiteral("001"));
  shop.shop.add_customer(QStringLiteral("王先生"));
  shop.shop.add_customer(QStringLiteral("李小姐"));
  shop.shop.state.receipt_counter = 57;
  shop.open();

  const auto items = [](const QComboBox* combo) {
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
    return texts;
  };
  EXPECT_EQ(items(shop.combo("Combo1")),
            (QStringList{QStringLiteral("可乐"), QStringLiteral("面包"), QStringLiteral("可乐")}));
  EXPECT_EQ(shop.combo("Combo1")->currentText(), QString());
  EXPECT_EQ(items(shop.combo("Co_查商品")), (QStringList{QStringLiteral("* 全部 *"), QStringLiteral("可乐"),
                                                        QStringLiteral("面包"), QStringLiteral("可乐")}));
  EXPECT_EQ(shop.combo("Co_查商品")->currentText(), QStringLiteral("* 全部 *"));
  EXPECT_EQ(items(shop.combo("Co_查操作员")), (QStringList{QStringLiteral("* 全部 *"), QStringLiteral("001")}));
  EXPECT_EQ(shop.combo("Co_查操作员")->currentText(), QStringLiteral("* 全部 *"));
  EXPECT_EQ(items(shop.combo("Combo2")), (QStringList{QStringLiteral("王先生"), QStringLiteral("李小姐")}));
  EXPECT_EQ(shop.combo("Combo2")->currentText(), QString());
  EXPECT_EQ(shop.label("Label3")->text(), QStringLiteral("单号:000057"));

  for (const char* name : {"Command1", "Command2", "Command3"}) EXPECT_FALSE(shop.button(name)->isEnabled()) << name;
  EXPECT_TRUE(shop.button("Command4")->isEnabled());
  for (const char* name : {"Combo1", "Combo2", "Text1", "Text2", "Text3"}) {
    EXPECT_FALSE(shop.find<QWidget>(QString::fromUtf8(name))->isEnabled()) << name;
  }
  EXPECT_FALSE(shop.find<QTimer>(QStringLiteral("Timer2"))->isActive());
  EXPECT_TRUE(shop.find<QTimer>(QStringLiteral("Timer1"))->isActive());

  // The first record of a name registered twice gives its price.
  shop.combo("Combo1")->setEnabled(true);
  shop.combo("Combo1")->setEditText(QStringLiteral("可乐"));
  shop.window->find_price();
  EXPECT_EQ(shop.text("Text2")->text(), QStringLiteral("2.50"));
  shop.text("Text2")->setText(QStringLiteral("0"));
  shop.combo("Combo1")->setEditText(QStringLiteral("可乐 "));
  shop.window->find_price();
  EXPECT_EQ(shop.text("Text2")->text(), QStringLiteral("0"));
  EXPECT_TRUE(shop.dialogs.shown().empty());
}

TEST(CashierControls, EmptyCataloguesLeaveTheFilterTextsUnset) {
  CashierWindow shop;
  shop.open();
  EXPECT_EQ(shop.combo("Co_查商品")->count(), 1);
  EXPECT_EQ(shop.combo("Co_查商品")->currentText(), QString());
  EXPECT_EQ(shop.combo("Co_查操作员")->count(), 1);
  EXPECT_EQ(shop.combo("Co_查操作员")->currentText(), QString());
  EXPECT_EQ(shop.combo("Combo1")->count(), 0);
}

TEST(CashierControls, MissingListsAreCreatedAndUnreadableOnesReported) {
  CashierWindow shop;
  QFile::remove(shop.shop.state.paths.use_file);
  QFile::remove(shop.shop.state.paths.kefu_file);
  shop.open();
  EXPECT_TRUE(QFileInfo::exists(shop.shop.state.paths.use_file));
  EXPECT_TRUE(QFileInfo::exists(shop.shop.state.paths.kefu_file));
  EXPECT_TRUE(shop.dialogs.shown().empty());

  write_bytes(shop.shop.state.paths.use_file, "not a data file");
  write_bytes(shop.shop.state.paths.kefu_file, "not a data file");
  shop.window->read_usefile();
  shop.window->read_KeFu_file();
  ASSERT_EQ(shop.dialogs.messages(),
            (QStringList{QStringLiteral("数据出错！[read_usefile]"), QStringLiteral("数据出错！[read_KeFu_file]")}));
  EXPECT_EQ(shop.dialogs.last_message().icon, platform::Icon::None);
}

TEST(CashierControls, RegisteredCustomerIsShownAfterReload) {
  CashierWindow shop;
  shop.shop.add_customer(QStringLiteral("王先生"));
  shop.open();
  shop.shop.add_customer(QStringLiteral("李小姐"));
  shop.shop.state.customer_registered = true;
  shop.window->read_KeFu_file();
  EXPECT_EQ(shop.combo("Combo2")->currentText(), QStringLiteral("李小姐"));
  EXPECT_FALSE(shop.shop.state.customer_registered);
}

TEST(CashierControls, BothMaskLayouts) {
  for (const bool masked : {false, true}) {
    CashierWindow shop;
    shop.shop.state.mask_setting = masked ? startup::kMaskOn : startup::kMaskOff;
    shop.open();
    const int window_twips = masked ? 5340 : 8400;
    EXPECT_EQ(shop.window->height(), window_twips / 15 - 30) << masked;
    EXPECT_EQ(shop.find<QGroupBox>(QStringLiteral("Frame1"))->height(), (masked ? 3495 : 2655) / 15);
    EXPECT_EQ(shop.list("List1")->height(), (masked ? 2760 : 2040) / 15);
    for (const char* name : {"Frame2", "Frame4", "List2"}) {
      EXPECT_EQ(shop.find<QWidget>(QString::fromUtf8(name))->isVisible(), !masked) << name;
    }
    EXPECT_EQ(shop.action("屏蔽")->text(), masked ? QStringLiteral("屏显") : QStringLiteral("屏蔽"));
    // Everything still shown fits in the window.
    const QWidget* central = shop.window->centralWidget();
    for (const QWidget* child : central->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
      if (child->isVisible()) {
        EXPECT_LE(child->geometry().bottom(), central->height()) << child->objectName().toStdString();
      }
    }
    for (const QListWidget* list : central->findChildren<QListWidget*>()) {
      EXPECT_LE(list->geometry().bottom(), list->parentWidget()->height()) << list->objectName().toStdString();
    }
  }
  // A mask setting that is not exactly "屏蔽 = no" masks.
  CashierWindow odd;
  odd.shop.state.mask_setting = QStringLiteral("屏蔽 = No");
  odd.open();
  EXPECT_FALSE(odd.list("List2")->isVisible());
}

TEST(CashierControls, ListsUseTheFixedPitchCjkFace) {
  CashierWindow shop;
  shop.open();
  for (const char* name : {"List1", "List2"}) {
    const QFontMetrics metrics(shop.list(name)->font());
    const int a = metrics.horizontalAdvance(QLatin1Char('a'));
    ASSERT_GT(a, 0);
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("可")), 2 * a) << name;
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("─")), 2 * a) << name;
    EXPECT_EQ(QFontInfo(shop.list(name)->font()).family(), QString::fromLatin1(platform::kFixedFamily));
  }
}

TEST(CashierControls, HeadersSpanTheirColumns) {
  CashierWindow shop;
  shop.open();
  const QListWidget* list = shop.list("List2");
  const int column = QFontMetrics(list->font()).horizontalAdvance(QLatin1Char('a'));
  // Each header starts where its column's field region starts and they touch.
  const int starts[] = {0, 9, 28, 40, 52, 66};
  const int origin = shop.find<QPushButton>(QStringLiteral("Com_cap(6)"))->x();
  for (int i = 0; i < 6; ++i) {
    const QPushButton* head = shop.find<QPushButton>(QStringLiteral("Com_cap(%1)").arg(6 + i));
    EXPECT_EQ(head->x() - origin, starts[i] * column) << i;
    EXPECT_EQ(shop.find<QPushButton>(QStringLiteral("Com_cap(%1)").arg(i))->x(), head->x()) << i;
  }
  // The first column starts at the list's text, inside its frame.
  EXPECT_GT(origin, list->x());
  EXPECT_LT(origin, list->x() + 3 * column);
}

TEST(CashierControls, Timer1ShowsClockAndOperator) {
  CashierWindow shop;
  shop.open();
  shop.shop.state.current_operator = QStringLiteral("001");
  shop.window->Timer1_Timer();
  EXPECT_EQ(shop.window->windowTitle(), QStringLiteral("[Tavuro收银机V2.1] [2003年5月7日 3:05:09] [操作员编号:001]"));
}

TEST(CashierControls, ClosingEndsWithoutQuestions) {
  CashierWindow shop;
  shop.open();
  shop.button("Com_close")->click();
  EXPECT_FALSE(shop.window->isVisible());
  shop.window->show();
  shop.action("退出")->trigger();
  EXPECT_FALSE(shop.window->isVisible());
  EXPECT_TRUE(shop.dialogs.shown().empty());
}

TEST(CashierControls, ClosingEndsTheProgramWhileAnotherWindowIsOpen) {
  CashierWindow shop;
  shop.open();
  QWidget document;  // a window that is not modal, such as the document window
  document.show();
  QTimer::singleShot(0, shop.button("Com_close"), &QPushButton::click);
  // Should the program keep running, this ends the loop with a failure instead.
  QTimer::singleShot(testing::kPatience, [] { QCoreApplication::exit(1); });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_FALSE(shop.window->isVisible());
}

TEST(CashierControls, DamagedGoodsCatalogueIsRestoredFromItsBackup) {
  CashierWindow shop;
  shop.shop.add_goods(QStringLiteral("可乐"), QStringLiteral("2.50"));
  const QString& goods = shop.shop.state.paths.shop_file;
  ASSERT_TRUE(QFile::copy(goods, shop.shop.state.paths.shop_backup));
  write_bytes(goods, "damaged");
  shop.open();
  EXPECT_EQ(shop.combo("Combo1")->itemText(0), QStringLiteral("可乐"));
  EXPECT_EQ(read_bytes(goods + QStringLiteral(".bad")), "damaged");
  ASSERT_EQ(shop.dialogs.shown().size(), 1u);
  EXPECT_TRUE(shop.dialogs.last_message().text.startsWith(QStringLiteral("数据文件已从备份恢复：") + goods));
  shop.dialogs.clear();

  // Without the backup the price lookup gives up after the two messages.
  QFile::remove(shop.shop.state.paths.shop_backup);
  write_bytes(goods, "damaged again");
  shop.combo("Combo1")->setEditText(QStringLiteral("可乐"));
  shop.window->find_price();
  EXPECT_EQ(shop.dialogs.messages(), (QStringList{QStringLiteral("备份数据文件出错。"),
                                                  QStringLiteral("数据不能修复，请试用 Microsoft Access 来修复 [ ") +
                                                      goods + QStringLiteral("]")}));
  EXPECT_EQ(shop.text("Text2")->text(), QString());
}

}  // namespace
}  // namespace tavuro::testing
