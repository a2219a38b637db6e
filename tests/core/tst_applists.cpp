#include "FileSizeLimit.h"
#include "TempProgramFolder.h"
#include "core/AppLists.h"

#include <QtTest>

using namespace kyvane;

class TestAppLists : public QObject
{
    Q_OBJECT

private slots:
    void defaultsWithoutFiles()
    {
        TempProgramFolder folder;
        AppLists lists;
        lists.load();
        QVERIFY(lists.servers.isEmpty());
        QVERIFY(lists.folders.isEmpty());
        const QStringList expected{".jpg",   ".jpeg", ".gif", ".bmp", ".png", ".tif", ".tiff",
                                   ".raw",   ".webp", ".mp4", ".mp3", ".mov", ".mmv", ".avi",
                                   ".avchd", ".webm", ".mkv", ".flv", ".f4v"};
        QCOMPARE(lists.extensions, expected);
    }

    void fileExtReplacesDefaults_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("extensions");
        QTest::newRow("two lines")
            << QByteArray("\xEF\xBB\xBF.jpg\r\n.png\r\n") << QStringList{".jpg", ".png"};
        QTest::newRow("empty file") << QByteArray() << QStringList();
        QTest::newRow("only BOM") << QByteArray("\xEF\xBB\xBF") << QStringList();
    }

    void fileExtReplacesDefaults()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, extensions);
        TempProgramFolder folder;
        folder.write("FileExt.cfg", content);
        AppLists lists;
        lists.load();
        QCOMPARE(lists.extensions, extensions);
    }

    void listsFromOtherTools()
    {
        TempProgramFolder folder;
        // Written by another tool: no BOM, LF line ends.
        folder.write("server.cfg", "nas.local|25714|anna|0123456789abcdef0123456789abcdef\n"
                                   "10.0.0.2| 80 |bob|ffffffffffffffffffffffffffffffff\n");
        folder.write("folder.cfg", "\xEF\xBB\xBF/home/anna/Pictures\r\n/media/Фото\r\n");
        AppLists lists;
        lists.load();
        QCOMPARE(lists.servers,
                 (QStringList{"nas.local|25714|anna|0123456789abcdef0123456789abcdef",
                              "10.0.0.2| 80 |bob|ffffffffffffffffffffffffffffffff"}));
        QCOMPARE(lists.folders,
                 (QStringList{"/home/anna/Pictures", QString::fromUtf8("/media/Фото")}));
    }

    void badFilesFallBackAndStayUntouched()
    {
        TempProgramFolder folder;
        folder.makeFolder("server.cfg");
        const QByteArray latin1("/home/caf\xE9\r\n");
        folder.write("folder.cfg", latin1);
        folder.write("FileExt.cfg", "\xEF\xBB\xBF.jp\xFFg\r\n");
        AppLists lists;
        lists.load();
        QVERIFY(lists.servers.isEmpty());
        QVERIFY(lists.folders.isEmpty());
        QCOMPARE(lists.extensions, AppLists::defaultExtensions());
        // Loading never writes: what the user stored is still there.
        QVERIFY(QFileInfo(folder.file("server.cfg")).isDir());
        QCOMPARE(folder.read("folder.cfg"), latin1);
        QCOMPARE(folder.read("FileExt.cfg"), QByteArray("\xEF\xBB\xBF.jp\xFFg\r\n"));
    }

    void serverCfgIsOwnerOnly_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::newRow("new file") << false;
        QTest::newRow("file readable by all before") << true;
    }

    void serverCfgIsOwnerOnly()
    {
        QFETCH(bool, existing);
        TempProgramFolder folder;
        const QString path = folder.file("server.cfg");
        if (existing) {
            folder.write("server.cfg", "old|1|a|d\r\n");
            QVERIFY(QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ReadGroup |
                                                    QFileDevice::ReadOther));
        }
        AppLists lists;
        QCOMPARE(lists.storeServers({"nas|1|anna|d"}), QString());
        const QFileDevice::Permissions forOthers =
            QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
            QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
        QCOMPARE(QFile::permissions(path) & forOthers, QFileDevice::Permissions());
        QVERIFY(QFile::permissions(path) & QFileDevice::ReadOwner);
        QCOMPARE(folder.read("server.cfg"), QByteArray("\xEF\xBB\xBFnas|1|anna|d\r\n"));
        QCOMPARE(lists.servers, QStringList{"nas|1|anna|d"});
    }

    void failedStoreKeepsFileAndList_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("server.cfg") << "server.cfg";
        QTest::newRow("folder.cfg") << "folder.cfg";
        QTest::newRow("FileExt.cfg") << "FileExt.cfg";
    }

    void failedStoreKeepsFileAndList()
    {
        QFETCH(QString, name);
        TempProgramFolder folder;
        const QByteArray old("\xEF\xBB\xBFold\r\n");
        for (const char* file : {"server.cfg", "folder.cfg", "FileExt.cfg"})
            folder.write(QString::fromLatin1(file), old);
        AppLists lists;
        lists.load();
        const QStringList longer{"a line longer than the limit", "and another"};
        QString error;
        {
            FileSizeLimit limit(16);
            if (name == AppLists::kServerFile)
                error = lists.storeServers(longer);
            else if (name == AppLists::kFolderFile)
                error = lists.storeFolders(longer);
            else
                error = lists.storeExtensions(longer);
        }
        QVERIFY(!error.isEmpty());
        QCOMPARE(folder.read(name), old);
        QCOMPARE(lists.servers, QStringList{"old"});
        QCOMPARE(lists.folders, QStringList{"old"});
        QCOMPARE(lists.extensions, QStringList{"old"});
    }
};

QTEST_GUILESS_MAIN(TestAppLists)
#include "tst_applists.moc"
