#include "i18n/ExtraTexts.h"
#include "i18n/LanguageRes.h"

#include <QtTest>

using namespace kyvane;

class TestLanguageRes : public QObject
{
    Q_OBJECT

private slots:
    // Every text beyond the numbered keys exists in all three languages.
    void extraTextsInEveryLanguage()
    {
        for (int id = 0; id < int(ExtraText::Count); ++id) {
            const auto text = static_cast<ExtraText>(id);
            setCurrentLanguage(kLanguageEnglish);
            const QString english = extraText(text);
            setCurrentLanguage(kLanguageTraditionalChinese);
            const QString traditional = extraText(text);
            setCurrentLanguage(kLanguageSimplifiedChinese);
            const QString simplified = extraText(text);
            setCurrentLanguage(kLanguageEnglish);
            QVERIFY2(!english.isEmpty() && !traditional.isEmpty() && !simplified.isEmpty(),
                     qPrintable(QString::number(id)));
            QVERIFY2(traditional != english && simplified != english, qPrintable(english));
            // A placeholder in one language is in the others too.
            for (const char* mark : {"%1", "%2"})
                QCOMPARE(traditional.contains(mark), english.contains(mark));
            for (const char* mark : {"%1", "%2"})
                QCOMPARE(simplified.contains(mark), english.contains(mark));
        }
    }

    void initTestCase() { InitLanguageTable(); }
    void cleanup() { setCurrentLanguage(kLanguageEnglish); }

    void keyFollowsCurrentLanguage_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::newRow("33 en") << 0 << 33 << "English";
        QTest::newRow("33 zh-Hant") << 100 << 33 << QString::fromUtf8("繁體中文");
        QTest::newRow("33 zh-Hans") << 200 << 33 << QString::fromUtf8("简体中文");
        QTest::newRow("0 en") << 0 << 0 << "Kyvane";
        QTest::newRow("45 zh-Hans") << 200 << 45 << QString::fromUtf8("确定要关闭程式吗?");
        // The texts keep their quirks.
        QTest::newRow("41 lower case") << 0 << 41 << "cancelled";
        QTest::newRow("29 bmp") << 100 << 29 << QString::fromUtf8("請輸入副檔名 (例: bmp)");
        QTest::newRow("29 pdf") << 200 << 29 << QString::fromUtf8("请输入副档名 (例: pdf)");
        QTest::newRow("31 short en") << 0 << 31 << "Are you sure?";
        QTest::newRow("31 zh-Hant") << 100 << 31 << QString::fromUtf8("確定刪除此伺服器設定?");
        QTest::newRow("34 en") << 0 << 34 << "Are you sure to close KYV?";
        QTest::newRow("40 zh-Hant comma") << 100 << 40 << QString::fromUtf8("已存在，跳過備份");
        QTest::newRow("key 46 empty") << 0 << 46 << "";
    }

    void keyFollowsCurrentLanguage()
    {
        QFETCH(int, code);
        QFETCH(int, key);
        QFETCH(QString, text);
        setCurrentLanguage(code);
        QCOMPARE(langText(key), text);
        QCOMPARE(languageSlot(code + key), text);
    }

    void slotsOutsideTheTextsAreEmpty()
    {
        int filled = 0;
        for (int slot = 0; slot < kLanguageSlots; ++slot) {
            const bool isText = slot % 100 < kKeysPerLanguage;
            QCOMPARE(languageSlot(slot).isEmpty(), !isText);
            filled += isText ? 1 : 0;
        }
        QCOMPARE(filled, 138);
        QVERIFY(languageSlot(-1).isEmpty());
        QVERIFY(languageSlot(300).isEmpty());
    }

    void everyLanguageHasItsOwnTexts()
    {
        // Spot check against shifted blocks: a few keys differ in all three.
        for (int key : {0, 6, 20, 38, 44})
            QVERIFY(languageSlot(key) != languageSlot(100 + key) &&
                    languageSlot(100 + key) != languageSlot(200 + key));
        // and where the two Chinese texts agree the table says so too
        QCOMPARE(languageSlot(109), languageSlot(209));
    }

    void storedCode_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("code");
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("100") << "100" << 100;
        QTest::newRow("200") << "200" << 200;
        QTest::newRow("blanks") << " 200 " << 200;
        QTest::newRow("other number") << "150" << 0;
        QTest::newRow("300") << "300" << 0;
        QTest::newRow("negative") << "-100" << 0;
        QTest::newRow("not a number") << "chinese" << 0;
        QTest::newRow("fraction") << "100.0" << 0;
        QTest::newRow("empty") << "" << 0;
    }

    void storedCode()
    {
        QFETCH(QString, stored);
        QFETCH(int, code);
        QCOMPARE(languageCodeFromText(stored), code);
    }

    void invalidCodeKeepsKeysInsideOneBlock()
    {
        setCurrentLanguage(150);
        QCOMPARE(currentLanguage(), kLanguageEnglish);
        QCOMPARE(langText(33), QStringLiteral("English"));
    }
};

QTEST_GUILESS_MAIN(TestLanguageRes)
#include "tst_languageres.moc"
