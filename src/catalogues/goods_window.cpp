#include "catalogues/goods_window.h"

#include "catalogues/goods_catalogue.h"
#include "platform/dialogs.h"
#include "sales/sale_line.h"
#include "textlayout/text_layout.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace tavuro::catalogues {

using textlayout::text_width;
using textlayout::trim_spaces;

frm_注册商品::frm_注册商品(startup::AppState& state, startup::CashierLink& cashier, QWidget* parent)
    : CatalogueDialog(QStringLiteral("frm_注册商品"), QStringLiteral("注册商品"), parent),
      state_(state),
      cashier_(cashier) {
  List1_ = add_list_frame(QStringLiteral("下边是已注册的商品名称"),
                          sales::kGoodsWidth + sales::kGapWidth + sales::kPriceWidth, 4200 / 15);
  Label4_ = make_label(this, QStringLiteral("Label4"), QString());
  left_column()->addWidget(Label4_);
  auto* Label1 = make_label(this, QStringLiteral("Label1"), QStringLiteral("商品名称"));
  Text1_ = make_text_box(this, QStringLiteral("Text1"), QStringLiteral("只可以最多使用8个中文字或16个英文字符，否则数据出错！"),
                         16);
  auto* Label2 = make_label(this, QStringLiteral("Label2"), QStringLiteral("单价"));
  Text2_ = make_text_box(this, QStringLiteral("Text2"), QStringLiteral("只可以最多使用8个数字字符，否则数据出错！"), 16,
                         platform::Characters::DigitsAndPoint);
  Label1->setBuddy(Text1_);
  Label2->setBuddy(Text2_);
  Command1_ = make_button(this, QStringLiteral("Command1"), QStringLiteral("加入商品"),
                          QStringLiteral("加入新的商品名称或修改现有的商品名称"));
  auto* Command2 = make_button(this, QStringLiteral("Command2"), QStringLiteral("删除商品"),
                               QStringLiteral("删除已选的商品名称"));
  auto* Command3 = make_button(this, QStringLiteral("Command3"), QStringLiteral("关闭"), QStringLiteral("关闭窗口"));
  add_side_column({Label1, Text1_, Label2, Text2_}, {Command1_, Command2, Command3});

  on_list_click(List1_, [this] { List1_Click(); });
  on_got_focus(Text1_, [this] { Text1_->selectAll(); });
  on_got_focus(Text2_, [this] { Text2_->selectAll(); });
  on_key_press(Text1_, [this](const QString& key) { return Text1_KeyPress(key); });
  on_key_press(Text2_, [this](const QString& key) { return Text2_KeyPress(key); });
  on_lost_focus(Text2_, [this] { Text2_->setText(textlayout::money_text(Text2_->text())); });
  connect(Command1_, &QPushButton::clicked, this, [this] { add_shop(); });
  connect(Command2, &QPushButton::clicked, this, [this] { del_shop(); });
  connect(Command3, &QPushButton::clicked, this, [this] { reject(); });

  // Form Load.
  read_shop_list();
}

void frm_注册商品::Form_Activate() {
  Text1_->setFocus();
  Text1_->selectAll();
}

void frm_注册商品::Form_Unload() {
  cashier_.read_shop_file();
  cashier_.set_goods_text(state_.pending_goods_name);
  // Handed back: a later opening from the menu has no goods pending.
  state_.pending_goods_name.clear();
}

void frm_注册商品::read_shop_list() {
  const std::optional<GoodsList> list = catalogues::read_shop_list(state_);
  if (!list) return;  // the list keeps what it shows
  fill_list(List1_, list->lines);
  names_ = list->names;
  records_ = list->records;
  Label4_->setText(QStringLiteral("总数：") + QString::number(list->count()));
}

void frm_注册商品::List1_Click() {
  const int row = selected_row(List1_);
  if (row < 0 || row >= names_.size() || row == 0) return;  // nothing selected, or the header
  if (const auto goods = find_goods(state_, records_[static_cast<size_t>(row)], QStringLiteral("List1_Click"))) {
    Text1_->setText(goods->name);
    Text2_->setText(goods->price);
  }
}

KeyVerdict frm_注册商品::Text1_KeyPress(const QString& key) {
  // The width is checked before the key goes in: one character may take the name past
  // the limit, the next is refused. Backspace still shortens it.
  if (key != QLatin1String("\b") && text_width(trim_spaces(Text1_->text())) > sales::kGoodsWidth) {
    platform::inform(kGoodsNameTooWide);
    Text1_->setFocus();
    return KeyVerdict::Discard;
  }
  if (key == QLatin1String("\r")) {
    Text2_->setFocus();
    return KeyVerdict::Discard;
  }
  return KeyVerdict::Accept;
}

KeyVerdict frm_注册商品::Text2_KeyPress(const QString& key) {
  // A typed character or a whole paste: digits and "." only.
  if (key == QLatin1String("\b") || platform::takes(platform::Characters::DigitsAndPoint, key)) {
    return KeyVerdict::Accept;
  }
  if (key == QLatin1String("\r")) {
    if (trim_spaces(Text2_->text()).isEmpty()) {
      platform::inform(QStringLiteral("你还未输入数据！"));
      Text2_->setFocus();
    } else {
      Command1_->setFocus();
    }
    return KeyVerdict::Discard;
  }
  platform::dialogs().message(QStringLiteral("只可以输入数字与小数点。"), platform::Icon::Critical);
  return KeyVerdict::Discard;
}

void frm_注册商品::add_shop() {
  switch (catalogues::add_shop(state_, Text1_->text(), Text2_->text())) {
    case AddShopResult::Ignored:
    case AddShopResult::Failed:
      break;
    case AddShopResult::TooWide:
      Text1_->setFocus();
      break;
    case AddShopResult::PriceKept:
      clear_boxes();
      break;
    case AddShopResult::PriceChanged:
      read_shop_list();
      break;
    case AddShopResult::Registered:
      read_shop_list();
      clear_boxes();
      break;
  }
}

void frm_注册商品::del_shop() {
  const int row = selected_row(List1_);
  if (row <= 0 || row >= names_.size()) return;  // nothing selected, or the header
  if (!catalogues::del_shop(state_, names_[row], records_[static_cast<size_t>(row)])) return;
  read_shop_list();
  clear_boxes();
}

void frm_注册商品::clear_boxes() {
  Text1_->clear();
  Text2_->clear();
  Text1_->setFocus();
}

}  // namespace tavuro::catalogues
