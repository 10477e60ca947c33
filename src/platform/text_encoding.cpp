#include "platform/text_encoding.h"

#include <QChar>
#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>

#include <vector>

namespace tavuro::platform {

namespace {

bool is_ascii_letter(char32_t c) { return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z'); }

bool is_han(char32_t c) { return QChar::script(c) == QChar::Script_Han && QChar::isLetter(c); }

// Letters that make words of an alphabet: not the Chinese characters, kana or hangul,
// which stand on their own.
bool is_alphabet_letter(char32_t c) {
  if (c < 0x80) return is_ascii_letter(c);
  if (!QChar::isLetter(c)) return false;
  switch (QChar::script(c)) {
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Hangul:
    case QChar::Script_Bopomofo:
      return false;
    default:
      return true;
  }
}

// 0 for the 3755 characters of everyday Chinese (the first level of GB 2312), 1 for the
// second level, 2 for the rest.
int han_rarity(char32_t c, QStringEncoder& encoder) {
  const QByteArray bytes = encoder.encode(QString::fromUcs4(&c, 1));
  if (encoder.hasError() || bytes.size() != 2) return 2;
  const int code = (static_cast<unsigned char>(bytes[0]) << 8) | static_cast<unsigned char>(bytes[1]);
  const int trail = code & 0xFF;
  if (trail < 0xA1 || trail > 0xFE) return 2;
  if (code >= 0xB0A1 && code <= 0xD7F9) return 0;
  if (code >= 0xD8A1 && code <= 0xF7FE) return 1;
  return 2;
}

// Points for a character that a shop's text hardly ever holds.
constexpr int kNever = 4;

bool is_printable_ascii(char32_t c) { return c >= 0x20 && c < 0x7F; }

// The accents that decomposed Latin text puts after its letters.
bool is_common_accent(char32_t c) {
  return (c >= 0x300 && c <= 0x308) || (c >= 0x30A && c <= 0x30C) || c == 0x327 || c == 0x328;
}

// Latin-1 signs that stand in shops' texts (¥ 5, 30°, 2×3, ½, «», ©), and those that do not.
int latin1_sign_oddness(char32_t c, char32_t before, char32_t after) {
  if (c == 0xA4 || c == 0xA6 || c == 0xA8 || c == 0xAC || c == 0xAD || c == 0xAF || c == 0xB6 || c == 0xB8) {
    return kNever;
  }
  return is_printable_ascii(before) || is_printable_ascii(after) ? 1 : 2;
}

// The letters of the alphabets a person may write a name in: the Latin letters of
// European languages, Vietnamese and pinyin, and the common letters of Greek, Russian,
// Hebrew and Arabic.
bool is_common_letter(char32_t c) {
  switch (QChar::script(c)) {
    case QChar::Script_Latin:
      return c <= 0x17F || (c >= 0x1CD && c <= 0x1DC) || (c >= 0x218 && c <= 0x21B) || (c >= 0x1E00 && c <= 0x1EFF);
    case QChar::Script_Greek: return c >= 0x386 && c <= 0x3CE;
    case QChar::Script_Cyrillic: return c >= 0x400 && c <= 0x45F;
    case QChar::Script_Hebrew: return c >= 0x5D0 && c <= 0x5EA;
    case QChar::Script_Arabic: return c >= 0x621 && c <= 0x64A;
    default: return false;
  }
}

// The points of one character, given the characters before and after it.
int character_oddness(char32_t c, char32_t before, char32_t after, QStringEncoder& gb18030) {
  if (c < 0x80) return 0;
  const QChar::Category category = QChar::category(c);
  if (category == QChar::Other_Control || category == QChar::Other_PrivateUse ||
      category == QChar::Other_NotAssigned || category == QChar::Other_Surrogate || c == 0xFFFD) {
    return kNever;
  }
  if (QChar::isMark(c)) return is_common_accent(c) && QChar::isLetter(before) ? 0 : kNever;
  if (category == QChar::Letter_Modifier) return kNever;
  if (is_han(c)) return han_rarity(c, gb18030);
  if (!QChar::isLetter(c)) {
    if (c <= 0xBF || c == 0xD7 || c == 0xF7) return latin1_sign_oddness(c, before, after);
    // The signs of IPA and of the alphabets from Greek to NKo.
    return c >= 0x250 && c <= 0x7FF ? kNever : 0;
  }
  switch (QChar::script(c)) {
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Hangul:
      return 1;
    default:
      return is_common_letter(c) ? 0 : kNever;
  }
}

// Whether an accented Latin letter breaks the letter case of its word, as the letters
// glued to a Latin word by a misreading do (VIPä, øX); a capital starting a word (Ärger,
// Tä) does not.
bool breaks_case(const std::vector<char32_t>& letters, size_t k) {
  const auto upper = [](char32_t c) { return QChar::isUpper(c); };
  const auto lower = [](char32_t c) { return QChar::isLower(c); };
  const char32_t c = letters[k];
  if (k >= 2 && lower(c) && upper(letters[k - 1])) return true;
  if (k >= 1 && upper(c) && lower(letters[k - 1])) return true;
  return k + 1 < letters.size() && lower(c) && upper(letters[k + 1]);
}

// The points of one word of an alphabet (letters and the accents on them).
int word_oddness(const std::vector<char32_t>& word) {
  std::vector<char32_t> letters;
  for (const char32_t c : word) {
    if (!QChar::isMark(c)) letters.push_back(c);
  }
  int points = 0;
  bool ascii = false;
  int other_latin = 0;
  QChar::Script script = QChar::Script_Unknown;
  for (size_t k = 0; k < letters.size(); ++k) {
    const char32_t c = letters[k];
    const QChar::Script s = c < 0x80 ? QChar::Script_Latin : QChar::script(c);
    if (k > 0 && s != script) points += kNever;  // two alphabets in one word
    script = s;
    if (c < 0x80) {
      ascii = true;
    } else if (s == QChar::Script_Latin) {
      ++other_latin;
      if (breaks_case(letters, k)) points += kNever;
    }
  }
  // Accented Latin letters come inside words of plain ones; a word of them alone is odd.
  if (!ascii) points += 2 * other_latin;
  // A word of another alphabet is foreign to a Chinese shop's files, but a word of three
  // letters or more is a word; one or two letters alone are odd.
  if (script != QChar::Script_Latin && letters.size() <= 2) points += letters.size() == 1 ? 3 : 2;
  return points;
}

}  // namespace

int oddness(const QString& text) {
  const QList<uint> characters = text.toUcs4();
  const auto at = [&characters](qsizetype i) -> char32_t {
    return i >= 0 && i < characters.size() ? characters[i] : 0;
  };
  QStringEncoder gb18030("GB18030", QStringConverter::Flag::Stateless);
  int points = 0;
  std::vector<char32_t> word;
  for (qsizetype i = 0; i <= characters.size(); ++i) {
    const char32_t c = at(i);
    if (i < characters.size() && (is_alphabet_letter(c) || (!word.empty() && QChar::isMark(c)))) {
      word.push_back(c);
    } else if (!word.empty()) {
      points += word_oddness(word);
      word.clear();
    }
    if (i == characters.size()) break;
    points += character_oddness(c, at(i - 1), at(i + 1), gb18030);
    // A Chinese character glued to a Latin letter happens (T恤, X光) but is not common.
    if (is_han(c) && (is_ascii_letter(at(i - 1)) || is_ascii_letter(at(i + 1)))) points += 1;
  }
  return points;
}

QString decode_text(const QByteArray& bytes) {
  if (bytes.startsWith(kUtf8Mark)) return QString::fromUtf8(bytes.mid(3));
  QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
  const QString as_utf8 = utf8.decode(bytes);
  const bool valid_utf8 = !utf8.hasError();
  QStringDecoder gb("GB18030", QStringConverter::Flag::Stateless);
  if (!gb.isValid()) return valid_utf8 ? as_utf8 : QString::fromLatin1(bytes);
  const QString as_gb = gb.decode(bytes);
  const bool valid_gb = !gb.hasError();
  if (!valid_utf8) return as_gb;
  if (!valid_gb) return as_utf8;
  return oddness(as_utf8) >= 2 * oddness(as_gb) + 2 ? as_gb : as_utf8;
}

}  // namespace tavuro::platform
