#pragma once

#include <QMutex>

namespace kyvane {

// Held for the whole of every queue row creation and update.
extern QMutex queueLock;

} // namespace kyvane
