#pragma once
// A realistic shop made up from a fixed seed: 2,000 goods with Chinese names, 20
// operators, 500 customers, a month of 31 busy days and a year of quieter ones, all
// written through the record store as real data files.

#include <QString>
#include <QStringList>
#include <cstdint>

namespace tavuro::bench {

struct ShopSize {
  int goods = 2000;
  int operators = 20;
  int customers = 500;
  int month_days = 31;
  int lines_per_month_day = 5000;
  int year_days = 365;
  int lines_per_year_day = 1000;
};

struct GeneratedShop {
  QString app_dir;        // shop.dat, use.dat, kefu.dat and the setting files
  QString month_folder;   // <app_dir>/2026_1 with 1.day … 31.day
  QString year_folder;    // <app_dir>/year with 1.day … 365.day
  QStringList goods;     // names in catalogue order
  QStringList prices;
  QStringList operators;
  QStringList customers;
};

// Makes the shop in app_dir unless a complete one from the same seed is already there.
GeneratedShop generate_shop(const QString& app_dir, const ShopSize& size = {}, uint32_t seed = 20260108);

// Writes one day file of n sale lines of the shop (used for the recording workloads).
void write_day_file(const GeneratedShop& shop, const QString& path, int lines, uint32_t seed);

}  // namespace tavuro::bench
