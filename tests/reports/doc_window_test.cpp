#include "reports/doc_window.h"
#include "reports/doc_file.h"
#include "reports/frm_doc_print.h"

#include "platform/text_file.h"
#include "support/scripted_dialogs.h"
#include "support/shop_fixture.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QPrinter>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolBar>

#include <memory>

namespace tavuro::reports {
namespace {

using testing::ScriptedDialogs;
using testing::ShopFixture;

const QStringList kReport = {QString(), QStringLiteral("  【公司名：天河】"), QStringLiteral("  ┌───┬───┐"),
                             QStringLiteral("  │ 序号 │ 可乐 │")};

struct DocWindowTest : ::testing::Test {
  ShopFixture shop;
  ScriptedDialogs dialogs;

  QString pending_report() {
    const QString path = shop.file(QStringLiteral("p_file.run"));
    EXPECT_TRUE(platform::write_text_lines(path, kReport));
    shop.state.current_report_file = path;
    return path;
  }
  QAction* tool(frmDoc_print& w, const char* key) {
    for (QAction* a : w.findChild<QToolBar*>(QStringLiteral("tbToolBar"))->actions()) {
      if (a->objectName() == QString::fromUtf8(key)) return a;
    }
    ADD_FAILURE() << "no tool " << key;
    return nullptr;
  }
  QAction* menu_item(frmDoc_print& w, const char* name) {
    return w.findChild<QMenu*>(QStringLiteral("doc_右击菜单"))->findChild<QAction*>(QString::fromUtf8(name));
  }
  static void select(QTextEdit* edit, int from, int to) {
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
  }
};

TEST_F(DocWindowTest, LoadsThePendingReportDeletesItAndClearsThePath) {
  const QString path = pending_report();
  frmDoc_print window(shop.state);
  EXPECT_EQ(window.editor()->toPlainText(), kReport.join(QLatin1Char('\n')));
  EXPECT_FALSE(QFile::exists(path));
  EXPECT_TRUE(shop.state.current_report_file.isEmpty());
  EXPECT_EQ(window.windowTitle(), QStringLiteral("文件输出打印 - "));
  EXPECT_EQ(window.modified_state(), QStringLiteral("不保存"));
  EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
  // The fixed-pitch face: a, 可 and ─ advance 1 : 2 : 2.
  const QFontMetricsF metrics(window.editor()->document()->defaultFont());
  EXPECT_EQ(window.editor()->document()->defaultFont().family(), QStringLiteral("WenQuanYi Zen Hei Mono"));
  EXPECT_DOUBLE_EQ(metrics.horizontalAdvance(QStringLiteral("可")), 2 * metrics.horizontalAdvance(QLatin1Char('a')));
  EXPECT_DOUBLE_EQ(metrics.horizontalAdvance(QStringLiteral("─")), 2 * metrics.horizontalAdvance(QLatin1Char('a')));

  // A second window finds nothing to load; one for a path that is gone shows nothing either.
  frmDoc_print second(shop.state);
  EXPECT_TRUE(second.editor()->document()->isEmpty());
  shop.state.current_report_file = shop.file(QStringLiteral("gone.run"));
  frmDoc_print third(shop.state);
  EXPECT_TRUE(third.editor()->document()->isEmpty());
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(DocWindowTest, EditedReportIsSavedAsRtfAndReopensWithTextAndStyles) {
  pending_report();
  frmDoc_print window(shop.state);
  QTextEdit* edit = window.editor();
  // Bold on 【公司名：天河】, centred; pressed states follow the selection.
  select(edit, 1, 10);
  tool(window, "粗体")->trigger();
  tool(window, "置中")->trigger();
  EXPECT_TRUE(tool(window, "粗体")->isChecked());
  EXPECT_TRUE(tool(window, "置中")->isChecked());
  EXPECT_FALSE(tool(window, "左对齐")->isChecked());
  select(edit, 20, 22);
  EXPECT_FALSE(tool(window, "粗体")->isChecked());
  EXPECT_TRUE(tool(window, "左对齐")->isChecked());
  select(edit, 5, 20);  // half bold: not pressed
  EXPECT_FALSE(tool(window, "粗体")->isChecked());
  EXPECT_EQ(window.modified_state(), QStringLiteral("保存"));

  const QString saved = shop.file(QStringLiteral("日报"));
  dialogs.answer_file(saved);
  tool(window, "保存")->trigger();
  EXPECT_EQ(dialogs.shown().back().file.title, QStringLiteral("保存文件"));
  EXPECT_EQ(dialogs.shown().back().file.filter, QStringLiteral("DOC文件 (*.doc)|*.doc"));
  EXPECT_EQ(dialogs.shown().back().file.start_folder, shop.dir());
  EXPECT_EQ(window.windowTitle(), QStringLiteral("文件输出打印 - ") + saved + QStringLiteral(".doc"));
  EXPECT_TRUE(testing::read_bytes(saved + QStringLiteral(".doc")).startsWith("{\\rtf1"));
  EXPECT_EQ(window.modified_state(), QStringLiteral("保存"));  // saving leaves the state as it was

  // Saving again writes back to the same file without asking.
  edit->moveCursor(QTextCursor::End);
  edit->textCursor().insertText(QStringLiteral("x"));
  tool(window, "保存")->trigger();
  EXPECT_EQ(dialogs.shown().size(), 1u);

  frmDoc_print reopened(shop.state);
  dialogs.answer_file(saved + QStringLiteral(".doc"));
  tool(reopened, "打开")->trigger();
  EXPECT_EQ(dialogs.shown().back().file.filter, QStringLiteral("写字板文档 (*.DOC)|*.DOC|文本文件 (*.TXT)|*.TXT"));
  EXPECT_EQ(reopened.editor()->toPlainText(), edit->toPlainText());
  EXPECT_EQ(reopened.windowTitle(), QStringLiteral("文件输出打印 - ") + saved + QStringLiteral(".doc"));
  const QTextBlock company = reopened.editor()->document()->findBlockByNumber(1);
  EXPECT_EQ(company.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  select(reopened.editor(), 3, 8);
  EXPECT_TRUE(tool(reopened, "粗体")->isChecked());
  EXPECT_TRUE(tool(reopened, "置中")->isChecked());
  EXPECT_EQ(reopened.modified_state(), QStringLiteral("不保存"));
}

TEST_F(DocWindowTest, ClosingAChangedDocumentAsksAndSavesOnYes) {
  {
    frmDoc_print window(shop.state);
    window.editor()->setPlainText(QStringLiteral("a"));
    dialogs.answer_no();
    window.show();
    window.close();
    EXPECT_EQ(dialogs.last_message().text, QStringLiteral("当前文件已被修改，是否要保存？“是”= 保存，“否”= 放弃"));
    EXPECT_EQ(dialogs.last_message().icon, platform::Icon::Question);
    EXPECT_FALSE(window.isVisible());
  }
  frmDoc_print window(shop.state);
  window.editor()->setPlainText(QStringLiteral("b"));
  dialogs.answer_yes();
  dialogs.answer_file(shop.file(QStringLiteral("b.doc")));
  window.show();
  window.close();
  EXPECT_TRUE(QFile::exists(shop.file(QStringLiteral("b.doc"))));
  // An unchanged document closes without a question.
  frmDoc_print quiet(shop.state);
  quiet.show();
  quiet.close();
  EXPECT_EQ(dialogs.messages().size(), 2);
}

TEST_F(DocWindowTest, TextFilesOpenInEitherEncodingAndSaveOnlyAsDoc) {
  const QString gbk = shop.file(QStringLiteral("a.TXT"));
  testing::write_bytes(gbk, platform::to_local_code_page(QStringLiteral("可乐\r\n雪碧\r\n")));
  const QString utf8 = shop.file(QStringLiteral("b.txt"));
  testing::write_bytes(utf8, QStringLiteral("咖啡 café").toUtf8());
  frmDoc_print window(shop.state);
  dialogs.answer_file(gbk);
  window.open_file();
  EXPECT_EQ(window.editor()->toPlainText(), QStringLiteral("可乐\n雪碧"));
  dialogs.answer_file(utf8);
  window.open_file();
  EXPECT_EQ(window.editor()->toPlainText(), QStringLiteral("咖啡 café"));

  window.editor()->textCursor().insertText(QStringLiteral("!"));
  dialogs.answer_no();
  window.save();
  EXPECT_EQ(dialogs.last_message().text, QStringLiteral("是否将文件保存为 DOC 格式呢 ? "));
  EXPECT_EQ(dialogs.last_message().icon, platform::Icon::Information);
  EXPECT_EQ(testing::read_bytes(utf8), QStringLiteral("咖啡 café").toUtf8());

  dialogs.answer_yes();
  dialogs.answer_file(shop.file(QStringLiteral("b.doc")));
  window.save();
  EXPECT_TRUE(testing::read_bytes(shop.file(QStringLiteral("b.doc"))).startsWith("{\\rtf1"));
  EXPECT_EQ(testing::read_bytes(utf8), QStringLiteral("咖啡 café").toUtf8());

  // A binary file is not taken for text (saving would overwrite it with RTF).
  const QString binary = shop.file(QStringLiteral("word.DOC"));
  testing::write_bytes(binary, QByteArray("\xD0\xCF\x11\xE0\0\0\0", 7));
  dialogs.answer_file(binary);
  window.open_file();
  EXPECT_EQ(dialogs.last_message().icon, platform::Icon::Exclamation);
  EXPECT_EQ(window.editor()->toPlainText(), QStringLiteral("咖啡 café!"));
  // Cancelling changes nothing.
  dialogs.cancel_file();
  window.open_file();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("文件输出打印 - ") + shop.file(QStringLiteral("b.doc")));
}

TEST_F(DocWindowTest, AnOpenedFileIsUnmodifiedAndChangesBeforeItAreOfferedForSaving) {
  const QString a = shop.file(QStringLiteral("a.txt"));
  const QString b = shop.file(QStringLiteral("b.txt"));
  testing::write_bytes(a, platform::to_local_code_page(QStringLiteral("可乐")));
  testing::write_bytes(b, platform::to_local_code_page(QStringLiteral("雪碧")));
  const QString question = QStringLiteral("当前文件已被修改，是否要保存？“是”= 保存，“否”= 放弃");
  pending_report();
  frmDoc_print window(shop.state);
  window.show();

  // The edited report is saved on Yes before the file replaces it.
  window.editor()->textCursor().insertText(QStringLiteral("改过 "));
  dialogs.answer_file(a);
  dialogs.answer_yes();
  dialogs.answer_file(shop.file(QStringLiteral("report.doc")));
  window.open_file();
  EXPECT_EQ(dialogs.messages(), QStringList{question});
  EXPECT_TRUE(testing::read_bytes(shop.file(QStringLiteral("report.doc"))).startsWith("{\\rtf1"));
  EXPECT_EQ(window.editor()->toPlainText(), QStringLiteral("可乐"));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("文件输出打印 - ") + a);
  EXPECT_EQ(window.modified_state(), QStringLiteral("不保存"));

  // Unchanged, the next file opens without a question; changed, No lets the changes go.
  dialogs.answer_file(b);
  window.open_file();
  EXPECT_EQ(window.modified_state(), QStringLiteral("不保存"));
  window.editor()->textCursor().insertText(QStringLiteral("!"));
  dialogs.answer_file(a);
  dialogs.answer_no();
  window.open_file();
  EXPECT_EQ(dialogs.messages(), QStringList(2, question));
  EXPECT_EQ(window.editor()->toPlainText(), QStringLiteral("可乐"));
  EXPECT_EQ(testing::read_bytes(b), platform::to_local_code_page(QStringLiteral("雪碧")));

  // A file that cannot be opened asks nothing and keeps the changes and their state.
  window.editor()->textCursor().insertText(QStringLiteral("?"));
  dialogs.answer_file(shop.file(QStringLiteral("missing.txt")));
  window.open_file();
  EXPECT_EQ(dialogs.last_message().icon, platform::Icon::Exclamation);
  EXPECT_EQ(window.modified_state(), QStringLiteral("保存"));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("文件输出打印 - ") + a);

