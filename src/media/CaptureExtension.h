#pragma once

#include <QString>

namespace kyvane {

// The extension of the file name from its last "." on, "." included, with
// ASCII letters made lower case; empty when the name has no ".".
QString captureExtension(const QString& fullPath);

} // namespace kyvane
