#pragma once

#include <QString>

#include <stdexcept>

namespace kyvane {

// A failure of the connection or of a file during a transfer. Its message
// ends up in the job's log line between " (" and ")".
class TransferError : public std::runtime_error
{
public:
    explicit TransferError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }

    QString message() const { return m_message; }

private:
    QString m_message;
};

// The worker's stop came while it waited for the server: the connection is
// closed and the file under way is cancelled, not failed.
class TransferStopped : public TransferError
{
public:
    TransferStopped() : TransferError(QStringLiteral("Stopped.")) {}
};

} // namespace kyvane
