#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace kyvane::server {

// Removes the partial files nobody will finish: private ones (a copy
// received beside a busy shared partial, ".<name>.<16 hex digits>.partial"),
// which only their own connection could complete, and shared ones last
// written before olderThan. A partial file that a connection of any process
// has open is never removed (see PartialLock.h). Returns one line per removed
// file for the log: "ACCOUNT/FILE (N bytes, private|last written ...)".
QStringList sweepPartials(const QString& root, const QDateTime& olderThan);

// True for the name of a private partial file.
bool isPrivatePartialName(const QString& fileName);

} // namespace kyvane::server
