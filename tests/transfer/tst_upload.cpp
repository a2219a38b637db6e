// The real worker against the real kyvane-server on 127.0.0.1.
#include "FakeServer.h"
#include "RecordingObserver.h"
#include "ServerProcess.h"
#include "TcpInfo.h"
#include "TempProgramFolder.h"
#include "core/JobRecords.h"
#include "core/ListFile.h"
#include "core/OutcomeStore.h"
#include "core/StopToken.h"
#include "i18n/LanguageRes.h"
#include "transfer/Digest.h"
#include "transfer/ObserverChannel.h"
#include "transfer/RunningJobs.h"
#include "transfer/TFileGenius.h"

#include <QPointer>
#include <QTcpServer>
#include <QThread>
#include <QtTest>

#include <optional>

using namespace kyvane;

namespace {

constexpr qint64 kChunk = 819200;
const QString kJob = QStringLiteral("120000");

QByteArray pattern(qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 131 + i / 4099) & 0xFF);
    return bytes;
}

QString entry(const QString& address, quint16 port, const QString& path,
              const QString& account = QStringLiteral("anna"))
{
    return QStringLiteral("%1|%2|%3|%4|%5")
        .arg(address, QString::number(port), account, passwordDigest(QStringLiteral("secret")),
             path);
}

QString entry(const ServerProcess& server, const QString& path)
{
    return entry(server.address(), server.port(), path);
}

