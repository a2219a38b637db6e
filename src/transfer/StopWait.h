#pragma once

class QDeadlineTimer;

namespace kyvane {

class StopToken;

// How often a wait for the network looks at the worker's stop.
constexpr int kStopCheckMs = 200;

// Throws TransferStopped when there is a stop and it is set.
void throwIfStopped(const StopToken* stop);

// How long the next wait may last: up to the deadline, and short enough to
// see a stop in time when there is one to see.
int nextWaitMs(const QDeadlineTimer& deadline, const StopToken* stop);

// Waits until the socket fd is ready for events or has an error to report,
// at most until deadline. 0 when ready, ETIMEDOUT once the deadline has
// passed, else the error of the wait. Throws TransferStopped once stopped.
int waitForSocket(int fd, short events, const QDeadlineTimer& deadline, const StopToken* stop);

} // namespace kyvane
