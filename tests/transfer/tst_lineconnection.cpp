#include "FakeServer.h"
#include "transfer/BrokenPipe.h"
#include "transfer/LineConnection.h"
#include "transfer/TransferError.h"

#include <QtTest>

#include <csignal>

using namespace kyvane;

namespace {

// The message of the TransferError that call throws, or "<no error>".
template <typename Call> QString errorOf(Call call)
{
    try {
        call();
    } catch (const TransferError& error) {
        return error.message();
    }
    return QStringLiteral("<no error>");
}

} // namespace

class TestLineConnection : public QObject
{
    Q_OBJECT

private slots:
    // Not every write can refuse SIGPIPE, which would end the program when a
    // server closes mid-file. The program ignores it once at start-up
    // (tst_programstart checks the real program); a connection leaves the
    // process's signals alone, even while it connects.
    void connectionLeavesSignalsAlone()
    {
        std::signal(SIGPIPE, SIG_DFL);
        FakeServer peer([](QTcpSocket& socket) { FakeServer::awaitClose(socket, 5000); });
        {
            LineConnection connection(1000, 1000);
            connection.open("127.0.0.1", peer.port());
            connection.close();
        }
        struct sigaction current
        {
        };
        QCOMPARE(sigaction(SIGPIPE, nullptr, &current), 0);
        const bool leftAlone = current.sa_handler == SIG_DFL;
        ignoreBrokenPipe();
        QCOMPARE(sigaction(SIGPIPE, nullptr, &current), 0);
        QVERIFY(current.sa_handler == SIG_IGN);
        QVERIFY(leftAlone);
    }

    void linesAndTheirEnds()
    {
        FakeServer peer([](QTcpSocket& socket) {
            FakeServer::send(socket, "crlf\r\nlf\nin\rside\r\n\r\n   \r\nlast\n");
            FakeServer::send(socket, QByteArray("high \xC3\x9C\n"));
            FakeServer::awaitClose(socket);
        });
        LineConnection connection(5000, 5000);
        connection.open("127.0.0.1", peer.port());
        QCOMPARE(connection.readLine(), QStringLiteral("crlf"));
        QCOMPARE(connection.readLine(), QStringLiteral("lf"));
        QCOMPARE(connection.readLine(), QStringLiteral("in\rside"));     // only a CR before LF goes
        QCOMPARE(connection.readNonBlankLine(), QStringLiteral("last")); // blank lines skipped
        QCOMPARE(connection.readLine(), QStringLiteral("high ") + QChar(0xFFFD) + QChar(0xFFFD));
        connection.close();
    }

    void lineLengthLimit_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<QByteArray>("end");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("16384 + CR LF") << 16384 << QByteArray("\r\n") << true;
        QTest::newRow("16384 + LF") << 16384 << QByteArray("\n") << true;
        QTest::newRow("16385 + LF") << 16385 << QByteArray("\n") << false;
        QTest::newRow("100000, no end") << 100000 << QByteArray() << false;
    }

    void lineLengthLimit()
    {
        QFETCH(int, length);
        QFETCH(QByteArray, end);
        QFETCH(bool, accepted);
        FakeServer peer([&](QTcpSocket& socket) {
            FakeServer::send(socket, QByteArray(length, 'x') + end);
            FakeServer::awaitClose(socket);
        });
        LineConnection connection(5000, 5000);
        connection.open("127.0.0.1", peer.port());
        QString line;
        const QString error = errorOf([&] { line = connection.readLine(); });
        if (accepted) {
            QCOMPARE(error, QStringLiteral("<no error>"));
            QCOMPARE(line.size(), length);
        } else {
            QCOMPARE(error, QStringLiteral("Line too long."));
            QVERIFY(!connection.isOpen());
        }
    }

    // A reply that does not come reads as the empty line; an
    // acknowledgement that does not come is an error.
    void silence()
    {
        FakeServer peer([](QTcpSocket& socket) { FakeServer::awaitClose(socket, 10000); });
        LineConnection connection(5000, 300);
        connection.open("127.0.0.1", peer.port());
        QCOMPARE(connection.readLine(), QString());
        QVERIFY(connection.isOpen());
        QCOMPARE(errorOf([&] { connection.readNonBlankLine(); }),
                 QStringLiteral("Read timed out."));
        QVERIFY(!connection.isOpen());
    }

    void peerCloses()
    {
        FakeServer peer([](QTcpSocket& socket) { FakeServer::send(socket, "bye\n"); });
        LineConnection connection(5000, 5000);
        connection.open("127.0.0.1", peer.port());
        QCOMPARE(connection.readLine(), QStringLiteral("bye"));
        QCOMPARE(errorOf([&] { connection.readLine(); }),
                 QStringLiteral("Connection closed gracefully."));
    }

    void sentLinesAreSevenBit()
    {
        QByteArray received;
        FakeServer peer([&](QTcpSocket& socket) { received = FakeServer::readLine(socket); });
        LineConnection connection(5000, 5000);
        connection.open("127.0.0.1", peer.port());
        connection.sendLine(QString::fromUtf8("auth Jörg 照"));
        // The peer reads the line and goes.
        QCOMPARE(errorOf([&] { connection.readLine(); }),
                 QStringLiteral("Connection closed gracefully."));
        peer.join();
        QCOMPARE(received, QByteArray("auth J?rg ?\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestLineConnection)
#include "tst_lineconnection.moc"
