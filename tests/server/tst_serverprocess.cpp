#include "ScriptedClient.h"
#include "ServerChild.h"

#include <QtTest>

#include <memory>
#include <vector>

#include <sys/resource.h>

// The kyvane-server program against clients that exhaust, stall or flood it.
class TestServerProcess : public QObject
{
    Q_OBJECT

private:
private slots:
    // With 64 descriptors, (64 - 16) / 2 connections fit: of 150 at once,
    // the server greets no more than that and turns the others away, so it
    // never runs out of descriptors; once they are gone it serves again.
    void descriptorLimitCapsConnections()
    {
        ServerChild server(QStringLiteral(KYVANE_SERVER_PATH), {}, [] {
            const rlimit limit{64, 64};
            ::setrlimit(RLIMIT_NOFILE, &limit);
        });
        QVERIFY2(server.start(), qPrintable(server.errorOutput()));
        int greeted = 0;
        int refused = 0;
        {
            std::vector<std::unique_ptr<QTcpSocket>> crowd;
            for (int i = 0; i < 150; ++i) {
                crowd.push_back(std::make_unique<QTcpSocket>());
                crowd.back()->connectToHost(QHostAddress::LocalHost, server.port());
            }
            QTest::qWait(2000);
            for (auto& socket : crowd) {
                const QByteArray line = socket->readLine();
                greeted += line.startsWith("220");
                refused += line.startsWith("421 too many connections");
                socket->abort();
            }
        }
        QVERIFY2(greeted > 0 && greeted <= 24, qPrintable(QString::number(greeted)));
        QVERIFY(refused > 0);
        // The server may still be counting the crowd when the first try comes.
        auto client = std::make_unique<ScriptedClient>();
        for (int attempt = 0; attempt < 20 && !client->connectAndLogIn(server.port()); ++attempt) {
            QTest::qWait(250);
            client = std::make_unique<ScriptedClient>();
        }
        QVERIFY(client->isConnected());
        QString ack;
        QCOMPARE(client->upload("after.jpg", "ok", &ack), QStringLiteral("200 0"));
        QCOMPARE(ack, QStringLiteral("250 stored"));
        QVERIFY(server.errorOutput().contains("leaves room for 24 connections"));
    }

    // Below what the connections need, the server raises its soft limit of
    // open files as far as the hard limit lets it (as systemd and shells
    // start programs at 1024 below a much higher hard limit), and warns only
    // when the hard limit is too low as well.
    void softDescriptorLimitIsRaised_data()
    {
        QTest::addColumn<int>("hardLimit");
        QTest::addColumn<int>("raisedTo");
        QTest::addColumn<QString>("warning"); // empty: none
        // 100 connections need 100 * 2 + 16 descriptors.
        QTest::newRow("hard limit leaves room") << 4096 << 216 << QString();
        QTest::newRow("hard limit too low")
            << 100 << 100 << "leaves room for 42 connections, not 100";
    }

    void softDescriptorLimitIsRaised()
    {
        QFETCH(int, hardLimit);
        QFETCH(int, raisedTo);
        QFETCH(QString, warning);
        ServerChild server(QStringLiteral(KYVANE_SERVER_PATH), {"--max-connections", "100"},
                           [hardLimit] {
                               const rlimit limit{64, rlim_t(hardLimit)};
                               ::setrlimit(RLIMIT_NOFILE, &limit);
                           });
        QVERIFY2(server.start(), qPrintable(server.errorOutput()));
        QFile limits(QStringLiteral("/proc/%1/limits").arg(server.processId()));
        QVERIFY(limits.open(QIODevice::ReadOnly));
        const QString openFiles = QString::fromLatin1(limits.readAll())
                                      .split(QLatin1Char('\n'))
                                      .filter(QLatin1String("Max open files"))
                                      .value(0)
                                      .simplified();
        QCOMPARE(openFiles,
                 QStringLiteral("Max open files %1 %2 files").arg(raisedTo).arg(hardLimit));
        if (warning.isEmpty())
            QVERIFY2(!server.errorOutput().contains(QLatin1String("leaves room")),
                     qPrintable(server.errorOutput()));
        else
            QTRY_VERIFY2_WITH_TIMEOUT(server.errorOutput().contains(warning),
                                      qPrintable(server.errorOutput()), 10000);
    }

