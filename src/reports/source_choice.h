#pragma once
// The source choice of the query and report windows: "本机" (this till's day files) or
// "总店服务器" (the head office's server, over all tills or one). It shows only when the
// till has a server.dat. Choosing the server connects to it; a server that cannot be
// reached within the connect timeout is said so and the choice goes back to 本机.

#include "headoffice/pg_connection.h"

#include <QGroupBox>
#include <optional>

class QComboBox;
class QRadioButton;

namespace tavuro::reports {

class SourceChoice final : public QGroupBox {
  Q_OBJECT

 public:
  explicit SourceChoice(const QString& app_dir, QWidget* parent = nullptr);

  // Whether the server is chosen (and connected).
  bool on_server() const { return server_.has_value(); }
  // The connection while the server is chosen.
  headoffice::PgConnection* server() { return server_ ? &*server_ : nullptr; }
  // The till chosen, or empty for all tills.
  QString till() const;
  // Chooses 本机 again after the server failed, saying why.
  void fall_back(const headoffice::ServerError& error);

  QRadioButton* local_button() const { return Option本机_; }
  QRadioButton* server_button() const { return Option总店_; }
  QComboBox* till_box() const { return Co_收银台_; }

 Q_SIGNALS:
  // The source or the till changed: the window lists its day files again.
  void changed();

 private:
  void choose_server();

  QString settings_;
  std::optional<headoffice::PgConnection> server_;
  QRadioButton* Option本机_ = nullptr;
  QRadioButton* Option总店_ = nullptr;
  QComboBox* Co_收银台_ = nullptr;
};

// The entry of the till box that stands for every till.
QString all_tills_entry();

}  // namespace tavuro::reports
