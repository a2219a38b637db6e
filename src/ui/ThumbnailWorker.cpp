#include "ui/ThumbnailWorker.h"

#include "core/HandOverChannel.h"
#include "ui/ThumbnailCache.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

namespace kyvane {

namespace {

// How long going away waits for a thumbnail being made; one held up by a
// stale network mount is left to end on its own.
constexpr std::chrono::seconds kEndWait(2);

} // namespace

struct ThumbnailWorker::Shared
{
    std::mutex mutex;
    std::condition_variable changed;
    std::optional<Request> click;
    std::deque<Request> inView;
    bool working = false;
    bool ending = false;
    bool ended = false;

    bool hasWork() const { return click || !inView.empty(); }
    Request takeNext()
    {
        if (click) {
            Request next = std::move(*click);
            click.reset();
            return next;
        }
        Request next = std::move(inView.front());
        inView.pop_front();
        return next;
    }
};

ThumbnailWorker::ThumbnailWorker(PictureBudget budget, Ready ready, QObject* parent)
    : QObject(parent), m_shared(std::make_shared<Shared>()),
      m_channel(std::make_shared<HandOverChannel>(this))
{
    std::thread([shared = m_shared, channel = m_channel, budget, ready = std::move(ready)] {
        std::unique_lock lock(shared->mutex);
        for (;;) {
            shared->changed.wait(lock, [&] { return shared->ending || shared->hasWork(); });
            if (shared->ending)
                break;
            const Request request = shared->takeNext();
            shared->working = true;
            lock.unlock();
            const QImage image = ThumbnailCache::thumbnailFor(request.path, request.box, budget);
            // Runs on the owner's thread; not at all once the owner is gone.
            channel->run([&] { ready(request.ticket, request.path, image); });
            lock.lock();
            shared->working = false;
        }
        shared->ended = true;
        shared->changed.notify_all();
    }).detach();
}

ThumbnailWorker::~ThumbnailWorker()
{
    m_channel->close();
    std::unique_lock lock(m_shared->mutex);
    m_shared->ending = true;
    m_shared->changed.notify_all();
    m_shared->changed.wait_for(lock, kEndWait, [this] { return m_shared->ended; });
}

void ThumbnailWorker::request(quint64 ticket, const QString& path, const QSize& box)
{
    const std::lock_guard lock(m_shared->mutex);
    m_shared->click = Request{ticket, path, box};
    m_shared->changed.notify_all();
}

void ThumbnailWorker::requestInView(const QList<Request>& requests)
{
    const std::lock_guard lock(m_shared->mutex);
    m_shared->inView.assign(requests.cbegin(), requests.cend());
    m_shared->changed.notify_all();
}

bool ThumbnailWorker::isBusy() const
{
    const std::lock_guard lock(m_shared->mutex);
    return m_shared->working || m_shared->hasWork();
}

} // namespace kyvane