    // A peer that falls silent at any step is dropped; file bytes that came
    // before are kept for a resume.
    void silentPeerIsDropped_data()
    {
        QTest::addColumn<int>("steps"); // lines sent before the silence
        QTest::addColumn<int>("fileBytes");
        QTest::newRow("never logs in") << 0 << 0;
        QTest::newRow("after helo") << 1 << 0;
        QTest::newRow("logged in") << 2 << 0;
        QTest::newRow("after put") << 3 << 0;
        QTest::newRow("in the middle of the file") << 4 << 3000;
    }

    void silentPeerIsDropped()
    {
        QFETCH(int, steps);
        QFETCH(int, fileBytes);
        ServerChild server(QStringLiteral(KYVANE_SERVER_PATH),
                           {"--login-timeout", "0.5", "--idle-timeout", "0.5"});
        QVERIFY2(server.start(), qPrintable(server.errorOutput()));
        ScriptedClient client;
        QVERIFY(client.connectTo(server.port()));
        client.readGreeting();
        const QStringList lines{client.heloLine(), client.authLine("bob", "secret"),
                                ScriptedClient::putLine(10000, "x.mov")};
        for (int i = 0; i < qMin(steps, 3); ++i) {
            client.sendLine(lines[i]);
            QVERIFY(!client.readLine().isNull());
        }
        if (steps > 3)
            client.sendRaw("START\r\n" + QByteArray(fileBytes, 'b'));
        QVERIFY(client.waitForClosed(10000));

        if (fileBytes > 0) {
            QTRY_COMPARE_WITH_TIMEOUT(partialFilesUnder(server.root()).size(), 1, 10000);
            QCOMPARE(QFileInfo(partialFilesUnder(server.root()).first()).size(), fileBytes);
            ScriptedClient again;
            QVERIFY(again.connectAndLogIn(server.port()));
            again.sendLine(ScriptedClient::putLine(10000, "x.mov"));
            QCOMPARE(again.readLine(), QStringLiteral("200 %1").arg(fileBytes));
        }
    }

    // A slow-drip login never completes: the login time-out counts from the
    // connection, not from the last byte.
    void loginTimeOutCountsFromTheConnection()
    {
        ServerChild server(QStringLiteral(KYVANE_SERVER_PATH), {"--login-timeout", "1"});
        QVERIFY2(server.start(), qPrintable(server.errorOutput()));
        ScriptedClient client;
        QVERIFY(client.connectTo(server.port()));
        client.readGreeting();
        QDeadlineTimer limit(10000);
        while (client.isConnected() && !limit.hasExpired()) {
            client.sendRaw("h");
            client.waitForClosed(200);
        }
        QVERIFY(!client.isConnected());
    }

    // A client that keeps talking outlives the idle time-out many times over.
    void activeClientIsKept()
    {
        ServerChild server(QStringLiteral(KYVANE_SERVER_PATH), {"--idle-timeout", "1"});
        QVERIFY2(server.start(), qPrintable(server.errorOutput()));
        ScriptedClient client;
        QVERIFY(client.connectAndLogIn(server.port()));
        QString ack;
        QCOMPARE(client.upload("a.jpg", "abc", &ack), QStringLiteral("200 0"));
        for (int i = 0; i < 15; ++i) {
            QTest::qWait(200);
            QCOMPARE(client.upload("a.jpg", "abc"), QStringLiteral("201 exists"));
        }
    }

    // A client that sends valid lines and never reads the replies: the
    // server stops reading from it instead of piling up replies.
    void nonReadingPeerIsHeldOff()
    {
        ServerChild server(QStringLiteral(KYVANE_SERVER_PATH));
        QVERIFY2(server.start(), qPrintable(server.errorOutput()));
        ScriptedClient client;
        QVERIFY(client.connectAndLogIn(server.port()));
        QString ack;
        QCOMPARE(client.upload("a.jpg", "abc", &ack), QStringLiteral("200 0"));
        const long before = server.peakMemoryKiB();
        const QByteArray line = ScriptedClient::putLine(3, "a.jpg").toLatin1() + "\r\n";
        const qint64 offered = qint64(256) << 20;
        const qint64 taken = client.flood(line, offered, 3000);
        const long grown = server.peakMemoryKiB() - before;
        QVERIFY(client.isConnected());
        // What the kernel buffers of both sides hold, and no more.
        QVERIFY2(taken < (32 << 20), qPrintable(QString::number(taken)));
        QVERIFY2(grown < 32 * 1024, qPrintable(QStringLiteral("%1 KiB").arg(grown)));
    }
};

QTEST_GUILESS_MAIN(TestServerProcess)
#include "tst_serverprocess.moc"
