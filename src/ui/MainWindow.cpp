#include "ui/MainWindow.h"

#include "core/ConfigIni.h"
#include "core/ProgramFolder.h"
#include "core/SharedState.h"
#include "core/Version.h"
#include "i18n/LanguageRes.h"
#include "ui/MessageBox.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

namespace kyvane {

namespace {
constexpr int kClientWidth = 358;
constexpr int kClientHeight = 570;
} // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form1"));
    FormCreate();
}

TForm1::~TForm1() = default;

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

    setCurrentLanguage(languageCodeFromText(
        ReadIni(QStringLiteral("GENERALSETTINGS"), QStringLiteral("LANGUAGE"),
                QStringLiteral("0"))));

    m_lists.load();
}

bool TForm1::FormCloseQuery() { return MessageBox::askYesNo(this, langText(34)); }

void TForm1::FormClose()
{
    stopRequested = true;
    m_lists.servers.clear();
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

} // namespace kyvane
