// The folder scans that turn backup folders into job entries, today's count
// and the job names, on folders made in the test with a clock set by it.
#include "ScanFixture.h"
#include "TempProgramFolder.h"
#include "selection/JobBuilder.h"
#include "transfer/JobName.h"
#include "transfer/RunningJobs.h"

#include <QtTest>

using namespace kyvane;
using namespace std::chrono_literals;
using Kind = ScanRequest::Kind;
using TimePoint = ScanFixture::TimePoint;

Q_DECLARE_METATYPE(ScanRequest::Kind)
Q_DECLARE_METATYPE(TimePoint)

namespace {

const QString kServer = QStringLiteral("nas|25714|anna|0cc175b9c0f1b6a831c399e269772661");

JobBuilder builderAt(TimePoint now)
{
    return JobBuilder([now] { return now; });
}

AppLists listsOf(const QStringList& servers, const QStringList& folders,
                 const QStringList& extensions = AppLists::defaultExtensions())
{
    return AppLists{servers, folders, extensions};
}

QStringList fileNames(const QStringList& entries)
{
    QStringList names;
    for (const QString& entry : entries)
        names.append(entry.section(QLatin1Char('/'), -1));
    names.sort();
    return names;
}

} // namespace

class TestJobBuilder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { ScanFixture::useZoneWithDaylightSaving(); }

    // One file in one folder against each scan's tests.
    void takesFile_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<TimePoint>("now");
        QTest::addColumn<QString>("name");
        QTest::addColumn<TimePoint>("modified");
        QTest::addColumn<bool>("taken");

        const TimePoint noon = ScanFixture::local(2024, 6, 12, 12);
        const QString none;
        QTest::newRow("today, upper-case extension")
            << Kind::Today << none << none << noon << "photo.JPG" << noon - 1h << true;
        QTest::newRow("today, no extension")
            << Kind::Today << none << none << noon << "photo" << noon - 1h << false;
        QTest::newRow("today, piece of the extension text")
            << Kind::Today << none << none << noon << "clip.jp" << noon - 1h << true;
        QTest::newRow("today, other extension")
            << Kind::Today << none << none << noon << "a.txt" << noon - 1h << false;
        QTest::newRow("today, .trashed in the name")
            << Kind::Today << none << none << noon << ".trashed-img.jpg" << noon - 1h << false;
        QTest::newRow("today, hidden file")
            << Kind::Today << none << none << noon << ".hidden.jpg" << noon - 1h << true;
        QTest::newRow("today, first second of the day")
            << Kind::Today << none << none << noon << "a.jpg"
            << ScanFixture::local(2024, 6, 12, 0, 0, 0) << true;
        QTest::newRow("today, last second of yesterday")
            << Kind::Today << none << none << noon << "a.jpg"
            << ScanFixture::local(2024, 6, 11, 23, 59, 59) << false;
        QTest::newRow("today, just after midnight, yesterday's file")
            << Kind::Today << none << none << ScanFixture::local(2024, 6, 12, 0, 0, 5) << "a.jpg"
            << ScanFixture::local(2024, 6, 11, 23, 59, 58) << false;
        QTest::newRow("today, later today")
            << Kind::Today << none << none << noon << "a.jpg" << noon + 11h << true;

        QTest::newRow("five days, 119 h 59 min")
            << Kind::FiveDays << none << none << noon << "a.jpg" << noon - 119h - 59min << true;
        QTest::newRow("five days, exactly 120 h")
            << Kind::FiveDays << none << none << noon << "a.jpg" << noon - 120h << true;
        QTest::newRow("five days, 120 h and 1 s")
            << Kind::FiveDays << none << none << noon << "a.jpg" << noon - 120h - 1s << false;
        QTest::newRow("five days, in the future")
            << Kind::FiveDays << none << none << noon << "a.jpg" << noon + 48h << true;
        QTest::newRow("five days, .trashed")
            << Kind::FiveDays << none << none << noon << "x.trashed.jpg" << noon - 1h << false;
        // 2024-03-31 the clocks went from 02:00 to 03:00: five calendar days
        // of wall-clock time back from 04-02 12:30 are only 119 real hours.
        QTest::newRow("five days, across the change to summer time")
            << Kind::FiveDays << none << none << ScanFixture::local(2024, 4, 2, 12, 30) << "a.jpg"
            << ScanFixture::local(2024, 3, 28, 12, 0) << true;
        // 2024-10-27 they went back from 03:00 to 02:00: 119.5 hours of
        // wall-clock time back from 10-29 12:00 are 120.5 real hours.
        QTest::newRow("five days, across the change to winter time")
            << Kind::FiveDays << none << none << ScanFixture::local(2024, 10, 29, 12, 0) << "a.jpg"
            << ScanFixture::local(2024, 10, 24, 12, 30) << false;

        const QString day = QStringLiteral("2024/03/01");
        QTest::newRow("range, first second") << Kind::DateRange << day << day << noon << "a.jpg"
                                             << ScanFixture::local(2024, 3, 1, 0, 0, 0) << true;
        QTest::newRow("range, last second") << Kind::DateRange << day << day << noon << "a.jpg"
                                            << ScanFixture::local(2024, 3, 1, 23, 59, 59) << true;
        QTest::newRow("range, the day before")
            << Kind::DateRange << day << day << noon << "a.jpg"
            << ScanFixture::local(2024, 2, 29, 23, 59, 59) << false;
        QTest::newRow("range, the day after") << Kind::DateRange << day << day << noon << "a.jpg"
                                              << ScanFixture::local(2024, 3, 2, 0, 0, 0) << false;
        QTest::newRow("range, start after end")
            << Kind::DateRange << "2024/03/02" << day << noon << "a.jpg"
            << ScanFixture::local(2024, 3, 1) << false;
        QTest::newRow("range, .trashed") << Kind::DateRange << day << day << noon << "b.trashed.mp4"
                                         << ScanFixture::local(2024, 3, 1) << false;
    }

    void takesFile()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(TimePoint, now);
        QFETCH(QString, name);
        QFETCH(TimePoint, modified);
        QFETCH(bool, taken);

        ScanFixture fixture;
        const QString folder = fixture.folder("media");
        const QString file = fixture.file("media/" + name, modified);
        const ScanResult result =
            builderAt(now).scan(ScanRequest{kind, start, end}, listsOf({kServer}, {folder}));
        QCOMPARE(result.entries, taken ? QStringList{kServer + "|" + file} : QStringList{});
        QVERIFY(result.passedOver.isEmpty());
    }

    // Entries by server, then folder in list order; a folder listed twice is
    // scanned twice; sub-folders are not entered.
    void entryOrder()
    {
        ScanFixture fixture;
        const TimePoint now = ScanFixture::local(2024, 6, 12);
        const QString first = fixture.folder("first");
        const QString second = fixture.folder("second");
        fixture.folder("first/sub");
        fixture.file("first/a.jpg", now);
        fixture.file("first/b.mp4", now);
        fixture.file("first/sub/deep.jpg", now);
        fixture.file("second/c.png", now);
        const QString other = QStringLiteral("backup|25714|ben|digest");

        const QStringList entries =
            builderAt(now)
                .scan(ScanRequest{}, listsOf({kServer, other}, {second, first, second}))
                .entries;
        QCOMPARE(entries.size(), 8);
        const QString c = kServer + "|" + second + "/c.png";
        QCOMPARE(entries.mid(0, 1), QStringList{c});
        QCOMPARE(fileNames(entries.mid(1, 2)), (QStringList{"a.jpg", "b.mp4"}));
        QVERIFY(entries.at(1).startsWith(kServer + "|" + first + "/"));
        QCOMPARE(entries.at(3), c);
        QCOMPARE(entries.at(4), other + "|" + second + "/c.png");
        QCOMPARE(fileNames(entries.mid(5, 2)), (QStringList{"a.jpg", "b.mp4"}));
        QVERIFY(entries.at(5).startsWith(other + "|" + first + "/"));
        QCOMPARE(entries.at(7), other + "|" + second + "/c.png");
    }

    void cameraFolderIsSkipped_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("scanned");
        QTest::newRow("/DCIM/Camera") << "DCIM/Camera" << false;
        QTest::newRow("/dcim/CAMERA") << "phone/dcim/CAMERA" << false;
        QTest::newRow("backslashes") << "x\\DCIM\\Camera" << true;
        QTest::newRow("/DCIM/Camera2") << "DCIM/Camera2" << true;
    }

    void cameraFolderIsSkipped()
    {
        QFETCH(QString, folder);
        QFETCH(bool, scanned);
        ScanFixture fixture;
        const TimePoint now = ScanFixture::local(2024, 6, 12);
        const QString path = fixture.folder(folder);
        fixture.file(folder + "/a.jpg", now);
        const AppLists lists = listsOf({kServer}, {path});
        QCOMPARE(builderAt(now).scan(ScanRequest{}, lists).entries.size(), scanned ? 1 : 0);
        QCOMPARE(builderAt(now).GetTodayFileCount(lists), scanned ? 1 : 0);
    }

    // A folder that is missing or is no folder is passed over and named;
    // the other folders still make the job. So is a file that vanished
    // between the listing and the reading of its time (a dangling link).
    void unreadableFoldersArePassedOver()
    {
        ScanFixture fixture;
        const TimePoint now = ScanFixture::local(2024, 6, 12);
        const QString good = fixture.folder("good");
        const QString kept = fixture.file("good/a.jpg", now);
        QVERIFY(QFile::link(fixture.path("good/gone.jpg"), fixture.path("good/link.jpg")));
        const QString missing = fixture.path("card");
        const QString notAFolder = fixture.file("plain.jpg", now);

        const ScanResult result = builderAt(now).scan(
            ScanRequest{}, listsOf({kServer}, {missing, good, notAFolder, missing}));
        QCOMPARE(result.entries, QStringList{kServer + "|" + kept});
        QCOMPARE(result.passedOver, (QStringList{missing, notAFolder}));
        const TodayCount counted = builderAt(now).countToday(listsOf({}, {missing, good}));
        QCOMPARE(counted.count, 1);
        QCOMPARE(counted.passedOver, QStringList{missing});
    }

    // A name that could not come back from a job file as the same file is
    // passed over by the scans and by today's count, and named in the
    // result once, however many servers; names of any script are taken.
    void unstorableNamesArePassedOver_data()
    {
        QTest::addColumn<QByteArray>("name"); // as the file system holds it
        QTest::addColumn<QString>("shown");
        QTest::newRow("line breaks that carry an entry")
            << QByteArray("x\n127.0.0.2|9|anna|d|.git-credentials\n.jpg")
            << QString::fromUtf8("x\uFFFD127.0.0.2|9|anna|d|.git-credentials\uFFFD.jpg");
        QTest::newRow("carriage return")
            << QByteArray("cr\r.jpg") << QString::fromUtf8("cr\uFFFD.jpg");
        QTest::newRow("tab") << QByteArray("a\tb.jpg") << QString::fromUtf8("a\uFFFDb.jpg");
        QTest::newRow("escape") << QByteArray("\x1b[2J.jpg") << QString::fromUtf8("\uFFFD[2J.jpg");
        QTest::newRow("delete") << QByteArray("del\x7f.jpg") << QString::fromUtf8("del\uFFFD.jpg");
        QTest::newRow("not UTF-8")
            << QByteArray("bad\xff.jpg") << QString::fromUtf8("bad\uFFFD.jpg");
    }

    void unstorableNamesArePassedOver()
    {
        QFETCH(QByteArray, name);
        QFETCH(QString, shown);
        ScanFixture fixture;
        const TimePoint now = ScanFixture::local(2024, 6, 12);
        const QString folder = fixture.folder("media");
        const QString kept = fixture.file(QString::fromUtf8("media/\u00dcber \u5716.jpg"), now);
        fixture.rawFile("media/" + name, now);
        const QString other = QStringLiteral("backup|25714|ben|digest");
        const AppLists lists = listsOf({kServer, other}, {folder});

        for (const ScanRequest& request :
             {ScanRequest{}, ScanRequest{Kind::FiveDays, {}, {}},
              ScanRequest{Kind::DateRange, "2024/06/12", "2024/06/12"}}) {
            const ScanResult result = builderAt(now).scan(request, lists);
            QCOMPARE(result.entries, (QStringList{kServer + "|" + kept, other + "|" + kept}));
            QCOMPARE(result.passedOverFiles, QStringList{folder + "/" + shown});
            QVERIFY(result.passedOver.isEmpty());
        }
        const TodayCount counted = builderAt(now).countToday(lists);
        QCOMPARE(counted.count, 1);
        QCOMPARE(counted.passedOverFiles, QStringList{folder + "/" + shown});
    }

    void linkToFileCountsAsTheFile()
    {
        ScanFixture fixture;
        const TimePoint now = ScanFixture::local(2024, 6, 12);
        const QString folder = fixture.folder("media");
        const QString target = fixture.file("elsewhere.jpg", now);
        QVERIFY(QFile::link(target, fixture.path("media/link.jpg")));
        fixture.folder("media/folder.jpg");
        QCOMPARE(builderAt(now).scan(ScanRequest{}, listsOf({kServer}, {folder})).entries,
                 QStringList{kServer + "|" + folder + "/link.jpg"});
    }

    // The count plays no server part and counts a folder listed twice twice.
    void todayCount()
    {
        ScanFixture fixture;
        const TimePoint now = ScanFixture::local(2024, 6, 12, 18);
        const QString folder = fixture.folder("media");
        fixture.file("media/a.jpg", now - 1h);
        fixture.file("media/b.MOV", now - 17h);
        fixture.file("media/old.jpg", now - 19h);
        fixture.file("media/.trashed-c.jpg", now);
        fixture.file("media/notes.txt", now);
        QCOMPARE(builderAt(now).GetTodayFileCount(listsOf({}, {folder})), 2);
        QCOMPARE(builderAt(now).GetTodayFileCount(listsOf({}, {folder, folder})), 4);
        QCOMPARE(builderAt(now).GetTodayFileCount(listsOf({kServer}, {})), 0);
    }

    void extensionListDecidesWithItsText()
    {
        ScanFixture fixture;
        const TimePoint now = ScanFixture::local(2024, 6, 12);
        const QString folder = fixture.folder("media");
        fixture.file("media/a.heic", now);
        fixture.file("media/b.jpg", now);
        QCOMPARE(fileNames(builderAt(now)
                               .scan(ScanRequest{}, listsOf({kServer}, {folder}, {".HEIC"}))
                               .entries),
                 QStringList{"a.heic"});
        QVERIFY(
            builderAt(now).scan(ScanRequest{}, listsOf({kServer}, {folder}, {})).entries.isEmpty());
    }

    void targetExt_data()
    {
        QTest::addColumn<QStringList>("extensions");
        QTest::addColumn<QString>("text");
        QTest::newRow("two") << QStringList{".JPG", ".mp4"} << ".jpg,.mp4,";
        QTest::newRow("blank") << QStringList{".a b", ".c"} << "\".a b\",.c,";
        QTest::newRow("comma") << QStringList{".a,b"} << "\".a,b\",";
        QTest::newRow("quote") << QStringList{".a\"b"} << "\".a\"\"b\",";
        QTest::newRow("one empty") << QStringList{""} << "\"\",";
        QTest::newRow("empty and more") << QStringList{"", ".x"} << ",.x,";
        QTest::newRow("none") << QStringList{} << ",";
        QTest::newRow("non-ASCII kept") << QStringList{".ÄB"} << ".Äb,";
    }

    void targetExt()
    {
        QFETCH(QStringList, extensions);
        QFETCH(QString, text);
        QCOMPARE(JobBuilder::targetExt(extensions), text);
    }

    void defaultTargetExt()
    {
        QCOMPARE(JobBuilder::targetExt(AppLists::defaultExtensions()),
                 AppLists::defaultExtensions().join(",").toLower() + ",");
    }

    void dateRangeFromAnswer_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::newRow("dialog") << "2024/03/01-2024/03/05"
                                << "2024/03/01"
                                << "2024/03/05";
        QTest::newRow("blanks") << " 2024/03/01 - 2024/03/05 "
                                << "2024/03/01"
                                << "2024/03/05";
        QTest::newRow("no dash") << " 2024/03/01 "
                                 << " 2024/03/01 "
                                 << " 2024/03/01 ";
        QTest::newRow("first dash") << "a-b-c"
                                    << "a"
                                    << "b-c";
    }

    void dateRangeFromAnswer()
    {
        QFETCH(QString, answer);
        QFETCH(QString, start);
        QFETCH(QString, end);
        const ScanRequest request = JobBuilder::dateRangeFromAnswer(answer);
        QCOMPARE(request.kind, Kind::DateRange);
        QCOMPARE(request.startdate, start);
        QCOMPARE(request.enddate, end);
    }

    void jobNameIsTheLocalTimeOfDay()
    {
        QCOMPARE(MakeJobName(ScanFixture::local(2024, 6, 12, 9, 5, 7)), QStringLiteral("090507"));
        QCOMPARE(MakeJobName(ScanFixture::local(2024, 6, 12, 0, 0, 0)), QStringLiteral("000000"));
        // Summer time: the local hour, not the UTC one.
        QCOMPARE(MakeJobName(ScanFixture::local(2024, 3, 31, 3, 0, 1)), QStringLiteral("030001"));
    }

    // A pending job file or a running job keeps its name: the next second
    // is taken instead, wrapping after 23:59:59.
    void jobNameNeverReplacesAPendingJob()
    {
        TempProgramFolder program;
        program.write("235959.kyv", "x\r\n");
        program.write("000000.kyv", "x\r\n");
        QVERIFY(RunningJobs::claim("000001"));
        const QString name = freeJobName(ScanFixture::local(2024, 6, 12, 23, 59, 59));
        RunningJobs::release("000001");
        QCOMPARE(name, QStringLiteral("000002"));
        QCOMPARE(freeJobName(ScanFixture::local(2024, 6, 12, 10, 0, 0)), QStringLiteral("100000"));
        program.write("100000.kyvlog", "a log alone takes no name\r\n");
        QCOMPARE(freeJobName(ScanFixture::local(2024, 6, 12, 10, 0, 0)), QStringLiteral("100000"));
    }
};

QTEST_GUILESS_MAIN(TestJobBuilder)
#include "tst_jobbuilder.moc"
