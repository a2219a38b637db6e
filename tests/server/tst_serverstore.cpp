#include "RecordingDiskCalls.h"
#include "ScriptedClient.h"
#include "ServerFixture.h"

#include <QDateTime>
#include <QtTest>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <utility>

// What the server does on the disk to store a file: the order of its syncs,
// the failures it answers, and how a stored file is known again.
class TestServerStore : public QObject
{
    Q_OBJECT

private:
    static QString partialOf(const QString& name, qint64 size, const QString& modified)
    {
        const QDateTime time = QDateTime::fromString(modified, "yyyy/MM/dd;hh:mm:ss");
        return QStringLiteral(".%1.%2-%3.partial")
            .arg(name)
            .arg(size)
            .arg(QDateTime(time.date(), time.time(), Qt::UTC).toSecsSinceEpoch());
    }

    // The contents of the stored files, hidden ones left out.
    static QList<QByteArray> storedContents(const ServerFixture& server)
    {
        QList<QByteArray> contents;
        for (const QString& file : server.allFiles()) {
            if (!QFileInfo(file).fileName().startsWith(QLatin1Char('.')))
                contents << server.read(file);
        }
        std::sort(contents.begin(), contents.end());
        return contents;
    }

private slots:
    // A stored file, its time and its name reach the disk before the
    // acknowledgement: the time is set before the file is synced, the
    // folder is synced after the file is moved to its name, each folder the
    // server makes for its root is synced into the one above, and the root
    // is synced the first time this server uses an account folder, also
    // one that another server made. Folder syncs are slowed down, so an
    // acknowledgement sent before them would arrive before they are recorded.
    void syncsBeforeTheAcknowledgement_data()
    {
        QTest::addColumn<QString>("rootBelowFixture");
        QTest::addColumn<bool>("accountFolderExists");
        QTest::addColumn<QStringList>("atStart");
        QTest::newRow("new root and account folder")
            << "root" << false << QStringList{"syncFolder .."};
        QTest::newRow("root two new folders down")
            << "new/root" << false << QStringList{"syncFolder ../..", "syncFolder .."};
        QTest::newRow("account folder made by another server") << "root" << true << QStringList();
    }

    void syncsBeforeTheAcknowledgement()
    {
        QFETCH(QString, rootBelowFixture);
        QFETCH(bool, accountFolderExists);
        QFETCH(QStringList, atStart);
        ServerFixture server;
        server.options.root = QFileInfo(server.root()).path() + "/" + rootBelowFixture;
        if (accountFolderExists)
            QVERIFY(QDir().mkpath(server.file("bob")));
        RecordingDiskCalls calls(server.root());
        calls.setFolderSyncDelayMs(200);
        server.options.syncFiles = true;
        server.options.diskCalls = &calls;
        QVERIFY(server.start());
        QCOMPARE(calls.calls(), atStart);
        calls.clear();

        ScriptedClient client;
        QVERIFY(client.connectAndLogIn(server.port()));
        QString ack;
        QCOMPARE(client.upload("a.jpg", "hello", &ack), QStringLiteral("200 0"));
        QCOMPARE(ack, QStringLiteral("250 stored"));
        const QString first = "bob/" + partialOf("a.jpg", 5, "2024/05/17;08:03:09");
        QCOMPARE(calls.calls(), (QStringList{"syncFolder .", "setModified " + first,
                                             "setAttribute " + first, "syncFile " + first,
                                             "rename " + first + " bob/a.jpg", "syncFolder bob"}));

        calls.clear();
        QCOMPARE(client.upload("b.jpg", "bye", &ack), QStringLiteral("200 0"));
        QCOMPARE(ack, QStringLiteral("250 stored"));
        const QString second = "bob/" + partialOf("b.jpg", 3, "2024/05/17;08:03:09");
        QCOMPARE(calls.calls(), (QStringList{"setModified " + second, "setAttribute " + second,
                                             "syncFile " + second,
                                             "rename " + second + " bob/b.jpg", "syncFolder bob"}));
    }

