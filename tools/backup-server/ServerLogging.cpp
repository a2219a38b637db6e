#include "ServerLogging.h"

Q_LOGGING_CATEGORY(lcServer, "kyvane.server", QtWarningMsg)
