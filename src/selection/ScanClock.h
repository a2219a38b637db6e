#pragma once

#include <chrono>
#include <functional>

namespace kyvane {

// Where the job builder reads "now". The program reads the system clock;
// tests put "now" anywhere without waiting.
using ScanClock = std::function<std::chrono::system_clock::time_point()>;

inline std::chrono::system_clock::time_point systemNow()
{
    return std::chrono::system_clock::now();
}

} // namespace kyvane
