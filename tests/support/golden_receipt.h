#pragma once
// The receipt every golden test prints, its lines on both papers written out by hand, and
// the whole job as the printer must get it, built from those lines and the command bytes.

#include "printing/receipt_layout.h"

#include <QByteArray>
#include <QStringEncoder>
#include <QStringList>

namespace tavuro::testing::golden {

inline QString sp(int count) { return QString(count, QLatin1Char(' ')); }

inline printing::ReceiptContent two_line_receipt() {
  const sales::SaleColumns cola{QStringLiteral("可乐"), QStringLiteral("2.00"), QStringLiteral("2.50"),
                                QStringLiteral("5.00"), QStringLiteral("001"),  QStringLiteral("15:05:09")};
  const sales::SaleColumns bread{QStringLiteral("面包片"), QStringLiteral("5.00"), QStringLiteral("2.50"),
                                 QStringLiteral("12.50"),  QStringLiteral("王五"), QStringLiteral("15:06:10")};
  return {QStringLiteral("单号:000123"), {{1, cola}, {2, bread}}, QStringLiteral("17.50"), QStringLiteral("小王商店"),
          QDate(2003, 5, 7)};
}

// 58 mm: 32 columns, a Chinese character (and ━ ─ × ￥ 【 】 ：) two of them.
inline QStringList narrow_lines() {
  return {
      sp(3) + QStringLiteral("欢迎使用[Tavuro收银机]结算"),
      sp(7) + QStringLiteral("** 收 银 收 据 **"),
      QStringLiteral("单号:000123"),
      QString(16, QChar(0x2501)),
      QStringLiteral("序号 商品名称"),
      sp(5) + QStringLiteral("数量 × 单价") + sp(11) + QStringLiteral("金额"),
      QString(16, QChar(0x2500)),
      QStringLiteral("0001 可乐"),
      sp(5) + QStringLiteral("2.00 × 2.50") + sp(11) + QStringLiteral("5.00"),
      QStringLiteral("0002 面包片"),
      sp(5) + QStringLiteral("5.00 × 2.50") + sp(10) + QStringLiteral("12.50"),
      QString(16, QChar(0x2500)),
      QStringLiteral("合 计：") + sp(18) + QStringLiteral("￥17.50"),
      QString(16, QChar(0x2501)),
      QStringLiteral("【日期:2003年5月7日】"),
      QStringLiteral("收款单位：小王商店"),
  };
}

// 80 mm: 48 columns, with each line's operator and time.
inline QStringList wide_lines() {
  return {
      sp(11) + QStringLiteral("欢迎使用[Tavuro收银机]结算"),
      sp(15) + QStringLiteral("** 收 银 收 据 **"),
      QStringLiteral("单号:000123"),
      QString(24, QChar(0x2501)),
      QStringLiteral("序号 商品名称") + sp(20) + QStringLiteral("操作员 时间"),
      sp(5) + QStringLiteral("数量 × 单价") + sp(27) + QStringLiteral("金额"),
      QString(24, QChar(0x2500)),
      QStringLiteral("0001 可乐") + sp(24) + QStringLiteral("001") + sp(4) + QStringLiteral("15:05:09"),
      sp(5) + QStringLiteral("2.00 × 2.50") + sp(27) + QStringLiteral("5.00"),
      QStringLiteral("0002 面包片") + sp(22) + QStringLiteral("王五") + sp(3) + QStringLiteral("15:06:10"),
      sp(5) + QStringLiteral("5.00 × 2.50") + sp(26) + QStringLiteral("12.50"),
      QString(24, QChar(0x2500)),
      QStringLiteral("合 计：") + sp(34) + QStringLiteral("￥17.50"),
      QString(24, QChar(0x2501)),
      QStringLiteral("【日期:2003年5月7日】  收款单位：小王商店"),
  };
}

// ESC @, FS &, each line in GB18030 ended by LF, ESC d 3, then GS V 66 0 (cut) and
// ESC p 0 25 250 (drawer) when asked for.
inline QByteArray job_of(const QStringList& lines, bool cut, bool drawer) {
  QByteArray job = QByteArrayLiteral("\x1b\x40\x1c\x26");
  QStringEncoder gb("GB18030");
  for (const QString& line : lines) job += QByteArray(gb.encode(line)) + '\n';
  job += QByteArrayLiteral("\x1b\x64\x03");
  if (cut) job += QByteArrayLiteral("\x1d\x56\x42\x00");
  if (drawer) job += QByteArrayLiteral("\x1b\x70\x00\x19\xfa");
  return job;
}

}  // namespace tavuro::testing::golden
