#include "TempProgramFolder.h"
#include "core/StopToken.h"
#include "i18n/LanguageRes.h"
#include "ui/MainWindow.h"
#include "ui/MessageBox.h"

#include "ui/widgets/SideMenu.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace kyvane;

namespace {

// Points HOME and XDG_CONFIG_HOME at a folder of the test for as long as it
// lives, so that the shared pictures folder is one the test controls.
class TempHome
{
public:
    TempHome()
        : m_home(qgetenv("HOME")), m_config(qgetenv("XDG_CONFIG_HOME")),
          m_hadConfig(qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
    {
        qputenv("HOME", QFile::encodeName(m_dir.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path() + "/.config"));
    }
    ~TempHome()
    {
        qputenv("HOME", m_home);
        if (m_hadConfig)
            qputenv("XDG_CONFIG_HOME", m_config);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }

    QString path() const { return m_dir.path(); }
    void makeFolder(const QString& name) const { QDir(m_dir.path()).mkpath(name); }

private:
    QTemporaryDir m_dir;
    QByteArray m_home;
    QByteArray m_config;
    bool m_hadConfig;
};

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { setCurrentLanguage(kLanguageEnglish); }

    void windowFrame()
    {
        TempProgramFolder folder;
        TForm1 form;
        QCOMPARE(form.windowTitle(), QStringLiteral("KYV v1.0.7"));
        QCOMPARE(form.size(), QSize(358, 570));
        QCOMPARE(form.minimumSize(), form.maximumSize());
    }

    // The window's part of the start-up: home page, no Back button, both
    // side menus hidden and disabled, the empty fourth row of tiles shown.
    void windowStartsOnTheHomePage()
    {
        TempProgramFolder folder;
        TForm1 form;
        QCOMPARE(form.currentTabIndex(), 0);
        QCOMPARE(form.navMarkerValue(), 0);
        QVERIFY(!form.listingCancelled());
        for (const char* hidden :
             {"SpeedButton1", "Button1", "Button2", "Button6", "Label5", "imgRedSpot"})
            QVERIFY2(!form.findChild<QWidget*>(hidden)->isVisibleTo(&form), hidden);
        QVERIFY(form.findChild<QWidget*>("Label1")->isVisibleTo(&form));
        for (const char* menu : {"MultiView1", "MultiView2"}) {
            const auto* drawer = form.findChild<SideMenu*>(menu);
            QVERIFY2(!drawer->isVisibleTo(&form) && !drawer->isEnabled() && !drawer->isOpen(),
                     menu);
        }
        for (const char* cell : {"ListBoxItem7", "ListBoxItem8"}) {
            const auto* item = form.findChild<QWidget*>(cell);
            QVERIFY2(item->isVisibleTo(&form), cell);
            for (const QWidget* inside : item->findChildren<QWidget*>())
                QVERIFY(!inside->isVisibleTo(&form));
        }
    }