    // A server that cannot make its new root survive a power cut does not start.
    void rootThatCannotBeSyncedStopsTheStart()
    {
        ServerFixture server;
        RecordingDiskCalls calls(server.root());
        calls.setFailure("syncFolder", EIO);
        server.options.syncFiles = true;
        server.options.diskCalls = &calls;
        kyvane::server::BackupServerThread thread(server.options);
        QString error;
        QVERIFY(!thread.start(&error));
        QCOMPARE(error, QStringLiteral("cannot sync the folder %1: Input/output error")
                            .arg(QFileInfo(server.root()).path()));
        QCOMPARE(calls.calls(), QStringList{"syncFolder .."});
    }

    // While one connection's bytes wait for a slow disk, other connections
    // are served at once.
    void slowDiskHoldsUpOnlyItsConnection()
    {
        ServerFixture server;
        RecordingDiskCalls calls(server.root());
        calls.setWriteDelayMs(3000);
        server.options.diskCalls = &calls;
        QVERIFY(server.start());
        ScriptedClient slow;
        QVERIFY(slow.connectAndLogIn(server.port()));
        QCOMPARE(slow.startUpload(3000, "v.mov", patternBytes(3000)), QStringLiteral("200 0"));
        QTRY_COMPARE_WITH_TIMEOUT(calls.writesStarted(), 1, 10000);

        ScriptedClient other;
        QVERIFY(other.connectAndLogIn(server.port()));
        QCOMPARE(other.upload("w.jpg", QByteArray()), QStringLiteral("200 0"));
        QCOMPARE(calls.writesFinished(), 0); // still under way

        QCOMPARE(slow.readLine(), QStringLiteral("250 stored"));
        QCOMPARE(server.read("bob/v.mov"), patternBytes(3000));
    }

