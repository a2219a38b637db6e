#include "transfer/ServerLabels.h"

#include <QHash>

namespace kyvane {

namespace {

QList<ServerKey> serversOf(const QStringList& entries)
{
    QList<ServerKey> servers;
    for (const QString& line : entries)
        servers.append(JobEntry::split(line).serverKey());
    return servers;
}

} // namespace

ServerLabels::ServerLabels(const QStringList& entries) : ServerLabels(serversOf(entries)) {}

ServerLabels::ServerLabels(const QList<ServerKey>& servers)
{
    QHash<QString, ServerKey> firstLogin;
    for (const ServerKey& server : servers) {
        const auto known = firstLogin.constFind(server.address);
        if (known == firstLogin.constEnd())
            firstLogin.insert(server.address, server);
        else if (*known != server)
            m_sharedAddresses.insert(server.address);
    }
}

QString ServerLabels::label(const JobEntry& entry) const
{
    return label(entry.serverKey());
}

QString ServerLabels::label(const ServerKey& server) const
{
    if (!m_sharedAddresses.contains(server.address))
        return server.address;
    return QStringLiteral("%1:%2 %3").arg(server.address).arg(server.port).arg(server.account);
}

} // namespace kyvane
