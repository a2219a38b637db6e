// Job entries that name no full path: a job file's lines are refused when
// it is read, and the worker refuses such an entry when it takes it up.
// Neither is ever read from the working folder, and no server they name is
// reached.
#include "RecordingObserver.h"
#include "ServerProcess.h"
#include "TempProgramFolder.h"
#include "UploadFixtures.h"
#include "core/JobRecords.h"
#include "core/ListFile.h"
#include "core/OutcomeStore.h"
#include "core/StopToken.h"
#include "i18n/LanguageRes.h"
#include "transfer/JobFiles.h"
#include "transfer/JobStarter.h"
#include "transfer/ObserverChannel.h"
#include "transfer/RunningJobs.h"
#include "transfer/TFileGenius.h"

#include <QPointer>
#include <QScopeGuard>
#include <QtTest>

using namespace kyvane;

namespace {

constexpr int kLongWaitMs = 60000;
const QString kJob = QStringLiteral("120000");

} // namespace

class TestJobEntries : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> m_folder;
    // The working folder of the test, holding a secret a relative path
    // would name.
    QTemporaryDir m_work;
    QString m_startFolder;
    EngineSettings m_settings;

    QString mediaFile(const QString& name, qint64 size) const
    {
        return ::mediaFile(*m_folder, name, size);
    }

