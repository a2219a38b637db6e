// Writing the texts of the current language into the main window's controls
// that are set once rather than read when shown.

#include "i18n/LanguageRes.h"
#include "ui/ClickableLabel.h"
#include "ui/FittingLabel.h"
#include "ui/MainWindow.h"

#include <QLabel>
#include <QPushButton>

#include <utility>

namespace kyvane {

void TForm1::ApplyLanguage()
{
    const std::pair<QLabel*, int> labels[] = {
        {Label1, 0},         {Label2, 1},           {lbBackupToday, 2}, {lbBackup5Days, 3},
        {lbBackupByDate, 4}, {lbBackupManually, 5}, {lbSettings, 6},    {lbViewQueue, 7},
        {Label8, 15},        {Label9, 16},          {Label10, 17},      {Label11, 18},
        {Label12, 19},       {lbleavepwempty, 32},
    };
    for (const auto& [label, key] : labels)
        label->setText(langText(key));

    const std::pair<QPushButton*, int> buttons[] = {
        {btnBackupTODAY, 2},
        {btnBackup5Days, 3},
        {btnBackupFILESByDATE, 4},
        {btnBackupManually, 5},
        {btnSettings, 6},
        {btnViewQueue, 7},
        {btnSelectAll, 10},
        {btnSelectNone, 11},
        {btnSelectAll2, 10},
        {btnSelectNone2, 11},
        {btnBackup, 12},
        {btnStart, 12},
        {btnQueue, 7},
        {btnStop, 13},
        {btnDelete, 14},
        {btnOK, 20},
        {btnAddFolder, 25},
        {btnDelFolder, 26},
        {btnAddExt, 25},
        {btnDelExt, 26},
    };
    for (const auto& [button, key] : buttons)
        button->setText(langText(key));

    showTodayFileCount();
    // The dialogs' texts and the settings list's rows follow here once they
    // are built.
}

} // namespace kyvane
