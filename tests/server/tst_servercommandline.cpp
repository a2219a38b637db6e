#include "ServerCommandLine.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace kyvane::server;

class TestServerCommandLine : public QObject
{
    Q_OBJECT

private:
    static QStringList args(const QStringList& rest) { return QStringList{"kyvane-server"} + rest; }

private slots:
    void defaults()
    {
        ServerCommandLine commandLine;
        QVERIFY(commandLine.parse(args({})));
        const ServerOptions& o = commandLine.options();
        QCOMPARE(o.listenAddress, QHostAddress(QHostAddress::LocalHost));
        QCOMPARE(o.port, quint16(25714));
        QCOMPARE(o.root, QStringLiteral("kyvane-backups"));
        QVERIFY(o.accounts.isEmpty());
        QVERIFY(o.syncFiles);
        QVERIFY(!o.refuseHelo && !o.refuseAuth && !o.noAck && !o.closeInsteadOfAck);
        QCOMPARE(o.closeAfterBytes, -1);
        QCOMPARE(o.chunkDelayMs, 0);
        QVERIFY(!o.greeting && !o.putReply);
        QVERIFY(o.transcriptPath.isEmpty());
        QCOMPARE(o.maxConnections, 100);
        QCOMPARE(o.loginTimeoutMs, 30000);
        QCOMPARE(o.idleTimeoutMs, 60000);
        QCOMPARE(o.takeoverAfterMs, 10000);
        QCOMPARE(o.partialMaxAgeMs, qint64(7) * 24 * 3600 * 1000);
        QCOMPARE(o.sweepIntervalMs, qint64(24) * 3600 * 1000); // once a day
        QCOMPARE(o.flushDelayMs, 0);
    }

    void everyOption()
    {
        ServerCommandLine commandLine;
        QVERIFY2(commandLine.parse(args({"--listen",
                                         "0.0.0.0",
                                         "--port",
                                         "0",
                                         "--root",
                                         "/srv/b",
                                         "--account",
                                         "bob:pw:with:colons",
                                         "--account",
                                         "my photos:x",
                                         "--transcript",
                                         "t.txt",
                                         "--no-sync",
                                         "--refuse-helo",
                                         "--refuse-auth",
                                         "--close-after-bytes",
                                         "4096",
                                         "--no-ack",
                                         "--close-instead-of-ack",
                                         "--greeting",
                                         "421 busy",
                                         "--chunk-delay-ms",
                                         "250",
                                         "--put-reply",
                                         "200 -5",
                                         "--max-connections",
                                         "7",
                                         "--login-timeout",
                                         "0.5",
                                         "--idle-timeout",
                                         "90",
                                         "--takeover-after",
                                         "2.25",
                                         "--partial-max-age",
                                         "2592000",
                                         "--flush-delay-ms",
                                         "1500"})),
                 qPrintable(commandLine.errorText()));
        const ServerOptions& o = commandLine.options();
        QCOMPARE(o.listenAddress, QHostAddress(QHostAddress::AnyIPv4));
        QCOMPARE(o.port, quint16(0));
        QCOMPARE(o.root, QStringLiteral("/srv/b"));
        QCOMPARE(o.accounts.value("bob"), QStringLiteral("pw:with:colons"));
        QCOMPARE(o.accounts.value("my photos"), QStringLiteral("x"));
        QCOMPARE(o.transcriptPath, QStringLiteral("t.txt"));
        QVERIFY(!o.syncFiles);
        QVERIFY(o.refuseHelo && o.refuseAuth && o.noAck && o.closeInsteadOfAck);
        QCOMPARE(o.closeAfterBytes, 4096);
        QCOMPARE(o.greeting.value_or(QString()), QStringLiteral("421 busy"));
        QCOMPARE(o.chunkDelayMs, 250);
        QCOMPARE(o.putReply.value_or(QString()), QStringLiteral("200 -5"));
        QCOMPARE(o.maxConnections, 7);
        QCOMPARE(o.loginTimeoutMs, 500);
        QCOMPARE(o.idleTimeoutMs, 90000);
        QCOMPARE(o.takeoverAfterMs, 2250);
        QCOMPARE(o.partialMaxAgeMs, qint64(2592000) * 1000); // 30 days: more than an int holds
        QCOMPARE(o.flushDelayMs, 1500);
    }

    void wrongArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("unknown option") << QStringList{"--verbose"};
        QTest::newRow("stray argument") << QStringList{"extra"};
        QTest::newRow("port too big") << QStringList{"--port", "65536"};
        QTest::newRow("port not a number") << QStringList{"--port", "http"};
        QTest::newRow("address") << QStringList{"--listen", "example"};
        QTest::newRow("account without password") << QStringList{"--account", "bob"};
        QTest::newRow("account escaping the root") << QStringList{"--account", "../x:pw"};
        QTest::newRow("empty account") << QStringList{"--account", ":pw"};
        QTest::newRow("negative byte count") << QStringList{"--close-after-bytes", "-1"};
        QTest::newRow("delay not a number") << QStringList{"--chunk-delay-ms", "soon"};
        QTest::newRow("missing accounts file") << QStringList{"--accounts-file", "/nonexistent/a"};
        QTest::newRow("option without value") << QStringList{"--root"};
        QTest::newRow("no connections") << QStringList{"--max-connections", "0"};
        QTest::newRow("time-out of zero") << QStringList{"--idle-timeout", "0"};
        QTest::newRow("negative time-out") << QStringList{"--login-timeout", "-1"};
        QTest::newRow("time-out not a number") << QStringList{"--takeover-after", "soon"};
        QTest::newRow("time-out beyond a day") << QStringList{"--idle-timeout", "86401"};
        QTest::newRow("partial age of zero") << QStringList{"--partial-max-age", "0"};
        QTest::newRow("partial age beyond ten years")
            << QStringList{"--partial-max-age", "315360001"};
        QTest::newRow("negative flush delay") << QStringList{"--flush-delay-ms", "-5"};
    }

    void wrongArguments()
    {
        QFETCH(QStringList, arguments);
        ServerCommandLine commandLine;
        QVERIFY(!commandLine.parse(args(arguments)));
        QVERIFY(!commandLine.errorText().isEmpty());
    }

    void accountsFile()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath("accounts"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\xEF\xBB\xBF# who may log in\r\nbob:secret\r\n\r\nann:a:b\n   \n");
        file.close();
        ServerCommandLine commandLine;
        QVERIFY2(commandLine.parse(args({"--accounts-file", file.fileName(), "--account", "cy:c"})),
                 qPrintable(commandLine.errorText()));
        const auto& accounts = commandLine.options().accounts;
        QCOMPARE(accounts.size(), 3);
        QCOMPARE(accounts.value("bob"), QStringLiteral("secret"));
        QCOMPARE(accounts.value("ann"), QStringLiteral("a:b"));
        QCOMPARE(accounts.value("cy"), QStringLiteral("c"));
    }

    void accountsFileWithABadLineNamesIt()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath("accounts"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("bob:secret\nnocolon\n");
        file.close();
        ServerCommandLine commandLine;
        QVERIFY(!commandLine.parse(args({"--accounts-file", file.fileName()})));
        QVERIFY2(commandLine.errorText().contains(QLatin1String("line 2")),
                 qPrintable(commandLine.errorText()));
    }
};

QTEST_GUILESS_MAIN(TestServerCommandLine)
#include "tst_servercommandline.moc"
