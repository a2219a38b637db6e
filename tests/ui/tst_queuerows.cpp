#include "TempProgramFolder.h"
#include "UiTestHelpers.h"
#include "core/HandOver.h"
#include "core/SharedState.h"
#include "ui/widgets/QueueList.h"
#include "ui/widgets/QueueRow.h"

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QThread>
#include <QtTest>

#include <memory>

using namespace kyvane;

namespace {

const QString kJob = QStringLiteral("101500");

struct Window
{
    TempProgramFolder folder;
    TForm1 form;
    QueueList* list = control<QueueList>(form, QStringLiteral("ListBox2"));
};

QProgressBar* fileCountBar(const Window& w, const QString& job)
{
    return w.list->findChild<QProgressBar*>(QStringLiteral("PG2_") + job);
}

QProgressBar* entryBar(const Window& w, const QString& job)
{
    return w.list->findChild<QProgressBar*>(QStringLiteral("PG_") + job);
}

QLabel* countLabel(const Window& w, const QString& job)
{
    return w.list->findChild<QLabel*>(QStringLiteral("LB_") + job);
}

// Records whether queueLock is held at the moments an object signals.
struct LockProbe
{
    QList<bool> heldAt;

    void probe()
    {
        const bool free = queueLock.tryLock();
        if (free)
            queueLock.unlock();
        heldAt.append(!free);
    }
};

class ChildAddedProbe : public QObject
{
public:
    std::function<void()> onChildAdded;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ChildAdded && onChildAdded)
            onChildAdded();
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

class TestQueueRows : public QObject
{
    Q_OBJECT

private slots:
    void newRow()
    {
        Window w;
        QVERIFY(w.list);
        QVERIFY(!control(w.form, "imgRedSpot")->isVisibleTo(&w.form));
        QStringList files = jobEntries(QStringLiteral("nas.home"), 3);
        files[1].replace(QStringLiteral("nas.home"), QStringLiteral("other.host"));

        w.form.AddToDoList(kJob, files, QString());

        QCOMPARE(w.list->count(), 1);
        QueueRow* row = w.list->row(0);
        QCOMPARE(row->objectName(), QStringLiteral("LI_101500"));
        QCOMPARE(row->tagString(), QStringLiteral("LI_101500"));
        // The server of the first entry, two line breaks, and no file yet.
        QCOMPARE(row->text(), QStringLiteral("[ nas.home ]\r\n\r\n"));
        QCOMPARE(row->finishedMark(), 0);
        QVERIFY(!row->isChecked());
        QCOMPARE(row->height(), 100);

        QProgressBar* files2 = fileCountBar(w, kJob);
        QVERIFY(files2);
        QCOMPARE(files2->parentWidget(), row);
        QCOMPARE(files2->minimum(), 0);
        QCOMPARE(files2->maximum(), 3);
        QCOMPARE(files2->value(), 1);
        QCOMPARE(files2->height(), 20);

        QLabel* count = countLabel(w, kJob);
        QVERIFY(count);
        QCOMPARE(count->parentWidget(), files2); // lies over the file-count bar
        QVERIFY(count->text().isEmpty());

        QProgressBar* entry = entryBar(w, kJob);
        QVERIFY(entry);
        QCOMPARE(entry->parentWidget(), row);
        QCOMPARE(entry->minimum(), 0);
        QCOMPARE(entry->maximum(), 100);
        QCOMPARE(entry->value(), 0);
        QCOMPARE(entry->height(), 5);

        QVERIFY(control(w.form, "imgRedSpot")->isVisibleTo(&w.form));
    }

