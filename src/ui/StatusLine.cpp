#include "ui/StatusLine.h"

#include "i18n/ExtraTexts.h"
#include "i18n/LanguageRes.h"
#include "transfer/JobEntry.h"

#include <cerrno>
#include <cstring>

namespace kyvane {

namespace {

constexpr int kKeyLoginFailed = 36;

bool isFailure(const QString& line)
{
    return line.contains(QLatin1String("][FAIL] "));
}

// The server a worker's line begins with: "[label]", where label is the
// address or "address:port account".
QString serverLabelOf(const QString& line)
{
    if (!line.startsWith(QLatin1Char('[')))
        return {};
    const qsizetype end = line.indexOf(QLatin1String("]["));
    return end > 1 ? line.mid(1, end - 1) : QString();
}

bool labelNamesAServer(const QString& label, const QStringList& servers)
{
    for (const QString& server : servers) {
        const JobEntry entry = JobEntry::split(server + QLatin1Char('|'));
        if (label == entry.server || label == entry.server + QLatin1Char(':') + entry.port +
                                                  QLatin1Char(' ') + entry.account)
            return true;
    }
    return false;
}

// What a full store answers: the reference server's replies, in English.
bool isFullServer(const QString& line)
{
    for (const char* reply :
         {"disk full", "not enough free space", "quota exceeded", "too large for the store"}) {
        if (line.contains(QLatin1String(reply), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace

QString StatusLine::hintFor(const QString& line)
{
    if (!isFailure(line))
        return {};
    const QString server = serverLabelOf(line);
    // A server no longer in Settings says so itself; there is nothing to
    // correct there.
    if (line.contains(langText(kKeyLoginFailed)) &&
        !line.contains(extraText(ExtraText::ServerNoLongerConfigured)))
        return extraText(ExtraText::HintCheckPassword).arg(server);
    if (isFullServer(line))
        return extraText(ExtraText::HintServerFull).arg(server);
    // The worker names a refused connection in the words of the system.
    if (line.contains(QString::fromLocal8Bit(std::strerror(ECONNREFUSED))))
        return extraText(ExtraText::HintConnectionRefused).arg(server);
    return {};
}

void StatusLine::show(const QString& line)
{
    const bool failure = isFailure(line);
    if (m_failurePending && !failure)
        return; // the failure stays until the queue is opened
    m_failurePending = failure;
    m_line = line;
    m_language = currentLanguage();
    const QString hint = hintFor(line);
    m_text = hint.isEmpty() ? line : line + QStringLiteral(" — ") + hint;
}

void StatusLine::queueOpened()
{
    m_failurePending = false;
}

void StatusLine::serversChanged(const QStringList& servers)
{
    const QString label = serverLabelOf(m_line);
    if (!label.isEmpty() && !labelNamesAServer(label, servers))
        clear();
}

void StatusLine::languageApplied()
{
    if (!m_line.isEmpty() && m_language != currentLanguage())
        clear();
}

void StatusLine::clear()
{
    m_line.clear();
    m_text.clear();
    m_failurePending = false;
}

} // namespace kyvane
