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
    // ... for a file whose folder is missing (an unmounted card) or cannot
    // be searched: it may come back, so the job stays.
    FileCannotBeReached,
    // Added to "Login Failed" when the job's server is no longer in
    // server.cfg, so the password cannot be corrected there.
    ServerNoLongerConfigured,

    // The outcome store at start-up. %1: where the damaged file went, or why
    // the store cannot be opened.
    StoreMovedAside,
    StoreUnavailable,

    // How a job was made, at the head of its queue row and history row.
    KindToday,
    KindFiveDays,
    KindManual,
    KindUnknown,

    // The state of a queue row. %1: a time.
    RowFinished,
    RowStopped,

    // Counts per outcome, joined by " · "; %1 is the count.
    CountSent,
    CountHeld,
    CountFailed,
    CountRefused,
    CountNotFound,
    CountWaiting,

    // The outcome of one file on one server, in a job's details.
    OutcomeSent,
    OutcomeHeld,
    OutcomeFailed,
    OutcomeRefused,
    OutcomeNotFound,
    OutcomeWaiting,

    // The job details screen's controls.
    ShowFiles,
    ShowLog,
    Retry,

    // The history of finished jobs: its menu command and screen title, and
    // what an empty history says.
    History,
    HistoryEmpty,

    // The file explorer's details of a file. %1: the server, %2: the date.
    LastBackedUp,
    NotBackedUp,
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

    // The server editor refuses a field that cannot be stored as typed.
    ServerFieldInvalid,
    PortFieldInvalid,
    AccountFieldInvalid,

    // The settings lists refuse an entry they hold already. %1: the entry.
    FolderAlreadyListed,
    ExtensionAlreadyListed,

    // A job log's word for a file whose sending the user stopped.
    FileStopped,

    // What to do about the usual failures, after their status line. %1: the
    // server.
    HintCheckPassword,
    HintServerFull,
    HintConnectionRefused,

    // The status bar's mark of a failure the queue has not been opened for.
    FailureNotSeen,

    // Start Backup in the file explorer with no file ticked.
    NothingTicked,

    // What a screen reader says of controls that show an arrow, a ">" or a
    // list.
    Back,
    Menu,
    GoUp,
    GoToFolder,
    FolderPath,
    FolderContents,
    SubFolders,

    // What a tap on the home page's banner does, for a screen reader.
    BannerCountsAgain,

    // What to do while a list is empty.
    QueueEmptyHint,
    FoldersEmptyHint,
    ExtensionsEmptyHint,

    // The buttons of a question in the window's own message look.
    Yes,
    No,

    Count // the number of texts above, not a text
};

// The text in the current language.
QString extraText(ExtraText id);

} // namespace kyvane
