#pragma once
// A PostgreSQL server of the test's own: initdb into a temporary folder and pg_ctl on a
// free port of 127.0.0.1, stopped and removed with the object. Run as root, the server
// runs as the unprivileged user postgres, which owns the folder.

#include <QString>
#include <QTemporaryDir>

namespace tavuro::headoffice::test {

class PgServer {
 public:
  PgServer();
  ~PgServer();
  PgServer(const PgServer&) = delete;
  PgServer& operator=(const PgServer&) = delete;

  // Why the server could not be started (PostgreSQL not installed, …); empty when it runs.
  const QString& problem() const { return problem_; }
  // The connection settings of a database (made by create_database).
  QString settings(const QString& database = QStringLiteral("postgres")) const;
  // Makes a database owned by the test's role; false when it could not be made.
  bool create_database(const QString& name);

  // Stops the server at once (as a crash would) and starts it again on the same port.
  bool stop();
  bool start();
  int port() const { return port_; }

 private:
  bool run(const QString& tool, const QStringList& args, QString* output = nullptr);

  QTemporaryDir dir_;
  QString data_;
  int port_ = 0;
  bool running_ = false;
  QString problem_;
};

// The folder of the PostgreSQL programs; empty when they are not installed.
QString postgres_bin_dir();

}  // namespace tavuro::headoffice::test
