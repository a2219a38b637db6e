#pragma once

#include "core/EngineSettings.h"
#include "core/OutcomeRecords.h"

#include <QStringList>

#include <memory>

namespace kyvane {

struct AppLists;
struct Dialogs;
class JobBuilder;
class ObserverChannel;

// What a screen may ask of the window around it. Screens never know each
// other: everything that crosses from one screen to another goes through
// here, and the main window carries it out.
class ScreenHost
{
public:
    // Switches to a screen (see screen::Index) and sets the header for it.
    virtual void ChangeTab(int index) = 0;

    // Where Back on the Queue screen returns to.
    virtual void setNavMarker(int marker) = 0;

    // Hides the home page's mark for a queue row not yet seen.
    virtual void hideQueueMarker() = 0;

    // Opens the file explorer on folder.
    virtual void openFileExplorer(const QString& folder) = 0;

    // Shows the details of a job (the one recorded as jobId, or when it is
    // 0 the pending job jobName) with its log.
    virtual void openJobDetails(const QString& jobName, qint64 jobId) = 0;

    // Enables or disables the header's Back button (while the file explorer
    // lists a folder).
    virtual void setBackEnabled(bool enabled) = 0;

    // The newest line of the status bar.
    virtual void setStatusLine(const QString& line) = 0;

    // What a backup worker started from a screen reports to, and the limits
    // it runs with.
    virtual std::shared_ptr<ObserverChannel> observerChannel() const = 0;
    virtual const EngineSettings& engineSettings() const = 0;

    // The server, folder and extension lists of the program.
    virtual AppLists& appLists() = 0;

    // The scans of the backup folders, with the window's clock.
    virtual const JobBuilder& jobBuilder() const = 0;
    // Today's count anew, after the folder or extension list changed.
    virtual void recountTodayFiles() = 0;

    // Starts a backup job of kind with entries (server entry | file path):
    // names it, writes its job file, records it and starts its worker. Says
    // why when it cannot; false then, and nothing was started.
    virtual bool startJob(const QStringList& entries, const JobKind& kind) = 0;

    // The dialogs, created once with the window.
    virtual Dialogs& dialogs() = 0;

    // Builds the settings list's rows again from the server list.
    virtual void prepareSettings() = 0;

    // Opens the server editor for the settings row tagged tag.
    virtual void openServerEditor(int tag) = 0;

    // Build the rows of the backup folders and file extensions screens from
    // their lists.
    virtual void PrepareFolderList() = 0;
    virtual void PrepareExtList() = 0;

    // The language dialog's answer: switches to the language it names and
    // stores it; the empty string (Cancel) changes nothing.
    virtual void ChooseLanguageCallBack(const QString& AselectedItem) = 0;

protected:
    ~ScreenHost() = default;
};

} // namespace kyvane
