// Writing the texts of the current language into the controls that are set
// once rather than read when shown: the frame's own, then each screen's and
// each dialog's; and switching the language.

#include "core/ConfigIni.h"
#include "i18n/ExtraTexts.h"
#include "i18n/LanguageRes.h"
#include "i18n/QtTranslations.h"
#include "ui/Accessibility.h"
#include "ui/MainWindow.h"
#include "ui/MessageBox.h"
#include "ui/dialogs/DialogBase.h"
#include "ui/dialogs/TfrmChooseFolder.h"
#include "ui/dialogs/TfrmChooseLanguage.h"
#include "ui/dialogs/TfrmConfirm.h"
#include "ui/dialogs/TfrmDatePicker.h"
#include "ui/dialogs/TfrmInputExt.h"
#include "ui/screens/BackupFoldersScreen.h"
#include "ui/screens/ExplorerScreen.h"
#include "ui/screens/FileExtensionsScreen.h"
#include "ui/screens/GeneralSettingsScreen.h"
#include "ui/screens/HistoryScreen.h"
#include "ui/screens/HomeScreen.h"
#include "ui/screens/JobDetailsScreen.h"
#include "ui/screens/QueueScreen.h"
#include "ui/screens/ServerEditorScreen.h"
#include "ui/screens/SettingsListScreen.h"
#include "ui/widgets/FittingLabel.h"

#include <QPushButton>

#include <utility>

namespace kyvane {

void TForm1::ApplyLanguage()
{
    // Qt's own texts too: the folder dialog's buttons and labels.
    installQtTranslations(currentLanguage());
    Label1->setText(langText(0));

    const std::pair<QPushButton*, int> buttons[] = {
        {btnSelectAll, 10},   {btnSelectNone, 11}, {btnSelectAll2, 10},
        {btnSelectNone2, 11}, {btnBackup, 12},     {btnStart, 12},
        {btnQueue, 7},        {btnStop, 13},       {btnDelete, 14},
    };
    for (const auto& [button, key] : buttons)
        button->setText(langText(key));
    btnHistory->setText(extraText(ExtraText::History));

    m_home->applyLanguage();
    m_generalSettings->applyLanguage();
    m_serverEditor->applyLanguage();
    m_backupFolders->applyLanguage();
    m_fileExtensions->applyLanguage();
    m_queue->applyLanguage();
    m_jobLog->applyLanguage();
    m_jobLog->refresh();
    m_history->refresh();
    for (DialogBase* dialog : std::initializer_list<DialogBase*>{
             m_dialogs.chooseFolder, m_dialogs.inputExt, m_dialogs.datePicker,
             m_dialogs.chooseLanguage, m_dialogs.confirm})
        dialog->applyLanguage();
    m_settingsList->prepareSettings();
    m_statusLine.languageApplied();
    showStatusBar();
    nameControlsForScreenReaders();
}

void TForm1::nameControlsForScreenReaders()
{
    using Accessibility::nameControls;
    const QString back = extraText(ExtraText::Back);
    const QString menu = extraText(ExtraText::Menu);
    nameControls(HeaderToolBar,
                 {{"SpeedButton1", back}, {"Button1", back}, {"Button2", menu}, {"Button6", menu}});
    const QString goUp = extraText(ExtraText::GoUp);
    const QString go = extraText(ExtraText::GoToFolder);
    const QString path = extraText(ExtraText::FolderPath);
    nameControls(m_explorer, {{"Button13", goUp},
                              {"Button4", go},
                              {"Edit1", path},
                              {"ListView1", extraText(ExtraText::FolderContents)}});
    nameControls(m_dialogs.chooseFolder, {{"Button3", goUp},
                                          {"Button4", go},
                                          {"Edit1", path},
                                          {"ListBox1", extraText(ExtraText::SubFolders)}});
    nameControls(m_settingsList, {{"ListBox3", langText(6)}});
    nameControls(m_generalSettings, {{"ListBox4", langText(8)}});
    nameControls(m_backupFolders, {{"ListBox5", langText(23)}});
    nameControls(m_fileExtensions, {{"ListBox6", langText(24)}});
    nameControls(m_queue, {{"ListBox2", langText(7)}});
    nameControls(m_history, {{"lvHistory", extraText(ExtraText::History)}});
    nameControls(m_jobLog, {{"lvJobFiles", langText(44)}});
}

void TForm1::ChooseLanguageCallBack(const QString& AselectedItem)
{
    if (AselectedItem.isEmpty())
        return; // Cancel
    setCurrentLanguage(languageCodeFromText(AselectedItem));
    // The user is on the general settings screen, whose title would
    // otherwise change only with the next switch.
    Label5->setText(langText(8));
    ApplyLanguage();
    // The new language holds for this run even when it cannot be stored;
    // the user learns that the next start will not have it.
    const QString error =
        WriteIni(QStringLiteral("GENERALSETTINGS"), QStringLiteral("LANGUAGE"), AselectedItem);
    if (!error.isEmpty())
        MessageBox::inform(
            this, extraText(ExtraText::SettingsNotSaved).arg(QStringLiteral("config.ini"), error));
}

} // namespace kyvane
