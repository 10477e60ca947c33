#include "cups_server.h"

#include "support/waiting.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cups/cups.h>
#include <grp.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace tavuro::printing::test {

namespace {

// The backend: a job's file (or its standard input) appended to the file its URI names.
const char* const kCaptureBackend = R"(#!/bin/sh
if [ $# -eq 0 ]; then echo 'direct capture "Unknown" "Keeps each job in a file"'; exit 0; fi
out="${DEVICE_URI#capture:}"
if [ $# -ge 6 ]; then cat "$6" >> "$out"; else cat >> "$out"; fi
)";

bool write_file(const QString& path, const QByteArray& text, QFile::Permissions permissions) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.setPermissions(permissions);
}

bool accepts_connections(const QString& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const QByteArray name = QFile::encodeName(path);
  std::copy_n(name.constData(), std::min<qsizetype>(name.size(), sizeof address.sun_path - 1), address.sun_path);
  const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return connected;
}

}  // namespace

CupsServer::CupsServer() {
  const QString cupsd = QStandardPaths::findExecutable(QStringLiteral("cupsd"), {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
  if (cupsd.isEmpty()) {
    problem_ = QStringLiteral("cupsd is not installed (Debian package cups-daemon)");
    return;
  }
  if (QStandardPaths::findExecutable(QStringLiteral("lpadmin"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")})
          .isEmpty()) {
    problem_ = QStringLiteral("lpadmin is not installed (Debian package cups-client)");
    return;
  }
  if (!write_configuration()) {
    problem_ = QStringLiteral("the scheduler's configuration could not be written");
    return;
  }
  cupsd_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  cupsd_.start(cupsd, {QStringLiteral("-f"), QStringLiteral("-c"), dir_.filePath(QStringLiteral("cupsd.conf")),
                       QStringLiteral("-s"), dir_.filePath(QStringLiteral("cups-files.conf"))});
  if (!cupsd_.waitForStarted() ||
      !testing::wait_until([this] { return accepts_connections(socket()) || cupsd_.state() != QProcess::Running; }) ||
      cupsd_.state() != QProcess::Running) {
    problem_ = QStringLiteral("cupsd did not start: ") + QString::fromLocal8Bit(cupsd_.readAllStandardOutput());
  }
}

CupsServer::~CupsServer() {
  if (cupsd_.state() == QProcess::NotRunning) return;
  cupsd_.terminate();
  if (!cupsd_.waitForFinished(static_cast<int>(testing::kPatience.count()))) cupsd_.kill();
}

bool CupsServer::write_configuration() {
  const QDir root(dir_.path());
  for (const char* folder : {"spool", "cache", "state", "log", "out", "bin/backend"}) {
    if (!root.mkpath(QString::fromLatin1(folder))) return false;
  }
  // The scheduler's own helpers from the system; the backend of our own. A backend that
  // only its owner may run runs as its owner, so as root it can write into this folder.
  if (!QFile::link(QStringLiteral("/usr/lib/cups/daemon"), root.filePath(QStringLiteral("bin/daemon"))) ||
      !write_file(root.filePath(QStringLiteral("bin/backend/capture")), kCaptureBackend,
                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
    return false;
  }
  const group* own_group = ::getgrgid(::getegid());
  const QString system_group = own_group != nullptr ? QString::fromLocal8Bit(own_group->gr_name) : QStringLiteral("root");
  const QByteArray files = QStringLiteral(
                               "ServerRoot %1\nStateDir %1/state\nCacheDir %1/cache\nRequestRoot %1/spool\n"
                               "TempDir %1/spool\nErrorLog %1/log/error_log\nAccessLog %1/log/access_log\n"
                               "PageLog %1/log/page_log\nServerBin %1/bin\nDataDir /usr/share/cups\n"
                               "SystemGroup %2\n")
                               .arg(dir_.path(), system_group)
                               .toUtf8();
  const QByteArray daemon = QStringLiteral(
                                "Listen %1\nLogLevel warn\nBrowsing No\nWebInterface No\nDefaultAuthType None\n"
                                "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
                                .arg(socket())
                                .toUtf8();
  const auto readable = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
  return write_file(root.filePath(QStringLiteral("cups-files.conf")), files, readable) &&
         write_file(root.filePath(QStringLiteral("cupsd.conf")), daemon, readable);
}

bool CupsServer::run_lpadmin(const QStringList& arguments) {
  QProcess lpadmin;
  lpadmin.setProcessChannelMode(QProcess::ForwardedChannels);
  lpadmin.start(QStringLiteral("lpadmin"), QStringList{QStringLiteral("-h"), socket()} + arguments);
  return lpadmin.waitForFinished(static_cast<int>(testing::kPatience.count())) &&
         lpadmin.exitStatus() == QProcess::NormalExit && lpadmin.exitCode() == 0;
}

bool CupsServer::add_queue(const QString& name, bool accepting) {
  QStringList arguments{QStringLiteral("-p"), name, QStringLiteral("-v"), QStringLiteral("capture:") + output(name)};
  // -E enables the queue and lets it take jobs; without it the queue refuses them.
  if (accepting) arguments << QStringLiteral("-E");
  return run_lpadmin(arguments);
}

// Named in ASCII: a device URI holds no Chinese.
QString CupsServer::output(const QString& name) const {
  return dir_.filePath(QStringLiteral("out/") + QString::fromLatin1(name.toUtf8().toHex()));
}

ScopedCupsServer::ScopedCupsServer(const QString& server)
    : previous_(qgetenv("CUPS_SERVER")), had_previous_(qEnvironmentVariableIsSet("CUPS_SERVER")) {
  qputenv("CUPS_SERVER", QFile::encodeName(server));
  cupsSetServer(nullptr);  // libcups reads the variable again
}

ScopedCupsServer::~ScopedCupsServer() {
  if (had_previous_) {
    qputenv("CUPS_SERVER", previous_);
  } else {
    qunsetenv("CUPS_SERVER");
  }
  cupsSetServer(nullptr);
}

}  // namespace tavuro::printing::test
