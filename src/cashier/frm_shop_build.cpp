// The controls, menus and geometry of the cashier window.

#include "cashier/frm_shop.h"
#include "cashier/frm_shop_geometry.h"
#include "platform/fonts.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>

namespace tavuro::cashier {

namespace {

QLabel* label(QWidget* parent, const QString& name, const QString& caption, const QRect& at) {
  auto* widget = new QLabel(caption, parent);
  widget->setObjectName(name);
  widget->setGeometry(at);
  return widget;
}

QGroupBox* frame(QWidget* parent, const QString& name, const QString& caption, const QRect& at) {
  auto* widget = new QGroupBox(caption, parent);
  widget->setObjectName(name);
  widget->setGeometry(at);
  return widget;
}

QLineEdit* text_box(QWidget* parent, const QString& name, const QString& toolTip, const QRect& at) {
  auto* widget = new QLineEdit(parent);
  widget->setObjectName(name);
  widget->setToolTip(toolTip);
  widget->setGeometry(at);
  // Number boxes take typed digits only; an input method would bypass the key rules.
  widget->setAttribute(Qt::WA_InputMethodEnabled, false);
  widget->setContextMenuPolicy(Qt::NoContextMenu);
  return widget;
}

QComboBox* combo_box(QWidget* parent, const QString& name, const QString& toolTip, const QRect& at) {
  auto* widget = new QComboBox(parent);
  widget->setObjectName(name);
  widget->setToolTip(toolTip);
  widget->setEditable(true);
  widget->setInsertPolicy(QComboBox::NoInsert);
  // What is typed stays as typed: no completion, and leaving the box with the text of
  // an item is no choice of that item.
  widget->setCompleter(nullptr);
  QObject::disconnect(widget->lineEdit(), &QLineEdit::editingFinished, widget, nullptr);
  widget->setGeometry(at);
  return widget;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption, const QString& toolTip,
                    const QRect& at) {
  auto* widget = new QPushButton(caption, parent);
  widget->setObjectName(name);
  widget->setToolTip(toolTip);
  widget->setGeometry(at);
  // Enter on a focused button presses it, as everywhere in this program.
  widget->setAutoDefault(true);
  return widget;
}

QListWidget* list(QWidget* parent, const QString& name, const QRect& at) {
  auto* widget = new QListWidget(parent);
  widget->setObjectName(name);
  widget->setGeometry(at);
  widget->setFont(platform::fixed_font(kListFontPixels));
  widget->setUniformItemSizes(true);
  widget->setContextMenuPolicy(Qt::PreventContextMenu);
  widget->viewport()->setMouseTracking(true);
  return widget;
}

QAction* item(QMenu* menu, const QString& name, const QString& caption) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  return action;
}

// A command whose window is built elsewhere: shown, but not available until wired.
QAction* pending_item(QMenu* menu, const QString& name, const QString& caption) {
  QAction* action = item(menu, name, caption);
  action->setEnabled(false);
  return action;
}

}  // namespace

