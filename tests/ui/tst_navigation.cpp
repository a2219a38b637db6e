#include "TempProgramFolder.h"
#include "UiTestHelpers.h"
#include "i18n/LanguageRes.h"
#include "ui/widgets/SideMenu.h"
#include "ui/widgets/SlideTabControl.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QtTest>

#include <memory>

using namespace kyvane;

namespace {

// A shown main window on a fresh program folder.
struct Window
{
    TempProgramFolder folder;
    std::unique_ptr<TForm1> form;

    Window() : form(std::make_unique<TForm1>())
    {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

    QAbstractButton* button(const char* name) const
    {
        return control<QAbstractButton>(*form, QString::fromLatin1(name));
    }
    SideMenu* menu(const char* name) const
    {
        return control<SideMenu>(*form, QString::fromLatin1(name));
    }
    bool shows(const char* name) const
    {
        const QWidget* w = control(*form, QString::fromLatin1(name));
        return w && w->isVisibleTo(form.get());
    }
    void back() const { button("SpeedButton1")->click(); }
};

// navMarker takes the index of the screen Back leaves; this brings it to
// marker (0 is the start value).
void reachMarker(TForm1& form, int marker)
{
    if (marker != 0) {
        form.ChangeTab(marker);
        control<QAbstractButton>(form, QStringLiteral("SpeedButton1"))->click();
    }
    QCOMPARE(form.navMarkerValue(), marker);
}

void verifyMenuClosed(const SideMenu* menu, const TForm1& form)
{
    QVERIFY(!menu->isOpen());
    QVERIFY(!menu->isVisibleTo(&form));
    QVERIFY(!menu->isEnabled());
}

} // namespace

class TestNavigation : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { setCurrentLanguage(kLanguageEnglish); }

