#pragma once

#include <atomic>
#include <memory>

namespace kyvane {

// The stop of one backup worker. Once stopped it stays stopped: a worker
// started later gets a token of its own and never clears another's.
class StopToken final
{
public:
    bool isStopped() const { return m_stopped.load(); }
    void stop() { m_stopped = true; }

private:
    std::atomic<bool> m_stopped{false};
};

// Every worker's token, so that one command stops them all.
namespace StopTokens {

// A new token, not stopped, which stopAll() reaches for as long as it lives.
std::shared_ptr<StopToken> issue();

// Stops every token alive now: the queue's Stop, deleting an unfinished
// queue row, closing the window. Tokens issued afterwards are not stopped.
void stopAll();

} // namespace StopTokens

} // namespace kyvane
