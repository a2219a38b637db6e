#include "core/ProgramFolder.h"
#include "core/SingleInstance.h"
#include "i18n/ExtraTexts.h"
#include "i18n/LanguageRes.h"
#include "i18n/SystemLanguage.h"
#include "transfer/BrokenPipe.h"
#include "transfer/TFileGenius.h"
#include "ui/MainWindow.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>

#include <cstdlib>

namespace {

// Why the program folder is not used. Its config.ini is not read, so the
// message speaks the language of the system.
QString refusalText(kyvane::ProgramFolder::Refusal refusal)
{
    using kyvane::ExtraText;
    kyvane::InitLanguageTable();
    kyvane::setCurrentLanguage(kyvane::languageOfLocale(QLocale::system()));
    const ExtraText text = refusal == kyvane::ProgramFolder::Refusal::IsLink
                               ? ExtraText::ProgramFolderIsLink
                               : ExtraText::ProgramFolderNotOwned;
    return kyvane::extraText(text).arg(kyvane::ProgramFolder::path());
}

} // namespace

int main(int argc, char* argv[])
{
    // Before any thread starts.
    kyvane::ignoreBrokenPipe();

    QApplication app(argc, argv);
    // Ties the window to its desktop entry (the taskbar's icon and name).
    QGuiApplication::setDesktopFileName(QStringLiteral(KYVANE_APP_ID));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/logo.svg")));

    // Nothing is read or written before the folder is known to be the user's.
    if (const auto refusal = kyvane::ProgramFolder::fix();
        refusal != kyvane::ProgramFolder::Refusal::None) {
        kyvane::MessageBox::inform(nullptr, refusalText(refusal));
        return EXIT_FAILURE;
    }

    // Two copies on one program folder would run the same job files: a
    // second copy brings the first to the front instead.
    kyvane::SingleInstance instance(kyvane::ProgramFolder::path());
    if (!instance.claim())
        return EXIT_SUCCESS;

    // The window brings its own look (style sheet and fonts).
    kyvane::TForm1 form;
    form.show();
    QObject::connect(&instance, &kyvane::SingleInstance::activationRequested, &form, [&form] {
        form.showNormal();
        form.raise();
        form.activateWindow();
    });
    const int code = app.exec();

    // Closing already gave the workers a moment to stop and write their job
    // logs. A worker still stuck on the network is left behind: end at once,
    // without tearing down what its thread may still use. Every file is
    // written atomically, and its job resumes at the next start.
    if (!kyvane::TFileGenius::waitForAllThreads(QDeadlineTimer(500)))
        std::quick_exit(code);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return code;
}
