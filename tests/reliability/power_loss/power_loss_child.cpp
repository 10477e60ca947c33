// The child of the power-loss tests: makes a few changes of one kind to a shop that the
// parent has prepared, under the file operation recorder (fs_recorder), and marks each
// change in the record once the call has returned ("ack …"), as the cashier would see it.
//
//   power_loss_child <sale|goods|edit|receipt|new-month|recovery> <application directory>
//
// Messages are printed as "message <text>"; questions are answered Yes. Prints "done".

#include "cashier/receipt_number.h"
#include "cashier/record_edit.h"
#include "cashier/sale_record.h"
#include "catalogues/goods_catalogue.h"
#include "platform/dialogs.h"
#include "startup/data_files.h"
#include "startup/start_up.h"

#include <QCoreApplication>
#include <QDate>

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
  std::optional<QString> openFile(const platform::FileRequest&) override { return std::nullopt; }
  std::optional<QString> saveFile(const platform::FileRequest&) override { return std::nullopt; }
  std::optional<QColor> color(const QColor&) override { return std::nullopt; }
  bool print(platform::PrintRequest&) override { return false; }
};

cashier::SaleRecord line(const QString& receipt, const QString& time) {
  return {{QStringLiteral("可乐"), QStringLiteral("2.00"), QStringLiteral("2.50"), QStringLiteral("5.00"),
           QStringLiteral("001"), time},
          QString(),
          receipt};
}

void record_sales(const startup::AppState& state) {
  if (cashier::save_line(state.paths, line(QStringLiteral("000901"), QStringLiteral("15:05:09")))) {
    acknowledge(QStringLiteral("000901"));
  }
  if (cashier::save_line(state.paths, line(QStringLiteral("000902"), QStringLiteral("15:05:10")))) {
    acknowledge(QStringLiteral("000902"));
  }
}

void change_goods(const startup::AppState& state) {
  if (catalogues::add_shop(state, QStringLiteral("新货"), QStringLiteral("3.00")) ==
      catalogues::AddShopResult::Registered) {
    acknowledge(QStringLiteral("add 新货"));
  }
  if (catalogues::add_shop(state, QStringLiteral("茶"), QStringLiteral("9.99")) ==
      catalogues::AddShopResult::PriceChanged) {
    acknowledge(QStringLiteral("price 茶"));
  }
  if (catalogues::del_shop(state, QStringLiteral("可乐"))) acknowledge(QStringLiteral("del 可乐"));
}

void edit_record(const startup::AppState& state) {
  cashier::RecordEditor editor;
  if (editor.open(state.paths.dayFile, store::day::kGoods, QStringLiteral("茶"), store::day::kTime,
                  QStringLiteral("09:00:03")) != cashier::RecordLookup::Found) {
    return;
  }
  cashier::EditedRecord changed = editor.record();
  changed.quantity = QStringLiteral("3.00");
  changed.amount = QStringLiteral("7.50");
  editor.save(changed);
  editor.close();
  acknowledge(QStringLiteral("edit"));
}

void issue_receipts(startup::AppState& state) {
  for (int i = 0; i < 2; ++i) {
    if (cashier::new_receipt_no(state)) acknowledge(QString::number(state.receiptCounter));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  QCoreApplication app(argc, argv);
  AnsweringDialogs dialogs;
  platform::ScopedDialogs scope(dialogs);
  const QString mode = QString::fromLatin1(argv[1]);
  startup::AppState state;
  // Makes the month folder when it is missing, as every start-up does.
  startup::set_paths(state, QString::fromLocal8Bit(argv[2]), QDate(2003, 5, 7));
  try {
    if (mode == QStringLiteral("sale") || mode == QStringLiteral("recovery")) {
      record_sales(state);
    } else if (mode == QStringLiteral("new-month")) {
      startup::make_day_file(state);
      record_sales(state);
    } else if (mode == QStringLiteral("goods")) {
      change_goods(state);
    } else if (mode == QStringLiteral("edit")) {
      edit_record(state);
    } else if (mode == QStringLiteral("receipt")) {
      issue_receipts(state);
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
