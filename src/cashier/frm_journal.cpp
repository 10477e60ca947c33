#include "cashier/frm_journal.h"

#include "platform/dialogs.h"
#include "platform/fonts.h"
#include "platform/text_file.h"
#include "reports/doc_window.h"
#include "sales/journal_lines.h"
#include "sales/journaled_change.h"
#include "sales/labels.h"
#include "startup/paths.h"
#include "store/guarded.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavuro::cashier {

namespace {

const QString kShopFile = QStringLiteral("shop.dat");

template <typename T>
T* named(T* widget, const char* name) {
  widget->setObjectName(QString::fromUtf8(name));
  return widget;
}

}  // namespace

Frm_修改记录::Frm_修改记录(startup::AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
  setObjectName(QStringLiteral("Frm_修改记录"));
  setWindowTitle(QStringLiteral("修改记录"));
  setModal(true);

  Combo1_ = named(new QComboBox(this), "Combo1");
  Combo2_ = named(new QComboBox(this), "Combo2");
  auto* Label1 = named(new QLabel(QStringLiteral("月份目录[&M]"), this), "Label1");
  auto* Label2 = named(new QLabel(QStringLiteral("日期[&D]"), this), "Label2");
  Label1->setBuddy(Combo1_);
  Label2->setBuddy(Combo2_);
  auto* Command1 = named(new QPushButton(QStringLiteral("核对[&C]"), this), "Command1");
  Command1->setToolTip(QStringLiteral("核对这个月的修改记录和每天的数据文件"));
  auto* Command2 = named(new QPushButton(QStringLiteral("打印[&P]"), this), "Command2");
  Command2->setToolTip(QStringLiteral("把修改记录送到打印窗口"));
  auto* Command3 = named(new QPushButton(QStringLiteral("关闭[&X]"), this), "Command3");
  Command3->setToolTip(QStringLiteral("关闭窗口"));
  for (QPushButton* button : {Command1, Command2, Command3}) button->setAutoDefault(false);

  const QFont fixed = platform::fixed_font(14);
  Label3_ = named(new QLabel(sales::journal_header(), this), "Label3");
  Label3_->setFont(fixed);
  List1_ = named(new QListWidget(this), "List1");
  List1_->setFont(fixed);
  List1_->setUniformItemSizes(true);
  List1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  Label4_ = named(new QLabel(this), "Label4");
  auto* Label5 = named(new QLabel(QStringLiteral("核对结果[&R]"), this), "Label5");
  List2_ = named(new QListWidget(this), "List2");
  List2_->setFont(fixed);
  Label5->setBuddy(List2_);

  auto* choice = new QHBoxLayout;
  choice->addWidget(Label1);
  choice->addWidget(Combo1_);
  choice->addSpacing(16);
  choice->addWidget(Label2);
  choice->addWidget(Combo2_);
  choice->addStretch();
  choice->addWidget(Command1);
  choice->addWidget(Command2);
  choice->addWidget(Command3);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(choice);
  layout->addWidget(Label3_);
  layout->addWidget(List1_, 3);
  layout->addWidget(Label4_);
  layout->addWidget(Label5);
  layout->addWidget(List2_, 1);
  setTabOrder(Combo1_, Combo2_);
  setTabOrder(Combo2_, Command1);
  setTabOrder(Command1, Command2);
  setTabOrder(Command2, Command3);
  setTabOrder(Command3, List1_);
  setTabOrder(List1_, List2_);

  connect(Combo1_, &QComboBox::currentIndexChanged, this, [this] { Combo1_Click(); });
  connect(Combo2_, &QComboBox::currentIndexChanged, this, [this] { read_journal(); });
  connect(Command1, &QPushButton::clicked, this, &Frm_修改记录::Command1_Click);
  connect(Command2, &QPushButton::clicked, this, &Frm_修改记录::Command2_Click);
  connect(Command3, &QPushButton::clicked, this, &QDialog::reject);

  // Form Load: the months of the application directory, this month chosen.
  const QSignalBlocker block(Combo1_);
  Combo1_->addItems(sales::month_folders_of(state_.paths.app_dir));
  const int current = Combo1_->findText(QFileInfo(state_.paths.month_folder).fileName());
  Combo1_->setCurrentIndex(current >= 0 ? current : 0);
  Combo1_Click();
  resize(1100, 640);
}

