#include "ScriptedClient.h"
#include "ServerFixture.h"

#include <QtTest>

// The switches that make the server misbehave on purpose.
class TestServerFaults : public QObject
{
    Q_OBJECT

private:
    static QStringList partialsOf(const ServerFixture& server)
    {
        return server.allFiles().filter(QRegularExpression(QStringLiteral("/\\.[^/]*\\.partial$")));
    }

private slots:
    void refuseHelo()
    {
        ServerFixture server;
        server.options.refuseHelo = true;
        QVERIFY(server.start());
        ScriptedClient client;
        QVERIFY(client.connectTo(server.port()));
        client.readGreeting();
        client.sendLine(client.heloLine());
        QCOMPARE(client.readLine(), QStringLiteral("500 helo refused"));
        QVERIFY(client.waitForClosed());
    }

    void refuseAuth()
    {
        ServerFixture server;
        server.options.refuseAuth = true;
        QVERIFY(server.start());
        ScriptedClient client;
        QVERIFY(client.connectTo(server.port()));
        QCOMPARE(client.login("bob", "secret"), QStringLiteral("401 login refused"));
        QVERIFY(client.waitForClosed());
    }

    // Each connection is cut after 1000 file bytes, even when they complete
    // the file: a file of 3000 bytes takes three connections to arrive and a
    // fourth, which sends nothing, to be made whole.
    void closeAfterBytes()
    {
        ServerFixture server;
        server.options.closeAfterBytes = 1000;
        QVERIFY(server.start());
        const QByteArray content = patternBytes(3000);
        const QList<qint64> offsets{0, 1000, 2000, 3000};
        for (int round = 0; round < offsets.size(); ++round) {
            ScriptedClient client;
            QVERIFY(client.connectAndLogIn(server.port()));
            QString ack;
            QCOMPARE(client.upload("f.jpg", content, &ack),
                     QStringLiteral("200 %1").arg(offsets[round]));
            if (round < 3) {
                QVERIFY(ack.isNull());
                QVERIFY(client.waitForClosed());
                QTRY_COMPARE_WITH_TIMEOUT(server.size(partialsOf(server).value(0)),
                                          offsets[round] + 1000, 10000);
            } else {
                QCOMPARE(ack, QStringLiteral("250 stored"));
            }
        }
        QCOMPARE(server.allFiles(), QStringList{"bob/f.jpg"});
        QCOMPARE(server.read("bob/f.jpg"), content);
    }

    void closeAfterZeroBytesClosesAtStart()
    {
        ServerFixture server;
        server.options.closeAfterBytes = 0;
        QVERIFY(server.start());
        ScriptedClient client;
        QVERIFY(client.connectAndLogIn(server.port()));
        client.sendLine(ScriptedClient::putLine(10, "z.jpg"));
        QCOMPARE(client.readLine(), QStringLiteral("200 0"));
        client.sendLine("START");
        QVERIFY(client.waitForClosed());
    }

    // The file is stored, but the client hears nothing and the line stays open.
    void noAck()
    {
        ServerFixture server;
        server.options.noAck = true;
        QVERIFY(server.start());
        ScriptedClient client;
        QVERIFY(client.connectAndLogIn(server.port()));
        client.sendLine(ScriptedClient::putLine(3000, "n.jpg"));
        QCOMPARE(client.readLine(), QStringLiteral("200 0"));
        client.sendRaw("START\r\n" + patternBytes(3000));
        QTRY_COMPARE_WITH_TIMEOUT(server.read("bob/n.jpg"), patternBytes(3000), 10000);
        const QString ack = client.readLine(300);
        QVERIFY2(ack.isNull(), qPrintable(ack));
        QVERIFY(client.isConnected());
        client.sendLine(ScriptedClient::putLine(3000, "n.jpg"));
        QCOMPARE(client.readLine(), QStringLiteral("201 exists"));
    }

