// The one way out for the bytes of a worker: a message is held until it is
// pushed, then leaves in whole segments with only its last one partial.
#include "TcpInfo.h"
#include "transfer/TcpConnect.h"
#include "transfer/TcpSender.h"
#include "transfer/TransferError.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <unistd.h>

#include <memory>

using namespace kyvane;

namespace {

// A connection on 127.0.0.1: the worker's end as connectTcp makes it, and
// the peer's end in this thread.
struct LoopbackPair
{
    QTcpServer server;
    int client = -1;
    std::unique_ptr<QTcpSocket> peer;

    LoopbackPair()
    {
        if (!server.listen(QHostAddress::LocalHost))
            qFatal("cannot listen");
        client = connectTcp(QStringLiteral("127.0.0.1"), server.serverPort(), 5000, nullptr);
        if (!server.waitForNewConnection(5000))
            qFatal("no connection");
        peer.reset(server.nextPendingConnection());
    }

    ~LoopbackPair() { ::close(client); }

    // Reads until count bytes have come or a wait of 10 s sees none.
    QByteArray peerReads(qint64 count) const
    {
        QByteArray bytes;
        while (bytes.size() < count) {
            if (peer->bytesAvailable() == 0 && !peer->waitForReadyRead(10000))
                break;
            bytes += peer->read(count - bytes.size());
        }
        return bytes;
    }
};

QByteArray pattern(qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 7 + i / 251);
    return bytes;
}

} // namespace

class TestTcpSender : public QObject
{
    Q_OBJECT

private slots:
    // The cork gathers small writes; Nagle's algorithm would only hold a
    // message's tail back after the push.
    void corkedWithoutNagle()
    {
        LoopbackPair pair;
        TcpSender sender(pair.client, 5000, nullptr);
        for (const int option : {TCP_NODELAY, TCP_CORK}) {
            int value = -1;
            socklen_t length = sizeof value;
            QCOMPARE(::getsockopt(pair.client, IPPROTO_TCP, option, &value, &length), 0);
            QCOMPARE(value, 1);
        }
    }

    // "START" and a small file's data, as the worker sends them: two
    // writes, held until the push, then one segment.
    void smallMessageLeavesInOneSegment_data()
    {
        QTest::addColumn<qint64>("dataSize");
        QTest::newRow("a line alone") << qint64(0);
        QTest::newRow("a line and a small file") << qint64(4096);
        QTest::newRow("a line and 10,000 bytes") << qint64(10000);
    }

    void smallMessageLeavesInOneSegment()
    {
        QFETCH(qint64, dataSize);
        LoopbackPair pair;
        TcpSender sender(pair.client, 5000, nullptr);
        const QByteArray line("START\r\n");
        const QByteArray data = pattern(dataSize);
        const tcp_info before = tcpInfoOf(pair.client);
        QVERIFY(line.size() + dataSize < before.tcpi_snd_mss);

        sender.send(line.constData(), line.size());
        sender.send(data.constData(), data.size());
        const tcp_info held = tcpInfoOf(pair.client);
        QCOMPARE(qint64(held.tcpi_notsent_bytes), line.size() + dataSize);
        QCOMPARE(held.tcpi_data_segs_out, before.tcpi_data_segs_out);

        sender.push();
        const tcp_info pushed = tcpInfoOf(pair.client);
        QCOMPARE(pushed.tcpi_notsent_bytes, 0u);
        QCOMPARE(pushed.tcpi_data_segs_out, before.tcpi_data_segs_out + 1);
        QCOMPARE(pair.peerReads(line.size() + dataSize), line + data);
    }

    // Of a message of more than a segment, the full ones leave at once and its
    // partial tail waits for the push. The message fits the peer's window,
    // so nothing but the cork holds bytes back.
    void largeMessageHoldsOnlyItsTail()
    {
        LoopbackPair pair;
        TcpSender sender(pair.client, 5000, nullptr);
        const tcp_info before = tcpInfoOf(pair.client);
        const qint64 mss = before.tcpi_snd_mss;
        const QByteArray data = pattern(before.tcpi_snd_wnd - mss / 2);
        QVERIFY2(data.size() > mss, "the peer's window holds more than a segment");
        sender.send(data.constData(), data.size());
        const qint64 held = tcpInfoOf(pair.client).tcpi_notsent_bytes;
        QVERIFY2(held > 0 && held < mss, qPrintable(QString::number(held)));
        sender.push();
        QCOMPARE(tcpInfoOf(pair.client).tcpi_notsent_bytes, 0u);
        QCOMPARE(pair.peerReads(data.size()), data);
    }

    // A push with nothing held sends nothing, and the next message is held
    // again.
    void pushWithNothingHeld()
    {
        LoopbackPair pair;
        TcpSender sender(pair.client, 5000, nullptr);
        sender.push();
        sender.send("put 1\r\n", 7);
        sender.push();
        sender.push();
        const tcp_info first = tcpInfoOf(pair.client);
        QCOMPARE(first.tcpi_data_segs_out, 1u);
        sender.send("put 2\r\n", 7);
        QCOMPARE(tcpInfoOf(pair.client).tcpi_notsent_bytes, 7u);
        sender.push();
        QCOMPARE(pair.peerReads(14), QByteArray("put 1\r\nput 2\r\n"));
    }

    // A peer that reads nothing: once the socket is full, the wait for room
    // ends at the time-out.
    void peerThatReadsNothing()
    {
        LoopbackPair pair;
        TcpSender sender(pair.client, 300, nullptr);
        const QByteArray data(64 << 20, 'x'); // more than both ends' buffers take
        QString error;
        try {
            sender.send(data.constData(), data.size());
        } catch (const TransferError& e) {
            error = e.message();
        }
        QCOMPARE(error, QStringLiteral("Write timed out."));
    }
};

QTEST_GUILESS_MAIN(TestTcpSender)
#include "tst_tcpsender.moc"
