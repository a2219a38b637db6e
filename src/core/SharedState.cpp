#include "core/SharedState.h"

namespace kyvane {

std::atomic<bool> stopRequested{false};
QMutex queueLock;

} // namespace kyvane
