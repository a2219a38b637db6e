#include "transfer/JobEntry.h"

namespace kyvane {

namespace {

// Takes the text before the first "|" off rest; when there is no "|" left
// the whole rest is taken and nothing remains.
QString takeField(QString& rest)
{
    const qsizetype bar = rest.indexOf(QLatin1Char('|'));
    QString field;
    if (bar < 0) {
        field = rest;
        rest.clear();
    } else {
        field = rest.left(bar);
        rest.remove(0, bar + 1);
    }
    return field;
}

} // namespace

JobEntry JobEntry::split(const QString& line)
{
    QString rest = line;
    JobEntry entry;
    entry.server = takeField(rest);
    entry.port = takeField(rest);
    entry.account = takeField(rest);
    entry.digest = takeField(rest);
    entry.path = rest;
    return entry;
}

quint16 JobEntry::portNumber() const
{
    bool ok = false;
    const int number = port.toInt(&ok, 10);
    // A port outside 0..65535 cannot be connected to; treat it like any
    // other field that is not a port number.
    if (!ok || number < 0 || number > 65535)
        return kDefaultPort;
    return static_cast<quint16>(number);
}

bool JobEntry::sameLogin(const JobEntry& other) const
{
    return server == other.server && portNumber() == other.portNumber() && account == other.account;
}

} // namespace kyvane
