#include "selection/ExplorerRows.h"
#include "selection/FileSizeText.h"
#include "selection/FolderListing.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kyvane;

namespace {

const QDateTime kBase = QDateTime(QDate(2024, 3, 1), QTime(12, 0, 0));

// Builds a folder from a short description, one entry per text:
// "d:name" a sub-folder, "f:name@minutes" a file modified minutes after
// kBase, "l:name" a link that leads nowhere (a file gone before its time
// could be read).
void build(const QString& root, const QStringList& entries)
{
    for (const QString& entry : entries) {
        const QString kind = entry.left(2);
        const QString rest = entry.mid(2);
        if (kind == QLatin1String("d:")) {
            QVERIFY(QDir(root).mkpath(rest));
        } else if (kind == QLatin1String("l:")) {
            QVERIFY(QFile::link(root + QStringLiteral("/gone-target"), root + '/' + rest));
        } else {
            const QString name = rest.section('@', 0, 0);
            QFile file(root + '/' + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.setFileTime(kBase.addSecs(60 * rest.section('@', 1).toInt()),
                                     QFileDevice::FileModificationTime));
        }
    }
}

} // namespace

class TestFolderListing : public QObject
{
    Q_OBJECT

private slots:
    // expectedFiles holds groups in order; the names within a group (joined
    // by ",") have equal times and may come in any order.
    void readFolder_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("expectedFolders");
        QTest::addColumn<QStringList>("expectedFiles");
        QTest::newRow("folders A b c, lower-cased then by code")
            << QStringList{"d:c", "d:b", "d:A", "d:_x", "d:B2"}
            << QStringList{"_x", "A", "b", "B2", "c"} << QStringList{};
        QTest::newRow("newest first")
            << QStringList{"f:old.jpg@-100", "f:new.jpg@5", "f:mid.jpg@0"} << QStringList{}
            << QStringList{"new.jpg", "mid.jpg", "old.jpg"};
        QTest::newRow("equal times between others")
            << QStringList{"f:a@1", "f:b@1", "f:c@1", "f:first@9", "f:last@-9"} << QStringList{}
            << QStringList{"first", "a,b,c", "last"};
        QTest::newRow("only subfolders")
            << QStringList{"d:x", "d:y"} << QStringList{"x", "y"} << QStringList{};
        QTest::newRow("hidden entries too")
            << QStringList{"d:.cache", "f:.hidden@1", "f:shown@0"} << QStringList{".cache"}
            << QStringList{".hidden", "shown"};
        QTest::newRow("vanished file after the others")
            << QStringList{"l:vanished", "f:kept@-500"} << QStringList{}
            << QStringList{"kept", "vanished"};
        QTest::newRow("folders and files apart")
            << QStringList{"f:z@0", "d:m", "f:a@1"} << QStringList{"m"} << QStringList{"a", "z"};
    }

    void readFolder()
    {
        QFETCH(QStringList, entries);
        QFETCH(QStringList, expectedFolders);
        QFETCH(QStringList, expectedFiles);
        QTemporaryDir dir;
        build(dir.path(), entries);
        const QString folder = dir.path() + '/';

        const FolderContents contents = kyvane::readFolder(folder);
        QVERIFY(contents.readable);
        QStringList folders;
        for (const QString& path : contents.folders) {
            QVERIFY(path.startsWith(folder));
            folders << path.mid(folder.size());
        }
        QCOMPARE(folders, expectedFolders);

        qsizetype at = 0;
        for (const QString& group : expectedFiles) {
            QStringList expected = group.split(',');
            QStringList got;
            for (qsizetype i = 0; i < expected.size() && at < qsizetype(contents.files.size()); ++i)
                got << contents.files[std::size_t(at++)].name;
            expected.sort();
            got.sort();
            QCOMPARE(got, expected);
        }
        QCOMPARE(qsizetype(contents.files.size()), at);
        for (const ListedFile& file : contents.files) {
            const QFileInfo info(folder + file.name);
            if (info.exists())
                QCOMPARE(file.modified, info.lastModified().toMSecsSinceEpoch());
            else
                QCOMPARE(file.modified, kUnknownTime);
        }
    }

    // Simulated without permissions, which do not stop root: a folder that
    // is missing, a path that is a file, a path that names nothing usable.
    void unreadable_data()
    {
        QTest::addColumn<QString>("relative"); // to a temporary folder; "" itself
        QTest::addColumn<bool>("absolute");
        QTest::newRow("missing folder") << "missing/" << true;
        QTest::newRow("a file") << "file.txt/" << true;
        QTest::newRow("relative path") << "somewhere/" << false;
        QTest::newRow("empty path") << "" << false;
    }

    void unreadable()
    {
        QFETCH(QString, relative);
        QFETCH(bool, absolute);
        QTemporaryDir dir;
        build(dir.path(), {"f:file.txt@0"});
        const QString path = absolute ? dir.path() + '/' + relative : relative;
        const FolderContents contents = kyvane::readFolder(path);
        QVERIFY(!contents.readable);
        QVERIFY(contents.folders.isEmpty());
        QVERIFY(contents.files.empty());
    }

    // What a listing offers for a backup: regular files and links to them;
    // a FIFO, a socket or a device is listed with its time but is not one.
    void onlyRegularFilesAreOffered()
    {
        QTemporaryDir dir;
        build(dir.path(), {"f:photo.jpg@0"});
        const QByteArray root = QFile::encodeName(dir.path()) + '/';
        QCOMPARE(::mkfifo(root + "pipe.jpg", 0644), 0);
        QVERIFY(QFile::link(dir.filePath("photo.jpg"), dir.filePath("link.jpg")));
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), dir.filePath("zero.jpg")));

        const FolderContents contents = kyvane::readFolder(dir.path() + '/');
        QMap<QString, bool> regular;
        for (const ListedFile& file : contents.files) {
            QVERIFY(file.modified != kUnknownTime);
            regular.insert(file.name, file.regular);
        }
        const QMap<QString, bool> expected{
            {"photo.jpg", true}, {"link.jpg", true}, {"pipe.jpg", false}, {"zero.jpg", false}};
        QCOMPARE(regular, expected);

        ExplorerRows rows;
        rows.clear(dir.path() + '/');
        for (ListedFile file : contents.files)
            rows.appendFile(std::move(file));
        rows.setAllChecked(true);
        QStringList entries = rows.checkedFileEntries({QStringLiteral("nas|1|a|d")});
        entries.sort();
        QCOMPARE(entries, (QStringList{"nas|1|a|d|" + dir.filePath("link.jpg"),
                                       "nas|1|a|d|" + dir.filePath("photo.jpg")}));
    }

    // The folder chooser's list: sub-folders only (links to folders too, as
    // the explorer lists them), in the explorer's order.
    void subFoldersOnly()
    {
        QTemporaryDir dir;
        build(dir.path(), {"d:b", "d:A", "d:.hidden", "f:c@0", "l:dangling"});
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("pipe")), 0644), 0);
        QVERIFY(QFile::link(dir.filePath("b"), dir.filePath("to-b")));
        const QString folder = dir.path() + '/';
        QCOMPARE(readSubFolders(folder),
                 (QStringList{folder + ".hidden", folder + "A", folder + "b", folder + "to-b"}));
        QCOMPARE(readSubFolders(folder), kyvane::readFolder(folder).folders);
        QVERIFY(readSubFolders(folder + "missing/").isEmpty());
        QVERIFY(readSubFolders(QStringLiteral("relative/")).isEmpty());
    }

    void stopEndsTheReading()
    {
        QTemporaryDir dir;
        for (int i = 0; i < 3000; ++i)
            QVERIFY(QFile(dir.filePath(QString::number(i))).open(QIODevice::WriteOnly));
        const std::atomic<bool> stop{true};
        const FolderContents contents = kyvane::readFolder(dir.path() + '/', &stop);
        QVERIFY(contents.files.size() < 3000);
    }

    // Names that could not go into a job as the same file are neither
    // listed nor backed up, but named; names of any script are listed.
    void unstorableNamesArePassedOver()
    {
        QTemporaryDir dir;
        const QByteArray root = QFile::encodeName(dir.path()) + '/';
        for (const QByteArray& name : {QByteArray("bad\xff.jpg"), QByteArray("x\ny.jpg")}) {
            const int fd = ::open((root + name).constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
            QVERIFY(fd >= 0);
            ::close(fd);
        }
        QVERIFY(::mkdir((root + "sub\tdir").constData(), 0755) == 0);
        build(dir.path(), {QString::fromUtf8("f:\u00dcber.jpg@0"), "d:ok"});

        const FolderContents contents = kyvane::readFolder(dir.path() + '/');
        QCOMPARE(contents.folders, QStringList{dir.path() + "/ok"});
        QCOMPARE(contents.files.size(), std::size_t(1));
        QCOMPARE(contents.files.front().name, QString::fromUtf8("\u00dcber.jpg"));
        QStringList passedOver = contents.passedOver;
        passedOver.sort();
        QCOMPARE(passedOver,
                 (QStringList{QString::fromUtf8("bad\uFFFD.jpg"), QString::fromUtf8("sub\uFFFDdir"),
                              QString::fromUtf8("x\uFFFDy.jpg")}));
    }

    void compareFolderPaths_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("sign");
        QTest::newRow("case ignored") << "/x/ABC"
                                      << "/x/abc" << 0;
        QTest::newRow("A before b") << "/x/A"
                                    << "/x/b" << -1;
        QTest::newRow("b before C") << "/x/b"
                                    << "/x/C" << -1;
        // "_" lies between the capitals and the small letters by code.
        QTest::newRow("by code after lower-casing") << "/x/_"
                                                    << "/x/A" << -1;
        QTest::newRow("prefix first") << "/x/ab"
                                      << "/x/Abc" << -1;
    }

    void compareFolderPaths()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, sign);
        const int result = CompareFolderPaths(a, b);
        QCOMPARE((result > 0) - (result < 0), sign);
    }

    void compareFileTimes()
    {
        const ListedFile newer{QStringLiteral("n"), 2000};
        const ListedFile older{QStringLiteral("o"), 1000};
        const ListedFile same{QStringLiteral("s"), 1000};
        const ListedFile gone{QStringLiteral("g"), kUnknownTime};
        QVERIFY(CompareFileTimes(newer, older) < 0);
        QVERIFY(CompareFileTimes(older, newer) > 0);
        QCOMPARE(CompareFileTimes(older, same), 0);
        QVERIFY(CompareFileTimes(older, gone) < 0);
        QCOMPARE(CompareFileTimes(gone, gone), 0);
    }

    void parentFolder_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("parent");
        QTest::newRow("folder") << "/home/anna/Pictures"
                                << "/home/anna";
        QTest::newRow("trailing separator") << "/home/anna/"
                                            << "/home";
        QTest::newRow("below the root") << "/home"
                                        << "/";
        QTest::newRow("root") << "/"
                              << "/";
        QTest::newRow("no separator") << "photos"
                                      << "photos";
        QTest::newRow("empty") << ""
                               << "";
    }

    void parentFolder()
    {
        QFETCH(QString, path);
        QFETCH(QString, parent);
        QCOMPARE(kyvane::parentFolder(path), parent);
    }

    void sizeText_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << qint64(0) << "1 KB";
        QTest::newRow("1023") << qint64(1023) << "1 KB";
        QTest::newRow("1024") << qint64(1024) << "2 KB";
        QTest::newRow("1048575") << qint64(1048575) << "1024 KB";
        QTest::newRow("1048576") << qint64(1048576) << "1025 KB";
        QTest::newRow("1048577") << qint64(1048577) << "2 MB";
        QTest::newRow("2097151") << qint64(2097151) << "2 MB";
        QTest::newRow("2097152") << qint64(2097152) << "3 MB";
        QTest::newRow("5 GB") << qint64(5) * 1024 * 1024 * 1024 << "5121 MB";
    }

    void sizeText()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, text);
        QCOMPARE(FormatSizeText(bytes), text);
    }

    void fileSizeOf()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath("f"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(QByteArray(1500, 'x')), 1500);
        file.close();
        QCOMPARE(FileSizeOf(file.fileName()), 1500);
        QCOMPARE(FileSizeOf(dir.filePath("missing")), -1);
        QCOMPARE(FileSizeOf(dir.path()), -1);
    }

    // Select All over two folders and three files, one file row not
    // completed and one of a FIFO, which is never offered: the two servers in order, each with the
    // completed checked files in row order; afterwards only the folder rows stay checked.
    void backupEntries()
    {
        ExplorerRows rows;
        rows.clear(QStringLiteral("/pics/"));
        rows.appendFolder(QStringLiteral("/pics/A"));
        rows.appendFolder(QStringLiteral("/pics/b"));
        rows.appendFile({QStringLiteral("new.jpg"), 3000});
        rows.appendFile({QStringLiteral("gone.jpg"), kUnknownTime});
        rows.appendFile({QStringLiteral("old.png"), 1000});
        rows.appendFile({QStringLiteral("clip.mp4"), 500});
        rows.appendFile({QStringLiteral("fifo.jpg"), 400, false});
        rows.setAllChecked(true);
        rows.at(5).checked = false;

        const QStringList servers = {QStringLiteral("nas|25714|anna|d1"),
                                     QStringLiteral("cloud|25714|bo|d2")};
        QCOMPARE(
            rows.checkedFileEntries(servers),
            (QStringList{"nas|25714|anna|d1|/pics/new.jpg", "nas|25714|anna|d1|/pics/old.png",
                         "cloud|25714|bo|d2|/pics/new.jpg", "cloud|25714|bo|d2|/pics/old.png"}));
        rows.uncheckFiles();
        for (int i = 0; i < rows.count(); ++i)
            QCOMPARE(rows.at(i).checked, rows.at(i).kind == ExplorerRow::Kind::Folder);
        QVERIFY(rows.checkedFileEntries(servers).isEmpty());
        QVERIFY(rows.checkedFileEntries({}).isEmpty());
    }

    // A folder typed into the path field with a control character: its
    // files could not go into a job as themselves, so none is taken.
    void backupEntriesPassOverUnstorablePaths()
    {
        ExplorerRows rows;
        rows.clear(QStringLiteral("/pics/a\tb/"));
        rows.appendFile({QStringLiteral("new.jpg"), 3000});
        rows.setAllChecked(true);
        QStringList passedOver;
        QVERIFY(
            rows.checkedFileEntries({QStringLiteral("nas|25714|anna|d1")}, &passedOver).isEmpty());
        QCOMPARE(passedOver, QStringList{QString::fromUtf8("/pics/a\uFFFDb/new.jpg")});
    }

    // What each row shows, and the row that could not be completed.
    void rowTexts()
    {
        ExplorerRows rows;
        rows.clear(QStringLiteral("/pics/"));
        rows.appendFolder(QStringLiteral("/pics/Holiday 2023"));
        const qint64 time = kBase.addSecs(5).toMSecsSinceEpoch();
        rows.appendFile({QStringLiteral("a.jpg"), time});
        rows.appendFile({QStringLiteral("gone.jpg"), kUnknownTime});

        QCOMPARE(rows.nameLine(0), QStringLiteral("Holiday 2023"));
        QCOMPARE(rows.detailLine(0), QStringLiteral("/pics/Holiday 2023"));
        QCOMPARE(rows.tagString(0), QStringLiteral("/pics/Holiday 2023"));
        QCOMPARE(rows.at(0).tag, 0);

        QCOMPARE(rows.nameLine(1), QStringLiteral("a.jpg"));
        QCOMPARE(rows.detailLine(1), QStringLiteral("2024-03-01 12:00:05"));
        QCOMPARE(rows.tagString(1), QStringLiteral("/pics/a.jpg"));
        QCOMPARE(rows.at(1).tag, 1);
        rows.at(1).size = 1048577;
        QCOMPARE(rows.detailLine(1), QStringLiteral("2024-03-01 12:00:05        2 MB"));

        QCOMPARE(rows.nameLine(2), QStringLiteral("gone.jpg"));
        QVERIFY(rows.detailLine(2).isEmpty());
        QVERIFY(rows.tagString(2).isEmpty());
        QCOMPARE(rows.at(2).tag, 0);
    }
};

QTEST_GUILESS_MAIN(TestFolderListing)
#include "tst_folderlisting.moc"
