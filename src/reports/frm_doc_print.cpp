#include "reports/frm_doc_print.h"

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/icons.h"
#include "reports/doc_file.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QToolBar>

#include <functional>
#include <memory>

namespace tavuro::reports {

namespace {

constexpr int kTwipsPerPixel = 15;

// Whether every character of the selection (or the typing format) has the style.
bool selection_all(const QTextEdit& edit, const std::function<bool(const QTextCharFormat&)>& has) {
  const QTextCursor cursor = edit.textCursor();
  if (!cursor.hasSelection()) return has(edit.currentCharFormat());
  const int start = cursor.selectionStart();
  const int end = cursor.selectionEnd();
  for (QTextBlock block = edit.document()->findBlock(start); block.isValid() && block.position() < end;
       block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (fragment.position() + fragment.length() <= start || fragment.position() >= end) continue;
      if (!has(fragment.charFormat())) return false;
    }
  }
  return true;
}

Qt::Alignment horizontal(Qt::Alignment alignment) {
  const Qt::Alignment h = alignment & Qt::AlignHorizontal_Mask;
  if (h & Qt::AlignHCenter) return Qt::AlignHCenter;
  if (h & Qt::AlignJustify) return Qt::AlignJustify;
  if (h & (Qt::AlignRight | Qt::AlignTrailing)) return Qt::AlignRight;
  return Qt::AlignLeft;
}

// Whether every paragraph of the selection has the alignment.
bool paragraphs_all(const QTextEdit& edit, Qt::Alignment alignment) {
  const QTextCursor cursor = edit.textCursor();
  const int start = cursor.selectionStart();
  const int end = cursor.selectionEnd();
  QTextBlock block = edit.document()->findBlock(start);
  do {
    if (horizontal(block.blockFormat().alignment()) != alignment) return false;
    block = block.next();
  } while (block.isValid() && block.position() < end);
  return true;
}

}  // namespace

