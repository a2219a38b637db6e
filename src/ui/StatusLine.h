#pragma once

#include <QString>
#include <QStringList>

namespace kyvane {

// What the status bar says. Every line a worker or a screen gives replaces
// the one before, but for a failure: the newest failure stays until the user
// has opened the queue, so that a later "existed" line does not hide it, and
// the usual failures get a hint of what to do. A line whose server has been
// deleted, or that is in a language no longer shown, goes.
class StatusLine
{
public:
    void show(const QString& line);

    // The user has seen the queue, where failed jobs show why.
    void queueOpened();
    // servers: server.cfg's entries now.
    void serversChanged(const QStringList& servers);
    // The texts of the current language are applied: a line in another
    // language goes.
    void languageApplied();

    QString text() const { return m_text; }
    bool failurePending() const { return m_failurePending; }

    // The hint for a failure's log line in the current language, or empty.
    static QString hintFor(const QString& line);

private:
    QString m_line; // as given, without a hint
    QString m_text;
    int m_language = -1; // of the line
    bool m_failurePending = false;
    void clear();
};

} // namespace kyvane
