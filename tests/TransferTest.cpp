#include "MessageTransfer.h"
#include "SignLink.h"
#include "TestSupport.h"

#include <QElapsedTimer>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using lumawrite::test::bytes;

#include <memory>
#include <vector>

using namespace lumawrite;
using namespace lumawrite::link;
using lumawrite::test::LoopbackSign;
using lumawrite::test::PtyPair;

namespace {

using Outcome = MessageTransfer::Outcome;
using Result = MessageTransfer::Result;

const LinkTiming Fast{20, 30};

struct Harness {
    explicit Harness(quint16 signPort, HostResolver resolver = systemResolver)
        : link(lumawrite::test::noSuchDevice, Fast, signPort, std::move(resolver))
    {
        link.setDestination(QStringLiteral("127.0.0.1"));
        transfer = std::make_unique<MessageTransfer>(
            link, MessageTransfer::Controls{[this] { return lan; }, [this] { return speed; }});
        QObject::connect(transfer.get(), &MessageTransfer::begun, transfer.get(),
                         [this](int blocks) { begunBlocks = blocks; });
    }

    void setBlocks(int n) { columns.resize(std::size_t(n) * 128); }

    Outcome run(int serialAddressIndex = 19)
    {
        QSignalSpy done(transfer.get(), &MessageTransfer::finished);
        QObject::connect(transfer.get(), &MessageTransfer::statusChanged, transfer.get(),
                         [this](const QString &t) { status.append(t); });
        transfer->SendMessage(columns, serialAddressIndex);
        if (done.isEmpty()) {
            EXPECT_TRUE(done.wait(10000));
        }
        return done.isEmpty() ? Outcome{} : done.first().first().value<Outcome>();
    }

    SignLink link;
    std::unique_ptr<MessageTransfer> transfer;
    std::vector<quint8> columns = std::vector<quint8>(128);
    int begunBlocks = -1; // the blocks the sign is to hold, once the transfer began
    bool lan = true;
    int speed = 9;
    QStringList status;
};

} // namespace

TEST(Transfer, UdpDeliversEveryFrameExactlyAndInOrder)
{
    LoopbackSign sign;
    Harness h(sign.port());
    for (int i = 0; i < 128; ++i)
        h.columns[i] = quint8(0x80 + i);

    const Outcome outcome = h.run();
    EXPECT_EQ(outcome.result, Result::Completed);
    EXPECT_EQ(outcome.framesSent, 8);
    EXPECT_EQ(outcome.framesTotal, 8);
    EXPECT_EQ(h.begunBlocks, 6);

    QList<QByteArray> frames;
    QTRY_COMPARE((frames += sign.take()).size(), 8);
    for (int n = 0; n < 6; ++n) {
        ASSERT_EQ(frames[n].size(), 140) << n;
        const int address = 0x0200 + 128 * n;
        EXPECT_EQ(frames[n].left(12), bytes({0xAA, 0xCC, 0x00, 0x8C, 0x32, 0x30, 0x00, 0x10,
                                             address >> 8, address & 0xFF, 0x00, 0x80}))
            << n;
    }
    for (int i = 0; i < 128; ++i)
        EXPECT_EQ(quint8(frames[0][12 + i]), 0x80 + i);
    // The five blocks behind the message are blank.
    for (int n = 1; n < 6; ++n)
        EXPECT_EQ(frames[n].mid(12), QByteArray(128, '\0')) << n;
    EXPECT_EQ(frames[6], bytes({0xAA, 0xCC, 0x00, 0x10, 0x32, 0x30, 0x00, 0x10, 0x01, 0x00, 0x00,
                                0x04, 0x01, 0x80, 0x00, 0x0A}));
    EXPECT_EQ(frames[7], bytes({0xAA, 0xCC, 0x00, 0x08, 0x32, 0x30, 0x00, 0x20}));

    EXPECT_EQ(h.status, QStringList({"Sending 1 of 6", "Sending 2 of 6", "Sending 3 of 6",
                                     "Sending 4 of 6", "Sending 5 of 6", "Sending 6 of 6",
                                     "Sending Config ...", "Restarting ...", ""}));
}

TEST(Transfer, AbsentSignIsNoError)
{
    const quint16 closedPort = test::freeUdpPort();
    ASSERT_NE(closedPort, 0);
    Harness h(closedPort);
    h.setBlocks(2);
    const Outcome outcome = h.run();
    EXPECT_EQ(outcome.result, Result::Completed);
    EXPECT_EQ(outcome.framesSent, 9);
    EXPECT_EQ(h.begunBlocks, 7);
}

