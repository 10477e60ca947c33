// Which code page a text file is in, over words a shop writes: read as UTF-8 (a person's
// editor, this program) and as GB18030 (an older install), each must come back as it was.

#include "platform/text_encoding.h"
#include "platform/text_file.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tavuro::platform {
namespace {

QByteArray gb18030(const QString& text) {
  QStringEncoder encoder("GB18030");
  return encoder.encode(text);
}

bool valid_utf8(const QByteArray& bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
  decoder.decode(bytes);
  return !decoder.hasError();
}

QStringList words(std::initializer_list<const char*> list) {
  QStringList result;
  for (const char* word : list) result << QString::fromUtf8(word);
  return result;
}

// Both ways for every word: a hand-written UTF-8 file and an old GBK one.
void expect_read_both_ways(const QStringList& corpus) {
  for (const QString& word : corpus) {
    EXPECT_EQ(decode_text(word.toUtf8()), word) << "UTF-8 " << word.toStdString();
    EXPECT_EQ(decode_text(gb18030(word)), word) << "GB18030 " << word.toStdString();
  }
}

TEST(TextEncoding, LatinWordsReadRightInUtf8AndInGb18030) {
  // Their UTF-8 is valid GB18030 too (Café would read Caf茅, Müller M眉ller).
  const QStringList latin = words(
      {"Café", "Müller GmbH", "Straße", "Crème brûlée", "Señor Pérez", "Łódź Sklep", "Ærø Købmand", "São Paulo",
       "naïve", "Zoë's Café", "Ålesund", "Pässwört1", "Café é bom", "à la carte", "Jürgen", "Garçon",
       "Bäckerei Schäfer", "Düsseldorf", "Zürich", "Genève", "Montréal", "Mañana", "Jalapeño", "Coração", "João",
       "Kraków", "Gdańsk", "Wrocław", "Žižkov", "Příbram", "Dvořák", "Škoda", "Göteborg", "Malmö", "Tromsø",
       "Reykjavík", "Þór", "Şişli", "İstanbul", "Çay", "Déjà vu", "Résumé", "Größe", "Brötchen", "Pâté",
       "Château", "Hôtel", "Île", "Noël", "Citroën", "Anaïs", "Hélène", "Björk", "Mäkinen", "Ñandú", "Österreich",
       "crème fraîche", "smörgåsbord", "Małgorzata", "Đorđević", "Nguyễn", "Lê Văn Thành", "Phở bò", "Bánh mì",
       "¿Qué?", "¡Hola!", "«Bonjour»", "©2003", "½ kg", "30°C", "5×3"});
  for (const QString& word : latin) ASSERT_TRUE(valid_utf8(word.toUtf8()));
  expect_read_both_ways(latin);
}

TEST(TextEncoding, ChineseWhoseGbkBytesAreValidUtf8ReadAsChinese) {
  // 屎 is CA BA in GBK, which is also the UTF-8 of ʺ; so are these words and names.
  const QStringList chinese =
      words({"屎", "铆", "小", "小小", "小学", "小写", "山水", "原味", "原装", "路路通", "一品山水", "医学院", "茂",
             "毛毛", "梅", "隆", "状", "志", "同学", "同志", "学习", "实习", "只要", "十一", "一元", "十元", "鲁味",
             "卢小平", "毛小平", "石小", "谢谢", "伟伟", "茫茫"});
  for (const QString& word : chinese) ASSERT_TRUE(valid_utf8(gb18030(word))) << word.toStdString();
  expect_read_both_ways(chinese);

  // Every character of everyday Chinese whose GBK bytes are valid UTF-8, alone and
  // beside the next one.
  QString alone;
  for (int lead = 0xB0; lead <= 0xD7; ++lead) {
    for (int trail = 0xA1; trail <= 0xBF; ++trail) {
      const QByteArray bytes = QByteArray(1, static_cast<char>(lead)) + static_cast<char>(trail);
      if (!valid_utf8(bytes)) continue;
      const QString c = QStringDecoder("GB18030").decode(bytes);
      if (c.size() == 1 && c != QStringLiteral("\uFFFD")) alone += c;
    }
  }
  ASSERT_GT(alone.size(), 600);
  for (qsizetype i = 0; i < alone.size(); ++i) {
    EXPECT_EQ(decode_text(gb18030(alone.mid(i, 1))), alone.mid(i, 1));
    if (i + 1 < alone.size()) {
      EXPECT_EQ(decode_text(gb18030(alone.mid(i, 2))), alone.mid(i, 2));
    }
  }
}

TEST(TextEncoding, ChineseMixedAndOtherScriptsReadRight) {
  expect_read_both_ways(words({"兴隆超市", "天天小店", "王先生", "北京市朝阳区便利店", "屏蔽 = no", "屏蔽 = yes",
                               "Tavuro收银机", "天天小店 v2", "可乐 2L", "T恤衫", "7-11便利店", "Café 咖啡馆",
                               "Müller 超市", "¥5", "🍎水果店", "管理员", "密码123", "Москва", "Магазин",
                               "Ελληνικά", "Αθήνα", "שלום", "مرحبا", "서울", "東京", "カフェ", "Tavuro", "0", "57"}));
}

TEST(TextEncoding, AMarkedFileIsUtf8WhateverItHolds) {
  // Without the mark these would read as 屎, 茅 and 携: the program's own files are marked.
  for (const QString& odd : words({"ʺ", "é", "Я", "СС", "¾"})) {
    EXPECT_NE(decode_text(odd.toUtf8()), odd) << odd.toStdString();
    EXPECT_EQ(decode_text(setting_file_bytes(odd)), odd) << odd.toStdString();
  }
  EXPECT_EQ(decode_text(QByteArray(kUtf8Mark)), QString());
}

TEST(TextEncoding, SettingFilesReadBackAsWritten) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("co.dat"));
  for (const QString& text : words({"Café", "ʺ", "屎", "天天小店", "Müller GmbH", "é", " ", "Tavuro 收银"})) {
    ASSERT_TRUE(write_one_line_file(path, text));
    EXPECT_EQ(read_first_line(path), text) << text.toStdString();
  }
}

}  // namespace
}  // namespace tavuro::platform
