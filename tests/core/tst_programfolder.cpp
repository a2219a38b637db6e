#include "core/ProgramFolder.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace kyvane;

class TestProgramFolder : public QObject
{
    Q_OBJECT

private slots:
    void oneTrailingSeparator_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "/opt/kyvane" << "/opt/kyvane/";
        QTest::newRow("has one") << "/opt/kyvane/" << "/opt/kyvane/";
        QTest::newRow("has two") << "/opt/kyvane//" << "/opt/kyvane/";
        QTest::newRow("root") << "/" << "/";
        QTest::newRow("blank in name") << "/opt/my apps" << "/opt/my apps/";
    }

    void oneTrailingSeparator()
    {
        QFETCH(QString, folder);
        QFETCH(QString, expected);
        QCOMPARE(ProgramFolder::withOneTrailingSeparator(folder), expected);
    }

    // The folder is the executable's, wherever the program is started from.
    void folderOfExecutableNotWorkingFolder()
    {
        QTemporaryDir installDir;
        QTemporaryDir workDir;
        QVERIFY(installDir.isValid() && workDir.isValid());
        const QString programFolder = installDir.path() + "/Kyvane Photos";
        QVERIFY(QDir().mkpath(programFolder));
        const QString probe = programFolder + "/probe";
        QVERIFY(QFile::copy(PROBE_PATH, probe));

        QProcess process;
        process.setWorkingDirectory(workDir.path());
        process.start(probe, {});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
        const QString printed = QString::fromUtf8(process.readAllStandardOutput());
        QCOMPARE(printed, QFileInfo(programFolder).canonicalFilePath() + "/");
    }

    void filesAreNamedInTheFolder()
    {
        ProgramFolder::setForTesting("/tmp/kyvane-test");
        QCOMPARE(ProgramFolder::path(), QStringLiteral("/tmp/kyvane-test/"));
        QCOMPARE(ProgramFolder::file("server.cfg"), QStringLiteral("/tmp/kyvane-test/server.cfg"));
        ProgramFolder::fix(); // the test folder holds until the end
        QCOMPARE(ProgramFolder::path(), QStringLiteral("/tmp/kyvane-test/"));
    }
};

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "tst_programfolder.moc"
