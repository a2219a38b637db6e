// How rows name a job's servers: by address, and by address, port and
// account where the job goes to two logins at one address.
#include "transfer/ServerLabels.h"

#include <QtTest>

using namespace kyvane;

class TestServerLabels : public QObject
{
    Q_OBJECT

private slots:
    void labels_data()
    {
        QTest::addColumn<QStringList>("entries"); // address|port|account|digest|path
        QTest::addColumn<QStringList>("labels");  // one per entry, in order
        QTest::newRow("one server")
            << QStringList{"nas|25714|anna|d|/a.jpg", "nas|25714|anna|d|/b.jpg"}
            << QStringList{"nas", "nas"};
        QTest::newRow("two ports at one address")
            << QStringList{"nas|25714|anna|d|/a.jpg", "nas|25715|anna|d|/a.jpg"}
            << QStringList{"nas:25714 anna", "nas:25715 anna"};
        QTest::newRow("two accounts at one address")
            << QStringList{"nas|25714|anna|d|/a.jpg", "nas|25714|bob|d|/a.jpg"}
            << QStringList{"nas:25714 anna", "nas:25714 bob"};
        QTest::newRow("only the shared address is told apart")
            << QStringList{"nas|1|anna|d|/a.jpg", "pc|1|anna|d|/a.jpg", "nas|2|anna|d|/a.jpg"}
            << QStringList{"nas:1 anna", "pc", "nas:2 anna"};
        // Addresses are compared as written, as the connection does.
        QTest::newRow("addresses differing in case")
            << QStringList{"NAS|1|anna|d|/a.jpg", "nas|2|anna|d|/a.jpg"}
            << QStringList{"NAS", "nas"};
        // No number in the port field: the port the connection goes to.
        QTest::newRow("default port") << QStringList{"nas||anna|d|/a.jpg", "nas|25714|bob|d|/a.jpg"}
                                      << QStringList{"nas:25714 anna", "nas:25714 bob"};
    }

    void labels()
    {
        QFETCH(QStringList, entries);
        QFETCH(QStringList, labels);
        const ServerLabels fromEntries(entries);
        QList<ServerKey> servers;
        for (const QString& line : std::as_const(entries))
            servers.append(JobEntry::split(line).serverKey());
        const ServerLabels fromStore(servers);
        for (int i = 0; i < entries.size(); ++i) {
            QCOMPARE(fromEntries.label(JobEntry::split(entries.at(i))), labels.at(i));
            QCOMPARE(fromStore.label(servers.at(i)), labels.at(i));
        }
    }
};

QTEST_GUILESS_MAIN(TestServerLabels)
#include "tst_serverlabels.moc"
