#pragma once

#include <atomic>
#include <functional>
#include <memory>

class QObject;

namespace kyvane {

// Runs call on the thread of context and waits until it has run: the
// synchronous hand-over between a worker and the user-interface thread. When
// the caller already is on that thread the call runs directly. An exception
// thrown by call is swallowed, so a failing screen update never ends a
// worker.
//
// Returns false when the call did not run: context is null or was destroyed
// before the call came up, or abandon was set while the call still waited
// for its turn (the user-interface thread is shutting down and will not run
// it). A call that has begun always runs to its end before this returns.
bool handOver(QObject* context, const std::function<void()>& call,
              const std::atomic<bool>* abandon = nullptr);

// The two halves of handOver() for callers that must post under a lock of
// their own and wait outside it. call must stay alive until wait() returns.
class PostedCall
{
public:
    // Posts call to the thread of context (which must not be the caller's).
    static std::shared_ptr<PostedCall> post(QObject* context, const std::function<void()>& call);

    // Waits as handOver() does; true when the call ran.
    bool wait(const std::atomic<bool>* abandon);

    struct Shared;

private:
    explicit PostedCall(std::shared_ptr<Shared> shared);
    std::shared_ptr<Shared> m_shared;
};

} // namespace kyvane
