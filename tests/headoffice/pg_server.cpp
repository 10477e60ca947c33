#include "pg_server.h"

#include "headoffice/pg_connection.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <pwd.h>
#include <unistd.h>

namespace tavuro::headoffice::test {

namespace {

const QString kUnprivilegedUser = QStringLiteral("postgres");
const QString kRole = QStringLiteral("tavuro");
// Generous: initdb and a start take seconds under the sanitizers on a busy machine.
constexpr int kToolPatienceMs = 180000;

// A port of 127.0.0.1 that no one listens on: the system's choice for a socket bound to 0.
int free_port() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return 0;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  int port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port = ntohs(address.sin_port);
  }
  ::close(fd);
  return port;
}

}  // namespace

QString postgres_bin_dir() {
  for (const QString& version : {QStringLiteral("17"), QStringLiteral("16"), QStringLiteral("15")}) {
    const QString dir = QStringLiteral("/usr/lib/postgresql/%1/bin").arg(version);
    if (QFileInfo(dir + QStringLiteral("/pg_ctl")).isExecutable()) return dir;
  }
  return {};
}

bool PgServer::run(const QString& tool, const QStringList& args, QString* output) {
  QString program = postgres_bin_dir() + QLatin1Char('/') + tool;
  QStringList arguments = args;
  if (::geteuid() == 0) {
    arguments.prepend(program);
    arguments = QStringList{QStringLiteral("-u"), kUnprivilegedUser, QStringLiteral("--")} + arguments;
    program = QStringLiteral("runuser");
  }
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.setWorkingDirectory(dir_.path());
  process.start(program, arguments);
  const bool finished = process.waitForFinished(kToolPatienceMs);
  const QString said = QString::fromUtf8(process.readAll());
  if (output) *output = said;
  if (!finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
    problem_ = tool + QStringLiteral(" failed: ") + said;
    return false;
  }
  return true;
}

PgServer::PgServer() {
  if (postgres_bin_dir().isEmpty()) {
    problem_ = QStringLiteral("PostgreSQL is not installed (no /usr/lib/postgresql/*/bin/pg_ctl)");
    return;
  }
  if (!dir_.isValid()) {
    problem_ = QStringLiteral("no temporary folder");
    return;
  }
  if (::geteuid() == 0) {
    const passwd* user = ::getpwnam(kUnprivilegedUser.toUtf8().constData());
    if (user == nullptr || ::chown(QFile::encodeName(dir_.path()).constData(), user->pw_uid, user->pw_gid) != 0) {
      problem_ = QStringLiteral("the folder cannot be given to the user postgres");
      return;
    }
  }
  data_ = dir_.filePath(QStringLiteral("data"));
  if (!run(QStringLiteral("initdb"), {QStringLiteral("-D"), data_, QStringLiteral("-U"), kRole, QStringLiteral("-A"),
                                      QStringLiteral("trust"), QStringLiteral("-E"), QStringLiteral("UTF8"),
                                      QStringLiteral("--locale=C"), QStringLiteral("--no-sync")})) {
    return;
  }
  start();
}

bool PgServer::start() {
  if (port_ == 0) port_ = free_port();
  const QString options = QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=40")
                              .arg(port_)
                              .arg(dir_.path());
  running_ = run(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), data_, QStringLiteral("-o"), options,
                                            QStringLiteral("-l"), dir_.filePath(QStringLiteral("server.log")),
                                            QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("180"),
                                            QStringLiteral("start")});
  return running_;
}

bool PgServer::stop() {
  if (!running_) return true;
  running_ = !run(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), data_, QStringLiteral("-m"), QStringLiteral("immediate"),
                                             QStringLiteral("-w"), QStringLiteral("stop")});
  return !running_;
}

PgServer::~PgServer() { stop(); }

QString PgServer::settings(const QString& database) const {
  return QStringLiteral("host=127.0.0.1 port=%1 dbname=%2 user=%3").arg(port_).arg(database, kRole);
}

bool PgServer::create_database(const QString& name) {
  try {
    PgConnection server = PgConnection::open(settings());
    server.exec(QStringLiteral("CREATE DATABASE ") + name);
    return true;
  } catch (const ServerError& error) {
    problem_ = error.detail();
    return false;
  }
}

}  // namespace tavuro::headoffice::test
