// Knowing what is backed up: a job's details and log, the look of its queue
// row, the history and the outcome store behind them, with real workers and
// kyvane-server on 127.0.0.1.
#include "ServerProcess.h"
#include "SmallDisk.h"
#include "TempProgramFolder.h"
#include "UiTestHelpers.h"
#include "core/JobRecords.h"
#include "core/ListFile.h"
#include "core/OutcomeStore.h"
#include "core/SharedState.h"
#include "core/StopToken.h"
#include "core/StorableName.h"
#include "i18n/LanguageRes.h"
#include "i18n/PassedOverNote.h"
#include "transfer/Digest.h"
#include "transfer/RunningJobs.h"
#include "ui/JobTexts.h"
#include "ui/MessageBox.h"
#include "ui/widgets/OutcomeListView.h"
#include "ui/widgets/QueueList.h"
#include "ui/widgets/QueueRow.h"
#include "ui/widgets/SideMenu.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTextBlock>
#include <QToolButton>
#include <QtTest>

#include <chrono>
#include <functional>
#include <optional>

using namespace kyvane;

namespace {

// A failing QTRY waits twice as long again to say what would have sufficed:
// three times this stays within a test function's time-out (300 s), so a
// failure is reported as such rather than ending the whole run.
constexpr int kLongWaitMs = 60000;
const QString kJob = QStringLiteral("100000");

// 10:00:00 local time today, as the window's clock.
std::chrono::system_clock::time_point tenOClock()
{
    const QDateTime ten(QDate::currentDate(), QTime(10, 0));
    return std::chrono::system_clock::time_point(
        std::chrono::milliseconds(ten.toMSecsSinceEpoch()));
}

// Stops the server as soon as the status line has shown a line holding
// text. Every hand-over of a worker waits for the window, so the worker is
// held at its next one (the start of the next entry) until the server is
// gone.
class ServerStopper : public QObject
{
public:
    ServerStopper(TForm1& form, ServerProcess& server, const QString& text)
        : m_status(control<QLabel>(form, "Label4")), m_server(server), m_text(text)
    {
        form.installEventFilter(this);
    }

    bool stopped = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!stopped && event->type() == QEvent::MetaCall && m_status->text().contains(m_text)) {
            m_server.stop();
            stopped = true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QLabel* m_status;
    ServerProcess& m_server;
    QString m_text;
};

struct Shown
{
    QString text;
    QString detail;
    OutcomeListView::Tone tone;
};

QList<Shown> rowsOf(const OutcomeListView* view)
{
    QList<Shown> rows;
    for (int i = 0; i < view->rowCount(); ++i)
        rows.append({view->rowText(i), view->rowDetail(i), view->rowTone(i)});
    return rows;
}

} // namespace

