// The home page: the banner's count, the scan tiles with their checks and
// tile states, the date-range tile, and the jobs they start.
#include "TempProgramFolder.h"
#include "UiTestHelpers.h"
#include "core/ListFile.h"
#include "core/StopToken.h"
#include "i18n/ExtraTexts.h"
#include "i18n/LanguageRes.h"
#include "transfer/JobName.h"
#include "transfer/RunningJobs.h"
#include "ui/FolderDialog.h"
#include "ui/MessageBox.h"
#include "ui/dialogs/TfrmDatePicker.h"
#include "ui/screens/HomeScreen.h"
#include "ui/widgets/ClickableFrame.h"
#include "ui/widgets/QueueList.h"

#include <QAbstractButton>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <condition_variable>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>

using namespace kyvane;
using namespace std::chrono_literals;

namespace {

constexpr int kLongWaitMs = 60000;
// Nothing listens on port 1: a worker started on it fails at once and its
// job stays pending.
const QString kServer = QStringLiteral("127.0.0.1|1|anna|0cc175b9c0f1b6a831c399e269772661");

bool noWorkerRunning()
{
    return RunningJobs::names().isEmpty();
}

// A clock that holds every reader until it is opened (or a while has
// passed), so a test can see on which thread the folders are read.
class GatedClock
{
public:
    explicit GatedClock(std::chrono::system_clock::time_point now) : m_now(now) {}

    std::chrono::system_clock::time_point read()
    {
        std::unique_lock lock(m_mutex);
        ++m_waiting;
        m_opened.wait_for(lock, 10s, [this] { return m_open; });
        --m_waiting;
        return m_now;
    }
    void open()
    {
        const std::lock_guard lock(m_mutex);
        m_open = true;
        m_opened.notify_all();
    }
    int waiting()
    {
        const std::lock_guard lock(m_mutex);
        return m_waiting;
    }

private:
    const std::chrono::system_clock::time_point m_now;
    std::mutex m_mutex;
    std::condition_variable m_opened;
    bool m_open = false;
    int m_waiting = 0;
};

ScanClock readerOf(const std::shared_ptr<GatedClock>& gate)
{
    return [gate] { return gate->read(); };
}

void setModified(const QString& path, std::chrono::system_clock::time_point when)
{
    const auto seconds = std::chrono::system_clock::to_time_t(when);
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    QVERIFY(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0);
}

} // namespace

