#include "PartialUpload.h"

#include "BackupStorage.h"

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace kyvane::server {

PartialUpload::PartialUpload(BackupStorage& storage, QString account, PutRequest put, QString path,
                             bool privateFile)
    : m_storage(storage), m_account(std::move(account)), m_put(std::move(put)),
      m_path(std::move(path)), m_private(privateFile), m_file(m_path)
{
}

PartialUpload::~PartialUpload()
{
    if (!m_done) {
        // A private copy cannot be resumed by anyone; the shared one can.
        if (m_private)
            discard();
        else
            suspend();
    }
    m_storage.release(m_path, this);
}

bool PartialUpload::open(QString* error)
{
    // Unbuffered: the bytes go straight from our receive buffer to the file.
    m_idle.start();
    if (m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return true;
    if (error)
        *error = m_file.errorString();
    return false;
}

bool PartialUpload::truncateTo(qint64 size, QString* error)
{
    if (m_file.resize(size))
        return true;
    if (error)
        *error = m_file.errorString();
    return false;
}

bool PartialUpload::write(const char* data, qint64 size, QString* error)
{
    m_idle.start();
    if (m_file.write(data, size) == size)
        return true;
    if (error)
        *error = m_file.errorString();
    return false;
}

bool PartialUpload::flush(bool sync, QString* error)
{
    if (m_put.modified.isValid())
        m_file.setFileTime(m_put.modified, QFileDevice::FileModificationTime);
#ifndef Q_OS_UNIX
    Q_UNUSED(sync)
#else
    // One sync per file, so that an acknowledged file survives a power loss.
    if (sync && ::fdatasync(m_file.handle()) != 0) {
        if (error)
            *error = QStringLiteral("cannot sync the partial file");
        return false;
    }
#endif
    return true;
}

QString PartialUpload::complete(QString* error)
{
    m_flushing = false;
    m_file.close();
    m_done = true;
    const auto stored = m_storage.place(m_path, m_account, m_put, error);
    if (!stored && m_private)
        QFile::remove(m_path);
    return stored.value_or(QString());
}

void PartialUpload::suspend()
{
    m_flushing = false;
    m_file.close();
    m_done = true;
}

void PartialUpload::discard()
{
    m_file.close();
    QFile::remove(m_path);
    m_done = true;
}

bool PartialUpload::revoke()
{
    if (m_flushing || m_done)
        return false;
    m_file.close();
    m_done = true;
    if (m_onRevoked)
        m_onRevoked();
    return true;
}

} // namespace kyvane::server
