#include "TempProgramFolder.h"
#include "ui/QueueRowRules.h"

#include <QtTest>

using namespace kyvane;

class TestQueueRowRules : public QObject
{
    Q_OBJECT

private slots:
    void namesOfARowAndItsParts()
    {
        QCOMPARE(QueueRowRules::rowName("101500"), QStringLiteral("LI_101500"));
        QCOMPARE(QueueRowRules::fileCountBarName("101500"), QStringLiteral("PG2_101500"));
        QCOMPARE(QueueRowRules::countLabelName("101500"), QStringLiteral("LB_101500"));
        QCOMPARE(QueueRowRules::entryBarName("101500"), QStringLiteral("PG_101500"));
        QCOMPARE(QueueRowRules::jobNameFromRowName("LI_101500"), QStringLiteral("101500"));
        QCOMPARE(QueueRowRules::jobNameFromRowName(QueueRowRules::rowName("073000")),
                 QStringLiteral("073000"));
    }

    void serverOfEntry_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("server");
        auto row = [](const char* name, const char* entry, const char* server) {
            QTest::newRow(name) << QString::fromUtf8(entry) << QString::fromUtf8(server);
        };
        row("job entry", "nas.home|25714|anna|0cc175b9c0f1b6a831c399e269772661|/p/a.jpg",
            "nas.home");
        row("bar in the path", "10.0.0.2|25714|anna|d|/p/a|b.jpg", "10.0.0.2");
        row("no bar", "nas.home", "nas.home");
        row("empty server", "|25714|anna|d|/p/a.jpg", "");
    }

    void serverOfEntry()
    {
        QFETCH(QString, entry);
        QFETCH(QString, server);
        QCOMPARE(QueueRowRules::serverOfEntry(entry), server);
    }

    void rowText()
    {
        QCOMPARE(QueueRowRules::rowText("nas", ""), QStringLiteral("[ nas ]\r\n\r\n"));
        QCOMPARE(QueueRowRules::rowText("192.168.1.20", "DSC 2203.JPG"),
                 QStringLiteral("[ 192.168.1.20 ]\r\n\r\nDSC 2203.JPG"));
    }

    void countText()
    {
        QCOMPARE(QueueRowRules::countText(0, 3), QStringLiteral("0 / 3"));
        QCOMPARE(QueueRowRules::countText(12, 120), QStringLiteral("12 / 120"));
    }

    void finishesJob_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("value2");
        QTest::addColumn<int>("value3");
        QTest::addColumn<bool>("finishes");
        QTest::newRow("all done") << 100 << 3 << 3 << true;
        QTest::newRow("99 percent") << 99 << 3 << 3 << false;
        QTest::newRow("one failed") << 100 << 2 << 3 << false;
        QTest::newRow("first report") << 0 << 0 << 3 << false;
        QTest::newRow("nothing to do") << 0 << 0 << 0 << false;
    }

    void finishesJob()
    {
        QFETCH(int, value);
        QFETCH(int, value2);
        QFETCH(int, value3);
        QFETCH(bool, finishes);
        QCOMPARE(QueueRowRules::finishesJob(value, value2, value3), finishes);
    }

    void jobFileLiesInTheProgramFolder()
    {
        TempProgramFolder folder;
        QCOMPARE(QueueRowRules::jobFilePath("101500"), folder.path() + "101500.kyv");
    }

    void removeJobFile()
    {
        TempProgramFolder folder;
        QVERIFY(QueueRowRules::removeJobFile("101500")); // not there: nothing to do
        folder.write("101500.kyv", "x\r\n");
        folder.write("101500.kyvlog", "log\n");
        QVERIFY(QueueRowRules::removeJobFile("101500"));
        QVERIFY(!folder.exists("101500.kyv"));
        QVERIFY(folder.exists("101500.kyvlog"));
        folder.makeFolder("111111.kyv/inside");
        QVERIFY(!QueueRowRules::removeJobFile("111111"));
    }
};

QTEST_GUILESS_MAIN(TestQueueRowRules)
#include "tst_queuerowrules.moc"