    // A file the disk refuses to take is answered with the reason, in place
    // of the acknowledgement; the connection goes on, and once the disk
    // takes it the same file is stored under its own name, never as "(2)".
    void failedStoreIsAnAnswer_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("reply");
        QTest::addColumn<bool>("keepsEveryByte"); // the partial file holds the whole file
        QTest::newRow("time cannot be set")
            << "setModified" << EPERM << "451 cannot set the file's time: Operation not permitted"
            << true;
        QTest::newRow("file cannot be synced")
            << "syncFile" << EIO << "451 cannot sync the file: Input/output error" << true;
        QTest::newRow("name cannot be recorded")
            << "setAttribute" << EIO << "451 cannot record the file's name: Input/output error"
            << true;
        QTest::newRow("folder cannot be synced")
            << "syncFolder" << EIO << "451 cannot sync the folder: Input/output error" << false;
        QTest::newRow("disk fails while writing")
            << "write" << EIO << "451 cannot write the file: Input/output error" << false;
        QTest::newRow("disk full while writing") << "write" << ENOSPC << "452 disk full" << false;
        QTest::newRow("quota reached while writing")
            << "write" << EDQUOT << "452 quota exceeded" << false;
    }

    void failedStoreIsAnAnswer()
    {
        QFETCH(QString, call);
        QFETCH(int, error);
        QFETCH(QString, reply);
        QFETCH(bool, keepsEveryByte);
        ServerFixture server;
        RecordingDiskCalls calls(server.root());
        server.options.syncFiles = true;
        server.options.diskCalls = &calls;
        QVERIFY(server.start());
        const QByteArray content = patternBytes(3000000, 5);
        ScriptedClient client;
        QVERIFY(client.connectAndLogIn(server.port()));
        // The account folder exists, so only the file's own folder sync fails.
        QCOMPARE(client.upload("before.jpg", "x"), QStringLiteral("200 0"));

        calls.setFailure(call, error);
        QString answer;
        QCOMPARE(client.upload("v.mov", content, &answer), QStringLiteral("200 0"));
        QCOMPARE(answer, reply);
        calls.setFailure(call, 0);

        // The same connection offers the file again and resumes it.
        QString ack;
        const QString again = client.upload("v.mov", content, &ack);
        if (call == "syncFolder") {
            // The file was moved to its name before the folder sync failed.
            QCOMPARE(again, QStringLiteral("201 exists"));
        } else {
            if (keepsEveryByte)
                QCOMPARE(again, QStringLiteral("200 %1").arg(content.size()));
            else
                QVERIFY2(again.startsWith(QLatin1String("200 ")), qPrintable(again));
            QCOMPARE(ack, QStringLiteral("250 stored"));
        }
        QCOMPARE(client.upload("v.mov", content), QStringLiteral("201 exists"));
        QCOMPARE(server.read("bob/v.mov"), content);
        QCOMPARE(QFileInfo(server.file("bob/v.mov")).lastModified().toUTC(),
                 QDateTime(QDate(2024, 5, 17), QTime(8, 3, 9), Qt::UTC));
        QVERIFY(!QFileInfo::exists(server.file("bob/v (2).mov")));
    }

    // Two different names never end in one stored file, even where version
    // names are shortened to fit the limit or a client's name looks like
    // another file's version: each of four files (two names, two times, the
    // later ones of the same size and time) is stored and known again, with
    // the name kept in an extended attribute or, where the file system has
    // none, in a side file.
    void distinctNamesNeverShareAStoredFile_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("sideFiles");
        const QString stem = QString(249, 'n'); // names of 254 bytes
        for (const bool sideFiles : {false, true}) {
            const char* where = sideFiles ? "side file" : "attribute";
            QTest::addRow("254-byte names one letter apart, %s", where)
                << stem + "a.jpg" << stem + "b.jpg" << sideFiles;
            QTest::addRow("a copy named like a version, %s", where) << "IMG.jpg"
                                                                    << "IMG (2).jpg" << sideFiles;
        }
    }

    void distinctNamesNeverShareAStoredFile()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, sideFiles);
        ServerFixture server;
        RecordingDiskCalls calls(server.root());
        if (sideFiles)
            calls.setFailure("setAttribute", ENOTSUP);
        server.options.diskCalls = &calls;
        QVERIFY(server.start());
        ScriptedClient client;
        QVERIFY(client.connectAndLogIn(server.port()));

        struct Upload
        {
            QString name;
            QByteArray content;
            QString modified;
        };
        const QList<Upload> uploads{
            {first, patternBytes(100, 1), "2024/05/17;08:03:09"},
            {first, patternBytes(200, 2), "2024/06/01;10:00:00"},
            {second, patternBytes(100, 3), "2024/05/17;08:03:09"},
            {second, patternBytes(200, 4), "2024/06/01;10:00:00"},
        };
        for (const Upload& upload : uploads) {
            QString ack;
            QCOMPARE(client.upload(upload.name, upload.content, &ack, upload.modified),
                     QStringLiteral("200 0"));
            QCOMPARE(ack, QStringLiteral("250 stored"));
        }
        QList<QByteArray> expected;
        for (const Upload& upload : uploads) {
            QCOMPARE(client.upload(upload.name, upload.content, nullptr, upload.modified),
                     QStringLiteral("201 exists"));
            expected << upload.content;
        }
        std::sort(expected.begin(), expected.end());
        QCOMPARE(storedContents(server), expected);
        const QStringList records = server.allFiles().filter(
            QRegularExpression(QStringLiteral("/\\.[^/]*\\.kyvane-name$")));
        QCOMPARE(records.size(), sideFiles ? 4 : 0);
        for (const QString& file : server.allFiles())
            QVERIFY(QFileInfo(file).fileName().toUtf8().size() <= 255);
    }

    // Another server on the store moves its file to the name between this
    // one's look and its move: that file stays as it is, and this one
    // becomes the next version.
    void nameTakenJustBeforeTheMoveIsKept()
    {
        ServerFixture server;
        RecordingDiskCalls calls(server.root());
        bool taken = false; // touched on the disk thread only
        calls.setBeforeRename([&taken](const QString& target) {
            if (std::exchange(taken, true))
                return;
            QFile other(target);
            if (other.open(QIODevice::WriteOnly | QIODevice::NewOnly))
                other.write("another version");
        });
        server.options.diskCalls = &calls;
        QVERIFY(server.start());
        ScriptedClient client;
        QVERIFY(client.connectAndLogIn(server.port()));
        QString ack;
        QCOMPARE(client.upload("a.jpg", "mine", &ack), QStringLiteral("200 0"));
        QCOMPARE(ack, QStringLiteral("250 stored"));
        QCOMPARE(server.read("bob/a.jpg"), QByteArray("another version"));
        QCOMPARE(server.read("bob/a (2).jpg"), QByteArray("mine"));
        QCOMPARE(client.upload("a.jpg", "mine"), QStringLiteral("201 exists"));
    }

    // Files stored before names were recorded are still known by size and time.
    void fileWithoutARecordIsKnownBySizeAndTime()
    {
        ServerFixture server;
        QVERIFY(server.start());
        QVERIFY(QDir().mkpath(server.file("bob")));
        QFile old(server.file("bob/IMG (2).jpg"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("abc");
        old.close();
        QVERIFY(
            setFileTime(old.fileName(), QDateTime(QDate(2024, 5, 17), QTime(8, 3, 9), Qt::UTC)));
        QFile first(server.file("bob/IMG.jpg"));
        QVERIFY(first.open(QIODevice::WriteOnly));
        first.close();

        ScriptedClient client;
        QVERIFY(client.connectAndLogIn(server.port()));
        QCOMPARE(client.upload("IMG.jpg", "abc"), QStringLiteral("201 exists"));
        QCOMPARE(client.upload("IMG.jpg", "abd", nullptr, "2024/05/18"), QStringLiteral("200 0"));
    }

    // Every sweep removes private partial files and shared ones idle for the
    // longest age, and leaves alone those a connection has open, also one
    // whose connection went quiet and let it go for a take-over.
    void sweepLeavesHeldPartials()
    {
        ServerFixture server;
        server.options.sweepIntervalMs = 100;
        server.options.partialMaxAgeMs = 3600 * 1000;
        server.options.takeoverAfterMs = 100;
        QVERIFY(server.start());
        const QByteArray content = patternBytes(10000, 6);
        ScriptedClient holder;
        QVERIFY(holder.connectAndLogIn(server.port()));
        QCOMPARE(holder.startUpload(content.size(), "held.mov", content.left(4000)),
                 QStringLiteral("200 0"));
        QTRY_VERIFY_WITH_TIMEOUT(server.holdsOnePartialOf(4000), 10000);
        const QString held =
            server.file("bob/" + partialOf("held.mov", 10000, "2024/05/17;08:03:09"));
        const QDateTime longAgo = QDateTime::currentDateTimeUtc().addDays(-30);
        QVERIFY(setFileTime(held, longAgo));

        const auto make = [&](const QString& name, const QDateTime& modified) {
            QFile file(server.file("bob/" + name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("partial");
            file.close();
            QVERIFY(setFileTime(file.fileName(), modified));
        };
        const QDateTime now = QDateTime::currentDateTimeUtc();
        make(".old.jpg.7-1715932989.partial", now.addSecs(-7200));
        make(".fresh.jpg.7-1715932989.partial", now.addSecs(-60));
        make(".p.jpg.0123456789abcdef.partial", now);
        QTRY_VERIFY_WITH_TIMEOUT(
            !QFileInfo::exists(server.file("bob/.old.jpg.7-1715932989.partial")) &&
                !QFileInfo::exists(server.file("bob/.p.jpg.0123456789abcdef.partial")),
            10000);
        QTest::qWait(500); // a few more sweeps
        QVERIFY(QFileInfo::exists(held));
        QVERIFY(QFileInfo::exists(server.file("bob/.fresh.jpg.7-1715932989.partial")));

        holder.sendRaw(content.mid(4000));
        QCOMPARE(holder.readLine(), QStringLiteral("250 stored"));
        QCOMPARE(server.read("bob/held.mov"), content);
    }
};

QTEST_GUILESS_MAIN(TestServerStore)
#include "tst_serverstore.moc"