frmDoc_print::frmDoc_print(startup::AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
  setObjectName(QStringLiteral("frmDoc_print"));
  setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  setWindowTitle(QStringLiteral("文件输出打印"));
  setSizeGripEnabled(true);

  tbToolBar_ = new QToolBar(this);
  tbToolBar_->setObjectName(QStringLiteral("tbToolBar"));
  tbToolBar_->setIconSize(QSize(20, 20));

  rtfText_ = new QTextEdit(this);
  rtfText_->setObjectName(QStringLiteral("rtfText"));
  rtfText_->setAcceptRichText(true);
  rtfText_->setFont(document_font());
  rtfText_->document()->setDefaultFont(document_font());
  rtfText_->setLineWrapMode(QTextEdit::FixedPixelWidth);

  QAction* open = add_tool(QStringLiteral("打开"), QStringLiteral("打开其他文本文件编辑和打印"), QStringLiteral("Open"),
                          QStringLiteral("document-open"));
  QAction* save_action = add_tool(QStringLiteral("保存"), QStringLiteral("保存当前文件的修改"), QStringLiteral("Save"),
                                QStringLiteral("document-save"));
  QAction* print_action = add_tool(QStringLiteral("打印"), QStringLiteral("打印"), QStringLiteral("Print"),
                                 QStringLiteral("document-print"));
  tbToolBar_->addSeparator();
  QAction* cut_action =
      add_tool(QStringLiteral("剪切"), QStringLiteral("剪切"), QStringLiteral("Cut"), QStringLiteral("edit-cut"));
  QAction* copy_action =
      add_tool(QStringLiteral("复制"), QStringLiteral("复制"), QStringLiteral("Copy"), QStringLiteral("edit-copy"));
  QAction* paste_action =
      add_tool(QStringLiteral("粘贴"), QStringLiteral("粘贴"), QStringLiteral("Paste"), QStringLiteral("edit-paste"));
  tbToolBar_->addSeparator();
  bold_ = add_tool(QStringLiteral("粗体"), QStringLiteral("粗体"), QStringLiteral("Bold"),
                  QStringLiteral("format-text-bold"));
  italic_ = add_tool(QStringLiteral("斜体"), QStringLiteral("斜体"), QStringLiteral("Italic"),
                    QStringLiteral("format-text-italic"));
  underline_ = add_tool(QStringLiteral("下划线"), QStringLiteral("下划线"), QStringLiteral("Underline"),
                       QStringLiteral("format-text-underline"));
  tbToolBar_->addSeparator();
  align_left_ = add_tool(QStringLiteral("左对齐"), QStringLiteral("左对齐"), QStringLiteral("Align Left"),
                       QStringLiteral("format-justify-left"));
  align_center_ = add_tool(QStringLiteral("置中"), QStringLiteral("置中"), QStringLiteral("Center"),
                         QStringLiteral("format-justify-center"));
  align_right_ = add_tool(QStringLiteral("右对齐"), QStringLiteral("右对齐"), QStringLiteral("Align Right"),
                        QStringLiteral("format-justify-right"));
  tbToolBar_->addSeparator();
  QAction* color_action = add_tool(QStringLiteral("颜色"), QStringLiteral("颜色"), QStringLiteral("Color"),
                                 QStringLiteral("format-text-color"));
  for (QAction* a : {bold_, italic_, underline_, align_left_, align_center_, align_right_}) a->setCheckable(true);

  Combo1_ = new QComboBox(tbToolBar_);
  Combo1_->setObjectName(QStringLiteral("Combo1"));
  Combo1_->setToolTip(QStringLiteral("选择字号"));
  Combo1_->setEditable(true);
  for (int size :
       {5, 6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 32, 36, 38, 40, 50, 60, 70, 80, 100}) {
    Combo1_->addItem(QString::number(size));
  }
  Combo1_->setCurrentIndex(-1);
  tbToolBar_->addSeparator();
  tbToolBar_->addWidget(Combo1_);

  connect(open, &QAction::triggered, this, &frmDoc_print::open_file);
  connect(save_action, &QAction::triggered, this, &frmDoc_print::save);
  connect(print_action, &QAction::triggered, this, &frmDoc_print::print);
  connect(cut_action, &QAction::triggered, this, &frmDoc_print::cut);
  connect(copy_action, &QAction::triggered, this, &frmDoc_print::copy);
  connect(paste_action, &QAction::triggered, this, &frmDoc_print::paste);
  connect(bold_, &QAction::triggered, this, &frmDoc_print::toggle_bold);
  connect(italic_, &QAction::triggered, this, &frmDoc_print::toggle_italic);
  connect(underline_, &QAction::triggered, this, &frmDoc_print::toggle_underline);
  connect(align_left_, &QAction::triggered, this, [this] { align(Qt::AlignLeft); });
  connect(align_center_, &QAction::triggered, this, [this] { align(Qt::AlignHCenter); });
  connect(align_right_, &QAction::triggered, this, [this] { align(Qt::AlignRight); });
  connect(color_action, &QAction::triggered, this, &frmDoc_print::choose_color);
  connect(Combo1_, &QComboBox::textActivated, this, &frmDoc_print::choose_size);

  build_context_menu();
  resize(800, 560);

  // Loading a report is not a change of the document: only what follows is.
  load_pending_report();
  setWindowTitle(kCaptionPrefix);
  connect(rtfText_, &QTextEdit::textChanged, this, [this] {
    if (modified_ == kNotModified) modified_ = kModified;
  });
  connect(rtfText_, &QTextEdit::cursorPositionChanged, this, &frmDoc_print::update_format_buttons);
  connect(rtfText_, &QTextEdit::selectionChanged, this, &frmDoc_print::update_format_buttons);
  connect(rtfText_, &QTextEdit::currentCharFormatChanged, this, &frmDoc_print::update_format_buttons);
  update_format_buttons();
  rtfText_->setFocus();
}

QAction* frmDoc_print::add_tool(const QString& key, const QString& tip, const QString& description,
                               const QString& theme_icon) {
  QAction* action = tbToolBar_->addAction(platform::theme_icon(theme_icon), description);
  action->setObjectName(key);
  action->setToolTip(tip);
  action->setStatusTip(description);
  return action;
}

void frmDoc_print::build_context_menu() {
  contextMenu_ = new QMenu(this);
  contextMenu_->setObjectName(QStringLiteral("doc_右击菜单"));
  auto item = [this](const QString& name, const QString& caption, void (frmDoc_print::*handler)()) {
    QAction* action = contextMenu_->addAction(caption);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, handler);
  };
  // 撤消 undoes the last change (it does not paste).
  QAction* undo = contextMenu_->addAction(QStringLiteral("撤消"));
  undo->setObjectName(QStringLiteral("撤消"));
  connect(undo, &QAction::triggered, rtfText_, &QTextEdit::undo);
  contextMenu_->addSeparator();
  item(QStringLiteral("复制"), QStringLiteral("复制 (&C)"), &frmDoc_print::copy);
  item(QStringLiteral("粘帖"), QStringLiteral("粘帖 (&S)"), &frmDoc_print::paste);
  item(QStringLiteral("删除"), QStringLiteral("删除 (&X)"), &frmDoc_print::cut);
  contextMenu_->addSeparator();
  QAction* all = contextMenu_->addAction(QStringLiteral("全选 (&A)"));
  all->setObjectName(QStringLiteral("全选"));
  connect(all, &QAction::triggered, rtfText_, &QTextEdit::selectAll);
  contextMenu_->addSeparator();
  item(QStringLiteral("插入当前时间"), QStringLiteral("插入当前时间"), &frmDoc_print::insert_current_time);

  rtfText_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(rtfText_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { contextMenu_->popup(rtfText_->viewport()->mapToGlobal(at)); });
}

