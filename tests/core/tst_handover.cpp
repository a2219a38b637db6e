#include "core/HandOver.h"

#include <QThread>
#include <QtTest>

#include <stdexcept>

using namespace kyvane;

class TestHandOver : public QObject
{
    Q_OBJECT

private slots:
    void runsOnTheContextThreadAndWaits()
    {
        QObject context; // lives on this (the test's main) thread
        QThread* ranOn = nullptr;
        bool done = false;
        bool delivered = false;
        bool doneWhenReturned = false;
        std::unique_ptr<QThread> worker(QThread::create([&] {
            delivered = handOver(&context, [&] {
                ranOn = QThread::currentThread();
                QThread::msleep(20); // the worker must still be waiting
                done = true;
            });
            doneWhenReturned = done;
        }));
        worker->start();
        QTRY_VERIFY_WITH_TIMEOUT(worker->isFinished(), 10000);
        QVERIFY(delivered);
        QVERIFY(doneWhenReturned); // the call had run by the time handOver returned
        QCOMPARE(ranOn, QThread::currentThread());
    }

    void callsKeepTheirOrder()
    {
        QObject context;
        QList<int> seen;
        std::unique_ptr<QThread> worker(QThread::create([&] {
            for (int i = 0; i < 200; ++i)
                handOver(&context, [&seen, i] { seen.append(i); });
        }));
        worker->start();
        QTRY_VERIFY_WITH_TIMEOUT(worker->isFinished(), 10000);
        QCOMPARE(seen.size(), 200);
        for (int i = 0; i < 200; ++i)
            QCOMPARE(seen.at(i), i);
    }

    void sameThreadRunsDirectly()
    {
        QObject context;
        int calls = 0;
        QVERIFY(handOver(&context, [&] { ++calls; }));
        QCOMPARE(calls, 1);
    }

    void failingCallIsSwallowed()
    {
        QObject context;
        bool after = false;
        std::unique_ptr<QThread> worker(QThread::create([&] {
            handOver(&context, [] { throw std::runtime_error("control is gone"); });
            after = true;
        }));
        worker->start();
        QTRY_VERIFY_WITH_TIMEOUT(worker->isFinished(), 10000);
        QVERIFY(after);
        QVERIFY(!handOver(nullptr, [] {}));
    }
};

QTEST_GUILESS_MAIN(TestHandOver)
#include "tst_handover.moc"
