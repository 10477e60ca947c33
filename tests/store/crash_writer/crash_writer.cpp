// Appends sale lines to a day file in a loop, and after each append has returned prints
// "ack <n>" (the record carries "<run>:<n>") on stdout. The parent kills it at a random moment and checks the file.

#include "store/backup.h"
#include "store/data_file.h"

#include <QCoreApplication>
#include <QString>

#include <cstdio>

using namespace tavuro::store;

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 4) return 2;
  const QString path = QString::fromLocal8Bit(argv[1]);
  const QString backup = QString::fromLocal8Bit(argv[2]);
  const QString run = QString::fromLocal8Bit(argv[3]);
  for (int n = 1;; ++n) {
    {
      DataFile file = DataFile::open(path);
      file.append({{day::kGoods, QStringLiteral("可乐")},
                   {day::kQuantity, QStringLiteral("1.00")},
                   {day::kAmount, QStringLiteral("2.50")},
                   {day::kReceiptNo, run + QLatin1Char(':') + QString::number(n)}});
    }
    backup_file(path, backup);
    std::printf("ack %d\n", n);
    std::fflush(stdout);
  }
}
