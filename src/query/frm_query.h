#pragma once
// The query window: an administrator picks a month folder, selects day files, sets the
// goods, operator and customer filters (or asks for one receipt number), and gets the
// matching sale lines with their count and total, which can be printed or previewed as a
// report.

#include "query/query_engine.h"
#include "startup/app_state.h"

#include <QDialog>
#include <array>
#include <optional>

class QAction;
class QComboBox;
class QFileSystemModel;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QTimer;
class QTreeView;

namespace tavuro::reports {
class SourceChoice;
}

namespace tavuro::query {

class Frm_查询 final : public QDialog {
 public:
  explicit Frm_查询(startup::AppState& state, QWidget* parent = nullptr);

  // The filter boxes, loaded from the operator list, the customer list and the goods
  // catalogue; each starts at "* 全部 *".
  void read_use();
  void read_KeFu_file();
  void read_shop_names();

  // The filter query over the selected day files.
  void query_files(const QString& fieldA, const QString& valueA, const QString& fieldB, const QString& valueB,
                   const QString& fieldC, const QString& valueC);
  // Asks for a receipt number and lists its lines from the selected day files; found is
  // false when the answer was empty or no line carries the number.
  void query_receipt_no(bool& found);

  void print_query_report();
  void preview_query_report();
  // 导出: every line of the last query (not only those the list holds), as .xlsx or .csv.
  void Com_导出_Click();

  // The source choice 本机 / 总店服务器 (shown when the till has a server.dat).
  reports::SourceChoice* source_choice() const { return Frame_来源_; }

  // The folder whose day files are listed; setting it opens that folder in Dir2.
  QString dir2_path() const { return dir2_path_; }
  void set_dir2_path(const QString& path);

  // What the last query asked and the total of its lines, for the report.
  const QString& query_description() const { return query_description_; }
  sales::Money query_total() const { return query_total_; }
  // The record behind each line of the result list.
  const std::vector<store::RecordRef>& result_records() const { return result_records_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void build_controls();
  void Dir2_Change(const QString& path);
  void Command1_Click();
  void Com_cap_Click();
  void 全部选取_Click();
  void 单号查询_Click();

  QStringList selected_files() const;
  QStringList selected_names() const;
  // The query over the files chosen, from the source chosen; nullopt when the server
  // failed (said so, and 本机 chosen again).
  // A receipt query has one filter, on 单号, taken exactly.
  std::optional<QueryResult> run_query(const QList<QueryFilter>& filters, bool receipt = false);
  bool any_selected() const;
  QueryResult run_with_progress(const std::function<QueryResult(const FileProgress&)>& body, int file_count);
  void show_result(const QueryResult& result, const QString& caption);
  QStringList report_lines() const;

  startup::AppState& state_;
  QString dir2_path_;
  QString query_description_;
  sales::Money query_total_;
  std::optional<QueryRequest> last_query_;  // what the result list shows, for the export
  std::vector<store::RecordRef> result_records_;
  bool busy_ = false;
  bool reveal_dir2_ = false;  // keep the current folder in view while the tree is read
  QTimer* dir2_reveal_timer_ = nullptr;  // one scroll after a burst of changes

  reports::SourceChoice* Frame_来源_ = nullptr;
  QGroupBox* Frame1_ = nullptr;
  QLabel* Label2_ = nullptr;
  QTreeView* Dir2_ = nullptr;
  QFileSystemModel* Dir2Model_ = nullptr;
  QListWidget* File1_ = nullptr;
  QLabel* Label3_ = nullptr;
  QListWidget* List2_ = nullptr;
  QGroupBox* Frame2_ = nullptr;
  QLabel* Label6_ = nullptr;
  QComboBox* Co_查商品_ = nullptr;
  QLabel* Label7_ = nullptr;
  QComboBox* Co_查操作员_ = nullptr;
  QLabel* Label8_ = nullptr;
  QComboBox* Co_查客户_ = nullptr;
  QPushButton* Command1_ = nullptr;
  std::array<QPushButton*, 6> Com_cap_{};
  QListWidget* List1_ = nullptr;
  QLabel* Label1_ = nullptr;
  QLabel* Label5_ = nullptr;
  QPushButton* Command2_ = nullptr;
  QPushButton* Command3_ = nullptr;
  QPushButton* Command4_ = nullptr;
  QPushButton* Com_导出_ = nullptr;
  QMenu* list1_右击_ = nullptr;
  QAction* 单号查询_ = nullptr;
  QMenu* List2_右击_ = nullptr;
  QAction* 全部选取_ = nullptr;
};

// Shows the query window modally; returns when it has closed.
void open_query_window(startup::AppState& state, QWidget* parent);

}  // namespace tavuro::query
