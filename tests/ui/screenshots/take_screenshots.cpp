// Takes the screenshots of the README: the home page and the Queue screen
// with two jobs under way, the settings list with two servers and the
// server editor on one of them. Run it under a display
// (docs/take-screenshots.sh runs it under Xvfb):
//
//   kyvane_screenshots <output folder> [extra]
//
// With "extra" it also saves the other screens, for checking the look.

#include "core/HandOver.h"
#include "core/ListFile.h"
#include "core/ProgramFolder.h"
#include "transfer/JobObserver.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTextStream>
#include <QWidget>

#include <cstdio>

namespace {

// Lets the window settle (layouts, the slide of a screen) before a picture.
void settle(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool save(QWidget& window, const QString& file)
{
    settle(500);
    if (!window.grab().save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("saved %s\n", qPrintable(file));
    return true;
}

QStringList jobEntries(const QString& server, const QStringList& files)
{
    QStringList entries;
    for (const QString& file : files)
        entries << server + QStringLiteral("|25714|anna|0cc175b9c0f1b6a831c399e269772661|") + file;
    return entries;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: kyvane_screenshots <output folder> [extra]\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const bool extra = argc > 2;

    // A program folder of its own, so nothing of a real installation shows.
    QTemporaryDir programFolder;
    if (!programFolder.isValid())
        return 1;
    kyvane::ProgramFolder::setForTesting(programFolder.path());
    // Two servers for the settings list.
    kyvane::ListFile::write(
        kyvane::ProgramFolder::file(QStringLiteral("server.cfg")),
        {QStringLiteral("nas.home|25714|anna|0cc175b9c0f1b6a831c399e269772661"),
         QStringLiteral("192.168.1.20|25714|anna|0cc175b9c0f1b6a831c399e269772661")});

    kyvane::TForm1 form;
    form.show();
    settle(300);

    // Two jobs report through the observer, as backup workers do.
    kyvane::JobObserver& observer = form;
    const QStringList morning =
        jobEntries(QStringLiteral("nas.home"),
                   {"/home/anna/Pictures/IMG_0412.JPG", "/home/anna/Pictures/IMG_0413.JPG",
                    "/home/anna/Pictures/IMG_0414.JPG", "/home/anna/Pictures/VID_0415.MP4",
                    "/home/anna/Pictures/IMG_0416.JPG"});
    const QStringList evening =
        jobEntries(QStringLiteral("192.168.1.20"), {"/home/anna/Pictures/trip/DSC_2201.JPG",
                                                    "/home/anna/Pictures/trip/DSC_2202.JPG",
                                                    "/home/anna/Pictures/trip/DSC_2203.JPG"});
    kyvane::handOver(observer.context(), [&] {
        observer.AddToDoList(QStringLiteral("091532"), morning, QString());
        observer.SetToDoListProgressbar(QStringLiteral("091532"), 0, 0, 5,
                                        QStringLiteral("IMG_0412.JPG"), QStringLiteral("nas.home"));
        observer.SetToDoListProgressbar(QStringLiteral("091532"), 100, 3, 5,
                                        QStringLiteral("VID_0415.MP4"), QStringLiteral("nas.home"));
        observer.SetToDoListProgressbar(QStringLiteral("091532"), 62, 3, 5,
                                        QStringLiteral("VID_0415.MP4"), QStringLiteral("nas.home"));
        observer.AddToDoList(QStringLiteral("183005"), evening, QString());
        observer.SetToDoListProgressbar(QStringLiteral("183005"), 100, 3, 3,
                                        QStringLiteral("DSC_2203.JPG"),
                                        QStringLiteral("192.168.1.20"));
        observer.ShowStatusLine(QStringLiteral("[nas.home][DONE] IMG_0414.JPG Backup OK"));
    });

    bool ok = save(form, out.filePath(QStringLiteral("home.png")));
    form.ChangeTab(kyvane::TForm1::Queue);
    ok = save(form, out.filePath(QStringLiteral("queue.png"))) && ok;

    // The settings list as the Settings tile opens it, then the server
    // editor as a tap on the first server's row opens it.
    form.ChangeTab(kyvane::TForm1::Home);
    if (auto* setup = form.findChild<QWidget*>(QStringLiteral("rectSetup"))) {
        QMetaObject::invokeMethod(setup, "clicked");
        ok = save(form, out.filePath(QStringLiteral("settings.png"))) && ok;
    }
    if (auto* rows = form.findChild<QListWidget*>(QStringLiteral("ListBox3"));
        rows && rows->count() > 1) {
        emit rows->itemClicked(rows->item(1));
        ok = save(form, out.filePath(QStringLiteral("server-editor.png"))) && ok;
    }

    if (extra) {
        for (int index = 1; index < kyvane::TForm1::ScreenCount; ++index) {
            form.ChangeTab(index);
            ok = save(form, out.filePath(QStringLiteral("screen-%1.png").arg(index))) && ok;
        }
        form.ChangeTab(kyvane::TForm1::Queue);
        settle(300);
        if (auto* menuButton = form.findChild<QWidget*>(QStringLiteral("Button6")))
            QMetaObject::invokeMethod(menuButton, "click");
        ok = save(form, out.filePath(QStringLiteral("queue-menu.png"))) && ok;
    }
    return ok ? 0 : 1;
}