    // Every byte arrives but stays partial; the next put is told to send from
    // the end, so nothing more is needed to make the file whole.
    void closeInsteadOfAck()
    {
        ServerFixture server;
        server.options.closeInsteadOfAck = true;
        QVERIFY(server.start());
        const QByteArray content = patternBytes(3000);
        ScriptedClient client;
        QVERIFY(client.connectAndLogIn(server.port()));
        QString ack;
        QCOMPARE(client.upload("c.jpg", content, &ack), QStringLiteral("200 0"));
        QVERIFY(ack.isNull());
        QVERIFY(client.waitForClosed());
        QVERIFY(!QFileInfo::exists(server.file("bob/c.jpg")));
        const QStringList partials = partialsOf(server);
        QCOMPARE(partials.size(), 1);
        QCOMPARE(server.read(partials.first()), content);

        server.stop();
        server.options.closeInsteadOfAck = false;
        QVERIFY(server.start());
        ScriptedClient again;
        QVERIFY(again.connectAndLogIn(server.port()));
        QCOMPARE(again.upload("c.jpg", content, &ack), QStringLiteral("200 3000"));
        QCOMPARE(ack, QStringLiteral("250 stored"));
        QCOMPARE(server.allFiles(), QStringList{"bob/c.jpg"});
        QCOMPARE(server.read("bob/c.jpg"), content);
    }

    void otherGreetingKeepsTheLineOpen()
    {
        ServerFixture server;
        server.options.greeting = QStringLiteral("421 busy");
        QVERIFY(server.start());
        ScriptedClient client;
        QVERIFY(client.connectTo(server.port()));
        QCOMPARE(client.readGreeting(), QStringLiteral("421 busy"));
        QVERIFY(client.readLine(300).isNull());
        QVERIFY(client.isConnected());
    }

    // While one connection is held back, another is served at once: the
    // slow-down pauses reading on that connection only.
    void chunkDelay()
    {
        constexpr qint64 kChunk = 819200;
        ServerFixture server;
        server.options.chunkDelayMs = 2000;
        QVERIFY(server.start());
        const QByteArray content = patternBytes(kChunk + 10);
        ScriptedClient slow;
        QVERIFY(slow.connectAndLogIn(server.port()));
        slow.sendLine(ScriptedClient::putLine(content.size(), "s.mov"));
        QCOMPARE(slow.readLine(), QStringLiteral("200 0"));
        slow.sendRaw("START\r\n" + content);
        QTRY_VERIFY_WITH_TIMEOUT(partialsOf(server).size() == 1 &&
                                     server.size(partialsOf(server).first()) == kChunk,
                                 10000);

        ScriptedClient other;
        QVERIFY(other.connectAndLogIn(server.port()));
        QCOMPARE(server.size(partialsOf(server).value(0)), kChunk); // still paused

        QCOMPARE(slow.readLine(), QStringLiteral("250 stored"));
        QCOMPARE(server.read("bob/s.mov"), content);
    }

    // A file that ends on a paused chunk leaves no pause owing: the next
    // file on the connection is read and stored.
    void chunkDelayCarriesOnToTheNextFile()
    {
        constexpr qint64 kChunk = 819200;
        ServerFixture server;
        server.options.chunkDelayMs = 100;
        QVERIFY(server.start());
        ScriptedClient client;
        QVERIFY(client.connectAndLogIn(server.port()));
        for (const qint64 size : {2 * kChunk, qint64(10)}) {
            QString ack;
            QCOMPARE(client.upload(QStringLiteral("f%1.mov").arg(size), patternBytes(size), &ack),
                     QStringLiteral("200 0"));
            QCOMPARE(ack, QStringLiteral("250 stored"));
        }
        QCOMPARE(server.read("bob/f10.mov"), patternBytes(10));
    }