void frmDoc_print::load_pending_report() {
  const QString path = state_.current_report_file;
  if (path.isEmpty() || !QFileInfo(path).isFile()) return;
  opened_with_report_ = load_document(path, *rtfText_->document()) == LoadResult::Loaded;
  rtfText_->document()->clearUndoRedoStacks();
  rtfText_->moveCursor(QTextCursor::Start);
  QFile::remove(path);
  state_.current_report_file.clear();
}

QString frmDoc_print::current_file() const {
  const QString caption = windowTitle();
  return caption.startsWith(kCaptionPrefix) ? caption.mid(kCaptionPrefix.size()) : QString();
}

void frmDoc_print::open_file() {
  const auto path = platform::dialogs().open_file({QStringLiteral("打开"), state_.paths.app_dir, QString(),
                                                  QStringLiteral("写字板文档 (*.DOC)|*.DOC|文本文件 (*.TXT)|*.TXT")});
  if (!path) return;
  // A file that cannot be opened leaves the document (and its changes) as they are.
  QTextDocument trial;
  const LoadResult result = load_document(*path, trial);
  if (result != LoadResult::Loaded) {
    platform::warn((result == LoadResult::NotText ? QStringLiteral("不能识别这个文件的格式，文件没有打开。[")
                                                  : QStringLiteral("读文件时出错，文件没有打开。[")) +
                   *path + QLatin1Char(']'));
    return;
  }
  // The opened file replaces the document: its changes are offered for saving first, as
  // when the window closes.
  if (modified_ == kModified && ask_to_save()) save();
  load_document(*path, *rtfText_->document());
  rtfText_->document()->clearUndoRedoStacks();
  // The document now is the file as it stands on disk.
  modified_ = kNotModified;
  setWindowTitle(kCaptionPrefix + *path);
}

bool frmDoc_print::ask_to_save() {
  return platform::ask_yes_no(QStringLiteral("当前文件已被修改，是否要保存？“是”= 保存，“否”= 放弃"));
}

bool frmDoc_print::write_rtf(const QString& path) {
  if (save_rtf(path, *rtfText_->document())) return true;
  platform::warn(QStringLiteral("保存文件时出错，文件没有保存。[") + path + QLatin1Char(']'));
  return false;
}

void frmDoc_print::save() {
  const QString current = current_file();
  if (!current.isEmpty() && QFileInfo(current).isFile()) {
    if (current.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive)) {
      if (platform::ask_yes_no(QStringLiteral("是否将文件保存为 DOC 格式呢 ? "), platform::Icon::Information)) save_as();
      return;
    }
    write_rtf(current);
    return;
  }
  save_as();
}

void frmDoc_print::save_as() {
  auto path = platform::dialogs().save_file(
      {QStringLiteral("保存文件"), state_.paths.app_dir, QString(), QStringLiteral("DOC文件 (*.doc)|*.doc")});
  if (!path) return;
  if (QFileInfo(*path).suffix().isEmpty()) *path += QStringLiteral(".doc");
  if (write_rtf(*path)) setWindowTitle(kCaptionPrefix + *path);
}

void frmDoc_print::print() {
  if (rtfText_->document()->isEmpty()) return;
  QPrinter printer(QPrinter::HighResolution);
  const QTextCursor cursor = rtfText_->textCursor();
  platform::PrintRequest request;
  request.printer = &printer;
  request.selection_available = cursor.hasSelection();
  if (!platform::dialogs().print(request)) return;
  std::unique_ptr<QTextDocument> document;
  if (request.print_selection && cursor.hasSelection()) {
    document = std::make_unique<QTextDocument>();
    document->setDefaultFont(rtfText_->document()->defaultFont());
    QTextCursor(document.get()).insertFragment(cursor.selection());
  } else {
    document.reset(rtfText_->document()->clone());
  }
  if (!print_document(*document, printer)) {
    platform::warn(QStringLiteral("打印机没有准备好或不能打印，文件没有打印。"));
  }
}

void frmDoc_print::cut() {
  if (!rtfText_->textCursor().hasSelection()) return;
  rtfText_->cut();
}

void frmDoc_print::copy() {
  if (!rtfText_->textCursor().hasSelection()) return;
  rtfText_->copy();
}

