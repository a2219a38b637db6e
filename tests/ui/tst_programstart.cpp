// The real program at its start: SIGPIPE is ignored once, for the whole
// process, before any connection is made.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

// The signals a process ignores, from its status in /proc; 0 when unknown.
quint64 ignoredSignals(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("SigIgn:"))
            return line.mid(7).trimmed().toULongLong(nullptr, 16);
    }
    return 0;
}

} // namespace

class TestProgramStart : public QObject
{
    Q_OBJECT

private slots:
    void brokenPipeIsIgnoredFromTheStart()
    {
        // A copy in a folder of its own keeps its files there, not in the
        // build folder; it has no job to resume, so no worker ever starts.
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString program = folder.filePath("kyvane");
        QVERIFY(QFile::copy(KYVANE_EXECUTABLE, program));
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(program, {});
        QVERIFY(process.waitForStarted(10000));
        const quint64 pipeBit = quint64(1) << (SIGPIPE - 1);
        // It shows its window only once start-up is done: by then at the
        // latest the signal is ignored.
        QTRY_VERIFY_WITH_TIMEOUT(ignoredSignals(process.processId()) & pipeBit, 30000);
        process.kill();
        process.waitForFinished(10000);
    }

    // A second copy on the same program folder asks the first to show
    // itself and ends; the first runs on. Once the first has gone, a new
    // copy starts as the one copy again, its lock no one's any more.
    void secondCopyShowsTheFirstAndEnds()
    {
        QTemporaryDir folder;
        const QString program = folder.filePath("kyvane");
        QVERIFY(QFile::copy(KYVANE_EXECUTABLE, program));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_LOGGING_RULES", "kyvane.core.info=true");
        QProcess first;
        first.setProcessEnvironment(environment);
        first.start(program, {});
        QVERIFY(first.waitForStarted(10000));
        const quint64 pipeBit = quint64(1) << (SIGPIPE - 1);
        QTRY_VERIFY_WITH_TIMEOUT(ignoredSignals(first.processId()) & pipeBit, 30000);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder.filePath("kyvane.lock")), 30000);

        QProcess second;
        second.start(program, {});
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);
        QByteArray told;
        QTRY_VERIFY_WITH_TIMEOUT((told += first.readAllStandardError())
                                     .contains("a second copy asked this one to show itself"),
                                 10000);

        first.kill();
        QVERIFY(first.waitForFinished(10000));
        QProcess third;
        third.start(program, {});
        QVERIFY(third.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(ignoredSignals(third.processId()) & pipeBit, 30000);
        // Still running: it is the one copy, not a second one that ended.
        QVERIFY(!third.waitForFinished(1000));
        third.kill();
        third.waitForFinished(10000);
    }
};

QTEST_GUILESS_MAIN(TestProgramStart)
#include "tst_programstart.moc"
