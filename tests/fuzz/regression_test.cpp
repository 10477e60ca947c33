// Every input kept in corpus/<target>/ (seeds and each input that once broke a target)
// runs through its target on every test run.

#include "targets/fuzz_targets.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace tavuro::fuzz {
namespace {

using Target = int (*)(const uint8_t*, size_t);

void run_corpus(const char* name, Target target) {
  const QDir dir(QStringLiteral(FUZZ_CORPUS_DIR) + QLatin1Char('/') + QString::fromLatin1(name));
  const QStringList files = dir.entryList(QDir::Files);
  EXPECT_FALSE(files.isEmpty()) << "no kept inputs for " << name;
  for (const QString& file : files) {
    QFile input(dir.filePath(file));
    ASSERT_TRUE(input.open(QIODevice::ReadOnly));
    const QByteArray bytes = input.readAll();
    SCOPED_TRACE(file.toStdString());
    // Several times over, as in a fuzz run: an input must give the same outcome each time.
    for (int run = 0; run < 5; ++run) {
      EXPECT_EQ(target(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size())), 0);
    }
  }
}

TEST(FuzzRegression, TextLayout) { run_corpus("text_layout", &text_layout); }
TEST(FuzzRegression, TextReader) { run_corpus("text_reader", &text_reader); }
TEST(FuzzRegression, SettingFiles) { run_corpus("setting_files", &setting_files); }
TEST(FuzzRegression, RtfReader) {
  run_corpus("rtf_reader", &rtf_reader);
}
TEST(FuzzRegression, DataFile) {
  run_corpus("data_file", &data_file);
}
TEST(FuzzRegression, Recovery) {
  run_corpus("recovery", &recovery);
}

}  // namespace
}  // namespace tavuro::fuzz
