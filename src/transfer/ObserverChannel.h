#pragma once

#include "transfer/JobObserver.h"

#include <QReadWriteLock>

#include <atomic>
#include <functional>

namespace kyvane {

// The workers' way to their observer (the window). Every call runs on the
// observer's thread while the worker waits. When the window goes away it
// closes the channel first: from then on no call reaches it, and a worker
// waiting for its turn is released at once, so closing can never deadlock
// with a pending hand-over.
class ObserverChannel
{
public:
    explicit ObserverChannel(JobObserver* observer);

    // Runs call(observer) on the observer's thread and waits. False when the
    // channel is closed or the call could not run.
    bool run(const std::function<void(JobObserver&)>& call);

    // On the observer's thread. Afterwards run() returns false at once.
    void close();
    bool isClosed() const { return m_closed.load(); }

private:
    JobObserver* m_observer;
    QObject* m_context; // the window; never touched after close()
    std::atomic<bool> m_closed{false};
    // Held for reading while a call is being posted, for writing by close(),
    // so that nothing is posted to a window that is being destroyed.
    QReadWriteLock m_postLock;
};

} // namespace kyvane
