// The controls of today's records: the list with its headers and labels, the query frame,
// the timer of the receipt query and the list's popup.

#include "cashier/frm_shop_geometry.h"
#include "cashier/shop_controls.h"
#include "cashier/today_panel.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTimer>

namespace tavuro::cashier {

void TodayPanel::build_controls(QWidget* area) {
  Frame2_ = make_frame(area, QStringLiteral("Frame2"), QStringLiteral("记录今天出售的商品"),
                       QRect(kListFrameX, kFrame2Y, kListFrameWidth, kFrame2Height));
  List2_ = make_list(Frame2_, QStringLiteral("List2"), QRect(kListX, kListY, kListWidth, kList2Height));
  Label7_ = make_label(Frame2_, QStringLiteral("Label7"), QStringLiteral("操作编号 ="),
                       QRect(kListX, kTotalsY, 230, kLabelHeight));
  Label6_ = make_label(Frame2_, QStringLiteral("Label6"), QStringLiteral("记录数："),
                       QRect(kListX + 240, kTotalsY, 150, kLabelHeight));
  Label5_ = make_label(Frame2_, QStringLiteral("Label5"), QStringLiteral("合计金额："),
                       QRect(kListX + 400, kTotalsY, kListWidth - 400, kLabelHeight));
  make_headers(Frame2_, List2_, 6);

  Frame4_ = make_frame(area, QStringLiteral("Frame4"), QStringLiteral("今日查询"),
                       QRect(kSideX, kFrame2Y + kFrame2Height - 170, kSideWidth, 170));
  const int box_width = kSideWidth - 16;
  Label10_ = make_label(Frame4_, QStringLiteral("Label10"), QStringLiteral("按 单 号"),
                        QRect(8, 22, box_width, kLabelHeight));
  Text4_ = make_text_box(Frame4_, QStringLiteral("Text4"), QStringLiteral("按单号查询（输入6个数的单号后按回车键）"),
                         QRect(8, 40, box_width, kBoxHeight), platform::Characters::Digits);
  Text4_->setMaxLength(6);
  Label9_ = make_label(Frame4_, QStringLiteral("Label9"), QStringLiteral("按 商 品"),
                       QRect(8, 70, box_width, kLabelHeight));
  Co_查商品_ = make_combo_box(Frame4_, QStringLiteral("Co_查商品"), QStringLiteral("按商品名称查询"),
                              QRect(8, 88, box_width, kBoxHeight));
  Label8_ = make_label(Frame4_, QStringLiteral("Label8"), QStringLiteral("按操作员"),
                       QRect(8, 118, box_width, kLabelHeight));
  Co_查操作员_ = make_combo_box(Frame4_, QStringLiteral("Co_查操作员"), QStringLiteral("按操作员查询"),
                                QRect(8, 136, box_width, kBoxHeight));

  Timer2_ = new QTimer(this);
  Timer2_->setObjectName(QStringLiteral("Timer2"));
  Timer2_->setInterval(500);
  build_popup(area);
}

void TodayPanel::build_popup(QWidget* area) {
  list2_右击_ = new QMenu(area->window());
  list2_右击_->setObjectName(QStringLiteral("list2_右击"));
  const auto item = [this](const QString& name, const QString& caption) {
    QAction* action = list2_右击_->addAction(caption);
    action->setObjectName(name);
    return action;
  };
  刷新数据_ = item(QStringLiteral("刷新数据"), QStringLiteral("刷新全部数据"));
  list2_右击_->addSeparator();
  编辑记录_ = item(QStringLiteral("编辑记录"), QStringLiteral("编辑记录"));
  list2_右击_->addSeparator();
  删除记录_ = item(QStringLiteral("删除记录"), QStringLiteral("删除记录"));
  list2_右击_->addSeparator();
  导出_ = item(QStringLiteral("导出"), QStringLiteral("导出…"));
}

}  // namespace tavuro::cashier
