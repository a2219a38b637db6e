#include "transfer/ObserverChannel.h"

#include "transfer/HandOver.h"

#include <QThread>

namespace kyvane {

ObserverChannel::ObserverChannel(JobObserver* observer)
    : m_observer(observer), m_context(observer ? observer->context() : nullptr)
{
}

bool ObserverChannel::run(const std::function<void(JobObserver&)>& call)
{
    const std::function<void()> callObserver = [this, &call] {
        if (!m_closed.load())
            call(*m_observer);
    };

    QReadLocker locker(&m_postLock);
    if (m_closed.load() || !m_context)
        return false;
    if (m_context->thread() == QThread::currentThread()) {
        locker.unlock();
        return handOver(m_context, callObserver);
    }
    // Posted under the lock, so close() cannot slip in between the check
    // above and the post and let the window go while the post reaches it.
    const auto posted = PostedCall::post(m_context, callObserver);
    locker.unlock();
    return posted->wait(&m_closed);
}

void ObserverChannel::close()
{
    QWriteLocker locker(&m_postLock);
    m_closed = true;
}

} // namespace kyvane
