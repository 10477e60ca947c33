#include "reports/frm_print.h"

#include "platform/dialogs.h"
#include "reports/doc_window.h"
#include "headoffice/server_queries.h"
#include "reports/report_runs.h"
#include "reports/source_choice.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QStorageInfo>
#include <QVBoxLayout>

#include <memory>

namespace tavuro::reports {

namespace {

constexpr int kFolderRole = Qt::UserRole;

// The runs over this many files or more show their progress.
constexpr int kProgressFrom = 4;

}  // namespace

Frm_print::Frm_print(startup::AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
  setObjectName(QStringLiteral("Frm_print"));
  setWindowTitle(QStringLiteral("自由式打印"));

  Drive1_ = new QComboBox(this);
  Drive1_->setObjectName(QStringLiteral("Drive1"));
  auto* label2 = new QLabel(QStringLiteral("选择月份目录"), this);
  label2->setObjectName(QStringLiteral("Label2"));
  Dir1_ = new QListWidget(this);
  Dir1_->setObjectName(QStringLiteral("Dir1"));
  File1_ = new QListWidget(this);
  File1_->setObjectName(QStringLiteral("File1"));
  File1_->setVisible(false);
  auto* label1 = new QLabel(QStringLiteral("选择打印文件"), this);
  label1->setObjectName(QStringLiteral("Label1"));
  List1_ = new QListWidget(this);
  List1_->setObjectName(QStringLiteral("List1"));
  List1_->setSelectionMode(QAbstractItemView::MultiSelection);
  Check1_ = new QCheckBox(QStringLiteral("全部选择"), this);
  Check1_->setObjectName(QStringLiteral("Check1"));

  Frame1_ = new QGroupBox(QStringLiteral("选择打印类型"), this);
  Frame1_->setObjectName(QStringLiteral("Frame1"));
  Option1_ = new QRadioButton(QStringLiteral("单个文件打印（一个文件打印一份）"), Frame1_);
  Option1_->setObjectName(QStringLiteral("Option1"));
  Option2_ = new QRadioButton(QStringLiteral("多个文件合计打印（多个文件合计后只打印一份）"), Frame1_);
  Option2_->setObjectName(QStringLiteral("Option2"));
  Option3_ = new QRadioButton(QStringLiteral("月结打印（把一个月的全部文件合计后打印一份）"), Frame1_);
  Option3_->setObjectName(QStringLiteral("Option3"));
  auto* options = new QVBoxLayout(Frame1_);
  options->addWidget(Option1_);
  options->addWidget(Option2_);
  options->addWidget(Option3_);

  Command1_ = new QPushButton(QStringLiteral("打印[&P]"), this);
  Command1_->setObjectName(QStringLiteral("Command1"));
  Command2_ = new QPushButton(QStringLiteral("预览[&V]"), this);
  Command2_->setObjectName(QStringLiteral("Command2"));
  Command3_ = new QPushButton(QStringLiteral("关闭[&X]"), this);
  Command3_->setObjectName(QStringLiteral("Command3"));

  Frame_来源_ = new SourceChoice(state_.paths.app_dir, this);
  connect(Frame_来源_, &SourceChoice::changed, this, [this] { Dir1_Change(); });

  auto* grid = new QGridLayout(this);
  grid->addWidget(label2, 0, 0);
  grid->addWidget(Drive1_, 1, 0);
  grid->addWidget(Dir1_, 2, 0, 2, 1);
  grid->addWidget(label1, 0, 1);
  grid->addWidget(List1_, 1, 1, 2, 1);
  grid->addWidget(Check1_, 3, 1);
  grid->addWidget(Frame_来源_, 4, 0, 1, 2);
  grid->addWidget(Frame1_, 5, 0, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Command1_);
  buttons->addWidget(Command2_);
  buttons->addWidget(Command3_);
  grid->addLayout(buttons, 6, 0, 1, 2);
  resize(560, 460);

  connect(Drive1_, &QComboBox::currentIndexChanged, this, [this] { Drive1_Change(); });
  connect(Dir1_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { set_folder(item->data(kFolderRole).toString()); });
  connect(Check1_, &QCheckBox::toggled, this, [this] { Check1_Click(); });
  connect(Option1_, &QRadioButton::clicked, this, &Frm_print::Option1_Click);
  connect(Option2_, &QRadioButton::clicked, this, &Frm_print::Option2_Click);
  connect(Option3_, &QRadioButton::clicked, this, &Frm_print::Option3_Click);
  connect(Command1_, &QPushButton::clicked, this, &Frm_print::Command1_Click);
  connect(Command2_, &QPushButton::clicked, this, &Frm_print::Command2_Click);
  connect(Command3_, &QPushButton::clicked, this, &QDialog::close);

  // Load: the drive and the folder of the application directory, the summed mode.
  fill_drives();
  set_folder(state_.paths.app_dir);
  Option2_->setChecked(true);
  Option2_Click();
}

void Frm_print::fill_drives() {
  const QString app_root = QStorageInfo(state_.paths.app_dir).rootPath();
  QSignalBlocker block(Drive1_);
  Drive1_->clear();
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    Drive1_->addItem(volume.rootPath(), volume.rootPath());
  }
  if (Drive1_->findData(app_root) < 0) Drive1_->addItem(app_root, app_root);
  drive_index_ = Drive1_->findData(app_root);
  Drive1_->setCurrentIndex(drive_index_);
}

