#pragma once

#include <QLoggingCategory>

// One category per module, silent by default; turn one on with
// QT_LOGGING_RULES.
Q_DECLARE_LOGGING_CATEGORY(lcCore)
Q_DECLARE_LOGGING_CATEGORY(lcTransfer)
Q_DECLARE_LOGGING_CATEGORY(lcSelection)
Q_DECLARE_LOGGING_CATEGORY(lcUi)
