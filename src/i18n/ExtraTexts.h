#pragma once

#include <QString>

namespace kyvane {

// Texts the window and the workers show beyond the numbered keys of the
// language table, each in the three languages. They live apart so that the
// numbered table stays exactly as it is stored and read by key.
enum class ExtraText {
    // Status line after a scan passed over backup folders; %1 is the list.
    FoldersPassedOver,
    // Every one of the 86,400 job names is taken by a pending job.
    NoFreeJobName,
    // A settings file could not be written; %1 is its name, %2 the reason.
    SettingsNotSaved,
    // The backup folders screen's button that opens the folder chooser.
    BrowseFolders,
    // The file explorer's folder does not exist, is no folder or cannot be
    // read.
    FolderCannotBeListed,
    // A job log's reason for a file of the job that no longer exists.
    FileNotFound,
    // A note naming files whose names cannot be stored in a job; %1 is how
    // many, %2 some of their names.
    FilesPassedOver,
    // Why a list or job file was not written: an item holds a line break.
    LineBreakInItem,
    // A job log's reason for a job entry whose path is not a full path.
    PathNotAbsolute,
    // The program folder is a symbolic link; %1 is the folder.
    ProgramFolderIsLink,
    // The program folder belongs to another user; %1 is the folder.
    ProgramFolderNotOwned,

    Count // the number of texts above, not a text
};

// The text in the current language.
QString extraText(ExtraText id);

} // namespace kyvane