private slots:
    void initTestCase()
    {
        InitLanguageTable();
        m_settings.connectTimeoutMs = 5000;
        m_settings.readTimeoutMs = 5000;
        m_startFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_work.path()));
        QFile secret(".git-credentials");
        QVERIFY(secret.open(QIODevice::WriteOnly) && secret.write("https://anna:pw@host\n") > 0);
    }

    void cleanupTestCase() { QDir::setCurrent(m_startFolder); }

    void init() { m_folder = std::make_unique<TempProgramFolder>(); }

    void cleanup()
    {
        StopTokens::stopAll();
        QTRY_VERIFY_WITH_TIMEOUT(RunningJobs::names().isEmpty(), kLongWaitMs);
    }

    // A job file as an older version wrote it for a file named
    // "x<LF><attacker's entry><LF>.jpg": the one entry came back as three
    // lines. Read now, the lines without a full path are no entries: they
    // are logged as failed, the attacker's server sees no connection, and
    // the job's real files still go.
    void injectedLinesReachNoServer()
    {
        ServerProcess server(KYVANE_SERVER);
        ServerProcess attacker(KYVANE_SERVER, {}, QStringLiteral("127.0.0.2"));
        QVERIFY(server.isListening() && attacker.isListening());
        const QString a = mediaFile("a.jpg", 300);
        const QString injected =
            jobEntryFor(server.address(), server.port(), a.left(a.size() - 5) + "x");
        const QStringList lines{
            jobEntryFor(server.address(), server.port(), a), injected,
            jobEntryFor(attacker.address(), attacker.port(), ".git-credentials"), ".jpg"};
        m_folder->write(kJob + ".kyv", ListFile::serialize(lines));

        RecordingObserver observer;
        const auto channel = std::make_shared<ObserverChannel>(&observer);
        const auto closeOnReturn = qScopeGuard([&] { channel->close(); });
        const JobStartReport report = startPendingJobs(channel, m_settings);
        QCOMPARE(report.started, QStringList{kJob});
        QTRY_VERIFY_WITH_TIMEOUT(observer.endedJobs == QStringList{kJob}, kLongWaitMs);

        QCOMPARE(attacker.countLines("[open"), 0);
        QVERIFY(!QDir(attacker.root()).exists("anna/.git-credentials"));
        QCOMPARE(readWholeFile(server.root() + "/anna/a.jpg"), QByteArray(300, '\0'));
        // The row counts the two entries; the refused lines do not hold the
        // job back, the missing file does.
        QCOMPARE(observer.rowFiles, (QStringList{lines.at(0), lines.at(1)}));
        QCOMPARE(observer.logLines(),
                 (QStringList{"[127.0.0.2][FAIL] .git-credentials Backup Failed (not a full path)",
                              "[.jpg][FAIL]  Backup Failed (not a full path)",
                              "[127.0.0.1][DONE] a.jpg Backup OK",
                              "[127.0.0.1][FAIL] x file not found"}));
        QVERIFY(
            QString::fromUtf8(m_folder->read(kJob + ".kyvlog"))
                .contains(
                    "  [127.0.0.2][FAIL] .git-credentials Backup Failed (not a full path)\r\n"));
    }

    // Nothing but refused lines: no worker, and the job file is told as one
    // that cannot be read; it stays for the user to see and delete.
    void jobOfRefusedLinesOnlyIsUnreadable()
    {
        ServerProcess attacker(KYVANE_SERVER, {}, QStringLiteral("127.0.0.2"));
        QVERIFY(attacker.isListening());
        m_folder->write(kJob + ".kyv",
                        ListFile::serialize({jobEntryFor(attacker.address(), attacker.port(),
                                                         "../.git-credentials")}));
        RecordingObserver observer;
        const auto channel = std::make_shared<ObserverChannel>(&observer);
        const auto closeOnReturn = qScopeGuard([&] { channel->close(); });
        const JobStartReport report = startPendingJobs(channel, m_settings);
        QVERIFY(report.started.isEmpty());
        QCOMPARE(report.unreadable, QStringList{kJob + ": not a full path"});
        QVERIFY(!RunningJobs::isRunning(kJob));
        QVERIFY(observer.rows.isEmpty());
        QVERIFY(m_folder->exists(kJob + ".kyv"));
        QCOMPARE(attacker.countLines("[open"), 0);
    }

    // Entries handed to a worker directly are checked again when it takes
    // each one up; a refused one is not counted, so its job stays, and it
    // is recorded as failed: the job's details show why, and its row does
    // not look merely stopped.
    void workerRefusesAnEntryWithoutAFullPath()
    {
        ServerProcess server(KYVANE_SERVER);
        ServerProcess attacker(KYVANE_SERVER, {}, QStringLiteral("127.0.0.2"));
        QVERIFY(server.isListening() && attacker.isListening());
        const QString a = mediaFile("a.jpg", 100);
        RecordingObserver observer;
        const auto channel = std::make_shared<ObserverChannel>(&observer);
        const auto closeOnReturn = qScopeGuard([&] { channel->close(); });
        QPointer<TFileGenius> worker = TFileGenius::Create(
            {jobEntryFor(attacker.address(), attacker.port(), ".git-credentials"),
             jobEntryFor(server.address(), server.port(), a)},
            kJob, channel, m_settings);
        QVERIFY(worker);
        QTRY_VERIFY_WITH_TIMEOUT(worker.isNull(), kLongWaitMs);
        QCOMPARE(observer.logLines(),
                 (QStringList{"[127.0.0.2][FAIL] .git-credentials Backup Failed (not a full path)",
                              "[127.0.0.1][DONE] a.jpg Backup OK"}));
        QCOMPARE(attacker.countLines("[open"), 0);
        QCOMPARE(observer.reports.last().value2, 1);
        QCOMPARE(observer.reports.last().value3, 2);
        QVERIFY(!observer.finished());

        const JobRecords records(OutcomeStore::shared());
        const auto job = records.pending(kJob);
        QVERIFY(job);
        QCOMPARE(job->counts.failed, 1);
        QCOMPARE(job->counts.waiting, 0);
        const EntryRecord refused = records.entries(job->id).first();
        QCOMPARE(refused.file.path, QStringLiteral(".git-credentials"));
        QCOMPARE(refused.reason, QStringLiteral("Backup Failed (not a full path)"));
    }
};

QTEST_GUILESS_MAIN(TestJobEntries)
#include "tst_jobentries.moc"
