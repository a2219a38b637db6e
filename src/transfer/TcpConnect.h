#pragma once

#include "transfer/StopWait.h"

#include <QString>

namespace kyvane {

class StopToken;

// Opens a TCP connection over IPv4 to host (a name or an address) and port
// and returns its connected socket, which the caller then owns. The look-up
// of a name and the connection share one time-out; a stop, when given, ends
// either within kStopCheckMs. Throws TransferError, or TransferStopped when
// stopped.
int connectTcp(const QString& host, quint16 port, int timeoutMs, const StopToken* stop);

} // namespace kyvane
