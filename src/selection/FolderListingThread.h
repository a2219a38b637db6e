#pragma once

#include "selection/FolderListing.h"

#include <QThread>

#include <memory>
#include <vector>

namespace kyvane {

class HandOverChannel;

// What a folder listing does to the screen. Each call runs on the
// user-interface thread while the listing thread waits.
class ListingSink
{
public:
    // Prepare: the wait state, the list emptied.
    virtual void listingPrepared() = 0;
    // Folder rows in order; filesToCome tells how many file rows may follow.
    virtual void addFolderRows(const QStringList& fullPaths, qsizetype filesToCome) = 0;
    // File rows in order, each only while the listing is not cancelled;
    // false when it stopped because it was.
    virtual bool addFileRows(std::vector<ListedFile>& files) = 0;
    // Finish: the idle state again; readable false when the folder could not
    // be listed; passedOver the entries whose names cannot be stored.
    virtual void listingFinished(bool readable, const QStringList& passedOver) = 0;

protected:
    ~ListingSink() = default;
};

// One listing of one folder on a short-lived thread of its own: prepare,
// read and sort, folder rows, file rows, finish. Rows go over in batches so
// that a big folder lists fast while the user-interface thread stays free
// between two batches. Closing the channel ends the listing at its next
// step without reaching the sink again: that is how a newer listing or the
// closing screen stops it. Deletes itself when it ends.
class FolderListingThread final : public QThread
{
    Q_OBJECT

public:
    // How many rows one hand-over carries at most.
    static constexpr int kBatchRows = 512;

    // Starts listing folder (ending in "/") into sink through channel.
    static void start(const QString& folder, std::shared_ptr<HandOverChannel> channel,
                      ListingSink* sink);

protected:
    void run() override;

private:
    FolderListingThread(const QString& folder, std::shared_ptr<HandOverChannel> channel,
                        ListingSink* sink);

    QString m_folder;
    std::shared_ptr<HandOverChannel> m_channel;
    ListingSink* m_sink; // reached only through the channel
};

} // namespace kyvane
