#pragma once

#include "core/OutcomeRecords.h"

#include <QString>

namespace kyvane {

// One line of a job: address|port|account|digest|path. The path is
// everything after the fourth "|" and may itself hold "|".
struct JobEntry
{
    QString server;
    QString port;
    QString account;
    QString digest;
    QString path;

    static JobEntry split(const QString& line);

    // The TCP port of the entry: the port field read as a decimal number,
    // 25714 when it is not a whole number in the port range.
    quint16 portNumber() const;

    // Whether one connection and login serve both entries: the same address
    // (compared exactly), port and account.
    bool sameLogin(const JobEntry& other) const;

    // The server as the outcome store keys it: address, port number and
    // account.
    ServerKey serverKey() const { return {server, portNumber(), account}; }
    // Whether the path names a file from the root of the file system. Any
    // other path would be read from the working folder, which no entry the
    // program writes ever means.
    bool hasFullPath() const { return path.startsWith(QLatin1Char('/')); }
};

constexpr quint16 kDefaultPort = 25714;

} // namespace kyvane
