#pragma once

#include "core/HandOverChannel.h"

#include <functional>
#include <memory>
#include <thread>
#include <utility>

namespace kyvane {

// Runs work on a short-lived thread of its own and hands its result to done
// on the thread of the channel's context. Nothing waits for the thread: work
// held up by a stale network mount holds only its own thread, and a channel
// closed meanwhile (its screen is going) drops the result.
template <class Result>
void runInBackground(std::shared_ptr<HandOverChannel> channel, std::function<Result()> work,
                     std::function<void(Result&)> done)
{
    std::thread([channel = std::move(channel), work = std::move(work),
                 done = std::move(done)]() mutable {
        Result result = work();
        channel->run([&] { done(result); });
    }).detach();
}

} // namespace kyvane
