#include "transfer/JobEntry.h"
#include "transfer/WireFormat.h"

#include <QtTest>

using namespace kyvane;

class TestWireFormat : public QObject
{
    Q_OBJECT

private slots:
    void entrySplit_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("fields"); // server, port, account, digest, path
        QTest::newRow("plain") << "nas|25714|anna|abc|/p/a.jpg"
                               << QStringList{"nas", "25714", "anna", "abc", "/p/a.jpg"};
        QTest::newRow("bar in path") << "nas|1|a|d|/p/x|y.jpg"
                                     << QStringList{"nas", "1", "a", "d", "/p/x|y.jpg"};
        QTest::newRow("three fields") << "nas|1|a" << QStringList{"nas", "1", "a", "", ""};
        QTest::newRow("no bar") << "nas" << QStringList{"nas", "", "", "", ""};
        QTest::newRow("empty fields") << "||||" << QStringList{"", "", "", "", ""};
    }

    void entrySplit()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, fields);
        const JobEntry entry = JobEntry::split(line);
        QCOMPARE((QStringList{entry.server, entry.port, entry.account, entry.digest, entry.path}),
                 fields);
    }

    void port_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("port");
        QTest::newRow("number") << "2121" << 2121;
        QTest::newRow("empty") << "" << 25714;
        QTest::newRow("text") << "ftp" << 25714;
        QTest::newRow("too big") << "70000" << 25714;
        QTest::newRow("negative") << "-1" << 25714;
    }

    void port()
    {
        QFETCH(QString, field);
        QFETCH(int, port);
        JobEntry entry;
        entry.port = field;
        QCOMPARE(int(entry.portNumber()), port);
    }

    // One connection serves entries of the same address, port and account.
    void sameLogin_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("same");
        QTest::newRow("other digest and file") << "h|2121|anna|d1|/a" << "h|2121|anna|d2|/b" << true;
        QTest::newRow("other port") << "h|2121|anna|d|/a" << "h|2122|anna|d|/a" << false;
        QTest::newRow("other account") << "h|2121|anna|d|/a" << "h|2121|bob|d|/a" << false;
        QTest::newRow("account case") << "h|2121|anna|d|/a" << "h|2121|Anna|d|/a" << false;
        QTest::newRow("address case") << "h|2121|anna|d|/a" << "H|2121|anna|d|/a" << false;
        QTest::newRow("both default port") << "h||anna|d|/a" << "h|25714|anna|d|/a" << true;
    }

    void sameLogin()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, same);
        QCOMPARE(JobEntry::split(first).sameLogin(JobEntry::split(second)), same);
        QCOMPARE(JobEntry::split(second).sameLogin(JobEntry::split(first)), same);
    }

    void nonce_data()
    {
        QTest::addColumn<QString>("greeting");
        QTest::addColumn<QString>("nonce");
        QTest::newRow("three fields") << "220 welcome,4711,x" << "4711";
        QTest::newRow("two fields") << "220 hi, 99 " << "99";
        QTest::newRow("code alone") << "220" << "";
        QTest::newRow("empty second") << "220 a,,b" << "";
        QTest::newRow("tab trimmed") << "220 a,\t7\t,b" << "7";
    }

    void nonce()
    {
        QFETCH(QString, greeting);
        QFETCH(QString, nonce);
        QCOMPARE(wire::nonceFromGreeting(greeting), nonce);
    }

    void replyCode_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("code");
        QTest::newRow("code and text") << "201 exists" << "201";
        QTest::newRow("longer number") << "2010" << "201";
        QTest::newRow("short") << "20" << "";
        QTest::newRow("empty") << "" << "";
    }

    void replyCode()
    {
        QFETCH(QString, line);
        QFETCH(QString, code);
        QCOMPARE(wire::replyCode(line), code);
    }

    void refusal_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("text");
        QTest::newRow("501 with text") << "501 name is too long" << true << "name is too long";
        QTest::newRow("451 blanks trimmed") << "451   busy  " << true << "busy";
        QTest::newRow("code alone") << "550" << true << "550";
        QTest::newRow("4 then letters") << "4xx odd" << true << "odd";
        QTest::newRow("too short for a code") << "50" << false << "50";
        QTest::newRow("offset") << "200 0" << false << "0";
        QTest::newRow("exists") << "201 exists" << false << "exists";
        QTest::newRow("empty") << "" << false << "";
    }

    void refusal()
    {
        QFETCH(QString, reply);
        QFETCH(bool, refused);
        QFETCH(QString, text);
        QCOMPARE(wire::isRefusal(reply), refused);
        QCOMPARE(wire::replyText(reply), text);
    }

    void resumeOffset_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<qint64>("offset");
        QTest::newRow("offset") << "200 1500000" << qint64(1500000);
        QTest::newRow("zero") << "200 0" << qint64(0);
        QTest::newRow("no blank") << "202" << qint64(0);
        QTest::newRow("blanks before") << "200   42" << qint64(42);
        QTest::newRow("not a number") << "200 abc" << qint64(0);
        QTest::newRow("two words") << "200 5 7" << qint64(0);
        QTest::newRow("empty reply") << "" << qint64(0);
        QTest::newRow("beyond 32 bits") << "200 5000000000" << qint64(5000000000);
        QTest::newRow("negative is zero") << "200 -5" << qint64(0);
        QTest::newRow("plus sign") << "200 +7" << qint64(7);
        QTest::newRow("blank after") << "200 5 " << qint64(0);
        QTest::newRow("tab before") << "200 \t5" << qint64(0);
        QTest::newRow("beyond 64 bits") << "200 99999999999999999999" << qint64(0);
    }

    void resumeOffset()
    {
        QFETCH(QString, reply);
        QFETCH(qint64, offset);
        QCOMPARE(wire::resumeOffset(reply), offset);
    }

    void timeFields_data()
    {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("created");
        const auto utc = [](int y, int mo, int d, int h, int mi, int s, int ms) {
            return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms), Qt::UTC);
        };
        QTest::newRow("plain") << utc(2024, 5, 17, 8, 3, 9, 0) << "2024/05/17;08:03:09"
                               << "2024/05/17;08:03:09";
        QTest::newRow("fraction dropped") << utc(2024, 5, 17, 8, 3, 9, 999)
                                          << "2024/05/17;08:03:09" << "2024/05/17;08:03:09";
        QTest::newRow("midnight") << utc(2024, 5, 17, 0, 0, 0, 0) << "2024/05/17" << "2024/05/17";
        QTest::newRow("just after midnight") << utc(2024, 5, 17, 0, 0, 0, 1)
                                             << "2024/05/17;00:00:00" << "2024/05/17;00:00:00";
        QTest::newRow("1975") << utc(1975, 1, 2, 3, 4, 5, 0) << "1975/01/02;03:04:05" << "none";
        QTest::newRow("1980") << utc(1980, 1, 1, 0, 0, 0, 0) << "1980/01/01" << "1980/01/01";
        QTest::newRow("unknown") << QDateTime() << "" << "none";
        // A local time is written as its UTC moment.
        QTest::newRow("offset zone")
            << QDateTime(QDate(2024, 5, 17), QTime(2, 0), QTimeZone(7200)) << "2024/05/17"
            << "2024/05/17";
    }

    void timeFields()
    {
        QFETCH(QDateTime, moment);
        QFETCH(QString, field);
        QFETCH(QString, created);
        if (moment.isValid())
            QCOMPARE(wire::timeField(moment), field);
        QCOMPARE(wire::createdField(moment), created);
    }

    void putLine()
    {
        const QDateTime created(QDate(1975, 3, 1), QTime(10, 0), Qt::UTC);
        const QDateTime modified(QDate(2024, 5, 17), QTime(0, 0), Qt::UTC);
        // "Ü.jpg" is six UTF-8 bytes: C3 9C 2E 6A 70 67
        QCOMPARE(wire::putLine(2000000, QString::fromUtf8("Ü.jpg"), created, modified, "none"),
                 QStringLiteral("put 2000000 w5wuanBn none 2024/05/17 none"));
        QCOMPARE(wire::putLine(0, "a b.mp4", modified, modified, "2023/05/01;12:34:56"),
                 QStringLiteral("put 0 YSBiLm1wNA== 2024/05/17 2024/05/17 2023/05/01;12:34:56"));
    }

    void percent_data()
    {
        QTest::addColumn<qint64>("total");
        QTest::addColumn<qint64>("remaining");
        QTest::addColumn<int>("percent");
        const qint64 chunk = 819200;
        QTest::newRow("2 MB after one chunk") << qint64(2000000) << 2000000 - chunk << 41;
        QTest::newRow("2 MB after two chunks") << qint64(2000000) << 2000000 - 2 * chunk << 82;
        for (int i = 1; i <= 7; ++i) {
            static const int expected[] = {0, 12, 25, 38, 50, 62, 75, 88};
            QTest::addRow("eight chunks, %d sent", i) << 8 * chunk << (8 - i) * chunk << expected[i];
        }
        QTest::newRow("half rounds to even 0") << qint64(200) << qint64(199) << 0;
        QTest::newRow("1.5 rounds to 2") << qint64(200) << qint64(197) << 2;
        QTest::newRow("2.5 rounds to 2") << qint64(200) << qint64(195) << 2;
        QTest::newRow("resume counts skipped bytes") << qint64(2000000) << qint64(500000) << 75;
        QTest::newRow("huge file") << qint64(1) << qint64(0) << 100;
        QTest::newRow("8 TiB") << (qint64(1) << 43) << (qint64(1) << 42) << 50;
    }

    void percent()
    {
        QFETCH(qint64, total);
        QFETCH(qint64, remaining);
        QFETCH(int, percent);
        QCOMPARE(wire::percentSent(total, remaining), percent);
    }

    void lineCoding()
    {
        QCOMPARE(wire::encodeLine(QString::fromUtf8("auth Jörg x")), QByteArray("auth J?rg x\r\n"));
        QCOMPARE(wire::decodeLine(QByteArray("ok \xC3\x9C")),
                 QStringLiteral("ok ") + QChar(0xFFFD) + QChar(0xFFFD));
        QCOMPARE(wire::trimControls(QStringLiteral("\x01 a b\t\r")), QStringLiteral("a b"));
    }
};

QTEST_GUILESS_MAIN(TestWireFormat)
#include "tst_wireformat.moc"