void Frm_shop::build_controls() {
  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("centralWidget"));
  setCentralWidget(central);

  // The entry row: a caption above each box.
  const struct {
    int index;
    const char* caption;
    int x;
    int width;
  } entries[] = {{0, "选商品", kGoodsX, kGoodsWidth},
                 {1, "数量", kQuantityX, kNumberWidth},
                 {2, "单价", kPriceX, kNumberWidth},
                 {3, "金额", kAmountX, kAmountWidth},
                 {5, "客  户", kCustomerX, kCustomerWidth}};
  for (const auto& entry : entries) {
    Label1_[static_cast<size_t>(entry.index)] =
        label(central, QStringLiteral("Label1(%1)").arg(entry.index), QString::fromUtf8(entry.caption),
              QRect(entry.x, kEntryLabelY, entry.width, kLabelHeight));
  }
  Combo1_ = combo_box(central, QStringLiteral("Combo1"),
                      QStringLiteral("选择或输入商品名称（如果是新的商品，这里会提示你注册）"),
                      QRect(kGoodsX, kEntryBoxY, kGoodsWidth, kBoxHeight));
  Text1_ = text_box(central, QStringLiteral("Text1"), QStringLiteral("商品的数量（这里须要填写，默认是1）"),
                    QRect(kQuantityX, kEntryBoxY, kNumberWidth, kBoxHeight));
  Text1_->setText(QStringLiteral("1.00"));
  Text2_ = text_box(central, QStringLiteral("Text2"), QStringLiteral("如果是已注册的商品，它的单价这里会自动显示。"),
                    QRect(kPriceX, kEntryBoxY, kNumberWidth, kBoxHeight));
  Text3_ = text_box(central, QStringLiteral("Text3"), QStringLiteral("所选商品的结算金额"),
                    QRect(kAmountX, kEntryBoxY, kAmountWidth, kBoxHeight));
  Combo2_ = combo_box(central, QStringLiteral("Combo2"), QStringLiteral("填写固定客户（如果是散客可以不用填写）"),
                      QRect(kCustomerX, kEntryBoxY, kCustomerWidth, kBoxHeight));
  for (QLineEdit* box : {Text1_, Text2_, Text3_}) {
    box->setAlignment(Qt::AlignRight);
  }

  // The temporary record of the current receipt.
  Frame1_ = frame(central, QStringLiteral("Frame1"), QStringLiteral("临时记录出售的商品"),
                  QRect(kListFrameX, kFrame1Y, kListFrameWidth, twips_to_pixels(2655)));
  List1_ = list(Frame1_, QStringLiteral("List1"),
                QRect(kListX, kListY, kListWidth, twips_to_pixels(2040)));

  // Today's records.
  Frame2_ = frame(central, QStringLiteral("Frame2"), QStringLiteral("记录今天出售的商品"),
                  QRect(kListFrameX, kFrame2Y, kListFrameWidth, kFrame2Height));
  List2_ = list(Frame2_, QStringLiteral("List2"), QRect(kListX, kListY, kListWidth, kList2Height));
  Label7_ = label(Frame2_, QStringLiteral("Label7"), QStringLiteral("操作编号 ="),
                  QRect(kListX, kTotalsY, 230, kLabelHeight));
  Label6_ = label(Frame2_, QStringLiteral("Label6"), QStringLiteral("记录数："),
                  QRect(kListX + 240, kTotalsY, 150, kLabelHeight));
  Label5_ = label(Frame2_, QStringLiteral("Label5"), QStringLiteral("合计金额："),
                  QRect(kListX + 400, kTotalsY, kListWidth - 400, kLabelHeight));

  const QStringList heads{QStringLiteral("序列号"), QStringLiteral("商 品 名 称"), QStringLiteral("数 量"),
                          QStringLiteral("单 价"),  QStringLiteral("金 额"),       QStringLiteral("操作/编号")};
  for (int i = 0; i < 12; ++i) {
    auto* head = new QPushButton(heads[i % 6], i < 6 ? Frame1_ : Frame2_);
    head->setObjectName(QStringLiteral("Com_cap(%1)").arg(i));
    Com_cap_[static_cast<size_t>(i)] = head;
  }
  place_headers(Frame1_, List1_, 0);
  place_headers(Frame2_, List2_, 6);

  // The right-hand column: receipt number, receipt total, commands, filters.
  Frame5_ = frame(central, QStringLiteral("Frame5"), QString(), QRect(kSideX, 4, kSideWidth, 40));
  Frame5_->setToolTip(QStringLiteral("流水帐单号(系统自动类加)"));
  Label3_ = label(Frame5_, QStringLiteral("Label3"), QStringLiteral("单号:000000"), QRect(6, 6, kSideWidth - 12, 30));
  Label3_->setToolTip(QStringLiteral("流水帐单号(系统自动类加)"));
  Frame3_ = frame(central, QStringLiteral("Frame3"), QStringLiteral("客户结算金额"), QRect(kSideX, 48, kSideWidth, 50));
  Label4_ = label(Frame3_, QStringLiteral("Label4"), QStringLiteral("0.00元"), QRect(6, 20, kSideWidth - 12, 26));
  for (QLabel* big : {Label3_, Label4_}) {
    QFont font = big->font();
    font.setPixelSize(17);
    font.setBold(true);
    big->setFont(font);
    big->setAlignment(Qt::AlignCenter);
  }
  Label4_->setStyleSheet(QStringLiteral("color: #b00000;"));

  Command4_ = button(central, QStringLiteral("Command4"), QStringLiteral("创建单号[&C]"),
                     QStringLiteral("创建新的单号（新的单号在左边单号处显示）"), QRect(kSideX, 104, kSideWidth, 28));
  Command1_ = button(central, QStringLiteral("Command1"), QStringLiteral("临时记录[&S]"),
                     QStringLiteral("记录所选取的商品，数量，单价，金额"), QRect(kSideX, 136, kSideWidth, 28));
  Command2_ = button(central, QStringLiteral("Command2"), QStringLiteral("清临时记录[&D]"), QString(),
                     QRect(kSideX, 168, kSideWidth, 28));
  Command3_ = button(central, QStringLiteral("Command3"), QStringLiteral("打印临时记录[&P]"), QString(),
                     QRect(kSideX, 200, kSideWidth, 28));
  Com_打印_ = button(central, QStringLiteral("Com_打印"), QStringLiteral("打印预览"),
                     QStringLiteral("打印今日出售的商品统计报表"), QRect(kSideX, 236, kSideWidth, 28));
  Com_打印_->setEnabled(false);
  Com_close_ = button(central, QStringLiteral("Com_close"), QStringLiteral(" 退 出[&X]"), QStringLiteral("关闭程序"),
                      QRect(kSideX, 268, kSideWidth, 28));

  Frame4_ = frame(central, QStringLiteral("Frame4"), QStringLiteral("今日查询"),
                  QRect(kSideX, kFrame2Y + kFrame2Height - 170, kSideWidth, 170));
  const int boxWidth = kSideWidth - 16;
  Label10_ = label(Frame4_, QStringLiteral("Label10"), QStringLiteral("按 单 号"), QRect(8, 22, boxWidth, kLabelHeight));
  Text4_ = text_box(Frame4_, QStringLiteral("Text4"), QStringLiteral("按单号查询（输入6个数的单号后按回车键）"),
                    QRect(8, 40, boxWidth, kBoxHeight));
  Text4_->setMaxLength(6);
  Label9_ = label(Frame4_, QStringLiteral("Label9"), QStringLiteral("按 商 品"), QRect(8, 70, boxWidth, kLabelHeight));
  Co_查商品_ = combo_box(Frame4_, QStringLiteral("Co_查商品"), QStringLiteral("按商品名称查询"),
                         QRect(8, 88, boxWidth, kBoxHeight));
  Label8_ = label(Frame4_, QStringLiteral("Label8"), QStringLiteral("按操作员"), QRect(8, 118, boxWidth, kLabelHeight));
  Co_查操作员_ = combo_box(Frame4_, QStringLiteral("Co_查操作员"), QStringLiteral("按操作员查询"),
                           QRect(8, 136, boxWidth, kBoxHeight));

  // The keyboard walks the entry first.
  setTabOrder(Combo1_, Text1_);
  setTabOrder(Text1_, Text2_);
  setTabOrder(Text2_, Text3_);
  setTabOrder(Text3_, Combo2_);
  setTabOrder(Combo2_, Command1_);
  setTabOrder(Command1_, Command2_);
  setTabOrder(Command2_, Command3_);
  setTabOrder(Command3_, Command4_);
}

