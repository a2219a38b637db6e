// Switching the language from the general settings screen: the texts of the
// screens and dialogs, the settings list's rows, and config.ini.

#include "SettingsTestHelpers.h"
#include "i18n/LanguageRes.h"
#include "ui/MessageBox.h"
#include "ui/dialogs/TfrmChooseFolder.h"
#include "ui/dialogs/TfrmChooseLanguage.h"
#include "ui/dialogs/TfrmConfirm.h"

#include <QAbstractButton>
#include <QLabel>
#include <QRadioButton>
#include <QtTest>

using namespace kyvane;

namespace {

// config.ini with more than the language: all of it stays.
const QByteArray kConfig = "; written by hand\r\n"
                           "[GeneralSettings]\r\n"
                           "Language=0\r\n"
                           "Other=kept\r\n"
                           "\r\n"
                           "[Elsewhere]\r\n"
                           "LANGUAGE=5\r\n";

struct Switch : SettingsWindow
{
    explicit Switch(const QByteArray& config) : SettingsWindow(Files{{"config.ini", config}})
    {
        QTest::mouseClick(control(*form, "rectSetup"), Qt::LeftButton);
        clickRow(list("ListBox3"), 0);
    }

    // Chooses a language in the dialog opened from the language row; a null
    // radio name cancels.
    void choose(const char* radio) const
    {
        clickRow(list("ListBox4"), 0);
        auto* dialog = form->findChild<TfrmChooseLanguage*>();
        QVERIFY(dialog && dialog->isVisible());
        if (!radio) {
            dialog->findChild<QAbstractButton*>("Button2")->click();
            return;
        }
        dialog->findChild<QRadioButton*>(QString::fromLatin1(radio))->setChecked(true);
        dialog->findChild<QAbstractButton*>("Button1")->click();
    }

    QString title() const { return control<QLabel>(*form, "Label5")->text(); }
};

} // namespace

class TestLanguageSwitch : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { setCurrentLanguage(kLanguageEnglish); }

    void toSimplifiedChinese()
    {
        Switch w(kConfig);
        w.choose("radioGBK");
        QCOMPARE(currentLanguage(), kLanguageSimplifiedChinese);
        QCOMPARE(w.title(), QString::fromUtf8("一般设定"));
        QListWidget* general = w.list("ListBox4");
        QCOMPARE(texts(general),
                 (QStringList{QString::fromUtf8("语言"), QString::fromUtf8("哪些目录需要备份"),
                              QString::fromUtf8("哪些副档名需要备份")}));
        QCOMPARE(general->item(0)->data(row::Detail).toString(), QString::fromUtf8("简体中文"));
        QCOMPARE(texts(w.list("ListBox3")).first(), QString::fromUtf8("一般设定"));
        QCOMPARE(texts(w.list("ListBox3")).last(), QString::fromUtf8("新增伺服器"));
        // Screens and dialogs beyond the one on show.
        QCOMPARE(control<QAbstractButton>(*w.form, "btnAddFolder")->text(),
                 QString::fromUtf8("新增"));
        const auto* chooser = w.form->findChild<TfrmChooseFolder*>();
        QCOMPARE(chooser->findChild<QAbstractButton*>("Button1")->text(),
                 QString::fromUtf8("确定"));
        const auto* confirm = w.form->findChild<TfrmConfirm*>();
        QCOMPARE(confirm->findChild<QLabel*>("Label6")->text(), langText(31));
        QByteArray expected = kConfig;
        expected.replace("Language=0", "LANGUAGE=200");
        QCOMPARE(w.folder.read("config.ini"), expected);
        // Qt's own texts follow: the buttons of the platform's dialogs.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                 QString::fromUtf8("取消"));
    }

    void backToEnglish()
    {
        Switch w("[GENERALSETTINGS]\r\nLANGUAGE=200\r\n");
        QCOMPARE(w.title(), QString::fromUtf8("一般设定"));
        w.choose("radioEnglish");
        QCOMPARE(w.title(), QStringLiteral("General Settings"));
        QCOMPARE(texts(w.list("ListBox3")), (QStringList{"General Settings", "Add Server"}));
        QCOMPARE(w.folder.read("config.ini"), QByteArray("[GENERALSETTINGS]\r\nLANGUAGE=0\r\n"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    }

    void cancelChangesNothing()
    {
        Switch w(kConfig);
        w.choose(nullptr);
        QCOMPARE(currentLanguage(), kLanguageEnglish);
        QCOMPARE(w.title(), QStringLiteral("General Settings"));
        QCOMPARE(texts(w.list("ListBox4")).first(), QStringLiteral("Language"));
        QCOMPARE(w.folder.read("config.ini"), kConfig);
    }

    void missingConfigIsCreated()
    {
        SettingsWindow w;
        QVERIFY(!w.folder.exists("config.ini"));
        w.form->ChooseLanguageCallBack(QStringLiteral("100"));
        QCOMPARE(w.folder.read("config.ini"), QByteArray("[GENERALSETTINGS]\r\nLANGUAGE=100\r\n"));
    }

    void startsInTraditionalChinese()
    {
        SettingsWindow w(Files{{"config.ini", "[GENERALSETTINGS]\r\nLANGUAGE=100\r\n"}});
        QCOMPARE(control<QLabel>(*w.form, "Label1")->text(), QString::fromUtf8("凱維安"));
        QListWidget* general = w.list("ListBox4");
        QCOMPARE(texts(general).at(1), QString::fromUtf8("哪些目錄需要備份"));
        QCOMPARE(general->item(0)->data(row::Detail).toString(), QString::fromUtf8("繁體中文"));
        QCOMPARE(texts(w.list("ListBox3")).first(), QString::fromUtf8("一般設定"));
        QCOMPARE(control<QLabel>(*w.form, "Label8")->text(), langText(15));
        QVERIFY(langText(15) != QStringLiteral("Server IP Address"));
    }
};

QTEST_MAIN(TestLanguageSwitch)
#include "tst_languageswitch.moc"