  // An opened file closes without a question.
  dialogs.answer_file(b);
  dialogs.answer_no();
  window.open_file();
  dialogs.clear();
  window.close();
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_FALSE(dialogs.answers_left());
}

TEST_F(DocWindowTest, PrintsToAPdfAndReportsAPrinterThatCannotPrint) {
  frmDoc_print window(shop.state);
  window.print();  // an empty document: nothing happens
  EXPECT_TRUE(dialogs.shown().empty());

  window.editor()->setPlainText(QStringLiteral("  ┌───┐\n  │可乐│"));
  const QString pdf = shop.file(QStringLiteral("out.pdf"));
  dialogs.answer_print(false, [pdf](QPrinter* printer) {
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdf);
  });
  window.print();
  EXPECT_TRUE(testing::read_bytes(pdf).startsWith("%PDF"));
  EXPECT_TRUE(dialogs.messages().isEmpty());

  // A printer that is not there: said so, never taken as printed.
  dialogs.answer_print(false, [](QPrinter* printer) {
    printer->setOutputFormat(QPrinter::NativeFormat);
    printer->setPrinterName(QStringLiteral("no-such-printer"));
    printer->setOutputFileName(QString());
  });
  window.print();
  ASSERT_EQ(dialogs.messages().size(), 1);
  EXPECT_EQ(dialogs.last_message().icon, platform::Icon::Exclamation);
}