void Frm_shop::place_headers(QGroupBox* frame, QListWidget* list, int first) {
  // Each header spans the columns of its field in the list's fixed-pitch lines.
  const int column = list->fontMetrics().horizontalAdvance(QLatin1Char('a'));
  const int textMargin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
  const int origin = list->x() + list->frameWidth() + textMargin;
  for (int i = 0; i < 6; ++i) {
    const auto [from, to] = kHeaderColumns[static_cast<size_t>(i)];
    QPushButton* head = Com_cap_[static_cast<size_t>(first + i)];
    head->setParent(frame);
    head->setGeometry(origin + from * column, kHeaderY, (to - from) * column, kHeaderHeight);
    head->setFocusPolicy(Qt::NoFocus);
  }
}

void Frm_shop::build_menus() {
  文件_ = menuBar()->addMenu(QStringLiteral("文件[&F]"));
  文件_->setObjectName(QStringLiteral("文件"));
  查询_ = pending_item(文件_, QStringLiteral("查询"), QStringLiteral("查询[Q]"));
  文件_->addSeparator();
  打印设置_ = pending_item(文件_, QStringLiteral("打印设置"), QStringLiteral("打印设置"));
  发送文件_ = pending_item(文件_, QStringLiteral("发送文件"), QStringLiteral("发送文件到软盘[A:][&S]"));
  打印_ = pending_item(文件_, QStringLiteral("打印"), QStringLiteral("打印文件[&P]"));
  自由式打印_ = pending_item(文件_, QStringLiteral("自由式打印"), QStringLiteral("自由式打印"));
  打印窗口_ = pending_item(文件_, QStringLiteral("打印窗口"), QStringLiteral("打印"));
  文件_->addSeparator();
  退出_ = item(文件_, QStringLiteral("退出"), QStringLiteral("退出[&X]"));

  编辑_ = menuBar()->addMenu(QStringLiteral("编辑[&E]"));
  编辑_->setObjectName(QStringLiteral("编辑"));
  注册商品_ = pending_item(编辑_, QStringLiteral("注册商品"), QStringLiteral("注册商品[&A]"));
  注册固定客户_ = pending_item(编辑_, QStringLiteral("注册固定客户"), QStringLiteral("注册固定客户[&K]"));
  输入操作员_ = pending_item(编辑_, QStringLiteral("输入操作员"), QStringLiteral("输入操作员或编号"));
  编辑_->addSeparator();
  设置管理员密码_ = pending_item(编辑_, QStringLiteral("设置管理员密码"), QStringLiteral("设置管理员密码"));
  屏蔽_ = pending_item(编辑_, QStringLiteral("屏蔽"), QStringLiteral("屏蔽"));

  帮助_ = menuBar()->addMenu(QStringLiteral("帮助[&H]"));
  帮助_->setObjectName(QStringLiteral("帮助"));
  内容_ = pending_item(帮助_, QStringLiteral("内容"), QStringLiteral("内容"));
  关于_ = pending_item(帮助_, QStringLiteral("关于"), QStringLiteral("关于"));

  build_popups();
}

void Frm_shop::build_popups() {
  list1_右击_ = new QMenu(this);
  list1_右击_->setObjectName(QStringLiteral("list1_右击"));
  删除_ = pending_item(list1_右击_, QStringLiteral("删除"), QStringLiteral("删除  [&D]"));

  list2_右击_ = new QMenu(this);
  list2_右击_->setObjectName(QStringLiteral("list2_右击"));
  刷新数据_ = item(list2_右击_, QStringLiteral("刷新数据"), QStringLiteral("刷新全部数据"));
  list2_右击_->addSeparator();
  编辑记录_ = pending_item(list2_右击_, QStringLiteral("编辑记录"), QStringLiteral("编辑记录"));
  list2_右击_->addSeparator();
  删除记录_ = pending_item(list2_右击_, QStringLiteral("删除记录"), QStringLiteral("删除记录"));
}

}  // namespace tavuro::cashier
