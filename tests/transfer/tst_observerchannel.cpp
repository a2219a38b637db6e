#include "RecordingObserver.h"
#include "transfer/ObserverChannel.h"

#include <QThread>
#include <QtTest>

using namespace kyvane;


class TestObserverChannel : public QObject
{
    Q_OBJECT

private slots:
    void callsArriveInOrderOnTheObserverThread()
    {
        RecordingObserver observer;
        ObserverChannel channel(&observer);
        int delivered = 0;
        std::unique_ptr<QThread> worker(QThread::create([&] {
            if (channel.run([](JobObserver& o) { o.AddToDoList("j", {}, {}); }))
                ++delivered;
            for (int i = 1; i <= 50; ++i) {
                if (channel.run([i](JobObserver& o) { o.SetToDoListProgressbar("j", i, 0, 1, {}, {}); }))
                    ++delivered;
            }
        }));
        worker->start();
        QTRY_VERIFY_WITH_TIMEOUT(worker->isFinished(), 10000);
        QCOMPARE(delivered, 51);
        QCOMPARE(observer.rows, QStringList{"j"});
        QCOMPARE(observer.reports.size(), 50);
        for (int i = 1; i <= 50; ++i)
            QCOMPARE(observer.reports.at(i - 1).value, i);
    }

    // The window closes while a worker waits for its hand-over: the worker is
    // released instead of waiting for a thread that will never serve it.
    void closingReleasesAWaitingWorker()
    {
        RecordingObserver observer;
        ObserverChannel channel(&observer);
        std::atomic<bool> posted{false};
        bool result = true;
        std::unique_ptr<QThread> worker(QThread::create([&] {
            posted = true;
            result = channel.run([](JobObserver& o) { o.ShowStatusLine("late"); });
        }));
        worker->start();
        // Do not serve events: the call stays queued, like a window busy closing.
        QDeadlineTimer deadline(10000);
        while (!posted && !deadline.hasExpired())
            QThread::msleep(1);
        QThread::msleep(50);
        channel.close();
        QVERIFY(worker->wait(10000));
        QVERIFY(!result);
        QCoreApplication::processEvents(); // the dropped call must not run now
        QVERIFY(observer.statusLines.isEmpty());
        QVERIFY(!channel.run([](JobObserver& o) { o.ShowStatusLine("after"); }));
    }

    void observerDestroyedWhileCallQueued()
    {
        auto observer = std::make_unique<RecordingObserver>();
        ObserverChannel channel(observer.get());
        std::atomic<bool> started{false};
        bool result = true;
        std::unique_ptr<QThread> worker(QThread::create([&] {
            started = true;
            result = channel.run([](JobObserver& o) { o.ShowStatusLine("x"); });
        }));
        worker->start();
        QDeadlineTimer deadline(10000);
        while (!started && !deadline.hasExpired())
            QThread::msleep(1);
        QThread::msleep(50);
        channel.close(); // the window closes the channel before it goes
        observer.reset();
        QVERIFY(worker->wait(10000));
        QVERIFY(!result);
    }
};

QTEST_GUILESS_MAIN(TestObserverChannel)
#include "tst_observerchannel.moc"
