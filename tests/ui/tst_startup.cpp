#include "TempProgramFolder.h"
#include "core/SharedState.h"
#include "i18n/LanguageRes.h"
#include "ui/MainWindow.h"
#include "ui/MessageBox.h"

#include <QtTest>

using namespace kyvane;

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        setCurrentLanguage(kLanguageEnglish);
        stopRequested = false;
    }

    void windowFrame()
    {
        TempProgramFolder folder;
        TForm1 form;
        QCOMPARE(form.windowTitle(), QStringLiteral("KYV v1.0.7"));
        QCOMPARE(form.size(), QSize(358, 570));
        QCOMPARE(form.minimumSize(), form.maximumSize());
    }

    void languageFromConfig_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<int>("code");
        QTest::newRow("no file") << QByteArray() << 0;
        QTest::newRow("100") << QByteArray("[GENERALSETTINGS]\r\nLANGUAGE=100\r\n") << 100;
        QTest::newRow("200 lower case") << QByteArray("[generalsettings]\nlanguage=200\n") << 200;
        QTest::newRow("not a number") << QByteArray("[GENERALSETTINGS]\nLANGUAGE=zh\n") << 0;
        QTest::newRow("out of range") << QByteArray("[GENERALSETTINGS]\nLANGUAGE=250\n") << 0;
    }

    void languageFromConfig()
    {
        QFETCH(QByteArray, config);
        QFETCH(int, code);
        TempProgramFolder folder;
        if (!config.isEmpty())
            folder.write("config.ini", config);
        setCurrentLanguage(kLanguageSimplifiedChinese); // start-up must set it either way
        TForm1 form;
        QCOMPARE(currentLanguage(), code);
    }

    void traditionalChineseAtStartup()
    {
        TempProgramFolder folder;
        folder.write("config.ini", "[GENERALSETTINGS]\r\nLANGUAGE=100\r\n");
        TForm1 form;
        QCOMPARE(langText(33), QString::fromUtf8("繁體中文"));
    }

    void listsLoadedFromProgramFolder()
    {
        TempProgramFolder folder;
        folder.write("server.cfg", "\xEF\xBB\xBFnas|25714|me|d41d8cd98f00b204e9800998ecf8427e\r\n");
        folder.write("folder.cfg", "/photos\n");
        folder.write("FileExt.cfg", ".jpg\r\n.png\r\n");
        TForm1 form;
        QCOMPARE(form.lists().servers, QStringList{"nas|25714|me|d41d8cd98f00b204e9800998ecf8427e"});
        QCOMPARE(form.lists().folders, QStringList{"/photos"});
        QCOMPARE(form.lists().extensions, (QStringList{".jpg", ".png"}));
    }

    // Every bad file at once: start-up still runs to its end.
    void badInputDoesNotStopStartup()
    {
        TempProgramFolder folder;
        folder.makeFolder("config.ini");
        folder.makeFolder("server.cfg");
        folder.write("folder.cfg", "/bad\xFF\r\n");
        folder.write("FileExt.cfg", ".png\r\n"); // the last list still loads
        TForm1 form;
        QCOMPARE(currentLanguage(), kLanguageEnglish);
        QVERIFY(form.lists().servers.isEmpty());
        QVERIFY(form.lists().folders.isEmpty());
        QCOMPARE(form.lists().extensions, QStringList{".png"});
        QCOMPARE(folder.read("folder.cfg"), QByteArray("/bad\xFF\r\n"));
    }

    void closeAnsweredNoKeepsRunning()
    {
        TempProgramFolder folder;
        TForm1 form;
        form.show();
        MessageBox::setNextAnswer(MessageBox::Answer::No);
        QVERIFY(!form.close());
        QCOMPARE(MessageBox::lastText(), QStringLiteral("Are you sure to close KYV?"));
        QVERIFY(form.isVisible());
        QVERIFY(!stopRequested);
    }

    void closeAnsweredYesStopsWorkers()
    {
        TempProgramFolder folder;
        folder.write("config.ini", "[GENERALSETTINGS]\r\nLANGUAGE=200\r\n");
        TForm1 form;
        form.show();
        MessageBox::setNextAnswer(MessageBox::Answer::Yes);
        QVERIFY(form.close());
        QCOMPARE(MessageBox::lastText(), QString::fromUtf8("确定关闭凯维安?"));
        QVERIFY(!form.isVisible());
        QVERIFY(stopRequested);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
