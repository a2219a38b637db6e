#pragma once

#include <QLoggingCategory>

// Connections, logins and stored files; warnings only unless turned on.
Q_DECLARE_LOGGING_CATEGORY(lcServer)
