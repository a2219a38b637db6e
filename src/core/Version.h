#pragma once

#include <QString>

namespace kyvane {

// From the project version in the top CMakeLists.txt.
inline const QString kVersion = QStringLiteral(KYVANE_VERSION);

// The caption of the main window.
inline QString windowCaption()
{
    return QStringLiteral("KYV v") + kVersion;
}

} // namespace kyvane
