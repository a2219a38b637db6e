#pragma once

#include "core/OutcomeRecords.h"
#include "transfer/JobEntry.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace kyvane {

// How the screen names the server of a job's entry: by its address, and
// where the job goes to two servers at that address (two ports or two
// accounts), by "address:port account" so the two can be told apart.
class ServerLabels
{
public:
    // From the job's entries (server|port|account|digest|path).
    explicit ServerLabels(const QStringList& entries);
    // From the servers of a job's entries, as the outcome store keeps them.
    explicit ServerLabels(const QList<ServerKey>& servers);

    QString label(const JobEntry& entry) const;
    QString label(const ServerKey& server) const;

private:
    QSet<QString> m_sharedAddresses;
};

} // namespace kyvane
