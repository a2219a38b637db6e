#include "ui/MainWindow.h"

#include "core/ConfigIni.h"
#include "core/ProgramFolder.h"
#include "core/SharedState.h"
#include "core/Version.h"
#include "i18n/LanguageRes.h"
#include "transfer/JobFiles.h"
#include "transfer/ObserverChannel.h"
#include "transfer/RunningJobs.h"
#include "ui/MessageBox.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QShowEvent>

namespace kyvane {

namespace {
constexpr int kClientWidth = 358;
constexpr int kClientHeight = 570;
} // namespace

TForm1::TForm1(QWidget* parent)
    : QWidget(parent), m_channel(std::make_shared<ObserverChannel>(this))
{
    setObjectName(QStringLiteral("Form1"));
    // Sees the key releases of every control (Navigation.cpp).
    QCoreApplication::instance()->installEventFilter(this);
    buildFrame();
    FormCreate();
}

TForm1::~TForm1()
{
    // Workers that still run must not reach a window that is going.
    m_channel->close();
}

// The start-up of the program, in its fixed order. No step may stop the ones
// after it: every file read here falls back to a default when it is bad.
void TForm1::FormCreate()
{
    InitLanguageTable();

    setWindowTitle(windowCaption());
    setFixedSize(kClientWidth, kClientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    // queueLock is a process-wide mutex that exists from the start.

    ProgramFolder::fix();

    // The fourth row of the home page's grid shows as empty space.
    ListBoxItem7->setVisible(true);
    ListBoxItem8->setVisible(true);

    setCurrentLanguage(languageCodeFromText(ReadIni(
        QStringLiteral("GENERALSETTINGS"), QStringLiteral("LANGUAGE"), QStringLiteral("0"))));

    Edit1->setText(sharedPicturesFolder());

    m_lists.load();

    hookKeyboardNotifications();
    navMarker = 0;
    ChangeTab(Home);

    // Workers of the jobs left unfinished; their rows appear once the event
    // loop runs. A job file that cannot be read is passed over.
    startJobFiles(false);
    JobFiles::removeStaleJobLogs();

    // Next: count today's media files for the home page's banner.
}

void TForm1::FormShow()
{
    ApplyLanguage();
    showTodayFileCount();
}

bool TForm1::FormCloseQuery()
{
    return MessageBox::askYesNo(this, langText(34));
}

void TForm1::FormClose()
{
    stopRequested = true;
    m_lists.servers.clear();
    // From here no worker waits for this window, so waiting for them cannot
    // deadlock. Each finishes its chunk and writes its job log; one stuck on
    // the network is left behind after a short while, and its job resumes at
    // the next start.
    m_channel->close();
    RunningJobs::waitForNone(QDeadlineTimer(kCloseWaitMs));
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TForm1::showEvent(QShowEvent* event)
{
    // The window system's own show events come after the window is up and
    // would apply the texts a second time.
    if (!event->spontaneous())
        FormShow();
    QWidget::showEvent(event);
}

QObject* TForm1::context()
{
    return this;
}

void TForm1::ShowStatusLine(const QString& line)
{
    Label4->setText(line);
}

} // namespace kyvane
