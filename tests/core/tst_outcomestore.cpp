// The outcome store: what it answers, what survives a restart, and what it
// does with a damaged, foreign or locked file.
#include "SmallDisk.h"
#include "TempProgramFolder.h"
#include "core/JobRecords.h"
#include "core/OutcomeStore.h"
#include "core/SqliteDatabase.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QtTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace kyvane;

namespace {

const ServerKey kNas{QStringLiteral("nas.home"), 25714, QStringLiteral("anna")};
const QString kPhoto = QStringLiteral("/pics/IMG_0001.JPG");
constexpr qint64 kSize = 123456;
constexpr qint64 kModified = 1700000000000;
constexpr qint64 kDayMs = 24LL * 60 * 60 * 1000;

FileOutcome outcomeOf(Outcome outcome, const ServerKey& server = kNas, qint64 size = kSize,
                      qint64 modified = kModified, qint64 at = 1700000100000)
{
    FileOutcome happened;
    happened.file = {kPhoto, server};
    happened.size = size;
    happened.modifiedMs = modified;
    happened.outcome = outcome;
    happened.reason = outcome == Outcome::Failed ? QStringLiteral("Backup Failed (reset)")
                                                 : QString();
    happened.atMs = at;
    return happened;
}

QString storePath(const TempProgramFolder& folder)
{
    return folder.file(OutcomeStore::kFileName);
}

std::shared_ptr<OutcomeStore> openStore(const TempProgramFolder& folder)
{
    OutcomeStore::Opened opened = OutcomeStore::open(storePath(folder));
    if (!opened.error.isEmpty())
        qWarning() << opened.error;
    return opened.store;
}

FileOutcome sentFile(int number)
{
    FileOutcome happened = outcomeOf(Outcome::Sent);
    happened.file.path = QStringLiteral("/pics/f%1.jpg").arg(number);
    return happened;
}

qint64 recordCount(const QString& path)
{
    SqliteDatabase db(path);
    return db.queryInteger("SELECT count(*) FROM file_outcomes");
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QList<FileOnServer> entriesOf(int count)
{
    QList<FileOnServer> entries;
    for (int i = 0; i < count; ++i)
        entries.append({QStringLiteral("/pics/f%1.jpg").arg(i), kNas});
    return entries;
}

} // namespace

class TestOutcomeStore : public QObject
{
    Q_OBJECT

private slots:
    // "Was this file confirmed by that server?": only for a confirmation of
    // the same file, server, size and modification time.
    void confirmation_data()
    {
        QTest::addColumn<int>("recorded");
        QTest::addColumn<ServerKey>("askedServer");
        QTest::addColumn<qint64>("askedSize");
        QTest::addColumn<qint64>("askedModified");
        QTest::addColumn<bool>("confirmed");
        const int sent = int(Outcome::Sent);
        QTest::newRow("sent, same file") << sent << kNas << kSize << kModified << true;
        QTest::newRow("held, same file") << int(Outcome::Held) << kNas << kSize << kModified << true;
        QTest::newRow("failed") << int(Outcome::Failed) << kNas << kSize << kModified << false;
        QTest::newRow("refused") << int(Outcome::Refused) << kNas << kSize << kModified << false;
        QTest::newRow("not found") << int(Outcome::NotFound) << kNas << kSize << kModified
                                   << false;
        QTest::newRow("file grew") << sent << kNas << kSize + 1 << kModified << false;
        QTest::newRow("file touched") << sent << kNas << kSize << kModified + 1000 << false;
        QTest::newRow("other port")
            << sent << ServerKey{kNas.address, 25715, kNas.account} << kSize << kModified << false;
        QTest::newRow("other account")
            << sent << ServerKey{kNas.address, kNas.port, QStringLiteral("bob")} << kSize
            << kModified << false;
        QTest::newRow("other address")
            << sent << ServerKey{QStringLiteral("NAS.home"), kNas.port, kNas.account} << kSize
            << kModified << false;
    }

