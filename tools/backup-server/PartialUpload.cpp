#include "PartialUpload.h"

#include "DiskCalls.h"
#include "PartialLock.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace kyvane::server {

PartialUpload::PartialUpload(QString account, PutRequest put, QString path, bool privateFile,
                             int fd, DiskCalls& calls)
    : m_account(std::move(account)), m_put(std::move(put)), m_path(std::move(path)),
      m_private(privateFile), m_fd(fd), m_calls(calls)
{
}

PartialUpload::~PartialUpload()
{
    // A private copy cannot be resumed by anyone; the shared one can.
    if (m_private && !m_stored)
        discard();
    close();
}

void PartialUpload::close()
{
    if (m_fd >= 0)
        ::close(m_fd); // drops the locks
    m_fd = -1;
}

qint64 PartialUpload::heldBytes() const
{
    struct stat status
    {
    };
    if (m_fd < 0 || ::fstat(m_fd, &status) != 0)
        return -1;
    return qint64(status.st_size);
}

bool PartialUpload::truncateTo(qint64 size, QString* error)
{
    if (::ftruncate(m_fd, off_t(size)) == 0)
        return true;
    if (error)
        *error = qt_error_string(errno);
    return false;
}

int PartialUpload::write(const char* data, qint64 size)
{
    return m_calls.write(m_fd, data, size);
}

void PartialUpload::letGo()
{
    if (!m_held || m_private)
        return;
    partiallock::letGo(m_fd);
    m_held = false;
}

bool PartialUpload::isLost() const
{
    return !m_held && (partiallock::heldByAnother(m_fd) || !partiallock::isStillAt(m_fd, m_path));
}

bool PartialUpload::takeBack(qint64 expectedBytes)
{
    if (m_held)
        return true;
    if (!partiallock::tryHold(m_fd))
        return false;
    if (!partiallock::isStillAt(m_fd, m_path) || heldBytes() != expectedBytes) {
        partiallock::letGo(m_fd);
        return false;
    }
    m_held = true;
    return true;
}

void PartialUpload::discard()
{
    if (m_fd >= 0 && partiallock::isStillAt(m_fd, m_path))
        ::unlink(QFile::encodeName(m_path).constData());
    markStored();
}

void PartialUpload::markStored()
{
    m_stored = true;
    close();
}

} // namespace kyvane::server
