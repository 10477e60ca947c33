#include "cashier/sale_entry.h"

#include "sales/money.h"
#include "sales/sale_line.h"
#include "textlayout/text_layout.h"

namespace tavuro::cashier {

using platform::Icon;
using textlayout::text_width;

namespace {

KeyRule number_key(const platform::KeyInput& key, platform::Characters characters) {
  switch (key.kind) {
    case platform::KeyKind::Enter: return KeyRule::Enter;
    case platform::KeyKind::Typed:
    case platform::KeyKind::Paste: return platform::takes(characters, key.text) ? KeyRule::Pass : KeyRule::Refuse;
    case platform::KeyKind::Backspace:
    case platform::KeyKind::Editing: return KeyRule::Pass;
  }
  return KeyRule::Pass;
}

}  // namespace

KeyRule money_key(const platform::KeyInput& key) {
  return number_key(key, platform::Characters::DigitsAndPoint);
}

KeyRule digit_key(const platform::KeyInput& key) {
  return number_key(key, platform::Characters::Digits);
}

std::optional<QString> amount_text(const QString& quantity, const QString& price) {
  const std::optional<sales::Money> q = sales::Money::parse(quantity);
  const std::optional<sales::Money> p = sales::Money::parse(price);
  if (!q || !p) return std::nullopt;
  const std::optional<sales::Money> amount = sales::line_amount(*q, *p);
  if (!amount) return std::nullopt;
  return amount->text();
}

std::optional<EntryFault> goods_fault(QString goods, const QString& goods_caption) {
  const int width = text_width(goods);
  if (width == 0) return EntryFault{QStringLiteral("你忘记了选取商品。"), Icon::Information, FaultAction::FocusGoods};
  if (width > sales::kGoodsWidth) {
    return EntryFault{QStringLiteral("“") + goods_caption +
                          QStringLiteral("”只可以最多使用8个中文字或16个英文字符，否则数据出错！"),
                      Icon::Exclamation, FaultAction::FocusGoods};
  }
  return std::nullopt;
}

std::optional<EntryFault> number_fault(QString quantity, QString price, QString amount) {
  if (text_width(quantity) > sales::kQuantityWidth) {
    return EntryFault{QStringLiteral("[数量]数据出错，请重新启动软件。"), Icon::Exclamation, FaultAction::None};
  }
  const int price_width = text_width(price);
  if (price_width == 0) {
    return EntryFault{QStringLiteral("“单价”你还未输入数据！"), Icon::Information, FaultAction::FocusPrice};
  }
  if (price_width > sales::kPriceWidth) {
    return EntryFault{QStringLiteral("[单价]数据出错，请重新启动软件。"), Icon::Exclamation, FaultAction::None};
  }
  const int amount_width = text_width(amount);
  if (amount_width == 0) {
    return EntryFault{QStringLiteral("“金额”还未自动算出！"), Icon::Information, FaultAction::FocusPrice};
  }
  if (amount_width > sales::kAmountWidth) {
    return EntryFault{QStringLiteral("[金额]数据出错，请重新启动软件。"), Icon::Exclamation, FaultAction::None};
  }
  return std::nullopt;
}

std::optional<EntryFault> operator_fault(QString op) {
  const int width = text_width(op);
  if (width == 0) {
    return EntryFault{QStringLiteral("你忘记了选操作员或编号；如果你还未加入，请先加入后使用。"), Icon::Information,
                      FaultAction::OperatorWindow};
  }
  if (width > sales::kOperatorWidth) {
    return EntryFault{QStringLiteral("[操作]员数据出错，请重新启动软件。"), Icon::Exclamation,
                      FaultAction::CloseWindow};
  }
  return std::nullopt;
}

std::optional<EntryFault> sequence_fault(int count) {
  if (count > 9999) {
    return EntryFault{QStringLiteral("[序列号]数据出错，请重新启动软件。"), Icon::Exclamation,
                      FaultAction::CloseWindow};
  }
  return std::nullopt;
}

QString unregistered_goods_question(const QString& name) {
  return QStringLiteral("你输入的商品 [") + name + QStringLiteral("] 还未注册，是否要现在注册吗？");
}

QString unregistered_customer_question(const QString& name) {
  return QStringLiteral("你输入的客户名 [") + name + QStringLiteral("] 还未注册，是否要注册为固定客户吗？");
}

}  // namespace tavuro::cashier
