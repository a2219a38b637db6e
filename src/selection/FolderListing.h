#pragma once

#include <QString>
#include <QStringList>

#include <atomic>
#include <limits>
#include <vector>

namespace kyvane {

// A file's last-modification time that could not be read (the file vanished
// between the listing and the reading of its time, or a link leads nowhere).
constexpr qint64 kUnknownTime = std::numeric_limits<qint64>::min();

// One file of a listed folder: its name and the last-modification time read
// once while listing, in milliseconds since the epoch.
struct ListedFile
{
    QString name;
    qint64 modified = kUnknownTime;
    // A regular file (or a link to one), the only kind a backup can send: a
    // FIFO would hold the reader, a device would be read without end.
    bool regular = true;
};

// One level of a folder, sorted for the file explorer.
struct FolderContents
{
    // False when the folder does not exist, is no folder or cannot be read.
    bool readable = false;
    // Full paths of the sub-folders, by CompareFolderPaths.
    QStringList folders;
    // The other entries (files, links, devices...), newest first by
    // CompareFileTimes.
    std::vector<ListedFile> files;
    // Entries left out because their names cannot be stored in a job
    // (StorableName), as printable text, in listing order.
    QStringList passedOver;
};

// Folder order: both full paths lower-cased, then compared by character
// code. Negative, zero or positive as a comes before, with or after b.
int CompareFolderPaths(const QString& a, const QString& b);

// File order: the later last-modification time first; equal times compare
// equal. A file whose time is unknown comes after every file with a time,
// so that the order stays a strict weak ordering for the sort.
int CompareFileTimes(const ListedFile& a, const ListedFile& b);

// The path as the folder to list: with a "/" appended unless it ends in one
// or is empty.
QString folderWithSeparator(const QString& path);

// Go up: the path without a trailing "/" (unless it is "/" alone), then up to
// its last "/", without that "/" unless the result is the root. The parent of
// the root is the root; a path without "/" is its own parent.
QString parentFolder(const QString& path);

// Reads one level of folder (ending in "/"), hidden entries included, without
// opening any file: the directory entries and one time read per file. The
// sort compares times already read, so it makes no file-system call. stop,
// when set, ends the reading early with what was read so far. A relative or
// empty path is not readable. Entries whose names cannot be stored in a job
// are passed over and named in passedOver.
FolderContents readFolder(const QString& folder, const std::atomic<bool>* stop = nullptr);

// The sub-folders of folder (ending in "/") only, hidden ones included, as
// full paths by CompareFolderPaths: the folder chooser's list. Files are not
// looked at beyond their directory entry. Empty when the folder cannot be
// read or its path is relative.
QStringList readSubFolders(const QString& folder);

} // namespace kyvane
