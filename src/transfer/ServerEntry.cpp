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

bool holdsBarOrControl(const QString& text)
{
    for (const QChar c : text) {
        if (c == QLatin1Char('|') || c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    }
    return false;
}

bool isPortNumber(const QString& port)
{
    if (port.isEmpty() || port.size() > 5)
        return false;
    for (const QChar c : port) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    const int number = port.toInt();
    return number >= 1 && number <= 65535;
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

FieldProblem fieldProblem(const QString& server, const QString& port, const QString& account)
{
    if (holdsBarOrControl(wire::trimControls(server)))
        return FieldProblem::Server;
    if (!isPortNumber(wire::trimControls(port)))
        return FieldProblem::Port;
    if (holdsBarOrControl(wire::trimControls(account)))
        return FieldProblem::Account;
    return FieldProblem::None;
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
