#pragma once

namespace kyvane::screen {

// The screens of the main window, by their index in page order.
enum Index : int {
    Home = 0,
    SettingsList = 1,
    FileExplorer = 2,
    Queue = 3,
    ServerEditor = 4,
    GeneralSettings = 5,
    BackupFolders = 6,
    FileExtensions = 7,
    JobLog = 8, // the job's details and its log
    History = 9,
    Count = 10
};

} // namespace kyvane::screen