class TestHome : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> m_folder;
    std::chrono::system_clock::time_point m_now;

    QString media(const QString& name, std::chrono::system_clock::time_point modified)
    {
        m_folder->makeFolder("media");
        m_folder->write("media/" + name, "x");
        setModified(m_folder->file("media/" + name), modified);
        return m_folder->file("media/" + name);
    }

    void setUpLists(const QStringList& servers, const QStringList& folders)
    {
        if (!servers.isEmpty())
            QCOMPARE(ListFile::write(m_folder->file("server.cfg"), servers), QString());
        if (!folders.isEmpty())
            QCOMPARE(ListFile::write(m_folder->file("folder.cfg"), folders), QString());
    }

    std::unique_ptr<TForm1> newForm()
    {
        auto form = std::make_unique<TForm1>(nullptr, [this] { return m_now; });
        form->show();
        return form;
    }

    static void tap(QWidget* widget)
    {
        QVERIFY(widget && widget->isEnabled());
        QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
    }

    QString jobName() const { return MakeJobName(m_now); }

    QStringList jobFile(const QString& name) const
    {
        const auto entries = ListFile::read(m_folder->file(name + ".kyv"));
        return entries ? *entries : QStringList{QStringLiteral("no job file")};
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TempProgramFolder>();
        m_now = std::chrono::system_clock::now();
        setCurrentLanguage(kLanguageEnglish);
    }

    void cleanup()
    {
        StopTokens::stopAll();
        QTRY_VERIFY_WITH_TIMEOUT(noWorkerRunning(), kLongWaitMs);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setCurrentLanguage(kLanguageEnglish);
    }

    // Without a server every scan tile asks for one first, even without a
    // folder too; with servers but no folder it asks for a folder.
    void scanTilesCheckTheLists_data()
    {
        QTest::addColumn<QString>("tile");
        QTest::addColumn<bool>("server");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("key");
        for (const char* tile : {"rectBackupToday", "rectBackup5days", "rectBackupByDate"}) {
            QTest::addRow("%s, nothing", tile) << tile << false << false << kLanguageEnglish << 42;
            QTest::addRow("%s, folder only", tile)
                << tile << false << true << kLanguageEnglish << 42;
            QTest::addRow("%s, server only", tile)
                << tile << true << false << kLanguageEnglish << 43;
        }
        QTest::newRow("in Traditional Chinese")
            << "rectBackupToday" << true << false << kLanguageTraditionalChinese << 43;
    }

    void scanTilesCheckTheLists()
    {
        QFETCH(QString, tile);
        QFETCH(bool, server);
        QFETCH(bool, folder);
        QFETCH(int, language);
        QFETCH(int, key);
        setUpLists(server ? QStringList{kServer} : QStringList{},
                   folder ? QStringList{m_folder->file("media")} : QStringList{});
        m_folder->write("config.ini",
                        "[GENERALSETTINGS]\r\nLANGUAGE=" + QByteArray::number(language) + "\r\n");
        auto form = newForm();
        MessageBox::setNextAnswer(MessageBox::Answer::Ok);
        const int shown = MessageBox::shownCount();
        tap(control(*form, tile));
        QCOMPARE(MessageBox::shownCount(), shown + 1);
        QCOMPARE(MessageBox::lastText(), langText(key));
        QVERIFY(control(*form, tile)->isEnabled());
        QCoreApplication::processEvents();
        QVERIFY(JobFilesInFolder().isEmpty());
        QVERIFY(!control<TfrmDatePicker>(*form, {})->isVisible());
    }

    // The manual tile checks nothing: it opens the explorer on the pictures
    // folder.
    void manualTileOpensTheExplorer()
    {
        auto form = newForm();
        const int shown = MessageBox::shownCount();
        control<QLineEdit>(*form, "Edit1")->setText("/somewhere/else");
        tap(control(*form, "rectBackupManually"));
        QCOMPARE(MessageBox::shownCount(), shown);
        QCOMPARE(form->currentTabIndex(), int(TForm1::FileExplorer));
        QCOMPARE(form->navMarkerValue(), 0);
        QVERIFY(control<QLineEdit>(*form, "Edit1")->text() != "/somewhere/else");
    }

    // The tile that started a scan stays disabled until the scan has ended;
    // its job lists the matching files for every server.
    void scanTileStartsAJob_data()
    {
        QTest::addColumn<QString>("tile");
        QTest::addColumn<QStringList>("taken");
        QTest::newRow("today") << "rectBackupToday" << QStringList{"new.jpg"};
        QTest::newRow("five days") << "rectBackup5days" << QStringList{"new.jpg", "older.mp4"};
    }

    void scanTileStartsAJob()
    {
        QFETCH(QString, tile);
        QFETCH(QStringList, taken);
        const QString other = QStringLiteral("127.0.0.1|1|ben|digest");
        setUpLists({kServer, other}, {m_folder->file("media")});
        media("new.jpg", m_now - 1s);
        media("older.mp4", m_now - 72h);
        media("oldest.png", m_now - 121h);
        media("notes.txt", m_now);
        auto form = newForm();
        control<QLabel>(*form, "Label4")->setText("an old log line");

        tap(control(*form, tile));
        // Until the scan has run, no scan tile starts another.
        for (const char* scanTile : {"rectBackupToday", "rectBackup5days", "rectBackupByDate"})
            QVERIFY(!control(*form, scanTile)->isEnabled());
        QTRY_VERIFY(control(*form, tile)->isEnabled());

        QStringList expected;
        for (const QString& server : {kServer, other})
            for (const QString& name : taken)
                expected << server + "|" + m_folder->file("media/" + name);
        QStringList entries = jobFile(jobName());
        QCOMPARE(entries.size(), expected.size());
        QCOMPARE(entries.mid(0, taken.size()).join(' ').count(kServer), taken.size());
        entries.sort();
        expected.sort();
        QCOMPARE(entries, expected);
        QCOMPARE(control<QLabel>(*form, "Label4")->text().contains("old log line"), false);
        // The worker started: its row, and the red spot on the queue tile.
        QTRY_VERIFY_WITH_TIMEOUT(control<QueueList>(*form, "ListBox2")->findRow("LI_" + jobName()),
                                 kLongWaitMs);
        QVERIFY(control(*form, "imgRedSpot")->isVisibleTo(form.get()));
    }

    // A scan that finds nothing writes no job and leaves the status line
    // empty.
    void nothingFoundStartsNothing()
    {
        setUpLists({kServer}, {m_folder->file("media")});
        media("old.jpg", m_now - 48h);
        auto form = newForm();
        control<QLabel>(*form, "Label4")->setText("an old log line");
        tap(control(*form, "rectBackupToday"));
        QTRY_VERIFY(control(*form, "rectBackupToday")->isEnabled());
        QVERIFY(JobFilesInFolder().isEmpty());
        QCOMPARE(control<QLabel>(*form, "Label4")->text(), QString());
        QCOMPARE(control<QueueList>(*form, "ListBox2")->count(), 0);
    }

    // An unplugged card among the folders: the others still make the job,
    // and a note under the tiles names the folder passed over, in the
    // current language, without a message that would hold up the next tap.
    void missingFolderIsPassedOverAndNamed()
    {
        const QString card = m_folder->file("card");
        setUpLists({kServer}, {card, m_folder->file("media")});
        const QString photo = media("a.jpg", m_now);
        auto form = newForm();
        auto* note = control<QLabel>(*form, "lblPassedOver");
        // The count of start-up already found the card missing.
        QTRY_VERIFY(note->isVisibleTo(form.get()));
        setCurrentLanguage(kLanguageSimplifiedChinese);
        form->ApplyLanguage();
        const int shown = MessageBox::shownCount();
        tap(control(*form, "rectBackupToday"));
        QTRY_VERIFY(control(*form, "rectBackupToday")->isEnabled());
        QCOMPARE(jobFile(jobName()), QStringList{kServer + "|" + photo});
        const QString expected = extraText(ExtraText::FoldersPassedOver).arg(card);
        QVERIFY(expected.startsWith(QStringLiteral("找不到备份目录")));
        QCOMPARE(note->text(), expected);
        QVERIFY(note->isVisibleTo(form.get()));
        QCOMPARE(MessageBox::shownCount(), shown);
        // The note fits the window and the next tap is answered at once.
        QVERIFY(note->geometry().right() < form->width());
        tap(control(*form, "rectSetup"));
        QCOMPARE(form->currentTabIndex(), int(TForm1::SettingsList));

        // Back in English, the card plugged in: the next scan clears it.
        setCurrentLanguage(kLanguageEnglish);
        form->ApplyLanguage();
        QCOMPARE(note->text(), extraText(ExtraText::FoldersPassedOver).arg(card));
        m_folder->makeFolder("card");
        form->ChangeTab(TForm1::Home);
        tap(control(*form, "rectBackupToday"));
        QTRY_VERIFY(control(*form, "rectBackupToday")->isEnabled());
        QVERIFY(!note->isVisibleTo(form.get()));
    }

    // The folders are read off the window's thread: while a scan is held
    // up (a stale network mount) the window answers, and a second tap
    // starts no second scan.
    void scanRunsOffTheWindowThread()
    {
        setUpLists({kServer}, {m_folder->file("media")});
        const QString photo = media("a.jpg", m_now);
        auto form = newForm();
        QTRY_VERIFY(!form->findChild<HomeScreen*>()->isCounting());
        const auto gate = std::make_shared<GatedClock>(m_now);
        form->setClockForTesting(readerOf(gate));

        tap(control(*form, "rectBackupToday"));
        QTRY_COMPARE(gate->waiting(), 1);
        QVERIFY(!control(*form, "rectBackup5days")->isEnabled());
        tap(control(*form, "rectSetup"));
        QCOMPARE(form->currentTabIndex(), int(TForm1::SettingsList));
        QCOMPARE(gate->waiting(), 1);

        gate->open();
        QTRY_VERIFY(control(*form, "rectBackupToday")->isEnabled());
        QCOMPARE(JobFilesInFolder().size(), 1);
        QCOMPARE(jobFile(jobName()), QStringList{kServer + "|" + photo});
    }

    // The count of start-up runs off the window's thread: the window is
    // made and shown while it is still held up, and shows it once done.
    void windowShowsBeforeTheCount()
    {
        setUpLists({}, {m_folder->file("media")});
        media("a.jpg", m_now);
        const auto gate = std::make_shared<GatedClock>(m_now);
        TForm1 form(nullptr, readerOf(gate));
        form.show();
        QCOMPARE(gate->waiting(), 1);
        auto* banner = control<QLabel>(form, "lbTodayFileCount");
        QCOMPARE(banner->text(), QStringLiteral("TODAY FILES: 0"));
        gate->open();
        QTRY_COMPARE(banner->text(), QStringLiteral("TODAY FILES: 1"));
    }

    // Two jobs built in the same second keep both job files.
    void sameSecondGivesTwoJobs()
    {
        setUpLists({kServer}, {m_folder->file("media")});
        media("a.jpg", m_now);
        auto form = newForm();
        tap(control(*form, "rectBackupToday"));
        QTRY_VERIFY(control(*form, "rectBackupToday")->isEnabled());
        tap(control(*form, "rectBackupToday"));
        QTRY_VERIFY(control(*form, "rectBackupToday")->isEnabled());
        QCOMPARE(JobFilesInFolder().size(), 2);
        QCOMPARE(jobFile(jobName()), jobFile(MakeJobName(m_now + 1s)));
    }

    // The date tile opens the date-range dialog; OK with today twice backs
    // up today's files, Cancel starts nothing.
    void dateTileBacksUpTheChosenDays()
    {
        setUpLists({kServer}, {m_folder->file("media")});
        const QString today = media("today.jpg", std::chrono::system_clock::now());
        media("old.jpg", std::chrono::system_clock::now() - 72h);
        auto form = newForm();
        auto* dialog = control<TfrmDatePicker>(*form, {});

        tap(control(*form, "rectBackupByDate"));
        QVERIFY(dialog->isVisible());
        QVERIFY(control(*form, "rectBackupByDate")->isEnabled());
        dialog->findChild<QPushButton*>("Button2")->click(); // Cancel
        QVERIFY(!dialog->isVisible());
        QCoreApplication::processEvents();
        QVERIFY(JobFilesInFolder().isEmpty());

        tap(control(*form, "rectBackupByDate"));
        QCOMPARE(dialog->findChild<QDateEdit*>("DateEdit1")->date(), QDate::currentDate());
        dialog->findChild<QPushButton*>("Button1")->click(); // OK
        QVERIFY(!dialog->isVisible());
        QTRY_COMPARE(JobFilesInFolder().size(), 1);
        QCOMPARE(jobFile(jobName()), QStringList{kServer + "|" + today});
    }

    // The banner keeps the count of start-up until it is tapped.
    void bannerRecountsOnATap()
    {
        setUpLists({}, {m_folder->file("media")});
        media("a.jpg", std::chrono::system_clock::now());
        media("b.png", std::chrono::system_clock::now());
        auto form = newForm();
        auto* banner = control<QLabel>(*form, "lbTodayFileCount");
        QTRY_COMPARE(banner->text(), QStringLiteral("TODAY FILES: 2"));
        media("c.mov", std::chrono::system_clock::now());
        QTest::qWait(50);
        QCOMPARE(banner->text(), QStringLiteral("TODAY FILES: 2"));
        tap(control(*form, "Rectangle3"));
        QTRY_COMPARE(banner->text(), QStringLiteral("TODAY FILES: 3"));
        setCurrentLanguage(kLanguageTraditionalChinese);
        form->ApplyLanguage();
        QCOMPARE(banner->text(), QStringLiteral("今日檔案: 3"));
    }

    // Files arrive while the user is elsewhere: the home page counts anew
    // when it is shown again, and so does a change of the folder list.
    void bannerRecountsWhenShownAndWhenTheFoldersChange()
    {
        setUpLists({}, {m_folder->file("media")});
        media("a.jpg", m_now);
        auto form = newForm();
        auto* banner = control<QLabel>(*form, "lbTodayFileCount");
        QTRY_COMPARE(banner->text(), QStringLiteral("TODAY FILES: 1"));
        tap(control(*form, "rectSetup"));
        media("b.jpg", m_now);
        form->ChangeTab(TForm1::Home);
        QTRY_COMPARE(banner->text(), QStringLiteral("TODAY FILES: 2"));

        m_folder->makeFolder("more");
        m_folder->write("more/c.png", "x");
        setModified(m_folder->file("more/c.png"), m_now);
        form->ChangeTab(TForm1::BackupFolders);
        form->PrepareFolderList();
        FolderDialog::setNextAnswer(m_folder->file("more"));
        control<QAbstractButton>(*form, "btnAddFolder")->click();
        QTRY_COMPARE(banner->text(), QStringLiteral("TODAY FILES: 3"));
    }

private:
    QStringList JobFilesInFolder() const
    {
        return QDir(m_folder->path()).entryList({"*.kyv"}, QDir::Files);
    }
};

QTEST_MAIN(TestHome)
#include "tst_home.moc"