    // Every control the screens are built from is there, under its name.
    void namedControlsExist()
    {
        TempProgramFolder folder;
        TForm1 form;
        const char* names[] = {"HeaderToolBar",
                               "SpeedButton1",
                               "Button1",
                               "Button2",
                               "Button6",
                               "Label1",
                               "Label5",
                               "ToolBar1",
                               "Label4",
                               "TabControl1",
                               "TabItem1",
                               "TabItem2",
                               "TabItem3",
                               "TabItem4",
                               "TabItem5",
                               "TabItem6",
                               "TabItem7",
                               "TabItem8",
                               "TabItem9",
                               "TabItem10",
                               "MultiView1",
                               "btnSelectAll2",
                               "btnSelectNone2",
                               "btnBackup",
                               "btnQueue",
                               "MultiView2",
                               "btnSelectAll",
                               "btnSelectNone",
                               "btnStop",
                               "btnStart",
                               "btnDelete",
                               "btnHistory",
                               "Rectangle3",
                               "lbTodayFileCount",
                               "Label2",
                               "ListBox7",
                               "ListBoxItem7",
                               "ListBoxItem8",
                               "rectBackupToday",
                               "rectBackup5days",
                               "rectBackupByDate",
                               "rectBackupManually",
                               "rectSetup",
                               "rectQueue",
                               "lbBackupToday",
                               "lbBackup5Days",
                               "lbBackupByDate",
                               "lbBackupManually",
                               "lbSettings",
                               "lbViewQueue",
                               "imgRedSpot",
                               "btnBackupTODAY",
                               "btnBackup5Days",
                               "btnBackupFILESByDATE",
                               "btnBackupManually",
                               "btnSettings",
                               "btnViewQueue",
                               "ListBox3",
                               "Button8",
                               "Button13",
                               "Edit1",
                               "Button4",
                               "ListView1",
                               "lblWait",
                               "ListBox2",
                               "VertScrollBox2",
                               "Layout1",
                               "Label8",
                               "edtServer",
                               "Label9",
                               "edtPort",
                               "Label10",
                               "edtAccount",
                               "Label11",
                               "edtPassword",
                               "lbleavepwempty",
                               "btnOK",
                               "Label12",
                               "ListBox4",
                               "ListBox5",
                               "btnAddFolder",
                               "btnDelFolder",
                               "ListBox6",
                               "btnAddExt",
                               "btnDelExt",
                               "Memo1",
                               "lblJobTitle",
                               "lblJobCounts",
                               "btnShowFiles",
                               "btnShowLog",
                               "lvJobFiles",
                               "btnRetry",
                               "lvHistory",
                               "lblHistoryEmpty",
                               "lblBackupRecord"};
        for (const char* name : names)
            QVERIFY2(form.findChild<QWidget*>(name), name);
        // The pages in order, each in the screen area.
        auto* tabs = form.findChild<QWidget*>("TabControl1");
        for (int i = 1; i <= 10; ++i)
            QCOMPARE(form.findChild<QWidget*>(QStringLiteral("TabItem%1").arg(i))->parentWidget(),
                     tabs);
        // The side menus' buttons, top to bottom.
        auto order = [&](const char* menu, QStringList expected) {
            QList<QPushButton*> buttons =
                form.findChild<QWidget*>(menu)->findChildren<QPushButton*>();
            std::sort(buttons.begin(), buttons.end(),
                      [](QPushButton* a, QPushButton* b) { return a->y() < b->y(); });
            QStringList names;
            bool allWithIcons = true;
            for (const QPushButton* b : buttons) {
                names << b->objectName();
                allWithIcons = allWithIcons && !b->icon().isNull() && b->height() == 48;
            }
            return allWithIcons && names == expected;
        };
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.ChangeTab(2);
        QMetaObject::invokeMethod(form.findChild<QWidget*>("Button2"), "click");
        QVERIFY(order("MultiView1", {"btnSelectAll2", "btnSelectNone2", "btnBackup", "btnQueue"}));
        form.ChangeTab(3);
        QMetaObject::invokeMethod(form.findChild<QWidget*>("Button6"), "click");
        QVERIFY(order("MultiView2", {"btnSelectAll", "btnSelectNone", "btnStop", "btnStart",
                                     "btnDelete", "btnHistory"}));
    }

    // The file explorer starts in the shared pictures folder, or in the
    // home folder when there is none.
    void explorerStartsInPictures_data()
    {
        QTest::addColumn<QString>("userDirs");   // contents of user-dirs.dirs, if any
        QTest::addColumn<QString>("makeFolder"); // made under the home folder
        QTest::addColumn<QString>("expected");   // under the home folder
        QTest::newRow("Pictures") << QString() << QStringLiteral("Pictures")
                                  << QStringLiteral("/Pictures");
        QTest::newRow("no Pictures") << QString() << QString() << QString();
        QTest::newRow("named by the desktop")
            << QStringLiteral("XDG_PICTURES_DIR=\"$HOME/Bilder\"\n") << QStringLiteral("Bilder")
            << QStringLiteral("/Bilder");
        QTest::newRow("named but missing") << QStringLiteral("XDG_PICTURES_DIR=\"$HOME/Bilder\"\n")
                                           << QStringLiteral("Pictures") << QString();
    }