    void rowsKeepTheOrderOfTheirJobs()
    {
        Window w;
        const QStringList jobs = {QStringLiteral("093000"), QStringLiteral("081500"),
                                  QStringLiteral("120001")};
        for (const QString& job : jobs)
            w.form.AddToDoList(job, jobEntries(QStringLiteral("nas"), 2), QString());
        QCOMPARE(w.list->count(), 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(w.list->row(i)->objectName(), QStringLiteral("LI_") + jobs.at(i));
    }

    // A job without entries names no server: it gets no row, and its
    // reports find nothing.
    void jobWithoutEntriesGetsNoRow()
    {
        Window w;
        w.form.AddToDoList(kJob, {}, QString());
        QCOMPARE(w.list->count(), 0);
        w.form.SetToDoListProgressbar(kJob, 100, 0, 0, QString(), QStringLiteral("nas"));
        QCOMPARE(w.list->count(), 0);
        QVERIFY(queueLock.tryLock());
        queueLock.unlock();
    }

    void firstReport()
    {
        Window w;
        w.form.AddToDoList(kJob, jobEntries(QStringLiteral("nas"), 3), QString());
        w.form.SetToDoListProgressbar(kJob, 0, 0, 3, QStringLiteral("f0.jpg"),
                                      QStringLiteral("nas"));
        QCOMPARE(fileCountBar(w, kJob)->value(), 0);
        QCOMPARE(countLabel(w, kJob)->text(), QStringLiteral("0 / 3"));
        QCOMPARE(entryBar(w, kJob)->value(), 0);
        QCOMPARE(w.list->row(0)->text(), QStringLiteral("[ nas ]\r\n\r\nf0.jpg"));
        QCOMPARE(w.list->row(0)->finishedMark(), 0);
    }

    void reportUpdatesEveryPart()
    {
        Window w;
        w.form.AddToDoList(kJob, jobEntries(QStringLiteral("nas"), 4), QString());
        w.form.SetToDoListProgressbar(kJob, 37, 2, 4, QStringLiteral("IMG_0003.JPG"),
                                      QStringLiteral("backup.example"));
        QCOMPARE(fileCountBar(w, kJob)->value(), 2);
        QCOMPARE(entryBar(w, kJob)->value(), 37);
        QCOMPARE(countLabel(w, kJob)->text(), QStringLiteral("2 / 4"));
        QCOMPARE(w.list->row(0)->text(), QStringLiteral("[ backup.example ]\r\n\r\nIMG_0003.JPG"));
    }

    void finishing_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("value2");
        QTest::addColumn<int>("value3");
        QTest::addColumn<bool>("finishes");
        QTest::newRow("last entry done") << 100 << 3 << 3 << true;
        QTest::newRow("single entry done") << 100 << 1 << 1 << true;
        QTest::newRow("99 percent") << 99 << 3 << 3 << false;
        QTest::newRow("one entry failed") << 100 << 2 << 3 << false;
        QTest::newRow("entry done, more to go") << 100 << 1 << 3 << false;
    }

    void finishing()
    {
        QFETCH(int, value);
        QFETCH(int, value2);
        QFETCH(int, value3);
        QFETCH(bool, finishes);
        Window w;
        w.folder.write(kJob + ".kyv", "nas|25714|anna|d|/pics/f0.jpg\r\n");
        w.folder.write(kJob + ".kyvlog", "10:00:00 [nas][DONE] f0.jpg Backup OK\n");
        w.form.AddToDoList(kJob, jobEntries(QStringLiteral("nas"), value3), QString());

        w.form.SetToDoListProgressbar(kJob, value, value2, value3, QStringLiteral("f0.jpg"),
                                      QStringLiteral("nas"));

        QCOMPARE(w.list->row(0)->finishedMark(), finishes ? 100 : 0);
        QCOMPARE(w.folder.exists(kJob + ".kyv"), !finishes);
        QVERIFY(w.folder.exists(kJob + ".kyvlog")); // the log always stays
        QCOMPARE(countLabel(w, kJob)->text(), QStringLiteral("%1 / %2").arg(value2).arg(value3));
    }

    void finishedRowStaysFinished()
    {
        Window w;
        w.form.AddToDoList(kJob, jobEntries(QStringLiteral("nas"), 2), QString());
        w.form.SetToDoListProgressbar(kJob, 100, 2, 2, QStringLiteral("f1.jpg"),
                                      QStringLiteral("nas"));
        QCOMPARE(w.list->row(0)->finishedMark(), 100);
        w.form.SetToDoListProgressbar(kJob, 50, 1, 2, QStringLiteral("f1.jpg"),
                                      QStringLiteral("nas"));
        QCOMPARE(w.list->row(0)->finishedMark(), 100);
    }

    // The job file of a finished job stays when it cannot be deleted (a
    // folder in its place here); the row is finished all the same and the
    // count keeps its previous text.
    void undeletableJobFileStays()
    {
        Window w;
        w.folder.makeFolder(kJob + ".kyv/inside");
        w.form.AddToDoList(kJob, jobEntries(QStringLiteral("nas"), 2), QString());
        w.form.SetToDoListProgressbar(kJob, 100, 1, 2, QStringLiteral("f0.jpg"),
                                      QStringLiteral("nas"));
        w.form.SetToDoListProgressbar(kJob, 100, 2, 2, QStringLiteral("f1.jpg"),
                                      QStringLiteral("nas"));
        QCOMPARE(w.list->row(0)->finishedMark(), 100);
        QVERIFY(w.folder.exists(kJob + ".kyv"));
        QCOMPARE(countLabel(w, kJob)->text(), QStringLiteral("1 / 2"));
        QCOMPARE(fileCountBar(w, kJob)->value(), 2);
    }

