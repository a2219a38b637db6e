#pragma once

#include <QObject>
#include <QThreadPool>

#include <functional>

namespace kyvane::server {

// Runs the disk work of uploads (writing the bytes received, the sync and
// move of a finished file, the sweep) on threads of its own, so that a slow
// or failing disk holds up only the connection whose file it is, never the
// thread that serves the others.
class DiskJobs
{
public:
    // maxThreads: jobs that may run at once; one per connection is enough.
    explicit DiskJobs(int maxThreads);
    // Waits for the jobs under way; their results are dropped.
    ~DiskJobs();

    DiskJobs(const DiskJobs&) = delete;
    DiskJobs& operator=(const DiskJobs&) = delete;

    // Runs work on a disk thread, then done with its result on the thread of
    // context. context must live until done has run or waitForDone() has
    // returned; what work touches must be left alone meanwhile.
    template <typename Result>
    void run(QObject* context, std::function<Result()> work, std::function<void(Result)> done)
    {
        m_pool.start([context, work = std::move(work), done = std::move(done)] {
            Result result = work();
            QMetaObject::invokeMethod(
                context, [done, result = std::move(result)] { done(result); },
                Qt::QueuedConnection);
        });
    }
    // Runs work on a disk thread with no answer.
    void run(std::function<void()> work) { m_pool.start(std::move(work)); }

    void waitForDone() { m_pool.waitForDone(); }

private:
    QThreadPool m_pool;
};

} // namespace kyvane::server