void Frm_print::Drive1_Change() {
  const QString root = Drive1_->currentData().toString();
  const QStorageInfo volume(root);
  if (root.isEmpty() || !volume.isValid() || !volume.isReady() || !QDir(root).isReadable()) {
    platform::warn(QStringLiteral("你选择的驱动器“") + Drive1_->currentText() + QStringLiteral("”未准备好。"));
    QSignalBlocker block(Drive1_);
    Drive1_->setCurrentIndex(drive_index_);
    return;
  }
  drive_index_ = Drive1_->currentIndex();
  set_folder(root);
}

void Frm_print::set_folder(const QString& path) {
  folder_ = QDir::cleanPath(path);
  refresh_folders();
  Dir1_Change();
}

// The folder list: the folders from the root down to the current one, then its subfolders.
void Frm_print::refresh_folders() {
  Dir1_->clear();
  QStringList chain;
  for (QDir dir(folder_);;) {
    chain.prepend(dir.absolutePath());
    if (dir.isRoot() || !dir.cdUp()) break;
  }
  int depth = 0;
  for (const QString& path : chain) {
    const QString name = QDir(path).isRoot() ? path : QDir(path).dirName();
    auto* item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + name, Dir1_);
    item->setData(kFolderRole, path);
    if (path == chain.back()) Dir1_->setCurrentItem(item);
    ++depth;
  }
  const QDir current(folder_);
  for (const QString& sub : current.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
    auto* item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + sub, Dir1_);
    item->setData(kFolderRole, current.filePath(sub));
  }
}

void Frm_print::Dir1_Change() {
  File1_->clear();
  const QDir dir(folder_);
  if (Frame_来源_->on_server()) {
    // The day files the server holds for the month folder of that name.
    try {
      File1_->addItems(headoffice::server_day_files(*Frame_来源_->server(), dir.dirName(), Frame_来源_->till()));
    } catch (const headoffice::ServerError& error) {
      Frame_来源_->fall_back(error);
      return;
    }
  } else {
    File1_->addItems(dir.entryList({QStringLiteral("*.day")}, QDir::Files, QDir::Name | QDir::IgnoreCase));
  }
  List1_->clear();
  Check1_->setChecked(false);
  for (int i = 0; i < File1_->count(); ++i) List1_->addItem(File1_->item(i)->text());
  // The month-end mode keeps every file of the new folder chosen.
  if (Option3_->isChecked()) Check1_->setChecked(true);
}

void Frm_print::selectAll(bool selected) {
  for (int i = 0; i < List1_->count(); ++i) List1_->item(i)->setSelected(selected);
}

void Frm_print::Check1_Click() {
  if (List1_->count() == 0) return;
  selectAll(Check1_->isChecked());
}

void Frm_print::Option1_Click() {
  if (Check1_->isChecked()) Check1_->setChecked(false);
  Check1_->setEnabled(true);
  List1_->setEnabled(true);
}

void Frm_print::Option2_Click() {
  Option1_Click();
}

void Frm_print::Option3_Click() {
  if (Check1_->isChecked()) {
    selectAll(true);
  } else {
    Check1_->setChecked(true);
  }
  Check1_->setEnabled(false);
  List1_->setEnabled(false);
}

void Frm_print::Command1_Click() {
  run(true);
}

void Frm_print::Command2_Click() {
  run(false);
}

void Frm_print::run(bool print_at_once) {
  if (List1_->count() == 0) {
    platform::inform(QStringLiteral("你尚未选取打印的文件。"));
    return;
  }
  state_.print_window_flag = print_at_once;

  QStringList chosen;
  bool any_selected = false;
  for (int i = 0; i < List1_->count(); ++i) {
    if (List1_->item(i)->isSelected()) {
      any_selected = true;
      chosen << List1_->item(i)->text();
    }
  }
  RunMode mode = RunMode::Summed;
  if (Option1_->isChecked()) mode = RunMode::Single;
  if (Option3_->isChecked()) {
    mode = RunMode::MonthEnd;
    if (any_selected) {
      chosen.clear();
      for (int i = 0; i < List1_->count(); ++i) chosen << List1_->item(i)->text();
    }
  }

  std::unique_ptr<QProgressDialog> progress;
  if (chosen.size() >= kProgressFrom) {
    progress = std::make_unique<QProgressDialog>(QStringLiteral("正在统计数据文件……"), QString(), 0,
                                                 static_cast<int>(chosen.size()), this);
    progress->setObjectName(QStringLiteral("progress"));
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(300);
  }
  const auto told = [&progress](int done, int) {
    if (progress) progress->setValue(done);
  };
  bool written = false;
  if (Frame_来源_->on_server()) {
    try {
      written = run_server_reports(state_, mode, folder_, chosen, *Frame_来源_->server(), Frame_来源_->till(), told);
    } catch (const headoffice::ServerError& error) {
      progress.reset();
      Frame_来源_->fall_back(error);
      return;
    }
  } else {
    written = run_reports(state_, mode, folder_, chosen, told);
  }
  progress.reset();
  if (written) show_document_window(state_, this, true);
}

void Frm_print::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  // Activate: the folder list is read again (folders made meanwhile show up).
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) refresh_folders();
}

}  // namespace tavuro::reports
