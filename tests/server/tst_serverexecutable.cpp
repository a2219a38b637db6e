#include "ScriptedClient.h"

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
