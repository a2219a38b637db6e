#pragma once

#include "core/HandOverChannel.h"
#include "transfer/JobObserver.h"

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
    void close() { m_channel.close(); }
    bool isClosed() const { return m_channel.isClosed(); }

private:
    JobObserver* m_observer;
    HandOverChannel m_channel;
};

} // namespace kyvane
