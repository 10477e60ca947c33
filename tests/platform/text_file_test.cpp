#include "platform/dialogs.h"
#include "platform/file_ops.h"
#include "platform/text_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tavuro::platform {
namespace {

QByteArray bytes_of(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(TextFile, OneLineFilesAreMarkedUtf8WithoutALineEnd) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("co.dat"));
  ASSERT_TRUE(write_one_line_file(path, QStringLiteral("天天小店")));
  EXPECT_EQ(bytes_of(path), QByteArray("\xef\xbb\xbf") + QStringLiteral("天天小店").toUtf8());
  EXPECT_EQ(read_first_line(path), QStringLiteral("天天小店"));
  EXPECT_FALSE(QFile::exists(path + QStringLiteral(".tmp~")));
  // Plain ASCII is written as it is.
  ASSERT_TRUE(write_one_line_file(path, QStringLiteral("57")));
  EXPECT_EQ(bytes_of(path), QByteArray("57"));
  ASSERT_TRUE(write_one_line_file(path, QStringLiteral(" ")));
  EXPECT_EQ(bytes_of(path), QByteArray(" "));
}

TEST(TextFile, TheFirstLineIsReadUtf8FirstThenGb18030) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("x.dat"));
  ASSERT_TRUE(write_file_atomic(path, QStringLiteral("屏蔽 = yes\r\nmore").toUtf8()));
  EXPECT_EQ(read_first_line(path), QStringLiteral("屏蔽 = yes"));
  ASSERT_TRUE(write_file_atomic(path, to_local_code_page(QStringLiteral("屏蔽 = no\nx"))));
  EXPECT_EQ(read_first_line(path), QStringLiteral("屏蔽 = no"));
  ASSERT_TRUE(write_file_atomic(path, "\r\n"));
  EXPECT_EQ(read_first_line(path), QString());
  ASSERT_TRUE(write_file_atomic(path, ""));
  EXPECT_FALSE(read_first_line(path).has_value()) << "an empty file has no first line";
  EXPECT_FALSE(read_first_line(dir.filePath(QStringLiteral("missing"))).has_value());
  EXPECT_FALSE(read_first_line(dir.path()).has_value());
}

TEST(TextFile, ReportLinesEndInCrLf) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("p_file.run"));
  ASSERT_TRUE(write_text_lines(path, {QString(), QStringLiteral("  【公司名：】")}));
  EXPECT_EQ(bytes_of(path), QByteArray("\r\n  \xa1\xbe\xb9\xab\xcb\xbe\xc3\xfb\xa3\xba\xa1\xbf\r\n"));
  EXPECT_EQ(read_text_file(path), QStringLiteral("\r\n  【公司名：】\r\n"));
}

TEST(TextFile, AWriteThatCannotHappenLeavesTheOldContent) {
  QTemporaryDir dir;
  EXPECT_FALSE(write_one_line_file(dir.filePath(QStringLiteral("no/such/dir/f")), QStringLiteral("x")));
  EXPECT_FALSE(write_one_line_file(dir.path(), QStringLiteral("x")));
  EXPECT_FALSE(copy_file_atomic(dir.filePath(QStringLiteral("missing")), dir.filePath(QStringLiteral("t"))));
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("t"))));
}

TEST(Dialogs, ClassicFiltersBecomeQtFilters) {
  EXPECT_EQ(qt_file_filter(QStringLiteral("每天的数据文件名 (*.day)|*.DAY")), QStringLiteral("每天的数据文件名 (*.DAY *.day)"));
  EXPECT_EQ(qt_file_filter(QStringLiteral("写字板文档 (*.DOC)|*.DOC|文本文件 (*.TXT)|*.TXT")),
            QStringLiteral("写字板文档 (*.DOC *.doc);;文本文件 (*.TXT *.txt)"));
}


TEST(FileOps, SameContentComparesEveryByte) {
  QTemporaryDir dir;
  const QString a = dir.filePath(QStringLiteral("a"));
  const QString b = dir.filePath(QStringLiteral("b"));
  QByteArray bytes(100000, 'x');
  ASSERT_TRUE(write_file_atomic(a, bytes));
  ASSERT_TRUE(copy_file_atomic(a, b));
  EXPECT_TRUE(same_content(a, b));
  bytes[99999] = 'y';
  ASSERT_TRUE(write_file_atomic(b, bytes));
  EXPECT_FALSE(same_content(a, b));
  EXPECT_FALSE(same_content(a, dir.filePath(QStringLiteral("missing"))));
  EXPECT_FALSE(same_content(a, dir.path()));
  ASSERT_TRUE(write_file_atomic(a, {}));
  ASSERT_TRUE(write_file_atomic(b, {}));
  EXPECT_TRUE(same_content(a, b));
}


TEST(FileOps, ARefreshedCopyKeepsTheCopyBeforeItBeside) {
  QTemporaryDir dir;
  const QString source = dir.filePath(QStringLiteral("7.day"));
  const QString target = dir.filePath(QStringLiteral("7.bak"));
  ASSERT_TRUE(write_file_atomic(source, "first"));
  ASSERT_TRUE(refresh_copy(source, target));
  EXPECT_TRUE(same_content(source, target));
  ASSERT_TRUE(write_file_atomic(source, "second, longer"));
  ASSERT_TRUE(refresh_copy(source, target));
  EXPECT_TRUE(same_content(source, target));
  EXPECT_EQ(kept_copy_of(target), dir.filePath(QStringLiteral(".7.bak.old")));
  bool ok = false;
  EXPECT_EQ(read_whole_file(kept_copy_of(target), &ok), QByteArray("first"));
  ASSERT_TRUE(write_file_atomic(source, "3rd"));
  ASSERT_TRUE(refresh_copy(source, target));
  EXPECT_EQ(read_whole_file(target, &ok), QByteArray("3rd")) << "a shorter copy leaves no tail behind";
  EXPECT_FALSE(refresh_copy(dir.filePath(QStringLiteral("missing")), target));
  EXPECT_EQ(read_whole_file(target, &ok), QByteArray("3rd"));
}

}  // namespace
}  // namespace tavuro::platform
