#include "core/Logging.h"

Q_LOGGING_CATEGORY(lcCore, "kyvane.core", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcTransfer, "kyvane.transfer", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcSelection, "kyvane.selection", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcUi, "kyvane.ui", QtCriticalMsg)
