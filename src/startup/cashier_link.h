#pragma once
// What other windows ask of the cashier window: the catalogue windows reload its lists
// when they close and put the pending goods name back into its goods box. The cashier
// window implements it; the windows that call it receive it by reference, so that they
// need not include the cashier window itself.

#include <QString>

namespace tavuro::startup {

class CashierLink {
 public:
  virtual ~CashierLink() = default;
  // Reload the goods box and the goods filter from shop.dat.
  virtual void read_shop_file() = 0;
  // Reload the operator filter from use.dat.
  virtual void read_usefile() = 0;
  // Reload the customer box from kefu.dat.
  virtual void read_KeFu_file() = 0;
  // Reload today's records.
  virtual void read_myfile() = 0;
  // Set the text of the goods box (Combo1).
  virtual void set_goods_text(const QString& text) = 0;
};

}  // namespace tavuro::startup
