// What the status bar keeps: the newest failure until the queue is opened,
// a hint for the usual failures, and nothing of a server or a language that
// is gone.
#include "i18n/ExtraTexts.h"
#include "i18n/LanguageRes.h"
#include "ui/StatusLine.h"

#include <QtTest>

#include <cerrno>
#include <cstring>

using namespace kyvane;

namespace {

const QString kLoginFailed = QStringLiteral("[nas][FAIL] Login Failed");
const QString kExisted = QStringLiteral("[nas][DONE] b.jpg existed, Backup Skipped");

QString refusedConnection(const QString& server)
{
    return "[" + server + "][FAIL] Unable to connect to server (" +
           QString::fromLocal8Bit(std::strerror(ECONNREFUSED)) + ")";
}

} // namespace

class TestStatusLine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { InitLanguageTable(); }
    void init() { setCurrentLanguage(kLanguageEnglish); }

    void failureStaysUntilTheQueueIsOpened()
    {
        StatusLine status;
        status.show(QStringLiteral("[nas][DONE] a.jpg Backup OK"));
        QVERIFY(!status.failurePending());
        status.show(kLoginFailed);
        QVERIFY(status.failurePending());
        status.show(kExisted);
        status.show(QString()); // a scan starting
        QVERIFY(status.text().startsWith(kLoginFailed));
        QVERIFY(status.failurePending());
        // A newer failure takes its place.
        status.show(refusedConnection("cloud"));
        QVERIFY(status.text().startsWith(refusedConnection("cloud")));
        status.queueOpened();
        QVERIFY(!status.failurePending());
        status.show(kExisted);
        QCOMPARE(status.text(), kExisted);
    }

    void hints_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("hint"); // empty: none
        QTest::newRow("login refused") << int(kLanguageEnglish) << kLoginFailed
                                       << extraText(ExtraText::HintCheckPassword).arg("nas");
        QTest::newRow("login refused, two servers at one address")
            << int(kLanguageEnglish) << "[nas:2 bo][FAIL] Login Failed"
            << "check the password of nas:2 bo in Settings";
        QTest::newRow("login refused for a server no longer configured")
            << int(kLanguageEnglish)
            << "[nas][FAIL] Login Failed (" + extraText(ExtraText::ServerNoLongerConfigured) + ")"
            << QString();
        QTest::newRow("connection refused")
            << int(kLanguageEnglish) << refusedConnection("nas")
            << extraText(ExtraText::HintConnectionRefused).arg("nas");
        QTest::newRow("server full")
            << int(kLanguageEnglish) << "[nas][FAIL] a.jpg Backup Failed (disk full)"
            << extraText(ExtraText::HintServerFull).arg("nas");
        QTest::newRow("no room for the file")
            << int(kLanguageEnglish) << "[nas][FAIL] a.jpg Backup Failed (not enough free space)"
            << extraText(ExtraText::HintServerFull).arg("nas");
        QTest::newRow("other failure")
            << int(kLanguageEnglish) << "[nas][FAIL] a.jpg Backup Failed (timed out)" << QString();
        QTest::newRow("not a failure") << int(kLanguageEnglish) << kExisted << QString();
    }

    void hints()
    {
        QFETCH(int, language);
        QFETCH(QString, line);
        QFETCH(QString, hint);
        setCurrentLanguage(language);
        QCOMPARE(StatusLine::hintFor(line), hint);
        StatusLine status;
        status.show(line);
        QCOMPARE(status.text(), hint.isEmpty() ? line : line + QStringLiteral(" — ") + hint);
    }

    // The worker's lines are in the language of the moment: so is the hint.
    void hintInChinese()
    {
        setCurrentLanguage(kLanguageTraditionalChinese);
        const QString line = "[nas][FAIL] " + langText(36);
        QCOMPARE(StatusLine::hintFor(line), QString::fromUtf8("請在設定中檢查 nas 的密碼"));
    }

    void lineOfADeletedServerGoes_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("servers");
        QTest::addColumn<bool>("kept");
        const QStringList both = {"nas|25714|anna|d", "cloud|25714|bo|d"};
        QTest::newRow("server still there") << kLoginFailed << both << true;
        QTest::newRow("server deleted") << kLoginFailed << QStringList{"cloud|25714|bo|d"} << false;
        QTest::newRow("one of two at an address, still there")
            << "[nas:2 bo][FAIL] Login Failed" << QStringList{"nas|1|anna|d", "nas|2|bo|d"} << true;
        QTest::newRow("one of two at an address, deleted")
            << "[nas:2 bo][FAIL] Login Failed" << QStringList{"nas|1|anna|d"} << false;
        QTest::newRow("a screen's line names no server")
            << QStringLiteral("Backup folder not found") << QStringList{} << true;
    }

    void lineOfADeletedServerGoes()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, servers);
        QFETCH(bool, kept);
        StatusLine status;
        status.show(line);
        status.serversChanged(servers);
        QCOMPARE(status.text().isEmpty(), !kept);
        if (!kept)
            QVERIFY(!status.failurePending());
    }

    void lineInAnotherLanguageGoes()
    {
        StatusLine status;
        status.show(kLoginFailed);
        status.languageApplied();
        QVERIFY(!status.text().isEmpty());
        setCurrentLanguage(kLanguageSimplifiedChinese);
        status.languageApplied();
        QVERIFY(status.text().isEmpty());
        QVERIFY(!status.failurePending());
    }
};

QTEST_MAIN(TestStatusLine)
#include "tst_statusline.moc"