    void confirmation()
    {
        QFETCH(int, recorded);
        QFETCH(ServerKey, askedServer);
        QFETCH(qint64, askedSize);
        QFETCH(qint64, askedModified);
        QFETCH(bool, confirmed);
        TempProgramFolder folder;
        auto store = openStore(folder);
        QVERIFY(store);
        store->recordFileOutcome(outcomeOf(Outcome(recorded)));
        QCOMPARE(store->isConfirmed(kPhoto, askedServer, askedSize, askedModified), confirmed);
        QCOMPARE(store->lastConfirmation(kPhoto).has_value(), isConfirmation(Outcome(recorded)));
    }

    // A failure after a success is the file's last outcome, but the server
    // still has what it confirmed; a later confirmation of a changed file
    // takes the place of the older one.
    void laterOutcomesKeepTheNewestConfirmation()
    {
        TempProgramFolder folder;
        auto store = openStore(folder);
        const ServerKey other{QStringLiteral("192.168.1.20"), 25714, QStringLiteral("anna")};
        store->recordFileOutcome(outcomeOf(Outcome::Sent, kNas, kSize, kModified, 1000));
        store->recordFileOutcome(outcomeOf(Outcome::Held, other, kSize, kModified, 2000));
        store->recordFileOutcome(outcomeOf(Outcome::Failed, other, kSize, kModified, 3000));
        QVERIFY(store->isConfirmed(kPhoto, other, kSize, kModified));
        QCOMPARE(store->lastConfirmation(kPhoto)->server, other);
        QCOMPARE(store->lastConfirmation(kPhoto)->atMs, 2000);

        store->recordFileOutcome(outcomeOf(Outcome::Sent, kNas, kSize + 5, kModified + 5, 4000));
        QVERIFY(!store->isConfirmed(kPhoto, kNas, kSize, kModified));
        QVERIFY(store->isConfirmed(kPhoto, kNas, kSize + 5, kModified + 5));
        QCOMPARE(store->lastConfirmation(kPhoto)->server, kNas);
        QVERIFY(!store->lastConfirmation(QStringLiteral("/pics/other.jpg")));
    }

    // What was recorded is there after the program starts again.
    void recordsSurviveAReopen()
    {
        TempProgramFolder folder;
        qint64 job = 0;
        {
            auto store = openStore(folder);
            JobRecords records(store);
            job = records.addJob(QStringLiteral("101500"), JobKind::of(JobKind::Type::Today), 5);
            QCOMPARE(records.startRun(QStringLiteral("101500"), entriesOf(2), 0), job);
            FileOutcome sent = outcomeOf(Outcome::Sent);
            sent.file = entriesOf(2).at(1);
            records.record(job, 1, sent);
        }
        auto store = openStore(folder);
        JobRecords records(store);
        const auto pending = records.pending(QStringLiteral("101500"));
        QVERIFY(pending);
        QCOMPARE(pending->id, job);
        QCOMPARE(pending->kind.type, JobKind::Type::Today);
        QCOMPARE(pending->counts.sent, 1);
        QCOMPARE(pending->counts.waiting, 1);
        QVERIFY(store->isConfirmed(QStringLiteral("/pics/f1.jpg"), kNas, kSize, kModified));
    }

    // A job's entries: failures first, then the waiting, then the confirmed;
    // a new run starts them all waiting again.
    void entriesFailuresFirstAndRunsStartAnew()
    {
        TempProgramFolder folder;
        JobRecords records(openStore(folder));
        const qint64 job = records.startRun(QStringLiteral("090000"), entriesOf(5), 42);
        QVERIFY(job);
        QCOMPARE(records.pending(QStringLiteral("090000"))->kind.type, JobKind::Type::Unknown);
        QCOMPARE(records.pending(QStringLiteral("090000"))->madeMs, 42);
        const Outcome outcomes[] = {Outcome::Sent, Outcome::NotFound, Outcome::Held,
                                    Outcome::Failed, Outcome::Refused};
        for (int i = 0; i < 4; ++i) { // the last stays waiting
            FileOutcome happened = outcomeOf(outcomes[i]);
            happened.file = entriesOf(5).at(i);
            records.record(job, i, happened);
        }
        QList<int> order;
        for (const EntryRecord& entry : records.entries(job))
            order.append(entry.entry);
        QCOMPARE(order, (QList<int>{3, 1, 4, 0, 2}));
        QCOMPARE(records.entries(job).first().reason, QStringLiteral("Backup Failed (reset)"));

        QCOMPARE(records.startRun(QStringLiteral("090000"), entriesOf(5), 0), job);
        QCOMPARE(records.job(job)->counts.waiting, 5);
    }

