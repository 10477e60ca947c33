#include "reports/rtf_reader.h"
#include "reports/rtf_writer.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

namespace tavuro::reports {
namespace {

// A file written here opens in LibreOffice (when it is installed) with the same text.
TEST(RtfLibreOffice, OpensTheWrittenFileWithTheSameText) {
  const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
  if (soffice.isEmpty()) GTEST_SKIP() << "LibreOffice is not installed";
  QTemporaryDir dir;
  QTextDocument doc;
  QTextCursor cursor(&doc);
  cursor.insertText(QStringLiteral("  【公司名：天河商店】"));
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  cursor.insertBlock();
  cursor.insertText(QStringLiteral("  │ 序号 │ 可乐 （元） ┌─┐"), bold);
  cursor.insertBlock();
  cursor.insertText(QStringLiteral("  plain ASCII {x} \\ end"));
  const QString rtf_path = dir.filePath(QStringLiteral("report.doc"));
  QFile file(rtf_path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(write_rtf(doc));
  file.close();

  QProcess process;
  process.setWorkingDirectory(dir.path());
  process.start(soffice, {QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profile")),
                          QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                          QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("--outdir"), dir.path(), rtf_path});
  ASSERT_TRUE(process.waitForFinished(100000));
  QFile text(dir.filePath(QStringLiteral("report.txt")));
  ASSERT_TRUE(text.open(QIODevice::ReadOnly)) << process.readAllStandardError().toStdString();
  QString converted = QString::fromUtf8(text.readAll());
  if (converted.startsWith(QChar(0xFEFF))) converted.remove(0, 1);
  converted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  EXPECT_EQ(converted.trimmed(), doc.toPlainText().trimmed());
}

}  // namespace
}  // namespace tavuro::reports
