// A raw CUPS queue: the job goes to the printer's backend as it is, with no filter.

#include "printing/transport.h"

#include <cups/cups.h>

#include <memory>

namespace tavuro::printing {

namespace {

struct HttpClose {
  void operator()(http_t* http) const { httpClose(http); }
};
using Connection = std::unique_ptr<http_t, HttpClose>;

// Called by libcups when the server has not answered within the timeout: give up.
int give_up(http_t*, void* timed_out) {
  *static_cast<bool*>(timed_out) = true;
  return 0;
}

Connection connect_to_server(bool& timed_out) {
  Connection http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                               static_cast<int>(kAnswerTime.count()), nullptr));
  if (http) httpSetTimeout(http.get(), static_cast<double>(kAnswerTime.count()) / 1000, give_up, &timed_out);
  return http;
}

QString unreachable() {
  return QStringLiteral("连不上 CUPS 打印服务 %1（cupsd 没有运行？）").arg(QString::fromUtf8(cupsServer()));
}

}  // namespace

std::optional<QString> send_to_cups(const QString& queue, const QByteArray& bytes) {
  bool timed_out = false;
  const Connection http = connect_to_server(timed_out);
  if (!http) return unreachable();
  const QByteArray name = queue.toUtf8();
  const auto refused = [&] {
    if (timed_out) return QStringLiteral("CUPS 在 %1 秒内没有应答").arg(kAnswerTime.count() / 1000);
    return QStringLiteral("CUPS 拒绝了打印任务（队列 %1）：%2").arg(queue, QString::fromUtf8(cupsLastErrorString()));
  };
  const int job = cupsCreateJob(http.get(), name.constData(), "Tavuro收银机 收据", 0, nullptr);
  if (job == 0) {
    if (cups_dest_t* dest = cupsGetNamedDest(http.get(), name.constData(), nullptr)) {
      cupsFreeDests(1, dest);
      return refused();
    }
    return timed_out ? refused() : QStringLiteral("CUPS 拒绝了打印任务：没有名为 %1 的打印队列").arg(queue);
  }
  const bool sent =
      cupsStartDocument(http.get(), name.constData(), job, "receipt", CUPS_FORMAT_RAW, 1) == HTTP_STATUS_CONTINUE &&
      cupsWriteRequestData(http.get(), bytes.constData(), static_cast<size_t>(bytes.size())) == HTTP_STATUS_CONTINUE &&
      cupsFinishDocument(http.get(), name.constData()) == IPP_STATUS_OK;
  if (sent) return std::nullopt;
  const QString cause = refused();
  cupsCancelJob2(http.get(), name.constData(), job, 0);  // no half job left in the queue
  return cause;
}

QStringList cups_queues() {
  bool timed_out = false;
  const Connection http = connect_to_server(timed_out);
  if (!http) return {};
  cups_dest_t* dests = nullptr;
  const int count = cupsGetDests2(http.get(), &dests);
  QStringList names;
  for (int i = 0; i < count; ++i) {
    if (dests[i].instance == nullptr) names << QString::fromUtf8(dests[i].name);
  }
  cupsFreeDests(count, dests);
  return names;
}

}  // namespace tavuro::printing
