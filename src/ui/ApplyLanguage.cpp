// Writing the texts of the current language into the controls that are set
// once rather than read when shown: the frame's own, then each screen's.

#include "dialogs/DialogBase.h"
#include "dialogs/TfrmChooseLanguage.h"
#include "dialogs/TfrmConfirm.h"
#include "dialogs/TfrmDatePicker.h"
#include "dialogs/TfrmInputExt.h"
#include "i18n/LanguageRes.h"
#include "ui/MainWindow.h"
#include "ui/screens/BackupFoldersScreen.h"
#include "ui/screens/FileExtensionsScreen.h"
#include "ui/screens/HomeScreen.h"
#include "ui/screens/ServerEditorScreen.h"
#include "ui/widgets/FittingLabel.h"

#include <QPushButton>

#include <utility>

namespace kyvane {

void TForm1::ApplyLanguage()
{
    Label1->setText(langText(0));

    const std::pair<QPushButton*, int> buttons[] = {
        {btnSelectAll, 10},   {btnSelectNone, 11}, {btnSelectAll2, 10},
        {btnSelectNone2, 11}, {btnBackup, 12},     {btnStart, 12},
        {btnQueue, 7},        {btnStop, 13},       {btnDelete, 14},
    };
    for (const auto& [button, key] : buttons)
        button->setText(langText(key));

    m_home->applyLanguage();
    m_serverEditor->applyLanguage();
    m_backupFolders->applyLanguage();
    m_fileExtensions->applyLanguage();
    for (DialogBase* dialog : std::initializer_list<DialogBase*>{
             m_dialogs.inputExt, m_dialogs.chooseLanguage, m_dialogs.confirm, m_dialogs.datePicker})
        dialog->applyLanguage();
    // The settings list's rows follow here once they are built.
}

} // namespace kyvane
