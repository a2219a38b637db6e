// Takes the screenshots of the README: the home page and the Queue screen
// with three jobs (under way, finished, failed), the failed job's details,
// the settings list with two servers and the server editor on one of them,
// a message in the window's own look, the file explorer with the thumbnails
// of a folder of pictures, and the home page in both Chinese languages.
// Run it under a display
// (docs/take-screenshots.sh runs it under Xvfb):
//
//   kyvane_screenshots <output folder> [extra]
//
// With "extra" it also saves the other screens, for checking the look.

#include "core/HandOver.h"
#include "core/JobRecords.h"
#include "core/ListFile.h"
#include "core/OutcomeStore.h"
#include "core/ProgramFolder.h"
#include "i18n/ExtraTexts.h"
#include "transfer/JobObserver.h"
#include "ui/MainWindow.h"
#include "ui/MessageBox.h"
#include "ui/screens/ExplorerScreen.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLinearGradient>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
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

qint64 today(int hour, int minute)
{
    return QDateTime(QDate::currentDate(), QTime(hour, minute)).toMSecsSinceEpoch();
}

// A job as the outcome store keeps it, made at madeMs, whose entries ended
// in outcomes (with reasons); its id.
qint64 recordJob(const QString& name, const kyvane::JobKind& kind, qint64 madeMs,
                 const QStringList& entries,
                 const QList<std::pair<kyvane::Outcome, QString>>& outcomes)
{
    kyvane::JobRecords records(kyvane::OutcomeStore::shared());
    const qint64 job = records.addJob(name, kind, madeMs);
    QList<kyvane::FileOnServer> files;
    for (const QString& entry : entries)
        files.append({entry.section(QLatin1Char('|'), 4),
                      {entry.section(QLatin1Char('|'), 0, 0), 25714, QStringLiteral("anna")}});
    records.startRun(name, files, madeMs);
    for (int i = 0; i < outcomes.size(); ++i) {
        kyvane::FileOutcome outcome;
        outcome.file = files.at(i);
        outcome.outcome = outcomes.at(i).first;
        outcome.reason = outcomes.at(i).second;
        outcome.atMs = madeMs + 60000 * (i + 1);
        records.record(job, i, outcome);
    }
    return job;
}

// A folder of photos for the explorer: skies, fields and sunsets in a few
// colours, as a camera names them; its path.
QString makePictures(const QString& folder)
{
    QDir().mkpath(folder);
    const std::pair<QColor, QColor> scenes[] = {
        {QColor(0x3a7bd5), QColor(0xd4e9ff)}, {QColor(0x2e7d32), QColor(0xc5e1a5)},
        {QColor(0xef6c00), QColor(0xffe082)}, {QColor(0x6a1b9a), QColor(0xf48fb1)},
        {QColor(0x00838f), QColor(0x80deea)}, {QColor(0x5d4037), QColor(0xffccbc)},
    };
    int number = 1201;
    for (const auto& [top, bottom] : scenes) {
        QImage photo(QSize(640, 480), QImage::Format_RGB32);
        QPainter painter(&photo);
        QLinearGradient sky(0, 0, 0, 480);
        sky.setColorAt(0, top);
        sky.setColorAt(1, bottom);
        painter.fillRect(photo.rect(), sky);
        painter.setBrush(bottom.darker(160));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPoint(460, 330), 260, 120);
        painter.end();
        photo.save(folder + QStringLiteral("/IMG_%1.JPG").arg(number++), "JPEG", 85);
    }
    return folder;
}

