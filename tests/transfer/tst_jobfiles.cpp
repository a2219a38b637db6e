#include "TempProgramFolder.h"
#include "core/ListFile.h"
#include "transfer/JobFiles.h"

#include <QLocale>
#include <QtTest>

using namespace kyvane;

class TestJobFiles : public QObject
{
    Q_OBJECT

private slots:
    void pendingJobs()
    {
        TempProgramFolder folder;
        folder.write("101010.kyv", "x\r\n");
        folder.write("090000.kyv", "y\r\n");
        folder.write("080000.KYV", "not ours: never written, never removable by name\r\n");
        folder.write("101010.kyvlog", "");
        folder.write("notajob.kyv.bak", "");
        folder.makeFolder("sub");
        folder.write("sub/111111.kyv", "z\r\n");
        folder.makeFolder("222222.kyv"); // a folder is not a job
        QStringList names = JobFiles::pendingJobNames();
        names.sort();
        QCOMPARE(names, (QStringList{"090000", "101010"}));
        QCOMPARE(JobFiles::jobFilePath("101010"), folder.path() + "101010.kyv");
    }

    void jobFileRoundTrip()
    {
        TempProgramFolder folder;
        const QStringList entries{"nas|1|a|d|/p/x|y.jpg", "nas|1|a|d|/p/Ü.jpg"};
        QCOMPARE(JobFiles::writeJob("120000", entries), QString());
        QCOMPARE(folder.read("120000.kyv"),
                 QByteArray("\xEF\xBB\xBFnas|1|a|d|/p/x|y.jpg\r\nnas|1|a|d|/p/\xC3\x9C.jpg\r\n"));
        QCOMPARE(*ListFile::read(JobFiles::jobFilePath("120000")), entries);
        // Its entries carry password digests: readable by the owner only.
        const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                                QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                QFileDevice::WriteOther | QFileDevice::ExeOther;
        const auto permissions = QFile::permissions(JobFiles::jobFilePath("120000"));
        QCOMPARE(permissions & others, QFileDevice::Permissions());
        QVERIFY(permissions & QFileDevice::ReadOwner);
    }

    void staleLogs()
    {
        TempProgramFolder folder;
        folder.write("100000.kyv", "e\r\n");
        folder.write("100000.kyvlog", "kept: its job is pending\r\n");
        folder.write("110000.kyvlog", "stale\r\n");
        folder.write("120000.KYVLOG", "not ours\r\n");
        folder.makeFolder("sub");
        folder.write("sub/130000.kyvlog", "not ours\r\n");
        JobFiles::removeStaleJobLogs();
        QVERIFY(folder.exists("100000.kyvlog"));
        QVERIFY(!folder.exists("110000.kyvlog"));
        QVERIFY(folder.exists("120000.KYVLOG"));
        QVERIFY(folder.exists("sub/130000.kyvlog"));
    }

    void logLine()
    {
        const QLocale locale = QLocale::system();
        const QDateTime afternoon(QDate(2026, 3, 4), QTime(15, 6, 7));
        QCOMPARE(JobFiles::jobLogLine(afternoon, "[nas][DONE] a.jpg Backup OK"),
                 locale.toString(afternoon.date(), QLocale::ShortFormat) + " " +
                     locale.toString(afternoon.time(), QLocale::LongFormat) +
                     "  [nas][DONE] a.jpg Backup OK\r\n");
        // At exactly midnight the time is left out.
        const QDateTime midnight(QDate(2026, 3, 4), QTime(0, 0));
        QCOMPARE(JobFiles::jobLogLine(midnight, "x"),
                 locale.toString(midnight.date(), QLocale::ShortFormat) + "  x\r\n");
    }

    void logFile()
    {
        TempProgramFolder folder;
        QCOMPARE(JobFiles::writeJobLog("120000", ""), QString());
        QCOMPARE(folder.read("120000.kyvlog"), QByteArray("\r\n"));
        QCOMPARE(JobFiles::writeJobLog("120000", QString::fromUtf8("a  取消備份\r\n")), QString());
        QCOMPARE(folder.read("120000.kyvlog"), QString::fromUtf8("a  取消備份\r\n\r\n").toUtf8());
        folder.makeFolder("130000.kyvlog");
        QVERIFY(!JobFiles::writeJobLog("130000", "x").isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestJobFiles)
#include "tst_jobfiles.moc"
