#include "transfer/TFileGenius.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QIcon>

#include <cstdlib>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Ties the window to its desktop entry (the taskbar's icon and name).
    QGuiApplication::setDesktopFileName(QStringLiteral(KYVANE_APP_ID));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/logo.svg")));

    // The window brings its own look (style sheet and fonts).
    kyvane::TForm1 form;
    form.show();
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
