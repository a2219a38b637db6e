#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <optional>

namespace kyvane {

// Replaces the file at path with content through QSaveFile: an end of the
// process at any moment leaves the old file or the new one. With
// permissions, the new file gets exactly those, set before any content is
// written; without, it keeps those of the file it replaces. Returns the
// empty string on success, else the error's text.
QString writeFileAtomically(const QString& path, const QByteArray& content,
                            std::optional<QFileDevice::Permissions> permissions = std::nullopt);

} // namespace kyvane
