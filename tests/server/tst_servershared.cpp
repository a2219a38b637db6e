#include "ScriptedClient.h"
#include "ServerChild.h"
#include "ServerFixture.h"
#include "UploadsAtOnce.h"

#include <QStandardPaths>
#include <QTcpServer>
#include <QThread>
#include <QtTest>

#include <memory>
#include <vector>

// Several kyvane-server processes on one store, as behind a load balancer:
// clients that send the same large file at once through different servers,
// and another version of it, end with one whole copy of each version.
// bench_servershared measures how fast.
class TestServerShared : public QObject
{
    Q_OBJECT

private:
    // A loopback port that was free a moment ago.
    static quint16 freePort()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        return probe.serverPort();
    }

    // A child process that is ended when it goes.
    struct EndProcess
    {
        void operator()(QProcess* process) const
        {
            process->kill();
            process->waitForFinished(5000);
            delete process;
        }
    };
    using ChildProcess = std::unique_ptr<QProcess, EndProcess>;

    // HAProxy in TCP mode in front of ports, taking turns; null without HAProxy.
    ChildProcess startHaproxy(const QList<quint16>& ports, quint16* port)
    {
        QString haproxy = QStandardPaths::findExecutable(QStringLiteral("haproxy"));
        if (haproxy.isEmpty())
            haproxy =
                QStandardPaths::findExecutable(QStringLiteral("haproxy"), {"/usr/sbin", "/sbin"});
        if (haproxy.isEmpty())
            return nullptr;
        *port = freePort();
        QString config = QStringLiteral("global\n"
                                        "    nbthread 1\n"
                                        "defaults\n"
                                        "    mode tcp\n"
                                        "    timeout connect 5s\n"
                                        "    timeout client 60s\n"
                                        "    timeout server 60s\n"
                                        "frontend kyvane\n"
                                        "    bind 127.0.0.1:%1\n"
                                        "    default_backend servers\n"
                                        "backend servers\n"
                                        "    balance roundrobin\n")
                             .arg(*port);
        for (int i = 0; i < ports.size(); ++i)
            config += QStringLiteral("    server s%1 127.0.0.1:%2\n").arg(i).arg(ports[i]);
        QFile file(m_dir.filePath(QStringLiteral("haproxy.cfg")));
        if (!file.open(QIODevice::WriteOnly))
            return nullptr;
        file.write(config.toUtf8());
        file.close();

        ChildProcess process(new QProcess);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(haproxy, {"-db", "-f", file.fileName()});
        if (!process->waitForStarted(10000))
            return nullptr;
        // Ready once it accepts; the probe's connection is passed on too.
        QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired() && process->state() == QProcess::Running) {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, *port);
            if (probe.waitForConnected(200))
                return process;
            QThread::msleep(100);
        }
        return nullptr;
    }

    QTemporaryDir m_dir;
    QByteArray m_first;
    QByteArray m_second;