TEST(Transfer, FailureCarriesItsKindBesideItsSentence)
{
    LoopbackSign sign;
    Harness h(sign.port());
    h.link.setDatagramSender([](const QByteArray &, const QHostAddress &, quint16) {
        return QStringLiteral("Network is unreachable");
    });
    const Outcome outcome = h.run();
    EXPECT_EQ(outcome.result, Result::Failed);
    EXPECT_EQ(outcome.linkError, LinkError::DatagramFailed);
    EXPECT_EQ(outcome.message, QStringLiteral("Network is unreachable"));
    EXPECT_EQ(outcome.framesSent, 0);
}

TEST(Transfer, ReadsTheLinkBeforeEveryFrameAndTheSpeedAfterTheBlocks)
{
    LoopbackSign sign;
    Harness h(sign.port());
    QObject::connect(h.transfer.get(), &MessageTransfer::statusChanged, h.transfer.get(),
                     [&h](const QString &text) {
                         if (text == QStringLiteral("Sending 6 of 6"))
                             h.speed = 0; // changed before the parameter frame is built
                         if (text == QStringLiteral("Restarting ..."))
                             h.lan = false; // serial port not open: nothing goes out
                     });
    const Outcome outcome = h.run(-1);
    EXPECT_EQ(outcome.result, Result::Completed);
    EXPECT_EQ(outcome.framesSent, 7);
    EXPECT_EQ(outcome.framesSkipped, 1);

    QList<QByteArray> frames;
    QTRY_COMPARE((frames += sign.take()).size(), 7);
    EXPECT_EQ(frames[0].mid(4, 2), QByteArray("00")); // no address selected
    EXPECT_EQ(quint8(frames[6][15]), 250);            // the slowest speed
}

TEST(Transfer, RefusalsSendNothingAndTouchNothing)
{
    LoopbackSign sign;
    {
        Harness h(sign.port());
        h.lan = false; // serial chosen, its port not open
        const Outcome outcome = h.run();
        EXPECT_EQ(outcome.result, Result::Refused);
        EXPECT_TRUE(outcome.message.contains(QStringLiteral("serial port")));
        EXPECT_EQ(outcome.linkError, LinkError::SerialNotOpen);
        EXPECT_EQ(h.begunBlocks, -1);
    }
    for (const int blocks : {152, 0}) {
        Harness h(sign.port());
        h.setBlocks(blocks); // 152: the blank blocks would run past the sign's memory
        const Outcome outcome = h.run();
        EXPECT_EQ(outcome.result, Result::Refused) << blocks;
        EXPECT_EQ(
            outcome.message,
            QStringLiteral("The message has %1 blocks; at most 151 can be sent.").arg(blocks));
        EXPECT_EQ(h.begunBlocks, -1);
        EXPECT_EQ(outcome.linkError, LinkError::None); // the message, not the link
    }
    {
        Harness h(sign.port(), [](const QString &, QObject *, auto done) {
            done(QHostAddress(), QStringLiteral("Host not found"));
        });
        h.link.setDestination(QStringLiteral("sign.shop.example"));
        const Outcome outcome = h.run();
        EXPECT_EQ(outcome.result, Result::Refused);
        EXPECT_TRUE(outcome.message.contains(QStringLiteral("sign.shop.example")));
        EXPECT_TRUE(outcome.message.contains(QStringLiteral("Host not found")));
        EXPECT_EQ(outcome.linkError, LinkError::AddressUnknown);
    }
    QTest::qWait(50);
    EXPECT_TRUE(sign.take().isEmpty());

    // A host name that resolves is used like an address.
    Harness named(sign.port(), [](const QString &host, QObject *context, auto done) {
        QTimer::singleShot(10, context, [host, done] {
            done(host == QStringLiteral("sign.shop.example") ? QHostAddress::LocalHost
                                                             : QHostAddress(),
                 QString());
        });
    });
    named.link.setDestination(QStringLiteral("sign.shop.example"));
    EXPECT_EQ(named.run().result, Result::Completed);
    QList<QByteArray> frames;
    QTRY_COMPARE((frames += sign.take()).size(), 8);
}

TEST(Transfer, StopSendsNoFurtherFrame)
{
    LoopbackSign sign;
    Harness h(sign.port());
    QObject::connect(h.transfer.get(), &MessageTransfer::statusChanged, h.transfer.get(),
                     [&h](const QString &text) {
                         if (text == QStringLiteral("Sending 3 of 6"))
                             QTimer::singleShot(0, h.transfer.get(), [&h] { h.transfer->stop(); });
                     });
    const Outcome outcome = h.run();
    EXPECT_EQ(outcome.result, Result::Stopped);
    EXPECT_EQ(outcome.framesSent, 3);
    QTest::qWait(100);
    EXPECT_EQ(sign.take().size(), 3);
    EXPECT_FALSE(h.link.busy());
}

