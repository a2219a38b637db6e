// What a screen reader and a keyboard user meet: every control of every
// screen and dialog has a name and a role, fields are named by their labels,
// and the home page's tiles are buttons that Tab reaches in reading order and
// Enter or Space press.
#include "TempProgramFolder.h"
#include "UiTestHelpers.h"
#include "core/ListFile.h"
#include "i18n/LanguageRes.h"
#include "ui/dialogs/DialogBase.h"
#include "ui/dialogs/TfrmChooseFolder.h"
#include "ui/dialogs/TfrmChooseLanguage.h"
#include "ui/dialogs/TfrmConfirm.h"
#include "ui/dialogs/TfrmDatePicker.h"
#include "ui/dialogs/TfrmInputExt.h"
#include "ui/widgets/ClickableFrame.h"
#include "ui/widgets/ClickableLabel.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace kyvane;

namespace {

bool isControl(const QWidget* w)
{
    // A spin box's own edit is part of it, which the reader names.
    if (qobject_cast<const QAbstractSpinBox*>(w->parentWidget()))
        return false;
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const ClickableFrame*>(w) || qobject_cast<const ClickableLabel*>(w);
}

// The shown controls within scope that a screen reader would say nothing
// of: no name, or no role but a plain panel's.
QStringList unnamedControls(QWidget* scope)
{
    QStringList unnamed;
    for (QWidget* w : scope->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(scope->window()) || !isControl(w))
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(w);
        if (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty() ||
            accessible->role() == QAccessible::Client || accessible->role() == QAccessible::NoRole)
            unnamed << w->objectName() + " (" + w->metaObject()->className() + ")";
    }
    return unnamed;
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<TForm1> m_form;

private slots:
    void init()
    {
        m_folder = std::make_unique<TempProgramFolder>();
        QCOMPARE(ListFile::write(m_folder->file("server.cfg"), {"nas|25714|anna|d"}), QString());
        QCOMPARE(ListFile::write(m_folder->file("folder.cfg"), {m_folder->path()}), QString());
        m_form = std::make_unique<TForm1>();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }

    void cleanup()
    {
        m_form.reset();
        setCurrentLanguage(kLanguageEnglish);
    }

    void everyControlHasANameAndARole_data()
    {
        QTest::addColumn<int>("screen");
        QTest::addColumn<int>("language");
        for (int language : {kLanguageEnglish, kLanguageSimplifiedChinese}) {
            for (int screen :
                 {int(TForm1::Home), int(TForm1::SettingsList), int(TForm1::FileExplorer),
                  int(TForm1::Queue), int(TForm1::ServerEditor), int(TForm1::GeneralSettings),
                  int(TForm1::BackupFolders), int(TForm1::FileExtensions), int(TForm1::History)})
                QTest::addRow("screen %d, language %d", screen, language) << screen << language;
        }
    }

    void everyControlHasANameAndARole()
    {
        QFETCH(int, screen);
        QFETCH(int, language);
        setCurrentLanguage(language);
        m_form->ApplyLanguage();
        if (screen == TForm1::ServerEditor)
            m_form->openServerEditor(0);
        else
            m_form->ChangeTab(screen);
        QCOMPARE(m_form->currentTabIndex(), screen);
        const QStringList unnamed = unnamedControls(m_form.get());
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));
    }

    void everyDialogsControlsHaveNames()
    {
        for (DialogBase* dialog : std::initializer_list<DialogBase*>{
                 m_form->findChild<TfrmInputExt*>(), m_form->findChild<TfrmDatePicker*>(),
                 m_form->findChild<TfrmChooseLanguage*>(), m_form->findChild<TfrmChooseFolder*>(),
                 m_form->findChild<TfrmConfirm*>()}) {
            dialog->open({});
            const QStringList unnamed = unnamedControls(dialog);
            QVERIFY2(unnamed.isEmpty(), qPrintable(dialog->caption() + ": " + unnamed.join(", ")));
            dialog->hide();
        }
    }

    // A field is named by its label, which changes with the language.
    void fieldsAreNamedByTheirLabels()
    {
        m_form->openServerEditor(0);
        for (const auto& [field, label] : {std::pair{"edtServer", "Label8"},
                                           {"edtPort", "Label9"},
                                           {"edtAccount", "Label10"},
                                           {"edtPassword", "Label11"}}) {
            QAccessibleInterface* accessible =
                QAccessible::queryAccessibleInterface(control(*m_form, field));
            QCOMPARE(accessible->text(QAccessible::Name), control<QLabel>(*m_form, label)->text());
        }
    }

    // Tab walks the home page as it reads; Enter and Space press a tile, and
    // a screen reader's press action does too.
    void homePageByKeyboard()
    {
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        control(*m_form, "Rectangle3")->setFocus();
        QStringList order{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order,
                 (QStringList{"Rectangle3", "rectBackupToday", "rectBackup5days",
                              "rectBackupByDate", "rectBackupManually", "rectSetup", "rectQueue"}));
        QAccessibleInterface* queueTile =
            QAccessible::queryAccessibleInterface(control(*m_form, "rectQueue"));
        QCOMPARE(queueTile->role(), QAccessible::Button);
        QCOMPARE(queueTile->text(QAccessible::Name), langText(7));

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(m_form->currentTabIndex(), int(TForm1::Queue));
        m_form->ChangeTab(TForm1::Home);
        control(*m_form, "rectSetup")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(m_form->currentTabIndex(), int(TForm1::SettingsList));
        m_form->ChangeTab(TForm1::Home);
        queueTile->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(m_form->currentTabIndex(), int(TForm1::Queue));
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