// How a run of these outcomes ended, as its worker tells the window.
kyvane::OutcomeCounts countsOf(std::initializer_list<kyvane::Outcome> outcomes)
{
    kyvane::OutcomeCounts counts;
    for (const kyvane::Outcome outcome : outcomes)
        counts.add(outcome);
    return counts;
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

    // A program folder of its own, so nothing of a real installation shows,
    // and a thumbnail cache of its own.
    QTemporaryDir programFolder;
    QTemporaryDir cache;
    if (!programFolder.isValid() || !cache.isValid())
        return 1;
    kyvane::ProgramFolder::setForTesting(programFolder.path());
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
    const QString pictures = makePictures(programFolder.path() + QStringLiteral("/Pictures"));
    // Two servers for the settings list.
    kyvane::ListFile::write(
        kyvane::ProgramFolder::file(QStringLiteral("server.cfg")),
        {QStringLiteral("nas.home|25714|anna|0cc175b9c0f1b6a831c399e269772661"),
         QStringLiteral("192.168.1.20|25714|anna|0cc175b9c0f1b6a831c399e269772661")});

    kyvane::TForm1 form;
    form.show();
    settle(300);

    // Three jobs report through the observer, as backup workers do; the
    // outcome store holds how they were made and how their files fared.
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
    const QStringList failing = jobEntries(
        QStringLiteral("nas.home"),
        {"/home/anna/Pictures/2024/IMG_0301.JPG", "/home/anna/Pictures/2024/IMG_0302.JPG",
         "/home/anna/Pictures/2024/IMG_0303.JPG", "/home/anna/Pictures/2024/IMG_0304.JPG",
         "/home/anna/Pictures/2024/VID_0305.MP4", "/home/anna/Pictures/2024/IMG_0306.JPG"});
    using kyvane::Outcome;
    using Kind = kyvane::JobKind;
    recordJob(QStringLiteral("091532"), Kind::of(Kind::Type::Today), today(9, 15), morning,
              {{Outcome::Sent, {}}, {Outcome::Held, {}}, {Outcome::Sent, {}}});
    const qint64 finished =
        recordJob(QStringLiteral("183005"), Kind::of(Kind::Type::Manual), today(18, 30), evening,
                  {{Outcome::Sent, {}}, {Outcome::Sent, {}}, {Outcome::Sent, {}}});
    recordJob(QStringLiteral("120410"), Kind::range(QStringLiteral("2024/03/01"),
                                                    QStringLiteral("2024/03/15")),
              today(12, 4), failing,
              {{Outcome::Sent, {}},
               {Outcome::Held, {}},
               {Outcome::Sent, {}},
               {Outcome::NotFound, QStringLiteral("file not found")},
               {Outcome::Failed, QStringLiteral("Backup Failed (Connection reset by peer)")},
               {Outcome::Failed, QStringLiteral("Backup Failed (Connection reset by peer)")}});
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
        kyvane::JobRecords(kyvane::OutcomeStore::shared())
            .finish(finished, today(18, 34), QString());
        observer.JobEnded(QStringLiteral("183005"),
                          countsOf({Outcome::Sent, Outcome::Sent, Outcome::Sent}));
        observer.AddToDoList(QStringLiteral("120410"), failing, QString());
        observer.SetToDoListProgressbar(QStringLiteral("120410"), 0, 4, 6,
                                        QStringLiteral("VID_0305.MP4"), QStringLiteral("nas.home"));
        observer.JobEnded(QStringLiteral("120410"),
                          countsOf({Outcome::Sent, Outcome::Held, Outcome::Sent, Outcome::NotFound,
                                    Outcome::Failed, Outcome::Failed}));
        observer.ShowStatusLine(QStringLiteral("[nas.home][DONE] IMG_0414.JPG Backup OK"));
    });

    bool ok = save(form, out.filePath(QStringLiteral("home.png")));
    form.ChangeTab(kyvane::TForm1::Queue);
    ok = save(form, out.filePath(QStringLiteral("queue.png"))) && ok;

    // The failed job's details, as a tap on its row opens them; its job file
    // is still there, so Retry is offered.
    kyvane::ListFile::write(kyvane::ProgramFolder::file(QStringLiteral("120410.kyv")), failing);
    form.openJobDetails(QStringLiteral("120410"), 0);
    ok = save(form, out.filePath(QStringLiteral("job-details.png"))) && ok;

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

    // A message in the window's own look, taken while it waits for OK.
    QTimer::singleShot(0, &form, [&] {
        ok = save(form, out.filePath(QStringLiteral("message.png"))) && ok;
        if (auto* okButton = form.findChild<QPushButton*>(QStringLiteral("btnMessageOk")))
            okButton->click();
    });
    form.ChangeTab(kyvane::TForm1::BackupFolders);
    kyvane::MessageBox::inform(
        &form, kyvane::extraText(kyvane::ExtraText::FolderAlreadyListed).arg(pictures));

    // The file explorer on a folder of pictures, their thumbnails made.
    form.openFileExplorer(pictures);
    if (auto* explorer = form.findChild<kyvane::ExplorerScreen*>()) {
        QElapsedTimer waited;
        waited.start();
        while ((explorer->isListing() || explorer->isMakingThumbnails()) &&
               waited.elapsed() < 20000)
            settle(50);
    }
    ok = save(form, out.filePath(QStringLiteral("explorer.png"))) && ok;

    // The home page in both Chinese languages.
    for (const auto& [language, tag] : {std::pair{QStringLiteral("100"), QStringLiteral("zh-Hant")},
                                        std::pair{QStringLiteral("200"), QStringLiteral("zh-Hans")}}) {
        form.ChooseLanguageCallBack(language);
        form.ChangeTab(kyvane::TForm1::Home);
        ok = save(form, out.filePath(QStringLiteral("home-%1.png").arg(tag))) && ok;
    }
    form.ChooseLanguageCallBack(QStringLiteral("0"));

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
        // The queue, the details and the history in both Chinese languages.
        for (const auto& [language, tag] :
             {std::pair{QStringLiteral("100"), QStringLiteral("zh-Hant")},
              std::pair{QStringLiteral("200"), QStringLiteral("zh-Hans")}}) {
            form.ChooseLanguageCallBack(language);
            form.ChangeTab(kyvane::TForm1::Queue);
            ok = save(form, out.filePath(QStringLiteral("queue-%1.png").arg(tag))) && ok;
            form.openJobDetails(QStringLiteral("120410"), 0);
            ok = save(form, out.filePath(QStringLiteral("job-details-%1.png").arg(tag))) && ok;
            form.ChangeTab(kyvane::TForm1::History);
            ok = save(form, out.filePath(QStringLiteral("history-%1.png").arg(tag))) && ok;
        }
    }
    return ok ? 0 : 1;
}
