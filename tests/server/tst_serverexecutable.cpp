#include "ScriptedClient.h"
#include "ServerChild.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

// The kyvane-server program itself, started as a child process.
class TestServerExecutable : public QObject
{
    Q_OBJECT

private slots:
    void listensAndStores()
    {
        QTemporaryDir dir;
        const QString root = dir.filePath("root");
        QProcess server;
        server.setProgram(QStringLiteral(KYVANE_SERVER_PATH));
        // Files are synced before the acknowledgement, as a user's server does.
        server.setArguments({"--port", "0", "--root", root, "--account", "bob:secret"});
        server.setProcessChannelMode(QProcess::SeparateChannels);
        server.start();
        QVERIFY2(server.waitForStarted(10000), qPrintable(server.errorString()));

        QDeadlineTimer deadline(10000);
        while (!server.canReadLine() && !deadline.hasExpired() &&
               server.state() == QProcess::Running)
            server.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
        const QString line = QString::fromLatin1(server.readLine()).trimmed();
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("^listening on 127\\.0\\.0\\.1:(\\d+)$")).match(line);
        QVERIFY2(match.hasMatch(), qPrintable(line + server.readAllStandardError()));
        const auto port = quint16(match.captured(1).toUInt());
        QVERIFY(port != 0);

        {
            ScriptedClient client;
            QVERIFY(client.connectTo(port));
            QCOMPARE(client.login("bob", "secret"), QStringLiteral("100 welcome"));
            QString ack;
            QCOMPARE(client.upload("a.jpg", "hello", &ack), QStringLiteral("200 0"));
            QCOMPARE(ack, QStringLiteral("250 stored"));
        }
        QFile stored(root + "/bob/a.jpg");
        QVERIFY(stored.open(QIODevice::ReadOnly));
        QCOMPARE(stored.readAll(), QByteArray("hello"));

        server.terminate();
        QVERIFY(server.waitForFinished(10000));
    }

    // The log says what was stored: the stored name, size and the times the
    // client sent.
    void storedFileIsLoggedWithItsTimes()
    {
        ServerChild server(QStringLiteral(KYVANE_SERVER_PATH));
        QVERIFY2(server.start(), qPrintable(server.errorOutput()));
        ScriptedClient client;
        QVERIFY(client.connectAndLogIn(server.port()));
        client.sendLine(QStringLiteral("put 5 %1 none 2024/05/17;08:03:09 2024/05/16;23:59:58")
                            .arg(QString::fromLatin1(QByteArray("a b.jpg").toBase64())));
        QCOMPARE(client.readLine(), QStringLiteral("200 0"));
        client.sendRaw("START\r\nhello");
        QCOMPARE(client.readLine(), QStringLiteral("250 stored"));
        QTRY_VERIFY2_WITH_TIMEOUT(server.errorOutput().contains(QLatin1String(
                                      "connection 1 stored bob/a b.jpg (5 bytes, modified "
                                      "2024/05/17;08:03:09, captured 2024/05/16;23:59:58)")),
                                  qPrintable(server.errorOutput()), 10000);
    }

    // Under the unit's MemoryDenyWriteExecute=yes the regular expressions
    // that read put lines cannot be compiled to machine code; they must
    // still tell good lines from bad ones (PCRE2 falls back to its
    // interpreter). The kernel's PR_SET_MDWE gives the server the same rule.
    void regularExpressionsWorkWithoutWritableCode()
    {
        const QString launcher = QStringLiteral(WITHOUT_WRITABLE_CODE_PATH);
        QProcess probe;
        probe.start(launcher, {QStringLiteral(KYVANE_SERVER_PATH), "--help"});
        QVERIFY(probe.waitForFinished(10000));
        if (probe.exitCode() == 77)
            QSKIP("this kernel has no PR_SET_MDWE (Linux 6.3 and later have it)");
        QCOMPARE(probe.exitCode(), 0); // 78: writable code could still be made

        ServerChild server(QStringLiteral(KYVANE_SERVER_PATH));
        server.runThrough(launcher);
        QVERIFY2(server.start(), qPrintable(server.errorOutput()));
        ScriptedClient client;
        QVERIFY(client.connectAndLogIn(server.port()));
        QString ack;
        QCOMPARE(client.upload("a.jpg", "hello", &ack), QStringLiteral("200 0"));
        QCOMPARE(ack, QStringLiteral("250 stored"));
        const QStringList badLines{"put 05 YS5qcGc= none none none",
                                   "put 5 YS5qcGc= none 2024-05-17 none",
                                   "put 5 YS5qcGc= none none 2024/05/17"};
        for (const QString& line : badLines) {
            client.sendLine(line);
            const QString reply = client.readLine();
            QVERIFY2(reply.startsWith(QLatin1String("501 bad ")), qPrintable(reply));
        }
        QVERIFY(server.isRunning());
    }

    void wrongArgumentsEndWithAMessage()
    {
        QProcess server;
        server.start(QStringLiteral(KYVANE_SERVER_PATH), {"--port", "99999"});
        QVERIFY(server.waitForFinished(10000));
        QCOMPARE(server.exitStatus(), QProcess::NormalExit);
        QCOMPARE(server.exitCode(), 2);
        QVERIFY(server.readAllStandardError().contains("not a port"));
    }

    void busyPortEndsWithAMessage()
    {
        QTcpServer occupant;
        QVERIFY(occupant.listen(QHostAddress::LocalHost, 0));
        QTemporaryDir dir;
        QProcess server;
        server.start(QStringLiteral(KYVANE_SERVER_PATH),
                     {"--port", QString::number(occupant.serverPort()), "--root",
                      dir.filePath("root"), "--account", "bob:x"});
        QVERIFY(server.waitForFinished(10000));
        QCOMPARE(server.exitCode(), 1);
        QVERIFY(server.readAllStandardError().contains("cannot listen"));
    }
};

QTEST_GUILESS_MAIN(TestServerExecutable)
#include "tst_serverexecutable.moc"
