#include "core/SharedState.h"

namespace kyvane {

QMutex queueLock;

} // namespace kyvane
