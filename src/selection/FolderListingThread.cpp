#include "selection/FolderListingThread.h"

#include "core/HandOverChannel.h"

#include <algorithm>
#include <iterator>

namespace kyvane {

FolderListingThread::FolderListingThread(const QString& folder,
                                         std::shared_ptr<HandOverChannel> channel,
                                         ListingSink* sink)
    : m_folder(folder), m_channel(std::move(channel)), m_sink(sink)
{
    connect(this, &QThread::finished, this, &QObject::deleteLater);
}

void FolderListingThread::start(const QString& folder, std::shared_ptr<HandOverChannel> channel,
                                ListingSink* sink)
{
    (new FolderListingThread(folder, std::move(channel), sink))->QThread::start();
}

void FolderListingThread::run()
{
    if (!m_channel->run([this] { m_sink->listingPrepared(); }))
        return;

    FolderContents contents = readFolder(m_folder, &m_channel->closedFlag());

    // Folder rows are always listed in full.
    const qsizetype fileCount = qsizetype(contents.files.size());
    for (qsizetype first = 0; first < contents.folders.size() || first == 0; first += kBatchRows) {
        const QStringList batch = contents.folders.mid(first, kBatchRows);
        if (!m_channel->run([&] { m_sink->addFolderRows(batch, fileCount); }))
            return;
    }
    contents.folders.clear();

    auto next = contents.files.begin();
    bool goOn = true;
    while (goOn && next != contents.files.end()) {
        const auto end = next + std::min<std::ptrdiff_t>(kBatchRows, contents.files.end() - next);
        std::vector<ListedFile> batch(std::make_move_iterator(next), std::make_move_iterator(end));
        next = end;
        if (!m_channel->run([&] { goOn = m_sink->addFileRows(batch); }))
            return;
    }
    // Gives the memory back before the finish step.
    std::vector<ListedFile>().swap(contents.files);

    const bool readable = contents.readable;
    m_channel->run([&] { m_sink->listingFinished(readable, contents.passedOver); });
}

} // namespace kyvane
