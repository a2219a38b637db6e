#include "DiskError.h"

#include <QtGlobal>

#include <cerrno>

namespace kyvane::server {

QString DiskError::text() const
{
    return QStringLiteral("cannot %1: %2").arg(action, qt_error_string(code));
}

QString DiskError::reply() const
{
    switch (code) {
    case ENOSPC:
        return QStringLiteral("452 disk full");
    case EDQUOT:
        return QStringLiteral("452 quota exceeded");
    case EFBIG:
        return QStringLiteral("452 file too large for the store");
    default:
        return QStringLiteral("451 ") + text();
    }
}

} // namespace kyvane::server