    void reportForUnknownJobChangesNothing()
    {
        Window w;
        const QString other = QStringLiteral("999999");
        w.folder.write(kJob + ".kyv", "x\r\n");
        w.folder.write(other + ".kyv", "x\r\n");
        w.form.AddToDoList(kJob, jobEntries(QStringLiteral("nas"), 3), QString());

        w.form.SetToDoListProgressbar(other, 100, 3, 3, QStringLiteral("f2.jpg"),
                                      QStringLiteral("nas"));

        QCOMPARE(w.list->count(), 1);
        QueueRow* row = w.list->row(0);
        QCOMPARE(row->text(), QStringLiteral("[ nas ]\r\n\r\n"));
        QCOMPARE(row->finishedMark(), 0);
        QCOMPARE(fileCountBar(w, kJob)->value(), 1);
        QCOMPARE(entryBar(w, kJob)->value(), 0);
        QVERIFY(countLabel(w, kJob)->text().isEmpty());
        QVERIFY(w.folder.exists(kJob + ".kyv"));
        QVERIFY(w.folder.exists(other + ".kyv"));
    }

    // Every part is looked up by its own name; one that is gone is skipped
    // and the others are still updated.
    void missingPartIsSkipped_data()
    {
        QTest::addColumn<QString>("gone");
        QTest::newRow("file-count bar") << QStringLiteral("PG2_");
        QTest::newRow("count label") << QStringLiteral("LB_");
        QTest::newRow("entry bar") << QStringLiteral("PG_");
    }

    void missingPartIsSkipped()
    {
        QFETCH(QString, gone);
        Window w;
        w.form.AddToDoList(kJob, jobEntries(QStringLiteral("nas"), 3), QString());
        delete w.list->findChild<QWidget*>(gone + kJob);

        w.form.SetToDoListProgressbar(kJob, 40, 1, 3, QStringLiteral("f1.jpg"),
                                      QStringLiteral("nas"));

        QCOMPARE(w.list->row(0)->text(), QStringLiteral("[ nas ]\r\n\r\nf1.jpg"));
        const bool barGone = gone == QLatin1String("PG2_");
        const bool labelGone = barGone || gone == QLatin1String("LB_"); // it lay on the bar
        QCOMPARE(fileCountBar(w, kJob) != nullptr, !barGone);
        QCOMPARE(countLabel(w, kJob) != nullptr, !labelGone);
        QCOMPARE(entryBar(w, kJob) != nullptr, gone != QLatin1String("PG_"));
        if (!barGone)
            QCOMPARE(fileCountBar(w, kJob)->value(), 1);
        if (!labelGone)
            QCOMPARE(countLabel(w, kJob)->text(), QStringLiteral("1 / 3"));
        if (gone != QLatin1String("PG_"))
            QCOMPARE(entryBar(w, kJob)->value(), 40);
    }

    // A row taken out of the list is not found again: its job's reports
    // change nothing and no longer delete the job file.
    void removedRowIsNotFound()
    {
        Window w;
        w.folder.write(kJob + ".kyv", "x\r\n");
        w.form.AddToDoList(kJob, jobEntries(QStringLiteral("nas"), 1), QString());
        w.list->removeRow(w.list->row(0));
        QCOMPARE(w.list->count(), 0);
        QVERIFY(!fileCountBar(w, kJob));

        w.form.SetToDoListProgressbar(kJob, 100, 1, 1, QStringLiteral("f0.jpg"),
                                      QStringLiteral("nas"));
        QVERIFY(w.folder.exists(kJob + ".kyv"));

        // The job started again gets a new row.
        w.form.AddToDoList(kJob, jobEntries(QStringLiteral("nas"), 1), QString());
        QCOMPARE(w.list->count(), 1);
        w.form.SetToDoListProgressbar(kJob, 100, 1, 1, QStringLiteral("f0.jpg"),
                                      QStringLiteral("nas"));
        QVERIFY(!w.folder.exists(kJob + ".kyv"));
    }

