#pragma once

#include <QMutex>

#include <atomic>

namespace kyvane {

// The one stop flag of all backup workers. Set by Stop, by deleting an
// unfinished queue row and by closing the window; cleared whenever a worker
// is created; polled by workers before each entry and each chunk.
extern std::atomic<bool> stopRequested;

// Held for the whole of every queue row creation and update.
extern QMutex queueLock;

} // namespace kyvane
