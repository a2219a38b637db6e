#pragma once

#include <QReadWriteLock>

#include <atomic>
#include <functional>

class QObject;

namespace kyvane {

// A background thread's way to an object on the user-interface thread:
// every call runs on the context's thread while the caller waits. Once the
// channel is closed no call reaches the context any more, and a caller
// waiting for its turn is released at once, so the context can be destroyed
// right after close() and closing can never deadlock with a pending call.
class HandOverChannel
{
public:
    explicit HandOverChannel(QObject* context);

    // Runs call on the context's thread and waits. False when the channel
    // is closed or the call did not run.
    bool run(const std::function<void()>& call);

    // On the context's thread. Afterwards run() returns false at once.
    void close();
    bool isClosed() const { return m_closed.load(); }
    const std::atomic<bool>& closedFlag() const { return m_closed; }

private:
    QObject* m_context; // never touched after close()
    std::atomic<bool> m_closed{false};
    // Held for reading while a call is being posted, for writing by close(),
    // so that nothing is posted to a context that is being destroyed.
    QReadWriteLock m_postLock;
};

} // namespace kyvane
