#include "core/HandOverChannel.h"

#include "core/HandOver.h"

#include <QObject>
#include <QThread>

namespace kyvane {

HandOverChannel::HandOverChannel(QObject* context) : m_context(context) {}

bool HandOverChannel::run(const std::function<void()>& call)
{
    bool ran = false;
    const std::function<void()> callOpen = [this, &call, &ran] {
        if (!m_closed.load()) {
            ran = true;
            call();
        }
    };

    QReadLocker locker(&m_postLock);
    if (m_closed.load() || !m_context)
        return false;
    if (m_context->thread() == QThread::currentThread()) {
        locker.unlock();
        return handOver(m_context, callOpen) && ran;
    }
    // Posted under the lock, so close() cannot slip in between the check
    // above and the post and let the context go while the post reaches it.
    const auto posted = PostedCall::post(m_context, callOpen);
    locker.unlock();
    return posted->wait(&m_closed) && ran;
}

void HandOverChannel::close()
{
    QWriteLocker locker(&m_postLock);
    m_closed = true;
}

} // namespace kyvane
