#include "ScriptedClient.h"
#include "ServerChild.h"
#include "ServerFixture.h"

#include <QDirIterator>
#include <QStorageInfo>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

// The kyvane-server program on a disk that fills up, and sweeping a store
// that another server process shares.
class TestServerDisk : public QObject
{
    Q_OBJECT

private:
    // A small tmpfs at folder, in a mount namespace of this test's own (so
    // nothing outside sees it and it goes with the test); false where the
    // test may not mount.
    static bool mountSmallDisk(const QString& folder, qint64 bytes)
    {
        static const bool ownNamespace =
            ::unshare(CLONE_NEWNS) == 0 &&
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0700";
        return ownNamespace && ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs",
                                       MS_NOSUID | MS_NODEV, options.constData()) == 0;
    }

private slots:
    // The disk fills up, or the file passes a size limit, half-way through a
    // file: the server reads and drops the rest, answers why in place of the
    // acknowledgement, keeps what it wrote for a resume and serves on, with
    // its memory bounded meanwhile. Once there is room, the file resumes.
    void fullDiskIsAnAnswer_data()
    {
        QTest::addColumn<bool>("smallDisk"); // else a file-size limit
        QTest::addColumn<QString>("answer");
        QTest::newRow("disk fills up during the upload") << true << "452 disk full";
        QTest::newRow("file size limit") << false << "452 file too large for the store";
    }

    void fullDiskIsAnAnswer()
    {
        QFETCH(bool, smallDisk);
        QFETCH(QString, answer);
        constexpr qint64 kFileBytes = 24 << 20;
        constexpr qint64 kRoomBytes = 2 << 20;
        QTemporaryDir disk;
        if (smallDisk && !mountSmallDisk(disk.path(), kFileBytes + (8 << 20)))
            QSKIP("no tmpfs can be mounted here (needs root outside a locked-down container)");
        // Gone before the folder is.
        const std::unique_ptr<const QTemporaryDir, void (*)(const QTemporaryDir*)> unmount(
            smallDisk ? &disk : nullptr, [](const QTemporaryDir* mounted) {
                ::umount2(QFile::encodeName(mounted->path()).constData(), MNT_DETACH);
            });
        const QString root = disk.filePath(QStringLiteral("root"));
        // The server itself makes a write past the limit fail rather than end it.
        const std::function<void()> fileSizeLimit = [] {
            ::signal(SIGXFSZ, SIG_DFL);
            const rlimit limit{kRoomBytes, kRoomBytes};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        };
        auto server = std::make_unique<ServerChild>(
            QStringLiteral(KYVANE_SERVER_PATH), QStringList{},
            smallDisk ? std::function<void()>() : fileSizeLimit, root);
        QVERIFY2(server->start(), qPrintable(server->errorOutput()));

        const QByteArray content = patternBytes(kFileBytes, 9);
        ScriptedClient client;
        QVERIFY(client.connectAndLogIn(server->port()));
        client.sendLine(ScriptedClient::putLine(content.size(), "big.mov"));
        QCOMPARE(client.readLine(), QStringLiteral("200 0"));
        const QString filler = disk.filePath(QStringLiteral("filler"));
        if (smallDisk) {
            // Taken after the server said yes: the disk fills up meanwhile.
            QFile fill(filler);
            QVERIFY(fill.open(QIODevice::WriteOnly));
            fill.write(QByteArray(QStorageInfo(disk.path()).bytesAvailable() - kRoomBytes, 'f'));
            fill.close();
        }
        const long memoryBefore = server->peakMemoryKiB();
        const long residentBefore = server->residentMemoryKiB();
        client.sendRaw("START\r\n" + content);
        QCOMPARE(client.readLine(), answer);
        const long grown = server->peakMemoryKiB() - memoryBefore;
        qInfo("\"%s\" after the server dropped the %lld MiB it had no room for; resident memory "
              "%ld KiB before the file, %ld KiB at the answer; the peak grew by %ld KiB",
              qPrintable(answer), (kFileBytes - kRoomBytes) >> 20, residentBefore,
              server->residentMemoryKiB(), grown);
        QVERIFY2(grown < 32 * 1024, qPrintable(QStringLiteral("%1 KiB").arg(grown)));

        // The connection and the server go on.
        QVERIFY(!client.upload("tiny.jpg", "t").isNull());
        ScriptedClient other;
        QVERIFY(other.connectAndLogIn(server->port()));
        const QStringList partials = partialFilesUnder(root);
        QCOMPARE(partials.size(), 1);
        const qint64 kept = QFileInfo(partials.first()).size();
        QVERIFY2(kept > 0 && kept <= kRoomBytes, qPrintable(QString::number(kept)));

        // Room is made; the file resumes from what was kept.
        if (smallDisk) {
            QVERIFY(QFile::remove(filler));
        } else {
            server = std::make_unique<ServerChild>(QStringLiteral(KYVANE_SERVER_PATH),
                                                   QStringList{}, std::function<void()>(), root);
            QVERIFY2(server->start(), qPrintable(server->errorOutput()));
        }
        ScriptedClient again;
        QVERIFY(again.connectAndLogIn(server->port()));
        QString ack;
        QCOMPARE(again.upload("big.mov", content, &ack), QStringLiteral("200 %1").arg(kept));
        QCOMPARE(ack, QStringLiteral("250 stored"));
        QFile stored(root + "/bob/big.mov");
        QVERIFY(stored.open(QIODevice::ReadOnly));
        QVERIFY(stored.readAll() == content);
        QCOMPARE(partialFilesUnder(root), QStringList());
    }

    // A server starting on a store that another server uses removes private
    // partial files and shared ones idle for more than the longest age, says
    // which, and leaves alone the partial file another server's connection
    // is receiving (whose time was set back to look idle), a fresh one, and
    // the stored files.
    void startSweepLeavesWhatAnotherServerHolds()
    {
        QTemporaryDir dir;
        const QString root = dir.filePath(QStringLiteral("root"));
        ServerChild first(QStringLiteral(KYVANE_SERVER_PATH), {"--takeover-after", "0.1"}, {},
                          root);
        QVERIFY2(first.start(), qPrintable(first.errorOutput()));
        const QByteArray content = patternBytes(10000, 2);
        ScriptedClient holder;
        QVERIFY(holder.connectAndLogIn(first.port()));
        QCOMPARE(holder.startUpload(content.size(), "held.mov", content.left(4000)),
                 QStringLiteral("200 0"));
        QTRY_VERIFY_WITH_TIMEOUT(partialFilesUnder(root).size() == 1 &&
                                     QFileInfo(partialFilesUnder(root).first()).size() == 4000,
                                 10000);
        const QString held = partialFilesUnder(root).first();
        const QDateTime now = QDateTime::currentDateTimeUtc();
        QVERIFY(setFileTime(held, now.addDays(-30)));

        const QString folder = root + "/bob/";
        const auto make = [&](const QString& name, const QDateTime& modified) {
            QFile file(folder + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("partial");
            file.close();
            QVERIFY(setFileTime(file.fileName(), modified));
        };
        make(".old.jpg.7-1715932989.partial", now.addDays(-8));
        make(".fresh.jpg.7-1715932989.partial", now.addDays(-6));
        make(".p.jpg.0123456789abcdef.partial", now.addSecs(-1));
        make("x.jpg", now.addDays(-100));
        make(".x.jpg.kyvane-name", now.addDays(-100));

        ServerChild second(QStringLiteral(KYVANE_SERVER_PATH), {}, {}, root);
        QVERIFY2(second.start(), qPrintable(second.errorOutput()));
        const QString oldLine =
            QStringLiteral("sweep removed bob/.old.jpg.7-1715932989.partial "
                           "(7 bytes, last written %1)")
                .arg(QDateTime::fromSecsSinceEpoch(now.addDays(-8).toSecsSinceEpoch(), Qt::UTC)
                         .toString(Qt::ISODate));
        const QString privateLine =
            QStringLiteral("sweep removed bob/.p.jpg.0123456789abcdef.partial (7 bytes, private)");
        QTRY_VERIFY_WITH_TIMEOUT(second.errorOutput().contains(oldLine) &&
                                     second.errorOutput().contains(privateLine),
                                 10000);
        QCOMPARE(second.errorOutput().count(QLatin1String("sweep removed")), 2);
        QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        QStringList kept{".fresh.jpg.7-1715932989.partial", QFileInfo(held).fileName(),
                         ".x.jpg.kyvane-name", "x.jpg"};
        left.sort();
        kept.sort();
        QCOMPARE(left, kept);

        holder.sendRaw(content.mid(4000));
        QCOMPARE(holder.readLine(), QStringLiteral("250 stored"));
        QFile stored(folder + "held.mov");
        QVERIFY(stored.open(QIODevice::ReadOnly));
        QVERIFY(stored.readAll() == content);
    }
};

QTEST_GUILESS_MAIN(TestServerDisk)
#include "tst_serverdisk.moc"
