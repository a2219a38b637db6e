#include "Transcript.h"

namespace kyvane::server {

bool Transcript::open(const QString& path, QString* error)
{
    if (path.isEmpty())
        return true;
    m_file.setFileName(path);
    if (m_file.open(QIODevice::WriteOnly | QIODevice::Append))
        return true;
    if (error)
        *error =
            QStringLiteral("cannot open the transcript %1: %2").arg(path, m_file.errorString());
    return false;
}

void Transcript::line(quint64 connection, const QString& text)
{
    if (!m_file.isOpen())
        return;
    m_file.write(QString::number(connection).toUtf8() + ' ' + text.toUtf8() + '\n');
    m_file.flush();
}

void Transcript::event(quint64 connection, const QString& text)
{
    line(connection, QLatin1Char('[') + text + QLatin1Char(']'));
}

} // namespace kyvane::server
