#pragma once

#include "core/AppLists.h"
#include "selection/ScanClock.h"

#include <QString>
#include <QStringList>

namespace kyvane {

// Which files a folder scan takes, by their last-modification time.
struct ScanRequest
{
    enum class Kind {
        Today,    // the local day of now
        FiveDays, // within the 120 hours before now, or later
        DateRange // startdate <= day <= enddate, days as "YYYY/MM/DD" text
    };
    Kind kind = Kind::Today;
    QString startdate;
    QString enddate;
};

struct ScanResult
{
    // Server entry | full path, grouped by server in list order, then by
    // folder in list order, then in listing order.
    QStringList entries;
    // Backup folders that do not exist or cannot be listed, once each.
    QStringList passedOver;
    // Files the scan would have taken whose path cannot be stored in a job
    // (StorableName), once each, as printable text.
    QStringList passedOverFiles;
};

// Today's count, with what it could not look at, as a scan names it.
struct TodayCount
{
    int count = 0;
    QStringList passedOver;
    QStringList passedOverFiles;
};

// Turns the backup folders into job entries: for every server, every
// folder's own files (no sub-folders, hidden files included) that have a
// media extension, lie in no ".trashed" path and pass the date test of the
// scan. A folder ending in "/DCIM/Camera" is never scanned. Plain logic on
// the file system: no widget, no thread.
class JobBuilder
{
public:
    explicit JobBuilder(ScanClock clock = systemNow);

    ScanResult scan(const ScanRequest& request, const AppLists& lists) const;

    // Today's media files in the backup folders, each folder counted once
    // per listing in the folder list; the servers play no part. Folders that
    // cannot be listed add nothing, nor do files the scan passes over.
    int GetTodayFileCount(const AppLists& lists) const;
    // The same count, with the folders and files it passed over.
    TodayCount countToday(const AppLists& lists) const;

    // The extension list as comma text, ASCII lower-cased, with one ","
    // appended: the text the extension test searches.
    static QString targetExt(const QStringList& extensions);

    // The scans' tests of a file's full path: an extension found in
    // targetExt (as targetExt() gives it), and no ".trashed" anywhere.
    static bool passesNameTests(const QString& path, const QString& targetExt);

    // The folder test: the last 12 characters, ASCII lower-cased, are
    // "/dcim/camera".
    static bool isCameraFolder(const QString& folder);

    // The scan's date test ready to apply, for the DateRange split of a
    // date-range dialog's answer "From-To".
    static ScanRequest dateRangeFromAnswer(const QString& answer);

    std::chrono::system_clock::time_point now() const { return m_clock(); }

private:
    ScanClock m_clock;
};

} // namespace kyvane
