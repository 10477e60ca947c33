#pragma once
// A CUPS scheduler of the test's own: cupsd with its configuration, spool and socket in a
// temporary folder, and raw queues whose backend keeps every job in a file. libcups in
// this process is pointed at it through CUPS_SERVER.

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace tavuro::printing::test {

class CupsServer {
 public:
  CupsServer();
  ~CupsServer();
  CupsServer(const CupsServer&) = delete;
  CupsServer& operator=(const CupsServer&) = delete;

  // Why the scheduler could not be started (cupsd or lpadmin not installed, …); empty
  // when it runs.
  const QString& problem() const { return problem_; }
  QString socket() const { return dir_.filePath(QStringLiteral("cups.sock")); }

  // A raw queue (no driver, no filter) whose jobs are appended to the file of its name
  // in output(); accepting: whether it takes jobs.
  bool add_queue(const QString& name, bool accepting = true);
  QString output(const QString& name) const;

 private:
  bool write_configuration();
  bool run_lpadmin(const QStringList& arguments);

  QTemporaryDir dir_;
  QProcess cupsd_;
  QString problem_;
};

// Points libcups at a server socket for the life of the object.
class ScopedCupsServer {
 public:
  explicit ScopedCupsServer(const QString& server);
  ~ScopedCupsServer();

 private:
  QByteArray previous_;
  bool had_previous_;
};

}  // namespace tavuro::printing::test
