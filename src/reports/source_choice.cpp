#include "reports/source_choice.h"

#include "headoffice/server_queries.h"
#include "headoffice/server_schema.h"
#include "headoffice/till_files.h"
#include "platform/dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QRadioButton>

namespace tavuro::reports {

QString all_tills_entry() { return QStringLiteral("全部收银台"); }

SourceChoice::SourceChoice(const QString& app_dir, QWidget* parent) : QGroupBox(QStringLiteral("数据来源"), parent) {
  setObjectName(QStringLiteral("Frame_来源"));
  Option本机_ = new QRadioButton(QStringLiteral("本机"), this);
  Option本机_->setObjectName(QStringLiteral("Option本机"));
  Option总店_ = new QRadioButton(QStringLiteral("总店服务器"), this);
  Option总店_->setObjectName(QStringLiteral("Option总店"));
  Co_收银台_ = new QComboBox(this);
  Co_收银台_->setObjectName(QStringLiteral("Co_收银台"));
  Co_收银台_->addItem(all_tills_entry());
  Co_收银台_->setEnabled(false);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(Option本机_);
  layout->addWidget(Option总店_);
  layout->addWidget(Co_收银台_);
  layout->addStretch();
  Option本机_->setChecked(true);

  const std::optional<QString> settings = headoffice::server_settings(app_dir);
  settings_ = settings.value_or(QString());
  setVisible(settings.has_value());
  connect(Option本机_, &QRadioButton::clicked, this, [this] {
    if (!server_) return;
    server_.reset();
    Co_收银台_->setEnabled(false);
    Q_EMIT changed();
  });
  connect(Option总店_, &QRadioButton::clicked, this, [this] {
    if (!server_) choose_server();
  });
  connect(Co_收银台_, &QComboBox::activated, this, [this] { Q_EMIT changed(); });
}

QString SourceChoice::till() const {
  return Co_收银台_->currentIndex() <= 0 ? QString() : Co_收银台_->currentText();
}

void SourceChoice::choose_server() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    headoffice::PgConnection connection = headoffice::PgConnection::open(settings_);
    headoffice::ensure_schema(connection);
    const QStringList tills = headoffice::server_tills(connection);
    server_.emplace(std::move(connection));
    QApplication::restoreOverrideCursor();
    Co_收银台_->clear();
    Co_收银台_->addItem(all_tills_entry());
    Co_收银台_->addItems(tills);
    Co_收银台_->setEnabled(true);
    Q_EMIT changed();
  } catch (const headoffice::ServerError& error) {
    QApplication::restoreOverrideCursor();
    fall_back(error);
  }
}

void SourceChoice::fall_back(const headoffice::ServerError& error) {
  const bool was_on_server = server_.has_value();
  server_.reset();
  Option本机_->setChecked(true);
  Co_收银台_->setEnabled(false);
  platform::warn(headoffice::server_failure_message(error));
  if (was_on_server) Q_EMIT changed();
}

}  // namespace tavuro::reports