    // A new job of a name replaces a pending record of that name; finished
    // jobs stay in the history; start-up drops records of vanished jobs.
    void pendingAndFinishedJobs()
    {
        TempProgramFolder folder;
        JobRecords records(openStore(folder));
        const qint64 first = records.addJob(QStringLiteral("080000"), JobKind{}, 1);
        records.finish(first, 10, QStringLiteral("a.kyvlog"));
        const qint64 second = records.addJob(QStringLiteral("080000"), JobKind{}, 2);
        const qint64 third = records.addJob(QStringLiteral("080000"), JobKind{}, 3);
        QVERIFY(!records.job(second));
        QCOMPARE(records.pending(QStringLiteral("080000"))->id, third);
        QCOMPARE(records.history().size(), 1);
        QCOMPARE(records.history().first().logFile, QStringLiteral("a.kyvlog"));

        records.addJob(QStringLiteral("090000"), JobKind{}, 4);
        records.dropPendingExcept({QStringLiteral("090000")});
        QVERIFY(!records.pending(QStringLiteral("080000")));
        QVERIFY(records.pending(QStringLiteral("090000")));
        QCOMPARE(records.history().size(), 1);
        records.dropPending(QStringLiteral("090000"));
        QVERIFY(!records.pending(QStringLiteral("090000")));
    }

    // The history keeps the finished jobs of the last days, and no more
    // than so many: newest first.
    void historyLimits_data()
    {
        QTest::addColumn<QList<qint64>>("finishedDaysAgo");
        QTest::addColumn<int>("maxJobs");
        QTest::addColumn<QStringList>("kept");
        QTest::addColumn<QStringList>("removedLogs");
        QTest::newRow("all recent")
            << QList<qint64>{1, 2, 3} << 5 << QStringList{"j0", "j1", "j2"} << QStringList{};
        QTest::newRow("one too old")
            << QList<qint64>{1, 91, 89} << 5 << QStringList{"j0", "j2"} << QStringList{"j1.kyvlog"};
        QTest::newRow("too many")
            << QList<qint64>{4, 1, 3, 2} << 2 << QStringList{"j1", "j3"}
            << QStringList{"j2.kyvlog", "j0.kyvlog"};
    }

    void historyLimits()
    {
        QFETCH(QList<qint64>, finishedDaysAgo);
        QFETCH(int, maxJobs);
        QFETCH(QStringList, kept);
        QFETCH(QStringList, removedLogs);
        TempProgramFolder folder;
        JobRecords records(openStore(folder));
        const qint64 now = 1800000000000;
        for (int i = 0; i < finishedDaysAgo.size(); ++i) {
            const QString name = QStringLiteral("j%1").arg(i);
            const qint64 id = records.addJob(name, JobKind{}, 0);
            records.startRun(name, entriesOf(3), 0);
            records.finish(id, now - finishedDaysAgo.at(i) * kDayMs, name + ".kyvlog");
        }
        QCOMPARE(records.pruneHistory(now, 90, maxJobs), removedLogs);
        QStringList names;
        for (const JobRecord& job : records.history())
            names.append(job.name);
        QCOMPARE(names, kept);
    }

    // A file that is no store, or a damaged one, is moved aside with its
    // journal and a new store starts; the program is told where it went.
    void damagedFileIsMovedAside_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("not a database") << QStringLiteral("foreign");
        QTest::newRow("pages overwritten") << QStringLiteral("overwritten");
        QTest::newRow("cut short") << QStringLiteral("cut");
    }