class TestJobDetails : public QObject
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

    std::unique_ptr<TForm1> newForm()
    {
        auto form = std::make_unique<TForm1>();
        form->setClockForTesting(tenOClock);
        form->show();
        return form;
    }

    static QueueRow* rowOf(const TForm1& form, const QString& job)
    {
        return control<QueueList>(form, "ListBox2")->findRow("LI_" + job);
    }

    static void clickRow(QueueRow* row)
    {
        QTest::mouseClick(row, Qt::LeftButton, {}, QPoint(row->width() / 2, 40));
    }

    static QString text(const TForm1& form, const char* label)
    {
        return control<QLabel>(form, label)->text();
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TempProgramFolder>();
        setCurrentLanguage(kLanguageEnglish);
    }

    void cleanup()
    {
        QTRY_VERIFY_WITH_TIMEOUT(RunningJobs::names().isEmpty(), kLongWaitMs);
        m_folder.reset();
    }

    // One job against kyvane-server: a file sent, one the server holds
    // already, one it refuses by its name, one deleted before its turn, and
    // the server gone before the last. The store and the details show each
    // outcome with its reason, and the row is marked failed. After a restart
    // the store still holds them; once the server is back and the refused
    // file is gone, the job finishes and the history lists it.
    void oneJobAgainstTheServer()
    {
        auto server = std::make_unique<ServerProcess>(KYVANE_SERVER);
        QVERIFY(server->isListening());
        const QString login = QStringLiteral("%1|%2|anna|%3")
                                  .arg(server->address(), QString::number(server->port()),
                                       passwordDigest(QStringLiteral("secret")));
        QCOMPARE(ListFile::write(m_folder->file("server.cfg"), {login}), QString());
        const QString sent = mediaFile("sent.jpg", 3000);
        const QString held = mediaFile("held.jpg", 2000);
        const QString refused = mediaFile(".bad.partial", 100);
        const QString gone = m_folder->file("media/gone.jpg");
        const QString last = mediaFile("last.jpg", 4000);

        auto form = newForm();
        form->setClockForTesting([] { return tenOClock() - std::chrono::hours(1); });
        QVERIFY(form->startJob({login + "|" + held}, JobKind::of(JobKind::Type::Today)));
        QTRY_VERIFY_WITH_TIMEOUT(rowOf(*form, "090000") && rowOf(*form, "090000")->runState() ==
                                                               QueueRow::RunState::Finished,
                                 kLongWaitMs);
        form->setClockForTesting(tenOClock);

        ServerStopper stopper(*form, *server, QStringLiteral("gone.jpg"));
        QVERIFY(form->startJob({login + "|" + sent, login + "|" + held, login + "|" + refused,
                                login + "|" + gone, login + "|" + last},
                               JobKind::of(JobKind::Type::Manual)));
        QTRY_VERIFY_WITH_TIMEOUT(rowOf(*form, kJob) &&
                                     rowOf(*form, kJob)->runState() != QueueRow::RunState::Running,
                                 kLongWaitMs);
        QVERIFY(stopper.stopped);

        // The store: each file with its outcome and reason.
        JobRecords records(OutcomeStore::shared());
        const auto job = records.pending(kJob);
        QVERIFY(job);
        QHash<QString, EntryRecord> byPath;
        for (const EntryRecord& entry : records.entries(job->id))
            byPath.insert(entry.file.path, entry);
        QCOMPARE(byPath.value(sent).outcome, Outcome::Sent);
        QCOMPARE(byPath.value(held).outcome, Outcome::Held);
        QCOMPARE(byPath.value(refused).outcome, Outcome::Refused);
        QCOMPARE(byPath.value(refused).reason,
                 QStringLiteral("name is reserved for partial files"));
        QCOMPARE(byPath.value(gone).outcome, Outcome::NotFound);
        QCOMPARE(byPath.value(gone).reason, QStringLiteral("file not found"));
        QCOMPARE(byPath.value(last).outcome, Outcome::Failed);
        QVERIFY2(byPath.value(last).reason.startsWith("Backup Failed ("),
                 qPrintable(byPath.value(last).reason));
        const ServerKey nas{server->address(), server->port(), QStringLiteral("anna")};
        QVERIFY(OutcomeStore::shared()->isConfirmed(
            sent, nas, 3000, QFileInfo(sent).lastModified().toMSecsSinceEpoch()));

        // The row: failed, with its counts; its kind and time.
        QueueRow* row = rowOf(*form, kJob);
        QCOMPARE(row->runState(), QueueRow::RunState::Failed);
        QCOMPARE(row->property("kyvaneState").toString(), QStringLiteral("failed"));
        QCOMPARE(row->stateText(), QStringLiteral("1 failed · 1 refused · 1 not found"));
        QCOMPARE(row->title(), QStringLiteral("Manual 10:00"));
        QCOMPARE(rowOf(*form, "090000")->title(), QStringLiteral("Today 09:00"));
        QVERIFY(rowOf(*form, "090000")->stateText().startsWith("Finished "));

        // The details, a tap away: counts, then failures first.
        form->ChangeTab(TForm1::Queue);
        clickRow(row);
        QCOMPARE(form->currentTabIndex(), int(TForm1::JobLog));
        QCOMPARE(text(*form, "lblJobCounts"),
                 QStringLiteral("1 sent · 1 already there · 1 failed · 1 refused · 1 not found · "
                                "0 waiting"));
        QCOMPARE(text(*form, "lblJobTitle"), QStringLiteral("Manual 10:00"));
        const auto* files = control<OutcomeListView>(*form, "lvJobFiles");
        QVERIFY(files->isVisible());
        const QList<Shown> shown = rowsOf(files);
        QCOMPARE(shown.size(), 5);
        using Tone = OutcomeListView::Tone;
        QCOMPARE(shown.at(0).text, QStringLiteral("last.jpg"));
        QVERIFY2(shown.at(0).detail.startsWith("127.0.0.1 · failed: Backup Failed ("),
                 qPrintable(shown.at(0).detail));
        QCOMPARE(shown.at(1).text, QStringLiteral(".bad.partial"));
        QCOMPARE(shown.at(1).detail,
                 QStringLiteral(
                     "127.0.0.1 · refused by the server: name is reserved for partial files"));
        QCOMPARE(shown.at(2).text, QStringLiteral("gone.jpg"));
        QCOMPARE(shown.at(2).detail, QStringLiteral("127.0.0.1 · not found"));
        QCOMPARE(shown.at(3).detail, QStringLiteral("127.0.0.1 · sent"));
        QCOMPARE(shown.at(4).detail, QStringLiteral("127.0.0.1 · already on the server"));
        for (int i = 0; i < 5; ++i)
            QCOMPARE(shown.at(i).tone, i < 3 ? Tone::Problem : Tone::Done);
        // The server's reason is longer than the screen is wide: its row
        // grows to show it whole rather than cut it off.
        const auto rowHeight = [files](int row) {
            return files->visualRect(files->model()->index(row, 0)).height();
        };
        QVERIFY2(rowHeight(1) > rowHeight(3),
                 qPrintable(QStringLiteral("%1 <= %2").arg(rowHeight(1)).arg(rowHeight(3))));
        QVERIFY(control<QPushButton>(*form, "btnRetry")->isVisible());

        // The full log, one tap away, opens at its first failure.
        control<QPushButton>(*form, "btnShowLog")->click();
        auto* memo = control<QPlainTextEdit>(*form, "Memo1");
        QVERIFY(memo->isVisible());
        QVERIFY(memo->toPlainText().contains("[127.0.0.1][DONE] sent.jpg Backup OK"));
        QVERIFY(memo->textCursor().block().text().contains("[127.0.0.1][FAIL] .bad.partial"));

        // A restart: the store still holds every outcome.
        form.reset();
        {
            OutcomeStore::Opened reopened =
                OutcomeStore::open(m_folder->file(OutcomeStore::kFileName));
            QVERIFY(reopened.store && reopened.movedAsideTo.isEmpty());
            JobRecords again(reopened.store);
            const auto kept = again.pending(kJob);
            QVERIFY(kept);
            QCOMPARE(kept->counts.sent, 1);
            QCOMPARE(kept->counts.held, 1);
            QCOMPARE(kept->counts.refused, 1);
            QCOMPARE(kept->counts.notFound, 1);
            QCOMPARE(kept->counts.failed, 1);
            QCOMPARE(again.entries(kept->id).first().file.path, last);
        }

        // The server is back where it was, the refused file is deleted: the
        // job resumed at the start finishes and moves to the history.
        const QString root = server->root();
        const quint16 port = server->port();
        ServerProcess back(KYVANE_SERVER, {"--port", QString::number(port), "--root", root});
        QVERIFY(back.isListening());
        QVERIFY(QFile::remove(refused));
        form = newForm();
        QTRY_VERIFY_WITH_TIMEOUT(rowOf(*form, kJob) &&
                                     rowOf(*form, kJob)->runState() != QueueRow::RunState::Running,
                                 kLongWaitMs);
        QVERIFY2(!m_folder->exists(kJob + ".kyv"),
                 qPrintable(rowOf(*form, kJob)->stateText() + "\n" +
                            QString::fromUtf8(m_folder->read(kJob + ".kyvlog"))));
        QVERIFY(!m_folder->exists(kJob + ".kyvlog")); // moved to the history
        QCOMPARE(QDir(m_folder->file("history")).entryList({"*.kyvlog"}).size(), 2);

        pressQueueCommand(*form, "btnHistory");
        QCOMPARE(form->currentTabIndex(), int(TForm1::History));
        const auto* history = control<OutcomeListView>(*form, "lvHistory");
        QCOMPARE(history->rowCount(), 2);
        QCOMPARE(history->rowText(0), QStringLiteral("Manual 10:00"));
        QVERIFY2(history->rowDetail(0).endsWith("1 sent · 2 already there · 2 not found"),
                 qPrintable(history->rowDetail(0)));
        QCOMPARE(history->rowText(1), QStringLiteral("Today 09:00"));
        QTest::mouseClick(history->viewport(), Qt::LeftButton, {},
                          history->visualRect(history->model()->index(0, 0)).center());
        QCOMPARE(form->currentTabIndex(), int(TForm1::JobLog));
        QCOMPARE(text(*form, "lblJobCounts"),
                 QStringLiteral("1 sent · 2 already there · 0 failed · 2 not found · 0 waiting"));
        QVERIFY(!control<QPushButton>(*form, "btnRetry")->isVisible());
        control<QPushButton>(*form, "btnShowLog")->click();
        QVERIFY(control<QPlainTextEdit>(*form, "Memo1")
                    ->toPlainText()
                    .contains("[127.0.0.1][DONE] last.jpg Backup OK"));
        control<QToolButton>(*form, "SpeedButton1")->click();
        QCOMPARE(form->currentTabIndex(), int(TForm1::History));
        control<QToolButton>(*form, "SpeedButton1")->click();
        QCOMPARE(form->currentTabIndex(), int(TForm1::Queue));
    }

    // How a row looks once its run ended: from what the worker saw of the
    // run, also where the store missed it (a full disk), with the time it
    // finished from the store.
    void rowLooks_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QList<int>>("outcomes");
        QTest::addColumn<bool>("finished");
        QTest::addColumn<bool>("recorded"); // the store took the outcomes
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("stateText");
        using S = QueueRow::RunState;
        const int sent = int(Outcome::Sent), held = int(Outcome::Held),
                  gone = int(Outcome::NotFound), failed = int(Outcome::Failed),
                  refused = int(Outcome::Refused), waiting = int(Outcome::Waiting);
        QTest::newRow("finished") << 0 << QList<int>{sent, held} << true << true << int(S::Finished)
                                  << "Finished 10:05";
        QTest::newRow("finished, a file gone") << 0 << QList<int>{sent, gone} << true << true
                                               << int(S::Failed) << "Finished 10:05 · 1 not found";
        QTest::newRow("failed") << 0 << QList<int>{failed, refused, sent, waiting} << false << true
                                << int(S::Failed) << "1 failed · 1 refused";
        QTest::newRow("stopped") << 0 << QList<int>{sent, waiting} << false << true
                                 << int(S::Stopped) << "Stopped";
        QTest::newRow("refused, the store missed it")
            << 0 << QList<int>{sent, refused} << false << false << int(S::Failed) << "1 refused";
        QTest::newRow("failed, zh-Hant") << 100 << QList<int>{failed, failed} << false << true
                                         << int(S::Failed) << QString::fromUtf8("失敗 2");
        QTest::newRow("stopped, zh-Hans") << 200 << QList<int>{waiting} << false << true
                                          << int(S::Stopped) << QString::fromUtf8("已停止");
        QTest::newRow("finished, zh-Hans") << 200 << QList<int>{sent} << true << true
                                           << int(S::Finished) << QString::fromUtf8("完成于 10:05");
    }

    void rowLooks()
    {
        QFETCH(int, language);
        QFETCH(QList<int>, outcomes);
        QFETCH(bool, finished);
        QFETCH(bool, recorded);
        QFETCH(int, state);
        QFETCH(QString, stateText);
        auto form = newForm();
        setCurrentLanguage(language);
        const QStringList entries = jobEntries(QStringLiteral("nas"), int(outcomes.size()));
        JobRecords records(OutcomeStore::shared());
        const qint64 made = QDateTime(QDate::currentDate(), QTime(9, 58)).toMSecsSinceEpoch();
        const qint64 job = records.addJob(kJob, JobKind::of(JobKind::Type::FiveDays), made);
        QList<FileOnServer> files;
        for (const QString& entry : entries)
            files.append({entry.section('|', 4), {"nas", 25714, "anna"}});
        records.startRun(kJob, files, 0);
        form->AddToDoList(kJob, entries, QString());
        QueueRow* row = rowOf(*form, kJob);
        QCOMPARE(row->runState(), QueueRow::RunState::Running);
        QCOMPARE(row->stateText(), QString());
        OutcomeCounts run;
        for (int i = 0; i < outcomes.size(); ++i) {
            FileOutcome outcome;
            outcome.file = files.at(i);
            outcome.outcome = Outcome(outcomes.at(i));
            run.add(outcome.outcome);
            if (recorded)
                records.record(job, i, outcome);
        }
        if (finished) {
            const int count = int(outcomes.size());
            form->SetToDoListProgressbar(kJob, 100, count, count, "f.jpg", "nas");
            records.finish(job, QDateTime(QDate::currentDate(), QTime(10, 5)).toMSecsSinceEpoch(),
                           QString());
        }
        form->JobEnded(kJob, run);
        QCOMPARE(int(row->runState()), state);
        QCOMPARE(row->stateText(), stateText);
        const QString title = row->title();
        QCOMPARE(title, JobTexts::jobTitle(*records.job(job), QDateTime::currentDateTime()));
        // Texts applied anew (a language switch) keep the row's job, also
        // once it has finished.
        form->ApplyLanguage();
        QCOMPARE(row->title(), title);
        QCOMPARE(row->stateText(), stateText);
        setCurrentLanguage(kLanguageEnglish);
    }

    // A long log of "existed" lines opens at its first failure, at the top
    // of the view.
    void logOpensAtTheFirstFailure()
    {
        QByteArray log;
        for (int i = 0; i < 100; ++i)
            log +=
                QStringLiteral("1/2/26 10:00:%1  [nas][DONE] f%2.jpg existed, Backup Skipped\r\n")
                    .arg(i % 60, 2, 10, QLatin1Char('0'))
                    .arg(i)
                    .toUtf8();
        log += "1/2/26 10:01:40  [nas][FAIL] f100.jpg Backup Failed (reset)\r\n";
        log += "1/2/26 10:01:41  [nas][FAIL] f101.jpg Backup Failed (reset)\r\n";
        for (int i = 102; i < 150; ++i)
            log += QStringLiteral("1/2/26 10:02:00  [nas][DONE] f%1.jpg Backup OK\r\n")
                       .arg(i)
                       .toUtf8();
        log += "\r\n";
        auto form = newForm(); // before the log, which the start-up would find stale
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        m_folder->write(kJob + ".kyvlog", log);
        form->AddToDoList(kJob, jobEntries(QStringLiteral("nas"), 1), QString());
        form->ChangeTab(TForm1::Queue);
        clickRow(rowOf(*form, kJob));
        QCOMPARE(form->currentTabIndex(), int(TForm1::JobLog));
        // Nothing recorded: the log is all there is, shown at once.
        auto* memo = control<QPlainTextEdit>(*form, "Memo1");
        QTRY_VERIFY(memo->isVisible());
        QCOMPARE(memo->textCursor().blockNumber(), 100);
        // The line at the top of the view, wherever the lines above it wrap.
        QTRY_COMPARE(memo->cursorForPosition(QPoint(4, 4)).blockNumber(), 100);
    }

    // Retry starts a pending job again: a file behind a folder that was
    // missing (a card not mounted) failed; with the folder back but the file
    // deleted, the job finishes, says the file was not found, and is in the
    // history.
    void retryStartsTheJobAgain()
    {
        const QString missing = m_folder->file("card/DCIM/a.jpg");
        QCOMPARE(ListFile::write(m_folder->file(kJob + ".kyv"),
                                 {QStringLiteral("127.0.0.1|1|anna|d|") + missing}),
                 QString());
        auto form = newForm();
        QTRY_VERIFY_WITH_TIMEOUT(rowOf(*form, kJob) &&
                                     rowOf(*form, kJob)->runState() == QueueRow::RunState::Failed,
                                 kLongWaitMs);
        QCOMPARE(rowOf(*form, kJob)->stateText(), QStringLiteral("1 failed"));
        QVERIFY(rowOf(*form, kJob)->title().startsWith("Job "));
        form->ChangeTab(TForm1::Queue);
        clickRow(rowOf(*form, kJob));
        auto* retry = control<QPushButton>(*form, "btnRetry");
        QVERIFY(retry->isVisible());
        QVERIFY(QDir().mkpath(m_folder->file("card/DCIM")));
        retry->click();
        QCOMPARE(form->currentTabIndex(), int(TForm1::Queue));
        QTRY_VERIFY_WITH_TIMEOUT(!m_folder->exists(kJob + ".kyv"), kLongWaitMs);
        QTRY_VERIFY(rowOf(*form, kJob) &&
                    rowOf(*form, kJob)->runState() != QueueRow::RunState::Running);
        QCOMPARE(rowOf(*form, kJob)->runState(), QueueRow::RunState::Failed);
        QVERIFY(rowOf(*form, kJob)->stateText().endsWith(" · 1 not found"));
        QCOMPARE(JobRecords(OutcomeStore::shared()).history().size(), 1);
        QCOMPARE(JobRecords(OutcomeStore::shared()).history().first().counts.notFound, 1);
    }

    // The details speak the language chosen now, also of a run recorded in
    // another: the counts, each file's outcome, the controls.
    void detailsInEveryLanguage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("counts");
        QTest::addColumn<QStringList>("details");  // failures first
        QTest::addColumn<QStringList>("controls"); // files, full log, retry
        QTest::newRow("English") << 0
                                 << "1 sent · 1 already there · 1 failed · 1 not found · 0 waiting"
                                 << QStringList{"nas · failed: Backup Failed (reset)",
                                                "nas · not found", "nas · sent",
                                                "nas · already on the server"}
                                 << QStringList{"Files", "Full log", "Retry"};
        QTest::newRow("Traditional Chinese")
            << 100 << QString::fromUtf8("已傳送 1 · 已存在 1 · 失敗 1 · 找不到 1 · 等待中 0")
            << QStringList{QString::fromUtf8("nas · 失敗: Backup Failed (reset)"),
                           QString::fromUtf8("nas · 找不到"), QString::fromUtf8("nas · 已傳送"),
                           QString::fromUtf8("nas · 伺服器上已有")}
            << QStringList{QString::fromUtf8("檔案"), QString::fromUtf8("完整記錄"),
                           QString::fromUtf8("重試")};
        QTest::newRow("Simplified Chinese")
            << 200 << QString::fromUtf8("已传送 1 · 已存在 1 · 失败 1 · 找不到 1 · 等待中 0")
            << QStringList{QString::fromUtf8("nas · 失败: Backup Failed (reset)"),
                           QString::fromUtf8("nas · 找不到"), QString::fromUtf8("nas · 已传送"),
                           QString::fromUtf8("nas · 伺服器上已有")}
            << QStringList{QString::fromUtf8("档案"), QString::fromUtf8("完整记录"),
                           QString::fromUtf8("重试")};
    }

    void detailsInEveryLanguage()
    {
        QFETCH(int, language);
        QFETCH(QString, counts);
        QFETCH(QStringList, details);
        QFETCH(QStringList, controls);
        auto form = newForm();
        JobRecords records(OutcomeStore::shared());
        const qint64 job = records.addJob(kJob, JobKind::of(JobKind::Type::Today), 0);
        const QList<Outcome> outcomes{Outcome::Sent, Outcome::Held, Outcome::Failed,
                                      Outcome::NotFound};
        QList<FileOnServer> files;
        for (int i = 0; i < outcomes.size(); ++i)
            files.append({QStringLiteral("/pics/f%1.jpg").arg(i), {"nas", 25714, "anna"}});
        records.startRun(kJob, files, 0);
        // Recorded while the program spoke English.
        const QStringList reasons{"", "", "Backup Failed (reset)", "file not found"};
        for (int i = 0; i < outcomes.size(); ++i) {
            FileOutcome outcome;
            outcome.file = files.at(i);
            outcome.outcome = outcomes.at(i);
            outcome.reason = reasons.at(i);
            records.record(job, i, outcome);
        }
        setCurrentLanguage(language);
        form->ApplyLanguage();
        form->openJobDetails(kJob, 0);
        QCOMPARE(form->currentTabIndex(), int(TForm1::JobLog));
        QCOMPARE(text(*form, "lblJobCounts"), counts);
        const QList<Shown> shown = rowsOf(control<OutcomeListView>(*form, "lvJobFiles"));
        QStringList shownDetails;
        for (const Shown& row : shown)
            shownDetails.append(row.detail);
        QCOMPARE(shownDetails, details);
        QCOMPARE(shown.first().text, QStringLiteral("f2.jpg"));
        QCOMPARE((QStringList{control<QPushButton>(*form, "btnShowFiles")->text(),
                              control<QPushButton>(*form, "btnShowLog")->text(),
                              control<QPushButton>(*form, "btnRetry")->text()}),
                 controls);
        setCurrentLanguage(kLanguageEnglish);
    }

    void jobTitles_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QDateTime>("made");
        QTest::addColumn<QString>("title");
        const QDateTime today(QDate(2026, 11, 15), QTime(13, 2));
        const QDateTime earlier(QDate(2026, 11, 3), QTime(13, 5));
        using T = JobKind::Type;
        QTest::newRow("today") << 0 << int(T::Today) << today << "Today 13:02";
        QTest::newRow("5 days") << 0 << int(T::FiveDays) << today << "5 days 13:02";
        QTest::newRow("range") << 0 << int(T::DateRange) << today << "1 Nov – 15 Nov 13:02";
        QTest::newRow("manual, days ago") << 0 << int(T::Manual) << earlier << "Manual 3 Nov 13:05";
        QTest::newRow("unknown") << 0 << int(T::Unknown) << today << "Job 13:02";
        QTest::newRow("today, zh-Hant")
            << 100 << int(T::Today) << today << QString::fromUtf8("今日 13:02");
        QTest::newRow("range, zh-Hans") << 200 << int(T::DateRange) << earlier
                                        << QString::fromUtf8("11月1日 – 11月15日 11月3日 13:05");
    }

    void jobTitles()
    {
        QFETCH(int, language);
        QFETCH(int, kind);
        QFETCH(QDateTime, made);
        QFETCH(QString, title);
        setCurrentLanguage(language);
        JobRecord job;
        job.kind = {JobKind::Type(kind), QStringLiteral("2026/11/01"),
                    QStringLiteral("2026/11/15")};
        job.madeMs = made.toMSecsSinceEpoch();
        QCOMPARE(JobTexts::jobTitle(job, QDateTime(QDate(2026, 11, 15), QTime(18, 0))), title);
        setCurrentLanguage(kLanguageEnglish);
    }

    // A new job's row comes into view, however many rows are above it.
    void newRowIsScrolledIntoView()
    {
        auto form = newForm();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->ChangeTab(TForm1::Queue);
        auto* list = control<QueueList>(*form, "ListBox2");
        for (int i = 0; i < 8; ++i) {
            const QString job = QStringLiteral("1000%1").arg(i, 2, 10, QLatin1Char('0'));
            form->AddToDoList(job, jobEntries(QStringLiteral("nas"), 2), QString());
            QueueRow* row = rowOf(*form, job);
            QTRY_VERIFY2(list->viewport()->rect().contains(
                             QRect(row->mapTo(list->viewport(), QPoint(0, 0)), row->size())),
                         qPrintable(QStringLiteral("row %1 at %2, %3x%4 in %5x%6, scrolled %7")
                                        .arg(i)
                                        .arg(row->mapTo(list->viewport(), QPoint(0, 0)).y())
                                        .arg(row->width())
                                        .arg(row->height())
                                        .arg(list->viewport()->width())
                                        .arg(list->viewport()->height())
                                        .arg(list->verticalScrollBar()->value())));
        }
    }

    // A damaged store, or a folder in its place, is moved aside with a
    // message; the program starts and records in a new one. In a program
    // folder that cannot be written the store is not used: the program
    // starts all the same and says so.
    void damagedStoreIsMovedAsideAtTheStart_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("message");
        const QString movedAside =
            QStringLiteral("The record of what is backed up was damaged. It was moved aside as ");
        QTest::newRow("garbage") << QStringLiteral("garbage") << movedAside;
        QTest::newRow("a folder in its place") << QStringLiteral("folder") << movedAside;
        QTest::newRow("read-only program folder")
            << QStringLiteral("read-only")
            << QStringLiteral("The record of what is backed up cannot be opened (");
    }

    void damagedStoreIsMovedAsideAtTheStart()
    {
        QFETCH(QString, damage);
        QFETCH(QString, message);
        std::optional<QScopeGuard<std::function<void()>>> unmount;
        if (damage == QLatin1String("garbage")) {
            m_folder->write(OutcomeStore::kFileName, QByteArray("not a store\n").repeated(500));
        } else if (damage == QLatin1String("folder")) {
            m_folder->makeFolder(OutcomeStore::kFileName);
        } else {
            const QString folder = m_folder->path();
            if (!SmallDisk::mount(folder, 1 << 20))
                QSKIP("no tmpfs can be mounted here (needs root outside a locked-down container)");
            unmount.emplace([folder] { SmallDisk::unmount(folder); });
            QVERIFY(SmallDisk::makeReadOnly(folder));
        }
        MessageBox::setNextAnswer(MessageBox::Answer::Ok);
        const int shown = MessageBox::shownCount();
        auto form = newForm();
        QTRY_COMPARE(MessageBox::shownCount(), shown + 1);
        QVERIFY2(MessageBox::lastText().startsWith(message), qPrintable(MessageBox::lastText()));
        QCOMPARE(text(*form, "Label4"), MessageBox::lastText());
        QVERIFY(form->isVisible());
        QCOMPARE(form->currentTabIndex(), int(TForm1::Home));
        if (unmount) {
            QVERIFY(!OutcomeStore::shared());
            return;
        }
        const QString aside =
            MessageBox::lastText().mid(message.size()).section(QLatin1Char(' '), 0, 0);
        QVERIFY2(aside.startsWith(m_folder->file("outcomes.db.damaged-")), qPrintable(aside));
        QCOMPARE(QFileInfo(aside).isDir(), damage == QLatin1String("folder"));
        QVERIFY(form->startJob(jobEntries(QStringLiteral("nas"), 1),
                               JobKind::of(JobKind::Type::Manual)));
        QVERIFY(JobRecords(OutcomeStore::shared()).pending(kJob));
    }

    // A job file keeps one entry per line: a file whose name holds a line
    // break is left out of the job, whoever hands it in, and the user is told.
    void nameWithALineBreakIsLeftOut()
    {
        auto form = newForm();
        const QString odd = mediaFile("two\nlines.jpg", 10);
        const QString plain = mediaFile("plain.jpg", 10);
        const QString login = QStringLiteral("127.0.0.1|1|anna|d|");
        MessageBox::setNextAnswer(MessageBox::Answer::Ok);
        QVERIFY(form->startJob({login + odd, login + plain}, JobKind::of(JobKind::Type::Manual)));
        QCOMPARE(MessageBox::lastText(), passedOverFilesNote({StorableName::printable(odd)}));
        QVERIFY(MessageBox::lastText().contains(QString::fromUtf8("two\uFFFDlines.jpg")));
        QCOMPARE(ListFile::read(m_folder->file(kJob + ".kyv")), QStringList{login + plain});
        StopTokens::stopAll(); // the worker need not try the closed port

        MessageBox::setNextAnswer(MessageBox::Answer::Ok);
        QVERIFY(!form->startJob({login + odd}, JobKind::of(JobKind::Type::Manual)));
    }
};

QTEST_MAIN(TestJobDetails)
#include "tst_jobdetails.moc"
