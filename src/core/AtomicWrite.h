#pragma once

#include <QByteArray>
#include <QString>

namespace kyvane {

// Replaces the file at path with content through QSaveFile: an end of the
// process at any moment leaves the old file or the new one. Returns the empty
// string on success, else the error's text.
QString writeFileAtomically(const QString& path, const QByteArray& content);

} // namespace kyvane
