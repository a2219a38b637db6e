#pragma once

#include <QString>
#include <QThreadPool>

#include <functional>

class QObject;

namespace kyvane::server {

class PartialUpload;

// Flushes finished files to disk on threads of its own, so that a slow disk
// holds up only the connection whose file it is writing, never the thread
// that serves the others.
class FileFlusher
{
public:
    // maxThreads: flushes that may run at once; one per connection is enough.
    explicit FileFlusher(int maxThreads);
    // Waits for the flushes under way; their results are dropped.
    ~FileFlusher();

    FileFlusher(const FileFlusher&) = delete;
    FileFlusher& operator=(const FileFlusher&) = delete;

    // Flushes upload (see PartialUpload::flush), after delayMs when above 0,
    // then calls done with the outcome on the thread of context, unless
    // context is gone by then. Neither upload nor context may be destroyed
    // before done has run or waitForDone() has returned.
    void flush(PartialUpload& upload, bool sync, int delayMs, QObject* context,
               std::function<void(bool flushed, const QString& error)> done);
    void waitForDone() { m_pool.waitForDone(); }

private:
    QThreadPool m_pool;
};

} // namespace kyvane::server
