// The Queue screen's commands and the job log view, with real workers
// uploading to kyvane-server on 127.0.0.1.
#include "ServerProcess.h"
#include "TempProgramFolder.h"
#include "UiTestHelpers.h"
#include "core/EngineSettings.h"
#include "core/ListFile.h"
#include "core/StopToken.h"
#include "i18n/LanguageRes.h"
#include "transfer/Digest.h"
#include "transfer/RunningJobs.h"
#include "transfer/TFileGenius.h"
#include "ui/MessageBox.h"
#include "ui/widgets/QueueList.h"
#include "ui/widgets/QueueRow.h"
#include "ui/widgets/SideMenu.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

using namespace kyvane;

namespace {

constexpr qint64 kChunk = 819200;
constexpr int kLongWaitMs = 120000;

bool noWorkerRunning()
{
    return RunningJobs::names().isEmpty();
}

} // namespace

class TestQueueCommands : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> m_folder;

    QString mediaFile(const QString& name, qint64 size)
    {
        QDir().mkpath(m_folder->file("media"));
        const QString path = m_folder->file("media/" + name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray(size, 'k')) != size)
            qFatal("cannot write fixture");
        return path;
    }

    QString entry(const ServerProcess& server, const QString& path) const
    {
        return QStringLiteral("%1|%2|anna|%3|%4")
            .arg(server.address(), QString::number(server.port()),
                 passwordDigest(QStringLiteral("secret")), path);
    }

    void writeJob(const QString& name, const QStringList& entries)
    {
        QCOMPARE(ListFile::write(m_folder->file(name + ".kyv"), entries), QString());
    }

    static QueueList* queue(const TForm1& form) { return control<QueueList>(form, "ListBox2"); }

    // The log of a finished job, moved to the history; empty when there is
    // none.
    QString historyLog(const QString& job) const
    {
        const QStringList logs =
            QDir(m_folder->file("history")).entryList({"*-" + job + ".kyvlog"}, QDir::Files);
        if (logs.size() != 1)
            return QString();
        return QString::fromUtf8(m_folder->read("history/" + logs.first()));
    }

    static QueueRow* rowOf(const TForm1& form, const QString& job)
    {
        return queue(form)->findRow("LI_" + job);
    }

    static void clickRow(QueueRow* row)
    {
        QTest::mouseClick(row, Qt::LeftButton, {}, QPoint(row->width() / 2, 40));
    }

    // A window started with job 100000: a file far larger than the system's
    // socket buffers take in, so a stop lands in its middle. Returns once the
    // server has answered its put line; null when that never happens.
    std::unique_ptr<TForm1> startedWithTransferUnderWay(const ServerProcess& server)
    {
        writeJob("100000", {entry(server, mediaFile("a.jpg", 20 * kChunk))});
        auto form = newForm();
        // The row's count shows from the file's first report on, before the
        // login; START comes only after the server's answer.
        const auto underWay = [&] {
            return rowOf(*form, "100000") &&
                   control<QLabel>(*form, "LB_100000")->text() == QLatin1String("0 / 1") &&
                   server.countLines("START") == 1;
        };
        return QTest::qWaitFor(underWay, kLongWaitMs) ? std::move(form) : nullptr;
    }

    std::unique_ptr<TForm1> newForm()
    {
        auto form = std::make_unique<TForm1>();
        form->show();
        return form;
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TempProgramFolder>();
        setCurrentLanguage(kLanguageEnglish);
    }

    void cleanup()
    {
        StopTokens::stopAll(); // let any worker a failed test left behind end
        QTRY_VERIFY_WITH_TIMEOUT(noWorkerRunning(), kLongWaitMs);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Two job files at start-up: two workers, two rows named after the
    // files; both finish and their job files go. A job file without lines
    // stays and gets no row; a stale log goes, one in a subfolder stays.
    void startupResumesJobFiles()
    {
        ServerProcess server(KYVANE_SERVER);
        QVERIFY(server.isListening());
        writeJob("100000", {entry(server, mediaFile("a.jpg", 100))});
        writeJob("110000", {entry(server, mediaFile("b.jpg", 200))});
        writeJob("120000", {});
        m_folder->write("090000.kyvlog", "old\r\n");
        m_folder->write("100000.kyvlog", "last run\r\n");
        m_folder->makeFolder("sub");
        m_folder->write("sub/080000.kyvlog", "not ours\r\n");

        auto form = newForm();
        QVERIFY(!m_folder->exists("090000.kyvlog"));
        QVERIFY(m_folder->exists("sub/080000.kyvlog"));
        QTRY_COMPARE_WITH_TIMEOUT(queue(*form)->count(), 2, kLongWaitMs);
        QVERIFY(rowOf(*form, "100000") && rowOf(*form, "110000"));
        QTRY_VERIFY_WITH_TIMEOUT(noWorkerRunning(), kLongWaitMs);
        QCOMPARE(rowOf(*form, "100000")->finishedMark(), 100);
        QCOMPARE(rowOf(*form, "110000")->finishedMark(), 100);
        QVERIFY(!m_folder->exists("100000.kyv"));
        QVERIFY(!m_folder->exists("110000.kyv"));
        QVERIFY(m_folder->exists("120000.kyv"));
        // A finished job's log has moved to the history.
        QVERIFY(!m_folder->exists("100000.kyvlog"));
        QVERIFY(historyLog("100000").contains("a.jpg Backup OK"));
        QCOMPARE(server.countLines("put"), 2);
    }

    void stopThenStart()
    {
        ServerProcess server(KYVANE_SERVER, {"--chunk-delay-ms", "50"});
        QVERIFY(server.isListening());
        writeJob("100000", {entry(server, mediaFile("a.jpg", 20 * kChunk)),
                            entry(server, mediaFile("b.jpg", 10))});
        auto form = newForm();
        QTRY_VERIFY_WITH_TIMEOUT(rowOf(*form, "100000"), kLongWaitMs);

        // A token alive when Stop comes, as every running worker's is.
        const auto running = StopTokens::issue();
        pressQueueCommand(*form, "btnStop");
        QVERIFY(running->isStopped());
        QVERIFY(!control<SideMenu>(*form, "MultiView2")->isOpen());
        QTRY_VERIFY_WITH_TIMEOUT(noWorkerRunning(), kLongWaitMs);
        QVERIFY(m_folder->exists("100000.kyv")); // stopped, not finished
        QueueRow* stoppedRow = rowOf(*form, "100000");
        QCOMPARE(stoppedRow->finishedMark(), 0);
        QVERIFY(
            QString::fromUtf8(m_folder->read("100000.kyvlog")).contains("[STOP] a.jpg stopped"));

        const auto afterStop = StopTokens::issue();
        pressQueueCommand(*form, "btnStart");
        QVERIFY(!afterStop->isStopped());
        QVERIFY(!control<SideMenu>(*form, "MultiView2")->isOpen());
        // The old row went; the new worker adds its own.
        QTRY_VERIFY_WITH_TIMEOUT(noWorkerRunning(), kLongWaitMs);
        QCOMPARE(queue(*form)->count(), 1);
        QCOMPARE(rowOf(*form, "100000")->finishedMark(), 100);
        QVERIFY(!m_folder->exists("100000.kyv"));
    }

    // Start right after Stop, while the job's worker is still stopping: the
    // job starts again as soon as that worker has ended, unless a Stop came
    // after the Start; then it stays stopped, and so does everything else.
    void quickStopThenStart_data()
    {
        QTest::addColumn<bool>("stopAgain");
        QTest::newRow("Stop, Start") << false;
        QTest::newRow("Stop, Start, Stop") << true;
    }

    void quickStopThenStart()
    {
        QFETCH(bool, stopAgain);
        ServerProcess server(KYVANE_SERVER, {"--chunk-delay-ms", "50"});
        QVERIFY(server.isListening());
        auto form = startedWithTransferUnderWay(server);
        QVERIFY(form);
        pressQueueCommand(*form, "btnStop");
        const auto afterStop = StopTokens::issue();
        pressQueueCommand(*form, "btnStart");
        QVERIFY(RunningJobs::isRunning("100000")); // the old worker, still stopping
        if (stopAgain)
            pressQueueCommand(*form, "btnStop");

        // Every worker thread has ended, a restarted one too, so the window
        // has seen each job's end.
        QTRY_VERIFY_WITH_TIMEOUT(TFileGenius::waitForAllThreads(QDeadlineTimer(0)), kLongWaitMs);
        QCOMPARE(afterStop->isStopped(), stopAgain);
        QCOMPARE(m_folder->exists("100000.kyv"), stopAgain);
        QCOMPARE(queue(*form)->count(), 1); // one row per job
        QCOMPARE(rowOf(*form, "100000")->finishedMark(), stopAgain ? 0 : 100);
        QCOMPARE(server.countLines("put"), stopAgain ? 1 : 2);
    }

    void startPassesOverUnreadableJobFiles()
    {
        ServerProcess server(KYVANE_SERVER);
        QVERIFY(server.isListening());
        auto form = newForm();
        m_folder->write("100000.kyv", "\xEF\xBB\xBFnot UTF-8: \xFF\r\n");
        writeJob("110000", {entry(server, mediaFile("b.jpg", 10))});
        MessageBox::setNextAnswer(MessageBox::Answer::Ok);
        const int shown = MessageBox::shownCount();
        pressQueueCommand(*form, "btnStart");
        QCOMPARE(MessageBox::shownCount(), shown + 1);
        QVERIFY(MessageBox::lastText().contains("100000"));
        QTRY_VERIFY_WITH_TIMEOUT(
            rowOf(*form, "110000") && rowOf(*form, "110000")->finishedMark() == 100, kLongWaitMs);
        QVERIFY(!rowOf(*form, "100000"));
        QVERIFY(m_folder->exists("100000.kyv"));
    }

    // The server stores the file but its acknowledgement never comes: the
    // file is not counted, the job file stays, and the next run finishes the
    // job with the server's "201".
    void unacknowledgedFileKeepsItsJob()
    {
        ServerProcess silent(KYVANE_SERVER, {"--no-ack"});
        QVERIFY(silent.isListening());
        auto form = newForm();
        EngineSettings settings;
        settings.readTimeoutMs = 1000;
        form->setEngineSettingsForTesting(settings);
        writeJob("100000", {entry(silent, mediaFile("a.jpg", 2 * kChunk))});
        pressQueueCommand(*form, "btnStart");
        QTRY_VERIFY_WITH_TIMEOUT(rowOf(*form, "100000") && noWorkerRunning(), kLongWaitMs);
        QCOMPARE(rowOf(*form, "100000")->finishedMark(), 0);
        QCOMPARE(control<QLabel>(*form, "LB_100000")->text(), QStringLiteral("0 / 1"));
        QVERIFY(m_folder->exists("100000.kyv"));
        QVERIFY(QString::fromUtf8(m_folder->read("100000.kyvlog"))
                    .contains("a.jpg Backup Failed (Read timed out.)"));

        silent.stop();
        ServerProcess answering(
            KYVANE_SERVER, {"--root", silent.root(), "--port", QString::number(silent.port())});
        QVERIFY(answering.isListening());
        pressQueueCommand(*form, "btnStart");
        QTRY_VERIFY_WITH_TIMEOUT(!m_folder->exists("100000.kyv"), kLongWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(noWorkerRunning(), kLongWaitMs);
        QCOMPARE(rowOf(*form, "100000")->finishedMark(), 100);
        QCOMPARE(answering.countLines("START"), 0); // "201": held already
    }

    void startLeavesRunningJobAndEmptyJobFileAlone()
    {
        ServerProcess server(KYVANE_SERVER, {"--chunk-delay-ms", "100"});
        QVERIFY(server.isListening());
        writeJob("100000", {entry(server, mediaFile("a.jpg", 8 * kChunk))});
        auto form = newForm();
        QTRY_VERIFY_WITH_TIMEOUT(rowOf(*form, "100000"), kLongWaitMs);
        writeJob("120000", {});

        pressQueueCommand(*form, "btnStart"); // while 100000 still runs
        QCOMPARE(queue(*form)->count(), 1);   // its row stays
        QTRY_VERIFY_WITH_TIMEOUT(noWorkerRunning(), kLongWaitMs);
        QCOMPARE(server.countLines("put"), 1); // never two workers on it
        QCOMPARE(queue(*form)->count(), 1);
        QVERIFY(m_folder->exists("120000.kyv"));
        QVERIFY(!rowOf(*form, "120000"));
    }

    void deleteFinishedRowLeavesOthersRunning()
    {
        ServerProcess fast(KYVANE_SERVER);
        ServerProcess slow(KYVANE_SERVER, {"--chunk-delay-ms", "100"});
        QVERIFY(fast.isListening() && slow.isListening());
        writeJob("100000", {entry(fast, mediaFile("a.jpg", 10))});
        writeJob("110000", {entry(slow, mediaFile("b.jpg", 8 * kChunk))});
        auto form = newForm();
        QTRY_VERIFY_WITH_TIMEOUT(rowOf(*form, "100000") &&
                                     rowOf(*form, "100000")->finishedMark() == 100 &&
                                     !RunningJobs::isRunning("100000"),
                                 kLongWaitMs);
        QVERIFY(!historyLog("100000").isEmpty());

        // The finished row goes; its log stays in the history.
        const auto running = StopTokens::issue();
        rowOf(*form, "100000")->setChecked(true);
        pressQueueCommand(*form, "btnDelete");
        QVERIFY(!rowOf(*form, "100000"));
        QVERIFY(!m_folder->exists("100000.kyvlog"));
        QVERIFY(!historyLog("100000").isEmpty());
        QVERIFY(!running->isStopped());
        QVERIFY(RunningJobs::isRunning("110000"));

        // An unfinished row: every job stops, its files go with it.
        rowOf(*form, "110000")->setChecked(true);
        pressQueueCommand(*form, "btnDelete");
        QVERIFY(running->isStopped());
        QVERIFY(!rowOf(*form, "110000"));
        QVERIFY(!m_folder->exists("110000.kyv"));
        QTRY_VERIFY_WITH_TIMEOUT(noWorkerRunning(), kLongWaitMs);
        QCOMPARE(queue(*form)->count(), 0);
    }

    void selectAllAndNone()
    {
        writeJob("100000", {"nowhere|1|a|d|" + m_folder->file("missing1.jpg")});
        writeJob("110000", {"nowhere|1|a|d|" + m_folder->file("missing2.jpg")});
        auto form = newForm();
        QTRY_COMPARE_WITH_TIMEOUT(queue(*form)->count(), 2, kLongWaitMs);
        pressQueueCommand(*form, "btnSelectAll");
        QVERIFY(control<SideMenu>(*form, "MultiView2")->isOpen());
        for (QueueRow* row : queue(*form)->rows())
            QVERIFY(row->isChecked());
        pressQueueCommand(*form, "btnSelectNone");
        for (QueueRow* row : queue(*form)->rows())
            QVERIFY(!row->isChecked());
    }

    void rowOpensTheJobLog()
    {
        ServerProcess server(KYVANE_SERVER, {"--chunk-delay-ms", "100"});
        QVERIFY(server.isListening());
        writeJob("100000", {entry(server, mediaFile("a.jpg", 8 * kChunk))});
        writeJob("110000", {entry(server, mediaFile("b.jpg", 8 * kChunk))});
        m_folder->write(
            "100000.kyvlog",
            QString::fromUtf8("1/2/26 10:00:00  [x][DONE] ü.jpg Backup OK\r\n\r\n").toUtf8());
        auto form = newForm();
        QTRY_VERIFY_WITH_TIMEOUT(rowOf(*form, "100000") && rowOf(*form, "110000"), kLongWaitMs);
        form->ChangeTab(TForm1::Queue);
        auto* memo = control<QPlainTextEdit>(*form, "Memo1");

        // A running job shows the log of its earlier run.
        clickRow(rowOf(*form, "100000"));
        QCOMPARE(form->currentTabIndex(), int(TForm1::JobLog));
        QCOMPARE(memo->toPlainText(),
                 QString::fromUtf8("1/2/26 10:00:00  [x][DONE] ü.jpg Backup OK\n\n"));
        control<QToolButton>(*form, "SpeedButton1")->click();
        QCOMPARE(form->currentTabIndex(), int(TForm1::Queue));
        QVERIFY(memo->toPlainText().isEmpty());

        // Without an earlier log the screen is empty.
        clickRow(rowOf(*form, "110000"));
        QCOMPARE(form->currentTabIndex(), int(TForm1::JobLog));
        QVERIFY(memo->toPlainText().isEmpty());
    }

    // Closing with a worker waiting for an acknowledgement: the wait sees
    // the stop, the worker writes its log before the window is gone, and the
    // job file stays for next time; closing ends well within its bound.
    void closeStopsAWorkerWaitingForTheServer()
    {
        ServerProcess silent(KYVANE_SERVER, {"--no-ack"});
        QVERIFY(silent.isListening());
        auto form = newForm();
        EngineSettings settings;
        settings.readTimeoutMs = 8000;
        form->setEngineSettingsForTesting(settings);
        writeJob("100000", {entry(silent, mediaFile("a.jpg", 1000))});
        pressQueueCommand(*form, "btnStart");
        QTRY_VERIFY_WITH_TIMEOUT(silent.countLines("START") == 1, kLongWaitMs);
        MessageBox::setNextAnswer(MessageBox::Answer::Yes);
        QElapsedTimer closing;
        closing.start();
        QVERIFY(form->close());
        QVERIFY(closing.elapsed() < TForm1::kCloseWaitMs);
        QVERIFY(noWorkerRunning());
        QVERIFY(
            QString::fromUtf8(m_folder->read("100000.kyvlog")).contains("[STOP] a.jpg stopped"));
        form.reset();
        QVERIFY(m_folder->exists("100000.kyv"));
    }

    void closeStopsWorkersAndKeepsTheirJobs()
    {
        ServerProcess server(KYVANE_SERVER, {"--chunk-delay-ms", "100"});
        QVERIFY(server.isListening());
        auto form = startedWithTransferUnderWay(server);
        QVERIFY(form);
        MessageBox::setNextAnswer(MessageBox::Answer::Yes);
        QElapsedTimer closing;
        closing.start();
        const auto running = StopTokens::issue();
        QVERIFY(form->close());
        // Bounded: no hang, however the worker fares.
        QVERIFY(closing.elapsed() < TForm1::kCloseWaitMs + 10000);
        QVERIFY(running->isStopped());
        QVERIFY(noWorkerRunning());
        QVERIFY(m_folder->exists("100000.kyv"));
        QVERIFY(
            QString::fromUtf8(m_folder->read("100000.kyvlog")).contains("[STOP] a.jpg stopped"));
        form.reset();
    }
};

QTEST_MAIN(TestQueueCommands)
#include "tst_queuecommands.moc"
