// The child of the power-loss tests: makes a few changes of one kind to a shop that the
// parent has prepared, under the file operation recorder (fs_recorder), and marks each
// change in the record once the call has returned ("ack …"), as the cashier would see it.
//
//   power_loss_child <sale|goods|edit|receipt|new-month|recovery> <application directory> <changes>
//
// Messages are printed as "message <text>"; questions are answered Yes. Prints "done".

#include "cashier/receipt_number.h"
#include "cashier/record_edit.h"
#include "cashier/sale_record.h"
#include "catalogues/goods_catalogue.h"
#include "sales/journaled_change.h"
#include "store/data_file.h"
#include "platform/dialogs.h"
#include "startup/data_files.h"
#include "startup/start_up.h"

#include <QCoreApplication>
#include <QDate>
#include <QTime>

#include <dlfcn.h>
#include <cstdio>

using namespace tavuro;

namespace {

void print_line(const QString& line) {
  std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stdout);
  std::fflush(stdout);
}

// Puts text into the record, when the recorder is there.
void acknowledge(const QString& text) {
  using Mark = void (*)(const char*);
  static const auto mark = reinterpret_cast<Mark>(dlsym(RTLD_DEFAULT, "tavuro_fsrec_mark"));
  if (mark != nullptr) mark(text.toUtf8().constData());
  print_line(QStringLiteral("ack ") + text);
}

class AnsweringDialogs final : public platform::Dialogs {
 public:
  platform::Answer message(const QString& text, platform::Icon, platform::Buttons buttons, const QString&) override {
    QString flat = text;
    flat.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    print_line(QStringLiteral("message ") + flat);
    return buttons == platform::Buttons::Ok ? platform::Answer::Ok : platform::Answer::Yes;
  }
  std::optional<QString> input(const QString&, const QString&, const QString&) override { return std::nullopt; }
  std::optional<QString> open_file(const platform::FileRequest&) override { return std::nullopt; }
  std::optional<QString> save_file(const platform::FileRequest&) override { return std::nullopt; }
  std::optional<QColor> color(const QColor&) override { return std::nullopt; }
  bool print(platform::PrintRequest&) override { return false; }
};

cashier::SaleRecord line(const QString& receipt, const QString& time) {
  return {{QStringLiteral("可乐"), QStringLiteral("2.00"), QStringLiteral("2.50"), QStringLiteral("5.00"),
           QStringLiteral("001"), time},
          QString(),
          receipt};
}

// Lines 000901, 000902, … one second apart.
void record_sales(const startup::AppState& state, int count) {
  for (int i = 1; i <= count; ++i) {
    const QString receipt = QStringLiteral("%1").arg(900 + i, 6, 10, QLatin1Char('0'));
    if (cashier::save_line(state.paths,
                           line(receipt, QTime(15, 5, 8).addSecs(i).toString(QStringLiteral("HH:mm:ss"))))) {
      acknowledge(receipt);
    }
  }
}

// The first record of the file whose field holds value, as a list read it.
std::optional<store::RecordRef> first_record(const QString& path, const QString& field, const QString& value) {
  const store::DataFile file = store::DataFile::open(path);
  const auto found = file.find_first({}, [&](const store::Record& record) { return record.value(field) == value; });
  if (!found) return std::nullopt;
  return file.ref_to(*found);
}

// New goods 新货1, 新货2, …, then a new price of 茶 and 可乐 deleted.
void change_goods(const startup::AppState& state, int count) {
  for (int i = 1; i <= count; ++i) {
    const QString name = QStringLiteral("新货%1").arg(i);
    if (catalogues::add_shop(state, name, QStringLiteral("3.00")) == catalogues::AddShopResult::Registered) {
      acknowledge(QStringLiteral("add ") + name);
    }
  }
  if (catalogues::add_shop(state, QStringLiteral("茶"), QStringLiteral("9.99")) ==
      catalogues::AddShopResult::PriceChanged) {
    acknowledge(QStringLiteral("price 茶"));
  }
  const auto cola = first_record(state.paths.shop_file, store::shop::kGoods, QStringLiteral("可乐"));
  if (cola && catalogues::del_shop(state, QStringLiteral("可乐"), *cola)) acknowledge(QStringLiteral("del 可乐"));
}

// Edit n of the record 茶 at 09:00:03: quantity n + 1, amount 2.50 times that.
void edit_record(const startup::AppState& state, int count) {
  cashier::RecordEditor editor;
  const auto tea = first_record(state.paths.day_file, store::day::kTime, QStringLiteral("09:00:03"));
  if (!tea || editor.open(*tea, state.paths.day_backup) != cashier::RecordLookup::Found) return;
  const auto context = sales::change_context(state.paths.journal_file, state.current_operator);
  for (int n = 1; n <= count; ++n) {
    cashier::EditedRecord changed = editor.record();
    changed.quantity = QStringLiteral("%1.00").arg(n + 1);
    changed.amount = QString::number((n + 1) * 2.5, 'f', 2);
    editor.save(changed, context);
    acknowledge(QStringLiteral("edit %1").arg(n));
  }
  editor.close();
}

void issue_receipts(startup::AppState& state, int count) {
  for (int i = 0; i < count; ++i) {
    if (cashier::new_receipt_no(state)) acknowledge(QString::number(state.receipt_counter));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  QCoreApplication app(argc, argv);
  AnsweringDialogs dialogs;
  platform::ScopedDialogs scope(dialogs);
  const QString mode = QString::fromLatin1(argv[1]);
  startup::AppState state;
  // Makes the month folder when it is missing, as every start-up does.
  startup::set_paths(state, QString::fromLocal8Bit(argv[2]), QDate(2003, 5, 7));
  const int count = QString::fromLatin1(argv[3]).toInt();
  try {
    if (mode == QStringLiteral("sale") || mode == QStringLiteral("recovery")) {
      record_sales(state, count);
    } else if (mode == QStringLiteral("new-month")) {
      startup::make_day_file(state);
      record_sales(state, count);
    } else if (mode == QStringLiteral("goods")) {
      change_goods(state, count);
    } else if (mode == QStringLiteral("edit")) {
      edit_record(state, count);
    } else if (mode == QStringLiteral("receipt")) {
      issue_receipts(state, count);
    } else {
      return 2;
    }
  } catch (const store::StoreError& error) {
    print_line(QStringLiteral("error ") + QString::fromUtf8(error.what()));
    return 1;
  }
  print_line(QStringLiteral("done"));
  return 0;
}