QString Frm_修改记录::month_folder() const {
  return Combo1_->currentText().isEmpty() ? QString() : QDir(state_.paths.app_dir).filePath(Combo1_->currentText());
}

void Frm_修改记录::Combo1_Click() {
  check_.reset();
  List2_->clear();
  const QSignalBlocker block(Combo2_);
  Combo2_->clear();
  Combo2_->addItem(sales::kAllEntry);
  const QString folder = month_folder();
  if (!folder.isEmpty()) Combo2_->addItems(sales::day_files_of(folder));
  Combo2_->addItem(kShopFile);
  // This month opens on today; another month on all its entries.
  const int today = folder == state_.paths.month_folder ? Combo2_->findText(QFileInfo(state_.paths.day_file).fileName()) : -1;
  Combo2_->setCurrentIndex(today >= 0 ? today : 0);
  read_journal();
}

void Frm_修改记录::read_journal() {
  List1_->clear();
  last_hash_.clear();
  const QString folder = month_folder();
  const QString journal = sales::journal_path(folder);
  if (folder.isEmpty() || !QFileInfo(journal).isFile()) {
    Label4_->setText(QStringLiteral("这个月没有修改记录。"));
    return;
  }
  const QString file = Combo2_->currentIndex() <= 0 ? QString() : Combo2_->currentText();
  store::guarded(store::show_message(QStringLiteral("修改记录文件无法读取。[journal.db]"), platform::Icon::Exclamation),
                 [&] {
                   QStringList lines;
                   for (const store::JournalEntry& entry : store::journal_entries(journal, file)) {
                     lines << sales::journal_line(entry);
                   }
                   List1_->addItems(lines);
                   if (const auto last = store::last_journal_entry(journal)) last_hash_ = last->hash;
                 });
  Label4_->setText(QStringLiteral("修改记录数：%1").arg(List1_->count()));
  if (List1_->count() > 0) List1_->scrollToBottom();
}

void Frm_修改记录::Command1_Click() {
  const QString folder = month_folder();
  if (folder.isEmpty()) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  check_ = sales::check_month(folder);
  QApplication::restoreOverrideCursor();
  List2_->clear();
  List2_->addItems(check_->lines());
  if (check_->sound()) {
    platform::inform(QStringLiteral("核对无误"));
  } else {
    platform::warn(QStringLiteral("核对发现 %1 处问题，请看核对结果。").arg(check_->problems.size()));
  }
}

QStringList Frm_修改记录::print_lines() const {
  QStringList lines{QStringLiteral("修改记录【") + Combo1_->currentText() + QLatin1Char(' ') + Combo2_->currentText() +
                        QStringLiteral("】"),
                    QString(), Label3_->text()};
  for (int i = 0; i < List1_->count(); ++i) lines << List1_->item(i)->text();
  lines << QString() << Label4_->text();
  if (!last_hash_.isEmpty()) lines << QStringLiteral("最后一条修改记录的哈希：") + last_hash_;
  if (check_) {
    lines << QString() << QStringLiteral("核对结果：");
    lines << check_->lines();
  }
  return lines;
}

void Frm_修改记录::Command2_Click() {
  if (List1_->count() == 0 && !check_) return;
  const QString path = startup::app_file(state_.paths.app_dir, QStringLiteral("journal.txt"));
  if (!platform::write_text_lines(path, print_lines())) {
    platform::warn(QStringLiteral("写修改记录的打印文件时出错。[") + path + QLatin1Char(']'));
    return;
  }
  state_.current_report_file = path;
  reports::show_document_window(state_, this, true);
}

void open_journal_window(startup::AppState& state, QWidget* parent) {
  Frm_修改记录 window(state, parent);
  window.exec();
}

}  // namespace tavuro::cashier
