#include "printing/receipt_layout.h"

#include "platform/app_info.h"
#include "sales/sale_line.h"
#include "textlayout/text_layout.h"

#include <algorithm>

namespace tavuro::printing {

namespace {

using textlayout::column_width;
using textlayout::trim_spaces;

const QChar kHeavyRule(0x2501);  // ━
const QChar kLightRule(0x2500);  // ─

// The room of the receipt's number in front of each line: four digits, as the
// temporary record shows them.
constexpr int kNumberWidth = 4;
// A goods name gets at least this much room beside the operator and time, or they move
// to a line of their own.
constexpr int kLeastGoodsRoom = 8;
// Paper from which each line carries its operator and time.
constexpr int kColumnsWithOperator = 48;
// The recorded time of a line: HH:mm:ss.
constexpr int kTimeWidth = 8;

QString spaces(qsizetype count) { return QString(std::max<qsizetype>(count, 0), QLatin1Char(' ')); }

QString left_in(const QString& text, qsizetype width) { return text + spaces(width - column_width(text)); }

QString chop_trailing_spaces(QString text) {
  qsizetype end = text.size();
  while (end > 0 && text[end - 1] == QLatin1Char(' ')) --end;
  text.truncate(end);
  return text;
}

// The lines of a page, none of them wider than the paper.
class Page {
 public:
  explicit Page(int columns) : columns_(columns) {}

  int columns() const { return columns_; }

  // The text on a line of its own, wrapped at the paper's edge when it is wider.
  void line(const QString& text) {
    if (column_width(text) <= columns_) {
      lines_ << chop_trailing_spaces(text);
      return;
    }
    for (const QString& piece : wrap_to_width(text, columns_)) lines_ << piece;
  }

  void centred(const QString& text) { line(spaces((columns_ - column_width(text)) / 2) + text); }

  // left at the start and right at the end of one line when both fit with a space
  // between them; otherwise right goes to the end of the next line.
  void spread(const QString& left, const QString& right) {
    const qsizetype room = columns_ - column_width(left) - column_width(right);
    if (room >= 1) {
      line(left + spaces(room) + right);
      return;
    }
    if (!left.isEmpty()) line(left);
    line(spaces(columns_ - column_width(right)) + right);
  }

  void rule(QChar c) { lines_ << QString(columns_ / 2, c); }

  QStringList take() { return std::move(lines_); }

 private:
  int columns_;
  QStringList lines_;
};

// One line of the receipt (or its column heads): the number, the goods wrapped in their
// room with, on wide paper, the operator and time beside them; then quantity × unit price
// and the amount at the paper's edge.
struct ItemTexts {
  QString number;
  QString goods;
  QString side;  // operator and time; empty on narrow paper
  QString quantity_price;
  QString amount;
};

void add_item(Page& page, const ItemTexts& item) {
  const QString indent = spaces(column_width(item.number) + 1);
  qsizetype room = page.columns() - column_width(indent);
  const bool side_beside = !item.side.isEmpty() && room - column_width(item.side) - 1 >= kLeastGoodsRoom;
  if (side_beside) room -= column_width(item.side) + 1;
  const QStringList pieces = wrap_to_width(item.goods, static_cast<int>(room));
  page.line(item.number + QLatin1Char(' ') + (side_beside ? left_in(pieces[0], room) + QLatin1Char(' ') + item.side
                                                          : pieces[0]));
  for (qsizetype i = 1; i < pieces.size(); ++i) page.line(indent + pieces[i]);
  if (!item.side.isEmpty() && !side_beside) page.spread(QString(), item.side);
  page.spread(indent + item.quantity_price, item.amount);
}

QString side_of(const QString& op, const QString& time) {
  return left_in(op, sales::kOperatorWidth) + QLatin1Char(' ') + left_in(time, kTimeWidth);
}

}  // namespace

QString receipt_date(const QDate& date) {
  return QString::number(date.year()) + QStringLiteral("年") + QString::number(date.month()) + QStringLiteral("月") +
         QString::number(date.day()) + QStringLiteral("日");
}

QStringList wrap_to_width(const QString& text, int width) {
  QStringList pieces;
  QString piece;
  qsizetype used = 0;
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
    const QString character = text.mid(i, length);
    const qsizetype w = column_width(character);
    if (used > 0 && used + w > width) {
      pieces << piece;
      piece.clear();
      used = 0;
    }
    piece += character;
    used += w;
    i += length;
  }
  pieces << piece;
  for (QString& p : pieces) p = trim_spaces(p);
  pieces.removeIf([](const QString& p) { return p.isEmpty(); });
  if (pieces.isEmpty()) pieces << QString();
  return pieces;
}

QStringList paper_receipt(const ReceiptContent& receipt, int columns) {
  if (receipt.items.isEmpty()) return {};
  const bool with_operator = columns >= kColumnsWithOperator;
  Page page(columns);
  page.centred(QStringLiteral("欢迎使用[") + platform::app_title() + QStringLiteral("]结算"));
  page.centred(QStringLiteral("** 收 银 收 据 **"));
  page.line(receipt.caption);
  page.rule(kHeavyRule);
  add_item(page, {QStringLiteral("序号"), QStringLiteral("商品名称"),
                  with_operator ? side_of(QStringLiteral("操作员"), QStringLiteral("时间")) : QString(),
                  QStringLiteral("数量 × 单价"), QStringLiteral("金额")});
  page.rule(kLightRule);
  for (const ReceiptItem& item : receipt.items) {
    const sales::SaleColumns& c = item.columns;
    add_item(page, {QString::number(item.number).rightJustified(kNumberWidth, QLatin1Char('0')), trim_spaces(c.goods),
                    with_operator ? side_of(trim_spaces(c.op), trim_spaces(c.time)) : QString(),
                    trim_spaces(c.quantity) + QStringLiteral(" × ") + trim_spaces(c.price), trim_spaces(c.amount)});
  }
  page.rule(kLightRule);
  page.spread(QStringLiteral("合 计："), QStringLiteral("￥") + trim_spaces(receipt.total));
  page.rule(kHeavyRule);
  const QString date = QStringLiteral("【日期:") + receipt_date(receipt.date) + QStringLiteral("】");
  const QString company = QStringLiteral("收款单位：") + receipt.company;
  if (column_width(date) + 2 + column_width(company) <= columns) {
    page.line(date + QStringLiteral("  ") + company);
  } else {
    page.line(date);
    page.line(company);
  }
  return page.take();
}

QStringList test_page(const PrinterSetting& setting, const QDateTime& now) {
  const int columns = receipt_columns(setting);
  Page page(columns);
  page.centred(platform::app_title() + QStringLiteral(" 测试打印"));
  page.rule(kHeavyRule);
  page.line(QStringLiteral("打印机：") + printer_name(setting));
  page.line(setting.is_system() ? QStringLiteral("收据每行 %1 列").arg(columns)
                                : QStringLiteral("纸宽 %1 mm，每行 %2 列").arg(setting.paper).arg(columns));
  QString ruler;
  for (int i = 1; i <= columns; ++i) ruler += QChar(u'0' + i % 10);
  page.line(ruler);
  page.spread(QStringLiteral("中文：收银收据 合 计"), QStringLiteral("￥12.50"));
  page.rule(kLightRule);
  page.line(now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
  return page.take();
}

}  // namespace tavuro::printing
