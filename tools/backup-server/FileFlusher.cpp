#include "FileFlusher.h"

#include "PartialUpload.h"

#include <QObject>
#include <QThread>

namespace kyvane::server {

FileFlusher::FileFlusher(int maxThreads)
{
    m_pool.setMaxThreadCount(std::max(1, maxThreads));
}

FileFlusher::~FileFlusher()
{
    m_pool.waitForDone();
}

void FileFlusher::flush(PartialUpload& upload, bool sync, int delayMs, QObject* context,
                        std::function<void(bool, const QString&)> done)
{
    upload.holdForFlush();
    PartialUpload* file = &upload;
    m_pool.start([file, sync, delayMs, context, done = std::move(done)] {
        if (delayMs > 0)
            QThread::msleep(ulong(delayMs));
        QString error;
        const bool flushed = file->flush(sync, &error);
        QMetaObject::invokeMethod(
            context, [done, flushed, error] { done(flushed, error); }, Qt::QueuedConnection);
    });
}

} // namespace kyvane::server
