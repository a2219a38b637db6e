#pragma once

#include <functional>

class QObject;

namespace kyvane {

// Runs call on the thread of context and waits until it has run: the
// synchronous hand-over between a worker and the user-interface thread. When
// the caller already is on that thread the call runs directly. An exception
// thrown by call is swallowed, so a failing screen update never ends a
// worker. Returns false when the call could not be delivered (context gone,
// or its thread not running an event loop and the call was dropped).
bool handOver(QObject* context, const std::function<void()>& call);

} // namespace kyvane