    void headerPerScreen_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("back");
        QTest::addColumn<bool>("explorerMenu");
        QTest::addColumn<bool>("queueMenu");
        QTest::addColumn<bool>("productTitle");
        QTest::addColumn<bool>("screenTitle");
        QTest::newRow("home") << 0 << false << false << false << true << false;
        QTest::newRow("settings list") << 1 << true << false << false << false << true;
        QTest::newRow("file explorer") << 2 << true << true << false << false << true;
        QTest::newRow("queue") << 3 << true << false << true << false << true;
        QTest::newRow("server editor") << 4 << true << false << false << false << true;
        QTest::newRow("general settings") << 5 << true << false << false << false << true;
        QTest::newRow("backup folders") << 6 << true << false << false << false << true;
        QTest::newRow("file extensions") << 7 << true << false << false << false << true;
        QTest::newRow("job log") << 8 << true << false << false << false << true;
        QTest::newRow("history") << 9 << true << false << false << false << true;
    }

    void headerPerScreen()
    {
        QFETCH(int, index);
        QFETCH(bool, back);
        QFETCH(bool, explorerMenu);
        QFETCH(bool, queueMenu);
        QFETCH(bool, productTitle);
        QFETCH(bool, screenTitle);
        Window w;
        // Come from a screen whose header differs in every respect.
        w.form->ChangeTab(index == 3 ? 2 : 3);
        w.form->ChangeTab(index);
        QCOMPARE(w.form->currentTabIndex(), index);
        const auto* tabs = control<SlideTabControl>(*w.form, QStringLiteral("TabControl1"));
        QVERIFY(tabs);
        QCOMPARE(tabs->currentIndex(), index);
        QCOMPARE(tabs->currentPage()->objectName(), QStringLiteral("TabItem%1").arg(index + 1));
        QCOMPARE(w.shows("SpeedButton1"), back);
        QCOMPARE(w.shows("Button2"), explorerMenu);
        QCOMPARE(w.shows("Button6"), queueMenu);
        QCOMPARE(w.shows("Label1"), productTitle);
        QCOMPARE(w.shows("Label5"), screenTitle);
        QVERIFY(!w.shows("Button1")); // the second Back button is never shown
        verifyMenuClosed(w.menu("MultiView1"), *w.form);
        verifyMenuClosed(w.menu("MultiView2"), *w.form);
    }

    void indexOutOfRangeDoesNothing_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("-1") << -1;
        QTest::newRow("10") << 10;
        QTest::newRow("137") << 137;
    }

    void indexOutOfRangeDoesNothing()
    {
        QFETCH(int, index);
        Window w;
        w.form->ChangeTab(5);
        w.form->ChangeTab(index);
        QCOMPARE(w.form->currentTabIndex(), 5);
        QCOMPARE(control<QLabel>(*w.form, "Label5")->text(), QStringLiteral("General Settings"));
        QVERIFY(w.shows("SpeedButton1"));
    }

    void headerTitles_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("title");
        const struct
        {
            int index;
            const char* english;
            const char* traditional;
            const char* simplified;
        } titles[] = {
            {1, "Settings", "設定", "设定"},
            {2, "Select Files", "選擇檔案", "选择档案"},
            {3, "View Queue", "檢視佇列", "检视伫列"},
            {5, "General Settings", "一般設定", "一般设定"},
            {6, "Which Folders to backup", "哪些目錄需要備份", "哪些目录需要备份"},
            {7, "Which File Ext to backup", "哪些副檔名需要備份", "哪些副档名需要备份"},
            {8, "Log", "記錄", "记录"},
            {9, "History", "歷史記錄", "历史记录"},
        };
        for (const auto& t : titles) {
            QTest::addRow("%d en", t.index) << 0 << t.index << QString::fromUtf8(t.english);
            QTest::addRow("%d zh-Hant", t.index)
                << 100 << t.index << QString::fromUtf8(t.traditional);
            QTest::addRow("%d zh-Hans", t.index)
                << 200 << t.index << QString::fromUtf8(t.simplified);
        }
    }

    void headerTitles()
    {
        QFETCH(int, language);
        QFETCH(int, index);
        QFETCH(QString, title);
        Window w;
        setCurrentLanguage(language);
        w.form->ChangeTab(index);
        QCOMPARE(control<QLabel>(*w.form, "Label5")->text(), title);
    }

    // The title is read from the language table when the screen is switched
    // to, not before.
    void headerTitleFollowsLanguageAtTheSwitch()
    {
        Window w;
        auto* title = control<QLabel>(*w.form, "Label5");
        w.form->ChangeTab(1);
        QCOMPARE(title->text(), QStringLiteral("Settings"));
        setCurrentLanguage(kLanguageSimplifiedChinese);
        QCOMPARE(title->text(), QStringLiteral("Settings"));
        w.form->ChangeTab(5);
        QCOMPARE(title->text(), QString::fromUtf8("一般设定"));
        w.form->ChangeTab(1);
        QCOMPARE(title->text(), QString::fromUtf8("设定"));
    }

    void serverEditorTitleIsTheSelectedSettingsRow()
    {
        Window w;
        auto* settings = control<QListWidget>(*w.form, "ListBox3");
        QVERIFY(settings);
        settings->clear(); // rows of its own in place of the server list's
        settings->addItems({QStringLiteral("General Settings"), QStringLiteral("nas.home"),
                            QStringLiteral("Add Server")});
        w.form->ChangeTab(4);
        QCOMPARE(control<QLabel>(*w.form, "Label5")->text(), QString()); // nothing selected
        settings->setCurrentRow(1);
        w.form->ChangeTab(1);
        w.form->ChangeTab(4);
        QCOMPARE(control<QLabel>(*w.form, "Label5")->text(), QStringLiteral("nas.home"));
    }

    void backTable_data()
    {
        QTest::addColumn<int>("markerBefore");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("markerAfter");
        QTest::newRow("home: nothing happens") << 5 << 0 << 0 << 5;
        QTest::newRow("settings list -> home") << 0 << 1 << 0 << 1;
        QTest::newRow("file explorer -> home") << 0 << 2 << 0 << 2;
        QTest::newRow("queue, marker 2 -> file explorer") << 2 << 3 << 2 << 2;
        QTest::newRow("queue, marker 0 -> home") << 0 << 3 << 0 << 0;
        QTest::newRow("queue, marker 5 -> home") << 5 << 3 << 0 << 5;
        QTest::newRow("queue, marker 8 -> home") << 8 << 3 << 0 << 8;
        QTest::newRow("server editor -> settings list") << 0 << 4 << 1 << 4;
        QTest::newRow("general settings -> settings list") << 0 << 5 << 1 << 5;
        QTest::newRow("backup folders -> general settings") << 0 << 6 << 5 << 6;
        QTest::newRow("file extensions -> general settings") << 0 << 7 << 5 << 7;
        QTest::newRow("job log -> queue") << 0 << 8 << 3 << 8;
        QTest::newRow("history -> queue") << 0 << 9 << 3 << 9;
    }

    void backTable()
    {
        QFETCH(int, markerBefore);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, markerAfter);
        Window w;
        reachMarker(*w.form, markerBefore);
        w.form->ChangeTab(from);
        auto* log = control<QPlainTextEdit>(*w.form, "Memo1");
        log->setPlainText(QStringLiteral("10:00:00 [nas][DONE] a.jpg Backup OK"));
        if (markerBefore == 0) // no Back yet
            QVERIFY(!w.form->listingCancelled());

        w.back();
        QCOMPARE(w.form->currentTabIndex(), to);
        QCOMPARE(w.form->navMarkerValue(), markerAfter);
        // Back stops a listing; arriving on the file explorer starts a new
        // one, which clears the flag again.
        QCOMPARE(w.form->listingCancelled(), to != 2);
        // Only leaving the job log clears it.
        QCOMPARE(log->toPlainText().isEmpty(), from == 8);
    }

    // The hidden Back button, the hardware Back key and Alt+Left all do
    // what the header's Back button does.
    void backTriggers_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::newRow("SpeedButton1") << QStringLiteral("SpeedButton1");
        QTest::newRow("Button1") << QStringLiteral("Button1");
        QTest::newRow("Back key") << QStringLiteral("Key_Back");
        QTest::newRow("Alt+Left") << QStringLiteral("Alt+Left");
    }

    void backTriggers()
    {
        QFETCH(QString, trigger);
        Window w;
        w.form->ChangeTab(7);
        if (trigger == QLatin1String("Key_Back"))
            QVERIFY(releaseKey(w.form.get(), Qt::Key_Back));
        else if (trigger == QLatin1String("Alt+Left"))
            QVERIFY(releaseKey(w.form.get(), Qt::Key_Left, Qt::AltModifier));
        else
            control<QAbstractButton>(*w.form, trigger)->click();
        QCOMPARE(w.form->currentTabIndex(), 5);
        QCOMPARE(w.form->navMarkerValue(), 7);
    }

    void queueTileRoundTrip()
    {
        Window w;
        w.form->AddToDoList(QStringLiteral("101500"), jobEntries(QStringLiteral("nas"), 2),
                            QString());
        QVERIFY(w.shows("imgRedSpot"));
        reachMarker(*w.form, 5);
        QTest::mouseClick(control(*w.form, "rectQueue"), Qt::LeftButton);
        QCOMPARE(w.form->currentTabIndex(), 3);
        QCOMPARE(w.form->navMarkerValue(), 0);
        QVERIFY(!w.shows("imgRedSpot"));
        w.back();
        QCOMPARE(w.form->currentTabIndex(), 0);
    }

    void explorerQueueRoundTrip()
    {
        Window w;
        w.form->AddToDoList(QStringLiteral("101500"), jobEntries(QStringLiteral("nas"), 2),
                            QString());
        w.form->ChangeTab(2);
        w.button("Button2")->click();
        QVERIFY(w.menu("MultiView1")->isOpen());
        w.button("btnQueue")->click();
        QCOMPARE(w.form->currentTabIndex(), 3);
        QCOMPARE(w.form->navMarkerValue(), 2);
        QVERIFY(!w.shows("imgRedSpot"));
        verifyMenuClosed(w.menu("MultiView1"), *w.form);
        w.back();
        QCOMPARE(w.form->currentTabIndex(), 2);
    }

    // Leaving the log sets navMarker to 8, so the Queue screen's Back then
    // goes home rather than to the file explorer.
    void logBackBackEndsHome()
    {
        Window w;
        w.form->ChangeTab(2);
        w.button("Button2")->click();
        w.button("btnQueue")->click();
        QCOMPARE(w.form->navMarkerValue(), 2);
        w.form->ChangeTab(8); // a row's log opened
        control<QPlainTextEdit>(*w.form, "Memo1")->setPlainText(QStringLiteral("a log line"));
        w.back();
        QCOMPARE(w.form->currentTabIndex(), 3);
        QVERIFY(control<QPlainTextEdit>(*w.form, "Memo1")->toPlainText().isEmpty());
        w.back();
        QCOMPARE(w.form->currentTabIndex(), 0);
    }

    void settingsChainEndsHome()
    {
        Window w;
        w.form->ChangeTab(6);
        const int expected[] = {5, 1, 0, 0};
        for (const int index : expected) {
            w.back();
            QCOMPARE(w.form->currentTabIndex(), index);
        }
        w.form->ChangeTab(4);
        w.back();
        QCOMPARE(w.form->currentTabIndex(), 1);
    }

    void manualTileOpensExplorerOnPictures()
    {
        Window w;
        auto* path = control<QLineEdit>(*w.form, "Edit1");
        const QString startPath = path->text();
        QVERIFY(!startPath.isEmpty());
        path->setText(QStringLiteral("/somewhere/else"));
        reachMarker(*w.form, 5);
        QTest::mouseClick(control(*w.form, "rectBackupManually"), Qt::LeftButton);
        QCOMPARE(w.form->currentTabIndex(), 2);
        QCOMPARE(w.form->navMarkerValue(), 0);
        QCOMPARE(path->text(), startPath);
    }

    void settingsTileOpensSettingsList()
    {
        Window w;
        reachMarker(*w.form, 6);
        QTest::mouseClick(control(*w.form, "rectSetup"), Qt::LeftButton);
        QCOMPARE(w.form->currentTabIndex(), 1);
        QCOMPARE(w.form->navMarkerValue(), 0);
        QCOMPARE(control<QLabel>(*w.form, "Label5")->text(), QStringLiteral("Settings"));
    }

    void menuButtonToggles_data()
    {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("menu");
        QTest::newRow("file explorer")
            << 2 << QStringLiteral("Button2") << QStringLiteral("MultiView1");
        QTest::newRow("queue") << 3 << QStringLiteral("Button6") << QStringLiteral("MultiView2");
    }

    void menuButtonToggles()
    {
        QFETCH(int, screen);
        QFETCH(QString, button);
        QFETCH(QString, menu);
        Window w;
        w.form->ChangeTab(screen);
        auto* drawer = control<SideMenu>(*w.form, menu);
        auto* toggle = control<QAbstractButton>(*w.form, button);
        QTest::mouseClick(toggle, Qt::LeftButton);
        QVERIFY(drawer->isOpen());
        QVERIFY(drawer->isVisible());
        QVERIFY(drawer->isEnabled());
        // Over the screen, the panel 182 wide at its right edge.
        QCOMPARE(drawer->geometry(), control(*w.form, "TabControl1")->geometry());
        QCOMPARE(drawer->panel()->width(), 182);
        QTRY_COMPARE(drawer->panel()->x(), drawer->width() - 182);
        QTest::mouseClick(toggle, Qt::LeftButton);
        verifyMenuClosed(drawer, *w.form);
        QCOMPARE(w.form->currentTabIndex(), screen);
    }

    void menuOpensOnlyOnItsScreen_data()
    {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("menu");
        QTest::newRow("explorer menu on queue")
            << 3 << QStringLiteral("Button2") << QStringLiteral("MultiView1");
        QTest::newRow("queue menu on explorer")
            << 2 << QStringLiteral("Button6") << QStringLiteral("MultiView2");
        QTest::newRow("explorer menu at home")
            << 0 << QStringLiteral("Button2") << QStringLiteral("MultiView1");
        QTest::newRow("queue menu on log")
            << 8 << QStringLiteral("Button6") << QStringLiteral("MultiView2");
    }

    void menuOpensOnlyOnItsScreen()
    {
        QFETCH(int, screen);
        QFETCH(QString, button);
        QFETCH(QString, menu);
        Window w;
        w.form->ChangeTab(screen);
        control<QAbstractButton>(*w.form, button)->click(); // hidden there, but pressed anyway
        verifyMenuClosed(control<SideMenu>(*w.form, menu), *w.form);
    }

    void screenSwitchClosesMenus_data()
    {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<int>("switchTo"); // -1: by Back
        const QString explorerMenu = QStringLiteral("MultiView1");
        const QString explorerButton = QStringLiteral("Button2");
        const QString queueMenu = QStringLiteral("MultiView2");
        const QString queueButton = QStringLiteral("Button6");
        QTest::newRow("explorer -> home") << 2 << explorerButton << explorerMenu << 0;
        QTest::newRow("explorer -> queue") << 2 << explorerButton << explorerMenu << 3;
        QTest::newRow("explorer -> settings") << 2 << explorerButton << explorerMenu << 1;
        QTest::newRow("explorer, Back") << 2 << explorerButton << explorerMenu << -1;
        QTest::newRow("queue -> log") << 3 << queueButton << queueMenu << 8;
        QTest::newRow("queue -> explorer") << 3 << queueButton << queueMenu << 2;
        QTest::newRow("queue -> home") << 3 << queueButton << queueMenu << 0;
        QTest::newRow("queue, Back") << 3 << queueButton << queueMenu << -1;
    }

    void screenSwitchClosesMenus()
    {
        QFETCH(int, screen);
        QFETCH(QString, button);
        QFETCH(QString, menu);
        QFETCH(int, switchTo);
        Window w;
        w.form->ChangeTab(screen);
        control<QAbstractButton>(*w.form, button)->click();
        auto* drawer = control<SideMenu>(*w.form, menu);
        QVERIFY(drawer->isOpen());
        if (switchTo < 0)
            w.back();
        else
            w.form->ChangeTab(switchTo);
        verifyMenuClosed(drawer, *w.form);
    }

    void tapOutsideClosesMenu()
    {
        Window w;
        w.form->ChangeTab(3);
        w.button("Button6")->click();
        SideMenu* drawer = w.menu("MultiView2");
        QVERIFY(drawer->isOpen());
        // A tap on the drawer's panel, below its buttons, keeps it open.
        QTest::mouseClick(drawer->panel(), Qt::LeftButton, {},
                          QPoint(90, drawer->panel()->height() - 10));
        QVERIFY(drawer->isOpen());
        // A tap on the dimmed screen beside it closes it.
        QTest::mouseClick(drawer, Qt::LeftButton, {}, QPoint(20, 100));
        verifyMenuClosed(drawer, *w.form);
        QCOMPARE(w.form->currentTabIndex(), 3);
    }

    void explorerMenuButtonStopsListing()
    {
        Window w;
        w.form->ChangeTab(2);
        QVERIFY(!w.form->listingCancelled());
        w.button("Button2")->click();
        QVERIFY(w.form->listingCancelled());
    }

    void queueMenuButtonLeavesListingAlone()
    {
        Window w;
        w.form->ChangeTab(3);
        w.button("Button6")->click();
        QVERIFY(w.menu("MultiView2")->isOpen());
        QVERIFY(!w.form->listingCancelled());
    }

    void keys_data()
    {
        QTest::addColumn<int>("screen");
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<bool>("consumed");
        QTest::addColumn<int>("screenAfter");
        const Qt::KeyboardModifiers none = Qt::NoModifier;
        const Qt::KeyboardModifiers alt = Qt::AltModifier;
        QTest::newRow("Back at home reaches the platform")
            << 0 << int(Qt::Key_Back) << none << false << 0;
        QTest::newRow("Alt+Left at home") << 0 << int(Qt::Key_Left) << alt << false << 0;
        QTest::newRow("Back on the settings list") << 1 << int(Qt::Key_Back) << none << true << 0;
        QTest::newRow("Alt+Left on backup folders") << 6 << int(Qt::Key_Left) << alt << true << 5;
        QTest::newRow("Back on the job log") << 8 << int(Qt::Key_Back) << none << true << 3;
        QTest::newRow("Back on the explorer stays") << 2 << int(Qt::Key_Back) << none << true << 2;
        QTest::newRow("Alt+Left on the explorer stays")
            << 2 << int(Qt::Key_Left) << alt << true << 2;
        QTest::newRow("Left alone") << 5 << int(Qt::Key_Left) << none << false << 5;
        QTest::newRow("Ctrl+Alt+Left")
            << 5 << int(Qt::Key_Left) << (Qt::ControlModifier | Qt::AltModifier) << false << 5;
        QTest::newRow("another key") << 8 << int(Qt::Key_A) << none << false << 8;
    }

    void keys()
    {
        QFETCH(int, screen);
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(bool, consumed);
        QFETCH(int, screenAfter);
        Window w;
        w.form->ChangeTab(screen);
        QVERIFY(!w.form->listingCancelled());
        QCOMPARE(releaseKey(w.form.get(), key, modifiers), consumed);
        QCOMPARE(w.form->currentTabIndex(), screenAfter);
        // Every key release stops a listing; the Back key on the file
        // explorer then starts the parent's listing, which clears the flag.
        QCOMPARE(w.form->listingCancelled(), !(screen == 2 && consumed));
    }

    // A key released in a control reaches the window unless the control
    // takes it.
    void keyInAControlReachesTheWindow()
    {
        Window w;
        w.form->ChangeTab(8);
        auto* log = control<QPlainTextEdit>(*w.form, "Memo1");
        QTest::keyRelease(log, Qt::Key_Back);
        QCOMPARE(w.form->currentTabIndex(), 3);
    }

    // A control that takes a key release for itself keeps it from the
    // window, yet the release still stops a listing.
    void keyTakenByAControlStillStopsAListing()
    {
        class TakesEveryKey : public QWidget
        {
        public:
            using QWidget::QWidget;

        protected:
            void keyReleaseEvent(QKeyEvent* event) override { event->accept(); }
        };
        Window w;
        auto* taker = new TakesEveryKey(control<QWidget>(*w.form, "TabItem4"));
        QVERIFY(!w.form->listingCancelled());
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QApplication::sendEvent(taker, &release);
        QVERIFY(release.isAccepted());
        QVERIFY(w.form->listingCancelled());
    }

    // Holding the key repeats its release; it still goes back one screen.
    void heldBackKeyGoesBackOnce()
    {
        Window w;
        w.form->ChangeTab(6);
        QVERIFY(releaseKey(w.form.get(), Qt::Key_Back, Qt::NoModifier, true));
        QVERIFY(releaseKey(w.form.get(), Qt::Key_Back, Qt::NoModifier, true));
        QCOMPARE(w.form->currentTabIndex(), 6);
        QVERIFY(releaseKey(w.form.get(), Qt::Key_Back));
        QCOMPARE(w.form->currentTabIndex(), 5);
    }

    // The switch takes effect at once; the slide only moves pages for the
    // eye and ends with the new page in place, also when switches follow
    // each other quickly.
    void slideEndsWithOnlyTheCurrentPageShown()
    {
        Window w;
        auto* tabs = control<SlideTabControl>(*w.form, QStringLiteral("TabControl1"));
        w.form->ChangeTab(1);
        QCOMPARE(tabs->currentIndex(), 1);
        QVERIFY(tabs->currentPage()->isVisible());
        w.form->ChangeTab(5);
        w.form->ChangeTab(3);
        QCOMPARE(w.form->currentTabIndex(), 3);
        QTRY_VERIFY(!tabs->isSliding());
        for (int i = 0; i < tabs->count(); ++i) {
            QCOMPARE(tabs->page(i)->isVisible(), i == 3);
        }
        QCOMPARE(tabs->currentPage()->geometry(), tabs->rect());
    }
};

QTEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
