// A raw CUPS queue on a scheduler the test starts: the golden job reaches the queue's
// backend byte for byte, and a queue that refuses jobs, one that does not exist and a
// scheduler that does not run are each named.

#include "printing/receipt_printer.h"
#include "printing/transport.h"

#include "cups_server.h"
#include "support/golden_receipt.h"
#include "support/shop_fixture.h"
#include "support/waiting.h"

#include <gtest/gtest.h>
#include <QFile>

namespace tavuro::printing {
namespace {

namespace golden = testing::golden;

struct CupsQueue : ::testing::Test {
  void SetUp() override {
    if (!server.problem().isEmpty()) GTEST_SKIP() << "no CUPS scheduler here: " << server.problem().toStdString();
  }
  test::CupsServer server;
  test::ScopedCupsServer scope{server.socket()};
};

QByteArray output_of(const test::CupsServer& server, const QString& queue) {
  return QFile::exists(server.output(queue)) ? testing::read_bytes(server.output(queue)) : QByteArray();
}

TEST_F(CupsQueue, TheGoldenJobReachesTheQueueAsItIs) {
  const QString queue = QStringLiteral("收据");
  ASSERT_TRUE(server.add_queue(queue));
  EXPECT_TRUE(cups_queues().contains(queue));

  const PrinterSetting wide{PrinterKind::Cups, queue, kDefaultPort, 80, true, true};
  EscPosPrinter printer(wide);
  for (const QString& line : golden::wide_lines()) printer.print_line(line);
  ASSERT_TRUE(printer.end_doc()) << printer.failure().toStdString();
  const QByteArray first = golden::job_of(golden::wide_lines(), true, true);
  EXPECT_EVENTUALLY_EQ(output_of(server, queue), first);

  const PrinterSetting narrow{PrinterKind::Cups, queue, kDefaultPort, 58, false, false};
  ASSERT_EQ(send_to_printer(narrow, golden::job_of(golden::narrow_lines(), false, false)), std::nullopt);
  EXPECT_EVENTUALLY_EQ(output_of(server, queue), first + golden::job_of(golden::narrow_lines(), false, false));
}

TEST_F(CupsQueue, ARefusingQueueAMissingQueueAndNoSchedulerAreNamed) {
  ASSERT_TRUE(server.add_queue(QStringLiteral("stopped"), false));
  const auto refused = send_to_cups(QStringLiteral("stopped"), "x");
  ASSERT_TRUE(refused);
  EXPECT_TRUE(refused->startsWith(QStringLiteral("CUPS 拒绝了打印任务（队列 stopped）："))) << refused->toStdString();
  EXPECT_EQ(output_of(server, QStringLiteral("stopped")), QByteArray());

  EXPECT_EQ(send_to_cups(QStringLiteral("no-such-queue"), "x"),
            QStringLiteral("CUPS 拒绝了打印任务：没有名为 no-such-queue 的打印队列"));

  const QString nowhere = server.socket() + QStringLiteral(".gone");
  test::ScopedCupsServer elsewhere(nowhere);
  EXPECT_EQ(send_to_cups(QStringLiteral("stopped"), "x"),
            QStringLiteral("连不上 CUPS 打印服务 %1（cupsd 没有运行？）").arg(nowhere));
  EXPECT_TRUE(cups_queues().isEmpty());
}

}  // namespace
}  // namespace tavuro::printing
