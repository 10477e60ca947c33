#include "fuzz_support.h"
#include "fuzz_targets.h"

#include "sales/money.h"
#include "textlayout/text_layout.h"

#include <QRegularExpression>


namespace tavuro::fuzz {

using namespace textlayout;

int text_layout(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  SilentDialogs dialogs;
  platform::ScopedDialogs scope(dialogs);
  const int width = static_cast<int8_t>(data[0]);
  const QString side = (data[1] & 3) == 0 ? kLeft : (data[1] & 3) == 1 ? kRight : QStringLiteral("中");
  const QString input = QString::fromUtf8(reinterpret_cast<const char*>(data + 2), static_cast<qsizetype>(size - 2));

  QString measured = input;
  const int w = text_width(measured);
  require(w >= 0 && w <= 32767, "width in range", input);
  require(measured == trim_spaces(input), "text_width trims the caller's text", input);
  require(text_width(QString(measured)) == w, "width is stable", input);

  QString padded = input;
  const QString result = pad_text(padded, side, width);
  if (width < w) {
    require(result.isEmpty() && dialogs.messages == 1, "too wide gives the message and nothing", input);
  } else if (side != QStringLiteral("中")) {
    require(result.size() == measured.size() + (width - w), "exactly the missing spaces are added", input);
    require(side == kLeft ? result.endsWith(measured) : result.startsWith(measured), "the text keeps its side",
            input);
  } else {
    require(result == measured, "any other side gives the trimmed text", input);
  }

  QString money = input;
  const QString text = money_text(money);
  static const QRegularExpression integer(QStringLiteral("^-?[0-9]+$"));
  require(text.size() >= 4 && text.at(text.size() - 3) == QLatin1Char('.'),
          "money text ends in a point and two characters", input);
  require(integer.match(text.left(text.size() - 3)).hasMatch(), "money text starts with a whole number", input);

  // A number that an amount can be: money_text gives its stored two-decimal form.
  const QString trimmed = trim_spaces(input);
  if (const auto amount = sales::Money::parse(input); amount && amount->hundredths() >= 0 && !trimmed.startsWith(QLatin1Char('-'))) {
    require(text == amount->text(), "money text of an amount is its two-decimal form", input);
  }
  if (const auto amount = sales::Money::parse(input)) {
    require(sales::Money::parse(amount->text()) == amount, "an amount's text reads back as the amount", input);
  }
  return 0;
}

}  // namespace tavuro::fuzz
