#pragma once
// The record edit window: one record of today's day file in seven boxes, to correct and
// save or to delete. The day file stays open while the window is open; each change goes
// into the journal of changes and is followed by the backup copy of the day file.

#include "cashier/record_edit.h"
#include "startup/app_state.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace tavuro::cashier {

class Frm_编辑 final : public QDialog {
 public:
  // Loads the record named by the edit hand-over of state, and clears the hand-over.
  explicit Frm_编辑(startup::AppState& state, QWidget* parent = nullptr);
  ~Frm_编辑() override;

  // Opens the day file of record, rests on exactly that record and fills the boxes from
  // it; a record gone or changed since it was shown is told of and not shown.
  void R_File(const store::RecordRef& record);
  // Whether load found the record handed over gone or changed (and said so).
  bool record_gone() const { return record_gone_; }

  void Command1_Click();  // 更新: save
  void Command2_Click();  // 删除: delete

  // Unload: the day file is closed with the window.
  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Form_Load();
  void fill(const EditedRecord& record);
  bool key_press(QLineEdit* box, QKeyEvent* event);
  void lost_focus(QLineEdit* box);
  bool no_record();
  // The backup copy after a change, and the context the change is made in.
  void back_up();
  sales::ChangeContext change_context() const;

  startup::AppState& state_;
  RecordEditor editor_;
  QLineEdit* Text1_ = nullptr;  // 单号
  QLineEdit* Text2_ = nullptr;  // 固定客户
  QLineEdit* Text3_ = nullptr;  // 商品
  QLineEdit* Text4_ = nullptr;  // 数量
  QLineEdit* Text5_ = nullptr;  // 单价
  QLineEdit* Text6_ = nullptr;  // 金额
  QLineEdit* Text7_ = nullptr;  // 时间
  QLineEdit* returning_ = nullptr;  // the box the focus is being put back into
  bool record_gone_ = false;
};

}  // namespace tavuro::cashier