TEST(Transfer, SerialFramesGetTheirReplyWindow)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ready()) << "socat is needed for this test";
    const QString device = pty.a();
    SignLink link([device](int) { return device; }, Fast);
    ASSERT_TRUE(link.openSerial(1).isEmpty());

    QSerialPort peer(pty.b());
    ASSERT_TRUE(peer.open(QIODevice::ReadWrite));
    QByteArray received;
    int replies = 0;
    QObject::connect(&peer, &QSerialPort::readyRead, &peer, [&] {
        received += peer.readAll();
        // Answer each complete frame at once, inside its reply window.
        while (received.size() >= 8 * (replies + 1) && replies < 1) {
            ++replies;
            peer.write("R1");
        }
    });

    // One frame through Send485 directly: it returns after the reply window, with the reply.
    const QByteArray frame = bytes({0xAA, 0xCC, 0x00, 0x08, 0x32, 0x30, 0x00, 0x20});
    QElapsedTimer clock;
    clock.start();
    bool done = false;
    link.Send485(frame, [&](const SignLink::SendResult &r) {
        EXPECT_TRUE(r.error.isEmpty());
        EXPECT_TRUE(r.sent);
        done = true;
    });
    EXPECT_TRUE(link.busy()); // the reply window is open
    QTRY_VERIFY(done);
    EXPECT_GE(clock.elapsed(), Fast.replyMs - 1);
    EXPECT_FALSE(link.busy());
    EXPECT_EQ(link.RxData(), QByteArray("R1"));
    EXPECT_EQ(received, frame);

    // A whole transfer over the line: every byte arrives, each window drains its reply.
    received.clear();
    std::vector<quint8> columns(128);
    for (int i = 0; i < 128; ++i)
        columns[i] = quint8(255 - i);
    int frameReplies = 0;
    QObject::disconnect(&peer, &QSerialPort::readyRead, nullptr, nullptr);
    QObject::connect(&peer, &QSerialPort::readyRead, &peer, [&] {
        received += peer.readAll();
        peer.write(QByteArray("ack") + QByteArray::number(++frameReplies));
    });
    MessageTransfer transfer(link, {[] { return false; }, [] { return 0; }});
    QSignalSpy finished(&transfer, &MessageTransfer::finished);
    transfer.SendMessage(columns, 19);
    ASSERT_TRUE(finished.wait(10000));
    const auto outcome = finished.first().first().value<MessageTransfer::Outcome>();
    EXPECT_EQ(outcome.result, MessageTransfer::Result::Completed);
    EXPECT_EQ(outcome.framesSent, 8);
    ASSERT_EQ(received.size(), 6 * 140 + 16 + 8);
    for (int i = 0; i < 128; ++i)
        EXPECT_EQ(quint8(received[12 + i]), 255 - i);
    EXPECT_EQ(received.right(8), frame);
    EXPECT_EQ(quint8(received[6 * 140 + 15]), 250);
    // Only the last reply: the earlier ones were drained in their own windows.
    EXPECT_TRUE(link.RxData().startsWith("ack"));
    EXPECT_LE(link.RxData().size(), 6);
}

TEST(Transfer, SerialPeerThatDisappearsEndsTheTransferWithItsCount)
{
    auto pty = std::make_unique<PtyPair>();
    ASSERT_TRUE(pty->ready()) << "socat is needed for this test";
    const QString device = pty->a();
    SignLink link([device](int) { return device; }, Fast);
    ASSERT_TRUE(link.openSerial(1).isEmpty());
    QSignalSpy failed(&link, &SignLink::serialFailed);

    const std::vector<quint8> columns(128);
    MessageTransfer transfer(link, {[] { return false; }, [] { return 9; }});
    QObject::connect(&transfer, &MessageTransfer::statusChanged, &transfer,
                     [&pty](const QString &text) {
                         if (text == QStringLiteral("Sending 3 of 6"))
                             pty.reset(); // the adapter is pulled out
                     });
    QSignalSpy finished(&transfer, &MessageTransfer::finished);
    transfer.SendMessage(columns, 19);
    ASSERT_TRUE(finished.wait(10000));
    const auto outcome = finished.first().first().value<MessageTransfer::Outcome>();
    EXPECT_EQ(outcome.result, MessageTransfer::Result::Failed);
    EXPECT_TRUE(outcome.linkError == LinkError::SerialPortFailed ||
                outcome.linkError == LinkError::SerialWriteFailed);
    EXPECT_GE(outcome.framesSent, 2);
    EXPECT_LE(outcome.framesSent, 3);
    EXPECT_FALSE(outcome.message.isEmpty());
    EXPECT_FALSE(link.serialOpen());
}
