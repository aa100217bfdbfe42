#include "MessageTransfer.h"
#include "SignLink.h"
#include "TestSupport.h"

#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <sys/resource.h>

using namespace lumawrite;
using namespace lumawrite::link;

namespace {
double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}
} // namespace

// The real pacing: a one-block message is eight frames, 2000 ms apart, about 16 seconds.
TEST(Pacing, FramesArriveTwoSecondsApartAndWaitingCostsNoCpu)
{
    QUdpSocket sign;
    ASSERT_TRUE(sign.bind(QHostAddress::LocalHost, 0));
    QElapsedTimer clock;
    clock.start();
    QList<qint64> arrivals;
    QObject::connect(&sign, &QUdpSocket::readyRead, &sign, [&] {
        while (sign.hasPendingDatagrams()) {
            sign.receiveDatagram();
            arrivals.append(clock.nsecsElapsed());
        }
    });

    SignLink link(test::noSuchDevice, LinkTiming{}, sign.localPort());
    link.setDestination(QStringLiteral("127.0.0.1"));
    MessageTransfer transfer(link, {[] { return true; }, [] { return 9; }});
    std::array<quint8, 20001> memory{};
    qint16 blockCount = 1;

    QSignalSpy finished(&transfer, &MessageTransfer::finished);
    const double cpuBefore = cpuSeconds();
    transfer.SendMessage({memory.data(), int(memory.size()), &blockCount}, 19);
    ASSERT_TRUE(finished.wait(25000));
    const double cpuUsed = cpuSeconds() - cpuBefore;

    ASSERT_EQ(arrivals.size(), 8);
    double worst = 0;
    for (int i = 1; i < arrivals.size(); ++i) {
        const double gapMs = (arrivals[i] - arrivals[i - 1]) / 1e6;
        worst = std::max(worst, std::abs(gapMs - 2000.0));
        EXPECT_NEAR(gapMs, 2000.0, 20.0) << "gap " << i;
    }
    std::printf("pacing: 7 gaps, worst deviation %.2f ms; CPU used during the transfer %.3f s\n",
                worst, cpuUsed);
    EXPECT_LT(cpuUsed, 0.5);
}
