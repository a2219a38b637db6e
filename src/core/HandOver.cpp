#include "core/HandOver.h"

#include "core/Logging.h"

#include <QMetaObject>
#include <QObject>
#include <QSemaphore>
#include <QThread>

#include <exception>

namespace kyvane {

namespace {

void runSwallowing(const std::function<void()>& call)
{
    try {
        call();
    } catch (const std::exception& e) {
        qCWarning(lcTransfer) << "hand-over failed:" << e.what();
    } catch (...) {
        qCWarning(lcTransfer) << "hand-over failed";
    }
}

enum State { Waiting, Running, Done, Dropped };

} // namespace

// What the waiting thread and the posted call share.
struct PostedCall::Shared
{
    std::atomic<int> state{Waiting};
    QSemaphore finished;
};

namespace {

// Travels inside the posted event. If the event is thrown away unrun (its
// receiver was destroyed), the ticket tells the waiter as it goes.
struct Ticket
{
    explicit Ticket(std::shared_ptr<PostedCall::Shared> s) : shared(std::move(s)) {}
    Ticket(const Ticket&) = delete;
    Ticket& operator=(const Ticket&) = delete;
    ~Ticket()
    {
        int expected = Waiting;
        if (shared->state.compare_exchange_strong(expected, Dropped))
            shared->finished.release();
    }

    std::shared_ptr<PostedCall::Shared> shared;
};

} // namespace

PostedCall::PostedCall(std::shared_ptr<Shared> shared) : m_shared(std::move(shared)) {}

std::shared_ptr<PostedCall> PostedCall::post(QObject* context, const std::function<void()>& call)
{
    auto shared = std::make_shared<Shared>();
    auto ticket = std::make_shared<Ticket>(shared);
    const bool posted = context && QMetaObject::invokeMethod(
                                       context,
                                       [ticket, &call] {
                                           int expected = Waiting;
                                           if (!ticket->shared->state.compare_exchange_strong(
                                                   expected, Running))
                                               return; // the waiter gave up
                                           runSwallowing(call);
                                           ticket->shared->state = Done;
                                           ticket->shared->finished.release();
                                       },
                                       Qt::QueuedConnection);
    // From here on only the posted event holds the ticket; when it was not
    // posted, dropping the ticket marks the call as dropped.
    ticket.reset();
    (void)posted;
    return std::shared_ptr<PostedCall>(new PostedCall(std::move(shared)));
}

bool PostedCall::wait(const std::atomic<bool>* abandon)
{
    constexpr int kPollMs = 20;
    for (;;) {
        if (m_shared->finished.tryAcquire(1, abandon ? kPollMs : -1))
            return m_shared->state == Done;
        int expected = Waiting;
        if (abandon && abandon->load() &&
            m_shared->state.compare_exchange_strong(expected, Dropped))
            return false;
        // Otherwise the call is running right now: wait for its end.
    }
}

bool handOver(QObject* context, const std::function<void()>& call,
              const std::atomic<bool>* abandon)
{
    if (!context)
        return false;
    if (context->thread() == QThread::currentThread()) {
        runSwallowing(call);
        return true;
    }
    return PostedCall::post(context, call)->wait(abandon);
}

} // namespace kyvane