    void damagedFileIsMovedAside()
    {
        QFETCH(QString, damage);
        TempProgramFolder folder;
        const QString path = storePath(folder);
        if (damage == QLatin1String("foreign")) {
            folder.write(OutcomeStore::kFileName, QByteArray("no database here\n").repeated(300));
        } else {
            {
                JobRecords records(openStore(folder));
                for (int i = 0; i < 40; ++i) {
                    const QString name = QStringLiteral("j%1").arg(i);
                    const qint64 job = records.addJob(name, JobKind{}, 0);
                    records.startRun(name, entriesOf(50), 0);
                    records.finish(job, i, QString());
                }
            }
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            const qint64 size = file.size();
            QVERIFY(size > 8 * 4096);
            if (damage == QLatin1String("cut")) {
                QVERIFY(file.resize(size / 3));
            } else {
                QVERIFY(file.seek(4096)); // every page after the first
                file.write(QByteArray(size - 4096, 'x'));
            }
        }
        const QByteArray damaged = folder.read(OutcomeStore::kFileName);

        OutcomeStore::Opened opened = OutcomeStore::open(path);
        QVERIFY2(opened.store, qPrintable(opened.error));
        QVERIFY(opened.movedAsideTo.startsWith(path + ".damaged-"));
        QFile aside(opened.movedAsideTo);
        QVERIFY(aside.open(QIODevice::ReadOnly));
        QCOMPARE(aside.readAll(), damaged); // kept as it was, for a look
        QVERIFY(JobRecords(opened.store).history().isEmpty());
        opened.store->recordFileOutcome(outcomeOf(Outcome::Sent));
        QVERIFY(opened.store->isConfirmed(kPhoto, kNas, kSize, kModified));
    }

    // Anything but a file where the store belongs is moved aside as it is
    // and a new store starts; the store a link points to is left alone.
    void somethingElseInItsPlaceIsMovedAside_data()
    {
        QTest::addColumn<QString>("thing");
        QTest::newRow("a folder") << QStringLiteral("folder");
        QTest::newRow("a link to a store elsewhere") << QStringLiteral("link");
        QTest::newRow("a link to nothing") << QStringLiteral("dangling");
    }

    void somethingElseInItsPlaceIsMovedAside()
    {
        QFETCH(QString, thing);
        TempProgramFolder folder;
        const QString path = storePath(folder);
        const QString elsewhere = folder.file(QStringLiteral("elsewhere.db"));
        if (thing == QLatin1String("folder")) {
            folder.makeFolder(OutcomeStore::kFileName);
            folder.write(OutcomeStore::kFileName + "/inside", "x");
        } else {
            if (thing == QLatin1String("link"))
                OutcomeStore::open(elsewhere).store->recordFileOutcome(outcomeOf(Outcome::Sent));
            QVERIFY(QFile::link(elsewhere, path));
        }
        const QByteArray elsewhereBefore = readAll(elsewhere);

        OutcomeStore::Opened opened = OutcomeStore::open(path);
        QVERIFY2(opened.store, qPrintable(opened.error));
        QVERIFY(opened.movedAsideTo.startsWith(path + ".damaged-"));
        const QFileInfo aside(opened.movedAsideTo);
        QCOMPARE(aside.isSymLink(), thing != QLatin1String("folder"));
        if (thing == QLatin1String("folder"))
            QVERIFY(QFile::exists(opened.movedAsideTo + "/inside"));
        QVERIFY(QFileInfo(path).isFile() && !QFileInfo(path).isSymLink());
        QVERIFY(!opened.store->lastConfirmation(kPhoto));
        opened.store->recordFileOutcome(outcomeOf(Outcome::Held));
        QVERIFY(opened.store->isConfirmed(kPhoto, kNas, kSize, kModified));
        QCOMPARE(readAll(elsewhere), elsewhereBefore);
    }

    // Two damaged stores in one second each keep a name of their own.
    void secondDamagedStoreKeepsTheFirst()
    {
        TempProgramFolder folder;
        folder.write(OutcomeStore::kFileName, QByteArray("first\n").repeated(300));
        const QString first = OutcomeStore::open(storePath(folder)).movedAsideTo;
        QVERIFY(QFile::remove(storePath(folder)));
        folder.write(OutcomeStore::kFileName, QByteArray("second\n").repeated(300));
        const QString second = OutcomeStore::open(storePath(folder)).movedAsideTo;
        QVERIFY(!first.isEmpty() && !second.isEmpty());
        QVERIFY(first != second);
        QCOMPARE(readAll(first), QByteArray("first\n").repeated(300));
        QCOMPARE(readAll(second), QByteArray("second\n").repeated(300));
    }

    // A program folder that cannot be written: the store is not used and
    // says why; nothing is moved, nothing throws.
    void readOnlyFolderIsNotUsed_data()
    {
        QTest::addColumn<bool>("storeExists");
        QTest::newRow("store written earlier") << true;
        QTest::newRow("no store yet") << false;
    }

