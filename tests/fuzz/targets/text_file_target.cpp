#include "fuzz_support.h"
#include "fuzz_targets.h"

#include "platform/file_ops.h"
#include "platform/text_file.h"
#include "printing/printer_setting.h"
#include "startup/paths.h"
#include "startup/settings.h"

#include <QDate>

namespace tavuro::fuzz {

int text_reader(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString text = platform::from_file_bytes(bytes);
  // A report the program writes in GB18030 reads back unchanged, unless its bytes happen
  // to be valid UTF-8 as well (then the reading may take them for UTF-8).
  const QByteArray written = platform::to_local_code_page(text);
  const QString as_utf8 = QString::fromUtf8(written);
  const bool also_utf8 = as_utf8.toUtf8() == written && as_utf8 != text;
  if (!also_utf8) {
    require(platform::from_file_bytes(written) == text || text.contains(QChar::ReplacementCharacter),
            "what the program writes reads back", text);
  }

  // A setting file the program writes reads back unchanged, whatever it holds.
  require(platform::from_file_bytes(platform::setting_file_bytes(text)) == text, "a setting file reads back", text);

  const QString path = scratch_dir() + QStringLiteral("/line.txt");
  require(platform::write_file_atomic(path, bytes), "scratch file written", path);
  const auto line = platform::read_first_line(path);
  require(line.has_value() == !bytes.isEmpty(), "only an empty file has no first line", text);
  if (line) require(!line->contains(QLatin1Char('\n')), "the first line has no line end", *line);
  return 0;
}

int setting_files(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  startup::AppState state;
  state.paths = startup::make_paths(scratch_dir(), QDate(2003, 5, 7));
  for (const QString& path : {state.paths.nober_file, state.paths.co_file, state.paths.public_file, state.paths.p_file,
                              state.paths.printer_file}) {
    require(platform::write_file_atomic(path, bytes), "scratch file written", path);
  }
  startup::load_receipt_counter(state);
  startup::load_company_name(state);
  startup::load_mask_setting(state);
  startup::load_admin_password(state);
  startup::load_receipt_printer(state);
  require(printing::is_usable(state.receipt_printer), "the receipt printer read can be used",
          printing::setting_line(state.receipt_printer));
  require(printing::parse_setting_line(printing::setting_line(state.receipt_printer)) == state.receipt_printer,
          "the receipt printer's line reads back as the same printer", printing::setting_line(state.receipt_printer));
  require(state.mask_setting.startsWith(QStringLiteral("屏蔽")), "the mask setting always begins with 屏蔽",
          state.mask_setting);
  require(!state.company_name.startsWith(QLatin1Char(' ')) && !state.company_name.endsWith(QLatin1Char(' ')),
          "the company name is trimmed", state.company_name);
  require(!state.admin_password.startsWith(QLatin1Char(' ')) && !state.admin_password.endsWith(QLatin1Char(' ')),
          "the password is trimmed", state.admin_password);
  const QString number = startup::receipt_number_text(state.receipt_counter);
  require(number.size() >= 6, "a receipt number has at least six characters", number);
  return 0;
}

}  // namespace tavuro::fuzz
