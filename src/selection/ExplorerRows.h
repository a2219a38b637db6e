#pragma once

#include "selection/FolderListing.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace kyvane {

// One row of the file explorer's list, kept small because a folder may hold
// a hundred thousand files: a file row keeps its name only, its full path is
// the listed folder and the name.
struct ExplorerRow
{
    enum class Kind : std::uint8_t { Folder, File };

    QString text;                   // folder row: full path; file row: name
    qint64 modified = kUnknownTime; // file rows, milliseconds since the epoch
    qint64 size = -1;               // file rows, once a click has read it
    Kind kind = Kind::File;
    bool checked = false;
    // A file row of a FIFO, socket or device: listed, never offered for a
    // backup (no check box, tag 0).
    bool special = false;
    // 1 for a file row that was completed, else 0; only tag 1 is backed up.
    std::uint8_t tag = 0;
};

// The rows of the file explorer and what the side menu does with them. No
// widget: the screen shows these rows through a model.
class ExplorerRows
{
public:
    // Empties the list for a listing of folder (ending in "/").
    void clear(const QString& folder);
    void reserve(qsizetype rows) { m_rows.reserve(std::size_t(rows)); }
    const QString& folder() const { return m_folder; }

    int count() const { return int(m_rows.size()); }
    const ExplorerRow& at(int row) const { return m_rows[std::size_t(row)]; }
    ExplorerRow& at(int row) { return m_rows[std::size_t(row)]; }

    void appendFolder(const QString& fullPath);
    // A file row; its time, tag string and tag only when its time was read,
    // and tag 1 only for a regular file.
    void appendFile(ListedFile&& file);

    // The name line: a folder's last path component, a file's name.
    QString nameLine(int row) const;
    // A folder's full path; a file's time "yyyy-MM-dd hh:mm:ss", after a
    // click followed by eight spaces and the size text; empty when the time
    // is unknown.
    QString detailLine(int row) const;
    // The full path; empty for a file row that could not be completed.
    QString tagString(int row) const;

    // Select None: every row, folder rows too.
    void setAllChecked(bool checked);
    // Select All: the folder rows, and the file rows a scan would take by
    // name (an extension of targetExt, no ".trashed"); other file rows keep
    // their check, so such files can still be ticked by hand.
    void checkMedia(const QString& targetExt);
    // The manual backup: for each server in order, each checked file row
    // with tag 1 in row order, as "server entry|full path". A row whose full
    // path cannot be stored in a job is left out and, when passedOver is
    // given, named there once as printable text.
    QStringList checkedFileEntries(const QStringList& servers,
                                   QStringList* passedOver = nullptr) const;
    // Unchecks every file row; folder rows keep their check.
    void uncheckFiles();

private:
    QString m_folder;
    std::vector<ExplorerRow> m_rows;
};

// A time in milliseconds since the epoch as local "yyyy-MM-dd hh:mm:ss".
QString formatRowTime(qint64 msSinceEpoch);

} // namespace kyvane
