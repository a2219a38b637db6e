#include "FileSizeLimit.h"
#include "TempProgramFolder.h"
#include "core/ListFile.h"

#include <QtTest>

using namespace kyvane;

class TestListFile : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("items");

        const QByteArray bom("\xEF\xBB\xBF");
        QTest::newRow("empty file") << QByteArray() << QStringList();
        QTest::newRow("only BOM") << bom << QStringList();
        QTest::newRow("BOM, CR LF") << bom + "a\r\nb\r\n" << QStringList{"a", "b"};
        QTest::newRow("no BOM, LF") << QByteArray("a\nb\n") << QStringList{"a", "b"};
        QTest::newRow("CR alone") << QByteArray("a\rb\r") << QStringList{"a", "b"};
        QTest::newRow("mixed ends") << QByteArray("a\r\nb\nc\rd") << QStringList{"a", "b", "c", "d"};
        QTest::newRow("no final break") << bom + "a\r\nb" << QStringList{"a", "b"};
        QTest::newRow("empty line in middle") << QByteArray("a\r\n\r\nb\r\n")
                                              << QStringList{"a", "", "b"};
        QTest::newRow("one empty item") << bom + "\r\n" << QStringList{""};
        QTest::newRow("two final breaks") << QByteArray("a\n\n") << QStringList{"a", ""};
        QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
        QTest::newRow("blanks kept") << QByteArray(" a |b \r\n") << QStringList{" a |b "};
        QTest::newRow("UTF-8 text") << bom + "/home/u/Фото/照片\r\n"
                                    << QStringList{QString::fromUtf8("/home/u/Фото/照片")};
        QTest::newRow("second BOM is text") << bom + bom + "a\r\n"
                                            << QStringList{QString(QChar(0xFEFF)) + "a"};
    }

    void parse()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, items);
        const auto parsed = ListFile::parse(content);
        QVERIFY(parsed.has_value());
        QCOMPARE(*parsed, items);
    }

    void parseRejectsInvalidUtf8_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("latin-1 byte") << QByteArray("caf\xE9\r\n");
        QTest::newRow("cut sequence at end") << QByteArray("a\r\n\xE7\x85");
        QTest::newRow("overlong") << QByteArray("\xC0\xAF\r\n");
    }

    void parseRejectsInvalidUtf8()
    {
        QFETCH(QByteArray, content);
        QVERIFY(!ListFile::parse(content).has_value());
    }

    void serialize_data()
    {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty list") << QStringList() << QByteArray("\xEF\xBB\xBF");
        QTest::newRow("two items") << QStringList{"a", "b"} << QByteArray("\xEF\xBB\xBF" "a\r\nb\r\n");
        QTest::newRow("empty item") << QStringList{""} << QByteArray("\xEF\xBB\xBF\r\n");
        QTest::newRow("utf-8") << QStringList{QString::fromUtf8("Ü")}
                               << QByteArray("\xEF\xBB\xBF\xC3\x9C\r\n");
    }

    void serialize()
    {
        QFETCH(QStringList, items);
        QFETCH(QByteArray, bytes);
        QCOMPARE(ListFile::serialize(items), bytes);
        QCOMPARE(*ListFile::parse(bytes), items);
    }

    void writeThenRead()
    {
        TempProgramFolder folder;
        const QStringList items{"srv|1|acc|d", "", "/a|b/c.jpg"};
        QCOMPARE(ListFile::write(folder.file("x.cfg"), items), QString());
        QCOMPARE(folder.read("x.cfg"), ListFile::serialize(items));
        QCOMPARE(*ListFile::read(folder.file("x.cfg")), items);
    }

    void readFailures()
    {
        TempProgramFolder folder;
        QString error;
        QVERIFY(!ListFile::read(folder.file("missing.cfg"), &error));
        QVERIFY(!error.isEmpty());

        folder.makeFolder("dir.cfg");
        error.clear();
        QVERIFY(!ListFile::read(folder.file("dir.cfg"), &error));
        QVERIFY(!error.isEmpty());

        folder.write("bad.cfg", "caf\xE9\r\n");
        error.clear();
        QVERIFY(!ListFile::read(folder.file("bad.cfg"), &error));
        QVERIFY(!error.isEmpty());
    }

    // Read back, an item with a line break would be two items: a path in a
    // job file could add entries. Nothing of such a list is written.
    void itemWithALineBreakIsNotWritten_data()
    {
        QTest::addColumn<QString>("item");
        QTest::newRow("LF") << "nas|1|a|d|/p/x\nevil|9|a|d|/etc/passwd";
        QTest::newRow("CR") << "a\rb";
        QTest::newRow("CR LF") << "a\r\nb";
    }

    void itemWithALineBreakIsNotWritten()
    {
        QFETCH(QString, item);
        TempProgramFolder folder;
        folder.write("x.kyv", "old\r\n");
        const QString error = ListFile::write(folder.file("x.kyv"), {"first", item});
        QCOMPARE(error, QStringLiteral("an entry holds a line break"));
        QCOMPARE(folder.read("x.kyv"), QByteArray("old\r\n"));
    }

    void failedWriteKeepsOldFile()
    {
        TempProgramFolder folder;
        folder.write("x.cfg", "old\r\n");
        // The target is a folder: nothing can replace it, and the error is told.
        folder.makeFolder("y.cfg");
        QVERIFY(!ListFile::write(folder.file("y.cfg"), {"new"}).isEmpty());
        QVERIFY(QFileInfo(folder.file("y.cfg")).isDir());

        // The disk fills up during the write: the old file stays whole.
        QString error;
        {
            FileSizeLimit diskFull(1000);
            error = ListFile::write(folder.file("x.cfg"), {QString(5000, QLatin1Char('n'))});
        }
        QVERIFY(!error.isEmpty());
        QCOMPARE(folder.read("x.cfg"), QByteArray("old\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestListFile)
#include "tst_listfile.moc"
