#pragma once
// Every failure of the head-office server reaches its caller as a ServerError.

#include <QString>
#include <stdexcept>

namespace tavuro::headoffice {

class ServerError : public std::runtime_error {
 public:
  enum class Kind {
    Unreachable,  // no connection, or the connection was lost: worth trying again later
    Refused,      // the server refused a till's journal (its chain is broken): not retried
    Failed,       // any other failure of a statement
  };

  ServerError(Kind kind, const QString& detail) : std::runtime_error(detail.toStdString()), kind_(kind), detail_(detail) {}

  Kind kind() const { return kind_; }
  const QString& detail() const { return detail_; }

 private:
  Kind kind_;
  QString detail_;
};

}  // namespace tavuro::headoffice