private slots:
    void initTestCase()
    {
        m_first = patternBytes(64 << 20, 1);
        m_second = patternBytes(64 << 20, 2);
    }

    // A connection of one server that has gone quiet half-way through a file
    // loses the file to a new upload of it through another server, which
    // resumes from what the first stored; the quiet connection is closed and
    // nothing more it sends reaches the file.
    void quietUploadIsTakenOverThroughAnotherServer()
    {
        QTemporaryDir dir;
        const QString root = dir.filePath(QStringLiteral("root"));
        ServerChild first(QStringLiteral(KYVANE_SERVER_PATH), {"--takeover-after", "0.3"}, nullptr,
                          root);
        ServerChild second(QStringLiteral(KYVANE_SERVER_PATH), {"--takeover-after", "0.3"}, nullptr,
                           root);
        QVERIFY2(first.start(), qPrintable(first.errorOutput()));
        QVERIFY2(second.start(), qPrintable(second.errorOutput()));
        const QByteArray content = m_first.left(1500000);

        ScriptedClient stalled;
        QVERIFY(stalled.connectAndLogIn(first.port()));
        QCOMPARE(stalled.startUpload(content.size(), "big.mov", content.left(700000)),
                 QStringLiteral("200 0"));
        const QString partial = root + "/bob/.big.mov.1500000-1715932989.partial";
        QTRY_COMPARE_WITH_TIMEOUT(QFileInfo(partial).size(), 700000, 10000);
        QTest::qWait(600);

        ScriptedClient fresh;
        QVERIFY(fresh.connectAndLogIn(second.port()));
        fresh.sendLine(ScriptedClient::putLine(content.size(), "big.mov"));
        QCOMPARE(fresh.readLine(), QStringLiteral("200 700000"));
        QVERIFY(stalled.waitForClosed());
        stalled.sendRaw(QByteArray(1000, 'x')); // gone nowhere
        fresh.sendRaw("START\r\n" + content.mid(700000));
        QCOMPARE(fresh.readLine(), QStringLiteral("250 stored"));
        QFile stored(root + "/bob/big.mov");
        QVERIFY(stored.open(QIODevice::ReadOnly));
        QVERIFY(stored.readAll() == content);
        QVERIFY(!QFileInfo::exists(partial));
    }

    void sameFileThroughSeveralServers_data()
    {
        QTest::addColumn<int>("servers");
        QTest::addColumn<bool>("throughHaproxy");
        QTest::addColumn<qint64>("fileBytes");
        QTest::newRow("one process") << 1 << false << qint64(64 << 20);
        QTest::newRow("two processes") << 2 << false << qint64(64 << 20);
        // Only the way through HAProxy is new here: smaller files do.
        QTest::newRow("two processes behind HAProxy") << 2 << true << qint64(8 << 20);
    }

    void sameFileThroughSeveralServers()
    {
        QFETCH(int, servers);
        QFETCH(bool, throughHaproxy);
        QFETCH(qint64, fileBytes);
        QTemporaryDir dir;
        const QString root = dir.filePath(QStringLiteral("root"));
        std::vector<std::unique_ptr<ServerChild>> children;
        QList<quint16> ports;
        for (int i = 0; i < servers; ++i) {
            children.push_back(std::make_unique<ServerChild>(QStringLiteral(KYVANE_SERVER_PATH),
                                                             QStringList{}, nullptr, root));
            QVERIFY2(children.back()->start(), qPrintable(children.back()->errorOutput()));
            ports << children.back()->port();
        }
        ChildProcess haproxy;
        quint16 front = 0;
        if (throughHaproxy) {
            haproxy = startHaproxy(ports, &front);
            if (!haproxy)
                QSKIP("HAProxy is not installed or did not start");
        }

        const QByteArray first = m_first.left(fileBytes);
        const QByteArray second = m_second.left(fileBytes);
        const QString firstTime = QStringLiteral("2024/05/17;08:03:09");
        const QString secondTime = QStringLiteral("2024/06/01;10:00:00");
        const auto portFor = [&](int client) {
            return throughHaproxy ? front : ports[client % ports.size()];
        };
        std::vector<UploadAtOnce> uploads{{portFor(0), &first, firstTime, {}, {}},
                                          {portFor(1), &first, firstTime, {}, {}},
                                          {portFor(2), &second, secondTime, {}, {}}};
        QVERIFY(uploadAtOnce(uploads) >= 0);

        // Every server had clients (through HAProxy too, which took turns).
        for (auto& child : children)
            QTRY_VERIFY_WITH_TIMEOUT(
                child->errorOutput().contains(QLatin1String("logged in as bob")), 10000);
        // Each client heard that its file is stored, so each counts it.
        for (const UploadAtOnce& upload : uploads) {
            const bool sent =
                upload.reply == QLatin1String("200 0") && upload.ack == QLatin1String("250 stored");
            QVERIFY2(sent || upload.reply == QLatin1String("201 exists"),
                     qPrintable(upload.reply + " / " + upload.ack));
        }
        // One whole copy of each version and nothing else.
        QStringList files;
        QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = QDir(root).relativeFilePath(it.next());
            if (!file.endsWith(QLatin1String(".kyvane-name")))
                files << file;
        }
        files.sort();
        QCOMPARE(files, (QStringList{"bob/clip (2).mov", "bob/clip.mov"}));
        QFile one(root + "/bob/clip.mov");
        QFile two(root + "/bob/clip (2).mov");
        QVERIFY(one.open(QIODevice::ReadOnly) && two.open(QIODevice::ReadOnly));
        const QByteArray a = one.readAll();
        const QByteArray b = two.readAll();
        QVERIFY((a == first && b == second) || (a == second && b == first));

        // Every server knows both versions.
        for (const quint16 port : ports) {
            ScriptedClient client;
            QVERIFY(client.connectAndLogIn(port));
            QCOMPARE(client.upload("clip.mov", first, nullptr, firstTime),
                     QStringLiteral("201 exists"));
            QCOMPARE(client.upload("clip.mov", second, nullptr, secondTime),
                     QStringLiteral("201 exists"));
        }
    }
};

QTEST_GUILESS_MAIN(TestServerShared)
#include "tst_servershared.moc"