    void readOnlyFolderIsNotUsed()
    {
        QFETCH(bool, storeExists);
        TempProgramFolder folder;
        const QString disk = folder.file(QStringLiteral("disk"));
        folder.makeFolder(QStringLiteral("disk"));
        if (!SmallDisk::mount(disk, 1 << 20))
            QSKIP("no tmpfs can be mounted here (needs root outside a locked-down container)");
        const auto unmount = qScopeGuard([&] { SmallDisk::unmount(disk); });
        const QString path = disk + "/" + OutcomeStore::kFileName;
        if (storeExists)
            OutcomeStore::open(path).store->recordFileOutcome(outcomeOf(Outcome::Sent));
        const QByteArray before = readAll(path);
        QVERIFY(SmallDisk::makeReadOnly(disk));

        const OutcomeStore::Opened opened = OutcomeStore::open(path);
        QVERIFY(!opened.store);
        QVERIFY(!opened.error.isEmpty());
        QVERIFY(opened.movedAsideTo.isEmpty());
        QCOMPARE(readAll(path), before);
    }

    // SQLite opens a file it may not write for reading only, without a
    // word: such a store is not used, and says why.
    void readOnlyFileIsNotUsed()
    {
        TempProgramFolder folder;
        const QString path = storePath(folder);
        OutcomeStore::open(path).store->recordFileOutcome(outcomeOf(Outcome::Sent));
        const auto tryIt = [&path] {
            const OutcomeStore::Opened opened = OutcomeStore::open(path);
            return !opened.store && opened.movedAsideTo.isEmpty() &&
                   opened.error.contains(QLatin1String("cannot be written"));
        };
        if (::geteuid() != 0) {
            QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
            QVERIFY(tryIt());
            return;
        }
        // Root may write any file: another user tries it, in a child
        // process. The folder is theirs to write (SQLite adds its index of
        // the journal there), the store is not.
        const auto all = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                         QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
        QVERIFY(QFile::setPermissions(folder.path(), all));
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ReadOther));
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            const bool asOther = ::setgid(65534) == 0 && ::setuid(65534) == 0;
            ::_exit(!asOther ? 2 : tryIt() ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
    }

    // A full disk costs the outcomes that came while it was full: nothing
    // throws, what was stored stays, and once there is room again the
    // store records on; it is sound when opened again.
    void fullDiskLosesOnlyWhatCameMeanwhile()
    {
        TempProgramFolder folder;
        const QString disk = folder.file(QStringLiteral("disk"));
        folder.makeFolder(QStringLiteral("disk"));
        if (!SmallDisk::mount(disk, 2 << 20))
            QSKIP("no tmpfs can be mounted here (needs root outside a locked-down container)");
        const auto unmount = qScopeGuard([&] { SmallDisk::unmount(disk); });
        const QString path = disk + "/" + OutcomeStore::kFileName;
        {
            auto store = OutcomeStore::open(path).store;
            QVERIFY(store);
            for (int i = 0; i < 20; ++i)
                store->recordFileOutcome(sentFile(i));

            const QString fillerPath = disk + "/filler";
            QFile filler(fillerPath);
            QVERIFY(filler.open(QIODevice::WriteOnly));
            const QByteArray block(64 << 10, 'f');
            while (filler.write(block) == block.size() && filler.flush()) {
            }
            filler.close();
            int recordedWhileFull = 0;
            for (int i = 20; i < 220; ++i) {
                FileOutcome happened = sentFile(i);
                happened.reason = QString(2000, QLatin1Char('r')); // needs new pages
                store->recordFileOutcome(happened);
                recordedWhileFull += store->isConfirmed(happened.file.path, kNas, kSize, kModified);
            }
            QVERIFY2(recordedWhileFull < 200, "the disk never filled up");
            for (int i = 0; i < 20; ++i)
                QVERIFY(store->isConfirmed(sentFile(i).file.path, kNas, kSize, kModified));

            QVERIFY(QFile::remove(fillerPath));
            store->recordFileOutcome(sentFile(1000));
            QVERIFY(store->isConfirmed(sentFile(1000).file.path, kNas, kSize, kModified));
        }
        const OutcomeStore::Opened again = OutcomeStore::open(path);
        QVERIFY2(again.store, qPrintable(again.error));
        QVERIFY(again.movedAsideTo.isEmpty());
        QVERIFY(again.store->isConfirmed(sentFile(19).file.path, kNas, kSize, kModified));
        QVERIFY(again.store->isConfirmed(sentFile(1000).file.path, kNas, kSize, kModified));
    }

    // A program killed while it records keeps every outcome it had
    // recorded: at most the one in flight is lost, and the store is sound.
    void killedWriterLosesAtMostTheOutcomeInFlight()
    {
        TempProgramFolder folder;
        const QString path = storePath(folder);
        int pipeFds[2];
        QVERIFY(::pipe(pipeFds) == 0);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ::close(pipeFds[0]);
            const auto store = OutcomeStore::open(path).store;
            for (int i = 0; store; ++i) {
                store->recordFileOutcome(sentFile(i));
                if (::write(pipeFds[1], &i, sizeof i) != sizeof i)
                    break;
            }
            ::_exit(1);
        }
        ::close(pipeFds[1]);
        int last = -1;
        int told = 0;
        while (last < 300 && ::read(pipeFds[0], &told, sizeof told) == sizeof told)
            last = told;
        ::kill(child, SIGKILL);
        QCOMPARE(::waitpid(child, nullptr, 0), child);
        while (::read(pipeFds[0], &told, sizeof told) == sizeof told)
            last = told;
        ::close(pipeFds[0]);
        QVERIFY(last >= 300);

        const OutcomeStore::Opened opened = OutcomeStore::open(path);
        QVERIFY2(opened.store, qPrintable(opened.error));
        QVERIFY(opened.movedAsideTo.isEmpty());
        const qint64 kept = recordCount(path);
        QVERIFY2(kept == last + 1 || kept == last + 2,
                 qPrintable(QStringLiteral("%1 recorded, %2 kept").arg(last + 1).arg(kept)));
        QVERIFY(opened.store->isConfirmed(sentFile(last).file.path, kNas, kSize, kModified));
    }

    // A store of a newer program is neither used nor moved.
    void newerSchemaIsLeftAlone()
    {
        TempProgramFolder folder;
        {
            SqliteDatabase db(storePath(folder));
            db.exec("CREATE TABLE future (x); PRAGMA user_version = 99");
        }
        const QByteArray before = folder.read(OutcomeStore::kFileName);
        OutcomeStore::Opened opened = OutcomeStore::open(storePath(folder));
        QVERIFY(!opened.store);
        QVERIFY(opened.movedAsideTo.isEmpty());
        QVERIFY(opened.error.contains("newer"));
        QCOMPARE(folder.read(OutcomeStore::kFileName), before);
    }

    // Another process holding the store locked costs a record, not the
    // caller: the write gives up within its bound and nothing throws.
    void lockedStoreGivesUpInTime()
    {
        TempProgramFolder folder;
        auto store = openStore(folder);
        QVERIFY(store);
        SqliteDatabase other(storePath(folder));
        other.exec("BEGIN EXCLUSIVE");
        QElapsedTimer timer;
        timer.start();
        store->recordFileOutcome(outcomeOf(Outcome::Sent));
        QVERIFY(timer.elapsed() < 10000);
        other.exec("ROLLBACK");
        QVERIFY(!store->isConfirmed(kPhoto, kNas, kSize, kModified));
        store->recordFileOutcome(outcomeOf(Outcome::Sent));
        QVERIFY(store->isConfirmed(kPhoto, kNas, kSize, kModified));
    }

    // Paths and reasons are kept as they are: line breaks, quotes and text
    // that is not valid UTF-8 on the way in.
    void oddTextsAreKept()
    {
        TempProgramFolder folder;
        auto store = openStore(folder);
        FileOutcome happened = outcomeOf(Outcome::Held);
        happened.file.path = QStringLiteral("/pics/a\nb'; DROP TABLE jobs; --\"\u00fc.jpg");
        store->recordFileOutcome(happened);
        QVERIFY(store->isConfirmed(happened.file.path, kNas, kSize, kModified));
        QVERIFY(!store->isConfirmed(QStringLiteral("/pics/a"), kNas, kSize, kModified));
    }
};

QTEST_MAIN(TestOutcomeStore)
#include "tst_outcomestore.moc"
