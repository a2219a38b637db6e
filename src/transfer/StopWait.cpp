#include "transfer/StopWait.h"

#include "core/StopToken.h"
#include "transfer/TransferError.h"

#include <QDeadlineTimer>

#include <poll.h>

#include <algorithm>
#include <cerrno>

namespace kyvane {

void throwIfStopped(const StopToken* stop)
{
    if (stop && stop->isStopped())
        throw TransferStopped();
}

int nextWaitMs(const QDeadlineTimer& deadline, const StopToken* stop)
{
    const qint64 left = std::max<qint64>(0, deadline.remainingTime());
    return int(stop ? std::min<qint64>(left, kStopCheckMs) : left);
}

int waitForSocket(int fd, short events, const QDeadlineTimer& deadline, const StopToken* stop)
{
    pollfd entry{fd, events, 0};
    for (;;) {
        throwIfStopped(stop);
        if (deadline.hasExpired())
            return ETIMEDOUT;
        const int ready = ::poll(&entry, 1, nextWaitMs(deadline, stop));
        if (ready > 0)
            return 0;
        if (ready < 0 && errno != EINTR)
            return errno;
    }
}

} // namespace kyvane
