#include "ScriptedClient.h"
#include "ServerFixture.h"
#include "transfer/Digest.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>

// Greeting, helo and auth, line limits and the transcript.
class TestServerLogin : public QObject
{
    Q_OBJECT

private slots:
    void greetingCarriesAFreshNonce()
    {
        ServerFixture server;
        QVERIFY(server.start());
        QStringList nonces;
        for (int i = 0; i < 3; ++i) {
            ScriptedClient client;
            QVERIFY(client.connectTo(server.port()));
            const QString greeting = client.readGreeting();
            QVERIFY2(greeting.startsWith(QLatin1String("220 kyvane-server ready,")),
                     qPrintable(greeting));
            QVERIFY2(QRegularExpression(QStringLiteral("^[0-9A-Za-z]{16}$"))
                         .match(client.nonce())
                         .hasMatch(),
                     qPrintable(client.nonce()));
            nonces << client.nonce();
        }
        nonces.removeDuplicates();
        QCOMPARE(nonces.size(), 3);
    }

    void heloRefused_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("scrambled wrong") << "helo b4eb bde4 b7ec";
        QTest::newRow("nonce itself") << "helo NONCE";
        QTest::newRow("empty helo") << "helo ";
        QTest::newRow("auth first") << "auth bob 0123";
        QTest::newRow("put first") << ScriptedClient::putLine(1, "a.jpg");
        QTest::newRow("upper-case HELO") << "HELO SCRAMBLED";
        QTest::newRow("garbage") << "\x01\x02 ???";
    }

    void heloRefused()
    {
        QFETCH(QString, line);
        ServerFixture server;
        QVERIFY(server.start());
        ScriptedClient client;
        QVERIFY(client.connectTo(server.port()));
        client.readGreeting();
        line.replace(QLatin1String("NONCE"), client.nonce());
        line.replace(QLatin1String("SCRAMBLED"), kyvane::FloatEnc(client.nonce()).trimmed());
        client.sendLine(line);
        QCOMPARE(client.readLine(), QStringLiteral("500 helo refused"));
        QVERIFY(client.waitForClosed());
    }

    void heloAccepted_data()
    {
        QTest::addColumn<QString>("greeting"); // empty: the server's own
        QTest::addColumn<QString>("nonce");
        QTest::newRow("own greeting") << QString() << QString();
        QTest::newRow("fixed nonce with third field") << "220 welcome,4711,x"
                                                      << "4711";
        QTest::newRow("nonce with blanks around") << "220 hi, 4711 "
                                                  << "4711";
        QTest::newRow("no comma: empty nonce") << "220"
                                               << "";
        QTest::newRow("non-ASCII sent as ?") << QString::fromUtf8("220 x,né") << "n?";
    }

    void heloAccepted()
    {
        QFETCH(QString, greeting);
        QFETCH(QString, nonce);
        ServerFixture server;
        if (!greeting.isEmpty())
            server.options.greeting = greeting;
        QVERIFY(server.start());
        ScriptedClient client;
        QVERIFY(client.connectTo(server.port()));
        client.readGreeting();
        if (!greeting.isEmpty())
            QCOMPARE(client.nonce(), nonce);
        client.sendLine(client.heloLine());
        QCOMPARE(client.readLine(), QStringLiteral("001 hello"));
        client.sendLine(client.authLine("bob", "secret"));
        QCOMPARE(client.readLine(), QStringLiteral("100 welcome"));
    }

    void auth_data()
    {
        QTest::addColumn<QString>("account");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("right") << "bob"
                               << "secret" << true;
        QTest::newRow("account with blanks") << "my photos"
                                             << "pass word" << true;
        QTest::newRow("wrong password") << "bob"
                                        << "Secret" << false;
        QTest::newRow("unknown account") << "alice"
                                         << "secret" << false;
        QTest::newRow("account of another's password") << "my photos"
                                                       << "secret" << false;
        QTest::newRow("empty account") << ""
                                       << "secret" << false;
    }

    void auth()
    {
        QFETCH(QString, account);
        QFETCH(QString, password);
        QFETCH(bool, accepted);
        ServerFixture server;
        server.options.accounts.insert(QStringLiteral("my photos"), QStringLiteral("pass word"));
        QVERIFY(server.start());
        ScriptedClient client;
        QVERIFY(client.connectTo(server.port()));
        const QString reply = client.login(account, password);
        if (accepted) {
            QCOMPARE(reply, QStringLiteral("100 welcome"));
            QVERIFY(client.isConnected());
        } else {
            QCOMPARE(reply, QStringLiteral("401 login refused"));
            QVERIFY(client.waitForClosed());
        }
    }

    void malformedAuthIsRefused_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("no proof") << "auth bob";
        QTest::newRow("proof in upper case") << "UPPER";
        QTest::newRow("not auth") << "user bob";
        QTest::newRow("empty") << "";
    }

    void malformedAuthIsRefused()
    {
        QFETCH(QString, line);
        ServerFixture server;
        QVERIFY(server.start());
        ScriptedClient client;
        QVERIFY(client.connectTo(server.port()));
        client.readGreeting();
        client.sendLine(client.heloLine());
        QCOMPARE(client.readLine(), QStringLiteral("001 hello"));
        if (line == QLatin1String("UPPER"))
            line = client.authLine("bob", "secret").toUpper().replace("AUTH BOB", "auth bob");
        client.sendLine(line);
        QCOMPARE(client.readLine(), QStringLiteral("401 login refused"));
        QVERIFY(client.waitForClosed());
    }

    void unknownCommandKeepsTheConnection()
    {
        ServerFixture server;
        QVERIFY(server.start());
        ScriptedClient client;
        QVERIFY(client.connectAndLogIn(server.port()));
        client.sendLine("list");
        QCOMPARE(client.readLine(), QStringLiteral("500 unknown command"));
        client.sendLine("");
        QString ack;
        QCOMPARE(client.upload("a.jpg", "abc", &ack), QStringLiteral("200 0"));
        QCOMPARE(ack, QStringLiteral("250 stored"));
    }

    // Unknown commands are answered, but three in a row close the
    // connection; a put in between starts the count again.
    void unknownCommandsInARowClose()
    {
        ServerFixture server;
        QVERIFY(server.start());
        ScriptedClient client;
        QVERIFY(client.connectAndLogIn(server.port()));
        for (int i = 0; i < 2; ++i) {
            client.sendLine("list");
            QCOMPARE(client.readLine(), QStringLiteral("500 unknown command"));
        }
        QString ack;
        QCOMPARE(client.upload("a.jpg", "abc", &ack), QStringLiteral("200 0"));
        for (int i = 0; i < 2; ++i) {
            client.sendLine("list");
            QCOMPARE(client.readLine(), QStringLiteral("500 unknown command"));
        }
        client.sendLine("list");
        QCOMPARE(client.readLine(), QStringLiteral("500 too many unknown commands"));
        QVERIFY(client.waitForClosed());
    }

    // Connections over the cap are turned away at once; a place that comes
    // free is taken by the next one.
    void connectionsOverTheCapAreClosed()
    {
        ServerFixture server;
        server.options.maxConnections = 2;
        QVERIFY(server.start());
        ScriptedClient first;
        ScriptedClient second;
        QVERIFY(first.connectAndLogIn(server.port()));
        QVERIFY(second.connectAndLogIn(server.port()));
        ScriptedClient third;
        QVERIFY(third.connectTo(server.port()));
        QCOMPARE(third.readLine(), QStringLiteral("421 too many connections"));
        QVERIFY(third.waitForClosed());

        first.close();
        QTRY_VERIFY_WITH_TIMEOUT(server.transcript().contains(QStringLiteral("1 [closed]")), 10000);
        ScriptedClient fourth;
        QVERIFY(fourth.connectAndLogIn(server.port()));
        QVERIFY(second.isConnected());
    }

    // The limit is on the line without its end: 16384 bytes pass, one more
    // closes the connection without a reply.
    void lineLength_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("closedWithoutReply");
        QTest::newRow("16384 and CR LF") << QByteArray(16384, 'x') + "\r\n" << false;
        QTest::newRow("16384 and LF") << QByteArray(16384, 'x') + "\n" << false;
        QTest::newRow("16385 and LF") << QByteArray(16385, 'x') + "\n" << true;
        QTest::newRow("100000 without LF") << QByteArray(100000, 'x') << true;
    }

    void lineLength()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, closedWithoutReply);
        ServerFixture server;
        QVERIFY(server.start());
        ScriptedClient client;
        QVERIFY(client.connectTo(server.port()));
        client.readGreeting();
        client.sendRaw(bytes);
        const QString reply = client.readLine();
        if (closedWithoutReply)
            QVERIFY2(reply.isNull(), qPrintable(reply));
        else
            QCOMPARE(reply, QStringLiteral("500 helo refused"));
        QVERIFY(client.waitForClosed());

        // The server goes on serving.
        ScriptedClient next;
        QVERIFY(next.connectAndLogIn(server.port()));
    }

    // Seeded noise with many line ends, at each step of the dialogue: the
    // server may close the connection but keeps serving others.
    void garbageAtEveryStep_data()
    {
        QTest::addColumn<int>("steps"); // login lines sent before the noise
        QTest::newRow("before helo") << 0;
        QTest::newRow("before auth") << 1;
        QTest::newRow("logged in") << 2;
    }

    void garbageAtEveryStep()
    {
        QFETCH(int, steps);
        ServerFixture server;
        QVERIFY(server.start());
        QRandomGenerator random(4711 + steps);
        QByteArray noise(256 * 1024, Qt::Uninitialized);
        for (char& byte : noise) {
            const quint32 r = random.bounded(64);
            byte = r < 4 ? '\n' : r < 6 ? ' ' : r < 8 ? 'p' : char(random.bounded(256));
        }
        noise.replace("\nput ", "\nput 1 ");
        {
            ScriptedClient client;
            QVERIFY(client.connectTo(server.port()));
            client.readGreeting();
            const QStringList lines{client.heloLine(), client.authLine("bob", "secret")};
            for (int i = 0; i < steps; ++i) {
                client.sendLine(lines[i]);
                QVERIFY(!client.readLine().isNull());
            }
            client.sendRaw(noise);
            client.close();
        }
        QTRY_VERIFY_WITH_TIMEOUT(server.transcript().contains(QStringLiteral("1 [closed]")), 10000);
        ScriptedClient next;
        QVERIFY(next.connectAndLogIn(server.port()));
        QString ack;
        QCOMPARE(next.upload("after.jpg", "ok", &ack), QStringLiteral("200 0"));
        QCOMPARE(ack, QStringLiteral("250 stored"));
    }

    void transcriptRecordsLinesAndEvents()
    {
        ServerFixture server;
        QVERIFY(server.start());
        QString authLine;
        {
            ScriptedClient client;
            QVERIFY(client.connectTo(server.port()));
            client.readGreeting();
            client.sendLine(client.heloLine());
            QCOMPARE(client.readLine(), QStringLiteral("001 hello"));
            authLine = client.authLine("bob", "secret");
            client.sendLine(authLine);
            QCOMPARE(client.readLine(), QStringLiteral("100 welcome"));
            QString ack;
            const QByteArray content = "RAWDATA\r\nput 1 x none none none\r\n";
            QCOMPARE(client.upload("a.jpg", content, &ack), QStringLiteral("200 0"));
            QCOMPARE(ack, QStringLiteral("250 stored"));
        }
        // Lines of two connections may interleave; one at a time keeps the order fixed.
        QTRY_VERIFY_WITH_TIMEOUT(server.transcript().contains(QStringLiteral("1 [closed]")), 10000);
        {
            ScriptedClient second;
            QVERIFY(second.connectTo(server.port()));
            second.readGreeting();
            second.sendLine("helo wrong");
            QVERIFY(second.waitForClosed());
        }
        QTRY_COMPARE_WITH_TIMEOUT(server.transcript().size(), 10, 10000);
        const QStringList lines = server.transcript();
        QVERIFY2(QRegularExpression(QStringLiteral("^1 \\[open 127\\.0\\.0\\.1:\\d+\\]$"))
                     .match(lines[0])
                     .hasMatch(),
                 qPrintable(lines[0]));
        QVERIFY(lines[1].startsWith(QLatin1String("1 helo ")));
        QCOMPARE(lines[2], QStringLiteral("1 ") + authLine);
        QCOMPARE(lines[3], QStringLiteral("1 ") + ScriptedClient::putLine(33, "a.jpg"));
        QCOMPARE(lines[4], QStringLiteral("1 START"));
        QCOMPARE(lines[5],
                 QStringLiteral("1 [stored bob/a.jpg (33 bytes, modified 2024/05/17;08:03:09, "
                                "captured none)]"));
        QCOMPARE(lines[6], QStringLiteral("1 [closed]"));
        QVERIFY(lines[7].startsWith(QLatin1String("2 [open ")));
        QCOMPARE(lines[8], QStringLiteral("2 helo wrong"));
        QCOMPARE(lines[9], QStringLiteral("2 [closed]"));
        QVERIFY(!lines.join('\n').contains(QLatin1String("RAWDATA")));
    }
};

QTEST_GUILESS_MAIN(TestServerLogin)
#include "tst_serverlogin.moc"
