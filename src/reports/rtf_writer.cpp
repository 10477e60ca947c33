#include "reports/rtf_writer.h"

#include <QColor>
#include <QFont>
#include <QStringEncoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include <cmath>

namespace tavuro::reports {

namespace {

struct RunFormat {
  QString family;
  int half_points = 24;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  QColor color;  // invalid: the automatic colour
};

QString family_of(const QFont& font) {
  const QStringList families = font.families();
  return families.isEmpty() ? font.family() : families.front();
}

int half_points_of(const QFont& font) {
  qreal points = font.pointSizeF();
  if (points <= 0 && font.pixelSize() > 0) points = font.pixelSize() * 72.0 / 96.0;
  if (points <= 0) points = 12;
  return qMax(1, qRound(points * 2));
}

RunFormat run_format(const QTextCharFormat& format, const QFont& base) {
  const QFont font = format.font().resolve(base);
  RunFormat run;
  run.family = family_of(font);
  run.half_points = half_points_of(font);
  run.bold = font.bold();
  run.italic = font.italic();
  run.underline = font.underline();
  if (format.hasProperty(QTextFormat::ForegroundBrush)) run.color = format.foreground().color();
  return run;
}

class RtfWriter {
 public:
  explicit RtfWriter(const QTextDocument& document) : document_(document), base_(document.defaultFont()) {}

  QByteArray write() {
    font_index(family_of(base_));
    // Every paragraph ends with \par; readers take the last mark as the end of the last
    // paragraph, not as the start of an empty one.
    QByteArray body;
    for (QTextBlock block = document_.begin(); block.isValid(); block = block.next()) {
      write_block(body, block);
      body += "\\par\r\n";
    }

    QByteArray out = "{\\rtf1\\ansi\\ansicpg936\\deff0\\uc1\r\n{\\fonttbl";
    for (int i = 0; i < fonts_.size(); ++i) {
      out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset134 ";
      append_text(out, fonts_[i]);
      out += ";}";
    }
    out += "}\r\n{\\colortbl;";
    for (const QColor& color : colors_) {
      out += "\\red" + QByteArray::number(color.red()) + "\\green" + QByteArray::number(color.green()) + "\\blue" +
             QByteArray::number(color.blue()) + ";";
    }
    out += "}\r\n\\viewkind4" + body + "}\r\n";
    return out;
  }

 private:
  int font_index(const QString& family) {
    qsizetype index = fonts_.indexOf(family);
    if (index < 0) {
      fonts_ << family;
      index = fonts_.size() - 1;
    }
    return static_cast<int>(index);
  }

  int color_index(const QColor& color) {
    const QColor rgb = color.toRgb();
    for (qsizetype i = 0; i < colors_.size(); ++i) {
      if (colors_[i].rgb() == rgb.rgb()) return static_cast<int>(i) + 1;
    }
    colors_ << rgb;
    return static_cast<int>(colors_.size());
  }

  QByteArray format_words(const RunFormat& run) {
    QByteArray words = "\\f" + QByteArray::number(font_index(run.family)) + "\\fs" + QByteArray::number(run.half_points);
    if (run.bold) words += "\\b";
    if (run.italic) words += "\\i";
    if (run.underline) words += "\\ul";
    if (run.color.isValid()) words += "\\cf" + QByteArray::number(color_index(run.color));
    return words;
  }

  static QByteArray alignment_word(Qt::Alignment alignment) {
    const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignHCenter) return "\\qc";
    if (horizontal & Qt::AlignJustify) return "\\qj";
    if (horizontal & (Qt::AlignRight | Qt::AlignTrailing)) return "\\qr";
    return "\\ql";
  }

  void write_block(QByteArray& out, const QTextBlock& block) {
    out += "\\pard\\plain" + alignment_word(block.blockFormat().alignment());
    // An empty paragraph keeps its format (its height) through the paragraph's own words.
    if (block.length() <= 1) out += format_words(run_format(block.charFormat(), base_));
    out += ' ';
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.isValid()) continue;
      out += "{\\plain" + format_words(run_format(fragment.charFormat(), base_)) + ' ';
      append_text(out, fragment.text());
      out += '}';
    }
  }

  // Writes text inside a group of its own: the group starts with the document's \uc1,
  // and a changed skip count ends with the group.
  static void append_text(QByteArray& out, const QString& text) {
    int skip = 1;
    char16_t previous = 0;
    for (const QChar c : text) {
      const char16_t u = c.unicode();
      // LibreOffice turns a run of spaces into special spaces; an empty group between two
      // spaces keeps them plain for it and means nothing to other readers.
      if (u == u' ' && previous == u' ') out += "{}";
      previous = u;
      if (u == u'\\' || u == u'{' || u == u'}') {
        out += '\\';
        out += static_cast<char>(u);
      } else if (u == u'\t') {
        out += "\\tab ";
      } else if (u == 0x2028 || u == 0x2029 || u == u'\n') {
        out += "\\line ";
      } else if (u == 0x00A0) {
        out += "\\~";
      } else if (u >= 0x20 && u < 0x7F) {
        out += static_cast<char>(u);
      } else if (u < 0x20 || u == 0x7F || u == QChar::ObjectReplacementCharacter) {
        // Control characters and embedded objects have no text to keep.
      } else {
        QByteArray fallback = "?";
        if (!c.isSurrogate()) {
          QStringEncoder encoder("GB18030");
          const QByteArray bytes = encoder.encode(QString(c));
          if (bytes.size() == 2 && !encoder.hasError()) {
            fallback.clear();
            for (const char byte : bytes) {
              fallback += "\\'" + QByteArray::number(static_cast<unsigned char>(byte), 16).rightJustified(2, '0');
            }
          }
        }
        const int needed = fallback == "?" ? 1 : 2;
        if (needed != skip) out += "\\uc" + QByteArray::number(needed);
        skip = needed;
        out += "\\u" + QByteArray::number(static_cast<int>(static_cast<qint16>(u)));
        out += fallback;
      }
    }
  }

  const QTextDocument& document_;
  QFont base_;
  QStringList fonts_;
  QList<QColor> colors_;
};

}  // namespace

QByteArray write_rtf(const QTextDocument& document) {
  return RtfWriter(document).write();
}

}  // namespace tavuro::reports
