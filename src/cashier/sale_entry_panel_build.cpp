// The controls of sale entry: the entry row, the temporary record, the receipt number and
// total, the four commands, and the temporary record's popup.

#include "cashier/frm_shop_geometry.h"
#include "cashier/sale_entry_panel.h"
#include "cashier/shop_controls.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

namespace tavuro::cashier {

void SaleEntryPanel::build_controls(QWidget* area) {
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
        make_label(area, QStringLiteral("Label1(%1)").arg(entry.index), QString::fromUtf8(entry.caption),
                   QRect(entry.x, kEntryLabelY, entry.width, kLabelHeight));
  }
  Combo1_ = make_combo_box(area, QStringLiteral("Combo1"),
                           QStringLiteral("选择或输入商品名称（如果是新的商品，这里会提示你注册）"),
                           QRect(kGoodsX, kEntryBoxY, kGoodsWidth, kBoxHeight));
  Text1_ = make_text_box(area, QStringLiteral("Text1"), QStringLiteral("商品的数量（这里须要填写，默认是1）"),
                         QRect(kQuantityX, kEntryBoxY, kNumberWidth, kBoxHeight), platform::Characters::DigitsAndPoint);
  Text1_->setText(QStringLiteral("1.00"));
  Text2_ = make_text_box(area, QStringLiteral("Text2"), QStringLiteral("如果是已注册的商品，它的单价这里会自动显示。"),
                         QRect(kPriceX, kEntryBoxY, kNumberWidth, kBoxHeight), platform::Characters::DigitsAndPoint);
  Text3_ = make_text_box(area, QStringLiteral("Text3"), QStringLiteral("所选商品的结算金额"),
                         QRect(kAmountX, kEntryBoxY, kAmountWidth, kBoxHeight), platform::Characters::DigitsAndPoint);
  Combo2_ = make_combo_box(area, QStringLiteral("Combo2"), QStringLiteral("填写固定客户（如果是散客可以不用填写）"),
                           QRect(kCustomerX, kEntryBoxY, kCustomerWidth, kBoxHeight));
  for (QLineEdit* box : {Text1_, Text2_, Text3_}) box->setAlignment(Qt::AlignRight);

  // The temporary record of the current receipt.
  Frame1_ = make_frame(area, QStringLiteral("Frame1"), QStringLiteral("临时记录出售的商品"),
                       QRect(kListFrameX, kFrame1Y, kListFrameWidth, twips_to_pixels(kUnmasked.frame1_twips)));
  List1_ = make_list(Frame1_, QStringLiteral("List1"),
                     QRect(kListX, kListY, kListWidth, twips_to_pixels(kUnmasked.list1_twips)));
  make_headers(Frame1_, List1_, 0);

  // The receipt number and the receipt's total, above the commands.
  Frame5_ = make_frame(area, QStringLiteral("Frame5"), QString(), QRect(kSideX, 4, kSideWidth, 40));
  Frame5_->setToolTip(QStringLiteral("流水帐单号(系统自动类加)"));
  Label3_ = make_label(Frame5_, QStringLiteral("Label3"), QStringLiteral("单号:000000"),
                       QRect(6, 6, kSideWidth - 12, 30));
  Label3_->setToolTip(QStringLiteral("流水帐单号(系统自动类加)"));
  Frame3_ = make_frame(area, QStringLiteral("Frame3"), QStringLiteral("客户结算金额"),
                       QRect(kSideX, 48, kSideWidth, 50));
  Label4_ = make_label(Frame3_, QStringLiteral("Label4"), QStringLiteral("0.00元"), QRect(6, 20, kSideWidth - 12, 26));
  for (QLabel* big : {Label3_, Label4_}) {
    QFont font = big->font();
    font.setPixelSize(17);
    font.setBold(true);
    big->setFont(font);
    big->setAlignment(Qt::AlignCenter);
  }
  Label4_->setStyleSheet(QStringLiteral("color: #b00000;"));

  Command4_ = make_button(area, QStringLiteral("Command4"), QStringLiteral("创建单号[&C]"),
                          QStringLiteral("创建新的单号（新的单号在左边单号处显示）"),
                          QRect(kSideX, kCommandsY, kSideWidth, kCommandHeight));
  Command1_ = make_button(area, QStringLiteral("Command1"), QStringLiteral("临时记录[&S]"),
                          QStringLiteral("记录所选取的商品，数量，单价，金额"),
                          QRect(kSideX, kCommandsY + kCommandStep, kSideWidth, kCommandHeight));
  Command2_ = make_button(area, QStringLiteral("Command2"), QStringLiteral("清临时记录[&D]"), QString(),
                          QRect(kSideX, kCommandsY + 2 * kCommandStep, kSideWidth, kCommandHeight));
  Command3_ = make_button(area, QStringLiteral("Command3"), QStringLiteral("打印临时记录[&P]"), QString(),
                          QRect(kSideX, kCommandsY + 3 * kCommandStep, kSideWidth, kCommandHeight));

  // The keyboard walks the entry first.
  QWidget::setTabOrder(Combo1_, Text1_);
  QWidget::setTabOrder(Text1_, Text2_);
  QWidget::setTabOrder(Text2_, Text3_);
  QWidget::setTabOrder(Text3_, Combo2_);
  QWidget::setTabOrder(Combo2_, Command1_);
  QWidget::setTabOrder(Command1_, Command2_);
  QWidget::setTabOrder(Command2_, Command3_);
  QWidget::setTabOrder(Command3_, Command4_);
  build_popup(area);
}

void SaleEntryPanel::build_popup(QWidget* area) {
  list1_右击_ = new QMenu(area->window());
  list1_右击_->setObjectName(QStringLiteral("list1_右击"));
  删除_ = list1_右击_->addAction(QStringLiteral("删除  [&D]"));
  删除_->setObjectName(QStringLiteral("删除"));
}

}  // namespace tavuro::cashier
