#include "FileSizeLimit.h"
#include "TempProgramFolder.h"
#include "core/ConfigIni.h"
#include "core/IniFile.h"

#include <QtTest>

using namespace kyvane;

namespace {
const QString kSection = QStringLiteral("GENERALSETTINGS");
const QString kKey = QStringLiteral("LANGUAGE");
} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT

private slots:
    void value_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected"); // "<none>" when absent

        QTest::newRow("plain") << QByteArray("[GENERALSETTINGS]\r\nLANGUAGE=100\r\n") << "100";
        QTest::newRow("case of names") << QByteArray("[generalSettings]\nlanguage=200\n") << "200";
        QTest::newRow("blanks around") << QByteArray("  [ GENERALSETTINGS ]  \n  LANGUAGE = 100  \n")
                                       << "100";
        QTest::newRow("BOM") << QByteArray("\xEF\xBB\xBF[GENERALSETTINGS]\nLANGUAGE=100") << "100";
        QTest::newRow("other section") << QByteArray("[OTHER]\nLANGUAGE=100\n") << "<none>";
        QTest::newRow("key after other section")
            << QByteArray("[GENERALSETTINGS]\nX=1\n[OTHER]\nLANGUAGE=100\n") << "<none>";
        QTest::newRow("comment line") << QByteArray("[GENERALSETTINGS]\n;LANGUAGE=100\n") << "<none>";
        QTest::newRow("first section wins")
            << QByteArray("[GENERALSETTINGS]\nLANGUAGE=100\n[GENERALSETTINGS]\nLANGUAGE=200\n")
            << "100";
        QTest::newRow("empty value") << QByteArray("[GENERALSETTINGS]\nLANGUAGE=\n") << "";
        QTest::newRow("no section") << QByteArray("LANGUAGE=100\n") << "<none>";
        QTest::newRow("empty file") << QByteArray() << "<none>";
    }

    void value()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        const auto value = IniFile(content).value(kSection, kKey);
        QCOMPARE(value.value_or(QStringLiteral("<none>")), expected);
    }

    void setValue_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");

        QTest::newRow("new file")
            << QByteArray() << QByteArray("[GENERALSETTINGS]\r\nLANGUAGE=200\r\n");
        QTest::newRow("replace keeps other lines")
            << QByteArray("; kept\r\n[GeneralSettings]\r\nx = 1\r\nlanguage = 0 \r\n[Other]\r\nLANGUAGE=5\r\n")
            << QByteArray("; kept\r\n[GeneralSettings]\r\nx = 1\r\nLANGUAGE=200\r\n[Other]\r\nLANGUAGE=5\r\n");
        QTest::newRow("add key at end of section")
            << QByteArray("[GENERALSETTINGS]\nx=1\n\n[Other]\ny=2\n")
            << QByteArray("[GENERALSETTINGS]\nx=1\nLANGUAGE=200\n\n[Other]\ny=2\n");
        QTest::newRow("add section, LF file")
            << QByteArray("[Other]\ny=2\n") << QByteArray("[Other]\ny=2\n[GENERALSETTINGS]\nLANGUAGE=200\n");
        QTest::newRow("add section after unterminated line")
            << QByteArray("[Other]\r\ny=2") << QByteArray("[Other]\r\ny=2\r\n[GENERALSETTINGS]\r\nLANGUAGE=200\r\n");
        QTest::newRow("section last line unterminated")
            << QByteArray("[GENERALSETTINGS]") << QByteArray("[GENERALSETTINGS]\r\nLANGUAGE=200\r\n");
        QTest::newRow("bytes of other lines untouched")
            << QByteArray("\xEF\xBB\xBF[X]\r\nname=caf\xE9\r\n[GENERALSETTINGS]\r\nLANGUAGE=0\r\n")
            << QByteArray("\xEF\xBB\xBF[X]\r\nname=caf\xE9\r\n[GENERALSETTINGS]\r\nLANGUAGE=200\r\n");
    }

    void setValue()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        IniFile ini(before);
        ini.setValue(kSection, kKey, QStringLiteral("200"));
        QCOMPARE(ini.content(), after);
        QCOMPARE(ini.value(kSection, kKey).value_or(QString()), QStringLiteral("200"));
    }

    void readIniDefaults()
    {
        TempProgramFolder folder;
        QCOMPARE(ReadIni(kSection, kKey, "0"), QStringLiteral("0")); // no file
        folder.write("config.ini", "[GENERALSETTINGS]\r\nOTHER=1\r\n");
        QCOMPARE(ReadIni(kSection, kKey, "0"), QStringLiteral("0")); // no key
        folder.write("config.ini", "[GENERALSETTINGS]\r\nLANGUAGE=100\r\n");
        QCOMPARE(ReadIni(kSection, kKey, "0"), QStringLiteral("100"));
    }

    void unreadableConfig()
    {
        TempProgramFolder folder;
        folder.makeFolder("config.ini");
        QCOMPARE(ReadIni(kSection, kKey, "7"), QStringLiteral("7"));
        QVERIFY(!WriteIni(kSection, kKey, "100").isEmpty());
        QVERIFY(QFileInfo(folder.file("config.ini")).isDir());
    }

    void failedWriteKeepsTheOldFile()
    {
        TempProgramFolder folder;
        const QByteArray old = "[GENERALSETTINGS]\r\nLANGUAGE=100\r\n; " + QByteArray(300, 'c') + "\r\n";
        folder.write("config.ini", old);
        QString error;
        {
            FileSizeLimit diskFull(100);
            error = WriteIni(kSection, kKey, "200");
        }
        QVERIFY(!error.isEmpty());
        QCOMPARE(folder.read("config.ini"), old);
    }

    void writeIniCreatesAndKeeps()
    {
        TempProgramFolder folder;
        QCOMPARE(WriteIni(kSection, kKey, "100"), QString());
        QCOMPARE(folder.read("config.ini"), QByteArray("[GENERALSETTINGS]\r\nLANGUAGE=100\r\n"));

        folder.write("config.ini", "# mine\n[generalsettings]\nLanguage=100\nWindow=3\n");
        QCOMPARE(WriteIni(kSection, kKey, "200"), QString());
        QCOMPARE(folder.read("config.ini"),
                 QByteArray("# mine\n[generalsettings]\nLANGUAGE=200\nWindow=3\n"));
        QCOMPARE(ReadIni(kSection, kKey, "0"), QStringLiteral("200"));
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