// The server's side of a login that succeeds, for scripted peers.
void logIn(QTcpSocket& socket)
{
    FakeServer::send(socket, "220 fake,77\r\n");
    FakeServer::readLine(socket);
    FakeServer::send(socket, "001 ok\r\n");
    FakeServer::readLine(socket);
    FakeServer::send(socket, "100 ok\r\n");
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class TestUpload : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> m_folder;
    EngineSettings m_settings;

    QString mediaFile(const QString& name, qint64 size)
    {
        const QString path = m_folder->file("media/" + name);
        QDir().mkpath(m_folder->file("media"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(pattern(size)) != size)
            qFatal("cannot write fixture");
        return path;
    }

    // Runs one worker to its end.
    void runJob(const QStringList& entries, RecordingObserver& observer)
    {
        auto channel = std::make_shared<ObserverChannel>(&observer);
        QPointer<TFileGenius> worker = TFileGenius::Create(entries, kJob, channel, m_settings);
        QVERIFY(worker);
        QTRY_VERIFY_WITH_TIMEOUT(worker.isNull(), 60000);
        QVERIFY(!RunningJobs::isRunning(kJob));
    }

    QString jobLog() const { return QString::fromUtf8(m_folder->read(kJob + ".kyvlog")); }

private slots:
    void initTestCase()
    {
        InitLanguageTable();
        m_settings.connectTimeoutMs = 5000;
        m_settings.readTimeoutMs = 5000;
    }

    void init() { m_folder = std::make_unique<TempProgramFolder>(); }

    void twoEntriesShareOneLogin()
    {
        ServerProcess server(KYVANE_SERVER);
        QVERIFY2(server.isListening(), qPrintable(server.errorOutput()));
        const QString a = mediaFile("a.jpg", 1000);
        const QString b = mediaFile("b.jpg", 2000);
        RecordingObserver observer;
        runJob({entry(server, a), entry(server, b)}, observer);

        QCOMPARE(server.countLines("[open"), 1);
        QCOMPARE(server.countLines("helo"), 1);
        QCOMPARE(server.countLines("auth"), 1);
        QCOMPARE(server.countLines("put"), 2);
        QCOMPARE(readFile(server.root() + "/anna/a.jpg"), pattern(1000));
        QCOMPARE(readFile(server.root() + "/anna/b.jpg"), pattern(2000));
        QVERIFY(observer.finished());
        QCOMPARE(observer.rows, QStringList{kJob});
        QCOMPARE(observer.logLines(), (QStringList{"[127.0.0.1][DONE] a.jpg Backup OK",
                                                   "[127.0.0.1][DONE] b.jpg Backup OK"}));

        // The job log: two time-stamped lines and one more CR LF.
        const QStringList lines = jobLog().split("\r\n");
        QCOMPARE(lines.size(), 4);
        QVERIFY(lines.at(0).endsWith("  [127.0.0.1][DONE] a.jpg Backup OK"));
        QVERIFY(lines.at(1).endsWith("  [127.0.0.1][DONE] b.jpg Backup OK"));
        QCOMPARE(lines.at(2), QString());
        QCOMPARE(lines.at(3), QString());
    }

    // Two servers on one host, told apart by port or by account: each gets
    // a connection and login of its own, and each stores the file. Every
    // report names its server with port and account, so the queue row
    // tells the two apart.
    void oneHostTwoLogins_data()
    {
        QTest::addColumn<bool>("otherPort");
        QTest::newRow("two ports") << true;
        QTest::newRow("two accounts") << false;
    }

    void oneHostTwoLogins()
    {
        QFETCH(bool, otherPort);
        ServerProcess first(KYVANE_SERVER, {"--account", "bob:secret"});
        std::optional<ServerProcess> second;
        if (otherPort)
            second.emplace(KYVANE_SERVER);
        const ServerProcess& other = otherPort ? *second : first;
        QVERIFY(first.isListening() && other.isListening());
        const QString otherAccount = otherPort ? "anna" : "bob";
        const QString a = mediaFile("a.jpg", 3000);
        RecordingObserver observer;
        runJob({entry(first, a), entry(other.address(), other.port(), a, otherAccount)}, observer);

        QCOMPARE(readFile(first.root() + "/anna/a.jpg"), pattern(3000));
        QCOMPARE(readFile(other.root() + "/" + otherAccount + "/a.jpg"), pattern(3000));
        QCOMPARE(observer.logLines(), (QStringList{"[127.0.0.1][DONE] a.jpg Backup OK",
                                                   "[127.0.0.1][DONE] a.jpg Backup OK"}));
        QVERIFY(observer.finished());
        const int opened = first.countLines("[open") + (otherPort ? other.countLines("[open") : 0);
        QCOMPARE(opened, 2);
        QCOMPARE(first.countLines("auth") + (otherPort ? other.countLines("auth") : 0), 2);
        QSet<QString> named;
        for (const RecordingObserver::Report& report : std::as_const(observer.reports))
            named.insert(report.server);
        QCOMPARE(
            named,
            (QSet<QString>{QStringLiteral("127.0.0.1:%1 anna").arg(first.port()),
                           QStringLiteral("127.0.0.1:%1 %2").arg(other.port()).arg(otherAccount)}));
    }

    // kyvane-server refuses a name it cannot store; the job goes on with
    // its next file on the same connection.
    void refusedFileDoesNotStopTheJob()
    {
        ServerProcess server(KYVANE_SERVER);
        QVERIFY(server.isListening());
        const QString refused = mediaFile("a\\b.jpg", 100);
        const QString next = mediaFile("c.jpg", 200);
        RecordingObserver observer;
        runJob({entry(server, refused), entry(server, next)}, observer);
        QCOMPARE(observer.logLines().size(), 2);
        QVERIFY2(observer.logLines().at(0).startsWith("[127.0.0.1][FAIL] a\\b.jpg Backup Failed ("),
                 qPrintable(observer.logLines().at(0)));
        QCOMPARE(observer.logLines().at(1), QStringLiteral("[127.0.0.1][DONE] c.jpg Backup OK"));
        QCOMPARE(readFile(server.root() + "/anna/c.jpg"), pattern(200));
        QCOMPARE(server.countLines("[open"), 1);
        QVERIFY(!observer.finished());
    }

    void serversABAGiveThreeConnections()
    {
        ServerProcess serverA(KYVANE_SERVER, {}, "127.0.0.1");
        ServerProcess serverB(KYVANE_SERVER, {}, "127.0.0.2");
        QVERIFY(serverA.isListening() && serverB.isListening());
        const QString a = mediaFile("a.jpg", 100);
        const QString b = mediaFile("b.jpg", 200);
        const QString c = mediaFile("c.jpg", 300);
        RecordingObserver observer;
        runJob({entry(serverA, a), entry(serverB, b), entry(serverA, c)}, observer);
        QCOMPARE(serverA.countLines("[open"), 2);
        QCOMPARE(serverA.countLines("auth"), 2);
        QCOMPARE(serverB.countLines("[open"), 1);
        QCOMPARE(readFile(serverA.root() + "/anna/c.jpg"), pattern(300));
        QCOMPARE(readFile(serverB.root() + "/anna/b.jpg"), pattern(200));
        QVERIFY(observer.finished());
    }

    void fileHeldByServerIsSkippedAndCounted()
    {
        ServerProcess server(KYVANE_SERVER);
        QVERIFY(server.isListening());
        const QString a = mediaFile("a.jpg", 5000);
        RecordingObserver first;
        runJob({entry(server, a)}, first);
        QVERIFY(first.finished());
        QCOMPARE(server.countLines("START"), 1);

        RecordingObserver second;
        runJob({entry(server, a)}, second);
        QCOMPARE(server.countLines("START"), 1); // nothing sent the second time
        QCOMPARE(second.logLines(), QStringList{"[127.0.0.1][DONE] a.jpg existed, Backup Skipped"});
        QCOMPARE(second.values(), (QList<int>{0, 0, 100}));
        QCOMPARE(second.reports.last().value2, 1);
        QVERIFY(second.finished());
    }

    void reportsOfAWholeTransfer_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QList<int>>("values");
        // E4, put reply, one per chunk, then the count after the acknowledgement.
        QTest::newRow("2,000,000 bytes") << qint64(2000000) << QList<int>{0, 0, 41, 82, 100, 100};
        QTest::newRow("eight chunks")
            << 8 * kChunk << QList<int>{0, 0, 12, 25, 38, 50, 62, 75, 88, 100, 100};
        QTest::newRow("one chunk exactly") << kChunk << QList<int>{0, 0, 100, 100};
        QTest::newRow("0 bytes") << qint64(0) << QList<int>{0, 0, 100, 100};
    }

    void reportsOfAWholeTransfer()
    {
        QFETCH(qint64, size);
        QFETCH(QList<int>, values);
        ServerProcess server(KYVANE_SERVER);
        QVERIFY(server.isListening());
        const QString a = mediaFile("a.jpg", size);
        RecordingObserver observer;
        runJob({entry(server, a)}, observer);
        QCOMPARE(observer.values(), values);
        // Counted only by the report after the server confirmed the file.
        for (qsizetype i = 0; i + 1 < observer.reports.size(); ++i)
            QCOMPARE(observer.reports.at(i).value2, 0);
        QCOMPARE(observer.reports.last().value2, 1);
        QCOMPARE(observer.reports.last().value3, 1);
        QCOMPARE(observer.reports.last().currentfile, QStringLiteral("a.jpg"));
        QCOMPARE(observer.reports.last().server, QStringLiteral("127.0.0.1"));
        QCOMPARE(readFile(server.root() + "/anna/a.jpg"), pattern(size));
    }

    // Of 300 chunks only those that move the rounded percentage are
    // reported, each percentage once; the last chunk always is.
    void unchangedPercentagesAreNotReported()
    {
        ServerProcess server(KYVANE_SERVER);
        QVERIFY(server.isListening());
        const QString a = mediaFile("a.jpg", 300000);
        m_settings.chunkSize = 1000;
        RecordingObserver observer;
        runJob({entry(server, a)}, observer);
        m_settings.chunkSize = kChunk;
        QList<int> values{0, 0};
        for (int percent = 1; percent <= 100; ++percent)
            values.append(percent); // chunk 299 of 300 rounds to 100 already
        values.append(100);         // the last chunk
        values.append(100);         // counted after the acknowledgement
        QCOMPARE(observer.values(), values);
        QVERIFY(observer.finished());
        QCOMPARE(readFile(server.root() + "/anna/a.jpg"), pattern(300000));
    }

    // The server drops the line after 1,500,000 bytes; the next run resumes
    // there, sends the last 500,000 bytes as one chunk and the file is whole.
    void cutOffThenResumed()
    {
        ServerProcess cutting(KYVANE_SERVER, {"--close-after-bytes", "1500000"});
        QVERIFY(cutting.isListening());
        const QString a = mediaFile("a.jpg", 2000000);
        RecordingObserver first;
        runJob({entry(cutting, a)}, first);
        QVERIFY(!first.finished());
        QCOMPARE(first.logLines().size(), 1);
        QVERIFY2(first.logLines().first().startsWith("[127.0.0.1][FAIL] a.jpg Backup Failed ("),
                 qPrintable(first.logLines().first()));
        QVERIFY(!QFile::exists(cutting.root() + "/anna/a.jpg"));

        ServerProcess resuming(KYVANE_SERVER, {"--root", cutting.root()});
        QVERIFY(resuming.isListening());
        RecordingObserver second;
        runJob({entry(resuming, a)}, second);
        QCOMPARE(second.values(), (QList<int>{0, 0, 100, 100}));
        QVERIFY(second.finished());
        QCOMPARE(readFile(cutting.root() + "/anna/a.jpg"), pattern(2000000));
    }

    // The file is cut short while it is sent: the entry fails and is not
    // counted, and the server keeps no whole file.
    void fileBecomesShorterWhileSent()
    {
        ServerProcess server(KYVANE_SERVER);
        QVERIFY(server.isListening());
        const QString a = mediaFile("a.jpg", 3 * kChunk);
        RecordingObserver observer;
        observer.onReport = [&a](const RecordingObserver::Report& report) {
            if (report.value > 0 && report.value < 100)
                QFile::resize(a, kChunk);
        };
        runJob({entry(server, a)}, observer);
        QCOMPARE(observer.logLines(),
                 QStringList{"[127.0.0.1][FAIL] a.jpg Backup Failed (The file became shorter "
                             "while it was sent.)"});
        QCOMPARE(observer.values(), (QList<int>{0, 0, 33}));
        QVERIFY(!observer.finished());
        QVERIFY(!QFile::exists(server.root() + "/anna/a.jpg"));
    }

    void loginFailures_data()
    {
        QTest::addColumn<QStringList>("switches");
        QTest::addColumn<QString>("line");
        QTest::newRow("auth refused")
            << QStringList{"--refuse-auth"} << "[127.0.0.1][FAIL] Login Failed";
        QTest::newRow("helo refused")
            << QStringList{"--refuse-helo"} << "[127.0.0.1][FAIL] Helo Failed";
        QTest::newRow("greeting not 220, line kept open")
            << QStringList{"--greeting", "421 busy,1,2"}
            << "[127.0.0.1][FAIL] Unable to connect to server";
    }

    void loginFailures()
    {
        QFETCH(QStringList, switches);
        QFETCH(QString, line);
        ServerProcess server(KYVANE_SERVER, switches);
        QVERIFY(server.isListening());
        // The server is in Settings: its login fails for the server's reason
        // alone.
        QCOMPARE(
            ListFile::write(m_folder->file("server.cfg"), {entry(server, QString()).chopped(1)}),
            QString());
        const QString a = mediaFile("a.jpg", 10);
        const QString b = mediaFile("b.jpg", 10);
        RecordingObserver observer;
        runJob({entry(server, a), entry(server, b)}, observer);

        QCOMPARE(observer.logLines(), QStringList{line});
        // a: taken up, failed login; b: only taken up, passed over silently.
        QCOMPARE(observer.values(), (QList<int>{0, 0, 0}));
        QCOMPARE(observer.reports.last().currentfile, QStringLiteral("b.jpg"));
        QVERIFY(!observer.finished());
        QCOMPARE(server.countLines("[open"), 1);
        QCOMPARE(server.countLines("put"), 0);
    }

    void connectionRefused()
    {
        QTcpServer probe; // a port that nothing listens on once the probe closes
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const quint16 port = probe.serverPort();
        probe.close();
        const QString a = mediaFile("a.jpg", 10);
        RecordingObserver observer;
        runJob({entry("127.0.0.1", port, a)}, observer);
        QCOMPARE(observer.logLines().size(), 1);
        const QString line = observer.logLines().first();
        QVERIFY2(line.startsWith("[127.0.0.1][FAIL] Unable to connect to server (") &&
                     line.endsWith(")") && line.size() > 50,
                 qPrintable(line));
        QVERIFY(!observer.finished());
    }

    void acknowledgementMissing_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("message");
        QTest::newRow("never comes") << "--no-ack"
                                     << "Read timed out.";
        QTest::newRow("line closed instead") << "--close-instead-of-ack"
                                             << "Connection closed gracefully.";
    }

    void acknowledgementMissing()
    {
        QFETCH(QString, fault);
        QFETCH(QString, message);
        ServerProcess server(KYVANE_SERVER, {fault});
        QVERIFY(server.isListening());
        m_settings.readTimeoutMs = 1000;
        const QString a = mediaFile("a.jpg", 2000000);
        RecordingObserver observer;
        runJob({entry(server, a)}, observer);
        m_settings.readTimeoutMs = 5000;
        QCOMPARE(observer.logLines(),
                 QStringList{"[127.0.0.1][FAIL] a.jpg Backup Failed (" + message + ")"});
        // The last chunk is reported at 100, but the file is never counted.
        QCOMPARE(observer.values(), (QList<int>{0, 0, 41, 82, 100}));
        QVERIFY(!observer.finished());
    }

    void stopDuringTransfer()
    {
        ServerProcess server(KYVANE_SERVER, {"--chunk-delay-ms", "100"});
        QVERIFY(server.isListening());
        const QString a = mediaFile("a.jpg", 8 * kChunk);
        const QString b = mediaFile("b.jpg", 10);
        RecordingObserver observer;
        observer.onReport = [](const RecordingObserver::Report& report) {
            if (report.value > 0 && report.value < 100)
                StopTokens::stopAll(); // as the queue's Stop would, mid-file
        };
        runJob({entry(server, a), entry(server, b)}, observer);
        QCOMPARE(observer.logLines(), QStringList{"[127.0.0.1][STOP] a.jpg stopped"});
        // The chunk under way finishes, then nothing more is sent or reported.
        QCOMPARE(observer.values(), (QList<int>{0, 0, 12}));
        QVERIFY(!observer.finished());
        // b.jpg was passed over: no report, no second put, no new connection.
        QCOMPARE(observer.reports.last().currentfile, QStringLiteral("a.jpg"));
        QCOMPARE(server.countLines("put"), 1);
        QCOMPARE(server.countLines("[open"), 1);
    }

    // A new job starts just after this worker cancelled its file: the
    // server still waits for the rest of that file, so nothing may follow on
    // the connection, and this worker stays stopped.
    void stoppedWorkerStaysStoppedWhenANewJobStarts()
    {
        ServerProcess serverA(KYVANE_SERVER, {"--chunk-delay-ms", "100"}, "127.0.0.1");
        ServerProcess serverB(KYVANE_SERVER, {}, "127.0.0.2");
        QVERIFY(serverA.isListening() && serverB.isListening());
        const QString a = mediaFile("a.jpg", 2 * kChunk);
        const QString b = mediaFile("b.jpg", kChunk);
        const QString c = mediaFile("c.jpg", 10);
        RecordingObserver observer;
        observer.onReport = [](const RecordingObserver::Report& report) {
            if (report.value > 0 && report.value < 100)
                StopTokens::stopAll();
        };
        RecordingObserver newJob;
        QPointer<TFileGenius> newWorker;
        observer.onStatus = [&](const QString& line) {
            if (line.endsWith("stopped"))
                newWorker = TFileGenius::Create(
                    {entry(serverB, m_folder->file("media/gone.jpg"))}, "130000",
                    std::make_shared<ObserverChannel>(&newJob), m_settings);
        };
        runJob({entry(serverA, a), entry(serverA, b), entry(serverB, c)}, observer);
        QTRY_VERIFY_WITH_TIMEOUT(newWorker.isNull(), 60000);
        // The new job ran: it was not stopped.
        QCOMPARE(newJob.logLines(), QStringList{"[127.0.0.2][FAIL] gone.jpg file not found"});
        QCOMPARE(observer.logLines(), QStringList{"[127.0.0.1][STOP] a.jpg stopped"});
        QVERIFY(!observer.finished());
        QCOMPARE(serverA.countLines("put"), 1);
        QCOMPARE(serverA.countLines("START"), 1);
        QCOMPARE(serverB.countLines("[open"), 0);
        QVERIFY(!QFile::exists(serverA.root() + "/anna/a.jpg"));
        QVERIFY(!QFile::exists(serverA.root() + "/anna/b.jpg"));
    }

    void nonAsciiNameAndAccount()
    {
        ServerProcess server(KYVANE_SERVER);
        QVERIFY(server.isListening());
        const QString name = QString::fromUtf8("Ü.jpg");
        const QString a = mediaFile(name, 3000);
        RecordingObserver observer;
        runJob({entry(server, a)}, observer);
        QVERIFY(observer.finished());
        QCOMPARE(readFile(server.root() + "/anna/" + name), pattern(3000));
        QCOMPARE(server.countLines("put"), 1);
        QVERIFY(server.transcript().join('\n').contains("put 3000 w5wuanBn "));
    }

    // A job of three files whose second was deleted before its turn: the
    // other two are stored, the gone one is said in the log and recorded as
    // not found, and it counts as settled, so the job finishes. A file
    // whose folder is gone too (an unplugged card) may come back: it fails
    // and the job stays.
    void goneFileIsSettled_data()
    {
        QTest::addColumn<QString>("missing");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<bool>("finishes");
        QTest::newRow("file deleted") << "media/gone.jpg"
                                      << "file not found" << true;
        QTest::newRow("folder gone")
            << "unplugged/gone.jpg"
            << "file cannot be reached (its folder is missing or cannot be read)" << false;
    }

    void goneFileIsSettled()
    {
        QFETCH(QString, missing);
        QFETCH(QString, reason);
        QFETCH(bool, finishes);
        ServerProcess server(KYVANE_SERVER);
        QVERIFY(server.isListening());
        const QString a = mediaFile("a.jpg", 100);
        const QString gone = m_folder->file(missing);
        const QString c = mediaFile("c.jpg", 300);
        RecordingObserver observer;
        runJob({entry(server, a), entry(server, gone), entry(server, c)}, observer);

        const QString goneLine = "[127.0.0.1][FAIL] gone.jpg " + reason;
        QCOMPARE(observer.logLines(), (QStringList{"[127.0.0.1][DONE] a.jpg Backup OK", goneLine,
                                                   "[127.0.0.1][DONE] c.jpg Backup OK"}));
        QVERIFY(jobLog().contains("  " + goneLine + "\r\n"));
        QCOMPARE(observer.finished(), finishes);
        QCOMPARE(observer.reports.last().value2, finishes ? 3 : 2);
        QCOMPARE(observer.reports.last().value3, 3);
        QCOMPARE(server.countLines("[open"), 1);
        QCOMPARE(server.countLines("put"), 2);
        QCOMPARE(readFile(server.root() + "/anna/c.jpg"), pattern(300));

        const auto job = JobRecords(OutcomeStore::shared()).pending(kJob);
        QVERIFY(job);
        QCOMPARE(job->counts.sent, 2);
        QCOMPARE(job->counts.notFound, finishes ? 1 : 0);
        QCOMPARE(job->counts.failed, finishes ? 0 : 1);
        const EntryRecord first = JobRecords(OutcomeStore::shared()).entries(job->id).first();
        QCOMPARE(first.file.path, gone);
        QCOMPARE(first.reason, reason);
        // The window learns the same of the run from the worker itself.
        QCOMPARE(observer.runCounts.size(), 1);
        QCOMPARE(observer.runCounts.first().sent, 2);
        QCOMPARE(observer.runCounts.first().notFound, finishes ? 1 : 0);
        QCOMPARE(observer.runCounts.first().failed, finishes ? 0 : 1);
    }

    // A job of nothing but a gone file makes no connection at all, and is
    // done.
    void onlyAGoneFileMakesNoConnection()
    {
        ServerProcess server(KYVANE_SERVER);
        QVERIFY(server.isListening());
        QVERIFY(QDir().mkpath(m_folder->file("media")));
        RecordingObserver observer;
        runJob({entry(server, m_folder->file("media/gone.jpg"))}, observer);
        QCOMPARE(observer.rows, QStringList{kJob});
        QCOMPARE(observer.logLines(), QStringList{"[127.0.0.1][FAIL] gone.jpg file not found"});
        QVERIFY(observer.finished());
        QCOMPARE(server.countLines("[open"), 0);
    }

    // A job keeps the digest each entry was written with. A password
    // corrected in Settings reaches it: while the entry's server (address,
    // port, account) is in server.cfg, its digest there is used. A server
    // no longer in Settings logs in with the entry's own, and its failed
    // login says that Settings cannot help.
    void loginDigestFollowsSettings_data()
    {
        QTest::addColumn<QString>("entryPassword");
        QTest::addColumn<QString>("configuredPassword"); // empty: not in server.cfg
        QTest::addColumn<QString>("line");
        QTest::newRow("corrected in Settings") << "wrong"
                                               << "secret"
                                               << "[127.0.0.1][DONE] a.jpg Backup OK";
        QTest::newRow("still wrong in Settings") << "secret"
                                                 << "wrong"
                                                 << "[127.0.0.1][FAIL] Login Failed";
        QTest::newRow("no longer configured, right") << "secret"
                                                     << ""
                                                     << "[127.0.0.1][DONE] a.jpg Backup OK";
        QTest::newRow("no longer configured, wrong")
            << "wrong"
            << ""
            << "[127.0.0.1][FAIL] Login Failed (this server is no longer in Settings)";
    }

    void loginDigestFollowsSettings()
    {
        QFETCH(QString, entryPassword);
        QFETCH(QString, configuredPassword);
        QFETCH(QString, line);
        ServerProcess server(KYVANE_SERVER);
        QVERIFY(server.isListening());
        const QString server2 = QStringLiteral("127.0.0.1|%1|anna|").arg(server.port());
        QStringList configured{QStringLiteral("127.0.0.1|1|anna|") + passwordDigest("secret"),
                               QStringLiteral("127.0.0.1|%1|bob|").arg(server.port()) +
                                   passwordDigest("secret")};
        if (!configuredPassword.isEmpty())
            configured.append(server2 + passwordDigest(configuredPassword));
        QCOMPARE(ListFile::write(m_folder->file("server.cfg"), configured), QString());
        const QString a = mediaFile("a.jpg", 100);
        RecordingObserver observer;
        runJob({server2 + passwordDigest(entryPassword) + "|" + a}, observer);
        QCOMPARE(observer.logLines(), QStringList{line});
        QCOMPARE(observer.finished(), line.contains("DONE"));
    }

    void oddPutReplies_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<bool>("wholeFileSent");
        QTest::newRow("negative offset: from the start") << "200 -5" << true;
        QTest::newRow("code alone: from the start") << "202" << true;
        QTest::newRow("offset beyond the end: nothing sent") << "200 99999999" << false;
    }

    void oddPutReplies()
    {
        QFETCH(QString, reply);
        QFETCH(bool, wholeFileSent);
        ServerProcess server(KYVANE_SERVER, {"--put-reply", reply});
        QVERIFY(server.isListening());
        const QString a = mediaFile("a.jpg", 1000);
        RecordingObserver observer;
        runJob({entry(server, a)}, observer);
        // One report for the only (or empty) chunk, one for the count.
        QCOMPARE(observer.values(), (QList<int>{0, 0, 100, 100}));
        QVERIFY(observer.finished());
        QCOMPARE(QFile::exists(server.root() + "/anna/a.jpg"), wholeFileSent);
        if (wholeFileSent)
            QCOMPARE(readFile(server.root() + "/anna/a.jpg"), pattern(1000));
    }

    // No greeting within the read time-out: an empty line, not "220".
    void silentServer()
    {
        FakeServer peer([](QTcpSocket& socket) { FakeServer::awaitClose(socket, 10000); });
        m_settings.readTimeoutMs = 300;
        const QString a = mediaFile("a.jpg", 10);
        RecordingObserver observer;
        runJob({entry("127.0.0.1", peer.port(), a)}, observer);
        m_settings.readTimeoutMs = 5000;
        QCOMPARE(observer.logLines(), QStringList{"[127.0.0.1][FAIL] Unable to connect to server"});
    }

    // A put reply later than the read time-out fails the entry: nothing
    // follows the put line, not even for the next entry of that server.
    void putReplyLaterThanTheTimeOut()
    {
        QByteArray put;
        QByteArray afterPut;
        FakeServer peer([&](QTcpSocket& socket) {
            logIn(socket);
            put = FakeServer::readLine(socket);
            QThread::msleep(900); // the client gives up after 300 ms
            FakeServer::send(socket, "200 0\r\n");
            afterPut = FakeServer::readBytes(socket, 1, 2000);
            FakeServer::awaitClose(socket);
        });
        m_settings.readTimeoutMs = 300;
        const QString a = mediaFile("a.jpg", 1000);
        const QString b = mediaFile("b.jpg", 1000);
        RecordingObserver observer;
        runJob({entry("127.0.0.1", peer.port(), a), entry("127.0.0.1", peer.port(), b)}, observer);
        m_settings.readTimeoutMs = 5000;
        // The server writes its reply after the client gave up, and only
        // then reads what follows the put line.
        peer.join();
        QVERIFY(put.startsWith("put 1000 YS5qcGc= "));
        QCOMPARE(afterPut, QByteArray());
        QCOMPARE(observer.logLines(),
                 QStringList{"[127.0.0.1][FAIL] a.jpg Backup Failed (Read timed out.)"});
        // a: taken up only; b: taken up and passed over on the closed line.
        QCOMPARE(observer.values(), (QList<int>{0, 0}));
        QVERIFY(!observer.finished());
    }

    // A refused put or acknowledgement fails that file with the server's
    // words and is not counted; the next file goes on the same connection.
    void refusals_data()
    {
        QTest::addColumn<QByteArray>("putReply");
        QTest::addColumn<QByteArray>("acknowledgement");
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("dataSent");
        QTest::newRow("put 501") << QByteArray("501 name is too long") << QByteArray()
                                 << "[127.0.0.1][FAIL] a.jpg Backup Failed (name is too long)"
                                 << false;
        QTest::newRow("put 451") << QByteArray("451 busy, try later") << QByteArray()
                                 << "[127.0.0.1][FAIL] a.jpg Backup Failed (busy, try later)"
                                 << false;
        QTest::newRow("put 550, code alone")
            << QByteArray("550") << QByteArray() << "[127.0.0.1][FAIL] a.jpg Backup Failed (550)"
            << false;
        QTest::newRow("acknowledgement 552")
            << QByteArray("200 0") << QByteArray("552 disk full")
            << "[127.0.0.1][FAIL] a.jpg Backup Failed (disk full)" << true;
    }

    void refusals()
    {
        QFETCH(QByteArray, putReply);
        QFETCH(QByteArray, acknowledgement);
        QFETCH(QString, line);
        QFETCH(bool, dataSent);
        QByteArray afterPutA;
        QByteArray dataA;
        QByteArray putB;
        QByteArray dataB;
        FakeServer peer([&](QTcpSocket& socket) {
            logIn(socket);
            FakeServer::readLine(socket); // put a
            FakeServer::send(socket, putReply + "\r\n");
            afterPutA = FakeServer::readLine(socket);
            if (afterPutA == "START\r\n") {
                dataA = FakeServer::readBytes(socket, 1000);
                FakeServer::send(socket, acknowledgement + "\r\n");
                putB = FakeServer::readLine(socket);
            } else {
                putB = afterPutA;
            }
            FakeServer::send(socket, "200 0\r\n");
            if (FakeServer::readLine(socket) == "START\r\n")
                dataB = FakeServer::readBytes(socket, 2000);
            FakeServer::send(socket, "250 stored\r\n");
            FakeServer::awaitClose(socket);
        });
        const QString a = mediaFile("a.jpg", 1000);
        const QString b = mediaFile("b.jpg", 2000);
        RecordingObserver observer;
        runJob({entry("127.0.0.1", peer.port(), a), entry("127.0.0.1", peer.port(), b)}, observer);
        peer.join();

        QCOMPARE(afterPutA == "START\r\n", dataSent);
        QCOMPARE(dataA, dataSent ? pattern(1000) : QByteArray());
        QVERIFY2(putB.startsWith("put 2000 Yi5qcGc= "), putB.constData());
        QCOMPARE(dataB, pattern(2000));
        QCOMPARE(observer.logLines(), (QStringList{line, "[127.0.0.1][DONE] b.jpg Backup OK"}));
        // Only b is counted, so the job stays.
        QCOMPARE(observer.reports.last().value2, 1);
        QCOMPARE(observer.reports.last().value3, 2);
        QVERIFY(!observer.finished());
    }

    // "START" and a small file's data leave as one message. Sent alone,
    // "START" made the file's tail wait for its acknowledgement, which the
    // server delays while it has nothing to answer: 40 ms for every file.
    void startAndDataShareOneSegment_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::newRow("0 bytes") << qint64(0);
        QTest::newRow("4 KiB") << qint64(4096);
        QTest::newRow("10,000 bytes") << qint64(10000);
    }

    void startAndDataShareOneSegment()
    {
        QFETCH(qint64, size);
        QByteArray received;
        quint32 segments = 0;
        FakeServer peer([&](QTcpSocket& socket) {
            logIn(socket);
            FakeServer::readLine(socket); // put
            const int fd = int(socket.socketDescriptor());
            const quint32 before = tcpInfoOf(fd).tcpi_data_segs_in;
            FakeServer::send(socket, "200 0\r\n");
            received = FakeServer::readBytes(socket, 7 + size);
            segments = tcpInfoOf(fd).tcpi_data_segs_in - before;
            FakeServer::send(socket, "250 stored\r\n");
            FakeServer::awaitClose(socket);
        });
        const QString a = mediaFile("a.jpg", size);
        RecordingObserver observer;
        runJob({entry("127.0.0.1", peer.port(), a)}, observer);
        peer.join();
        QCOMPARE(received, "START\r\n" + pattern(size));
        QCOMPARE(segments, 1u);
        QVERIFY(observer.finished());
    }

    void secondWorkerOnARunningJobIsRefused()
    {
        ServerProcess server(KYVANE_SERVER, {"--chunk-delay-ms", "100"});
        QVERIFY(server.isListening());
        const QString a = mediaFile("a.jpg", 3 * kChunk);
        RecordingObserver observer;
        auto channel = std::make_shared<ObserverChannel>(&observer);
        QPointer<TFileGenius> first =
            TFileGenius::Create({entry(server, a)}, kJob, channel, m_settings);
        QVERIFY(first);
        QVERIFY(!TFileGenius::Create({entry(server, a)}, kJob, channel, m_settings));
        QTRY_VERIFY_WITH_TIMEOUT(first.isNull(), 60000);
        QCOMPARE(observer.rows, QStringList{kJob});
        QCOMPARE(server.countLines("put"), 1);
        // Once it has ended, the job can run again.
        QPointer<TFileGenius> again =
            TFileGenius::Create({entry(server, a)}, kJob, channel, m_settings);
        QVERIFY(again);
        QTRY_VERIFY_WITH_TIMEOUT(again.isNull(), 60000);
    }
};

QTEST_GUILESS_MAIN(TestUpload)
#include "tst_upload.moc"
