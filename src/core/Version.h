#pragma once

#include <QString>

namespace kyvane {

inline const QString kVersion = QStringLiteral("1.0.7");

// The caption of the main window.
inline QString windowCaption() { return QStringLiteral("KYV v") + kVersion; }

} // namespace kyvane
