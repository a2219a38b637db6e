#include "transfer/ServerEntry.h"

#include "transfer/Digest.h"
#include "transfer/JobEntry.h"
#include "transfer/WireFormat.h"

namespace kyvane::ServerEntry {

namespace {

QString joined(const QString& server, const QString& port, const QString& account,
               const QString& digest)
{
    const QChar bar(QLatin1Char('|'));
    return server + bar + port + bar + account + bar + digest;
}

} // namespace

QString addressField(const QString& entry)
{
    const qsizetype bar = entry.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return entry;
    return wire::trimControls(entry.left(bar));
}

Fields editorFields(const QString& entry)
{
    // A job line begins with the server entry, so it splits the same way.
    const JobEntry fields = JobEntry::split(entry);
    return {fields.server, fields.port, fields.account};
}

std::optional<QString> added(const QString& server, const QString& port, const QString& account,
                             const QString& password)
{
    const QString s = wire::trimControls(server);
    const QString p = wire::trimControls(port);
    const QString a = wire::trimControls(account);
    const QString pw = wire::trimControls(password);
    if (s.isEmpty() || p.isEmpty() || a.isEmpty() || pw.isEmpty())
        return std::nullopt;
    return joined(s, p, a, passwordDigest(pw));
}

std::optional<QString> edited(const QString& stored, const QString& server, const QString& port,
                              const QString& account, const QString& password)
{
    const QString s = wire::trimControls(server);
    const QString p = wire::trimControls(port);
    const QString a = wire::trimControls(account);
    if (s.isEmpty() || p.isEmpty() || a.isEmpty())
        return std::nullopt;
    const QString digest = wire::trimControls(password).isEmpty() ? JobEntry::split(stored).digest
                                                                  : passwordDigest(password);
    return joined(s, p, a, digest);
}

bool acceptedInAccount(QStringView typed)
{
    for (const char32_t c : typed.toUcs4()) {
        switch (QChar::category(c)) {
        case QChar::Letter_Uppercase:
        case QChar::Letter_Lowercase:
        case QChar::Letter_Titlecase:
        case QChar::Letter_Modifier:
        case QChar::Letter_Other:
        case QChar::Number_DecimalDigit:
        case QChar::Other_Control:
            break;
        default:
            return false;
        }
    }
    return true;
}

} // namespace kyvane::ServerEntry
