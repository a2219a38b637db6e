#pragma once

#include <QFile>
#include <QString>

namespace kyvane::server {

// An optional record of what the server received, for tests: each received
// protocol line as "<connection> <line>", and events in brackets, such as
// "<connection> [open 127.0.0.1:40112]" and "<connection> [closed]". Every
// line is flushed at once so a reader sees it while the server runs.
class Transcript
{
public:
    // Appends to path; an empty path makes a transcript that records nothing.
    bool open(const QString& path, QString* error);
    void line(quint64 connection, const QString& text);
    void event(quint64 connection, const QString& text);

private:
    QFile m_file;
};

} // namespace kyvane::server