    void queueLockIsHeldForEachCall()
    {
        Window w;
        LockProbe probe;
        ChildAddedProbe rowAdded;
        rowAdded.onChildAdded = [&probe] { probe.probe(); };
        QWidget* rowsHolder = w.list->widget();
        rowsHolder->installEventFilter(&rowAdded);
        w.form.AddToDoList(kJob, jobEntries(QStringLiteral("nas"), 3), QString());
        rowsHolder->removeEventFilter(&rowAdded);
        QCOMPARE(probe.heldAt, QList<bool>{true});

        connect(fileCountBar(w, kJob), &QProgressBar::valueChanged, this,
                [&probe] { probe.probe(); });
        w.form.SetToDoListProgressbar(kJob, 10, 0, 3, QStringLiteral("f0.jpg"),
                                      QStringLiteral("nas"));
        QCOMPARE(probe.heldAt, (QList<bool>{true, true}));

        // ... and released afterwards.
        QVERIFY(queueLock.tryLock());
        queueLock.unlock();
    }

    // A worker on another thread reaches the rows only through hand-overs;
    // its reports arrive in the order it sent them.
    void reportsFromAnotherThreadArriveInOrder()
    {
        Window w;
        w.folder.write(kJob + ".kyv", "x\r\n");
        JobObserver* observer = &w.form;
        QList<int> seen;
        QList<int> entryValues;
        const QStringList files = jobEntries(QStringLiteral("nas"), 3);

        std::unique_ptr<QThread> worker(QThread::create([&] {
            handOver(observer->context(), [&] { observer->AddToDoList(kJob, files, QString()); });
            for (int entry = 0; entry < 3; ++entry) {
                for (int percent = 0; percent <= 100; percent += 5) {
                    const int done = entry + (percent == 100 ? 1 : 0);
                    handOver(observer->context(), [&, percent, done, entry] {
                        observer->SetToDoListProgressbar(kJob, percent, done, 3,
                                                         QStringLiteral("f%1.jpg").arg(entry),
                                                         QStringLiteral("nas"));
                        seen.append(entry * 1000 + percent);
                        entryValues.append(entryBar(w, kJob)->value());
                    });
                }
            }
        }));
        worker->start();
        QTRY_VERIFY_WITH_TIMEOUT(worker->isFinished(), 20000);

        QCOMPARE(w.list->count(), 1);
        QueueRow* row = w.list->row(0);
        QCOMPARE(row->thread(), QThread::currentThread());
        QCOMPARE(seen.size(), 3 * 21);
        for (int i = 0; i < seen.size(); ++i) {
            QCOMPARE(seen.at(i), (i / 21) * 1000 + (i % 21) * 5);
            QCOMPARE(entryValues.at(i), (i % 21) * 5); // each report applied when it arrived
        }
        QCOMPARE(row->finishedMark(), 100);
        QCOMPARE(countLabel(w, kJob)->text(), QStringLiteral("3 / 3"));
        QCOMPARE(row->text(), QStringLiteral("[ nas ]\r\n\r\nf2.jpg"));
        QVERIFY(!w.folder.exists(kJob + ".kyv"));
    }

    void statusLineShowsTheNewestLogLine()
    {
        Window w;
        JobObserver* observer = &w.form;
        std::unique_ptr<QThread> worker(QThread::create([&] {
            handOver(observer->context(), [&] {
                observer->ShowStatusLine(QStringLiteral("[nas][DONE] a.jpg Backup OK"));
            });
            handOver(observer->context(), [&] {
                observer->ShowStatusLine(QStringLiteral("[nas][FAIL] b.jpg Backup Failed"));
            });
        }));
        worker->start();
        QTRY_VERIFY_WITH_TIMEOUT(worker->isFinished(), 20000);
        QCOMPARE(control<QLabel>(w.form, "Label4")->text(),
                 QStringLiteral("[nas][FAIL] b.jpg Backup Failed"));
    }

    void rowCheckBoxAndClick()
    {
        Window w;
        w.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form));
        w.form.ChangeTab(TForm1::Queue);
        w.form.AddToDoList(kJob, jobEntries(QStringLiteral("nas"), 3), QString());
        QueueRow* row = w.list->row(0);
        QList<QueueRow*> clicks;
        connect(w.list, &QueueList::rowClicked, this, [&clicks](QueueRow* r) { clicks.append(r); });
        QTRY_VERIFY(row->isVisible());

        QTest::mouseClick(row->checkBox(), Qt::LeftButton);
        QVERIFY(row->isChecked());
        QCOMPARE(clicks.count(), 0);

        QTest::mouseClick(row, Qt::LeftButton, {}, QPoint(row->width() / 2, 40));
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks.at(0), row);
        QVERIFY(row->isChecked());
    }
};

QTEST_MAIN(TestQueueRows)
#include "tst_queuerows.moc"