TEST_F(DocWindowTest, WithThePrintWindowFlagAReportIsPrintedAndTheWindowCloses) {
  pending_report();
  shop.state.print_window_flag = true;
  const QString pdf = shop.file(QStringLiteral("report.pdf"));
  dialogs.answer_print(false, [pdf](QPrinter* printer) {
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdf);
  });
  show_document_window(shop.state, nullptr, false);
  EXPECT_TRUE(testing::read_bytes(pdf).startsWith("%PDF"));
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_EQ(qobject_cast<frmDoc_print*>(w), nullptr);

  // With the flag off the report stays open; a window opened without a report stays too.
  shop.state.print_window_flag = false;
  pending_report();
  show_document_window(shop.state, nullptr, false);
  frmDoc_print* open = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* doc = qobject_cast<frmDoc_print*>(w); doc && doc->isVisible()) open = doc;
  }
  ASSERT_NE(open, nullptr);
  EXPECT_EQ(open->editor()->toPlainText(), kReport.join(QLatin1Char('\n')));
  open->close();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(DocWindowTest, ContextMenuAndSizeList) {
  frmDoc_print window(shop.state);
  QTextEdit* edit = window.editor();
  menu_item(window, "插入当前时间")->trigger();
  EXPECT_EQ(edit->toPlainText(), QStringLiteral("2003年5月7日  星期三  15:05:09"));
  menu_item(window, "全选")->trigger();
  menu_item(window, "删除")->trigger();
  EXPECT_TRUE(edit->document()->isEmpty());
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("2003年5月7日  星期三  15:05:09"));
  menu_item(window, "撤消")->trigger();  // undoes the deletion; it does not paste
  EXPECT_EQ(edit->toPlainText(), QStringLiteral("2003年5月7日  星期三  15:05:09"));
  edit->moveCursor(QTextCursor::End);
  menu_item(window, "粘帖")->trigger();
  EXPECT_EQ(edit->toPlainText(), QStringLiteral("2003年5月7日  星期三  15:05:092003年5月7日  星期三  15:05:09"));
  QStringList captions;
  for (QAction* a : window.findChild<QMenu*>(QStringLiteral("doc_右击菜单"))->actions()) {
    captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
  }
  EXPECT_EQ(captions, (QStringList{QStringLiteral("撤消"), QStringLiteral("-"), QStringLiteral("复制 (&C)"),
                                   QStringLiteral("粘帖 (&S)"), QStringLiteral("删除 (&X)"), QStringLiteral("-"),
                                   QStringLiteral("全选 (&A)"), QStringLiteral("-"), QStringLiteral("插入当前时间")}));

  auto* combo = window.findChild<QComboBox*>(QStringLiteral("Combo1"));
  EXPECT_EQ(combo->toolTip(), QStringLiteral("选择字号"));
  EXPECT_EQ(combo->itemText(0), QStringLiteral("5"));
  EXPECT_EQ(combo->itemText(combo->count() - 1), QStringLiteral("100"));
  EXPECT_EQ(combo->count(), 26);
  select(edit, 0, 4);
  combo->setCurrentText(QStringLiteral("20"));
  window.choose_size(combo->currentText());
  EXPECT_DOUBLE_EQ(edit->document()->begin().begin().fragment().charFormat().fontPointSize(), 20.0);

  QStringList tips;
  for (QAction* a : window.findChild<QToolBar*>(QStringLiteral("tbToolBar"))->actions()) {
    if (!a->objectName().isEmpty()) tips << a->objectName() + QLatin1Char('=') + a->toolTip();
  }
  EXPECT_EQ(tips,
            (QStringList{QStringLiteral("打开=打开其他文本文件编辑和打印"), QStringLiteral("保存=保存当前文件的修改"),
                         QStringLiteral("打印=打印"), QStringLiteral("剪切=剪切"), QStringLiteral("复制=复制"),
                         QStringLiteral("粘贴=粘贴"), QStringLiteral("粗体=粗体"), QStringLiteral("斜体=斜体"),
                         QStringLiteral("下划线=下划线"), QStringLiteral("左对齐=左对齐"), QStringLiteral("置中=置中"),
                         QStringLiteral("右对齐=右对齐"), QStringLiteral("颜色=颜色")}));
  dialogs.answer_color(QColor(Qt::red));
  tool(window, "颜色")->trigger();
  EXPECT_EQ(edit->document()->begin().begin().fragment().charFormat().foreground().color(), QColor(Qt::red));
}

}  // namespace
}  // namespace tavuro::reports