    void explorerStartsInPictures()
    {
        QFETCH(QString, userDirs);
        QFETCH(QString, makeFolder);
        QFETCH(QString, expected);
        TempHome home;
        if (!makeFolder.isEmpty())
            home.makeFolder(makeFolder);
        if (!userDirs.isEmpty()) {
            home.makeFolder(".config");
            QFile dirs(home.path() + "/.config/user-dirs.dirs");
            QVERIFY(dirs.open(QIODevice::WriteOnly));
            dirs.write(userDirs.toUtf8());
        }
        TempProgramFolder folder;
        TForm1 form;
        QCOMPARE(form.findChild<QLineEdit*>("Edit1")->text(), home.path() + expected);
    }

    void textsOfTheLanguageWhenShown_data()
    {
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("banner");
        QTest::addColumn<QString>("queueTile");
        QTest::addColumn<QString>("stop");
        QTest::newRow("English") << QByteArray("0") << QStringLiteral("Kyvane")
                                 << QStringLiteral("TODAY FILES: 0") << QStringLiteral("View Queue")
                                 << QStringLiteral("Stop Backup");
        QTest::newRow("Traditional Chinese")
            << QByteArray("100") << QString::fromUtf8("凱維安") << QString::fromUtf8("今日檔案: 0")
            << QString::fromUtf8("檢視佇列") << QString::fromUtf8("停止備份");
        QTest::newRow("Simplified Chinese")
            << QByteArray("200") << QString::fromUtf8("凯维安") << QString::fromUtf8("今日档案: 0")
            << QString::fromUtf8("检视伫列") << QString::fromUtf8("停止备份");
    }

    void textsOfTheLanguageWhenShown()
    {
        QFETCH(QByteArray, code);
        QFETCH(QString, title);
        QFETCH(QString, banner);
        QFETCH(QString, queueTile);
        QFETCH(QString, stop);
        TempProgramFolder folder;
        folder.write("config.ini", "[GENERALSETTINGS]\r\nLANGUAGE=" + code + "\r\n");
        TForm1 form;
        form.show();
        QCOMPARE(form.findChild<QLabel*>("Label1")->text(), title);
        QCOMPARE(form.findChild<QLabel*>("lbTodayFileCount")->text(), banner);
        QCOMPARE(form.findChild<QLabel*>("lbViewQueue")->text(), queueTile);
        QCOMPARE(form.findChild<QPushButton*>("btnViewQueue")->text(), queueTile);
        QCOMPARE(form.findChild<QPushButton*>("btnQueue")->text(), queueTile);
        QCOMPARE(form.findChild<QPushButton*>("btnStop")->text(), stop);
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
        QCOMPARE(form.lists().servers,
                 QStringList{"nas|25714|me|d41d8cd98f00b204e9800998ecf8427e"});
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
        const auto running = StopTokens::issue();
        MessageBox::setNextAnswer(MessageBox::Answer::No);
        QVERIFY(!form.close());
        QCOMPARE(MessageBox::lastText(), QStringLiteral("Are you sure to close KYV?"));
        QVERIFY(form.isVisible());
        QVERIFY(!running->isStopped());
    }

    void closeAnsweredYesStopsWorkers()
    {
        TempProgramFolder folder;
        folder.write("config.ini", "[GENERALSETTINGS]\r\nLANGUAGE=200\r\n");
        TForm1 form;
        form.show();
        const auto running = StopTokens::issue();
        MessageBox::setNextAnswer(MessageBox::Answer::Yes);
        QVERIFY(form.close());
        QCOMPARE(MessageBox::lastText(), QString::fromUtf8("确定关闭凯维安?"));
        QVERIFY(!form.isVisible());
        QVERIFY(running->isStopped());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