void frmDoc_print::paste() {
  rtfText_->textCursor().insertText(QApplication::clipboard()->text());
}

namespace {

bool is_bold(const QTextCharFormat& f) {
  return f.fontWeight() > QFont::Normal;
}
bool is_italic(const QTextCharFormat& f) {
  return f.fontItalic();
}
bool is_underlined(const QTextCharFormat& f) {
  return f.fontUnderline();
}

// Takes a style off a selection that has it throughout, else puts it on.
void toggle_style(QTextEdit& edit, bool (*has)(const QTextCharFormat&), void (*set)(QTextCharFormat&, bool)) {
  QTextCharFormat format;
  set(format, !selection_all(edit, has));
  edit.mergeCurrentCharFormat(format);
}

}  // namespace

void frmDoc_print::toggle_bold() {
  toggle_style(*rtfText_, is_bold,
               [](QTextCharFormat& f, bool on) { f.setFontWeight(on ? QFont::Bold : QFont::Normal); });
  update_format_buttons();
}

void frmDoc_print::toggle_italic() {
  toggle_style(*rtfText_, is_italic, [](QTextCharFormat& f, bool on) { f.setFontItalic(on); });
  update_format_buttons();
}

void frmDoc_print::toggle_underline() {
  toggle_style(*rtfText_, is_underlined, [](QTextCharFormat& f, bool on) { f.setFontUnderline(on); });
  update_format_buttons();
}

void frmDoc_print::align(Qt::Alignment alignment) {
  rtfText_->setAlignment(alignment | (alignment == Qt::AlignHCenter ? Qt::Alignment() : Qt::AlignAbsolute));
  update_format_buttons();
}

void frmDoc_print::choose_color() {
  const auto color = platform::dialogs().color(rtfText_->currentCharFormat().foreground().color());
  if (!color) return;
  QTextCharFormat format;
  format.setForeground(*color);
  rtfText_->mergeCurrentCharFormat(format);
}

void frmDoc_print::choose_size(const QString& text) {
  if (text.isEmpty()) return;
  bool ok = false;
  const double points = text.toDouble(&ok);
  if (ok && points > 0) {
    QTextCharFormat format;
    format.setFontPointSize(points);
    rtfText_->mergeCurrentCharFormat(format);
  }
  rtfText_->setFocus();
}

void frmDoc_print::insert_current_time() {
  rtfText_->textCursor().insertText(current_time_text(platform::now()));
}

void frmDoc_print::update_format_buttons() {
  bold_->setChecked(selection_all(*rtfText_, is_bold));
  italic_->setChecked(selection_all(*rtfText_, is_italic));
  underline_->setChecked(selection_all(*rtfText_, is_underlined));
  align_left_->setChecked(paragraphs_all(*rtfText_, Qt::AlignLeft));
  align_center_->setChecked(paragraphs_all(*rtfText_, Qt::AlignHCenter));
  align_right_->setChecked(paragraphs_all(*rtfText_, Qt::AlignRight));
}

void frmDoc_print::closeEvent(QCloseEvent* event) {
  if (modified_ == kModified && ask_to_save()) save();
  event->accept();
  done(QDialog::Rejected);
}

void frmDoc_print::keyPressEvent(QKeyEvent* event) {
  // Escape closes the window the ordinary way, so that the question about changes is asked.
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QDialog::keyPressEvent(event);
}

void frmDoc_print::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  const int toolbar_height = tbToolBar_->sizeHint().height();
  tbToolBar_->setGeometry(0, 0, width(), toolbar_height);
  const int left = 100 / kTwipsPerPixel;
  const int top = toolbar_height + 50 / kTwipsPerPixel;
  const int w = width() - 200 / kTwipsPerPixel;
  const int h = height() - 200 / kTwipsPerPixel - toolbar_height;
  if (w <= 0 || h <= 0) return;
  rtfText_->setGeometry(left, top, w, h);
  rtfText_->setLineWrapColumnOrWidth(qMax(1, w - 400 / kTwipsPerPixel));
}

void show_document_window(startup::AppState& state, QWidget* parent, bool modal) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* open = qobject_cast<frmDoc_print*>(widget); open != nullptr && open->isVisible()) open->close();
  }
  auto* window = new frmDoc_print(state, parent);
  window->setAttribute(Qt::WA_DeleteOnClose);
  if (window->opened_with_report() && state.print_window_flag) {
    // The report is printed at once and not left on screen.
    window->print();
    window->close();
    return;
  }
  if (modal) {
    window->exec();
  } else {
    window->show();
    window->raise();
    window->activateWindow();
  }
}

}  // namespace tavuro::reports