    // What arrived before the client went is kept, even while reading was paused.
    void disconnectWhilePausedKeepsWhatArrived()
    {
        constexpr qint64 kChunk = 819200;
        ServerFixture server;
        server.options.chunkDelayMs = 2000;
        QVERIFY(server.start());
        const QByteArray content = patternBytes(3 * kChunk);
        ScriptedClient client;
        QVERIFY(client.connectAndLogIn(server.port()));
        client.sendLine(ScriptedClient::putLine(content.size(), "d.mov"));
        QCOMPARE(client.readLine(), QStringLiteral("200 0"));
        client.sendRaw("START\r\n" + content.left(kChunk + 300000));
        QTRY_VERIFY_WITH_TIMEOUT(partialsOf(server).size() == 1 &&
                                     server.size(partialsOf(server).first()) == kChunk,
                                 10000);
        client.close();
        QTRY_VERIFY_WITH_TIMEOUT(server.transcript().contains(QStringLiteral("1 [closed]")), 10000);
        QCOMPARE(server.read(partialsOf(server).value(0)), content.left(kChunk + 300000));
    }

    // While one file is flushed to disk, other connections are served at
    // once; the file is acknowledged only after its flush, in its final place.
    void slowFlushHoldsUpOnlyItsConnection()
    {
        ServerFixture server;
        server.options.flushDelayMs = 3000;
        QVERIFY(server.start());
        ScriptedClient slow;
        QVERIFY(slow.connectAndLogIn(server.port()));
        QCOMPARE(slow.startUpload(3000, "v.mov", patternBytes(3000)), QStringLiteral("200 0"));
        QTRY_VERIFY_WITH_TIMEOUT(server.holdsOnePartialOf(3000), 10000);

        ScriptedClient other;
        QVERIFY(other.connectAndLogIn(server.port()));
        QVERIFY(!QFileInfo::exists(server.file("bob/v.mov")));
        QVERIFY(slow.readLine(0).isNull());

        QCOMPARE(slow.readLine(), QStringLiteral("250 stored"));
        QCOMPARE(server.read("bob/v.mov"), patternBytes(3000));
    }

    // A client that goes while its file is flushed still has it stored.
    void fileFlushedAfterTheClientWentIsStored()
    {
        ServerFixture server;
        server.options.flushDelayMs = 500;
        QVERIFY(server.start());
        {
            ScriptedClient client;
            QVERIFY(client.connectAndLogIn(server.port()));
            QCOMPARE(client.startUpload(3000, "w.mov", patternBytes(3000)),
                     QStringLiteral("200 0"));
            client.close();
        }
        QTRY_VERIFY_WITH_TIMEOUT(server.transcript().contains(QStringLiteral("1 [closed]")), 10000);
        QCOMPARE(server.allFiles(), QStringList{"bob/w.mov"});
        QCOMPARE(server.read("bob/w.mov"), patternBytes(3000));
    }

    void putReply_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<qint64>("clientOffset"); // -1: the client sends nothing
        QTest::addColumn<QString>("ack");
        QTest::addColumn<bool>("stored");
        QTest::newRow("201") << "201" << qint64(-1) << QString() << false;
        QTest::newRow("202 without offset") << "202" << qint64(0) << "250 stored" << true;
        QTest::newRow("negative offset taken as 0")
            << "200 -5" << qint64(0) << "250 stored" << true;
        QTest::newRow("offset the server never had")
            << "200 5" << qint64(5) << "250 dropped" << false;
    }

    void putReply()
    {
        QFETCH(QString, reply);
        QFETCH(qint64, clientOffset);
        QFETCH(QString, ack);
        QFETCH(bool, stored);
        ServerFixture server;
        server.options.putReply = reply;
        QVERIFY(server.start());
        const QByteArray content = patternBytes(100);
        ScriptedClient client;
        QVERIFY(client.connectAndLogIn(server.port()));
        client.sendLine(ScriptedClient::putLine(content.size(), "p.jpg"));
        QCOMPARE(client.readLine(), reply);
        if (clientOffset >= 0) {
            client.sendRaw("START\r\n" + content.mid(clientOffset));
            QCOMPARE(client.readLine(), ack);
        }
        QCOMPARE(server.read("bob/p.jpg"), stored ? content : QByteArray());
        // The connection goes on with the next file.
        client.sendLine(ScriptedClient::putLine(content.size(), "q.jpg"));
        QCOMPARE(client.readLine(), reply);
    }
};

QTEST_GUILESS_MAIN(TestServerFaults)
#include "tst_serverfaults.moc"
