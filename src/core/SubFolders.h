#pragma once

#include <QString>
#include <QStringList>

namespace kyvane {

// The full paths of the direct sub-folders of folder (hidden ones included,
// files never), sorted by their lower-cased text code unit by code unit.
// Empty when folder is empty, missing or cannot be listed.
QStringList subFolders(const QString& folder);

// The folder one level up: a final "/" is dropped (unless the path is only
// "/"), then everything from the last "/" on; the root stays the root. A
// path without "/" has no parent and gives the empty string.
QString parentFolder(const QString& path);

} // namespace kyvane
